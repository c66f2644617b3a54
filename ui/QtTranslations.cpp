#include "ui/QtTranslations.h"

#include "app/StringTable.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool InstallQtTranslations(QTranslator& translator, int lcid)
{
    const QString language = StringTableLanguageName(lcid);
    if (language == QLatin1String("en"))
        return false;
    if (!translator.load(QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&translator);
}
