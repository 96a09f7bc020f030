// What the trainer remembers between runs: the board's look, the sound, the training
// options, the window's place, the last problem and the recent files.
#pragma once

#include "script/core/TrainingOptions.h"

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QStringList>

namespace qv {

// The remembered values, as plain values. The defaults are the trainer's look at its very
// first start (and after a settings file that cannot be read).
struct TrainerPreferences {
    bool WhiteOnTop = false;
    bool BoardLines = false;
    bool Coordinates = false;
    QColor LightSquares{255, 255, 255};
    QColor DarkSquares{0, 128, 128};
    QString PieceSet = QStringLiteral("Set40"); // an entry of the Pieces box
    bool Sound = false;
    TrainingOptions Training;
    QByteArray Geometry; // the main window's, as QWidget::saveGeometry gives it; empty: as designed
    QString LastFile;    // the problem file open last, and the entry selected in it
    QString LastProblem;
    QStringList RecentFiles; // most recent first, at most MaxRecentFiles
    QString EngineProgram;   // the analysis engine: a UCI program, or empty for the built-in one

    static constexpr int MaxRecentFiles = 8;
    friend bool operator==(const TrainerPreferences&, const TrainerPreferences&) = default;
};

// Puts `path` at the front of a recent-files list (once), keeping at most MaxRecentFiles.
QStringList WithRecentFile(QStringList list, const QString& path);

// Reads and writes the preferences in one INI file. The windows see only the plain values.
// Every value is checked as it is read: one that is missing or out of range gives its
// default, and a file that cannot be read at all gives every default (it is set aside
// under the name FILE.corrupt when the preferences are next saved, so nothing is lost).
class TrainerSettings {
public:
    // The user's settings file (in the configuration folder), or `path` (tests use a
    // temporary one).
    explicit TrainerSettings(QString path = DefaultPath());

    static QString DefaultPath();
    const QString& Path() const { return path_; }

    TrainerPreferences Load();
    // Writes every value; false (and a reason in *error) when the file cannot be written.
    bool Save(const TrainerPreferences& preferences, QString* error = nullptr);
    // The file could not be read when it was last loaded.
    bool WasCorrupt() const { return corrupt_; }

private:
    QString path_;
    bool corrupt_ = false;
};

} // namespace qv
