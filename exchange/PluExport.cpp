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
    const QVector<QString> header = ExportedHeaderTexts(table);
    for (int i = 0; ok && i < header.size(); ++i)
        ok = writer->WriteText(0, i, header[i]);
    const int rows = table.RowCount();
    for (int row = 0; ok && row < rows; ++row) {
        const QVector<QString> texts = ExportedRowTexts(table, row);
        for (int i = 0; ok && i < texts.size(); ++i)
            ok = writer->WriteText(row + 1, i, texts[i]);
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

QVector<QString> ExportedRowTexts(const CPluTable& table, int row)
{
    const std::vector<SPluField>& fields = table.Columns();
    QVector<QString> texts;
    texts.reserve(int(fields.size()));
    bool empty = true;
    int uncheckedAt = -1;
    for (int column : PluLayout::ExportedColumns(table.PluMode(), table.LimitMode())) {
        QString text = table.CellText(row, column);
        if (fields[std::size_t(column)].kind == EFieldKind::Check) {
            text = PluFileLayout::CheckFileText(text);
            if (text == QLatin1String("0"))
                uncheckedAt = int(texts.size());
            else
                empty = false;
        } else if (!text.isEmpty()) {
            empty = false;
        }
        texts.append(text);
    }
    // A row the user left empty (the entry row) writes no cell: a "0" alone would come back from the
    // file as a row of its own.
    if (empty && uncheckedAt >= 0)
        texts[uncheckedAt].clear();
    return texts;
}

QVector<QString> ExportedHeaderTexts(const CPluTable& table)
{
    QVector<QString> titles;
    for (int column : PluLayout::ExportedColumns(table.PluMode(), table.LimitMode()))
        titles.append(PluFileLayout::HeaderTitle(table.ColumnTitle(column)));
    return titles;
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
