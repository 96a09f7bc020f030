// Layout, picture and closing rule of the splash window.
#include "windows/TSplashScreen.h"

#include "resources/ResourcePaths.h"
#include "windows/WindowLook.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFrame>
#include <QLabel>
#include <QPixmap>

namespace qv {

TSplashScreen::TSplashScreen(int minimumShowMs, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setFixedSize(675, 114);
    setWindowTitle(QStringLiteral("Quorvane"));

    Panel1 = new QFrame(this);
    Panel1->setGeometry(rect());
    Panel1->setAutoFillBackground(true);
    QPalette white = Panel1->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(white);

    Image1 = new QLabel(Panel1);
    Image1->setGeometry(Panel1->rect());
    Image1->setScaledContents(true);
    Image1->setPixmap(QPixmap::fromImage(LoadWindowPicture(resources::SplashPicture)));

    Label1 =
        new QLabel(QString::fromUtf8("\u00A9 The Quorvane authors \u2013 free software"), Panel1);
    Label1->setFont(ArialFont(13, true));
    QPalette notice = Label1->palette();
    notice.setColor(QPalette::WindowText, Qt::white);
    Label1->setPalette(notice);
    Label1->setAttribute(Qt::WA_TranslucentBackground);
    Label1->move(424, 11);
    Label1->adjustSize();

    // A precise timer: a coarse one may fire a little early, and the minimum is a minimum.
    Timer1.setTimerType(Qt::PreciseTimer);
    Timer1.setInterval(minimumShowMs);
    connect(&Timer1, &QTimer::timeout, this, &TSplashScreen::Timer1Timer);
    Timer1.start();

    CentreOnScreen(this);
}

bool TSplashScreen::FormCloseQuery() const {
    return !Timer1.isActive();
}

void TSplashScreen::Timer1Timer() {
    Timer1.stop();
}

void TSplashScreen::ShowNow() {
    CentreOnScreen(this);
    show();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TSplashScreen::WaitUntilMayClose() {
    QCoreApplication::processEvents();
    while (!FormCloseQuery()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void TSplashScreen::closeEvent(QCloseEvent* event) {
    // The user cannot close the splash before its time is up.
    event->setAccepted(FormCloseQuery());
}

} // namespace qv
