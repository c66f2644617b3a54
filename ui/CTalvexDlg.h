#pragma once

#include "download/CComPortLine.h"
#include "download/CDownloadSession.h"
#include "download/CRowChecks.h"
#include "download/CTransferLog.h"
#include "download/CTransferStates.h"
#include "grid/CGridModel.h"
#include "plu/CPluTable.h"
#include "serial/CComPort.h"
#include "serial/PortDiscovery.h"
#include "serial/PortOpenFailure.h"
#include "ui/CLayoutManager.h"

#include <functional>
#include <memory>
#include <optional>

#include <QStringList>
#include <QWidget>

class CMFCListCtrlEx;
class IFileOpener;
class CPortSelector;
class IFileDialogs;
class CSettings;
class CToolBarEx;
class IPrompt;
class IRelauncher;
class QComboBox;
class QLabel;

// A port the program brings along itself (the demo mode's simulated scale): offered as the last port
// and selected; it is told each layout the table enters, so that it reads records as they are sent.
struct SProvidedPort
{
    PortDiscovery::SPortEntry entry;
    std::function<void(EPluMode pluMode, ELimitMode limitMode)> followLayout;
};

// What the command line asks of the window.
struct SWindowOptions
{
    QStringList serialDevices; // offered after the system's serial ports (tcp:// device servers too)
    std::optional<SProvidedPort> providedPort;
    // Reads the machine's ports with the extra devices after them; empty: the system's list. Tests give their own.
    std::function<PortDiscovery::PortList(const QStringList& extraDevices)> discoverPorts;
};

// The program's only window: the toolbar on top, the port, baud and encoding selectors with the
// progress label in one line below it, and the grid filling the rest. It dispatches the numeric
// commands of the toolbar and its menus.
class CTalvexDlg : public QWidget
{
    Q_OBJECT

public:
    CTalvexDlg(CSettings& settings, IPrompt& prompt, IRelauncher& relauncher, QStringList restartArguments,
               const SWindowOptions& options = {}, QWidget* parent = nullptr);
    ~CTalvexDlg() override;

    // The fixed entries of the baud and encoding selectors, in selector order.

    // Import's and Export's dialogs; the desktop's own unless a test sets others.
    void SetFileDialogs(IFileDialogs* dialogs);
    // What opens the transfer log; the desktop unless a test sets another.
    void SetFileOpener(IFileOpener* opener);
    // Imports a file given on the command line, as Import does after its dialog.
    bool ImportFile(const QString& path);

    // Runs a numeric command as the toolbar and its menus send it; false when the ID is not handled.
    bool OnCommand(int commandId);

    bool IsRestartPending() const { return m_restartPending != 0; }

    // Fills the port selector and selects the stored PORT entry; a stored index without an entry
    // leaves no entry selected.
    void SetPortEntries(const QStringList& entries);
    // Reads the ports again (the selector's list opens, a download starts), keeping the selection on the chosen
    // device wherever it is now listed, and on no entry while that device is absent.
    void RefreshPorts();
    int PortIndex() const;
    int BaudIndex() const;
    int EncodingIndex() const;
    void SetProgressText(const QString& text);

    // Check marks of the Setting menu: exactly one of Pricing (mode 0) and Counting (otherwise),
    // and Lim when the limit mode is not 0.
    void SetModeChecks(EPluMode pluMode, ELimitMode limitMode);

    // 1 after a row was completed since the last export: closing and restarting ask first.
    int UnexportedChanges() const { return m_table.UnexportedChanges(); }
    void SetUnexportedChanges(int value) { m_table.SetUnexportedChanges(value); }

    CToolBarEx& ToolBar() { return *m_toolBar; }
    QComboBox& PortSelector();
    QComboBox& BaudSelector() { return *m_baudSelector; }
    QComboBox& EncodingSelector() { return *m_encodingSelector; }
    QLabel& ProgressLabel() { return *m_progressLabel; }
    CMFCListCtrlEx& GridView() { return *m_gridView; }
    CGridModel& Grid() { return m_grid; }
    CPluTable& Table() { return m_table; }
    const CRowChecks& RowChecks() const { return m_rowChecks; }
    const CTransferStates& TransferStates() const { return m_transferStates; }
    const CTransferLog& TransferLog() const { return m_transferLog; }
    CDownloadSession& Download() { return m_download; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateToolBar();
    void CreateSelectorsAndGrid();
    void FillPortSelector(const SWindowOptions& options);
    void ConnectTableAndDownload();
    void PlaceControls();

    // Asks string 130 when there are unexported changes; true when the window may go.
    bool ConfirmQuit();
    void OnLanguageCommand(int lcid);
    void ShowAbout();

    void OnImport();
    void OnExport();
    void OnDownload();
    // Fills in where the download starts (asking after a failure), how it retries and waits, and the port's name;
    // false when the user cancelled.
    bool PrepareDownload(SDownloadRequest& request);
    void OnDownloadProgress(int done, int total);
    void OnDownloadFinished(bool success, int failedRow, const QString& reason);
    // Selects the row that a download failed at and scrolls it into view.
    void ShowFailedRow(int row);
    // The port did not open: "Fail!" with the reason as the label's tooltip, and a message that names the port and
    // says what to do; without a chosen port, the request to choose one.
    void ReportPortOpenFailure(const SPortOpenFailure& failure);
    void RememberChosenPort();
    void OnTransferSettings();
    void OnOpenTransferLog();
    PortDiscovery::PortList DiscoverPorts() const;

    CSettings& m_settings;
    IPrompt& m_prompt;
    IRelauncher& m_relauncher;
    QStringList m_restartArguments;

    CGridModel m_grid;
    CPluTable m_table;
    CRowChecks m_rowChecks{m_grid, m_table};
    CTransferStates m_transferStates{m_grid, m_table, m_rowChecks};
    Portwire::CComPort m_port;
    CComPortLine m_line{m_port};
    CDownloadSession m_download;
    CTransferLog m_transferLog;
    std::optional<SProvidedPort> m_providedPort;
    QStringList m_serialDevices;
    std::function<PortDiscovery::PortList(const QStringList&)> m_discoverPorts;
    PortDiscovery::PortList m_ports;
    // The stable name of the device the user chose or the settings named; empty when none is chosen.
    QString m_chosenPortName;
    std::unique_ptr<IFileDialogs> m_ownFileDialogs;
    IFileDialogs* m_fileDialogs = nullptr;
    std::unique_ptr<IFileOpener> m_ownFileOpener;
    IFileOpener* m_fileOpener = nullptr;
    CToolBarEx* m_toolBar = nullptr;
    CPortSelector* m_portSelector = nullptr;
    QComboBox* m_baudSelector = nullptr;
    QComboBox* m_encodingSelector = nullptr;
    QLabel* m_progressLabel = nullptr;
    CMFCListCtrlEx* m_gridView = nullptr;
    CLayoutManager m_layout;

    int m_restartPending = 0;
};
