// TForm5: the add-points dialog of the script command ".addpoints".
#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace qv {

struct Globales;

// Asks the user whether to add the points a script offers. Each time it becomes the
// active window it shows AddPointsText in its memo and names AddPointsValue on its
// add button; the add button sets AddPointsAccepted, "Close" clears it, and the
// window's close box (or Escape) leaves it as it is. Shown modally; the caller reads
// AddPointsAccepted afterwards. The dialog holds no state of its own between showings.
class TForm5 : public QDialog {
    Q_OBJECT
public:
    explicit TForm5(Globales& globales, QWidget* parent = nullptr);

    void FormActivate();
    void Button1Click();
    void Button2Click();

    QPlainTextEdit* Memo1;
    QPushButton* Button1; // "Add <n> points."
    QPushButton* Button2; // "Close"

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    Globales& FGlobales;
};

} // namespace qv
