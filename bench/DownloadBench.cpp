// Downloads 1,008 pricing rows to the simulated scale paced like a real line, and compares the
// time taken with the line's own limit: every record and every answer at 10 bits per byte.
// Usage: download_bench [baud ...]   (default: 9600 115200)

#include "app/CSettings.h"
#include "app/IPrompt.h"
#include "app/Language.h"
#include "grid/CGridModel.h"
#include "plu/CPluTable.h"
#include "plu/PluLayout.h"
#include "tools/CScaleLineRig.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {

class CSilentPrompt final : public IPrompt
{
public:
    void Beep(int, int) override {}
    void ShowMessage(const QString&, const QString& text, EIcon) override
    {
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    }
    bool AskOkCancel(const QString&, const QString&, EIcon) override { return true; }
};

constexpr int kRows = 1008;
constexpr int kAnswerBytes = 7; // STX "SP" "OK" CR LF

void FillTable(CGridModel& grid, CPluTable& table)
{
    for (int i = 0; i < kRows; ++i) {
        const int row = grid.RowCount() - 1;
        grid.CommitEdit(row, 1, QString::number(i + 1));
        grid.CommitEdit(row, 2, QStringLiteral("%1.%2").arg(i % 500 + 1).arg(i % 100, 2, 10, QLatin1Char('0')));
        grid.CommitEdit(row, 3, QStringLiteral("G%1").arg(i));
        grid.CommitEdit(row, 4, QStringLiteral("Article %1").arg(i));
    }
    Q_ASSERT(table.Grid().RowCount() == kRows + 1);
}

bool RunOnce(int baud)
{
    QTemporaryDir dir;
    CSettings settings(dir.filePath(QStringLiteral("talvex.conf")));
    settings.WriteInt(ESetting::PluMode, 0);
    CSilentPrompt prompt;
    CGridModel grid;
    CPluTable table(grid, settings, prompt);
    table.EnterStoredMode();
    FillTable(grid, table);

    SScaleOptions options;
    options.pluMode = EPluMode::Pricing;
    options.paceBaud = baud;
    CScaleLineRig rig(table, prompt, options);
    QString error;
    if (!rig.StartScale(&error)) {
        std::fprintf(stderr, "cannot start the simulated scale: %s\n", error.toUtf8().constData());
        return false;
    }
    QElapsedTimer timer;
    timer.start();
    if (rig.Start(baud) != CDownloadSession::EStart::Started)
        return false;
    rig.WaitForEnd(kRows * 3000);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    const int recordBytes = PluLayout::RecordSize(EPluMode::Pricing, ELimitMode::Off);
    const double limit = double(kRows) * (recordBytes + kAnswerBytes) * 10.0 / baud;
    std::printf("%6d baud: %s, %d records in %.2f s; line limit %.2f s; ratio %.3f; the program's turnaround %.3f ms"
                " a record; the scale's own lateness %.3f ms an answer\n",
                baud, rig.label.toUtf8().constData(), rig.scale.RecordsReceived(), seconds, limit, seconds / limit,
                rig.scale.MeanTurnaroundMs(), rig.scale.MeanLatenessMs());
    return rig.scale.RecordsReceived() == kRows;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    Language::SetLanguageInForce(1033);
    QList<int> bauds;
    for (int i = 1; i < argc; ++i)
        bauds << QString::fromLocal8Bit(argv[i]).toInt();
    if (bauds.isEmpty())
        bauds = {9600, 115200};
    bool ok = true;
    for (int baud : bauds)
        ok = RunOnce(baud) && ok;
    return ok ? 0 : 1;
}
