#include "ui/CTalvexDlg.h"

#include "app/CSettings.h"
#include "app/IPrompt.h"
#include "app/IRelauncher.h"
#include "app/LanguageCommands.h"
#include "app/StringTable.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMetaObject>

CTalvexDlg::CTalvexDlg(CSettings& settings, IPrompt& prompt, IRelauncher& relauncher, QStringList restartArguments,
                       QWidget* parent)
    : QWidget(parent)
    , m_settings(settings)
    , m_prompt(prompt)
    , m_relauncher(relauncher)
    , m_restartArguments(std::move(restartArguments))
{
    setWindowTitle(QStringLiteral("Plu download www.talvex.example.com"));
    resize(880, 560);
}

CTalvexDlg::~CTalvexDlg() = default;

bool CTalvexDlg::OnCommand(int commandId)
{
    if (const int lcid = LanguageCommands::LcidForCommand(commandId)) {
        OnLanguageCommand(lcid);
        return true;
    }
    return false;
}

void CTalvexDlg::OnLanguageCommand(int lcid)
{
    m_settings.WriteInt(ESetting::Language, lcid);
    m_settings.Sync();
    m_restartPending = 1;
    // Posted, as the window's close box would: the command returns before the window closes.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void CTalvexDlg::closeEvent(QCloseEvent* event)
{
    if (m_restartPending == 1) {
        m_restartPending = 0;
        if (!m_relauncher.Relaunch(QCoreApplication::applicationFilePath(), m_restartArguments)) {
            // Vanishing without a new window would leave the user with nothing; say so and stay.
            m_prompt.ShowMessage(ApplicationCaption(), LoadString(StringId::RestartFailed), IPrompt::EIcon::Warning);
            event->ignore();
            return;
        }
    }
    event->accept();
}
