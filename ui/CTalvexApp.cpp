#include "ui/CTalvexApp.h"

#include "app/CSettings.h"
#include "app/IRelauncher.h"
#include "app/Language.h"
#include "app/IPrompt.h"
#include "ui/CMessageBoxPrompt.h"
#include "ui/CTalvexDlg.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

namespace {

struct SStartOptions
{
    SWindowOptions window;
    bool demo = false;
    QString fileToImport;
};

SStartOptions ParseOptions(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prepares the PLU table of weighing scales and loads it over a serial line.\n"
                       "Without a command it opens the window; see 'talvex help' for the commands."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("Offer a simulated scale as the last port, so that Download can be "
                                                 "tried without hardware."));
    const QCommandLineOption device(QStringLiteral("serial-device"),
                                    QStringLiteral("Offer this device, or a tcp://HOST:PORT device server, in the "
                                                   "port selector too (repeatable)."),
                                    QStringLiteral("path"));
    parser.addOptions({demo, device});
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A table to import at start (.csv, .xls, .xlsx)."),
                                 QStringLiteral("[file]"));
    parser.process(arguments);

    SStartOptions options;
    options.demo = parser.isSet(demo);
    options.window.serialDevices = parser.values(device);
    if (!parser.positionalArguments().isEmpty())
        options.fileToImport = parser.positionalArguments().constFirst();
    return options;
}

} // namespace

int CTalvexApp::Run(int& argc, char** argv, const DemoPortStarter& startDemoPort)
{
    QApplication application(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(TALVEX_VERSION));
    // The installed menu entry's name: the desktop shows the window with the entry's icon and name.
    QApplication::setDesktopFileName(QStringLiteral("com.example.talvex.Talvex"));
    SStartOptions options = ParseOptions(QApplication::arguments());
    QString demoError;
    if (options.demo && startDemoPort)
        options.window.providedPort = startDemoPort(&demoError);

    CSettings settings;
    // The language is fixed before the first window or text exists, for the life of the process.
    Language::SetLanguageInForce(
        Language::ChooseLanguage(settings.ReadInt(ESetting::Language), Language::SystemLcid()));

    CMessageBoxPrompt prompt;
    CProcessRelauncher relauncher;
    CTalvexDlg window(settings, prompt, relauncher, QApplication::arguments().mid(1), options.window);
    prompt.SetParent(&window);
    window.show();
    if (options.demo && !options.window.providedPort) {
        prompt.ShowMessage(ApplicationCaption(), QStringLiteral("The simulated scale could not start: %1").arg(demoError),
                           IPrompt::EIcon::Warning);
    }
    if (!options.fileToImport.isEmpty()) {
        // After the window is on screen, so that a message about the file has a window to stand on.
        QTimer::singleShot(0, &window, [&window, &options] { window.ImportFile(options.fileToImport); });
    }
    return QApplication::exec();
}
