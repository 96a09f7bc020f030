// Writing the results file and the remarks file, and reading the memo's lines as shown.
#pragma once

#include <QString>
#include <QStringList>

class QPlainTextEdit;

namespace qv {

// The block state that marks a memo line added by the script (AddMemoLine), as against
// the empty line the memo itself keeps after a final line break.
inline constexpr int ScriptMemoLine = 1;

// The lines of the memo as it shows them: each wrapped piece of a long line is a line of
// its own. A last line that is empty is left out unless the script added it.
QStringList MemoVisualLines(const QPlainTextEdit& memo);

// Both writers replace the file only once every byte is written: the text goes to a
// temporary file beside it, which is then renamed over it. A failure leaves an earlier
// file as it was and throws std::runtime_error with the run-time's message
// (FileErrorText, "Cannot create file <name>" for remarks that cannot be created).

// Writes "<title>\r\n<points>points\r\n" in UTF-8.
void WriteResultsFile(const QString& fileName, const QString& title, int points);

// Writes every line followed by "\r\n" in UTF-8.
void WriteRemarksFile(const QString& fileName, const QStringList& lines);

} // namespace qv
