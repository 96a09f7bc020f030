// Tests of the built-in artwork: embedded piece sets and pictures, files beside the program.
#include "cmake/QvBuildInfo.h"
#include "resources/JpegImage.h"
#include "resources/ResourcePaths.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

struct PieceSetCase {
    const char* name;
    int width;
    int height;
};

const PieceSetCase PieceSets[] = {
    {"SETVARDEL40", 240, 160},
    {"Set32", 192, 128},
    {"Set40", 240, 160},
    {"Set80", 384, 256},
};

// The embedded data registers itself: this executable links qv_resources and nothing calls
// Q_INIT_RESOURCE.
TEST(Resources, EmbeddedFilesAreReachable) {
    EXPECT_TRUE(QFile::exists(qv::resources::BuiltInPieceSet));
    EXPECT_EQ(qv::resources::BuiltInPieceSet, qv::resources::PieceSetPath("SETVARDEL40"));
    for (const PieceSetCase& c : PieceSets)
        EXPECT_TRUE(QFile::exists(qv::resources::PieceSetPath(c.name))) << c.name;
    EXPECT_TRUE(qv::resources::ReadResource(":/pieces/NoSuchSet.bmp").isEmpty());
}

TEST(Resources, PieceSetsHaveTheBoardsShapeAndDepth) {
    for (const PieceSetCase& c : PieceSets) {
        const QImage set(qv::resources::PieceSetPath(c.name));
        ASSERT_FALSE(set.isNull()) << c.name;
        EXPECT_EQ(set.size(), QSize(c.width, c.height)) << c.name;
        // A valid piece set: 6 cells wide, 4 high.
        EXPECT_EQ(set.width() * 2, set.height() * 3) << c.name;
        EXPECT_EQ(set.format(), QImage::Format_Indexed8) << c.name << ": 8 bits per pixel";
    }
}

// Checks every cell: the mask holds only pure black and white, the piece is opaque around the
// middle of its foot and transparent in the corners, covers a sensible share of the cell, and
// is drawn in its side's colours (White light with a dark outline, Black mostly dark).
TEST(Resources, PieceMasksMatchThePieces) {
    for (const PieceSetCase& c : PieceSets) {
        const QImage set =
            QImage(qv::resources::PieceSetPath(c.name)).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(set.isNull());
        const int cell = set.height() / 4;
        for (int colour = 0; colour < 2; ++colour) {
            for (int piece = 0; piece < 6; ++piece) {
                const QString where =
                    QString("%1 row %2 column %3").arg(c.name).arg(2 * colour).arg(piece);
                const int x0 = piece * cell, pictureY = 2 * colour * cell, maskY = pictureY + cell;
                int opaque = 0, light = 0, dark = 0;
                bool binary = true;
                for (int y = 0; y < cell; ++y) {
                    for (int x = 0; x < cell; ++x) {
                        const QRgb m = set.pixel(x0 + x, maskY + y) & 0xFFFFFF;
                        if (m != 0 && m != 0xFFFFFF) binary = false;
                        if (m != 0) continue;
                        ++opaque;
                        const int g = qGray(set.pixel(x0 + x, pictureY + y));
                        if (g > 170) ++light;
                        if (g < 85) ++dark;
                    }
                }
                EXPECT_TRUE(binary) << where.toStdString();
                const auto maskAt = [&](int x, int y) {
                    return set.pixel(x0 + x, maskY + y) & 0xFFFFFF;
                };
                EXPECT_EQ(maskAt(0, 0), 0xFFFFFFu) << where.toStdString();
                EXPECT_EQ(maskAt(cell - 1, 0), 0xFFFFFFu) << where.toStdString();
                EXPECT_EQ(maskAt(0, cell - 1), 0xFFFFFFu) << where.toStdString();
                EXPECT_EQ(maskAt(cell - 1, cell - 1), 0xFFFFFFu) << where.toStdString();
                EXPECT_EQ(maskAt(cell / 2, cell * 3 / 4), 0u) << where.toStdString();
                const double share = static_cast<double>(opaque) / (cell * cell);
                EXPECT_GT(share, 0.15) << where.toStdString();
                EXPECT_LT(share, 0.80) << where.toStdString();
                if (colour == 0) {
                    EXPECT_GT(light, opaque / 6) << where.toStdString() << ": White's body";
                    EXPECT_GT(dark, opaque / 10) << where.toStdString() << ": White's outline";
                } else {
                    EXPECT_GT(dark, opaque / 2) << where.toStdString() << ": Black's body";
                }
            }
        }
    }
}

TEST(Resources, WindowPicturesDecodeAtTheirSizes) {
    const struct {
        QString path;
        QSize size;
    } pictures[] = {
        {qv::resources::SplashPicture, QSize(675, 114)},
        {qv::resources::CreditsPortraitPicture, QSize(281, 289)},
        {qv::resources::CreditsTextPicture, QSize(300, 335)},
    };
    for (const auto& p : pictures) {
        QString error;
        const QImage image = qv::DecodeJpeg(qv::resources::ReadResource(p.path), &error);
        EXPECT_EQ(image.size(), p.size) << p.path.toStdString() << " " << error.toStdString();
    }
}

// The build places these beside the programs it makes, which is where this test runs from.
TEST(Resources, DiagramPicturesLieBesideTheProgram) {
    const QDir dir(QV_TEST_PROGRAM_DIR);
    const QStringList names = qv::resources::DiagramFileNames();
    EXPECT_EQ(names.size(), 26);
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), 26);
    for (const char* n : {"white.jpg", "black.jpg", "rbn.jpg", "pnb.jpg", "dbb.jpg", "cnn.jpg"})
        EXPECT_TRUE(names.contains(n)) << n;

    QImage light, dark;
    for (const QString& name : names) {
        QString error;
        const QImage image = qv::LoadJpegFile(dir.filePath(name), &error);
        ASSERT_FALSE(image.isNull()) << error.toStdString();
        EXPECT_GE(image.width(), 36) << name.toStdString();
        EXPECT_EQ(image.width(), image.height()) << name.toStdString();
        if (name == "white.jpg") light = image;
        if (name == "black.jpg") dark = image;
    }
    ASSERT_FALSE(light.isNull());
    ASSERT_FALSE(dark.isNull());
    EXPECT_GT(qGray(light.pixel(18, 18)), qGray(dark.pixel(18, 18)) + 60);

    // A piece picture shows its square in the corner and something else in the middle.
    for (const QString& name : names) {
        if (name == "white.jpg" || name == "black.jpg") continue;
        const QImage image = qv::LoadJpegFile(dir.filePath(name));
        const QImage& empty = name[2] == 'b' ? light : dark;
        const auto distance = [](QRgb a, QRgb b) {
            return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                   std::abs(qBlue(a) - qBlue(b));
        };
        EXPECT_LT(distance(image.pixel(0, 0), empty.pixel(0, 0)), 30) << name.toStdString();
        int differing = 0;
        for (int y = 9; y < 27; ++y)
            for (int x = 9; x < 27; ++x)
                if (distance(image.pixel(x, y), empty.pixel(x, y)) > 90) ++differing;
        EXPECT_GT(differing, 18 * 18 / 5) << name.toStdString();
    }
}

TEST(Resources, SoundsAreShortPcmWaves) {
    for (const QString& name : {qv::resources::PopSoundFile, qv::resources::VerdictSoundFile}) {
        SCOPED_TRACE(name.toStdString());
        QFile file(QDir(QV_TEST_PROGRAM_DIR).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray wav = file.readAll();
        ASSERT_GE(wav.size(), 44);
        EXPECT_EQ(wav.left(4), "RIFF");
        EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
        const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(wav.constData() + at); };
        const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(wav.constData() + at); };
        EXPECT_EQ(u16(20), 1);  // PCM
        EXPECT_EQ(u16(22), 1);  // mono
        EXPECT_EQ(u16(34), 16); // bits per sample
        const quint32 rate = u32(24);
        EXPECT_EQ(wav.mid(36, 4), "data");
        const quint32 bytes = u32(40);
        EXPECT_EQ(static_cast<qsizetype>(bytes) + 44, wav.size());
        const double seconds = bytes / 2.0 / rate;
        EXPECT_GT(seconds, 0.02);
        EXPECT_LT(seconds, 0.4);
    }
}

// An installed program finds its files in the data folder beside its own, wherever the
// installation was moved; a program without one (a build tree) finds them beside itself.
TEST(Resources, ProgramFilesAreFoundRelativeToTheProgram) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString data = QString::fromLatin1(qv::build::DataDirFromProgramDir);
    ASSERT_TRUE(QDir(root.path()).mkpath("usr/bin"));
    ASSERT_TRUE(QDir(root.path() + "/usr/bin").mkpath(data));
    ASSERT_TRUE(QDir(root.path()).mkpath("build/bin"));

    const QString installed = qv::resources::ProgramFilesDir(root.path() + "/usr/bin");
    EXPECT_EQ(installed, QDir::cleanPath(root.path() + "/usr/bin/" + data) + "/");
    EXPECT_FALSE(installed.contains("..")) << installed.toStdString();

    ASSERT_TRUE(QDir(root.path()).rename("usr", "opt"));
    EXPECT_EQ(qv::resources::ProgramFilesDir(root.path() + "/opt/bin/"),
              QDir::cleanPath(root.path() + "/opt/bin/" + data) + "/");

    EXPECT_EQ(qv::resources::ProgramFilesDir(root.path() + "/build/bin"),
              root.path() + "/build/bin/");
    EXPECT_EQ(qv::resources::ProgramFilesDir(root.path() + "/build/bin/"),
              root.path() + "/build/bin/");
}

// The application icon: every size of the icon theme, transparent outside its rounded tile and
// opaque inside; the same drawing as SVG; three sizes built into the program.
TEST(Resources, ApplicationIconsHaveTheirSizes) {
    const QDir hicolor(QV_TEST_ICON_DIR);
    const QString name = QString::fromLatin1(qv::build::ApplicationId);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        const QString path = hicolor.filePath(QString("%1x%1/apps/%2.png").arg(size).arg(name));
        const QImage icon(path);
        ASSERT_FALSE(icon.isNull()) << path.toStdString();
        EXPECT_EQ(icon.size(), QSize(size, size)) << path.toStdString();
        EXPECT_TRUE(icon.hasAlphaChannel()) << path.toStdString();
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << path.toStdString();
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255) << path.toStdString();
    }
    for (const QString& path : qv::resources::WindowIconPaths())
        EXPECT_FALSE(QImage(path).isNull()) << path.toStdString();

    QFile svg(hicolor.filePath("scalable/apps/" + name + ".svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&svg);
    int paths = 0;
    QString viewBox;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("svg"))
            viewBox = xml.attributes().value("viewBox").toString();
        if (xml.name() == QLatin1String("path")) ++paths;
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(viewBox, "0 0 256 256");
    EXPECT_GE(paths, 5);
}

} // namespace
