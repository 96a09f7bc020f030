// Read-only access to a compiled HTML Help file (.chm) through chmlib.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

struct chmFile;

namespace qv {

// One open compiled help file. Objects are addressed by their absolute path inside the file
// ("/index.html"); the default topic and the contents file come from the file's #SYSTEM
// record, with the first HTML page as a fall-back for the topic.
class ChmFile {
public:
    ChmFile() = default;
    ~ChmFile();
    ChmFile(const ChmFile&) = delete;
    ChmFile& operator=(const ChmFile&) = delete;

    // Opens the file; on failure returns false with a message naming the file in *error.
    bool Open(const QString& path, QString* error = nullptr);
    void Close();
    bool IsOpen() const { return m_handle != nullptr; }
    QString Path() const { return m_path; }

    // The object at an absolute path ("/index.html"; the leading "/" may be left out).
    // Returns false when there is no such object or it cannot be read.
    bool Read(const QString& objectPath, QByteArray* data) const;
    bool Contains(const QString& objectPath) const;
    // Paths of all ordinary objects (pages, pictures, style sheets), in the file's order.
    QStringList Objects() const;

    // The page shown first: the default topic that the help project names, else the first
    // HTML page of the file; always absolute ("/index.html"), empty for a file without pages.
    QString DefaultTopic() const { return m_defaultTopic; }
    // The contents file (".hhc") and the title of the help project, if the file names them.
    QString ContentsFile() const { return m_contentsFile; }
    QString Title() const { return m_title; }

    // Largest object read into memory; help pages are far smaller.
    static constexpr qint64 MaxObjectSize = 32 * 1024 * 1024;

private:
    void ReadSystemRecord();
    static QString Absolute(const QString& objectPath);

    chmFile* m_handle = nullptr;
    QString m_path;
    QString m_defaultTopic;
    QString m_contentsFile;
    QString m_title;
};

} // namespace qv
