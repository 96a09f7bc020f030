// File names, folders and formats of the generated artwork.
#include "tools/artgen/ArtworkWriter.h"

#include "cmake/QvBuildInfo.h"
#include "tools/artgen/AppIcon.h"
#include "tools/artgen/DiagramPictures.h"
#include "tools/artgen/IndexedImage.h"
#include "tools/artgen/JpegWriter.h"
#include "tools/artgen/PieceSets.h"
#include "tools/artgen/Sounds.h"
#include "tools/artgen/WindowPictures.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <stdexcept>
#include <utility>

namespace qv::artgen {

ArtworkWriter::ArtworkWriter(const QString& resourcesDir) : root_(resourcesDir) {}

void ArtworkWriter::WriteAll() {
    WritePieceSets();
    WriteDiagramPictures();
    WriteWindowPictures();
    WriteSound();
    WriteIcons();
}

QString ArtworkWriter::Prepare(const QString& folder, const QString& name) {
    QDir dir(root_);
    if (!dir.mkpath(folder)) throw std::runtime_error("cannot create " + folder.toStdString());
    return dir.filePath(folder + "/" + name);
}

void ArtworkWriter::SaveJpeg(const QImage& image, const QString& path, int quality) {
    QString error;
    if (!WriteJpeg(image, path, quality, &error)) throw std::runtime_error(error.toStdString());
    written_ << path;
}

void ArtworkWriter::WritePieceSets() {
    for (const PieceSetSpec& pieceSet : BuiltInPieceSets()) {
        const PieceRenderer renderer(pieceSet.style, pieceSet.cell);
        const QImage indexed = ToIndexed8(renderer.RenderPieceSet());
        const QString path = Prepare("pieces", pieceSet.name + ".bmp");
        if (!indexed.save(path, "BMP"))
            throw std::runtime_error("cannot write " + path.toStdString());
        written_ << path;
    }
}

void ArtworkWriter::WriteDiagramPictures() {
    const DiagramPictures pictures;
    for (const QString& name : DiagramPictures::FileNames())
        SaveJpeg(pictures.Picture(name), Prepare("diagram", name), 95);
}

void ArtworkWriter::WriteWindowPictures() {
    SaveJpeg(SplashPicture(), Prepare("pictures", "splash.jpg"), 92);
    SaveJpeg(CreditsPortraitPicture(), Prepare("pictures", "credits1.jpg"), 92);
    SaveJpeg(CreditsTextPicture(), Prepare("pictures", "credits2.jpg"), 92);
}

void ArtworkWriter::WriteSound() {
    const std::pair<const char*, QByteArray> sounds[] = {{"pop.wav", PopSoundWav()},
                                                         {"verdict.wav", VerdictSoundWav()}};
    for (const auto& [name, wav] : sounds) {
        const QString path = Prepare("sound", name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(wav) != wav.size())
            throw std::runtime_error("cannot write " + path.toStdString());
        written_ << path;
    }
}

void ArtworkWriter::WriteIcons() {
    // The pixel sizes of the desktop's icon theme, and the drawing for any other size.
    const QString name = QString::fromLatin1(build::ApplicationId);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        const QString folder = QStringLiteral("icons/hicolor/%1x%1/apps").arg(size);
        const QString path = Prepare(folder, name + ".png");
        if (!RenderAppIcon(size).save(path, "PNG"))
            throw std::runtime_error("cannot write " + path.toStdString());
        written_ << path;
    }
    const QString path = Prepare("icons/hicolor/scalable/apps", name + ".svg");
    QFile file(path);
    const QByteArray svg = AppIconSvg().toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(svg) != svg.size())
        throw std::runtime_error("cannot write " + path.toStdString());
    written_ << path;
}

} // namespace qv::artgen
