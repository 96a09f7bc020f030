// Decoding of JPEG pictures (splash, credits and diagram squares) into QImage with libjpeg.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace qv {

// Decodes a complete JPEG file held in memory. Grayscale, RGB/YCbCr and CMYK pictures are
// accepted; the result is a QImage::Format_RGB32 image. Corrupt or truncated data, an empty
// buffer or an absurd picture size give a null image and, if error is given, a message that
// says what went wrong. Never aborts the program.
QImage DecodeJpeg(const QByteArray& data, QString* error = nullptr);

// Reads and decodes the JPEG file at path. A missing file gives "File not found: <path>", an
// unreadable one "File access denied: <path>"; decoding errors name the path too.
QImage LoadJpegFile(const QString& path, QString* error = nullptr);

// Largest accepted width or height, and largest accepted number of pixels (64 MB as an
// image); the program's pictures are far smaller. A picture may also declare at most
// MaxJpegPixelsPerByte pixels for each byte of its file: even a flat colour compresses
// to far fewer, so a small file declaring a huge picture is refused before any memory
// is taken for it.
inline constexpr int MaxJpegSide = 16384;
inline constexpr long long MaxJpegPixels = 16LL * 1024 * 1024;
inline constexpr long long MaxJpegPixelsPerByte = 4096;

} // namespace qv
