// Read-only access to a compiled HTML Help file (.chm) through chmlib.
#include "app/help/ChmFile.h"

#include <QFileInfo>

#include <chm_lib.h>

namespace qv {

namespace {

// #SYSTEM record codes of the help project's settings.
constexpr quint16 SystemContentsFile = 0;
constexpr quint16 SystemDefaultTopic = 2;
constexpr quint16 SystemTitle = 3;

quint16 Word(const QByteArray& data, qsizetype at) {
    return static_cast<quint16>(static_cast<quint8>(data[at]) |
                                (static_cast<quint8>(data[at + 1]) << 8));
}

// A #SYSTEM string: NUL-terminated inside its record.
QString RecordText(const QByteArray& record) {
    const qsizetype end = record.indexOf('\0');
    return QString::fromUtf8(end < 0 ? record : record.left(end)).trimmed();
}

bool IsPage(const QString& path) {
    return path.endsWith(QLatin1String(".html"), Qt::CaseInsensitive) ||
           path.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive);
}

int CollectObject(chmFile*, chmUnitInfo* info, void* context) {
    auto* list = static_cast<QStringList*>(context);
    const QString path = QString::fromUtf8(info->path);
    // Skip folders and the compiler's own records ("/#SYSTEM", "/$WWKeywordLinks/...").
    if (!path.endsWith(QLatin1Char('/')) && !path.startsWith(QLatin1String("/#")) &&
        !path.startsWith(QLatin1String("/$")))
        list->append(path);
    return CHM_ENUMERATOR_CONTINUE;
}

} // namespace

ChmFile::~ChmFile() {
    Close();
}

bool ChmFile::Open(const QString& path, QString* error) {
    Close();
    const QFileInfo info(path);
    if (!info.exists()) {
        if (error) *error = QStringLiteral("File not found: %1").arg(path);
        return false;
    }
    if (!info.isFile() || !info.isReadable()) {
        if (error) *error = QStringLiteral("File access denied: %1").arg(path);
        return false;
    }
    m_handle = chm_open(QFile::encodeName(path).constData());
    if (!m_handle) {
        if (error) *error = QStringLiteral("Not a compiled help file: %1").arg(path);
        return false;
    }
    m_path = path;
    ReadSystemRecord();
    if (m_defaultTopic.isEmpty() || !Contains(m_defaultTopic)) {
        m_defaultTopic.clear();
        const QStringList objects = Objects();
        for (const QString& object : objects) {
            if (IsPage(object)) {
                m_defaultTopic = object;
                break;
            }
        }
    }
    return true;
}

void ChmFile::Close() {
    if (m_handle) chm_close(m_handle);
    m_handle = nullptr;
    m_path.clear();
    m_defaultTopic.clear();
    m_contentsFile.clear();
    m_title.clear();
}

QString ChmFile::Absolute(const QString& objectPath) {
    return objectPath.startsWith(QLatin1Char('/')) ? objectPath : QLatin1Char('/') + objectPath;
}

bool ChmFile::Contains(const QString& objectPath) const {
    if (!m_handle) return false;
    chmUnitInfo info{};
    return chm_resolve_object(m_handle, Absolute(objectPath).toUtf8().constData(), &info) ==
           CHM_RESOLVE_SUCCESS;
}

bool ChmFile::Read(const QString& objectPath, QByteArray* data) const {
    if (!m_handle || !data) return false;
    chmUnitInfo info{};
    if (chm_resolve_object(m_handle, Absolute(objectPath).toUtf8().constData(), &info) !=
        CHM_RESOLVE_SUCCESS)
        return false;
    if (info.length > static_cast<LONGUINT64>(MaxObjectSize)) return false;
    const auto length = static_cast<qsizetype>(info.length);
    data->resize(length);
    if (length == 0) return true;
    const LONGINT64 got = chm_retrieve_object(
        m_handle, &info, reinterpret_cast<unsigned char*>(data->data()), 0, length);
    if (got != length) {
        data->clear();
        return false;
    }
    return true;
}

QStringList ChmFile::Objects() const {
    QStringList list;
    if (m_handle)
        chm_enumerate(m_handle, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, CollectObject, &list);
    return list;
}

void ChmFile::ReadSystemRecord() {
    QByteArray system;
    if (!Read(QStringLiteral("/#SYSTEM"), &system)) return;
    // A version word of four bytes, then records: code (2 bytes), length (2 bytes), data.
    qsizetype at = 4;
    while (at + 4 <= system.size()) {
        const quint16 code = Word(system, at);
        const quint16 length = Word(system, at + 2);
        at += 4;
        if (at + length > system.size()) break;
        const QString text = RecordText(system.mid(at, length));
        at += length;
        if (text.isEmpty()) continue;
        switch (code) {
        case SystemContentsFile:
            m_contentsFile = Absolute(text);
            break;
        case SystemDefaultTopic:
            m_defaultTopic = Absolute(text);
            break;
        case SystemTitle:
            m_title = text;
            break;
        default:
            break;
        }
    }
}

} // namespace qv
