// TForm4: the credits window opened from "About this program".
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace qv {

// The credits window: two framed pictures (the product presented in text on the left,
// a portrait on the right), decoded from embedded JPEG files when the window is
// created, the program's version under the portrait, and a button that closes the window.
// Shown modally by the main window.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);

    void Button1Click();

    QFrame* Panel2;
    QLabel* Image2; // left picture, 300 x 335, stretched
    QFrame* Panel1;
    QLabel* Image1;       // right picture, 281 x 289, stretched
    QLabel* VersionLabel; // "Quorvane" and the version, as qvn --version has it
    QPushButton* Button1;

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace qv
