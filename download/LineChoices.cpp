#include "download/LineChoices.h"

namespace LineChoices {

QStringList BaudRates()
{
    return {QStringLiteral("4800"),  QStringLiteral("9600"),  QStringLiteral("19200"), QStringLiteral("38400"),
            QStringLiteral("56000"), QStringLiteral("57600"), QStringLiteral("115200")};
}

QStringList Encodings()
{
    return {QStringLiteral("default"), QStringLiteral("GBK"), QStringLiteral("BIG5"), QStringLiteral("UTF-8")};
}

int EncodingIndexOf(const QString& name)
{
    if (name.compare(QLatin1String("UTF8"), Qt::CaseInsensitive) == 0)
        return int(Encodings().indexOf(QStringLiteral("UTF-8")));
    return int(Encodings().indexOf(name, Qt::CaseInsensitive));
}

} // namespace LineChoices
