#include "cli/CliTable.h"

#include "app/Language.h"
#include "exchange/ExchangeCommands.h"
#include "exchange/PluImport.h"

#include <QTextStream>

namespace Cli {

void CConsolePrompt::ShowMessage(const QString& caption, const QString& text, EIcon)
{
    QTextStream(stderr) << (caption.isEmpty() ? QString() : caption + QStringLiteral(": ")) << text << '\n';
}

bool CConsolePrompt::AskOkCancel(const QString& caption, const QString& text, EIcon icon)
{
    ShowMessage(caption, text, icon);
    return true;
}

CCommandTable::CCommandTable()
    : m_settings(m_dir.filePath(QStringLiteral("talvex.conf")))
    , m_table(m_grid, m_settings, m_prompt)
{
}

void CCommandTable::EnterMode(int pluMode)
{
    m_settings.WriteInt(ESetting::PluMode, pluMode);
    m_settings.WriteInt(ESetting::LimMode, 0);
    m_table.EnterStoredMode();
}

bool CCommandTable::Import(const QString& path, QString* error)
{
    SImportResult result = ReadImportFile(path, m_table.PluMode(), m_table.LimitMode());
    if (!result.ok) {
        if (error)
            *error = result.error;
        return false;
    }
    ApplyImportResult(m_table, std::move(result));
    return true;
}

int ModeFromOption(const QCommandLineParser& parser, const QCommandLineOption& option)
{
    if (!parser.isSet(option)) {
        CSettings stored;
        return stored.ReadInt(ESetting::PluMode) == 0 ? CPluTable::kPricing : CPluTable::kCounting;
    }
    const QString value = parser.value(option).toLower();
    if (value == QLatin1String("pricing"))
        return CPluTable::kPricing;
    if (value == QLatin1String("counting"))
        return CPluTable::kCounting;
    return -1;
}

int EncodingIndexFromOption(const QCommandLineParser& parser, const QCommandLineOption& option)
{
    const QString value = parser.value(option).toUpper();
    const QStringList names = {QStringLiteral("DEFAULT"), QStringLiteral("GBK"), QStringLiteral("BIG5"),
                               QStringLiteral("UTF-8")};
    if (value == QLatin1String("UTF8"))
        return 3;
    return int(names.indexOf(value));
}

void ChooseLanguageLikeTheWindow()
{
    CSettings stored;
    Language::SetLanguageInForce(Language::ChooseLanguage(stored.ReadInt(ESetting::Language), Language::SystemLcid()));
}

void PrintError(const QString& command, const QString& message)
{
    QTextStream(stderr) << "talvex " << command << ": " << message << '\n';
}

} // namespace Cli
