// What `talvex records` costs as a whole process, start-up included, on a .csv of pricing rows: the
// import, the record of every row with its checks, and the lines written. The file's Goods Names are
// a mix of ASCII, accented Latin and Chinese, so the text fields take every way through the encoder.
//
//     records_bench [talvex = the talvex beside this program] [rows = 100000] [runs = 5]
//
// Prints the wall-clock and CPU time (user + system) of each run, their medians, and the largest peak
// memory of a run.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const char* const kNames[] = {"Apple Fuji",        "Banana",       "Whole Milk",   "Rye Bread",
                              "Café crème",        "Jalapeño",     "Gruyère",      "Smørbrød",
                              "Pâté de campagne",  "\u82F9\u679C", "\u9999\u8549", "\u897F\u7EA2\u67FF",
                              "\u725B\u8089\u7247"};
const char* const kSpecifications[] = {"500g", "1kg", "250 g", "piece", "per kg", "\u6563\u88C5"};
const char* const kRemarks[] = {"fresh", "frozen", "promo", "local", "organic"};

bool WriteTable(const QString& path, int rows)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes = "PLU No.,Unit price,Goods Id,Goods Name,Specification,Remark,Expiration(Days),"
                       "Quantity pricing\n";
    unsigned seed = 1008;
    const auto next = [&seed](unsigned range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % range;
    };
    for (int r = 0; r < rows; ++r) {
        bytes += QByteArray::number(r % 1008 + 1) + ',' + QByteArray::number(next(1000)) + '.' +
                 QByteArray::number(10 + next(90)) + ",K" + QByteArray::number(r + 1).rightJustified(6, '0') + ',' +
                 kNames[next(std::size(kNames))] + ' ' + QByteArray::number(next(100)) + ',' +
                 kSpecifications[next(std::size(kSpecifications))] + ',' + kRemarks[next(std::size(kRemarks))] + ',' +
                 QByteArray::number(next(365)) + ',' + QByteArray::number(next(2)) + '\n';
    }
    return file.write(bytes) == bytes.size();
}

struct SRun
{
    double wall = 0;
    double cpu = 0;
    long peakKb = 0;
    bool ok = false;
};

// Runs `talvex records FILE --mode pricing` with its lines going nowhere.
SRun RunRecords(const QByteArray& talvex, const QByteArray& file)
{
    SRun run;
    std::fflush(stdout); // the child would write what waits in the buffer once more
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        execl(talvex.constData(), talvex.constData(), "records", file.constData(), "--mode", "pricing",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage = {};
    if (child < 0 || wait4(child, &status, 0, &usage) != child)
        return run;
    run.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
              double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    run.peakKb = usage.ru_maxrss;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QString talvex = argc > 1 && argv[1][0] ? QString::fromLocal8Bit(argv[1])
                                                  : QDir(QCoreApplication::applicationDirPath()).filePath("talvex");
    const int rows = argc > 2 ? std::atoi(argv[2]) : 100000;
    const int runs = std::max(argc > 3 ? std::atoi(argv[3]) : 5, 1);

    QTemporaryDir dir;
    const QString table = dir.filePath(QStringLiteral("pricing.csv"));
    if (!dir.isValid() || !WriteTable(table, rows)) {
        std::fprintf(stderr, "records_bench: cannot write the table\n");
        return 1;
    }
    std::vector<double> walls;
    std::vector<double> cpus;
    long peakKb = 0;
    for (int i = 0; i < runs; ++i) {
        const SRun run = RunRecords(QFile::encodeName(talvex), QFile::encodeName(table));
        if (!run.ok) {
            std::fprintf(stderr, "records_bench: %s records failed\n", qPrintable(talvex));
            return 1;
        }
        std::printf("run %d: %.3f s wall, %.3f s CPU\n", i + 1, run.wall, run.cpu);
        walls.push_back(run.wall);
        cpus.push_back(run.cpu);
        peakKb = std::max(peakKb, run.peakKb);
    }
    std::sort(walls.begin(), walls.end());
    std::sort(cpus.begin(), cpus.end());
    // On a busy machine the wall-clock time holds the waits for a core; the CPU time does not.
    std::printf("talvex records, %d pricing rows: median %.3f s wall (best %.3f s), median %.3f s CPU, %.1f MB peak\n",
                rows, walls[walls.size() / 2], walls.front(), cpus[cpus.size() / 2], double(peakKb) / 1024);
    return 0;
}
