// The problem-file type as the desktop's MIME database reads it from our package file: found
// by its extension and, without one, by a leading index line; a kind of plain text.
#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString ProblemType = QStringLiteral("application/x-quorvane-problems");

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

TEST(MimeType, ProblemFilesAreTheirOwnTextType) {
    // A data folder that holds only our package, searched before the system's. The MIME
    // database reads its folders once, so this is set before its first use.
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());
    ASSERT_TRUE(QDir(data.path()).mkpath("mime/packages"));
    ASSERT_TRUE(QFile::copy(QV_TEST_MIME_PACKAGE, data.filePath("mime/packages/quorvane.xml")));
    qputenv("XDG_DATA_HOME", data.filePath("home").toUtf8());
    qputenv("XDG_DATA_DIRS", (data.path() + ":/usr/local/share:/usr/share").toUtf8());

    QMimeDatabase db;
    const QMimeType type = db.mimeTypeForName(ProblemType);
    ASSERT_TRUE(type.isValid());
    EXPECT_TRUE(type.inherits("text/plain"));
    EXPECT_EQ(type.comment(), "Quorvane problem file");
    EXPECT_EQ(db.mimeTypeForFile("tactics.qvn", QMimeDatabase::MatchExtension).name(), ProblemType);

    QTemporaryDir files;
    ASSERT_TRUE(files.isValid());
    Write(files.filePath("indexed"), ".# 1 Mate in one\r\n.position\r\n");
    Write(files.filePath("plain"), "Notes\r\n.# 1 Mate in one\r\n");
    Write(files.filePath("notes.txt"), ".# 1 Mate in one\r\n");
    Write(files.filePath("named.qvn"), "A title page before the first problem\r\n");
    EXPECT_EQ(db.mimeTypeForFile(files.filePath("indexed")).name(), ProblemType);
    EXPECT_EQ(db.mimeTypeForFile(files.filePath("plain")).name(), "text/plain");
    EXPECT_EQ(db.mimeTypeForFile(files.filePath("notes.txt")).name(), "text/plain");
    EXPECT_EQ(db.mimeTypeForFile(files.filePath("named.qvn")).name(), ProblemType);
}

} // namespace
