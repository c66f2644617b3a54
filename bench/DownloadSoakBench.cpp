// Many downloads in a row to the simulated scale, each with a fault drawn at random (seeded): noise
// before the answers, answers cut into bytes, slow answers, a refusal, a scale that falls silent, a
// line that vanishes in the middle of a record. Checks that every download ends as the fault calls
// for, and reports the outcomes, the memory (resident and peak) and the open file descriptors and
// threads before the first download and after the last: a leak shows as a difference.
//
// Usage: download_soak_bench [downloads = 100] [rows = 1008] [seed = 1]
// The scale is not paced, so a download of 1,008 rows takes about a second unless a fault makes it
// wait for the time-out.

#include "app/CSettings.h"
#include "app/IPrompt.h"
#include "app/Language.h"
#include "grid/CGridModel.h"
#include "plu/CPluTable.h"
#include "tools/CScaleLineRig.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <random>
#include <string>

namespace {

class CSilentPrompt final : public IPrompt
{
public:
    void Beep(int, int) override {}
    void ShowMessage(const QString&, const QString& text, EIcon) override
    {
        std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
    }
    bool AskOkCancel(const QString&, const QString&, EIcon) override { return true; }
};

enum class EFault
{
    None,
    Noise,
    SplitAnswers,
    SlowAnswers,
    Refusal,
    Silence,
    Vanish,
};

const char* FaultName(EFault fault)
{
    switch (fault) {
    case EFault::None: return "none";
    case EFault::Noise: return "noise before answers";
    case EFault::SplitAnswers: return "answers byte by byte";
    case EFault::SlowAnswers: return "answers after 25 ms";
    case EFault::Refusal: return "refusal";
    case EFault::Silence: return "scale falls silent";
    case EFault::Vanish: return "line vanishes mid-record";
    }
    return "?";
}

struct SProcessFigures
{
    qint64 residentKb = 0;
    qint64 peakKb = 0;
    int descriptors = 0;
    int threads = 0;
};

qint64 StatusKb(const QByteArray& status, const char* key)
{
    const qsizetype at = status.indexOf(key);
    if (at < 0)
        return -1;
    const QByteArray rest = status.mid(at + qsizetype(qstrlen(key)));
    return rest.left(rest.indexOf('\n')).trimmed().split(' ').value(0).toLongLong();
}

SProcessFigures Measure()
{
    QFile status(QStringLiteral("/proc/self/status"));
    SProcessFigures figures;
    if (status.open(QIODevice::ReadOnly)) {
        const QByteArray text = status.readAll();
        figures.residentKb = StatusKb(text, "VmRSS:");
        figures.peakKb = StatusKb(text, "VmHWM:");
    }
    const auto entries = [](const char* folder) {
        return int(
            QDir(QString::fromLatin1(folder)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size());
    };
    figures.descriptors = entries("/proc/self/fd");
    figures.threads = entries("/proc/self/task");
    return figures;
}

void Print(const char* when, const SProcessFigures& f)
{
    std::printf("%-22s resident %7.1f MB, peak %7.1f MB, %3d open descriptors, %2d threads\n", when,
                double(f.residentKb) / 1024, double(f.peakKb) / 1024, f.descriptors, f.threads);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    Language::SetLanguageInForce(1033);
    const int downloads = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100;
    const int rows = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 1008;
    const unsigned seed = argc > 3 ? QString::fromLocal8Bit(argv[3]).toUInt() : 1u;
    if (downloads < 1 || rows < 1) {
        std::fprintf(stderr, "usage: %s [downloads] [rows] [seed]\n", argv[0]);
        return 2;
    }

    QTemporaryDir dir;
    CSettings settings(dir.filePath(QStringLiteral("talvex.conf")));
    settings.WriteInt(ESetting::PluMode, 0);
    CSilentPrompt prompt;
    CGridModel grid;
    CPluTable table(grid, settings, prompt);
    table.EnterStoredMode();
    grid.ClearRows();
    for (int row = 0; row < rows; ++row) {
        grid.InsertRow(row, QString::number(row + 1));
        grid.SetCellText(row, 1, QString::number(row % 1008 + 1));
        grid.SetCellText(row, 2, QStringLiteral("%1.%2").arg(row % 500 + 1).arg(row % 100, 2, 10, QLatin1Char('0')));
        grid.SetCellText(row, 3, QStringLiteral("G%1").arg(row));
        grid.SetCellText(row, 4, QString::fromUtf8("Artikel %1 äöü 苹果").arg(row));
    }
    table.AppendNewRow();

    SScaleOptions scaleOptions;
    scaleOptions.pluMode = EPluMode::Pricing;
    CScaleLineRig rig(table, prompt, scaleOptions);
    CSimulatedScale& scale = rig.scale;
    QString error;
    if (!rig.StartScale(&error)) {
        std::fprintf(stderr, "cannot start the simulated scale: %s\n", error.toUtf8().constData());
        return 1;
    }

    const SProcessFigures before = Measure();
    SProcessFigures afterFirst;
    std::mt19937 random(seed);
    std::discrete_distribution<int> pick({30, 10, 10, 10, 15, 10, 15});
    std::uniform_int_distribution<int> pickRow(1, rows);
    std::map<std::string, std::pair<int, int>> outcomes; // fault -> (as expected, not as expected)
    int unexpected = 0;
    QElapsedTimer total;
    total.start();

    for (int n = 1; n <= downloads; ++n) {
        const auto fault = EFault(pick(random));
        const int faultRow = pickRow(random); // 1-based row of the download that the fault hits
        const int base = scale.RecordsReceived();
        SScaleOptions faults;
        switch (fault) {
        case EFault::None: break;
        case EFault::Noise: faults.garbageBeforeReply = QByteArrayLiteral("\xff\x00 SPNG noise \r\x7f"); break;
        case EFault::SplitAnswers: faults.splitReplyGapMs = 2; break;
        case EFault::SlowAnswers: faults.replyDelayMs = 25; break;
        case EFault::Refusal: faults.refuseRecord = base + faultRow; break;
        case EFault::Silence: faults.silentFrom = base + faultRow; break;
        case EFault::Vanish: faults.disconnectMidRecord = base + faultRow; break;
        }
        scale.SetOptions(faults);
        scale.ForgetReceived();
        QElapsedTimer timer;
        timer.start();
        const CDownloadSession::EStart start = rig.Start();
        if (start == CDownloadSession::EStart::Started)
            rig.WaitForEnd(rows * 3000 + 10000);
        const QString& label = rig.label;
        const int failedRow = rig.failedRow;
        const bool failure = fault == EFault::Refusal || fault == EFault::Silence || fault == EFault::Vanish;
        const bool asExpected =
            start == CDownloadSession::EStart::Started && !rig.port.IsOpen() &&
            (failure ? label == QStringLiteral("Fail!") && failedRow == faultRow - 1
                     : label == QStringLiteral("Success") && int(scale.AcceptedRows().size()) == rows);
        auto& count = outcomes[FaultName(fault)];
        (asExpected ? count.first : count.second) += 1;
        if (!asExpected)
            ++unexpected;
        std::printf("%3d  %-26s row %4d  %-8s failed row %5d  %6.1f s%s\n", n, FaultName(fault), failure ? faultRow : 0,
                    label.toUtf8().constData(), failedRow + 1, double(timer.elapsed()) / 1000,
                    asExpected ? "" : "  NOT AS EXPECTED");
        std::fflush(stdout);
        if (fault == EFault::Vanish) {
            // The adapter is plugged in again: a new line.
            if (!rig.ReplaceScale(SScaleOptions(), &error)) {
                std::fprintf(stderr, "cannot restart the simulated scale: %s\n", error.toUtf8().constData());
                return 1;
            }
        }
        if (n == 1)
            afterFirst = Measure();
    }
    scale.ForgetReceived();
    const SProcessFigures after = Measure();

    std::printf("\n%d downloads of %d rows (seed %u) in %.1f min\n", downloads, rows, seed,
                double(total.elapsed()) / 60000);
    for (const auto& [fault, count] : outcomes)
        std::printf("  %-26s %3d as expected, %d not\n", fault.c_str(), count.first, count.second);
    Print("before the first:", before);
    Print("after the first:", afterFirst);
    Print("after the last:", after);
    const bool leaked = after.descriptors != before.descriptors || after.threads != before.threads;
    if (leaked)
        std::printf("descriptors or threads were left behind\n");
    return unexpected == 0 && !leaked ? 0 : 1;
}
