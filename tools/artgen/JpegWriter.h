// Writing JPEG files with libjpeg, with full colour resolution for small pictures.
#pragma once

#include <QImage>
#include <QString>

namespace qv::artgen {

// Saves image as a baseline JPEG of the given quality, without chroma subsampling.
// Returns false (with a message in error) when the file cannot be written.
bool WriteJpeg(const QImage& image, const QString& path, int quality, QString* error);

} // namespace qv::artgen
