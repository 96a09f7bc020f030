// Names of the built-in artwork files.
#include "resources/ResourcePaths.h"

#include <QFile>

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

QByteArray ReadResource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

} // namespace qv::resources
