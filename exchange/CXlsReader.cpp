#include "exchange/CXlsReader.h"

#include "app/StringTable.h"
#include "exchange/GsfLibrary.h"

#include <QFile>
#include <QFileInfo>

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-utils.h>

#include <algorithm>
#include <cstring>

namespace {

enum ERecordType : quint16
{
    kFormula = 0x0006,
    kEof = 0x000A,
    kContinue = 0x003C,
    kBoundSheet = 0x0085,
    kMulRk = 0x00BD,
    kRString = 0x00D6,
    kSst = 0x00FC,
    kLabelSst = 0x00FD,
    kDimensions = 0x0200,
    kNumber = 0x0203,
    kLabel = 0x0204,
    kBoolErr = 0x0205,
    kString = 0x0207,
    kRk = 0x027E,
    kBof = 0x0809,
};

constexpr quint16 kBiff8 = 0x0600;
constexpr quint16 kWorksheetSubstream = 0x0010;
constexpr quint32 kMaxSheetRows = 65536;
constexpr quint32 kMaxSheetColumns = 256;
constexpr qint64 kReadChunk = 1 << 20;
constexpr qsizetype kShortestCellRecord = 14;

quint16 U16(QByteArrayView data, qsizetype at)
{
    return quint16(quint8(data[at]) | (quint16(quint8(data[at + 1])) << 8));
}

quint32 U32(QByteArrayView data, qsizetype at)
{
    return quint32(U16(data, at)) | (quint32(U16(data, at + 2)) << 16);
}

double F64(QByteArrayView data, qsizetype at)
{
    const quint64 bits = quint64(U32(data, at)) | (quint64(U32(data, at + 4)) << 32);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// An RK number: a 30-bit integer or the high 30 bits of a double, either of them possibly divided by 100.
double DecodeRk(quint32 rk)
{
    double value = 0;
    if (rk & 2) {
        value = double(qint32(rk) >> 2);
    } else {
        const quint64 bits = quint64(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 1) ? value / 100 : value;
}

// A string with a 16-bit character count and a flags byte (bit 0: two bytes a character); false when
// it runs past the data.
bool ReadUnicodeString(QByteArrayView data, qsizetype at, QString& text)
{
    if (at + 3 > data.size())
        return false;
    const quint16 count = U16(data, at);
    const bool wide = (quint8(data[at + 2]) & 1) != 0;
    at += 3;
    if (at + qsizetype(count) * (wide ? 2 : 1) > data.size())
        return false;
    if (!wide) {
        text = QString::fromLatin1(data.data() + at, count);
        return true;
    }
    text.resize(count);
    for (int i = 0; i < count; ++i)
        text[i] = QChar(U16(data, at + 2 * qsizetype(i)));
    return true;
}

// Half of a surrogate pair is no character: in text from position `from` on, it reads as '?', as it does
// in the texts that reach the cells as UTF-8.
void ReplaceLoneSurrogates(std::u16string& text, size_t from)
{
    for (size_t i = from; i < text.size(); ++i) {
        const QChar c(text[i]);
        if (c.isHighSurrogate() && i + 1 < text.size() && QChar(text[i + 1]).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            text[i] = u'?';
    }
}

// Reads across a record and the CONTINUE records after it as one run of bytes, except in the
// characters of a string: where those go on in the next record, it starts with a new flags byte.
class CSegmentReader
{
public:
    explicit CSegmentReader(const std::vector<QByteArrayView>& segments)
        : m_segments(segments)
    {
    }

    bool AtEnd() { return !SkipEmptyEnd(); }

    bool Byte(quint8& value)
    {
        if (!SkipEmptyEnd())
            return false;
        value = quint8(m_segments[m_index][m_position++]);
        return true;
    }

    bool U16(quint16& value)
    {
        quint8 low = 0;
        quint8 high = 0;
        if (!Byte(low) || !Byte(high))
            return false;
        value = quint16(low | (high << 8));
        return true;
    }

    bool U32(quint32& value)
    {
        quint16 low = 0;
        quint16 high = 0;
        if (!U16(low) || !U16(high))
            return false;
        value = quint32(low) | (quint32(high) << 16);
        return true;
    }

    bool Skip(quint64 count)
    {
        while (count > 0) {
            if (!SkipEmptyEnd())
                return false;
            const quint64 take = std::min<quint64>(count, quint64(Left()));
            m_position += qsizetype(take);
            count -= take;
        }
        return true;
    }

    bool Characters(quint32 count, bool wide, std::u16string& out)
    {
        while (count > 0) {
            if (Left() == 0) {
                if (!Next() || Left() == 0)
                    return false;
                wide = (quint8(m_segments[m_index][m_position++]) & 1) != 0;
            }
            const qsizetype unit = wide ? 2 : 1;
            const qsizetype fit = Left() / unit;
            if (fit == 0)
                return false; // half a character at the end of a record
            const quint32 take = std::min<quint32>(count, quint32(std::min<qsizetype>(fit, 0x7FFFFFFF)));
            const QByteArrayView segment = m_segments[m_index];
            for (quint32 i = 0; i < take; ++i) {
                const qsizetype at = m_position + qsizetype(i) * unit;
                out.push_back(wide ? char16_t(::U16(segment, at)) : char16_t(quint8(segment[at])));
            }
            m_position += qsizetype(take) * unit;
            count -= take;
        }
        return true;
    }

private:
    qsizetype Left() const { return m_segments[m_index].size() - m_position; }

    bool Next()
    {
        if (m_index + 1 >= m_segments.size())
            return false;
        ++m_index;
        m_position = 0;
        return true;
    }

    // Moves past exhausted segments; false when nothing is left.
    bool SkipEmptyEnd()
    {
        while (Left() == 0) {
            if (!Next())
                return false;
        }
        return true;
    }

    const std::vector<QByteArrayView>& m_segments;
    size_t m_index = 0;
    qsizetype m_position = 0;
};

// Releases a GObject with the scope.
template <typename T>
class CGObject
{
public:
    explicit CGObject(T* object)
        : m_object(object)
    {
    }
    ~CGObject()
    {
        if (m_object)
            g_object_unref(m_object);
    }
    CGObject(const CGObject&) = delete;
    CGObject& operator=(const CGObject&) = delete;
    T* Get() const { return m_object; }

private:
    T* m_object;
};

QString TakeErrorText(GError*& error)
{
    QString text = error && error->message ? QString::fromUtf8(error->message) : QString();
    if (error)
        g_error_free(error);
    error = nullptr;
    return text;
}

} // namespace

struct CXlsReader::SRecord
{
    quint16 type = 0;
    QByteArrayView data;
};

// The records of a stream from a position on; a record that runs past the end stops the walk.
class CXlsReader::CRecordWalker
{
public:
    CRecordWalker(QByteArrayView stream, qsizetype position)
        : m_stream(stream)
        , m_position(position)
    {
    }

    bool Next(SRecord& record)
    {
        if (m_position + 4 > m_stream.size()) {
            m_truncated = m_position < m_stream.size();
            return false;
        }
        const quint16 size = U16(m_stream, m_position + 2);
        if (m_position + 4 + size > m_stream.size()) {
            m_truncated = true;
            return false;
        }
        record.type = U16(m_stream, m_position);
        record.data = m_stream.sliced(m_position + 4, size);
        m_position += 4 + size;
        return true;
    }

    int PeekType() const { return m_position + 4 <= m_stream.size() ? U16(m_stream, m_position) : -1; }
    bool Truncated() const { return m_truncated; }

private:
    QByteArrayView m_stream;
    qsizetype m_position;
    bool m_truncated = false;
};

CXlsReader::CXlsReader(const SImportLimits& limits)
    : m_limits(limits)
{
    m_cells.SetColumnLimit(limits.maxColumns);
}

bool CXlsReader::Fail(const QString& reason)
{
    m_error = reason;
    m_cells.Clear();
    m_sharedText.clear();
    m_sharedStart.clear();
    return false;
}

bool CXlsReader::Load(const QString& path)
{
    m_cells.Clear();
    m_error.clear();
    const QFileInfo info(path);
    if (!info.isFile())
        return Fail(MessageString(StringId::XlsUnreadable));
    StartGsf();

    GError* error = nullptr;
    const CGObject<GsfInput> file(gsf_input_stdio_new(QFile::encodeName(path).constData(), &error));
    if (!file.Get())
        return Fail(MessageString(StringId::XlsUnreadableBecause).arg(TakeErrorText(error)));
    const CGObject<GsfInfile> compound(gsf_infile_msole_new(file.Get(), &error));
    if (!compound.Get()) {
        TakeErrorText(error);
        return Fail(MessageString(StringId::XlsNotAWorkbook));
    }
    const CGObject<GsfInput> stream(gsf_infile_child_by_name(compound.Get(), "Workbook"));
    if (!stream.Get()) {
        const CGObject<GsfInput> older(gsf_infile_child_by_name(compound.Get(), "Book"));
        return Fail(older.Get() ? MessageString(StringId::XlsBeforeExcel97) : MessageString(StringId::XlsNoWorkbook));
    }
    // A stream lies in the file's sectors, so a larger one is a damaged directory.
    const gsf_off_t size = gsf_input_size(stream.Get());
    if (size < 0 || size > info.size())
        return Fail(MessageString(StringId::XlsStreamClaims).arg(size));
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    for (qint64 done = 0; done < size;) {
        const qint64 chunk = std::min<qint64>(kReadChunk, size - done);
        if (!gsf_input_read(stream.Get(), size_t(chunk), reinterpret_cast<guint8*>(bytes.data() + done)))
            return Fail(MessageString(StringId::XlsStreamUnreadable));
        done += chunk;
    }
    return ReadWorkbookStream(bytes);
}

bool CXlsReader::ReadWorkbookStream(QByteArrayView stream)
{
    m_cells.Clear();
    m_sharedText.clear();
    m_sharedStart.assign(1, 0);
    m_error.clear();
    quint32 firstSheet = 0;
    // A text cell takes 14 bytes of the stream, the shortest cell record: room that is never used costs no
    // memory pages.
    m_cells.Reserve(size_t(stream.size()) / kShortestCellRecord, 0);
    if (!ReadGlobals(stream, firstSheet) || !ReadSheet(stream, firstSheet))
        return false;
    // The cells hand out the shared strings by their indexes.
    m_cells.SetSharedUtf16Strings(std::move(m_sharedText), std::move(m_sharedStart));
    m_sharedText = std::u16string();
    m_sharedStart = std::vector<quint32>();
    m_cells.Finish();
    return true;
}

bool CXlsReader::ReadGlobals(QByteArrayView stream, quint32& firstSheet)
{
    CRecordWalker walker(stream, 0);
    SRecord record;
    if (!walker.Next(record) || record.type != kBof || record.data.size() < 4)
        return Fail(MessageString(StringId::XlsNotAWorkbook));
    if (U16(record.data, 0) != kBiff8)
        return Fail(MessageString(StringId::XlsBeforeExcel97));
    bool hasSheet = false;
    bool hasStrings = false;
    while (walker.Next(record) && record.type != kEof) {
        if (record.type == kBoundSheet && !hasSheet && record.data.size() >= 4) {
            firstSheet = U32(record.data, 0);
            hasSheet = true;
        } else if (record.type == kSst && !hasStrings) {
            std::vector<QByteArrayView> segments{record.data};
            while (walker.PeekType() == kContinue && walker.Next(record))
                segments.push_back(record.data);
            if (!ReadSharedStrings(segments))
                return false;
            hasStrings = true;
        }
    }
    if (walker.Truncated())
        return Fail(MessageString(StringId::XlsRecordPastEnd));
    if (!hasSheet)
        return Fail(MessageString(StringId::WorkbookNoSheet));
    return true;
}

bool CXlsReader::ReadSharedStrings(const std::vector<QByteArrayView>& segments)
{
    CSegmentReader in(segments);
    quint32 total = 0;
    quint32 unique = 0;
    if (!in.U32(total) || !in.U32(unique))
        return Fail(MessageString(StringId::XlsSharedStringsCut));
    // The count is what the table claims; the strings that are really there are read.
    for (quint32 i = 0; i < unique && !in.AtEnd(); ++i) {
        quint16 count = 0;
        quint8 flags = 0;
        quint16 runs = 0;
        quint32 extension = 0;
        if (!in.U16(count) || !in.Byte(flags) || ((flags & 8) && !in.U16(runs)) ||
            ((flags & 4) && !in.U32(extension)) || !in.Characters(count, (flags & 1) != 0, m_sharedText) ||
            !in.Skip(quint64(runs) * 4 + extension))
            return Fail(MessageString(StringId::XlsSharedStringCut).arg(i + 1));
        ReplaceLoneSurrogates(m_sharedText, m_sharedStart.back());
        m_sharedStart.push_back(quint32(m_sharedText.size()));
    }
    return true;
}

bool CXlsReader::ReadSheet(QByteArrayView stream, quint32 position)
{
    CRecordWalker walker(stream, qsizetype(position));
    SRecord record;
    // A worksheet's substream starts with a BOF record of its own kind; the globals' BOF is another.
    if (position >= quint32(stream.size()) || !walker.Next(record) || record.type != kBof || record.data.size() < 4 ||
        U16(record.data, 2) != kWorksheetSubstream)
        return Fail(MessageString(StringId::XlsSheetMisplaced));
    const auto setText = [this](int row, int column, QStringView text) {
        const QByteArray utf8 = text.toUtf8();
        m_cells.SetText(row, column, std::string_view(utf8.constData(), size_t(utf8.size())));
    };
    int depth = 1;
    int stringRow = -1; // a formula whose text result follows in a STRING record
    int stringColumn = -1;
    while (walker.Next(record)) {
        if (record.type == kBof) {
            ++depth; // a chart or another substream inside the sheet's
            continue;
        }
        if (record.type == kEof) {
            if (--depth == 0)
                break;
            continue;
        }
        if (depth != 1)
            continue;
        const QByteArrayView data = record.data;
        const int row = data.size() >= 4 ? U16(data, 0) : 0;
        const int column = data.size() >= 4 ? U16(data, 2) : 0;
        switch (record.type) {
        case kDimensions:
            if (data.size() >= 12) {
                const quint32 rows = U32(data, 4);
                const quint32 columns = U16(data, 10);
                if (rows > kMaxSheetRows || columns > kMaxSheetColumns)
                    return Fail(MessageString(StringId::XlsSheetClaims).arg(rows).arg(columns));
                m_cells.WidenRowsTo(int(rows));
                m_cells.WidenTo(int(columns));
            }
            break;
        case kNumber:
            if (data.size() >= 14)
                m_cells.SetNumber(row, column, F64(data, 6));
            break;
        case kRk:
            if (data.size() >= 10)
                m_cells.SetNumber(row, column, DecodeRk(U32(data, 6)));
            break;
        case kMulRk:
            if (data.size() >= 6 && (data.size() - 6) % 6 == 0) {
                const qsizetype count = (data.size() - 6) / 6;
                for (qsizetype i = 0; i < count; ++i)
                    m_cells.SetNumber(row, column + int(i), DecodeRk(U32(data, 4 + 6 * i + 2)));
            }
            break;
        case kLabel:
        case kRString: {
            QString text;
            if (data.size() >= 6 && !ReadUnicodeString(data, 6, text))
                return Fail(MessageString(StringId::XlsCellTextPastRecord).arg(row + 1).arg(column + 1));
            if (data.size() >= 6)
                setText(row, column, text);
            break;
        }
        case kLabelSst:
            if (data.size() >= 10) {
                const quint32 index = U32(data, 6);
                if (quint64(index) + 1 < m_sharedStart.size()) {
                    m_cells.SetSharedUtf16Text(row, column, index);
                } else {
                    m_cells.SetEmpty(row, column); // no such shared string
                }
            }
            break;
        case kBoolErr:
            if (data.size() >= 8) {
                if (data[7] != 0)
                    m_cells.SetEmpty(row, column); // an error value
                else
                    m_cells.SetNumber(row, column, data[6] != 0 ? 1 : 0);
            }
            break;
        case kFormula:
            if (data.size() >= 14) {
                if (U16(data, 12) != 0xFFFF) {
                    m_cells.SetNumber(row, column, F64(data, 6));
                } else if (data[6] == 0) {
                    stringRow = row;
                    stringColumn = column;
                } else if (data[6] == 1) {
                    m_cells.SetNumber(row, column, data[8] != 0 ? 1 : 0);
                } else {
                    m_cells.SetEmpty(row, column); // an error or an empty text
                }
            }
            break;
        case kString:
            if (stringRow >= 0) {
                QString text;
                if (ReadUnicodeString(data, 0, text))
                    setText(stringRow, stringColumn, text);
                else
                    m_cells.SetEmpty(stringRow, stringColumn);
                stringRow = -1;
            }
            break;
        default: break;
        }
    }
    if (walker.Truncated())
        return Fail(MessageString(StringId::XlsRecordPastEnd));
    return true;
}
