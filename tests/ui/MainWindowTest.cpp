#include "app/IRelauncher.h"
#include "app/StringTable.h"
#include "support/PresetFileDialogs.h"
#include "support/ScriptedPrompt.h"
#include "support/TempSettings.h"
#include "ui/CAboutDlg.h"
#include "ui/CTalvexDlg.h"
#include "ui/CToolBarEx.h"
#include "ui/CommandIds.h"
#include "ui/grid/CMFCListCtrlEx.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

class CCountingRelauncher final : public IRelauncher
{
public:
    bool Relaunch(const QString&, const QStringList&) override
    {
        ++calls;
        return true;
    }
    int calls = 0;
};

// The window over its own settings, created after the test has stored what it needs.
struct SWindowFixture
{
    CTempSettings settings;
    CScriptedPrompt prompt;
    CCountingRelauncher relauncher;
    CPresetFileDialogs dialogs; // every file dialog is cancelled
    std::optional<CTalvexDlg> window;

    CTalvexDlg& Open()
    {
        window.emplace(settings.Settings(), prompt, relauncher, QStringList());
        window->SetFileDialogs(&dialogs);
        window->show();
        return *window;
    }
};

QStringList MenuTexts(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* item : menu.actions())
        texts << (item->isSeparator() ? QStringLiteral("-") : item->text());
    return texts;
}

QList<int> MenuCommands(const QMenu& menu)
{
    QList<int> commands;
    for (const QAction* item : menu.actions())
        commands << (item->isSeparator() ? 0 : item->data().toInt());
    return commands;
}

TEST(MainWindow, ToolBarButtonsInOrderWithTheirCommands)
{
    SWindowFixture f;
    CTalvexDlg& window = f.Open();
    CToolBarEx& bar = window.ToolBar();
    ASSERT_EQ(bar.ButtonCount(), 8);

    const unsigned texts[] = {StringId::Import, StringId::Export, StringId::Download, StringId::New,
                              StringId::Add,    StringId::Delete, StringId::Setting,  StringId::Language};
    QSignalSpy commands(&bar, &CToolBarEx::commandTriggered);
    for (int n = 0; n < 8; ++n) {
        QToolButton* button = bar.Button(n);
        EXPECT_EQ(button->text(), LoadString(texts[n])) << n;
        EXPECT_FALSE(button->icon().isNull()) << n;
        EXPECT_EQ(button->popupMode() == QToolButton::InstantPopup, n >= 6) << n;
        if (n > 0) {
            EXPECT_EQ(button->x() - bar.Button(n - 1)->geometry().right() - 1, 8) << n;
        }
        // Click near the left edge of each button. No command here asks a question or closes the
        // window; Download and Delete say why they cannot run. Setting and Language open their menus.
        QMenu* opened = nullptr;
        QTimer::singleShot(0, button, [&opened] {
            opened = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (opened)
                opened->close();
        });
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
        QCoreApplication::processEvents();
        EXPECT_EQ(opened, n >= 6 ? bar.DropDownMenu(n) : nullptr) << n;
    }
    const QList<int> expected = {CommandId::Import, CommandId::Export, CommandId::Download,
                                 CommandId::New,    CommandId::Add,    CommandId::Delete};
    QList<int> sent;
    for (const QList<QVariant>& signal : commands)
        sent << signal.at(0).toInt();
    EXPECT_EQ(sent, expected);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(f.prompt.QuestionCount(), 0);
    QStringList told;
    for (const CScriptedPrompt::SMessage& message : f.prompt.messages)
        told << message.text;
    EXPECT_EQ(told, (QStringList{LoadString(StringId::NoData), LoadString(StringId::Unselected)}));
}

TEST(MainWindow, DropDownMenus)
{
    SWindowFixture f;
    CTalvexDlg& window = f.Open();

    const QMenu* setting = window.ToolBar().DropDownMenu(6);
    ASSERT_NE(setting, nullptr);
    EXPECT_EQ(
        MenuTexts(*setting),
        (QStringList{LoadString(StringId::Pricing), LoadString(StringId::Counting), LoadString(StringId::Lim),
                     QStringLiteral("-"), LoadString(StringId::TransferMenu), LoadString(StringId::TransferLogMenu),
                     QStringLiteral("-"), LoadString(StringId::AboutMenu)}));
    EXPECT_EQ(MenuCommands(*setting),
              (QList<int>{CommandId::Pricing, CommandId::Counting, CommandId::Lim, 0, CommandId::TransferSettings,
                          CommandId::TransferLog, 0, CommandId::About}));

    const QMenu* languages = window.ToolBar().DropDownMenu(7);
    ASSERT_NE(languages, nullptr);
    // Every language in its own name, so that a user can always find the way back to their own.
    EXPECT_EQ(MenuTexts(*languages),
              (QStringList{QString::fromUtf8("简体中文"), QString::fromUtf8("繁體中文"), QStringLiteral("English"),
                           QStringLiteral("Español"), QStringLiteral("lingua italiana"), QStringLiteral("Français"),
                           QStringLiteral("Deutsch")}));
    EXPECT_EQ(MenuCommands(*languages), (QList<int>{20010, 20011, 20012, 20013, 20014, 20015, 20016}));
}

struct SCheckState
{
    bool pricing;
    bool counting;
    bool lim;
};

SCheckState SettingChecks(CTalvexDlg& window)
{
    const QList<QAction*> items = window.ToolBar().DropDownMenu(6)->actions();
    return {items.at(0)->isChecked(), items.at(1)->isChecked(), items.at(2)->isChecked()};
}

struct SModeCase
{
    std::optional<int> pluMode; // stored PLUMODE, none when missing
    std::optional<int> limMode;
    SCheckState checks;
};

TEST(MainWindow, SettingMenuShowsTheStoredModeAfterStart)
{
    const SModeCase cases[] = {
        {std::nullopt, std::nullopt, {false, true, false}},
        {0, 0, {true, false, false}},
        {0, 1, {true, false, true}},
        {1, 0, {false, true, false}},
        {1, 1, {false, true, true}},
    };
    for (const SModeCase& c : cases) {
        SWindowFixture f;
        if (c.pluMode)
            f.settings.Settings().WriteInt(ESetting::PluMode, *c.pluMode);
        if (c.limMode)
            f.settings.Settings().WriteInt(ESetting::LimMode, *c.limMode);
        const SCheckState checks = SettingChecks(f.Open());
        const std::string name = "PLUMODE " + (c.pluMode ? std::to_string(*c.pluMode) : "missing") + ", LIMMODE " +
                                 (c.limMode ? std::to_string(*c.limMode) : "missing");
        EXPECT_EQ(checks.pricing, c.checks.pricing) << name;
        EXPECT_EQ(checks.counting, c.checks.counting) << name;
        EXPECT_EQ(checks.lim, c.checks.lim) << name;
    }
}

TEST(MainWindow, SetModeChecksKeepsExactlyOneLayoutChecked)
{
    SWindowFixture f;
    CTalvexDlg& window = f.Open();
    const SModeCase cases[] = {
        {0, 0, {true, false, false}},
        {1, 1, {false, true, true}},
        {0, 1, {true, false, true}},
        {1, 0, {false, true, false}},
    };
    for (const SModeCase& c : cases) {
        window.SetModeChecks(PluLayout::PluModeFromSetting(*c.pluMode), PluLayout::LimitModeFromSetting(*c.limMode));
        const SCheckState checks = SettingChecks(window);
        EXPECT_EQ(checks.pricing, c.checks.pricing) << *c.pluMode << *c.limMode;
        EXPECT_EQ(checks.counting, c.checks.counting) << *c.pluMode << *c.limMode;
        EXPECT_EQ(checks.lim, c.checks.lim) << *c.pluMode << *c.limMode;
    }
}

struct SSelectionCase
{
    const char* name;
    std::optional<int> port;
    std::optional<int> bps;
    int portIndex;
    int baudIndex;
};

TEST(MainWindow, StoredPortAndBaudSelections)
{
    const QStringList ports = {QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyUSB0")};
    const SSelectionCase cases[] = {
        {"first run", std::nullopt, std::nullopt, 0, 1},
        {"stored", 1, 6, 1, 6},
        {"indexes without an entry", 2, 7, -1, -1},
        {"negative indexes", -1, -1, -1, -1},
    };
    for (const SSelectionCase& c : cases) {
        SWindowFixture f;
        if (c.port)
            f.settings.Settings().WriteInt(ESetting::Port, *c.port);
        if (c.bps)
            f.settings.Settings().WriteInt(ESetting::Bps, *c.bps);
        CTalvexDlg& window = f.Open();
        window.SetPortEntries(ports);
        EXPECT_EQ(window.PortIndex(), c.portIndex) << c.name;
        EXPECT_EQ(window.BaudIndex(), c.baudIndex) << c.name;
        EXPECT_EQ(window.EncodingIndex(), 0) << c.name;
    }
}

TEST(MainWindow, FirstRunSelectorsAndLabel)
{
    SWindowFixture f;
    CTalvexDlg& window = f.Open();
    window.SetPortEntries({QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyS1")});
    EXPECT_EQ(window.PortSelector().currentText(), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(window.BaudSelector().currentText(), QStringLiteral("9600"));
    EXPECT_EQ(window.EncodingSelector().currentText(), QStringLiteral("default"));
    EXPECT_EQ(window.BaudSelector().count(), 7);
    EXPECT_EQ(window.EncodingSelector().count(), 4);
    EXPECT_EQ(window.ProgressLabel().text(), QStringLiteral("   "));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Plu download www.talvex.example.com"));
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_FALSE(f.settings.Settings().Contains(ESetting::Port)); // set-up writes no selection
}

TEST(MainWindow, SelectorsAndLabelShareOneLineBetweenToolBarAndGrid)
{
    SWindowFixture f;
    CTalvexDlg& window = f.Open();
    const QWidget* row[] = {&window.PortSelector(), &window.BaudSelector(), &window.EncodingSelector(),
                            &window.ProgressLabel()};
    const int toolBarBottom = window.ToolBar().geometry().bottom();
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_GT(row[i]->y(), toolBarBottom) << i;
        EXPECT_LT(row[i]->geometry().bottom(), window.GridView().y()) << i;
        if (i > 0) {
            EXPECT_GT(row[i]->x(), row[i - 1]->geometry().right()) << i; // side by side, no overlap
        }
    }
    EXPECT_GE(window.PortSelector().width(), 200);
    EXPECT_GE(window.EncodingSelector().width(), window.EncodingSelector().sizeHint().width());
    EXPECT_EQ(window.ToolBar().geometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(window.GridView().geometry().bottom(), window.height() - 1);
    EXPECT_EQ(window.GridView().width(), window.width());
}

TEST(MainWindow, ResizeStretchesGridBothWaysAndToolBarInWidth)
{
    SWindowFixture f;
    CTalvexDlg& window = f.Open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QSize start = window.size();
    const QRect toolBar = window.ToolBar().geometry();
    const QRect grid = window.GridView().geometry();
    const QRect port = window.PortSelector().geometry();
    const QRect baud = window.BaudSelector().geometry();
    const QRect encoding = window.EncodingSelector().geometry();
    const QRect label = window.ProgressLabel().geometry();

    const auto resizeTo = [&](QSize size) {
        window.resize(size);
        QCoreApplication::processEvents();
        ASSERT_EQ(window.size(), size);
    };
    const auto expectFixedControlsUnchanged = [&] {
        EXPECT_EQ(window.PortSelector().geometry(), port);
        EXPECT_EQ(window.BaudSelector().geometry(), baud);
        EXPECT_EQ(window.EncodingSelector().geometry(), encoding);
        EXPECT_EQ(window.ProgressLabel().geometry(), label);
    };

    resizeTo(start + QSize(100, 50));
    EXPECT_EQ(window.ToolBar().geometry(), toolBar.adjusted(0, 0, 100, 0));
    EXPECT_EQ(window.GridView().geometry(), grid.adjusted(0, 0, 100, 50));
    expectFixedControlsUnchanged();

    resizeTo(start - QSize(37, 37));
    EXPECT_EQ(window.ToolBar().geometry(), toolBar.adjusted(0, 0, -37, 0));
    EXPECT_EQ(window.GridView().geometry(), grid.adjusted(0, 0, -37, -37));
    expectFixedControlsUnchanged();

    // Far smaller than the grid, then back: the first layout returns exactly.
    resizeTo(QSize(120, 90));
    EXPECT_EQ(window.GridView().height(), 0);
    resizeTo(start);
    EXPECT_EQ(window.ToolBar().geometry(), toolBar);
    EXPECT_EQ(window.GridView().geometry(), grid);
    expectFixedControlsUnchanged();
}

TEST(MainWindow, ResizingInSmallStepsLeavesNoDrift)
{
    QWidget parent;
    parent.resize(400, 300);
    QWidget half(&parent);
    half.setGeometry(100, 100, 50, 50);
    CLayoutManager layout;
    EXPECT_EQ(layout.Resize(500, 400), 0); // nothing before set-up
    layout.SetUp(&parent);
    layout.AddControl(&half, 50, 50, 50, 50);

    // One pixel at a time, each 50 % share truncates to 0: computing from the present geometry
    // would never move the control.
    for (int grow = 1; grow <= 37; ++grow)
        ASSERT_EQ(layout.Resize(400 + grow, 300 + grow), 1);
    EXPECT_EQ(half.geometry(), QRect(118, 118, 68, 68));
    for (int shrink = 36; shrink >= 0; --shrink)
        layout.Resize(400 + shrink, 300 + shrink);
    EXPECT_EQ(half.geometry(), QRect(100, 100, 50, 50));
}

TEST(MainWindow, LayoutSkipsAControlThatIsGone)
{
    QWidget parent;
    parent.resize(400, 300);
    auto* gone = new QWidget(&parent);
    QWidget kept(&parent);
    kept.setGeometry(0, 0, 10, 10);
    CLayoutManager layout;
    layout.SetUp(&parent);
    layout.AddControl(gone, 0, 0, 100, 100);
    layout.AddControl(&kept, 0, 0, 100, 100);
    delete gone;
    EXPECT_EQ(layout.Resize(410, 310), 1);
    EXPECT_EQ(kept.geometry(), QRect(0, 0, 20, 20));
}

TEST(MainWindow, EnterAndEscapeDoNotCloseTheWindow)
{
    SWindowFixture f;
    CTalvexDlg& window = f.Open();
    window.SetPortEntries({QStringLiteral("/dev/ttyS0")});
    for (QWidget* target : {static_cast<QWidget*>(&window), static_cast<QWidget*>(&window.PortSelector()),
                            static_cast<QWidget*>(&window.GridView())}) {
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(target, key);
            QCoreApplication::processEvents();
            EXPECT_TRUE(window.isVisible()) << target->metaObject()->className() << " key " << key;
        }
    }
    EXPECT_TRUE(f.prompt.messages.empty());
}

TEST(MainWindow, CloseWithoutUnexportedChangesAsksNothing)
{
    SWindowFixture f;
    CTalvexDlg& window = f.Open();
    EXPECT_TRUE(window.close());
    EXPECT_TRUE(f.prompt.messages.empty());
}

TEST(MainWindow, CloseWithUnexportedChangesAsksAndCancelKeepsTheWindow)
{
    SWindowFixture f;
    CTalvexDlg& window = f.Open();
    window.SetUnexportedChanges(1);

    f.prompt.AnswerNext(false);
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    ASSERT_EQ(f.prompt.QuestionCount(), 1);
    EXPECT_EQ(f.prompt.messages.back().text, LoadString(StringId::NotExportedQuit));
    EXPECT_EQ(f.prompt.messages.back().icon, IPrompt::EIcon::Warning);
    EXPECT_EQ(f.prompt.beeps, 1);

    f.prompt.AnswerNext(true);
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(f.prompt.QuestionCount(), 2);
    EXPECT_EQ(f.relauncher.calls, 0);
}

TEST(MainWindow, LanguageCommandWithUnexportedChangesAsksBeforeWritingAnything)
{
    SWindowFixture f;
    f.settings.Settings().WriteInt(ESetting::Language, 12);
    CTalvexDlg& window = f.Open();
    window.SetUnexportedChanges(1);

    f.prompt.AnswerNext(false);
    EXPECT_TRUE(window.OnCommand(CommandId::LanguageGerman));
    QCoreApplication::processEvents();
    EXPECT_EQ(f.prompt.QuestionCount(), 1);
    EXPECT_EQ(f.prompt.messages.back().text, LoadString(StringId::NotExportedQuit));
    EXPECT_EQ(f.settings.Settings().ReadInt(ESetting::Language), 12);
    EXPECT_FALSE(window.IsRestartPending());
    EXPECT_EQ(f.relauncher.calls, 0);
    EXPECT_TRUE(window.isVisible());

    // OK: stored, restarted, and the close that follows does not ask a second time.
    f.prompt.AnswerNext(true);
    window.OnCommand(CommandId::LanguageGerman);
    QCoreApplication::processEvents();
    EXPECT_EQ(f.prompt.QuestionCount(), 2);
    EXPECT_EQ(f.settings.Settings().ReadInt(ESetting::Language), 7);
    EXPECT_EQ(f.relauncher.calls, 1);
    EXPECT_FALSE(window.isVisible());
}

TEST(MainWindow, EveryCommandIsDispatched)
{
    SWindowFixture f;
    CTalvexDlg& window = f.Open();
    // Commands that neither ask nor close; About and the languages have tests of their own.
    for (const int command :
         {CommandId::Import, CommandId::Export, CommandId::Download, CommandId::Setting, CommandId::Language,
          CommandId::New, CommandId::Add, CommandId::Delete, CommandId::Pricing, CommandId::Counting, CommandId::Lim})
        EXPECT_TRUE(window.OnCommand(command)) << command;
    EXPECT_FALSE(window.OnCommand(20009));
    EXPECT_FALSE(window.OnCommand(0));
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.IsRestartPending());
}

// Runs the action and returns the title of the about box that it opened (closed again at once),
// or nothing when no about box came up.
std::optional<QString> AboutBoxOpenedBy(const std::function<void()>& action)
{
    std::optional<QString> title;
    QTimer::singleShot(0, [&] {
        if (auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget())) {
            title = about->windowTitle();
            about->accept();
        }
    });
    action();
    QCoreApplication::processEvents();
    return title;
}

TEST(MainWindow, AboutBoxFromTheSettingMenuAndF1)
{
    SWindowFixture f;
    CTalvexDlg& window = f.Open();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    QAction* about = window.ToolBar().DropDownMenu(6)->actions().last();
    const std::optional<QString> fromMenu = AboutBoxOpenedBy([&] { about->trigger(); });
    ASSERT_TRUE(fromMenu.has_value());
    EXPECT_EQ(*fromMenu, QStringLiteral("About Talvex"));

    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const std::optional<QString> fromKey = AboutBoxOpenedBy([&] { QTest::keyClick(&window, Qt::Key_F1); });
    EXPECT_TRUE(fromKey.has_value());
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(CAboutDlg::VersionText().isEmpty());
}

} // namespace
