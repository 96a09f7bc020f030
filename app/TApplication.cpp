// The trainer's application object.
#include "app/TApplication.h"

#include "app/ErrorBox.h"
#include "cmake/QvBuildInfo.h"
#include "resources/ResourcePaths.h"

#include <QFont>
#include <QIcon>

namespace qv {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QString::fromLatin1(kApplicationTitle));
    setApplicationVersion(QString::fromLatin1(build::Version));
    // Ties the windows to the menu entry (and its icon) on desktops that ask for it.
    setDesktopFileName(QString::fromLatin1(build::ApplicationId));
    QIcon icon;
    for (const QString& path : resources::WindowIconPaths()) icon.addFile(path);
    setWindowIcon(icon);
    InstallFontSubstitutions();
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowCurrentException();
        return true;
    }
}

void TApplication::InstallFontSubstitutions() {
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
}

} // namespace qv
