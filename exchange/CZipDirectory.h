#pragma once

#include <QString>
#include <QtGlobal>

#include <string>
#include <vector>

// The central directory of a zip archive (an .xlsx or .ods package): the name and the unpacked size
// that each entry declares. The zip reader sizes its buffer for an entry by that declaration, so
// checking it before anything is unpacked keeps a small archive from claiming gigabytes.
class CZipDirectory
{
public:
    struct SEntry
    {
        std::string name;
        quint64 uncompressedSize = 0; // zip64 entries, which the reader cannot unpack, count as 2^64 - 1
        quint64 compressedSize = 0;
        quint32 crc = 0;
        quint16 method = 0; // 0 stored, 8 deflated
        quint64 localHeaderOffset = 0;
    };

    // False when the file cannot be read or holds no central directory; ErrorString() says why.
    bool Read(const QString& path);
    QString ErrorString() const { return m_error; }
    const std::vector<SEntry>& Entries() const { return m_entries; }

    // The unpacked size an entry of that name declares (the largest, if the name repeats); 0 when none does.
    quint64 DeclaredSize(const std::string& name) const;
    // The entry of that name (the last, if the name repeats), or null.
    const SEntry* Find(const std::string& name) const;
    // The largest entry, or null when there is none.
    const SEntry* Largest() const;
    // Why the package cannot be unpacked within maxPartBytes a part; empty when it can.
    QString OversizedPart(qint64 maxPartBytes) const;

private:
    std::vector<SEntry> m_entries;
    QString m_error;
};
