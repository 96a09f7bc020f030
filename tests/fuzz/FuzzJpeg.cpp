// Decoding any bytes as a JPEG picture: an error message or a picture, never a crash,
// a leak or an allocation the file cannot justify.
#include "resources/JpegImage.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QString error;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QImage image = qv::DecodeJpeg(bytes, &error);
    if (image.isNull() && error.isEmpty()) __builtin_trap(); // a failure always explains itself
    return 0;
}
