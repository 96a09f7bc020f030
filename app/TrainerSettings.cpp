// Reading and writing the trainer's preferences with QSettings.
#include "app/TrainerSettings.h"

#include "resources/ResourcePaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>

namespace qv {

namespace {

// Values are read as text and taken only when they are what Save writes.
class Reader {
public:
    explicit Reader(const QSettings& s) : s_(s) {}

    void Bool(const char* key, bool& value) const {
        const QString text = s_.value(QLatin1String(key)).toString();
        if (text == QLatin1String("true")) value = true;
        if (text == QLatin1String("false")) value = false;
    }
    void Colour(const char* key, QColor& value) const {
        const QString text = s_.value(QLatin1String(key)).toString();
        // "#rrggbb" only: colour names and other forms are not what Save writes.
        if (text.size() == 7 && text.startsWith(QLatin1Char('#')) && QColor::isValidColorName(text))
            value = QColor::fromString(text);
    }
    void Text(const char* key, QString& value) const {
        const QVariant v = s_.value(QLatin1String(key));
        if (v.typeId() == QMetaType::QString) value = v.toString();
    }
    QVariant Value(const char* key) const { return s_.value(QLatin1String(key)); }

private:
    const QSettings& s_;
};

// Can the file be a settings file at all? Ours are small UTF-8 text; anything else (a
// damaged file, something else saved under its name) is not read.
bool LooksLikeSettings(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || f.size() > 1024 * 1024) return false;
    const QByteArray bytes = f.readAll();
    if (bytes.contains('\0')) return false;
    QStringDecoder utf8(QStringDecoder::Utf8);
    [[maybe_unused]] const QString text = utf8.decode(bytes); // decoding happens here
    return !utf8.hasError();
}

QString TriesText(int tries) {
    return tries <= 0 ? QStringLiteral("unlimited") : QString::number(tries);
}

} // namespace

QStringList WithRecentFile(QStringList list, const QString& path) {
    if (path.isEmpty()) return list;
    list.removeAll(path);
    list.prepend(path);
    while (list.size() > TrainerPreferences::MaxRecentFiles) list.removeLast();
    return list;
}

TrainerSettings::TrainerSettings(QString path) : path_(std::move(path)) {}

QString TrainerSettings::DefaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
           QStringLiteral("/quorvane.conf");
}

TrainerPreferences TrainerSettings::Load() {
    TrainerPreferences p;
    corrupt_ = false;
    if (!QFileInfo::exists(path_)) return p;
    if (!QFileInfo(path_).isFile() || !LooksLikeSettings(path_)) {
        corrupt_ = true;
        return p;
    }
    const QSettings s(path_, QSettings::IniFormat);
    if (s.status() != QSettings::NoError) {
        corrupt_ = true;
        return p;
    }
    const Reader r(s);
    r.Bool("Board/WhiteOnTop", p.WhiteOnTop);
    r.Bool("Board/Lines", p.BoardLines);
    r.Bool("Board/Coordinates", p.Coordinates);
    r.Colour("Board/LightSquares", p.LightSquares);
    r.Colour("Board/DarkSquares", p.DarkSquares);
    QString set;
    r.Text("Board/PieceSet", set);
    if (resources::PieceSetBoxEntries().contains(set)) p.PieceSet = set;
    r.Bool("Trainer/Sound", p.Sound);

    r.Bool("Training/InstantVerdict", p.Training.InstantVerdict);
    r.Bool("Training/Hints", p.Training.Hints);
    r.Bool("Training/AnnounceInWindow", p.Training.AnnounceInWindow);
    QString tries;
    r.Text("Training/TriesPerMove", tries);
    for (int n : {1, 2, 3, TrainingOptions::UnlimitedTries})
        if (tries == TriesText(n)) p.Training.TriesPerMove = n;

    const QVariant geometry = r.Value("Window/Geometry");
    if (geometry.typeId() == QMetaType::QByteArray) p.Geometry = geometry.toByteArray();
    r.Text("Files/LastFile", p.LastFile);
    r.Text("Files/LastProblem", p.LastProblem);
    const QVariant recent = r.Value("Files/Recent");
    QStringList list;
    if (recent.typeId() == QMetaType::QStringList)
        list = recent.toStringList();
    else if (recent.typeId() == QMetaType::QString)
        list = QStringList{recent.toString()}; // a list of one is written as plain text
    for (auto it = list.crbegin(); it != list.crend(); ++it)
        if (!it->isEmpty()) p.RecentFiles = WithRecentFile(p.RecentFiles, *it);
    r.Text("Analysis/Engine", p.EngineProgram);
    return p;
}

bool TrainerSettings::Save(const TrainerPreferences& p, QString* error) {
    if (corrupt_) {
        // Keep the unreadable file for whoever wants to look at it, and start afresh.
        const QString aside = path_ + QStringLiteral(".corrupt");
        QFile::remove(aside);
        QFile::rename(path_, aside);
        corrupt_ = false;
    }
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QSettings s(path_, QSettings::IniFormat);
    s.clear();
    const auto flag = [](bool b) { return b ? QStringLiteral("true") : QStringLiteral("false"); };
    s.setValue(QStringLiteral("Board/WhiteOnTop"), flag(p.WhiteOnTop));
    s.setValue(QStringLiteral("Board/Lines"), flag(p.BoardLines));
    s.setValue(QStringLiteral("Board/Coordinates"), flag(p.Coordinates));
    s.setValue(QStringLiteral("Board/LightSquares"), p.LightSquares.name(QColor::HexRgb));
    s.setValue(QStringLiteral("Board/DarkSquares"), p.DarkSquares.name(QColor::HexRgb));
    s.setValue(QStringLiteral("Board/PieceSet"), p.PieceSet);
    s.setValue(QStringLiteral("Trainer/Sound"), flag(p.Sound));
    s.setValue(QStringLiteral("Training/InstantVerdict"), flag(p.Training.InstantVerdict));
    s.setValue(QStringLiteral("Training/TriesPerMove"), TriesText(p.Training.TriesPerMove));
    s.setValue(QStringLiteral("Training/Hints"), flag(p.Training.Hints));
    s.setValue(QStringLiteral("Training/AnnounceInWindow"), flag(p.Training.AnnounceInWindow));
    if (!p.Geometry.isEmpty()) s.setValue(QStringLiteral("Window/Geometry"), p.Geometry);
    s.setValue(QStringLiteral("Files/LastFile"), p.LastFile);
    s.setValue(QStringLiteral("Files/LastProblem"), p.LastProblem);
    s.setValue(QStringLiteral("Files/Recent"), p.RecentFiles);
    s.setValue(QStringLiteral("Analysis/Engine"), p.EngineProgram);
    s.sync();
    if (s.status() == QSettings::NoError) return true;
    if (error)
        *error = QStringLiteral("The settings could not be written to %1.")
                     .arg(QDir::toNativeSeparators(path_));
    return false;
}

} // namespace qv
