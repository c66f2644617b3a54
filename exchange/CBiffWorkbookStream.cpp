#include "exchange/CBiffWorkbookStream.h"

#include <QtEndian>

#include <algorithm>

namespace {

// Record types.
constexpr quint16 kBof = 0x0809;
constexpr quint16 kEof = 0x000A;
constexpr quint16 kInterfaceHdr = 0x00E1;
constexpr quint16 kMms = 0x00C1;
constexpr quint16 kInterfaceEnd = 0x00E2;
constexpr quint16 kCodePage = 0x0042;
constexpr quint16 kDsf = 0x0161;
constexpr quint16 kWindow1 = 0x003D;
constexpr quint16 kDateMode = 0x0022;
constexpr quint16 kPrecision = 0x000E;
constexpr quint16 kFont = 0x0031;
constexpr quint16 kXf = 0x00E0;
constexpr quint16 kStyle = 0x0293;
constexpr quint16 kBoundSheet = 0x0085;
constexpr quint16 kSst = 0x00FC;
constexpr quint16 kContinue = 0x003C;
constexpr quint16 kExtSst = 0x00FF;
constexpr quint16 kDimensions = 0x0200;
constexpr quint16 kLabelSst = 0x00FD;
constexpr quint16 kWindow2 = 0x023E;

constexpr quint16 kBiff8 = 0x0600;
constexpr quint16 kGlobalsSubstream = 0x0005;
constexpr quint16 kSheetSubstream = 0x0010;
constexpr quint16 kUtf16CodePage = 1200;

// Style formats 0-15 come first, as every reader expects; cells use the one cell format after them.
constexpr int kStyleFormats = 16;
constexpr quint16 kCellFormat = kStyleFormats;

// Appends little-endian values and records to the stream.
class CStreamWriter
{
public:
    explicit CStreamWriter(QByteArray& out)
        : m_out(out)
    {
    }

    qsizetype Position() const { return m_out.size(); }

    void U8(quint8 value) { m_out.append(char(value)); }
    void U16(quint16 value)
    {
        char bytes[2];
        qToLittleEndian(value, bytes);
        m_out.append(bytes, 2);
    }
    void U32(quint32 value)
    {
        char bytes[4];
        qToLittleEndian(value, bytes);
        m_out.append(bytes, 4);
    }
    void PatchU16(qsizetype at, quint16 value) { qToLittleEndian(value, m_out.data() + at); }
    void PatchU32(qsizetype at, quint32 value) { qToLittleEndian(value, m_out.data() + at); }

    // Starts a record; its size is filled in by EndRecord.
    qsizetype BeginRecord(quint16 type)
    {
        const qsizetype start = Position();
        U16(type);
        U16(0);
        return start;
    }
    void EndRecord(qsizetype start) { PatchU16(start + 2, quint16(Position() - start - 4)); }

    // Characters of a string: one byte each when compressed, two otherwise.
    void Characters(QStringView text, bool compressed)
    {
        if (compressed) {
            for (const QChar c : text)
                m_out.append(char(c.unicode()));
        } else {
            const qsizetype start = m_out.size();
            m_out.resize(start + text.size() * 2);
            qToLittleEndian<quint16>(text.utf16(), text.size(), m_out.data() + start);
        }
    }

private:
    QByteArray& m_out;
};

// Text whose characters all lie below U+0100 is stored one byte per character.
bool IsCompressible(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x100; });
}

void WriteBof(CStreamWriter& out, quint16 substream)
{
    const qsizetype record = out.BeginRecord(kBof);
    out.U16(kBiff8);
    out.U16(substream);
    out.U16(0x0DBB); // build
    out.U16(0x07CC); // year
    out.U32(0);      // file history
    out.U32(0x0006); // lowest version that can read the file
    out.EndRecord(record);
}

void WriteSimple(CStreamWriter& out, quint16 type, std::initializer_list<quint16> values)
{
    const qsizetype record = out.BeginRecord(type);
    for (const quint16 value : values)
        out.U16(value);
    out.EndRecord(record);
}

void WriteFont(CStreamWriter& out)
{
    const qsizetype record = out.BeginRecord(kFont);
    out.U16(200);    // height in twips: 10 points
    out.U16(0);      // no attributes
    out.U16(0x7FFF); // automatic colour
    out.U16(400);    // normal weight
    out.U16(0);      // no escapement
    out.U8(0);       // no underline
    out.U8(0);       // family
    out.U8(0);       // character set
    out.U8(0);
    const QString name = QStringLiteral("Arial");
    out.U8(quint8(name.size()));
    out.U8(0); // compressed characters
    out.Characters(name, true);
    out.EndRecord(record);
}

void WriteXf(CStreamWriter& out, bool style)
{
    const qsizetype record = out.BeginRecord(kXf);
    out.U16(0);                       // font
    out.U16(0);                       // number format: General
    out.U16(style ? 0xFFF5 : 0x0001); // locked; style formats have no parent, cells have style 0
    out.U8(0x20);                     // general alignment, bottom
    out.U8(0);                        // no rotation
    out.U8(0);                        // no indent
    out.U8(style ? 0xF4 : 0xF8);      // attributes in use
    out.U32(0);                       // no borders
    out.U32(0);
    out.U16(0x20C0); // pattern colours: automatic
    out.EndRecord(record);
}

// The shared string table, with its index for quick lookups (EXTSST): every dsst-th string's
// stream position and its offset within the SST or CONTINUE record that holds its start.
void WriteSharedStrings(CStreamWriter& out, const std::vector<QString>& strings, quint32 references)
{
    const quint32 unique = quint32(strings.size());
    const quint32 perBucket = std::max<quint32>(8, (unique + 127) / 128);
    std::vector<std::pair<quint32, quint16>> buckets;

    qsizetype record = out.BeginRecord(kSst);
    out.U32(references);
    out.U32(unique);
    auto used = [&] { return int(out.Position() - record - 4); };
    auto startContinue = [&] {
        out.EndRecord(record);
        record = out.BeginRecord(kContinue);
    };

    for (quint32 i = 0; i < unique; ++i) {
        const QString& text = strings[i];
        const bool compressed = IsCompressible(text);
        const int unitBytes = compressed ? 1 : 2;
        // A string that does not fit in the rest of the record starts a new one, so that only texts longer
        // than a record are split, and those over as few records as possible (some readers take no text that
        // spans three). Its header and first character never part in any case.
        const qsizetype bytes = 3 + text.size() * unitBytes;
        if (used() + bytes > CBiffWorkbookStream::kMaxRecordData && used() > 8)
            startContinue();
        if (i % perBucket == 0)
            buckets.emplace_back(quint32(out.Position()), quint16(out.Position() - record));
        out.U16(quint16(text.size()));
        out.U8(compressed ? 0 : 1);
        QStringView rest = text;
        for (;;) {
            const int fit = (CBiffWorkbookStream::kMaxRecordData - used()) / unitBytes;
            const qsizetype count = std::min<qsizetype>(fit, rest.size());
            out.Characters(rest.left(count), compressed);
            rest = rest.mid(count);
            if (rest.isEmpty())
                break;
            // The characters go on in a CONTINUE record that starts with their encoding flag.
            startContinue();
            out.U8(compressed ? 0 : 1);
        }
    }
    out.EndRecord(record);

    const qsizetype extSst = out.BeginRecord(kExtSst);
    out.U16(quint16(perBucket));
    for (const auto& [position, offset] : buckets) {
        out.U32(position);
        out.U16(offset);
        out.U16(0);
    }
    out.EndRecord(extSst);
}

} // namespace

CBiffWorkbookStream::CBiffWorkbookStream(const QString& sheetName)
    : m_sheetName(sheetName.left(31))
{
}

bool CBiffWorkbookStream::AddText(int row, int column, QStringView text)
{
    if (row < 0 || row >= kMaxRows || column < 0 || column >= kMaxColumns)
        return false;
    const QString key = text.toString();
    auto found = m_stringIndex.constFind(key);
    quint32 index = 0;
    if (found != m_stringIndex.constEnd()) {
        index = found.value();
    } else {
        index = quint32(m_strings.size());
        m_strings.push_back(key);
        m_stringIndex.insert(key, index);
    }
    m_cells.push_back(SCell{quint16(row), quint16(column), index});
    return true;
}

QByteArray CBiffWorkbookStream::Build() const
{
    QByteArray stream;
    stream.reserve(qsizetype(m_cells.size()) * 14 + qsizetype(m_strings.size()) * 16 + 4096);
    CStreamWriter out(stream);

    // Workbook globals.
    WriteBof(out, kGlobalsSubstream);
    WriteSimple(out, kInterfaceHdr, {kUtf16CodePage});
    WriteSimple(out, kMms, {0});
    WriteSimple(out, kInterfaceEnd, {});
    WriteSimple(out, kCodePage, {kUtf16CodePage});
    WriteSimple(out, kDsf, {0});
    // Window position and size in twips, flags, active sheet 0, first tab 0, 1 tab selected, tab ratio.
    WriteSimple(out, kWindow1, {0x01E0, 0x005A, 0x3FCF, 0x2A4E, 0x0038, 0, 0, 1, 0x0258});
    WriteSimple(out, kDateMode, {0});
    WriteSimple(out, kPrecision, {1});
    // Five fonts, for the indexes 0 to 3 and 5 (index 4 is never used).
    for (int i = 0; i < 5; ++i)
        WriteFont(out);
    for (int i = 0; i < kStyleFormats; ++i)
        WriteXf(out, true);
    WriteXf(out, false);
    const qsizetype style = out.BeginRecord(kStyle);
    out.U16(0x8000); // built-in style on format 0
    out.U8(0);       // Normal
    out.U8(0xFF);
    out.EndRecord(style);

    const qsizetype boundSheet = out.BeginRecord(kBoundSheet);
    const qsizetype sheetOffsetAt = out.Position();
    out.U32(0); // the sheet's stream position, filled in below
    out.U16(0); // visible worksheet
    const bool compressedName = IsCompressible(m_sheetName);
    out.U8(quint8(m_sheetName.size()));
    out.U8(compressedName ? 0 : 1);
    out.Characters(m_sheetName, compressedName);
    out.EndRecord(boundSheet);

    WriteSharedStrings(out, m_strings, quint32(m_cells.size()));
    WriteSimple(out, kEof, {});

    // The sheet.
    out.PatchU32(sheetOffsetAt, quint32(out.Position()));
    WriteBof(out, kSheetSubstream);
    quint32 firstRow = 0, endRow = 0;
    quint16 firstColumn = 0, endColumn = 0;
    if (!m_cells.empty()) {
        firstRow = firstColumn = 0xFFFF;
        for (const SCell& cell : m_cells) {
            firstRow = std::min<quint32>(firstRow, cell.row);
            endRow = std::max<quint32>(endRow, quint32(cell.row) + 1);
            firstColumn = std::min(firstColumn, cell.column);
            endColumn = std::max<quint16>(endColumn, quint16(cell.column + 1));
        }
    }
    const qsizetype dimensions = out.BeginRecord(kDimensions);
    out.U32(firstRow);
    out.U32(endRow);
    out.U16(firstColumn);
    out.U16(endColumn);
    out.U16(0);
    out.EndRecord(dimensions);
    for (const SCell& cell : m_cells) {
        out.U16(kLabelSst);
        out.U16(10);
        out.U16(cell.row);
        out.U16(cell.column);
        out.U16(kCellFormat);
        out.U32(cell.string);
    }
    // Grid lines, headers, zero values, outline symbols, default grid colour; the selected, active sheet.
    const qsizetype window2 = out.BeginRecord(kWindow2);
    out.U16(0x06B6);
    out.U16(0);    // top row
    out.U16(0);    // left column
    out.U32(0x40); // grid line colour index
    out.U16(0);    // page break preview zoom: default
    out.U16(0);    // normal zoom: default
    out.U32(0);
    out.EndRecord(window2);
    WriteSimple(out, kEof, {});
    return stream;
}
