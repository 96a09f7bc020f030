// Writing the results file and the remarks file, and reading the memo's lines as shown.
#pragma once

#include <QString>
#include <QStringList>

class QPlainTextEdit;

namespace qv {

// The run-time's message for an input/output error number, as the error box shows it
// ("File access denied", "Disk full", ... or "I/O error %d"). `creating` tells whether
// the failing call created a file (a missing folder then reads "Invalid filename").
QString InOutErrorText(int errorNumber, bool creating);

// The lines of the memo as it shows them: each wrapped piece of a long line is a line of
// its own; a last line that is empty is left out.
QStringList MemoVisualLines(const QPlainTextEdit& memo);

// Writes "<title>\r\n<points>points\r\n" in UTF-8, creating or emptying the file. Throws
// std::runtime_error with InOutErrorText on failure; what was written stays.
void WriteResultsFile(const QString& fileName, const QString& title, int points);

// Writes every line followed by "\r\n" in UTF-8, replacing the file's contents. Throws
// std::runtime_error("Cannot create file <name>") when the file cannot be created.
void WriteRemarksFile(const QString& fileName, const QStringList& lines);

} // namespace qv
