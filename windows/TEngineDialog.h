// Options > Engine: the choice between the built-in engine and a UCI engine program for the
// analysis on the auxiliary board.
#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace qv {

// A small modal dialog: "Built-in engine" or "UCI engine" with the engine's program, typed
// (a name on the search path or a file), picked from the engines found installed
// (/usr/games/stockfish among them), or chosen with "Browse...". OK is refused, with the
// reason shown in the dialog, while the program named is not an executable file. The
// caller reads Program() after exec() returns Accepted.
class TEngineDialog : public QDialog {
    Q_OBJECT
public:
    // `program` is the current choice: empty for the built-in engine.
    explicit TEngineDialog(const QString& program, QWidget* parent = nullptr);

    QRadioButton* RadioButton1 = nullptr; // "&Built-in engine"
    QRadioButton* RadioButton2 = nullptr; // "&UCI engine:"
    QComboBox* ComboBox1 = nullptr;       // the engine's program
    QPushButton* Button1 = nullptr;       // "B&rowse..."
    QLabel* Label1 = nullptr;             // why OK was refused
    QDialogButtonBox* ButtonBox1 = nullptr;

    // The chosen program as an absolute path; empty for the built-in engine.
    QString Program() const { return program_; }

    // Asks for an engine file; a file dialog unless replaced (by tests).
    std::function<QString(QWidget* parent)> BrowseForFile;

    // UCI engines installed where Debian puts them or found on the search path.
    static QStringList InstalledEngines();

    void Button1Click();
    void accept() override;

private:
    void UpdateEnabled();
    QString program_;
};

} // namespace qv
