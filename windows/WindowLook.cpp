// Fonts, sizes, picture loading and centring for the secondary windows.
#include "windows/WindowLook.h"

#include "resources/JpegImage.h"

#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace qv {

namespace {

QFont PixelFont(const QString& family, int pixelSize, bool bold) {
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

// Title bar and borders of the desktop the windows were designed on.
constexpr int DesignedFrameWidth = 8;
constexpr int DesignedFrameHeight = 27;

} // namespace

QFont ArialFont(int pixelSize, bool bold) {
    return PixelFont(QStringLiteral("Liberation Sans"), pixelSize, bold);
}

QFont SansSerifFont(int pixelSize, bool bold) {
    return PixelFont(QStringLiteral("Liberation Sans"), pixelSize, bold);
}

QSize ClientSizeForOuter(int outerWidth, int outerHeight) {
    return {outerWidth - DesignedFrameWidth, outerHeight - DesignedFrameHeight};
}

QImage LoadWindowPicture(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("Picture not found: %1").arg(path);
        return {};
    }
    return DecodeJpeg(file.readAll(), error);
}

void CentreOnScreen(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->geometry().center());
    window->move(frame.topLeft());
}

void KeepAboveStayOnTopWindows(QWidget* dialog) {
    if (!dialog || dialog->isVisible()) return;
    bool onTop = false;
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w != dialog && w->isVisible() && w->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
            onTop = true;
    if (dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop)
        dialog->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
}

QFrame* MakePanel(QWidget* parent, const QRect& bounds) {
    auto* panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    panel->setGeometry(bounds);
    return panel;
}

} // namespace qv
