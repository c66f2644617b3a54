// talvex-scale: a simulated weighing scale on a pseudo-terminal, for trying and testing downloads
// without hardware. It prints the device the program should open, then answers each PLU record.

#include "tools/CSimulatedScale.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>
#include <QTimer>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &byte, 1);
}

int CodePageFromName(const QString& name)
{
    const QString upper = name.toUpper();
    if (upper == QLatin1String("GBK") || upper == QLatin1String("936"))
        return 936;
    if (upper == QLatin1String("BIG5") || upper == QLatin1String("950"))
        return 950;
    if (upper == QLatin1String("1252"))
        return 1252;
    return 65001;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("talvex-scale"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TALVEX_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A simulated weighing scale that takes PLU records."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption mode(QStringLiteral("mode"), QStringLiteral("pricing or counting (default)."),
                                  QStringLiteral("mode"), QStringLiteral("counting"));
    const QCommandLineOption limits(QStringLiteral("limits"), QStringLiteral("Counting records carry Hi and Lo."));
    const QCommandLineOption encoding(QStringLiteral("encoding"),
                                      QStringLiteral("Code page of the text fields: UTF-8 (default), GBK, BIG5."),
                                      QStringLiteral("name"), QStringLiteral("UTF-8"));
    const QCommandLineOption goodsIdEncoding(QStringLiteral("goods-id-encoding"),
                                             QStringLiteral("Code page of Goods Id (default 1252)."),
                                             QStringLiteral("name"), QStringLiteral("1252"));
    const QCommandLineOption csv(QStringLiteral("csv"), QStringLiteral("Write the accepted rows to this CSV file."),
                                 QStringLiteral("file"));
    const QCommandLineOption refuse(QStringLiteral("refuse"), QStringLiteral("Refuse record k (\"SP\" \"NG\")."),
                                    QStringLiteral("k"));
    const QCommandLineOption silent(QStringLiteral("silent"), QStringLiteral("Do not answer record k."),
                                    QStringLiteral("k"));
    const QCommandLineOption silentFrom(QStringLiteral("silent-from"),
                                        QStringLiteral("Stop answering from record k on."), QStringLiteral("k"));
    const QCommandLineOption vanish(QStringLiteral("vanish-at"), QStringLiteral("Hang up the line at record k."),
                                    QStringLiteral("k"));
    const QCommandLineOption delay(QStringLiteral("delay"), QStringLiteral("Wait this many ms before each answer."),
                                   QStringLiteral("ms"));
    const QCommandLineOption pace(QStringLiteral("pace"),
                                  QStringLiteral("Take as long as a real line at this baud rate."),
                                  QStringLiteral("baud"));
    const QCommandLineOption answerTwice(QStringLiteral("answer-twice"),
                                         QStringLiteral("Answer record k a second time."), QStringLiteral("k"));
    const QCommandLineOption secondAnswerAfter(QStringLiteral("second-answer-after"),
                                               QStringLiteral("Pause this many ms before that second answer."),
                                               QStringLiteral("ms"));
    const QCommandLineOption lineBeforeAnswer(
        QStringLiteral("line-before-answer"),
        QStringLiteral("Send this line (CR LF added) just before each answer, in the same burst."),
        QStringLiteral("text"));
    const QCommandLineOption device(QStringLiteral("device"),
                                    QStringLiteral("Listen on this serial device instead of a new pseudo-terminal."),
                                    QStringLiteral("path"));
    const QCommandLineOption baud(QStringLiteral("baud"), QStringLiteral("Baud rate with --device (default 9600)."),
                                  QStringLiteral("baud"), QStringLiteral("9600"));
    parser.addOptions({mode, limits, encoding, goodsIdEncoding, csv, refuse, silent, silentFrom, vanish, delay, pace,
                       answerTwice, secondAnswerAfter, lineBeforeAnswer, device, baud});
    parser.process(application);

    QTextStream out(stdout);
    QTextStream err(stderr);
    SScaleOptions options;
    const QString modeName = parser.value(mode).toLower();
    if (modeName != QLatin1String("pricing") && modeName != QLatin1String("counting")) {
        err << "talvex-scale: --mode must be pricing or counting\n";
        return 2;
    }
    options.pluMode = modeName == QLatin1String("pricing") ? EPluMode::Pricing : EPluMode::Counting;
    options.limitMode = parser.isSet(limits) ? ELimitMode::On : ELimitMode::Off;
    options.textCodePage = CodePageFromName(parser.value(encoding));
    options.goodsIdCodePage = CodePageFromName(parser.value(goodsIdEncoding));
    options.csvPath = parser.value(csv);
    options.refuseRecord = parser.value(refuse).toInt();
    options.silentRecord = parser.value(silent).toInt();
    options.silentFrom = parser.value(silentFrom).toInt();
    options.disconnectAtRecord = parser.value(vanish).toInt();
    options.replyDelayMs = parser.value(delay).toInt();
    options.paceBaud = parser.value(pace).toInt();
    options.answerTwiceRecord = parser.value(answerTwice).toInt();
    options.secondAnswerGapMs = parser.value(secondAnswerAfter).toInt();
    if (parser.isSet(lineBeforeAnswer))
        options.garbageBeforeReply = parser.value(lineBeforeAnswer).toUtf8() + QByteArrayLiteral("\r\n");

    CSimulatedScale scale(options);
    QString error;
    const bool started = parser.isSet(device)
                             ? scale.StartOnDevice(parser.value(device), parser.value(baud).toInt(), &error)
                             : scale.Start(&error);
    if (!started) {
        err << "talvex-scale: " << error << '\n';
        return 1;
    }
    out << scale.DevicePath() << '\n';
    out.flush();

    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0)
        return 1;
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    QSocketNotifier stopNotifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&stopNotifier, &QSocketNotifier::activated, &application, &QCoreApplication::quit);

    // Report records as they come, for a person watching the terminal.
    int reported = 0;
    QTimer report;
    QObject::connect(&report, &QTimer::timeout, &application, [&] {
        const std::vector<QByteArray> records = scale.ReceivedRecords();
        for (; reported < int(records.size()); ++reported)
            err << "record " << reported + 1 << ": " << records[std::size_t(reported)].toHex(' ') << '\n';
        err.flush();
        if (!scale.IsRunning())
            QCoreApplication::quit();
    });
    report.start(100);
    const int result = QCoreApplication::exec();
    scale.Stop();
    for (const QString& problem : scale.Problems())
        err << "talvex-scale: " << problem << '\n';
    return result;
}
