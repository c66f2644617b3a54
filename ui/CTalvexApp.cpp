#include "ui/CTalvexApp.h"

#include "app/CSettings.h"
#include "app/IRelauncher.h"
#include "app/Language.h"
#include "ui/CMessageBoxPrompt.h"
#include "ui/CTalvexDlg.h"

#include <QApplication>

int CTalvexApp::Run(int& argc, char** argv)
{
    QApplication application(argc, argv);

    CSettings settings;
    // The language is fixed before the first window or text exists, for the life of the process.
    Language::SetLanguageInForce(
        Language::ChooseLanguage(settings.ReadInt(ESetting::Language), Language::SystemLcid()));

    CMessageBoxPrompt prompt;
    CProcessRelauncher relauncher;
    CTalvexDlg window(settings, prompt, relauncher, QApplication::arguments().mid(1));
    prompt.SetParent(&window);
    window.show();
    return QApplication::exec();
}
