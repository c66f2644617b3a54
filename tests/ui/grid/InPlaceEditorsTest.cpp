#include "ui/grid/CComboBoxExt.h"
#include "ui/grid/CComboBoxMCExt.h"
#include "ui/grid/CMFCListCtrlEx.h"
#include "ui/grid/CMonthCalCtrlEx.h"
#include "ui/grid/CMultiLineEditEx.h"
#include "ui/grid/CRichEditCtrlEx.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace {

// Columns of the test grid, one per editor kind; column 0 has no editor.
enum EColumn
{
    kNumber = 0,
    kMultiLine,
    kCombo,
    kDropList,
    kMultiColumn,
    kRichText,
    kPlain,
    kDate, // last, so that the calendar has room to its left
    kColumnCount,
};

const QString kFruits = QStringLiteral("Apple$Banana$cherry");
const QString kNumbers = QStringLiteral("12\tTwelve$A|B$|B");

// A small grid with one editable column per editor kind, three rows, shown in a window.
struct SEditorGrid
{
    CGridModel grid;
    CMFCListCtrlEx view;

    SEditorGrid()
    {
        for (int column = 0; column < kColumnCount; ++column)
            grid.InsertColumn(column, QStringLiteral("c%1").arg(column), 80);
        const int types[kColumnCount] = {-1,           CET_MULTILINE, CET_COMBO, CET_DROPLIST, CET_MULTICOLUMN,
                                         CET_RICHEDIT, CET_EDIT,      CET_DATE};
        for (int row = 0; row < 3; ++row) {
            grid.InsertRow(row, QString::number(row + 1));
            for (int column = 1; column < kColumnCount; ++column) {
                SEditCtrl record;
                record.nRow = row;
                record.nCol = column;
                record.nType = types[column];
                if (column == kCombo || column == kDropList)
                    record.strList = kFruits;
                else if (column == kMultiColumn)
                    record.strList = kNumbers;
                grid.SetCellRecord(record);
            }
        }
        grid.SetCellText(0, kMultiLine, QStringLiteral("two\nlines"));
        grid.SetCellText(0, kCombo, QStringLiteral("Banana"));
        grid.SetCellText(0, kDropList, QStringLiteral("Apple"));
        grid.SetCellText(0, kMultiColumn, QStringLiteral("A"));
        grid.SetCellText(0, kRichText, QStringLiteral("rich"));
        grid.SetCellText(0, kPlain, QStringLiteral("plain"));
        grid.SetCellText(0, kDate, QStringLiteral("2019-08-13"));

        view.SetGrid(&grid);
        view.resize(760, 300);
        view.show();
        view.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&view));
    }

    QRect CellRect(int row, int column) const { return view.visualRect(grid.index(row, column)); }

    void Click(int row, int column)
    {
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, CellRect(row, column).center());
    }

    template <typename TEditor>
    TEditor* Open(int row, int column)
    {
        Click(row, column);
        return qobject_cast<TEditor*>(view.Editor());
    }

    // Where keys go: the open list of a combo, else the widget with the focus.
    static QWidget* KeyTarget()
    {
        if (QWidget* popup = QApplication::activePopupWidget())
            return popup->focusWidget() ? popup->focusWidget() : popup;
        return QApplication::focusWidget();
    }

    static void Key(Qt::Key key) { QTest::keyClick(KeyTarget(), key); }
    static void Type(const QString& text) { QTest::keyClicks(KeyTarget(), text); }

    // Clicks the item of an open combo's list.
    static void ChooseItem(QComboBox* combo, int item)
    {
        QAbstractItemView* list = combo->view();
        ASSERT_TRUE(list->isVisible());
        // A release right after the list opened counts as the end of the click that opened it.
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        const QRect rect = list->visualRect(list->model()->index(item, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }

    // Clicks a day of the month shown by the calendar.
    static void ClickDay(QCalendarWidget* calendar, int day)
    {
        auto* days = calendar->findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"));
        ASSERT_NE(days, nullptr);
        const QAbstractItemModel* model = days->model();
        for (int row = 1; row < model->rowCount(); ++row) {
            for (int column = 0; column < model->columnCount(); ++column) {
                const QModelIndex index = model->index(row, column);
                if (index.data().toString() == QString::number(day)) {
                    QTest::mouseClick(days->viewport(), Qt::LeftButton, {}, days->visualRect(index).center());
                    return;
                }
            }
        }
        FAIL() << "day " << day << " is not shown";
    }
};

struct SEscapeCase
{
    const char* name;
    int column;
    std::function<void(QWidget* editor)> change; // something the user does before Escape
};

void PrintTo(const SEscapeCase& escapeCase, std::ostream* out)
{
    *out << escapeCase.name;
}

class EscapeInEveryEditor : public ::testing::TestWithParam<SEscapeCase>
{
};

TEST_P(EscapeInEveryEditor, LeavesTheCellUnchangedAndSendsNothing)
{
    const SEscapeCase& escapeCase = GetParam();
    SEditorGrid fixture;
    const QString before = fixture.grid.CellText(0, escapeCase.column);
    QSignalSpy changed(&fixture.grid, &CGridModel::cellChanged);

    fixture.Click(0, escapeCase.column);
    QWidget* editor = fixture.view.Editor();
    ASSERT_NE(editor, nullptr);
    escapeCase.change(editor);
    SEditorGrid::Key(Qt::Key_Escape);

    EXPECT_FALSE(fixture.view.IsEditing());
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(fixture.grid.CellText(0, escapeCase.column), before);
    EXPECT_EQ(changed.count(), 0);
    // The grid has the focus again; losing it now stores nothing either.
    EXPECT_TRUE(fixture.view.hasFocus());
    fixture.view.clearFocus();
    EXPECT_EQ(changed.count(), 0);
}

const SEscapeCase kEscapeCases[] = {
    {"SingleLine", kPlain, [](QWidget*) { SEditorGrid::Type(QStringLiteral("typed")); }},
    {"MultiLine", kMultiLine,
     [](QWidget*) {
         SEditorGrid::Type(QStringLiteral("a"));
         SEditorGrid::Key(Qt::Key_Return);
         SEditorGrid::Type(QStringLiteral("b"));
     }},
    {"RichText", kRichText, [](QWidget*) { SEditorGrid::Type(QStringLiteral("typed")); }},
    {"EditableCombo", kCombo, [](QWidget*) { SEditorGrid::Type(QStringLiteral("typed")); }},
    {"EditableComboOpenList", kCombo,
     [](QWidget* editor) {
         static_cast<QComboBox*>(editor)->showPopup();
         SEditorGrid::Key(Qt::Key_Down);
     }},
    {"ListOnlyCombo", kDropList, [](QWidget*) { SEditorGrid::Key(Qt::Key_Down); }},
    {"MultiColumnCombo", kMultiColumn, [](QWidget*) { SEditorGrid::Key(Qt::Key_Down); }},
    {"Calendar", kDate, [](QWidget*) { SEditorGrid::Key(Qt::Key_Right); }},
};

INSTANTIATE_TEST_SUITE_P(Editors, EscapeInEveryEditor, ::testing::ValuesIn(kEscapeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(InPlaceEditors, EachCellTypeOpensItsEditorOverTheCell)
{
    SEditorGrid fixture;
    struct SKind
    {
        int column;
        const char* className;
    };
    const SKind kinds[] = {{kMultiLine, "CMultiLineEditEx"}, {kCombo, "CComboBoxExt"},
                           {kDropList, "CComboBoxExt"},      {kMultiColumn, "CComboBoxMCExt"},
                           {kRichText, "CRichEditCtrlEx"},   {kPlain, "CEditEx"}};
    for (const SKind& kind : kinds) {
        fixture.Click(1, kind.column);
        QWidget* editor = fixture.view.Editor();
        ASSERT_NE(editor, nullptr) << kind.className;
        EXPECT_STREQ(editor->metaObject()->className(), kind.className);
        EXPECT_EQ(editor->geometry(), fixture.CellRect(1, kind.column)) << kind.className;
        EXPECT_EQ(fixture.view.EditColumn(), kind.column);
        SEditorGrid::Key(Qt::Key_Escape);
    }
    fixture.Click(1, kNumber);
    EXPECT_FALSE(fixture.view.IsEditing());
}

TEST(InPlaceEditors, OnlyOneEditorIsOpenAtATime)
{
    SEditorGrid fixture;
    QSignalSpy changed(&fixture.grid, &CGridModel::cellChanged);
    auto* combo = fixture.Open<CComboBoxExt>(1, kCombo);
    ASSERT_NE(combo, nullptr);
    combo->lineEdit()->selectAll();
    SEditorGrid::Type(QStringLiteral("Durian"));
    fixture.Click(1, kRichText);
    EXPECT_FALSE(combo->isVisible());
    EXPECT_EQ(fixture.grid.CellText(1, kCombo), QStringLiteral("Durian"));
    EXPECT_EQ(changed.count(), 1);

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    int visibleEditors = 0;
    for (QWidget* child : fixture.view.viewport()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        visibleEditors += child->isVisible() ? 1 : 0;
    EXPECT_EQ(visibleEditors, 1);
    EXPECT_NE(qobject_cast<CRichEditCtrlEx*>(fixture.view.Editor()), nullptr);
}

// ---- text editors ----

TEST(InPlaceEditors, MultiLineEditorTakesLineBreaksAndCommitsOnFocusLoss)
{
    SEditorGrid fixture;
    auto* editor = fixture.Open<CMultiLineEditEx>(0, kMultiLine);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("two\nlines"));
    EXPECT_EQ(editor->textCursor().selectedText().size(), QStringLiteral("two\nlines").size()); // all selected
    QTest::keyClicks(editor, QStringLiteral("one"));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_TRUE(fixture.view.IsEditing()); // Enter is a line break here
    QTest::keyClicks(editor, QStringLiteral("two"));

    QSignalSpy changed(&fixture.grid, &CGridModel::cellChanged);
    fixture.view.setFocus();
    EXPECT_FALSE(fixture.view.IsEditing());
    EXPECT_EQ(fixture.grid.CellText(0, kMultiLine), QStringLiteral("one\ntwo"));
    EXPECT_EQ(changed.count(), 1);
}

TEST(InPlaceEditors, RichTextEditorOpensWithTheCaretAtTheEnd)
{
    SEditorGrid fixture;
    auto* editor = fixture.Open<CRichEditCtrlEx>(0, kRichText);
    ASSERT_NE(editor, nullptr);
    EXPECT_FALSE(editor->textCursor().hasSelection());
    EXPECT_EQ(editor->textCursor().position(), 4);
    QTest::keyClicks(editor, QStringLiteral(" text"));
    fixture.Click(2, kNumber);
    EXPECT_EQ(fixture.grid.CellText(0, kRichText), QStringLiteral("rich text"));
}

TEST(InPlaceEditors, TextEditorsHoldAtMost254Characters)
{
    SEditorGrid fixture;
    const QString longText(300, QLatin1Char('x'));
    for (int column : {kMultiLine, kRichText}) {
        fixture.grid.SetCellText(1, column, longText);
        fixture.Click(1, column);
        QWidget* editor = fixture.view.Editor();
        ASSERT_NE(editor, nullptr);
        const auto text = [editor] {
            if (auto* plain = qobject_cast<CMultiLineEditEx*>(editor))
                return plain->toPlainText();
            return qobject_cast<CRichEditCtrlEx*>(editor)->toPlainText();
        };
        EXPECT_EQ(text().size(), 254) << column;
        // Closing without an edit keeps the whole cell.
        fixture.view.setFocus();
        EXPECT_EQ(fixture.grid.CellText(1, column), longText) << column;

        // Typing past the limit keeps what fits.
        fixture.grid.SetCellText(1, column, QString(250, QLatin1Char('y')));
        fixture.Click(1, column);
        editor = fixture.view.Editor();
        QTest::keyClick(editor, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(editor, QStringLiteral("abcdefgh"));
        fixture.view.setFocus();
        EXPECT_EQ(fixture.grid.CellText(1, column), QString(250, QLatin1Char('y')) + QStringLiteral("abcd")) << column;
    }
}

// ---- combos ----

struct SComboOpening
{
    const char* name;
    QString cellText;
    QString currentText;
    int count; // items after opening
};

void PrintTo(const SComboOpening& opening, std::ostream* out)
{
    *out << opening.name;
}

class ComboOpening : public ::testing::TestWithParam<SComboOpening>
{
};

TEST_P(ComboOpening, SelectsTheItemBeginningWithTheCellTextOrAddsIt)
{
    const SComboOpening& opening = GetParam();
    for (int column : {kCombo, kDropList}) {
        SEditorGrid fixture;
        fixture.grid.SetCellText(2, column, opening.cellText);
        auto* combo = fixture.Open<CComboBoxExt>(2, column);
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(combo->currentText(), opening.currentText) << column;
        EXPECT_EQ(combo->count(), opening.count) << column;
        EXPECT_EQ(combo->view()->isVisible(), column == kDropList); // the list-only kind drops down at once
        SEditorGrid::Key(Qt::Key_Escape);
    }
}

const SComboOpening kComboOpenings[] = {
    {"PrefixIgnoringCase", QStringLiteral("bAN"), QStringLiteral("Banana"), 3},
    {"WholeItem", QStringLiteral("cherry"), QStringLiteral("cherry"), 3},
    {"EmptyCellTakesTheFirstItem", QString(), QStringLiteral("Apple"), 3},
    {"UnknownTextIsAddedLast", QStringLiteral("Kiwi"), QStringLiteral("Kiwi"), 4},
};

INSTANTIATE_TEST_SUITE_P(Cells, ComboOpening, ::testing::ValuesIn(kComboOpenings),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(InPlaceEditors, ChoosingAnItemOfAListOnlyComboCommitsAtOnce)
{
    SEditorGrid fixture;
    QSignalSpy changed(&fixture.grid, &CGridModel::cellChanged);
    auto* combo = fixture.Open<CComboBoxExt>(0, kDropList);
    ASSERT_NE(combo, nullptr);
    SEditorGrid::ChooseItem(combo, 2);
    EXPECT_FALSE(fixture.view.IsEditing());
    EXPECT_EQ(fixture.grid.CellText(0, kDropList), QStringLiteral("cherry"));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0), (QVariantList{0, kDropList}));
}

TEST(InPlaceEditors, EditableComboCommitsWhatIsTypedOnEnter)
{
    SEditorGrid fixture;
    auto* combo = fixture.Open<CComboBoxExt>(0, kCombo);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->lineEdit()->maxLength(), 254);
    combo->lineEdit()->selectAll();
    SEditorGrid::Type(QStringLiteral("Durian"));
    SEditorGrid::Key(Qt::Key_Return);
    EXPECT_FALSE(fixture.view.IsEditing());
    EXPECT_EQ(fixture.grid.CellText(0, kCombo), QStringLiteral("Durian"));
}

TEST(InPlaceEditors, ComboKeepsALongCellUnlessAnotherItemIsChosen)
{
    SEditorGrid fixture;
    const QString longText(300, QLatin1Char('z'));
    fixture.grid.SetCellText(1, kDropList, longText);
    QSignalSpy changed(&fixture.grid, &CGridModel::cellChanged);
    ASSERT_NE(fixture.Open<CComboBoxExt>(1, kDropList), nullptr);
    fixture.Click(2, kNumber);
    EXPECT_EQ(fixture.grid.CellText(1, kDropList), longText);
    EXPECT_EQ(changed.count(), 0);
}

struct SMultiColumnCase
{
    const char* name;
    int item;
    QString stored;
};

void PrintTo(const SMultiColumnCase& multiColumnCase, std::ostream* out)
{
    *out << multiColumnCase.name;
}

class MultiColumnChoice : public ::testing::TestWithParam<SMultiColumnCase>
{
};

TEST_P(MultiColumnChoice, StoresTheFirstColumnOfTheChosenItem)
{
    const SMultiColumnCase& choice = GetParam();
    SEditorGrid fixture;
    auto* combo = fixture.Open<CComboBoxMCExt>(1, kMultiColumn);
    ASSERT_NE(combo, nullptr);
    SEditorGrid::ChooseItem(combo, choice.item);
    EXPECT_FALSE(fixture.view.IsEditing());
    EXPECT_EQ(fixture.grid.CellText(1, kMultiColumn), choice.stored);
}

const SMultiColumnCase kMultiColumnCases[] = {
    {"CutAtTheTab", 0, QStringLiteral("12")},
    {"CutAtTheBar", 1, QStringLiteral("A")},
    {"BarFirstKeepsTheWholeItem", 2, QStringLiteral("|B")},
};

INSTANTIATE_TEST_SUITE_P(Items, MultiColumnChoice, ::testing::ValuesIn(kMultiColumnCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- calendar ----

TEST(InPlaceEditors, CalendarOpensOnTheCellsDateAndStoresTheChosenDay)
{
    SEditorGrid fixture;
    QSignalSpy changed(&fixture.grid, &CGridModel::cellChanged);
    auto* calendar = fixture.Open<CMonthCalCtrlEx>(0, kDate);
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->selectedDate(), QDate(2019, 8, 13));
    EXPECT_EQ(calendar->size(), QSize(270, 160));
    EXPECT_EQ(calendar->geometry().topRight(), fixture.CellRect(0, kDate).topRight());

    SEditorGrid::ClickDay(calendar, 20);
    EXPECT_FALSE(fixture.view.IsEditing());
    EXPECT_EQ(fixture.grid.CellText(0, kDate), QStringLiteral("2019-08-20"));
    EXPECT_EQ(changed.count(), 1);
}

TEST(InPlaceEditors, CalendarWithoutRoomOnTheLeftStaysInsideTheGrid)
{
    SEditorGrid fixture;
    SEditCtrl record;
    record.nRow = 2;
    record.nCol = kMultiLine;
    record.nType = CET_DATE;
    fixture.grid.SetCellRecord(record);
    fixture.grid.SetCellText(2, kMultiLine, QStringLiteral("2020-02-29"));
    auto* calendar = fixture.Open<CMonthCalCtrlEx>(2, kMultiLine);
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->selectedDate(), QDate(2020, 2, 29));
    EXPECT_EQ(calendar->geometry().left(), 0);
    EXPECT_TRUE(fixture.view.viewport()->rect().contains(calendar->geometry()));
    // Losing the focus stores the selected date as it is written in the cell.
    fixture.view.setFocus();
    EXPECT_EQ(fixture.grid.CellText(2, kMultiLine), QStringLiteral("2020-02-29"));
}

} // namespace
