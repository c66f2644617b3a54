#include "app/IRelauncher.h"
#include "app/Language.h"
#include "app/StringTable.h"
#include "support/PresetFileDialogs.h"
#include "support/ScriptedPrompt.h"
#include "support/TempSettings.h"
#include "ui/CTalvexDlg.h"
#include "ui/CToolBarEx.h"
#include "ui/CommandIds.h"
#include "ui/grid/CMFCListCtrlEx.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <optional>
#include <utility>

namespace {

class CNoRelauncher final : public IRelauncher
{
public:
    bool Relaunch(const QString&, const QStringList&) override { return true; }
};

struct SCommandsFixture
{
    CTempSettings settings;
    CScriptedPrompt prompt;
    CNoRelauncher relauncher;
    CPresetFileDialogs dialogs;
    std::optional<CTalvexDlg> window;

    CTalvexDlg& Open()
    {
        window.emplace(settings.Settings(), prompt, relauncher, QStringList());
        window->SetFileDialogs(&dialogs);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&*window));
        return *window;
    }

    // Types a PLU No. and a value into the entry row, which completes it.
    void CompleteEntryRow(const QString& plu)
    {
        CGridModel& grid = window->Grid();
        const int row = grid.RowCount() - 1;
        grid.CommitEdit(row, 1, plu);
        grid.CommitEdit(row, 2, QStringLiteral("1.5"));
    }

    void ClickCell(int row, int column)
    {
        CMFCListCtrlEx& view = window->GridView();
        const QRect cell = view.visualRect(window->Grid().index(row, column));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cell.center());
        view.EndEdit();
    }
};

TEST(WindowCommands, DeleteLeavesNoRowMarkedAndTheButtonNeverHoldsTheFocus)
{
    SCommandsFixture f;
    CTalvexDlg& window = f.Open();
    for (const char* plu : {"1", "2", "3"})
        f.CompleteEntryRow(QString::fromLatin1(plu));
    ASSERT_EQ(window.Grid().RowCount(), 4);

    f.ClickCell(1, 3);
    QToolButton* deleteButton = window.ToolBar().Button(5);
    QTest::mouseClick(deleteButton, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(window.Grid().RowCount(), 3);
    EXPECT_EQ(window.Grid().CellText(1, 1), QStringLiteral("3"));
    EXPECT_EQ(window.Grid().SelectionMark(), -1);
    EXPECT_TRUE(window.GridView().selectionModel()->selectedRows().isEmpty());
    EXPECT_NE(QApplication::focusWidget(), deleteButton);

    // Neither a second click nor Space or Enter deletes another row: the user is told to choose one.
    QTest::mouseClick(deleteButton, Qt::LeftButton, {}, QPoint(5, 5));
    if (QWidget* focus = QApplication::focusWidget()) {
        QTest::keyClick(focus, Qt::Key_Space);
        window.GridView().EndEdit();
    }
    EXPECT_EQ(window.Grid().RowCount(), 3);
    ASSERT_EQ(f.prompt.MessageCount(), 1);
    EXPECT_EQ(f.prompt.messages.front().text, LoadString(StringId::Unselected));
    for (int n = 0; n < window.ToolBar().ButtonCount(); ++n)
        EXPECT_EQ(window.ToolBar().Button(n)->focusPolicy(), Qt::NoFocus) << n;
}

TEST(WindowCommands, AddTwiceThenSortLeavesTheEmptyRowsAtTheEnd)
{
    SCommandsFixture f;
    CTalvexDlg& window = f.Open();
    f.CompleteEntryRow(QStringLiteral("9"));
    f.CompleteEntryRow(QStringLiteral("4"));
    window.OnCommand(CommandId::Add);
    window.OnCommand(CommandId::Add);
    ASSERT_EQ(window.Grid().RowCount(), 5);

    QHeaderView* header = window.GridView().horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    QStringList plus;
    for (int row = 0; row < window.Grid().RowCount(); ++row)
        plus << window.Grid().CellText(row, 1);
    EXPECT_EQ(plus, (QStringList{QStringLiteral("4"), QStringLiteral("9"), QString(), QString(), QString()}));
}

TEST(WindowCommands, PastingLinesIntoTheEntryRowAddsARowForEach)
{
    SCommandsFixture f;
    CTalvexDlg& window = f.Open();
    QGuiApplication::clipboard()->setText(QStringLiteral("11\n12\n13"));
    window.GridView().SelectCell(0, 1, true);
    window.GridView().Paste();
    ASSERT_EQ(window.Grid().RowCount(), 3);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(window.Grid().CellText(row, 0), QString::number(row + 1));
        EXPECT_EQ(window.Grid().CellText(row, 1), QString::number(11 + row));
    }
}

TEST(WindowCommands, TheChineseItemsOfTheLanguageMenuStoreTheirLanguage)
{
    for (const auto& [item, lcid] :
         {std::pair{0, Language::kSimplifiedChinese}, std::pair{1, Language::kTraditionalChineseHongKong}}) {
        SCommandsFixture f;
        CTalvexDlg& window = f.Open();
        window.ToolBar().DropDownMenu(7)->actions().at(item)->trigger();
        EXPECT_EQ(f.settings.Settings().ReadInt(ESetting::Language), lcid);
        EXPECT_TRUE(window.IsRestartPending());
        QCoreApplication::processEvents();
    }
}

TEST(WindowCommands, ALanguageNameWithoutARegionGivesThatLanguage)
{
    const QByteArray savedLanguage = qgetenv("LANGUAGE");
    const bool hadLanguage = qEnvironmentVariableIsSet("LANGUAGE");
    const int languageBefore = Language::LanguageInForce();
    qputenv("LANGUAGE", "de");

    // As start-up does on a first run: nothing stored, the user's own language stays.
    SCommandsFixture f;
    Language::SetLanguageInForce(
        Language::ChooseLanguage(f.settings.Settings().ReadInt(ESetting::Language), Language::SystemLcid()));
    CTalvexDlg& window = f.Open();
    EXPECT_EQ(window.ToolBar().Button(0)->text(), QStringLiteral("Importieren"));
    EXPECT_EQ(window.Grid().ColumnTitle(1), QStringLiteral("PLU-Nummer"));

    Language::SetLanguageInForce(languageBefore);
    if (hadLanguage)
        qputenv("LANGUAGE", savedLanguage);
    else
        qunsetenv("LANGUAGE");
}

TEST(WindowCommands, ANarrowWindowKeepsEveryCommandWithinReach)
{
    SCommandsFixture f;
    CTalvexDlg& window = f.Open();
    for (int width : {500, 520}) {
        window.resize(width, 400);
        QCoreApplication::processEvents();
        CToolBarEx& bar = window.ToolBar();
        ASSERT_TRUE(bar.OverflowButton()->isVisible()) << width;
        EXPECT_LE(bar.OverflowButton()->geometry().right(), bar.width() - 1) << width;
        QStringList reachable;
        for (int n = 0; n < bar.ButtonCount(); ++n) {
            if (bar.Button(n)->isVisible()) {
                EXPECT_LT(bar.Button(n)->geometry().right(), bar.OverflowButton()->x()) << width;
                reachable << bar.Button(n)->text();
            }
        }
        for (const QAction* item : bar.OverflowMenu()->actions())
            reachable << item->text();
        EXPECT_EQ(reachable, (QStringList{LoadString(StringId::Import), LoadString(StringId::Export),
                                          LoadString(StringId::Download), LoadString(StringId::New),
                                          LoadString(StringId::Add), LoadString(StringId::Delete),
                                          LoadString(StringId::Setting), LoadString(StringId::Language)}))
            << width;
    }
    // The mode is changed from the overflow menu's Setting submenu.
    QMenu* setting = nullptr;
    for (const QAction* item : window.ToolBar().OverflowMenu()->actions()) {
        if (item->menu() == window.ToolBar().DropDownMenu(6))
            setting = item->menu();
    }
    ASSERT_NE(setting, nullptr);
    setting->actions().at(0)->trigger();
    EXPECT_EQ(window.Table().PluMode(), EPluMode::Pricing);
}

struct SDiscardCase
{
    const char* name;
    int command;
    unsigned question;
};

class DiscardQuestion : public ::testing::TestWithParam<SDiscardCase>
{
};

TEST_P(DiscardQuestion, SaysWhatHappensAndAcceptingLeavesNothingToAskOnClose)
{
    SCommandsFixture f;
    QTemporaryDir dir;
    f.dialogs.openPath = dir.filePath(QStringLiteral("table.csv"));
    QFile file(f.dialogs.openPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("PLU No.,Unit weight,Goods Id,Goods Name,Specification\n5,0.25,A5,Bolts,steel\n");
    file.close();

    CTalvexDlg& window = f.Open();
    f.CompleteEntryRow(QStringLiteral("1"));
    ASSERT_EQ(window.UnexportedChanges(), 1);

    f.prompt.AnswerNext(false);
    window.OnCommand(GetParam().command);
    ASSERT_EQ(f.prompt.QuestionCount(), 1);
    EXPECT_EQ(f.prompt.messages.back().text, LoadString(GetParam().question));
    EXPECT_EQ(window.Grid().CellText(0, 1), QStringLiteral("1")); // Cancel keeps the row

    f.prompt.AnswerNext(true);
    window.OnCommand(GetParam().command);
    EXPECT_EQ(f.prompt.QuestionCount(), 2);
    EXPECT_EQ(window.UnexportedChanges(), 0);
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(f.prompt.QuestionCount(), 2); // closing asked nothing
}

INSTANTIATE_TEST_SUITE_P(Commands, DiscardQuestion,
                         ::testing::Values(SDiscardCase{"New", CommandId::New, StringId::NotExportedNew},
                                           SDiscardCase{"Pricing", CommandId::Pricing, StringId::NotExportedModeChange},
                                           SDiscardCase{"Lim", CommandId::Lim, StringId::NotExportedModeChange},
                                           SDiscardCase{"Import", CommandId::Import, StringId::NotExportedImport}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WindowCommands, TheQuestionsOfNewModeChangeAndImportDifferInEveryLanguage)
{
    for (int lcid : {9, 7, 10, 12, 16, 2052, 3076}) {
        const QString questions[] = {LoadString(StringId::NotExportedNew, lcid),
                                     LoadString(StringId::NotExportedModeChange, lcid),
                                     LoadString(StringId::NotExportedImport, lcid)};
        EXPECT_NE(questions[0], questions[1]) << lcid;
        EXPECT_NE(questions[0], questions[2]) << lcid;
        EXPECT_NE(questions[1], questions[2]) << lcid;
    }
}

} // namespace
