// Writes every generated artwork file into the resources folder.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace qv::artgen {

// Knows the file names and folders of the artwork and writes each file; throws
// std::runtime_error when a file cannot be written.
class ArtworkWriter {
public:
    explicit ArtworkWriter(const QString& resourcesDir);

    void WriteAll();
    void WritePieceSets();
    void WriteDiagramPictures();
    void WriteWindowPictures();
    void WriteSound();
    void WriteIcons();

    // Paths of the files written so far.
    const QStringList& Written() const { return written_; }

private:
    QString Prepare(const QString& folder, const QString& name);
    void SaveJpeg(const QImage& image, const QString& path, int quality);

    QString root_;
    QStringList written_;
};

} // namespace qv::artgen
