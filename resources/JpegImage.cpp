// Decoding of JPEG pictures with libjpeg, guarded by a setjmp/longjmp error manager.
#include "resources/JpegImage.h"

#include <QFile>
#include <QFileInfo>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include <jerror.h>

namespace qv {
namespace {

// libjpeg reports fatal errors through error_exit, which must not return; we jump back to
// the decoder with the library's message text instead of letting it terminate the process.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool truncated;
};

void OnErrorExit(j_common_ptr cinfo) {
    auto* mgr = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, mgr->message);
    std::longjmp(mgr->jump, 1);
}

void OnEmitMessage(j_common_ptr cinfo, int level) {
    auto* mgr = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (level >= 0) return; // trace messages only
    // A warning. Running out of data is the one that leaves a half-grey picture behind, so it
    // is remembered and turned into an error once decoding has stopped.
    if (cinfo->err->msg_code == JWRN_JPEG_EOF && !mgr->truncated) {
        mgr->truncated = true;
        (*cinfo->err->format_message)(cinfo, mgr->message);
    }
    cinfo->err->num_warnings++;
}

void OnOutputMessage(j_common_ptr) {
    // Messages are collected by the handlers above; nothing is printed to stderr.
}

// Everything that has to survive a longjmp lives in memory owned by the caller's frame.
struct DecodeState {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    QImage image;
    QString error;
};

void SetError(QString* error, const QString& text) {
    if (error) *error = text;
}

bool Decode(DecodeState& st, const QByteArray& data) {
    jpeg_decompress_struct& cinfo = st.cinfo;
    cinfo.err = jpeg_std_error(&st.err.pub);
    st.err.pub.error_exit = OnErrorExit;
    st.err.pub.emit_message = OnEmitMessage;
    st.err.pub.output_message = OnOutputMessage;
    st.err.message[0] = '\0';
    st.err.truncated = false;

    if (setjmp(st.err.jump)) {
        st.error = QString::fromLocal8Bit(st.err.message);
        st.image = QImage();
        jpeg_destroy_decompress(&cinfo);
        return false;
    }

    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);

    const long long w = cinfo.image_width;
    const long long h = cinfo.image_height;
    if (w <= 0 || h <= 0 || w > MaxJpegSide || h > MaxJpegSide || w * h > MaxJpegPixels ||
        w * h > MaxJpegPixelsPerByte * data.size()) {
        st.error = QStringLiteral("Picture too large (%1 x %2 pixels)").arg(w).arg(h);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }

    int channels = 3;
    switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
        cinfo.out_color_space = JCS_GRAYSCALE;
        channels = 1;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        cinfo.out_color_space = JCS_CMYK;
        channels = 4;
        break;
    default:
        cinfo.out_color_space = JCS_RGB;
        channels = 3;
        break;
    }

    jpeg_start_decompress(&cinfo);
    if (static_cast<int>(cinfo.output_components) != channels) {
        st.error = QStringLiteral("Unsupported JPEG colour layout");
        jpeg_destroy_decompress(&cinfo);
        return false;
    }

    st.image = QImage(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
                      QImage::Format_RGB32);
    if (st.image.isNull()) {
        st.error = QStringLiteral("Out of memory for a %1 x %2 picture")
                       .arg(cinfo.output_width)
                       .arg(cinfo.output_height);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }

    // One row of decoded samples; libjpeg owns and frees it with the decompressor.
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                cinfo.output_width * channels, 1);
    // Adobe writes CMYK inverted; those files carry its marker.
    const bool invertedCmyk = channels == 4 && cinfo.saw_Adobe_marker;

    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = static_cast<int>(cinfo.output_scanline);
        if (jpeg_read_scanlines(&cinfo, row, 1) != 1) break;
        auto* out = reinterpret_cast<QRgb*>(st.image.scanLine(y));
        const JSAMPLE* in = row[0];
        for (JDIMENSION x = 0; x < cinfo.output_width; ++x) {
            if (channels == 1) {
                out[x] = qRgb(in[x], in[x], in[x]);
            } else if (channels == 3) {
                out[x] = qRgb(in[3 * x], in[3 * x + 1], in[3 * x + 2]);
            } else {
                int c = in[4 * x], m = in[4 * x + 1], ye = in[4 * x + 2], k = in[4 * x + 3];
                if (!invertedCmyk) {
                    c = 255 - c;
                    m = 255 - m;
                    ye = 255 - ye;
                    k = 255 - k;
                }
                out[x] = qRgb(c * k / 255, m * k / 255, ye * k / 255);
            }
        }
    }

    if (st.err.truncated || cinfo.output_scanline < cinfo.output_height) {
        st.error = st.err.message[0] ? QString::fromLocal8Bit(st.err.message)
                                     : QStringLiteral("Premature end of JPEG file");
        st.image = QImage();
        jpeg_destroy_decompress(&cinfo);
        return false;
    }

    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

} // namespace

QImage DecodeJpeg(const QByteArray& data, QString* error) {
    if (data.isEmpty()) {
        SetError(error, QStringLiteral("Empty JPEG data"));
        return {};
    }
    DecodeState st{};
    if (!Decode(st, data)) {
        SetError(error, st.error);
        return {};
    }
    if (error) error->clear();
    return st.image;
}

QImage LoadJpegFile(const QString& path, QString* error) {
    QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || info.isDir()) {
        SetError(error, QStringLiteral("File not found: %1").arg(path));
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        SetError(error, QStringLiteral("File access denied: %1").arg(path));
        return {};
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        SetError(error, QStringLiteral("Read error: %1").arg(path));
        return {};
    }
    QString why;
    QImage image = DecodeJpeg(data, &why);
    if (image.isNull()) {
        SetError(error, QStringLiteral("Invalid JPEG picture %1: %2").arg(path, why));
        return {};
    }
    if (error) error->clear();
    return image;
}

} // namespace qv
