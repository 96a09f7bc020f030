// Read-only access to a compiled HTML Help file (.chm) through chmlib.
#include "app/help/ChmFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <utility>
#include <vector>

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

// What DirectoryFault says of a file that is no compiled help file at all.
constexpr const char* kNoHeader = "no header";

// Little-endian numbers of the file's headers.
quint32 U32(const QByteArray& data, qsizetype at) {
    quint32 value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<quint8>(data[at + i]);
    return value;
}

qint32 I32(const QByteArray& data, qsizetype at) {
    return static_cast<qint32>(U32(data, at));
}

quint64 U64(const QByteArray& data, qsizetype at) {
    return (quint64(U32(data, at + 4)) << 32) | U32(data, at);
}

// A variable-length number of the directory: 7 bits a byte, the high bit set on all
// bytes but the last. False when it runs past `end`.
bool ReadEncInt(const QByteArray& page, qsizetype& at, qsizetype end, quint64& value) {
    value = 0;
    for (int bytes = 0; at < end && bytes < 9; ++bytes) {
        const auto b = static_cast<quint8>(page[at++]);
        value = (value << 7) | (b & 0x7F);
        if (!(b & 0x80)) return true;
    }
    return false;
}

// The help library walks two structures of the file's directory for as long as they lead
// on: the chain of listing pages (every enumeration) and the tree of index pages (every
// look-up). A damaged file whose chain or tree runs in a circle would keep it going for
// ever, so both are walked here first, each page at most once. Returns an empty text for
// a sound directory, else what is wrong with it.
QString DirectoryFault(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("cannot be read");
    const qint64 size = file.size();
    const QByteArray header = file.read(0x58);
    if (header.size() < 0x58 || !header.startsWith("ITSF")) return QString::fromLatin1(kNoHeader);
    const quint64 dirOffset = U64(header, 0x48);
    if (dirOffset > quint64(size) || !file.seek(qint64(dirOffset)))
        return QStringLiteral("no directory");
    const QByteArray itsp = file.read(0x54);
    if (itsp.size() < 0x54 || !itsp.startsWith("ITSP")) return QStringLiteral("no directory");
    const quint32 headerLength = U32(itsp, 0x08);
    const quint32 blockLength = U32(itsp, 0x10);
    const qint32 indexRoot = I32(itsp, 0x1C);
    const qint32 indexHead = I32(itsp, 0x20);
    const quint32 blocks = U32(itsp, 0x2C);
    const quint64 pagesAt = dirOffset + headerLength;
    if (blockLength < 20 || blockLength > (1u << 20) || pagesAt > quint64(size) ||
        quint64(blocks) > (quint64(size) - pagesAt) / blockLength)
        return QStringLiteral("directory larger than the file");

    auto readPage = [&](qint32 number, QByteArray& page) {
        if (number < 0 || quint32(number) >= blocks) return false;
        if (!file.seek(qint64(pagesAt + quint64(number) * blockLength))) return false;
        page = file.read(blockLength);
        return page.size() == qsizetype(blockLength);
    };

    // The chain of listing pages ("PMGL"), from the first to the one whose next is -1.
    std::vector<bool> seen(blocks, false);
    QByteArray page;
    for (qint32 at = indexHead; at != -1;) {
        if (!readPage(at, page) || !page.startsWith("PMGL"))
            return QStringLiteral("listing page %1 missing").arg(at);
        if (seen[size_t(at)]) return QStringLiteral("listing pages run in a circle");
        seen[size_t(at)] = true;
        at = I32(page, 16);
    }

    // The tree of index pages ("PMGI") above them: every path must end on a listing page
    // or at -1 without passing a page twice.
    std::vector<int> state(blocks, 0);                        // 0 not seen, 1 on the path, 2 done
    std::vector<std::pair<qint32, std::vector<qint32>>> walk; // the pages on the way down
    auto children = [&](qint32 number, std::vector<qint32>& out, QString& fault) {
        out.clear();
        if (!readPage(number, page)) {
            fault = QStringLiteral("index page %1 missing").arg(number);
            return;
        }
        if (page.startsWith("PMGL")) return; // a leaf
        if (!page.startsWith("PMGI")) {
            fault = QStringLiteral("index page %1 damaged").arg(number);
            return;
        }
        const quint32 freeSpace = U32(page, 4);
        const qsizetype end = qsizetype(blockLength) - qsizetype(std::min(freeSpace, blockLength));
        qsizetype at = 8;
        while (at < end) {
            quint64 nameLength = 0, child = 0;
            if (!ReadEncInt(page, at, end, nameLength) || nameLength > quint64(end - at)) break;
            at += qsizetype(nameLength);
            if (!ReadEncInt(page, at, end, child)) break;
            if (child >= blocks) {
                fault = QStringLiteral("index page %1 damaged").arg(number);
                return;
            }
            out.push_back(qint32(child));
        }
    };
    const qint32 root = indexRoot <= -1 ? indexHead : indexRoot;
    if (root == -1) return {};
    QString fault;
    std::vector<qint32> first;
    children(root, first, fault);
    if (!fault.isEmpty()) return fault;
    state[size_t(root)] = 1;
    walk.emplace_back(root, std::move(first));
    while (!walk.empty()) {
        auto& [number, pending] = walk.back();
        if (pending.empty()) {
            state[size_t(number)] = 2;
            walk.pop_back();
            continue;
        }
        const qint32 child = pending.back();
        pending.pop_back();
        if (state[size_t(child)] == 1) return QStringLiteral("index pages run in a circle");
        if (state[size_t(child)] == 2) continue;
        std::vector<qint32> next;
        children(child, next, fault);
        if (!fault.isEmpty()) return fault;
        state[size_t(child)] = 1;
        walk.emplace_back(child, std::move(next));
    }
    return {};
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
    if (const QString fault = DirectoryFault(path); !fault.isEmpty()) {
        if (error)
            *error = fault == QLatin1String(kNoHeader)
                         ? QStringLiteral("Not a compiled help file: %1").arg(path)
                         : QStringLiteral("The help file is damaged (%1): %2").arg(fault, path);
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
