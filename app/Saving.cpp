// Results and remarks files: exact bytes, CR LF line ends, UTF-8 text.
#include "app/Saving.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace qv {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

[[noreturn]] void ThrowInOut(int errorNumber, bool creating) {
    throw std::runtime_error(InOutErrorText(errorNumber, creating).toStdString());
}

void WriteAll(std::FILE* f, const QByteArray& bytes) {
    if (bytes.isEmpty()) return;
    errno = 0;
    if (std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), f) !=
        static_cast<size_t>(bytes.size()))
        ThrowInOut(errno, false);
}

} // namespace

QString InOutErrorText(int errorNumber, bool creating) {
    switch (errorNumber) {
    case ENOENT:
        return creating ? QStringLiteral("Invalid filename") : QStringLiteral("File not found");
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
        return QStringLiteral("Invalid filename");
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return QStringLiteral("File access denied");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Too many open files");
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QStringLiteral("Disk full");
    default:
        return QStringLiteral("I/O error %1").arg(errorNumber);
    }
}

QStringList MemoVisualLines(const QPlainTextEdit& memo) {
    QStringList lines;
    const QTextDocument* doc = memo.document();
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        // Asking for the block's rectangle lays the block out at the memo's width.
        layout->blockBoundingRect(block);
        const QTextLayout* tl = block.layout();
        if (!tl || tl->lineCount() == 0 || memo.lineWrapMode() == QPlainTextEdit::NoWrap) {
            lines << text;
            continue;
        }
        for (int i = 0; i < tl->lineCount(); ++i) {
            const QTextLine line = tl->lineAt(i);
            lines << text.mid(line.textStart(), line.textLength());
        }
    }
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

void WriteResultsFile(const QString& fileName, const QString& title, int points) {
    const QByteArray path = QFile::encodeName(fileName);
    errno = 0;
    FilePtr f(std::fopen(path.constData(), "wb"));
    if (!f) ThrowInOut(errno, true);
    WriteAll(f.get(), title.toUtf8() + "\r\n");
    WriteAll(f.get(), QByteArray::number(points) + "points\r\n");
    errno = 0;
    if (std::fflush(f.get()) != 0) ThrowInOut(errno, false);
    std::FILE* raw = f.release();
    errno = 0;
    if (std::fclose(raw) != 0) ThrowInOut(errno, false);
}

void WriteRemarksFile(const QString& fileName, const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) bytes += line.toUtf8() + "\r\n";
    const QByteArray path = QFile::encodeName(fileName);
    FilePtr f(std::fopen(path.constData(), "wb"));
    if (!f)
        throw std::runtime_error(
            QStringLiteral("Cannot create file %1").arg(fileName).toStdString());
    WriteAll(f.get(), bytes);
    std::FILE* raw = f.release();
    errno = 0;
    if (std::fclose(raw) != 0) ThrowInOut(errno, false);
}

} // namespace qv
