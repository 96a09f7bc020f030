// qv_artgen: draws the program's artwork (piece sets, window pictures, diagram squares, sound,
// the application icon).
#include "tools/artgen/ArtworkWriter.h"

#include <QGuiApplication>

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    // Drawing text needs a GUI application, but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(
            stderr,
            "usage: qv_artgen RESOURCES_DIR\n"
            "Writes pieces/, pictures/, diagram/, sound/ and icons/ under RESOURCES_DIR.\n");
        return 1;
    }
    try {
        qv::artgen::ArtworkWriter writer(args[1]);
        writer.WriteAll();
        for (const QString& f : writer.Written()) std::printf("%s\n", qPrintable(f));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qv_artgen: %s\n", e.what());
        return 2;
    }
    return 0;
}
