// Results and remarks files: exact bytes, CR LF line ends, UTF-8 text, written whole or
// not at all.
#include "app/Saving.h"

#include "script/core/FileErrors.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <cerrno>
#include <stdexcept>

namespace qv {

namespace {

[[noreturn]] void Fail(int errorNumber, FileAction action) {
    throw std::runtime_error(FileErrorText(errorNumber, action));
}

// Why a save file could not be opened: the file system's answer where Qt keeps none.
int OpenErrorNumber(const QString& fileName, int errorNumber) {
    const QFileInfo info(fileName);
    if (info.isDir()) return EISDIR;
    if (!info.absoluteDir().exists()) return ENOENT;
    return errorNumber != 0 ? errorNumber : EACCES;
}

// Writes `bytes` to a temporary file beside fileName and renames it into place.
// onCreateFailure is thrown when the file cannot be created.
template <class CreateFailure>
void SaveWhole(const QString& fileName, const QByteArray& bytes, CreateFailure onCreateFailure) {
    QSaveFile file(fileName);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        onCreateFailure(OpenErrorNumber(fileName, errno));
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        const int error = errno != 0 ? errno : EIO;
        file.cancelWriting();
        Fail(error, FileAction::Write);
    }
    errno = 0;
    if (!file.commit()) Fail(errno != 0 ? errno : EIO, FileAction::Write);
}

} // namespace

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
    const QTextBlock last = doc->lastBlock();
    if (!lines.isEmpty() && lines.last().isEmpty() && last.userState() != ScriptMemoLine)
        lines.removeLast();
    return lines;
}

void WriteResultsFile(const QString& fileName, const QString& title, int points) {
    const QByteArray bytes = title.toUtf8() + "\r\n" + QByteArray::number(points) + "points\r\n";
    SaveWhole(fileName, bytes, [](int error) { Fail(error, FileAction::Create); });
}

void WriteRemarksFile(const QString& fileName, const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) bytes += line.toUtf8() + "\r\n";
    SaveWhole(fileName, bytes, [&fileName](int) {
        throw std::runtime_error(
            QStringLiteral("Cannot create file %1").arg(fileName).toStdString());
    });
}

} // namespace qv
