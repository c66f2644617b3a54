#include "ui/CTalvexApp.h"

#include "app/CSettings.h"
#include "app/IPrompt.h"
#include "app/IRelauncher.h"
#include "app/Language.h"
#include "app/StartOptions.h"
#include "app/StringTable.h"
#include "ui/CMessageBoxPrompt.h"
#include "ui/CTalvexDlg.h"
#include "ui/QtTranslations.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QProcess>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

namespace {

SStartOptions ParseOptions(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prepares the PLU table of weighing scales and loads it over a serial line.\n"
                       "Without a command it opens the window; see 'talvex help' for the commands."));
    parser.addHelpOption();
    parser.addVersionOption();
    DeclareStartOptions(parser);
    parser.process(arguments);
    return ReadStartOptions(parser);
}

} // namespace

int CTalvexApp::Run(int& argc, char** argv, const DemoPortStarter& startDemoPort)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QString noDisplay = MissingDisplayReason(arguments, QProcess::systemEnvironment());
    if (!noDisplay.isEmpty()) {
        std::fprintf(stderr, "talvex: %s\n", noDisplay.toLocal8Bit().constData());
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(TALVEX_VERSION));
    // The installed menu entry's name: the desktop shows the window with the entry's icon and name.
    QApplication::setDesktopFileName(QStringLiteral("com.example.talvex.Talvex"));
    const SStartOptions options = ParseOptions(QApplication::arguments());
    CSettings settings;
    // The language is fixed before the first window or text exists, for the life of the process.
    Language::SetLanguageInForce(
        Language::ChooseLanguage(settings.ReadInt(ESetting::Language), Language::SystemLcid()));
    QTranslator qtTexts;
    InstallQtTranslations(qtTexts, Language::LanguageInForce());

    SWindowOptions windowOptions;
    windowOptions.serialDevices = options.serialDevices;
    QString demoError;
    if (options.demo && startDemoPort)
        windowOptions.providedPort = startDemoPort(&demoError);

    CMessageBoxPrompt prompt;
    CProcessRelauncher relauncher;
    CTalvexDlg window(settings, prompt, relauncher, RestartArguments(options), windowOptions);
    prompt.SetParent(&window);
    window.show();
    if (options.demo && !windowOptions.providedPort) {
        prompt.ShowMessage(ApplicationCaption(), MessageString(StringId::DemoScaleFailed).arg(demoError),
                           IPrompt::EIcon::Warning);
    }
    if (!options.fileToImport.isEmpty()) {
        // After the window is on screen, so that a message about the file has a window to stand on.
        QTimer::singleShot(0, &window, [&window, &options] { window.ImportFile(options.fileToImport); });
    }
    return QApplication::exec();
}
