// The lexical check of a workbook's XML part, which every part passes before the parser sees it:
// best and median of several runs over the file given (for example a sheet unpacked from an .xlsx).
#include "exchange/XmlLexicalCheck.h"

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PART.xml\n", argv[0]);
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(file.errorString()));
        return 1;
    }
    const QByteArray xml = file.readAll();
    std::vector<double> milliseconds;
    bool faulty = false;
    for (int run = 0; run < 15; ++run) {
        QElapsedTimer timer;
        timer.start();
        faulty = FindXmlLexicalFault(std::string_view(xml.constData(), size_t(xml.size()))).has_value();
        milliseconds.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf("%.1f MB %s: best %.1f ms, median %.1f ms (%.0f MB/s)\n", double(xml.size()) / 1e6,
                faulty ? "faulty" : "sound", milliseconds.front(), milliseconds[milliseconds.size() / 2],
                double(xml.size()) / 1e3 / milliseconds[milliseconds.size() / 2]);
    return 0;
}
