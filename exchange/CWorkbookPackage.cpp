#include "exchange/CWorkbookPackage.h"

#include <zlib.h>

#include <exception>
#include <limits>

namespace {

constexpr quint32 kLocalHeaderSignature = 0x04034b50;
constexpr qint64 kLocalHeaderSize = 30;
constexpr quint16 kStored = 0;
constexpr quint16 kDeflated = 8;

// A zip archive whose bytes contradict what it says of them.
class CZipDamage : public std::runtime_error
{
public:
    explicit CZipDamage(const QString& what)
        : std::runtime_error(MessageString(StringId::ZipDamaged).arg(what).toStdString())
    {
    }
};

quint32 Read16(const uchar* at)
{
    return quint32(at[0]) | (quint32(at[1]) << 8);
}

quint32 Read32(const uchar* at)
{
    return Read16(at) | (Read16(at + 2) << 16);
}

// Inflates the raw deflate stream into exactly outSize bytes; throws when it holds fewer or more.
void Inflate(const std::string& name, const uchar* packed, quint64 packedSize, char* out, size_t outSize)
{
    // Parts are held to the limits when the package is opened, far below zlib's 32-bit counts.
    if (packedSize > std::numeric_limits<uInt>::max() || outSize > std::numeric_limits<uInt>::max())
        throw CZipDamage(MessageString(StringId::ZipPartTooLarge).arg(QString::fromStdString(name)));
    z_stream stream = {};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        throw std::runtime_error(MessageString(StringId::ZipUnpackerNotStarted).toStdString());
    stream.next_in = const_cast<Bytef*>(packed);
    stream.avail_in = uInt(packedSize);
    stream.next_out = reinterpret_cast<Bytef*>(out);
    stream.avail_out = uInt(outSize);
    int result = inflate(&stream, Z_FINISH);
    bool more = false;
    if (result != Z_STREAM_END && stream.avail_out == 0) {
        // The declared size is full: whatever else the stream holds is too much.
        Bytef extra = 0;
        stream.next_out = &extra;
        stream.avail_out = 1;
        result = inflate(&stream, Z_FINISH);
        more = stream.avail_out == 0;
    }
    const uLong produced = stream.total_out;
    inflateEnd(&stream);
    if (more)
        throw CZipDamage(
            MessageString(StringId::ZipPartUnpacksMore).arg(QString::fromStdString(name), QString::number(outSize)));
    if (result != Z_STREAM_END)
        throw CZipDamage(MessageString(StringId::ZipPartNotUnpacked).arg(QString::fromStdString(name)));
    if (produced != outSize)
        throw CZipDamage(MessageString(StringId::ZipPartUnpacksFewer)
                             .arg(QString::fromStdString(name), QString::number(produced), QString::number(outSize)));
}

} // namespace

bool EndsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

CWorkbookPackage::CWorkbookPackage(const SImportLimits& limits)
    : m_limits(limits)
{
}

bool CWorkbookPackage::Open(const QString& path)
{
    m_error.clear();
    // The directory's declarations are checked before any part is unpacked.
    if (!m_directory.Read(path)) {
        m_error = m_directory.ErrorString();
        return false;
    }
    m_error = m_directory.OversizedPart(m_limits.maxPartBytes);
    if (!m_error.isEmpty())
        return false;
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadOnly)) {
        m_error = m_file.errorString();
        return false;
    }
    m_size = m_file.size();
    m_data = m_file.map(0, m_size);
    if (!m_data) {
        m_error = m_file.errorString();
        return false;
    }
    return true;
}

CWorkbookPackage::Bytes CWorkbookPackage::Part(const std::string& name, bool required) const
{
    const CZipDirectory::SEntry* entry = m_directory.Find(name);
    if (!entry) {
        if (required)
            throw CPackageError(MessageString(StringId::PartMissing).arg(QString::fromStdString(name)));
        return Bytes();
    }
    const quint64 offset = entry->localHeaderOffset;
    if (offset + kLocalHeaderSize > quint64(m_size) || Read32(m_data + offset) != kLocalHeaderSignature)
        throw CZipDamage(MessageString(StringId::ZipPartHeaderMissing).arg(QString::fromStdString(name)));
    const quint64 start = offset + kLocalHeaderSize + Read16(m_data + offset + 26) + Read16(m_data + offset + 28);
    if (start > quint64(m_size) || entry->compressedSize > quint64(m_size) - start)
        throw CZipDamage(MessageString(StringId::ZipPartPastEnd).arg(QString::fromStdString(name)));
    // A stored part is its own unpacked bytes: two sizes that differ leave its end in doubt.
    if (entry->method == kStored && entry->compressedSize != entry->uncompressedSize)
        throw CZipDamage(MessageString(StringId::ZipStoredSizes)
                             .arg(QString::fromStdString(name), QString::number(entry->compressedSize),
                                  QString::number(entry->uncompressedSize)));
    const uchar* packed = m_data + start;
    // Within the limits (checked when opened), so the size fits.
    const size_t size = size_t(entry->uncompressedSize);
    Bytes bytes(size + 1);
    bytes.data()[size] = '\0';
    if (entry->method == kStored)
        std::copy(packed, packed + size, bytes.data());
    else if (entry->method == kDeflated)
        Inflate(name, packed, entry->compressedSize, bytes.data(), size);
    else
        throw CPackageError(MessageString(StringId::PartPackedUnknown).arg(QString::fromStdString(name)));
    uLong crc = crc32_z(0, nullptr, 0);
    crc = crc32_z(crc, reinterpret_cast<const Bytef*>(bytes.data()), size);
    if (quint32(crc) != entry->crc)
        throw CZipDamage(MessageString(StringId::ZipPartChecksum).arg(QString::fromStdString(name)));
    return bytes;
}

bool ReadWorkbookPackage(const QString& path, const SImportLimits& limits, const QString& format,
                         const std::function<void(const CWorkbookPackage&)>& read, QString& error)
{
    CWorkbookPackage package(limits);
    if (!package.Open(path)) {
        error = MessageString(StringId::NotAWorkbook).arg(format, package.ErrorString());
        return false;
    }
    try {
        read(package);
        return true;
    } catch (const CPackageError& failure) {
        error = MessageString(StringId::NotAReadableWorkbook).arg(format, QString::fromUtf8(failure.what()));
    } catch (const CZipDamage& failure) {
        error = MessageString(StringId::NotAWorkbook).arg(format, QString::fromUtf8(failure.what()));
    } catch (const std::exception& failure) {
        error = MessageString(StringId::NotAReadableWorkbookBecause).arg(format, QString::fromUtf8(failure.what()));
    }
    return false;
}
