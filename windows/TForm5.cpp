// Layout and buttons of the add-points dialog.
#include "windows/TForm5.h"

#include "script/core/Globales.h"
#include "windows/WindowLook.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace qv {

TForm5::TForm5(Globales& globales, QWidget* parent) : QDialog(parent), FGlobales(globales) {
    setWindowTitle(QStringLiteral("Add points?"));
    setFont(SansSerifFont(11));
    setFixedSize(ClientSizeForOuter(442, 271));

    Memo1 = new QPlainTextEdit(this);
    Memo1->setGeometry(16, 24, 401, 137);
    Memo1->setFont(SansSerifFont(13, true));
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    Button1 = new QPushButton(QStringLiteral("Add points"), this);
    Button1->setGeometry(16, 184, 129, 33);
    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);

    Button2 = new QPushButton(QStringLiteral("Close"), this);
    Button2->setGeometry(288, 184, 129, 33);
    connect(Button2, &QPushButton::clicked, this, &TForm5::Button2Click);
}

void TForm5::FormActivate() {
    Memo1->setPlainText(QString::fromStdString(FGlobales.AddPointsText));
    Button1->setText(QStringLiteral("Add %1 points.").arg(FGlobales.AddPointsValue));
}

void TForm5::Button1Click() {
    FGlobales.AddPointsAccepted = true;
    accept();
}

void TForm5::Button2Click() {
    FGlobales.AddPointsAccepted = false;
    reject();
}

void TForm5::showEvent(QShowEvent* event) {
    // Filled before the first paint as well, so the dialog never shows stale text
    // while the window manager is still activating it.
    FormActivate();
    QDialog::showEvent(event);
    CentreOnScreen(this);
}

bool TForm5::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) FormActivate();
    return QDialog::event(event);
}

} // namespace qv
