#pragma once

#include <QStringList>
#include <QWidget>

class CSettings;
class IPrompt;
class IRelauncher;

// The program's only window.
class CTalvexDlg : public QWidget
{
    Q_OBJECT

public:
    CTalvexDlg(CSettings& settings, IPrompt& prompt, IRelauncher& relauncher, QStringList restartArguments,
               QWidget* parent = nullptr);
    ~CTalvexDlg() override;

    // Runs a numeric command as the toolbar and its menus send it; false when the ID is not handled.
    bool OnCommand(int commandId);

    bool IsRestartPending() const { return m_restartPending != 0; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void OnLanguageCommand(int lcid);

    CSettings& m_settings;
    IPrompt& m_prompt;
    IRelauncher& m_relauncher;
    QStringList m_restartArguments;
    int m_restartPending = 0;
};
