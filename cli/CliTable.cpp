#include "cli/CliTable.h"

#include "app/Language.h"
#include "cli/CliCommands.h"
#include "download/LineChoices.h"
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

void CCommandTable::EnterMode(EPluMode mode)
{
    m_settings.WriteInt(ESetting::PluMode, PluLayout::SettingOf(mode));
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

std::optional<EPluMode> ModeFromOption(const QCommandLineParser& parser, const QCommandLineOption& option)
{
    if (!parser.isSet(option)) {
        CSettings stored;
        return PluLayout::PluModeFromSetting(stored.ReadInt(ESetting::PluMode));
    }
    const QString value = parser.value(option).toLower();
    if (value == QLatin1String("pricing"))
        return EPluMode::Pricing;
    if (value == QLatin1String("counting"))
        return EPluMode::Counting;
    return std::nullopt;
}

int EncodingIndexFromOption(const QCommandLineParser& parser, const QCommandLineOption& option)
{
    return LineChoices::EncodingIndexOf(parser.value(option));
}

bool OpenTableFromArguments(const QString& command, const QCommandLineParser& parser, const STableOptions& options,
                            const QString& path, CCommandTable& table, int* encodingIndex)
{
    ChooseLanguageLikeTheWindow();
    const std::optional<EPluMode> mode = ModeFromOption(parser, options.mode);
    if (!mode) {
        PrintError(command, QStringLiteral("--mode takes pricing or counting"));
        return false;
    }
    if (encodingIndex) {
        *encodingIndex = EncodingIndexFromOption(parser, options.encoding);
        if (*encodingIndex < 0) {
            QStringList names = LineChoices::Encodings();
            const QString last = names.takeLast();
            PrintError(command,
                       QStringLiteral("--encoding takes %1 or %2").arg(names.join(QStringLiteral(", ")), last));
            return false;
        }
    }
    table.EnterMode(*mode);
    QString error;
    if (!table.Import(path, &error)) {
        PrintError(command, error);
        return false;
    }
    return true;
}

void ChooseLanguageLikeTheWindow()
{
    CSettings stored;
    Language::SetLanguageInForce(Language::ChooseLanguage(stored.ReadInt(ESetting::Language), Language::SystemLcid()));
}

void PrintError(const QString& command, const QString& message)
{
    // The library's messages are laid out for a message box, one part a line; a terminal wants one line.
    QStringList parts = message.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString& part : parts)
        part = part.trimmed();
    QTextStream(stderr) << "talvex " << command << ": " << parts.join(QLatin1Char(' ')) << '\n';
}

bool ParseCommandLine(QCommandLineParser& parser, const QStringList& arguments, const QString& command, int* exitCode)
{
    const QCommandLineOption help = parser.addHelpOption();
    if (!parser.parse(arguments)) {
        PrintError(command, parser.errorText() + QStringLiteral(" (see 'talvex %1 --help')").arg(command));
        *exitCode = kUsageError;
        return false;
    }
    if (parser.isSet(help) || parser.optionNames().contains(QLatin1String("help-all"))) {
        // The parser names the program by its path; the command is what the user typed.
        QString text = parser.helpText();
        const QString usage = QStringLiteral("Usage: ");
        const qsizetype end = text.indexOf(QLatin1String(" [options]"));
        if (text.startsWith(usage) && end > 0)
            text.replace(0, end, usage + QStringLiteral("talvex ") + command);
        QTextStream(stdout) << text;
        *exitCode = kSuccess;
        return false;
    }
    return true;
}

} // namespace Cli
