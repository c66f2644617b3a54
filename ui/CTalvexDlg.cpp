#include "ui/CTalvexDlg.h"

#include "download/LineChoices.h"

#include "app/CSettings.h"
#include "app/IPrompt.h"
#include "app/IRelauncher.h"
#include "app/Language.h"
#include "app/LanguageCommands.h"
#include "app/MenuText.h"
#include "app/StringTable.h"
#include "app/TextNumbers.h"
#include "download/DownloadLabels.h"
#include "download/LineChoices.h"
#include "download/ResumeQuestion.h"
#include "download/TextCodePage.h"
#include "download/TransferSettings.h"
#include "exchange/ExchangeCommands.h"
#include "exchange/PluImport.h"
#include "serial/PortDiscovery.h"
#include "serial/PortSelection.h"
#include "ui/CAboutDlg.h"
#include "ui/CDesktopFileOpener.h"
#include "ui/CFileDialogs.h"
#include "ui/CPortSelector.h"
#include "ui/CToolBarEx.h"
#include "ui/CTransferDlg.h"
#include "ui/CommandIds.h"
#include "ui/Resources.h"
#include "ui/grid/CMFCListCtrlEx.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QMetaObject>
#include <QShortcut>
#include <QSignalBlocker>

#include <algorithm>

namespace {

constexpr int kEdge = 2;        // space between the window's edge and the selectors
constexpr int kSelectorGap = 4; // space between the selectors
constexpr int kRowGap = 2;      // space above and below the selector line
constexpr int kPortWidth = 240;
constexpr int kBaudWidth = 107;
constexpr int kEncodingWidth = 72;
constexpr int kLabelWidth = 228;
constexpr QSize kInitialSize{880, 560};

QAction* AddCommandItem(QMenu& menu, const QString& text, int command, bool checkable = false)
{
    QAction* item = menu.addAction(text);
    item->setData(command);
    item->setCheckable(checkable);
    return item;
}

} // namespace

CTalvexDlg::CTalvexDlg(CSettings& settings, IPrompt& prompt, IRelauncher& relauncher, QStringList restartArguments,
                       const SWindowOptions& options, QWidget* parent)
    : QWidget(parent)
    , m_settings(settings)
    , m_prompt(prompt)
    , m_relauncher(relauncher)
    , m_restartArguments(std::move(restartArguments))
    , m_table(m_grid, settings, prompt)
    , m_download(m_table, m_line, prompt)
{
    setWindowIcon(ProgramIcon());
    m_ownFileDialogs = std::make_unique<CFileDialogs>(this);
    m_fileDialogs = m_ownFileDialogs.get();
    m_ownFileOpener = std::make_unique<CDesktopFileOpener>();
    m_fileOpener = m_ownFileOpener.get();
    CreateSelectorsAndGrid();
    FillPortSelector(options);
    const int baudIndex = m_settings.ReadInt(ESetting::Bps);
    m_baudSelector->setCurrentIndex(baudIndex >= 0 && baudIndex < m_baudSelector->count() ? baudIndex : -1);
    CreateToolBar();
    ConnectTableAndDownload();
    m_table.EnterStoredMode();
    m_restartPending = 0;
    m_table.SetUnexportedChanges(0);
    m_encodingSelector->setCurrentIndex(0);
    PlaceControls();
    m_layout.SetUp(this);
    m_layout.AddControl(m_toolBar, 0, 0, 100, 0);
    m_layout.AddControl(m_gridView, 0, 0, 100, 100);
    setWindowTitle(QStringLiteral("Plu download www.talvex.example.com"));

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { OnCommand(CommandId::About); });
    m_portSelector->setFocus();
}

CTalvexDlg::~CTalvexDlg()
{
    // The view goes before the grid model it shows.
    delete m_gridView;
    m_gridView = nullptr;
}

QComboBox& CTalvexDlg::PortSelector()
{
    return *m_portSelector;
}

void CTalvexDlg::CreateSelectorsAndGrid()
{
    // Created in tab order: the selectors from left to right, then the grid.
    m_portSelector = new CPortSelector(this);
    connect(m_portSelector, &CPortSelector::popupAboutToShow, this, &CTalvexDlg::RefreshPorts);
    connect(m_portSelector, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < m_ports.size())
            m_chosenPortName = PortDiscovery::StableNameOf(m_ports.at(index));
    });
    m_baudSelector = new QComboBox(this);
    m_baudSelector->addItems(LineChoices::BaudRates());
    m_encodingSelector = new QComboBox(this);
    m_encodingSelector->addItems(LineChoices::Encodings());
    m_progressLabel = new QLabel(QStringLiteral("   "), this);

    m_gridView = new CMFCListCtrlEx(this);
    m_gridView->SetGrid(&m_grid);
}

void CTalvexDlg::FillPortSelector(const SWindowOptions& options)
{
    m_serialDevices = options.serialDevices;
    m_discoverPorts = options.discoverPorts;
    m_providedPort = options.providedPort;
    m_ports = DiscoverPorts();
    int index = PortSelection::InitialIndex(m_ports, m_settings.ReadString(ESetting::PortName),
                                            m_settings.ReadInt(ESetting::Port));
    if (m_providedPort)
        index = int(m_ports.size()) - 1;
    m_chosenPortName =
        index >= 0 ? PortDiscovery::StableNameOf(m_ports.at(index)) : m_settings.ReadString(ESetting::PortName);
    m_port.SetPorts(m_ports);
    m_portSelector->addItems(PortDiscovery::Labels(m_ports));
    m_portSelector->setCurrentIndex(index);
}

PortDiscovery::PortList CTalvexDlg::DiscoverPorts() const
{
    PortDiscovery::PortList ports =
        m_discoverPorts ? m_discoverPorts(m_serialDevices) : PortDiscovery::DiscoverSerialPorts(m_serialDevices);
    if (m_providedPort)
        ports.append(m_providedPort->entry);
    return ports;
}

void CTalvexDlg::RefreshPorts()
{
    m_ports = DiscoverPorts();
    m_port.SetPorts(m_ports);
    const QSignalBlocker quiet(m_portSelector);
    m_portSelector->clear();
    m_portSelector->addItems(PortDiscovery::Labels(m_ports));
    m_portSelector->setCurrentIndex(PortSelection::IndexOfName(m_ports, m_chosenPortName));
}

void CTalvexDlg::ConnectTableAndDownload()
{
    connect(&m_table, &CPluTable::modeChanged, this, [this](EPluMode pluMode, ELimitMode limitMode) {
        SetModeChecks(pluMode, limitMode);
        if (m_providedPort && m_providedPort->followLayout)
            m_providedPort->followLayout(pluMode, limitMode);
    });
    m_download.SetTransferLog(&m_transferLog);
    m_transferStates.Follow(m_download);
    connect(&m_download, &CDownloadSession::progress, this, &CTalvexDlg::OnDownloadProgress);
    connect(&m_download, &CDownloadSession::finished, this, &CTalvexDlg::OnDownloadFinished);
    connect(m_gridView, &CMFCListCtrlEx::sortRequested, &m_table, &CPluTable::SortByColumn);
    // The grid's marks use the code pages a download started now would use.
    connect(m_encodingSelector, &QComboBox::currentIndexChanged, this, [this](int index) {
        const int language = Language::LanguageInForce();
        m_rowChecks.SetCodePages(TextCodePageForEncoding(index, language), Language::AnsiCodePage(language));
    });
}

void CTalvexDlg::CreateToolBar()
{
    m_toolBar = new CToolBarEx(this);
    struct SButton
    {
        int command;
        unsigned text;
        const char* icon;
        CToolBarEx::EButtonStyle style;
    };
    const SButton buttons[] = {
        {CommandId::Import, StringId::Import, "import", CToolBarEx::kButton},
        {CommandId::Export, StringId::Export, "export", CToolBarEx::kButton},
        {CommandId::Download, StringId::Download, "download", CToolBarEx::kButton},
        {CommandId::New, StringId::New, "new", CToolBarEx::kButton},
        {CommandId::Add, StringId::Add, "add", CToolBarEx::kButton},
        {CommandId::Delete, StringId::Delete, "delete", CToolBarEx::kButton},
        {CommandId::Setting, StringId::Setting, "setting", CToolBarEx::kDropDown},
        {CommandId::Language, StringId::Language, "language", CToolBarEx::kDropDown},
    };
    for (const SButton& button : buttons)
        m_toolBar->AddButton(button.command, button.style, ToolBarIcon(QLatin1String(button.icon)),
                             LoadString(button.text));

    // The names of the languages are written in their own language, whatever the language in force.
    QMenu languages;
    AddCommandItem(languages, QString::fromUtf8("简体中文"), CommandId::LanguageChineseSimplified);
    AddCommandItem(languages, QString::fromUtf8("繁體中文"), CommandId::LanguageChineseTraditional);
    AddCommandItem(languages, QStringLiteral("English"), CommandId::LanguageEnglish);
    AddCommandItem(languages, QStringLiteral("Español"), CommandId::LanguageSpanish);
    AddCommandItem(languages, QStringLiteral("lingua italiana"), CommandId::LanguageItalian);
    AddCommandItem(languages, QStringLiteral("Français"), CommandId::LanguageFrench);
    AddCommandItem(languages, QStringLiteral("Deutsch"), CommandId::LanguageGerman);
    m_toolBar->SetDropDownMenu(7, languages);

    QMenu setting;
    AddCommandItem(setting, LoadString(StringId::Pricing), CommandId::Pricing, true);
    AddCommandItem(setting, LoadString(StringId::Counting), CommandId::Counting, true);
    AddCommandItem(setting, LoadString(StringId::Lim), CommandId::Lim, true);
    setting.addSeparator();
    AddCommandItem(setting, MenuItemText(LoadString(StringId::TransferMenu)), CommandId::TransferSettings);
    AddCommandItem(setting, MenuItemText(LoadString(StringId::TransferLogMenu)), CommandId::TransferLog);
    // The desktop has no window menu to carry the About item, so it ends the Setting menu.
    const QString about = LoadString(StringId::AboutMenu);
    if (!about.isEmpty()) {
        setting.addSeparator();
        AddCommandItem(setting, MenuItemText(about), CommandId::About);
    }
    m_toolBar->SetDropDownMenu(6, setting);

    m_toolBar->ApplyButtons();
    connect(m_toolBar, &CToolBarEx::commandTriggered, this, [this](int command) { OnCommand(command); });
}

void CTalvexDlg::PlaceControls()
{
    const QSize toolBarSize = m_toolBar->sizeHint();
    const int width = std::max(kInitialSize.width(), toolBarSize.width());
    resize(width, kInitialSize.height());
    m_toolBar->setGeometry(0, 0, width, toolBarSize.height());

    const int rowTop = toolBarSize.height() + kRowGap;
    const int rowHeight = std::max({m_portSelector->sizeHint().height(), m_baudSelector->sizeHint().height(),
                                    m_encodingSelector->sizeHint().height()});
    int x = kEdge;
    const auto placeInRow = [&](QWidget* control, int minimumWidth) {
        const int controlWidth = std::max(minimumWidth, control->sizeHint().width());
        control->setGeometry(x, rowTop, controlWidth, rowHeight);
        x += controlWidth + kSelectorGap;
    };
    m_portSelector->setGeometry(x, rowTop, kPortWidth, rowHeight);
    x += kPortWidth + kSelectorGap;
    placeInRow(m_baudSelector, kBaudWidth);
    placeInRow(m_encodingSelector, kEncodingWidth);
    m_progressLabel->setGeometry(x + kSelectorGap, rowTop, kLabelWidth, rowHeight);

    const int gridTop = rowTop + rowHeight + kRowGap;
    m_gridView->setGeometry(0, gridTop, width, kInitialSize.height() - gridTop);
}

void CTalvexDlg::SetPortEntries(const QStringList& entries)
{
    m_portSelector->clear();
    m_portSelector->addItems(entries);
    const int index = m_settings.ReadInt(ESetting::Port);
    m_portSelector->setCurrentIndex(index >= 0 && index < m_portSelector->count() ? index : -1);
}

int CTalvexDlg::PortIndex() const
{
    return m_portSelector->currentIndex();
}

int CTalvexDlg::BaudIndex() const
{
    return m_baudSelector->currentIndex();
}

int CTalvexDlg::EncodingIndex() const
{
    return m_encodingSelector->currentIndex();
}

void CTalvexDlg::SetProgressText(const QString& text)
{
    m_progressLabel->setText(text);
}

void CTalvexDlg::SetModeChecks(EPluMode pluMode, ELimitMode limitMode)
{
    m_toolBar->SetMenuItemChecked(CommandId::Pricing, pluMode == EPluMode::Pricing);
    m_toolBar->SetMenuItemChecked(CommandId::Counting, pluMode != EPluMode::Pricing);
    m_toolBar->SetMenuItemChecked(CommandId::Lim, limitMode != ELimitMode::Off);
}

bool CTalvexDlg::OnCommand(int commandId)
{
    if (const int lcid = LanguageCommands::LcidForCommand(commandId)) {
        OnLanguageCommand(lcid);
        return true;
    }
    // A command started from the keyboard finds a cell editor open: its text counts first.
    m_gridView->EndEdit();
    switch (commandId) {
    case CommandId::Import: OnImport(); return true;
    case CommandId::Export: OnExport(); return true;
    case CommandId::Download: OnDownload(); return true;
    case CommandId::New: m_table.NewTable(); return true;
    case CommandId::Add: m_table.AppendNewRow(); return true;
    case CommandId::Delete: m_table.DeleteMarkedRow(); return true;
    case CommandId::Pricing: m_table.SetPluMode(EPluMode::Pricing); return true;
    case CommandId::Counting: m_table.SetPluMode(EPluMode::Counting); return true;
    case CommandId::Lim: m_table.ToggleLimitMode(); return true;
    case CommandId::TransferSettings: OnTransferSettings(); return true;
    case CommandId::TransferLog: OnOpenTransferLog(); return true;
    case CommandId::About: ShowAbout(); return true;
    // The drop-down buttons open their menus and send no command; these IDs ask for nothing.
    case CommandId::Setting:
    case CommandId::Language: return true;
    default: return false;
    }
}

void CTalvexDlg::SetFileDialogs(IFileDialogs* dialogs)
{
    m_fileDialogs = dialogs ? dialogs : m_ownFileDialogs.get();
}

void CTalvexDlg::SetFileOpener(IFileOpener* opener)
{
    m_fileOpener = opener ? opener : m_ownFileOpener.get();
}

void CTalvexDlg::OnImport()
{
    RunImportCommand(m_table, *m_fileDialogs, m_prompt);
}

void CTalvexDlg::OnExport()
{
    RunExportCommand(m_table, *m_fileDialogs, m_prompt);
}

bool CTalvexDlg::ImportFile(const QString& path)
{
    SImportResult result = ReadImportFile(path, m_table.PluMode(), m_table.LimitMode());
    if (!result.ok) {
        m_prompt.ShowMessage(ApplicationCaption(), result.error, IPrompt::EIcon::Warning);
        return false;
    }
    ApplyImportResult(m_table, std::move(result));
    return true;
}

void CTalvexDlg::OnDownload()
{
    // A device plugged in or out since the list was read must not shift the port the download opens.
    RefreshPorts();
    SDownloadRequest request;
    // The port number is the selector's index plus one.
    request.devicePath = PortDiscovery::DevicePathForPortNumber(m_port.Ports(), PortIndex() + 1);
    request.baudRate = int(TextNumbers::ReadLeadingInteger(m_baudSelector->currentText()));
    request.textCodePage = TextCodePageForEncoding(EncodingIndex(), Language::LanguageInForce());
    if (!PrepareDownload(request))
        return;
    m_progressLabel->setToolTip(QString());
    const CDownloadSession::EStart start = m_download.Start(request);
    if (start == CDownloadSession::EStart::PortNotOpened) {
        ReportPortOpenFailure(m_port.LastOpenFailure());
        return;
    }
    if (start != CDownloadSession::EStart::Started)
        return;
    m_settings.WriteInt(ESetting::Port, PortIndex());
    m_settings.WriteInt(ESetting::Bps, BaudIndex());
    RememberChosenPort();
    m_settings.Sync();
}

bool CTalvexDlg::PrepareDownload(SDownloadRequest& request)
{
    // A download in progress goes on as it is: Start turns this one away, without a question.
    if (m_download.IsRunning())
        return true;
    const std::optional<int> firstRow = AskFirstRow(m_prompt, m_transferStates.ResumeRow());
    if (!firstRow)
        return false;
    request.firstRow = *firstRow;
    const STransferSettings transfer = ReadTransferSettings(m_settings);
    request.retries = transfer.retries;
    m_download.SetAcknowledgementTimeoutMs(transfer.ackTimeoutMs);
    const int index = PortIndex();
    if (index >= 0 && index < m_ports.size())
        request.portName = PortDiscovery::StableNameOf(m_ports.at(index));
    return true;
}

void CTalvexDlg::ReportPortOpenFailure(const SPortOpenFailure& failure)
{
    const QString message = PortOpenFailure::Message(failure);
    if (failure.device.isEmpty()) {
        m_prompt.ShowMessage(ApplicationCaption(), message, IPrompt::EIcon::Information);
        return;
    }
    m_progressLabel->setText(QStringLiteral("Fail!"));
    m_progressLabel->setToolTip(message);
    m_prompt.ShowMessage(ApplicationCaption(), message, IPrompt::EIcon::Warning);
}

// Stored beside PORT, which the download stores: the name finds the device again when the list's order changed.
void CTalvexDlg::RememberChosenPort()
{
    const int index = PortIndex();
    if (index < 0 || index >= m_ports.size())
        return;
    m_chosenPortName = PortDiscovery::StableNameOf(m_ports.at(index));
    m_settings.WriteString(ESetting::PortName, m_chosenPortName);
}

void CTalvexDlg::OnDownloadProgress(int done, int total)
{
    m_progressLabel->setText(DownloadLabels::Progress(done, total));
}

void CTalvexDlg::OnDownloadFinished(bool success, int failedRow, const QString& reason)
{
    m_progressLabel->setText(DownloadLabels::Outcome(success));
    m_progressLabel->setToolTip(reason);
    if (!success)
        ShowFailedRow(failedRow);
}

void CTalvexDlg::ShowFailedRow(int row)
{
    if (row < 0 || row >= m_grid.RowCount())
        return;
    m_gridView->selectRow(row);
    m_gridView->scrollTo(m_grid.index(row, 0));
}

bool CTalvexDlg::ConfirmQuit()
{
    if (UnexportedChanges() != 1)
        return true;
    m_prompt.Beep(1000, 100);
    return m_prompt.AskOkCancel(QString(), LoadString(StringId::NotExportedQuit), IPrompt::EIcon::Warning);
}

void CTalvexDlg::OnLanguageCommand(int lcid)
{
    // Asked before anything is written: Cancel leaves the stored language as it was.
    if (!ConfirmQuit())
        return;
    m_settings.WriteInt(ESetting::Language, lcid);
    m_settings.Sync();
    m_restartPending = 1;
    // Posted, as the window's close box would: the command returns before the window closes.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void CTalvexDlg::OnTransferSettings()
{
    CTransferDlg dialog(ReadTransferSettings(m_settings), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    WriteTransferSettings(m_settings, dialog.Values());
    m_settings.Sync();
}

void CTalvexDlg::OnOpenTransferLog()
{
    const QString path = m_transferLog.Path();
    // Before the first download there is no log yet: an empty one shows where it will be.
    if (!m_transferLog.EnsureExists()) {
        m_prompt.ShowMessage(ApplicationCaption(), MessageString(StringId::TransferLogNotCreated).arg(path),
                             IPrompt::EIcon::Warning);
        return;
    }
    if (!m_fileOpener->Open(path))
        m_prompt.ShowMessage(ApplicationCaption(), MessageString(StringId::TransferLogNotOpened).arg(path),
                             IPrompt::EIcon::Warning);
}

void CTalvexDlg::ShowAbout()
{
    CAboutDlg about(this);
    about.exec();
}

void CTalvexDlg::closeEvent(QCloseEvent* event)
{
    m_gridView->EndEdit();
    if (m_restartPending == 1) {
        // The language command has asked already.
        m_restartPending = 0;
        if (!m_relauncher.Relaunch(QCoreApplication::applicationFilePath(), m_restartArguments)) {
            // Vanishing without a new window would leave the user with nothing; say so and stay.
            m_prompt.ShowMessage(ApplicationCaption(), LoadString(StringId::RestartFailed), IPrompt::EIcon::Warning);
            event->ignore();
            return;
        }
    } else if (!ConfirmQuit()) {
        event->ignore();
        return;
    }
    event->accept();
}

void CTalvexDlg::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_layout.Resize(width(), height());
}
