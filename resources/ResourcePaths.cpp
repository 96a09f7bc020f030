// Names of the built-in artwork files.
#include "resources/ResourcePaths.h"

#include "cmake/QvBuildInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cctype>
#include <string>
#include <string_view>

namespace qv::resources {

QString PieceSetPath(const QString& name) {
    return QStringLiteral(":/pieces/%1.bmp").arg(name);
}

QString PieceSetPath(int row) {
    if (row < 0 || row >= PieceSetCount || IsScalablePieceSetRow(row)) return {};
    return PieceSetPath(QString::fromLatin1(PieceSets[row].Name));
}

QStringList PieceSetBoxEntries() {
    QStringList entries;
    for (const PieceSetRow& row : PieceSets) entries << QString::fromLatin1(row.BoxEntry);
    return entries;
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

QString DiagramPictureName(char letter, bool lightSquare, bool structureOnly) {
    static constexpr std::string_view pieces = "rdtacp";
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    const bool piece = pieces.find(lower) != std::string_view::npos && letter != '\0';
    if (!piece || (structureOnly && lower != 'p'))
        return lightSquare ? QStringLiteral("white.jpg") : QStringLiteral("black.jpg");
    const char pieceColour = std::isupper(static_cast<unsigned char>(letter)) ? 'b' : 'n';
    const char squareColour = lightSquare ? 'b' : 'n';
    return QString::fromLatin1(std::string{lower, pieceColour, squareColour}) +
           QStringLiteral(".jpg");
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
