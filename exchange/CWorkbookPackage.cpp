#include "exchange/CWorkbookPackage.h"

#include "app/StringTable.h"
#include "exchange/XmlLexicalCheck.h"

#include <zlib.h>

#ifdef __linux__
#include <sys/mman.h>
#endif

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <limits>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace {

constexpr quint32 kLocalHeaderSignature = 0x04034b50;
constexpr qint64 kLocalHeaderSize = 30;
constexpr quint16 kStored = 0;
constexpr quint16 kDeflated = 8;

// Parts are unpacked and their checksum taken a chunk at a time, while the chunk is still in the cache.
constexpr size_t kChunk = size_t(1) << 20;
// A part from this size on unpacks on a thread of its own while its XML is checked here.
constexpr size_t kCheckWhileUnpackingFrom = size_t(1) << 20;
// A part from this size on is worth parsing in two halves side by side.
constexpr size_t kSplitFrom = size_t(4) << 20;
// The size of the system's large memory pages, which back buffers from this size on.
constexpr size_t kLargePage = size_t(2) << 20;

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

// Told how many bytes of the part have been unpacked so far, after each chunk.
using Progress = std::function<void(size_t)>;

// Inflates the raw deflate stream into exactly outSize bytes, taking their checksum on the way; throws
// when it holds fewer or more.
void Inflate(const std::string& name, const uchar* packed, quint64 packedSize, char* out, size_t outSize, uLong& crc,
             const Progress& progress)
{
    // Parts are held to the limits when the package is opened, far below zlib's 32-bit counts.
    if (packedSize > std::numeric_limits<uInt>::max() || outSize > std::numeric_limits<uInt>::max())
        throw CZipDamage(MessageString(StringId::ZipPartTooLarge).arg(QString::fromStdString(name)));
    z_stream stream = {};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        throw std::runtime_error(MessageString(StringId::ZipUnpackerNotStarted).toStdString());
    stream.next_in = const_cast<Bytef*>(packed);
    stream.avail_in = uInt(packedSize);
    int result = Z_OK;
    size_t done = 0;
    while (done < outSize && result == Z_OK) {
        const size_t chunk = std::min(kChunk, outSize - done);
        stream.next_out = reinterpret_cast<Bytef*>(out + done);
        stream.avail_out = uInt(chunk);
        result = inflate(&stream, Z_NO_FLUSH);
        const size_t produced = chunk - stream.avail_out;
        crc = crc32_z(crc, reinterpret_cast<const Bytef*>(out + done), produced);
        done += produced;
        if (produced > 0)
            progress(done);
    }
    bool more = false;
    if (result == Z_OK) {
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

// The bytes unpacked so far of a part, for the check that follows them on another thread.
class CUnpackedSoFar : public IXmlArrivals
{
public:
    explicit CUnpackedSoFar(size_t size)
        : m_whole(size)
    {
    }

    void Unpacked(size_t size)
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_size = size;
        }
        m_changed.notify_one();
    }

    void Stop()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_stopped = true;
        }
        m_changed.notify_one();
    }

    SXmlArrived WaitFor(size_t size) override
    {
        size = std::min(size, m_whole);
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [&] { return m_stopped || m_size >= size; });
        return SXmlArrived{m_size, m_size == m_whole, m_stopped};
    }

private:
    const size_t m_whole;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    size_t m_size = 0;
    bool m_stopped = false;
};

QString PartEmpty(const std::string& name)
{
    return MessageString(StringId::PartEmpty).arg(QString::fromStdString(name));
}

QString XmlFault(const std::string& name, const SXmlLexicalFault& fault)
{
    return MessageString(StringId::XmlFaultAt)
        .arg(MessageString(fault.what), QString::number(fault.offset), QString::fromStdString(name));
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

CWorkbookPackage::Bytes::Bytes(size_t size)
    : m_size(size)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (size >= kLargePage) {
        // Mapped with a large page's room to spare, then cut to the large pages that hold the size.
        const size_t length = (size + kLargePage - 1) / kLargePage * kLargePage;
        void* mapped = mmap(nullptr, length + kLargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped != MAP_FAILED) {
            const auto start = reinterpret_cast<std::uintptr_t>(mapped);
            const std::uintptr_t aligned = (start + kLargePage - 1) / kLargePage * kLargePage;
            if (aligned > start)
                munmap(mapped, aligned - start);
            if (const size_t after = start + kLargePage - aligned)
                munmap(reinterpret_cast<void*>(aligned + length), after);
            m_data = reinterpret_cast<char*>(aligned);
            m_mapped = length;
            madvise(m_data, length, MADV_HUGEPAGE); // a hint: without it the buffer is as good, only slower
            return;
        }
    }
#endif
    m_data = new char[size];
}

CWorkbookPackage::Bytes::~Bytes()
{
    Release();
}

CWorkbookPackage::Bytes::Bytes(Bytes&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr))
    , m_size(std::exchange(other.m_size, 0))
    , m_mapped(std::exchange(other.m_mapped, 0))
{
}

CWorkbookPackage::Bytes& CWorkbookPackage::Bytes::operator=(Bytes&& other) noexcept
{
    if (this != &other) {
        Release();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_mapped = std::exchange(other.m_mapped, 0);
    }
    return *this;
}

void CWorkbookPackage::Bytes::Release()
{
#ifdef __linux__
    if (m_mapped) {
        munmap(m_data, m_mapped);
        return;
    }
#endif
    delete[] m_data;
}

struct CWorkbookPackage::SPacked
{
    const uchar* data = nullptr;
    quint64 size = 0;
    size_t unpackedSize = 0;
    quint16 method = kStored;
    quint32 crc = 0;

    // Unpacks the part into `out` (unpackedSize bytes) and confirms its size and checksum; throws
    // CZipDamage when they differ.
    void Unpack(const std::string& name, char* out, const Progress& progress) const
    {
        uLong sum = crc32_z(0, nullptr, 0);
        if (method == kStored) {
            for (size_t done = 0; done < unpackedSize;) {
                const size_t chunk = std::min(kChunk, unpackedSize - done);
                std::copy(data + done, data + done + chunk, out + done);
                sum = crc32_z(sum, reinterpret_cast<const Bytef*>(out + done), chunk);
                done += chunk;
                progress(done);
            }
        } else {
            Inflate(name, data, size, out, unpackedSize, sum, progress);
        }
        if (quint32(sum) != crc)
            throw CZipDamage(MessageString(StringId::ZipPartChecksum).arg(QString::fromStdString(name)));
    }
};

CWorkbookPackage::SPacked CWorkbookPackage::Locate(const std::string& name, const CZipDirectory::SEntry& entry) const
{
    const quint64 offset = entry.localHeaderOffset;
    if (offset + kLocalHeaderSize > quint64(m_size) || Read32(m_data + offset) != kLocalHeaderSignature)
        throw CZipDamage(MessageString(StringId::ZipPartHeaderMissing).arg(QString::fromStdString(name)));
    const quint64 start = offset + kLocalHeaderSize + Read16(m_data + offset + 26) + Read16(m_data + offset + 28);
    if (start > quint64(m_size) || entry.compressedSize > quint64(m_size) - start)
        throw CZipDamage(MessageString(StringId::ZipPartPastEnd).arg(QString::fromStdString(name)));
    // A stored part is its own unpacked bytes: two sizes that differ leave its end in doubt.
    if (entry.method == kStored && entry.compressedSize != entry.uncompressedSize)
        throw CZipDamage(MessageString(StringId::ZipStoredSizes)
                             .arg(QString::fromStdString(name), QString::number(entry.compressedSize),
                                  QString::number(entry.uncompressedSize)));
    if (entry.method != kStored && entry.method != kDeflated)
        throw CPackageError(MessageString(StringId::PartPackedUnknown).arg(QString::fromStdString(name)));
    SPacked packed;
    packed.data = m_data + start;
    packed.size = entry.compressedSize;
    // Within the limits (checked when opened), so the size fits.
    packed.unpackedSize = size_t(entry.uncompressedSize);
    packed.method = entry.method;
    packed.crc = entry.crc;
    return packed;
}

const CZipDirectory::SEntry* CWorkbookPackage::FindPart(const std::string& name, bool required) const
{
    const CZipDirectory::SEntry* entry = m_directory.Find(name);
    if (!entry && required)
        throw CPackageError(MessageString(StringId::PartMissing).arg(QString::fromStdString(name)));
    return entry;
}

CWorkbookPackage::Bytes CWorkbookPackage::Part(const std::string& name, bool required) const
{
    const CZipDirectory::SEntry* entry = FindPart(name, required);
    if (!entry)
        return Bytes();
    const SPacked packed = Locate(name, *entry);
    Bytes bytes(packed.unpackedSize + 1);
    bytes.data()[packed.unpackedSize] = '\0';
    packed.Unpack(name, bytes.data(), [](size_t) {});
    return bytes;
}

CWorkbookPackage::CCheckedXml CWorkbookPackage::CheckedXmlPart(const std::string& name, bool required) const
{
    const CZipDirectory::SEntry* entry = FindPart(name, required);
    if (!entry)
        return CCheckedXml();
    const SPacked packed = Locate(name, *entry);
    const size_t size = packed.unpackedSize;
    Bytes bytes(size + 1);
    bytes.data()[size] = '\0';
    std::optional<SXmlLexicalFault> fault;
    SXmlChildSplit split;
    split.from = size >= kSplitFrom ? size / 2 : size_t(SXmlChildSplit::npos);
    bool checked = false;
    if (size >= kCheckWhileUnpackingFrom) {
        // The check follows the unpacked bytes here while the part unpacks on a thread of its own. A
        // damaged archive is reported rather than any fault the check found in the bytes before.
        CUnpackedSoFar soFar(size);
        std::exception_ptr unpackFailure;
        std::thread unpacker;
        try {
            unpacker = std::thread([&] {
                try {
                    packed.Unpack(name, bytes.data(), [&](size_t done) { soFar.Unpacked(done); });
                } catch (...) {
                    unpackFailure = std::current_exception();
                    soFar.Stop();
                }
            });
        } catch (const std::system_error&) {
            // No thread to be had: the part is unpacked first, then checked, below.
        }
        if (unpacker.joinable()) {
            std::exception_ptr checkFailure;
            try {
                fault = FindXmlLexicalFault(bytes.data(), soFar, &split);
            } catch (...) {
                checkFailure = std::current_exception();
            }
            unpacker.join();
            if (unpackFailure)
                std::rethrow_exception(unpackFailure);
            if (checkFailure)
                std::rethrow_exception(checkFailure);
            checked = true;
        }
    }
    if (!checked) {
        packed.Unpack(name, bytes.data(), [](size_t) {});
        if (size > 0)
            fault = FindXmlLexicalFault(std::string_view(bytes.data(), size), &split);
    }
    if (size == 0)
        throw CPackageError(PartEmpty(name));
    if (fault)
        throw CPackageError(XmlFault(name, *fault));
    return CCheckedXml(std::move(bytes), split);
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
