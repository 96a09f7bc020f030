// Names of the built-in artwork files.
#include "resources/ResourcePaths.h"

#include "cmake/QvBuildInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace qv::resources {

QString PieceSetPath(const QString& name) {
    return QStringLiteral(":/pieces/%1.bmp").arg(name);
}

QStringList DiagramFileNames() {
    QStringList names{QStringLiteral("white.jpg"), QStringLiteral("black.jpg")};
    // Problem-file piece letters: king, queen, rook, bishop, knight, pawn.
    for (QChar piece : QStringLiteral("rdtacp"))
        for (QChar colour : QStringLiteral("bn"))     // White's piece, Black's piece
            for (QChar square : QStringLiteral("bn")) // light square, dark square
                names << QString(piece) + colour + square + QStringLiteral(".jpg");
    return names;
}

QString ProgramFilesDir(const QString& programDir) {
    const QFileInfo installed(
        QDir(programDir).filePath(QLatin1String(build::DataDirFromProgramDir)));
    QString dir = installed.isDir() ? QDir::cleanPath(installed.absoluteFilePath()) : programDir;
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    return dir;
}

QStringList WindowIconPaths() {
    return {QStringLiteral(":/icons/32.png"), QStringLiteral(":/icons/64.png"),
            QStringLiteral(":/icons/256.png")};
}

QByteArray ReadResource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

} // namespace qv::resources
