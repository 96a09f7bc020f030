// Tests of the libjpeg-based decoder: good pictures, broken data and file errors.
#include "resources/JpegImage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace {

// Encodes a picture with libjpeg itself, so the tests need no image plug-in.
// Colour pictures are a left half red, right half blue; grayscale ones a horizontal ramp.
QByteArray EncodeTestJpeg(int width, int height, bool gray, int quality = 95) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = gray ? 1 : 3;
    cinfo.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(width) * (gray ? 1 : 3));
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < width; ++x) {
            if (gray) {
                row[x] = static_cast<unsigned char>(x * 255 / (width - 1));
            } else {
                const bool left = x < width / 2;
                row[3 * x] = left ? 220 : 20;
                row[3 * x + 1] = 30;
                row[3 * x + 2] = left ? 20 : 230;
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray out(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    std::free(buffer);
    return out;
}

bool Near(int a, int b, int tolerance = 12) {
    return a - b <= tolerance && b - a <= tolerance;
}

TEST(JpegImage, DecodesColourPictureWithSizeAndPixels) {
    const QByteArray data = EncodeTestJpeg(64, 40, false);
    QString error = "stale";
    const QImage image = qv::DecodeJpeg(data, &error);
    ASSERT_FALSE(image.isNull()) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(image.size(), QSize(64, 40));
    const QRgb left = image.pixel(8, 20);
    const QRgb right = image.pixel(56, 20);
    EXPECT_TRUE(Near(qRed(left), 220) && Near(qGreen(left), 30) && Near(qBlue(left), 20));
    EXPECT_TRUE(Near(qRed(right), 20) && Near(qGreen(right), 30) && Near(qBlue(right), 230));
}

TEST(JpegImage, DecodesGrayscalePicture) {
    const QImage image = qv::DecodeJpeg(EncodeTestJpeg(256, 8, true));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(256, 8));
    const QRgb dark = image.pixel(2, 4);
    const QRgb light = image.pixel(253, 4);
    EXPECT_TRUE(Near(qGray(dark), 2) && qRed(dark) == qBlue(dark));
    EXPECT_TRUE(Near(qGray(light), 253));
}

TEST(JpegImage, BrokenDataGivesErrorNotCrash) {
    const QByteArray good = EncodeTestJpeg(64, 64, false);
    struct Case {
        const char* name;
        QByteArray data;
    };
    QByteArray garbled = good;
    // Overwrite the middle of the entropy-coded data and one header table.
    for (qsizetype i = good.size() / 2; i < good.size() / 2 + 64 && i < good.size(); ++i)
        garbled[i] = static_cast<char>(0xFF);
    QByteArray badHeader = good;
    badHeader[30] = static_cast<char>(0xFF);
    badHeader[31] = static_cast<char>(0xC9); // an arithmetic-coding marker in the tables
    const Case cases[] = {
        {"empty", QByteArray()},
        {"not a jpeg", QByteArray("GIF89a this is not a JPEG picture at all")},
        {"only the start marker", good.left(2)},
        {"header cut short", good.left(40)},
        {"truncated data", good.left(good.size() / 2)},
        {"garbled data", garbled},
        {"garbled header", badHeader},
    };
    for (const Case& c : cases) {
        QString error;
        const QImage image = qv::DecodeJpeg(c.data, &error);
        // Garbled entropy data may still decode to a (damaged) picture: libjpeg only
        // warns about it. What matters is that nothing aborts and a failure explains itself.
        if (image.isNull()) {
            EXPECT_FALSE(error.isEmpty()) << c.name;
        }
        if (std::string(c.name) != "garbled data" && std::string(c.name) != "garbled header") {
            EXPECT_TRUE(image.isNull()) << c.name;
        }
    }
    // Without an error pointer the decoder must not crash either.
    EXPECT_TRUE(qv::DecodeJpeg(good.left(100)).isNull());
}

TEST(JpegImage, AbsurdSizeIsRejected) {
    QByteArray data = EncodeTestJpeg(16, 16, true);
    // Patch the frame header (SOF0: FF C0, length, precision, height, width) to 60000 x 60000.
    const qsizetype sof = data.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(sof, 0);
    data[sof + 5] = static_cast<char>(0xEA);
    data[sof + 6] = static_cast<char>(0x60);
    data[sof + 7] = static_cast<char>(0xEA);
    data[sof + 8] = static_cast<char>(0x60);
    QString error;
    EXPECT_TRUE(qv::DecodeJpeg(data, &error).isNull());
    EXPECT_TRUE(error.contains("too large")) << error.toStdString();
    // A small file that declares 16384 x 4096 pixels is refused from its header alone.
    data[sof + 5] = static_cast<char>(0x10);
    data[sof + 6] = static_cast<char>(0x00);
    data[sof + 7] = static_cast<char>(0x40);
    data[sof + 8] = static_cast<char>(0x00);
    ASSERT_LT(data.size(), 2000);
    error.clear();
    EXPECT_TRUE(qv::DecodeJpeg(data, &error).isNull());
    EXPECT_TRUE(error.contains("too large (16384 x 4096")) << error.toStdString();
}

TEST(JpegImage, FileErrorsNameThePath) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath("white.jpg");
    QString error;
    EXPECT_TRUE(qv::LoadJpegFile(missing, &error).isNull());
    EXPECT_TRUE(error.startsWith("File not found")) << error.toStdString();
    EXPECT_TRUE(error.contains(missing));

    EXPECT_TRUE(qv::LoadJpegFile(dir.path(), &error).isNull()) << "a folder is no picture";
    EXPECT_TRUE(error.startsWith("File not found"));

    const QString broken = dir.filePath("broken.jpg");
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(EncodeTestJpeg(32, 32, false).left(200));
    f.close();
    EXPECT_TRUE(qv::LoadJpegFile(broken, &error).isNull());
    EXPECT_TRUE(error.contains(broken)) << error.toStdString();

    const QString good = dir.filePath("good.jpg");
    QFile g(good);
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write(EncodeTestJpeg(48, 36, false));
    g.close();
    const QImage image = qv::LoadJpegFile(good, &error);
    EXPECT_EQ(image.size(), QSize(48, 36));
    EXPECT_TRUE(error.isEmpty());
}

} // namespace
