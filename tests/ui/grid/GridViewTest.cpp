#include "ui/grid/CEditEx.h"
#include "ui/grid/CMFCListCtrlEx.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <ostream>

namespace {

constexpr int kColumns = 9;
constexpr int kRows = 4;
constexpr int kLastEditable = 4;
constexpr int kCheckColumn = 8;

QString Text(int row, int column)
{
    return QStringLiteral("r%1c%2").arg(row).arg(column);
}

// A window with a toolbar button above a grid of four rows: columns 1, 2 and 4 editable, column 3
// not, column 8 a check cell (checked in row 1, locked in row 2); every row with a colour of its own.
struct SGridViewFixture
{
    CGridModel grid;
    QWidget window;
    QToolButton* button = new QToolButton(&window);
    CMFCListCtrlEx* view = new CMFCListCtrlEx(&window);

    SGridViewFixture()
    {
        for (int column = 0; column < kColumns; ++column)
            grid.InsertColumn(column, QStringLiteral("c%1").arg(column), 40 + 5 * column);
        grid.SetCheckColumn(kCheckColumn);
        for (int row = 0; row < kRows; ++row) {
            grid.InsertRow(row, Text(row, 0));
            for (int column = 1; column < kColumns - 1; ++column)
                grid.SetCellText(row, column, Text(row, column));
            grid.SetCellEditable(row, 1);
            grid.SetCellEditable(row, 2);
            grid.SetCellEditable(row, kLastEditable);
            grid.SetCheckCell(row, row == 1 ? 1 : 0);
            grid.SetRowColor(row, PackRgb(200 + 10 * row, 220, 180));
        }
        SEditCtrl locked = *grid.FindCellRecord(2, kCheckColumn);
        locked.nLocked = 1;
        grid.SetCellRecord(locked);

        button->setText(QStringLiteral("New"));
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(button);
        layout->addWidget(view);
        view->SetGrid(&grid);
        window.resize(700, 300);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    QPoint CellCentre(int row, int column) const { return view->visualRect(grid.index(row, column)).center(); }

    void Click(int row, int column)
    {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, CellCentre(row, column));
    }

    CEditEx* Editor() const { return qobject_cast<CEditEx*>(view->Editor()); }

    QImage Paint()
    {
        QImage image(view->viewport()->size(), QImage::Format_RGB32);
        view->viewport()->render(&image);
        return image;
    }
};

TEST(GridView, ShowsTheModelsColumnsWithFixedRowsAndRowSelection)
{
    SGridViewFixture fixture;
    CMFCListCtrlEx& view = *fixture.view;
    for (int column = 0; column < kColumns; ++column)
        EXPECT_EQ(view.columnWidth(column), 40 + 5 * column) << column;
    fixture.grid.InsertColumn(kColumns, QStringLiteral("late"), 123);
    EXPECT_EQ(view.columnWidth(kColumns), 123);

    EXPECT_EQ(view.rowHeight(0), 18);
    EXPECT_EQ(view.rowHeight(kRows - 1), 18);
    EXPECT_FALSE(view.verticalHeader()->isVisible());
    EXPECT_TRUE(view.showGrid());
    EXPECT_EQ(view.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(view.selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(view.horizontalHeader()->defaultAlignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);

    // Deleting all rows keeps what the user made of the widths.
    view.setColumnWidth(1, 200);
    fixture.grid.ClearRows();
    EXPECT_EQ(view.columnWidth(1), 200);
    EXPECT_EQ(view.columnWidth(kColumns), 123);
}

TEST(GridView, SelectionMarkFollowsTheRowLastSelected)
{
    SGridViewFixture fixture;
    EXPECT_EQ(fixture.grid.SelectionMark(), -1);
    fixture.Click(2, 0);
    EXPECT_EQ(fixture.grid.SelectionMark(), 2);
    fixture.Click(1, 3);
    EXPECT_EQ(fixture.grid.SelectionMark(), 1);
    EXPECT_TRUE(fixture.view->selectionModel()->isRowSelected(1, QModelIndex()));
}

TEST(GridView, ClickOpensTheEditorOverACellWithARecordOnly)
{
    SGridViewFixture fixture;
    fixture.Click(1, 2);
    CEditEx* editor = fixture.Editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_TRUE(editor->hasFocus());
    EXPECT_EQ(editor->geometry(), fixture.view->visualRect(fixture.grid.index(1, 2)));
    EXPECT_EQ(editor->text(), Text(1, 2));
    EXPECT_EQ(editor->selectedText(), Text(1, 2));
    EXPECT_EQ(editor->maxLength(), 254);
    QTest::keyClick(editor, Qt::Key_Escape);

    for (int column : {0, 3}) {
        fixture.Click(1, column);
        EXPECT_FALSE(fixture.view->IsEditing()) << column;
    }
    // Below the last row.
    QTest::mouseClick(fixture.view->viewport(), Qt::LeftButton, {}, QPoint(60, kRows * 18 + 40));
    EXPECT_FALSE(fixture.view->IsEditing());
}

enum class EEnding
{
    Enter,
    Escape,
    Tab,
    FocusLoss,
};

struct SEndingCase
{
    const char* name;
    const char* typed; // nullptr: nothing typed
    EEnding ending;
    bool stored;
};

void PrintTo(const SEndingCase& testCase, std::ostream* out)
{
    *out << testCase.name;
}

const SEndingCase kEndingCases[] = {
    {"EnterStoresTheText", "new", EEnding::Enter, true},
    {"TabStoresTheText", "new", EEnding::Tab, true},
    {"FocusLossStoresTheText", "new", EEnding::FocusLoss, true},
    {"EscapeAfterTypingKeepsTheCell", "new", EEnding::Escape, false},
    {"EnterWithoutTypingNotifiesNothing", nullptr, EEnding::Enter, false},
    {"RetypingTheSameTextNotifiesNothing", "r1c1", EEnding::Enter, false},
};

class GridViewEditing : public ::testing::TestWithParam<SEndingCase>
{
};

TEST_P(GridViewEditing, EndingTheEditorStoresAndNotifiesOnlyAChange)
{
    const SEndingCase& ending = GetParam();
    SGridViewFixture fixture;
    QSignalSpy changed(&fixture.grid, &CGridModel::cellChanged);
    fixture.Click(1, 1);
    CEditEx* editor = fixture.Editor();
    ASSERT_NE(editor, nullptr);
    if (ending.typed)
        QTest::keyClicks(editor, QString::fromUtf8(ending.typed));

    switch (ending.ending) {
    case EEnding::Enter: QTest::keyClick(editor, Qt::Key_Return); break;
    case EEnding::Escape: QTest::keyClick(editor, Qt::Key_Escape); break;
    case EEnding::Tab: QTest::keyClick(editor, Qt::Key_Tab); break;
    case EEnding::FocusLoss: fixture.view->setFocus(); break;
    }

    const QString expected = ending.stored ? QString::fromUtf8(ending.typed) : Text(1, 1);
    EXPECT_EQ(fixture.grid.CellText(1, 1), expected);
    ASSERT_EQ(changed.count(), ending.stored ? 1 : 0);
    if (ending.stored) {
        EXPECT_EQ(changed.at(0), (QVariantList{1, 1}));
    }
    EXPECT_FALSE(editor->isVisible());
    if (ending.ending != EEnding::Tab) {
        EXPECT_FALSE(fixture.view->IsEditing());
    }
}

INSTANTIATE_TEST_SUITE_P(Endings, GridViewEditing, ::testing::ValuesIn(kEndingCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GridView, TheKeyboardMovesBetweenCellsAndOpensTheirEditors)
{
    SGridViewFixture f;
    QSignalSpy changed(&f.grid, &CGridModel::cellChanged);
    f.view->setFocus();
    f.view->setCurrentIndex(f.grid.index(1, 1));
    const auto expectEditorOn = [&](int row, int column, const QString& text) {
        ASSERT_NE(f.Editor(), nullptr) << row << "," << column;
        EXPECT_EQ(f.view->EditRow(), row);
        EXPECT_EQ(f.view->EditColumn(), column);
        EXPECT_EQ(f.Editor()->text(), text);
    };

    // F2 and Enter open the editor with the cell's text; Escape leaves it as it was.
    for (Qt::Key key : {Qt::Key_F2, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(f.view, key);
        expectEditorOn(1, 1, Text(1, 1));
        QTest::keyClick(f.Editor(), Qt::Key_Escape);
        EXPECT_FALSE(f.view->IsEditing()) << key;
    }

    // A typed character starts the editor with that character in place of the text.
    QTest::keyClick(f.view, Qt::Key_Right);
    EXPECT_EQ(f.view->currentIndex(), f.grid.index(1, 2));
    EXPECT_TRUE(f.view->IsCellSelected(1, 2));
    QTest::keyClicks(f.view, QStringLiteral("7"));
    expectEditorOn(1, 2, QStringLiteral("7"));
    QTest::keyClicks(f.Editor(), QStringLiteral(".5"));
    QTest::keyClick(f.Editor(), Qt::Key_Return);
    EXPECT_EQ(f.grid.CellText(1, 2), QStringLiteral("7.5"));
    ASSERT_EQ(changed.size(), 1);

    // Keys on a cell without an editor open nothing; Space toggles a check cell.
    QTest::keyClick(f.view, Qt::Key_Right);
    QTest::keyClicks(f.view, QStringLiteral("x"));
    QTest::keyClick(f.view, Qt::Key_F2);
    EXPECT_FALSE(f.view->IsEditing());
    EXPECT_EQ(f.grid.CellText(1, 3), Text(1, 3));
    QTest::keyClick(f.view, Qt::Key_Up);
    f.view->setCurrentIndex(f.grid.index(0, kCheckColumn));
    QTest::keyClick(f.view, Qt::Key_Space);
    EXPECT_EQ(f.grid.FindCellRecord(0, kCheckColumn)->nCheck, 1);
    EXPECT_EQ(changed.size(), 2);
}

TEST(GridView, TabMovesToTheNextEditableCellAndStopsAfterTheLast)
{
    SGridViewFixture fixture;
    QSignalSpy changed(&fixture.grid, &CGridModel::cellChanged);
    fixture.Click(0, 1);
    QTest::keyClick(fixture.Editor(), Qt::Key_Tab);
    ASSERT_TRUE(fixture.view->IsEditing());
    EXPECT_EQ(fixture.view->EditColumn(), 2);
    EXPECT_EQ(fixture.Editor()->selectedText(), Text(0, 2));

    QTest::keyClick(fixture.Editor(), Qt::Key_Tab); // column 3 has no record
    ASSERT_TRUE(fixture.view->IsEditing());
    EXPECT_EQ(fixture.view->EditColumn(), kLastEditable);

    QTest::keyClicks(fixture.Editor(), QStringLiteral("last"));
    QTest::keyClick(fixture.Editor(), Qt::Key_Tab); // the check cell opens no editor
    EXPECT_FALSE(fixture.view->IsEditing());
    EXPECT_EQ(fixture.grid.CellText(0, kLastEditable), QStringLiteral("last"));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(fixture.grid.CellText(0, kCheckColumn), UncheckedText());
}

TEST(GridView, CheckCellsToggleOnClickUnlessLocked)
{
    SGridViewFixture fixture;
    QStringList textsSeenByOwner;
    QObject::connect(&fixture.grid, &CGridModel::cellChanged, &fixture.grid, [&](int row, int column) {
        textsSeenByOwner << QStringLiteral("%1,%2:%3").arg(row).arg(column).arg(fixture.grid.CellText(row, column));
    });

    fixture.Click(1, kCheckColumn);
    EXPECT_FALSE(fixture.view->IsEditing());
    EXPECT_EQ(fixture.grid.CellText(1, kCheckColumn), UncheckedText());
    fixture.Click(0, kCheckColumn);
    EXPECT_EQ(fixture.grid.CellText(0, kCheckColumn), CheckedText());
    fixture.Click(2, kCheckColumn); // locked
    EXPECT_EQ(fixture.grid.CellText(2, kCheckColumn), UncheckedText());

    EXPECT_EQ(textsSeenByOwner,
              (QStringList{QStringLiteral("1,8:") + CheckedText(), QStringLiteral("0,8:") + UncheckedText()}));
}

TEST(GridView, AToolbarButtonCommitsTheOpenEditorBeforeItsCommandRuns)
{
    SGridViewFixture fixture;
    ASSERT_EQ(fixture.button->focusPolicy(), Qt::TabFocus); // a click does not take the focus
    QString textSeenByCommand;
    QObject::connect(fixture.button, &QToolButton::clicked, fixture.button,
                     [&] { textSeenByCommand = fixture.grid.CellText(3, 2); });
    fixture.Click(3, 2);
    QTest::keyClicks(fixture.Editor(), QStringLiteral("typed"));
    QTest::mouseClick(fixture.button, Qt::LeftButton);
    EXPECT_EQ(textSeenByCommand, QStringLiteral("typed"));
    EXPECT_FALSE(fixture.view->IsEditing());
}

TEST(GridView, ClickingAnotherCellCommitsAndOpensThatCell)
{
    SGridViewFixture fixture;
    fixture.Click(0, 1);
    QTest::keyClicks(fixture.Editor(), QStringLiteral("one"));
    fixture.Click(2, 4);
    EXPECT_EQ(fixture.grid.CellText(0, 1), QStringLiteral("one"));
    ASSERT_TRUE(fixture.view->IsEditing());
    EXPECT_EQ(fixture.view->EditRow(), 2);
    EXPECT_EQ(fixture.view->EditColumn(), 4);
}

TEST(GridView, AnEditFollowsItsRowAndIsDroppedWithIt)
{
    SGridViewFixture fixture;
    fixture.Click(2, 1);
    QTest::keyClicks(fixture.Editor(), QStringLiteral("moved"));
    fixture.grid.InsertRow(0, QStringLiteral("top"));
    QTest::keyClick(fixture.Editor(), Qt::Key_Return);
    EXPECT_EQ(fixture.grid.CellText(3, 1), QStringLiteral("moved"));
    EXPECT_EQ(fixture.grid.CellText(2, 1), Text(1, 1));

    QSignalSpy changed(&fixture.grid, &CGridModel::cellChanged);
    fixture.Click(3, 2);
    QTest::keyClicks(fixture.Editor(), QStringLiteral("lost"));
    fixture.grid.DeleteRow(3);
    EXPECT_FALSE(fixture.view->IsEditing());
    fixture.view->setFocus();
    EXPECT_EQ(fixture.grid.CellText(3, 2), Text(3, 2)); // the row that took its place
    EXPECT_EQ(changed.count(), 0);

    fixture.Click(1, 1);
    ASSERT_TRUE(fixture.view->IsEditing());
    fixture.grid.ClearRows();
    EXPECT_FALSE(fixture.view->IsEditing());
}

TEST(GridView, OpeningAndClosingALongCellKeepsItsText)
{
    SGridViewFixture fixture;
    const QString longText(300, QLatin1Char('x'));
    fixture.grid.SetCellText(0, 2, longText);
    QSignalSpy changed(&fixture.grid, &CGridModel::cellChanged);
    fixture.Click(0, 2);
    EXPECT_EQ(fixture.Editor()->text().size(), 254);
    QTest::keyClick(fixture.Editor(), Qt::Key_Return);
    EXPECT_EQ(fixture.grid.CellText(0, 2), longText);
    EXPECT_EQ(changed.count(), 0);
}

TEST(GridView, PaintsRowColoursAndCheckBoxes)
{
    SGridViewFixture fixture;
    fixture.view->clearSelection();
    QImage image = fixture.Paint();

    // Background of an unselected row, clear of its text.
    const QRect cell = fixture.view->visualRect(fixture.grid.index(3, 3));
    EXPECT_EQ(QColor(image.pixel(cell.right() - 3, cell.center().y())), QColor(230, 220, 180));

    // A point of the tick's long stroke, on the inner square: drawn in the checked row only, paler when locked.
    const auto tickPoint = [&](int row) {
        const QRect text = fixture.view->visualRect(fixture.grid.index(row, kCheckColumn)).adjusted(6, 1, -1, -1);
        const int left = text.left() + (text.width() - 16) / 2;
        const int top = text.top() + (text.height() - 15) / 2;
        return QColor(image.pixel(left + 7, top + 10));
    };
    EXPECT_EQ(tickPoint(1), QColor(113, 171, 22));
    EXPECT_EQ(tickPoint(0), QColor(230, 230, 240));

    SEditCtrl locked = *fixture.grid.FindCellRecord(1, kCheckColumn);
    locked.nLocked = 1;
    fixture.grid.SetCellRecord(locked);
    image = fixture.Paint();
    EXPECT_EQ(tickPoint(1), QColor(163, 221, 152));
}

} // namespace
