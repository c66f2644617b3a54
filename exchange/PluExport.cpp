#include "exchange/PluExport.h"

#include "app/StringTable.h"
#include "app/SystemErrorText.h"
#include "exchange/PluFileLayout.h"
#include "exchange/PluImport.h"
#include "plu/CPluTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kXlsSignature = QByteArrayLiteral("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
const QByteArray kXlsxSignature = QByteArrayLiteral("PK\x03\x04");

QString SystemReason()
{
    return SystemErrorText(errno);
}

// Checks that the written file is complete as far as the file system goes: it starts as its format
// does, and its bytes have reached the disk.
bool VerifyWrittenFile(const QString& path, EWorkbookFormat format, QString& reason)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
        return false;
    }
    const QByteArray& signature = format == EWorkbookFormat::Xls ? kXlsSignature : kXlsxSignature;
    if (file.read(signature.size()) != signature) {
        reason = MessageString(StringId::ExportIncomplete);
        return false;
    }
    if (::fsync(file.handle()) != 0) {
        reason = SystemReason();
        return false;
    }
    return true;
}

// The permissions a new file gets (0666 less the umask), or those of the file it replaces.
void SetFinalPermissions(const QString& temporaryPath, const QString& targetPath)
{
    struct stat existing;
    mode_t mode = 0;
    if (::stat(QFile::encodeName(targetPath).constData(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::chmod(QFile::encodeName(temporaryPath).constData(), mode);
}

bool WriteWorkbook(const CPluTable& table, const QString& path, EWorkbookFormat format, QString& reason)
{
    const std::unique_ptr<IWorkbookWriter> writer = CreateWorkbookWriter(format, path);
    if (!writer) {
        reason = MessageString(StringId::ExportTypeUnwritable);
        return false;
    }
    bool ok = writer->AddSheet(QStringLiteral("Sheet1"));
    CExportedRows exported(table);
    const std::vector<QStringView>& header = exported.Header();
    for (std::size_t i = 0; ok && i < header.size(); ++i)
        ok = writer->WriteText(0, int(i), header[i]);
    const int rows = table.RowCount();
    for (int row = 0; ok && row < rows; ++row) {
        const std::vector<QStringView>& texts = exported.Row(row);
        for (std::size_t i = 0; ok && i < texts.size(); ++i)
            ok = writer->WriteText(row + 1, int(i), texts[i]);
    }
    if (ok)
        ok = writer->Save();
    if (!ok)
        reason = writer->ErrorString();
    return ok;
}

} // namespace

SExportTarget ExportTargetFor(const QString& chosenPath)
{
    SExportTarget target;
    if (AsciiUpperEnding(chosenPath, 5) == QLatin1String(".XLSX")) {
        target.path = chosenPath;
        target.format = EWorkbookFormat::Xlsx;
        return target;
    }
    target.path = chosenPath;
    if (AsciiUpperEnding(chosenPath, 4) != QLatin1String(".XLS"))
        target.path += QLatin1String(".xls");
    target.format = EWorkbookFormat::Xls;
    return target;
}

CExportedRows::CExportedRows(const CPluTable& table)
    : m_table(table)
    , m_columns(PluLayout::ExportedColumns(table.PluMode(), table.LimitMode()))
{
    const std::vector<SPluField>& fields = table.Columns();
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        const int column = m_columns[i];
        if (fields[std::size_t(column)].kind == EFieldKind::Check)
            m_checkAt = int(i);
        m_titles.append(PluFileLayout::HeaderTitle(table.ColumnTitle(column)));
    }
    for (const QString& title : std::as_const(m_titles))
        m_header.emplace_back(title);
    m_texts.resize(m_columns.size());
}

const std::vector<QStringView>& CExportedRows::Row(int row)
{
    Row(row, m_texts);
    return m_texts;
}

void CExportedRows::Row(int row, std::vector<QStringView>& texts) const
{
    texts.resize(m_columns.size());
    bool empty = true;
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        if (int(i) == m_checkAt) {
            texts[i] = PluFileLayout::CheckFileText(m_table.StoredText(row, m_columns[i]));
            if (texts[i] != u"0")
                empty = false;
        } else {
            texts[i] = m_table.StoredText(row, m_columns[i]);
            empty = empty && texts[i].isEmpty();
        }
    }
    // A row the user left empty (the entry row) writes no cell: a "0" alone would come back from the
    // file as a row of its own.
    if (empty && m_checkAt >= 0)
        texts[std::size_t(m_checkAt)] = QStringView();
}

SExportResult ExportTable(const CPluTable& table, const SExportTarget& target)
{
    SExportResult result;
    auto fail = [&](const QString& reason) {
        result.error = MessageString(StringId::ExportCannotWrite).arg(target.path, reason);
        return result;
    };

    const int sheetRows = table.RowCount() + 1;
    const int maxRows = MaxSheetRows(target.format);
    if (sheetRows > maxRows) {
        if (target.format == EWorkbookFormat::Xls)
            return fail(MessageString(StringId::ExportTooManyRowsXls)
                            .arg(MessageNumber(table.RowCount()), MessageNumber(maxRows)));
        return fail(
            MessageString(StringId::ExportTooManyRows).arg(MessageNumber(table.RowCount()), MessageNumber(maxRows)));
    }

    const QFileInfo targetInfo(target.path);
    if (targetInfo.isDir())
        return fail(MessageString(StringId::ExportFolderHasName));
    const QDir folder = targetInfo.absoluteDir();
    if (!folder.exists())
        return fail(MessageString(StringId::ExportNoFolder).arg(folder.path()));

    // The temporary file reserves a unique name beside the target; the writer then replaces it.
    QTemporaryFile temporary(folder.filePath(QStringLiteral(".%1.XXXXXX").arg(targetInfo.fileName())));
    if (!temporary.open())
        return fail(temporary.errorString());
    const QString temporaryPath = temporary.fileName();
    temporary.close();

    QString reason;
    if (!WriteWorkbook(table, temporaryPath, target.format, reason))
        return fail(reason);
    if (!VerifyWrittenFile(temporaryPath, target.format, reason))
        return fail(reason);
    SetFinalPermissions(temporaryPath, target.path);
    if (std::rename(QFile::encodeName(temporaryPath).constData(), QFile::encodeName(target.path).constData()) != 0)
        return fail(SystemReason());
    temporary.setAutoRemove(false);
    result.ok = true;
    return result;
}
