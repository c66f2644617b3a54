#include "exchange/CXlsWriter.h"

#include "app/StringTable.h"
#include "exchange/GsfLibrary.h"

#include <QFile>

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

namespace {

QString GErrorText(const GError* error)
{
    return error && error->message ? QString::fromUtf8(error->message) : MessageString(StringId::UnknownError);
}

} // namespace

CXlsWriter::CXlsWriter(const QString& path)
    : m_path(path)
{
}

bool CXlsWriter::AddSheet(const QString& name)
{
    if (m_stream) {
        m_error = MessageString(StringId::WriterOneXlsSheet);
        return false;
    }
    m_stream = std::make_unique<CBiffWorkbookStream>(name);
    return true;
}

bool CXlsWriter::WriteCellText(int row, int column, QStringView text)
{
    if (!m_stream->AddText(row, column, text)) {
        m_error = MessageString(StringId::WriterOutsideXlsSheet)
                      .arg(row + 1)
                      .arg(column + 1)
                      .arg(CBiffWorkbookStream::kMaxRows)
                      .arg(CBiffWorkbookStream::kMaxColumns);
        return false;
    }
    return true;
}

bool CXlsWriter::Save()
{
    if (!m_stream)
        return false;
    return WriteCompoundFile(m_path, m_stream->Build(), &m_error);
}

bool CXlsWriter::WriteCompoundFile(const QString& path, const QByteArray& workbook, QString* error)
{
    StartGsf();

    GError* openError = nullptr;
    GsfOutput* file = gsf_output_stdio_new(QFile::encodeName(path).constData(), &openError);
    if (!file) {
        if (error)
            *error = GErrorText(openError);
        if (openError)
            g_error_free(openError);
        return false;
    }
    GsfOutfile* compound = gsf_outfile_msole_new(file);
    g_object_unref(file);
    GsfOutput* compoundOutput = reinterpret_cast<GsfOutput*>(compound);
    GsfOutput* stream = gsf_outfile_new_child(compound, "Workbook", FALSE);
    bool ok = stream != nullptr;
    if (ok) {
        ok = gsf_output_write(stream, size_t(workbook.size()), reinterpret_cast<const guint8*>(workbook.constData()));
        if (!ok && error)
            *error = GErrorText(gsf_output_error(stream));
        const bool closed = gsf_output_close(stream);
        if (ok && !closed && error)
            *error = GErrorText(gsf_output_error(stream));
        ok = ok && closed;
        g_object_unref(stream);
    } else if (error) {
        *error = MessageString(StringId::WriterStreamNotCreated);
    }
    const bool closed = gsf_output_close(compoundOutput);
    if (ok && !closed && error)
        *error = GErrorText(gsf_output_error(compoundOutput));
    ok = ok && closed;
    g_object_unref(compound);
    return ok;
}
