#include "exchange/CZipDirectory.h"

#include "app/StringTable.h"
#include "exchange/ImportLimits.h"

#include <QFile>

#include <algorithm>
#include <limits>

namespace {

constexpr quint32 kEndOfDirectorySignature = 0x06054b50;
constexpr quint32 kDirectoryEntrySignature = 0x02014b50;
constexpr qint64 kEndOfDirectorySize = 22;
constexpr qint64 kLongestComment = 0xFFFF;
constexpr qint64 kDirectoryEntrySize = 46;
// A directory this large would list hundreds of thousands of parts: no workbook has that many.
constexpr qint64 kLargestDirectory = qint64(64) << 20;

quint32 Read16(const QByteArray& bytes, qint64 at)
{
    return quint32(quint8(bytes[at])) | (quint32(quint8(bytes[at + 1])) << 8);
}

quint32 Read32(const QByteArray& bytes, qint64 at)
{
    return Read16(bytes, at) | (Read16(bytes, at + 2) << 16);
}

} // namespace

bool CZipDirectory::Read(const QString& path)
{
    m_entries.clear();
    m_error.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = file.errorString();
        return false;
    }
    const qint64 size = file.size();
    const qint64 tailSize = std::min(size, kEndOfDirectorySize + kLongestComment);
    if (!file.seek(size - tailSize)) {
        m_error = file.errorString();
        return false;
    }
    const QByteArray tail = file.read(tailSize);
    // The end record is the last one in the file, as the zip reader finds it.
    qint64 end = -1;
    for (qint64 at = qint64(tail.size()) - kEndOfDirectorySize; at >= 0; --at) {
        if (Read32(tail, at) == kEndOfDirectorySignature) {
            end = at;
            break;
        }
    }
    if (end < 0) {
        m_error = MessageString(StringId::ZipNotAnArchive);
        return false;
    }
    const qint64 directoryOffset = Read32(tail, end + 16);
    if (directoryOffset >= size) {
        m_error = MessageString(StringId::ZipDamagedPlain);
        return false;
    }
    // The reader walks the directory while entries follow one another, whatever its declared size.
    const qint64 directorySize = std::min(size - directoryOffset, kLargestDirectory + kDirectoryEntrySize);
    if (!file.seek(directoryOffset)) {
        m_error = file.errorString();
        return false;
    }
    const QByteArray directory = file.read(directorySize);
    qint64 at = 0;
    while (at + kDirectoryEntrySize <= directory.size() && Read32(directory, at) == kDirectoryEntrySignature) {
        if (at > kLargestDirectory) {
            m_error = MessageString(StringId::ZipDirectoryTooLarge).arg(DescribeByteCount(kLargestDirectory));
            return false;
        }
        const quint32 method = Read16(directory, at + 10);
        const quint32 crc = Read32(directory, at + 16);
        const quint32 compressed = Read32(directory, at + 20);
        const quint32 uncompressed = Read32(directory, at + 24);
        const qint64 nameLength = Read16(directory, at + 28);
        const qint64 extraLength = Read16(directory, at + 30);
        const qint64 commentLength = Read16(directory, at + 32);
        if (at + kDirectoryEntrySize + nameLength > directory.size()) {
            m_error = MessageString(StringId::ZipDamagedPlain);
            return false;
        }
        SEntry entry;
        entry.name = directory.mid(at + kDirectoryEntrySize, nameLength).toStdString();
        // The zip reader makes room for a stored part by its packed size.
        if (compressed > size) {
            m_error = MessageString(StringId::ZipDamaged)
                          .arg(MessageString(StringId::ZipPartClaimsMore).arg(QString::fromStdString(entry.name)));
            return false;
        }
        entry.uncompressedSize =
            uncompressed == 0xFFFFFFFFu ? std::numeric_limits<quint64>::max() : quint64(uncompressed);
        entry.compressedSize = compressed;
        entry.crc = crc;
        entry.method = quint16(method);
        entry.localHeaderOffset = Read32(directory, at + 42);
        m_entries.push_back(std::move(entry));
        at += kDirectoryEntrySize + nameLength + extraLength + commentLength;
    }
    return true;
}

const CZipDirectory::SEntry* CZipDirectory::Largest() const
{
    const auto largest = std::max_element(m_entries.begin(), m_entries.end(), [](const SEntry& a, const SEntry& b) {
        return a.uncompressedSize < b.uncompressedSize;
    });
    return largest == m_entries.end() ? nullptr : &*largest;
}

QString CZipDirectory::OversizedPart(qint64 maxPartBytes) const
{
    const SEntry* largest = Largest();
    if (!largest || largest->uncompressedSize <= quint64(maxPartBytes))
        return QString();
    const QString size = largest->uncompressedSize > quint64(std::numeric_limits<qint64>::max())
                             ? MessageString(StringId::MoreThan4Gigabytes)
                             : DescribeByteCount(qint64(largest->uncompressedSize));
    return MessageString(StringId::ZipPartOversized)
        .arg(QString::fromStdString(largest->name), size, DescribeByteCount(maxPartBytes));
}

const CZipDirectory::SEntry* CZipDirectory::Find(const std::string& name) const
{
    for (auto entry = m_entries.rbegin(); entry != m_entries.rend(); ++entry) {
        if (entry->name == name)
            return &*entry;
    }
    return nullptr;
}

quint64 CZipDirectory::DeclaredSize(const std::string& name) const
{
    quint64 size = 0;
    for (const SEntry& entry : m_entries) {
        if (entry.name == name)
            size = std::max(size, entry.uncompressedSize);
    }
    return size;
}
