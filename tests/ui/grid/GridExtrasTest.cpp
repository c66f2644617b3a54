#include "ui/grid/CGridHeader.h"
#include "ui/grid/CMFCListCtrlEx.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QImage>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr int kColumns = 5;
constexpr int kRows = 40;

QString Text(int row, int column)
{
    return QStringLiteral("r%1c%2").arg(row).arg(column);
}

// A grid of forty white rows: column 0 without a record (a row number), columns 1 and 2 plain text,
// column 3 a check cell, column 4 a real number sorted as such. Only some rows fit in the window.
struct SExtrasFixture
{
    CGridModel grid;
    CMFCListCtrlEx view;

    SExtrasFixture()
    {
        for (int column = 0; column < kColumns; ++column)
            grid.InsertColumn(column, QStringLiteral("c%1").arg(column), 70);
        grid.SetColumnType(4, CST_REAL);
        for (int row = 0; row < kRows; ++row) {
            grid.InsertRow(row, Text(row, 0));
            for (int column = 1; column < kColumns; ++column)
                grid.SetCellText(row, column, Text(row, column));
            grid.SetCellEditable(row, 1);
            grid.SetCellEditable(row, 2);
            SEditCtrl check;
            check.nRow = row;
            check.nCol = 3;
            check.nType = CET_CHECK;
            grid.SetCellRecord(check);
            grid.SetRowColor(row, PackRgb(255, 255, 255));
        }
        view.SetGrid(&grid);
        view.resize(400, 250);
        view.show();
        view.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&view));
    }

    QRect CellRect(int row, int column) const { return view.visualRect(grid.index(row, column)); }

    void Press(int row, int column, Qt::KeyboardModifiers modifiers = {}, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(view.viewport(), button, modifiers, CellRect(row, column).center());
    }

    void MoveTo(const QPoint& point)
    {
        // QTest::mouseMove sends no buttons; a drag carries the pressed one.
        QMouseEvent move(QEvent::MouseMove, point, view.viewport()->mapToGlobal(point), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &move);
    }

    void Release(const QPoint& point) { QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, point); }

    void Drag(int fromRow, int fromColumn, int toRow, int toColumn)
    {
        Press(fromRow, fromColumn);
        MoveTo(CellRect(toRow, toColumn).center());
        Release(CellRect(toRow, toColumn).center());
    }

    QImage Paint()
    {
        QImage image(view.viewport()->size(), QImage::Format_RGB32);
        view.viewport()->render(&image);
        return image;
    }
};

void ExpectRange(const CMFCListCtrlEx& view, int firstRow, int firstColumn, int lastRow, int lastColumn)
{
    const SCellRange range = view.SelectedRange();
    EXPECT_EQ(range.firstRow, firstRow);
    EXPECT_EQ(range.firstColumn, firstColumn);
    EXPECT_EQ(range.lastRow, lastRow);
    EXPECT_EQ(range.lastColumn, lastColumn);
}

// ---- range selection ----

TEST(GridRange, PressDragAndShiftPressChooseARectangle)
{
    SExtrasFixture fixture;
    EXPECT_FALSE(fixture.view.HasAnchor());

    fixture.Drag(3, 0, 1, 3); // up and to the right, from a cell without an editor
    EXPECT_FALSE(fixture.view.IsEditing());
    EXPECT_TRUE(fixture.view.IsRangeShown());
    ExpectRange(fixture.view, 1, 0, 3, 3);
    EXPECT_TRUE(fixture.view.IsCellSelected(2, 2));
    EXPECT_FALSE(fixture.view.IsCellSelected(4, 2));
    // The row selection stays where the press put it.
    EXPECT_EQ(fixture.grid.SelectionMark(), 3);

    fixture.Press(5, 0, Qt::ShiftModifier);
    fixture.Release(fixture.CellRect(5, 0).center());
    ExpectRange(fixture.view, 3, 0, 5, 0);

    fixture.Press(6, 0);
    fixture.Release(fixture.CellRect(6, 0).center());
    ExpectRange(fixture.view, 6, 0, 6, 0);
}

TEST(GridRange, OpeningAnEditorHidesTheRangeAndKeepsItsCorners)
{
    SExtrasFixture fixture;
    fixture.Drag(0, 0, 1, 0);
    fixture.Press(2, 0, Qt::ShiftModifier);
    fixture.Release(fixture.CellRect(2, 0).center());
    ExpectRange(fixture.view, 0, 0, 2, 0);

    // A click on an editable cell with the Shift key held moves the corner, then the editor hides the range.
    fixture.Press(4, 1, Qt::ShiftModifier);
    ASSERT_TRUE(fixture.view.IsEditing());
    EXPECT_FALSE(fixture.view.IsRangeShown());
    ExpectRange(fixture.view, 0, 0, 4, 1);

    // A press on another cell ends the editor, takes the range there and opens that cell's editor.
    fixture.Release(fixture.CellRect(4, 1).center());
    fixture.Press(6, 2);
    fixture.Release(fixture.CellRect(6, 2).center());
    EXPECT_EQ(fixture.view.EditRow(), 6);
    EXPECT_FALSE(fixture.view.IsRangeShown());
    ExpectRange(fixture.view, 6, 2, 6, 2);
}

TEST(GridRange, DraggingPastTheLastVisibleRowScrollsOneRowAtATime)
{
    SExtrasFixture fixture;
    const int lastVisible = fixture.view.rowAt(fixture.view.viewport()->height() - 1);
    ASSERT_GT(lastVisible, 0);
    ASSERT_LT(lastVisible, kRows - 2);

    fixture.Press(0, 0);
    const QPoint below(fixture.CellRect(0, 1).center().x(), fixture.view.viewport()->height() + 30);
    fixture.MoveTo(below);
    EXPECT_EQ(fixture.view.SelectedRange().lastRow, lastVisible + 1);
    EXPECT_GT(fixture.view.verticalScrollBar()->value(), 0);
    // Held there, the range goes on growing downwards.
    EXPECT_TRUE(QTest::qWaitFor([&] { return fixture.view.SelectedRange().lastRow >= lastVisible + 3; }, 2000));
    fixture.Release(below);
    const int stopped = fixture.view.SelectedRange().lastRow;
    QTest::qWait(200);
    EXPECT_EQ(fixture.view.SelectedRange().lastRow, stopped);
    EXPECT_EQ(fixture.view.SelectedRange().firstColumn, 0);
    EXPECT_EQ(fixture.view.SelectedRange().lastColumn, 1);
}

TEST(GridRange, IsDrawnFilledAndFramedInRowsThatAreNotSelected)
{
    SExtrasFixture fixture;
    fixture.Drag(0, 0, 2, 2);
    QImage image = fixture.Paint();
    const QRect inside = fixture.CellRect(1, 2);
    const QRect outside = fixture.CellRect(1, 3);
    EXPECT_EQ(QColor(image.pixel(inside.right() - 4, inside.center().y())), QColor(198, 214, 239));
    EXPECT_EQ(QColor(image.pixel(fixture.CellRect(4, 1).right() - 4, fixture.CellRect(4, 1).center().y())),
              QColor(Qt::white));
    // The selected row (the press's) keeps its highlight.
    EXPECT_NE(QColor(image.pixel(fixture.CellRect(0, 2).right() - 4, fixture.CellRect(0, 2).center().y())),
              QColor(198, 214, 239));
    // The black frame runs along the range's right and bottom edges, two pixels wide.
    const QRect range = fixture.CellRect(0, 0).united(fixture.CellRect(2, 2));
    for (int x : {range.right(), range.right() - 1})
        EXPECT_EQ(QColor(image.pixel(x, inside.center().y())), QColor(Qt::black)) << x;
    EXPECT_NE(QColor(image.pixel(range.right() - 2, inside.center().y())), QColor(Qt::black));
    EXPECT_EQ(QColor(image.pixel(inside.center().x(), range.bottom())), QColor(Qt::black));
    EXPECT_NE(QColor(image.pixel(outside.center().x(), outside.center().y())), QColor(Qt::black));

    // An open editor hides fill and frame.
    fixture.Press(5, 1);
    ASSERT_TRUE(fixture.view.IsEditing());
    image = fixture.Paint();
    EXPECT_EQ(QColor(image.pixel(inside.right() - 4, inside.center().y())), QColor(Qt::white));
    EXPECT_EQ(QColor(image.pixel(range.right(), inside.center().y())).red(),
              QColor(image.pixel(range.right() + 3, inside.center().y())).red());
}

// ---- clipboard and context menu ----

TEST(GridClipboardCommands, CtrlCCopiesTheRange)
{
    SExtrasFixture fixture;
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(&fixture.view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty()); // no range yet: nothing copied

    fixture.Drag(2, 0, 3, 2);
    QTest::keyClick(&fixture.view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("r2c0\tr2c1\tr2c2\r\nr3c0\tr3c1\tr3c2"));

    fixture.view.RunContextCommand(kCopyWholeRowCommand);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("r2c0\tr2c1\tr2c2\tr2c3\tr2c4\r\nr3c0\tr3c1\tr3c2\tr3c3\tr3c4"));
}

TEST(GridClipboardCommands, PasteAtTheNumberCellSkipsToTheFirstEditableColumn)
{
    SExtrasFixture fixture;
    fixture.Drag(7, 0, 7, 0);
    QSignalSpy changed(&fixture.grid, &CGridModel::cellChanged);
    QGuiApplication::clipboard()->setText(QStringLiteral("one\ttwo"));
    fixture.view.RunContextCommand(kPasteCommand);
    EXPECT_EQ(fixture.grid.CellText(7, 0), Text(7, 0));
    EXPECT_EQ(fixture.grid.CellText(7, 1), QStringLiteral("two"));
    EXPECT_EQ(fixture.grid.CellText(7, 2), Text(7, 2));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0), (QVariantList{7, 1}));

    // At the last row only its own line is written and no row is added.
    fixture.Press(kRows - 1, 0);
    fixture.Release(fixture.CellRect(kRows - 1, 0).center());
    QGuiApplication::clipboard()->setText(QStringLiteral("x\tlast\r\nx\tbeyond"));
    fixture.view.Paste();
    EXPECT_EQ(fixture.grid.CellText(kRows - 1, 1), QStringLiteral("last"));
    EXPECT_EQ(fixture.grid.RowCount(), kRows);
}

QStringList MenuTexts(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* action : menu.actions())
        texts << action->text();
    return texts;
}

TEST(GridContextMenu, OffersPasteOnlyOnCellsThatTakeText)
{
    SExtrasFixture fixture;
    const QString copy = QStringLiteral("Copy");
    const QString copyRow = QStringLiteral("Copy whole row");
    const QString paste = QStringLiteral("Paste");
    const struct
    {
        int column;
        QStringList texts;
    } cases[] = {
        {0, {copy, copyRow}},
        {1, {copy, copyRow, paste}},
        {3, {copy, copyRow}},
    };
    for (const auto& c : cases) {
        QMenu menu;
        fixture.view.FillContextMenu(menu, 2, c.column);
        EXPECT_EQ(MenuTexts(menu), c.texts) << c.column;
        for (const QAction* action : menu.actions())
            EXPECT_EQ(ContextCommandText(action->data().toInt()), action->text());
    }
}

TEST(GridContextMenu, RightClickOnACellOpensItsMenu)
{
    SExtrasFixture fixture;
    QStringList shown;
    int menus = 0;
    const auto openMenu = [&](const QPoint& point) {
        // The menu runs its own loop: it is read and closed from there.
        QTimer::singleShot(0, &fixture.view, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                ++menus;
                shown = MenuTexts(*menu);
                menu->close();
            }
        });
        QTest::mousePress(fixture.view.viewport(), Qt::RightButton, {}, point);
        QContextMenuEvent event(QContextMenuEvent::Mouse, point, fixture.view.viewport()->mapToGlobal(point));
        QApplication::sendEvent(fixture.view.viewport(), &event);
        QTest::mouseRelease(fixture.view.viewport(), Qt::RightButton, {}, point);
        QCoreApplication::processEvents();
    };

    openMenu(fixture.CellRect(4, 3).center());
    EXPECT_EQ(menus, 1);
    EXPECT_EQ(shown, (QStringList{QStringLiteral("Copy"), QStringLiteral("Copy whole row")}));
    // The right press chose the cell, so Copy copies the check cell.
    ExpectRange(fixture.view, 4, 3, 4, 3);

    // Below the last row there is no cell and no menu.
    fixture.grid.ClearRows();
    openMenu(QPoint(20, 20));
    EXPECT_EQ(menus, 1);
}

TEST(GridContextMenu, ARightDragChoosesARangeAndTheMenuWaitsForTheReleaseOverThePressedCell)
{
    SExtrasFixture fixture;
    int menus = 0;
    const auto countMenusDuring = [&](const std::function<void()>& action) {
        QTimer::singleShot(0, &fixture.view, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                ++menus;
                menu->close();
            }
        });
        action();
        QCoreApplication::processEvents();
    };
    QWidget* viewport = fixture.view.viewport();

    // The desktop asks for the menu at the press; it does not come then.
    const QPoint from = fixture.CellRect(2, 1).center();
    countMenusDuring([&] {
        QTest::mousePress(viewport, Qt::RightButton, {}, from);
        QContextMenuEvent event(QContextMenuEvent::Mouse, from, viewport->mapToGlobal(from));
        QApplication::sendEvent(viewport, &event);
    });
    EXPECT_EQ(menus, 0);

    // Dragging with the right button held chooses the range; releasing elsewhere opens nothing.
    const QPoint to = fixture.CellRect(5, 2).center();
    QMouseEvent move(QEvent::MouseMove, to, viewport->mapToGlobal(to), Qt::NoButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    countMenusDuring([&] { QTest::mouseRelease(viewport, Qt::RightButton, {}, to); });
    EXPECT_EQ(menus, 0);
    ExpectRange(fixture.view, 2, 1, 5, 2);

    // A right click inside the range opens the menu at the release and keeps the range for it.
    countMenusDuring([&] { QTest::mouseClick(viewport, Qt::RightButton, {}, fixture.CellRect(4, 1).center()); });
    EXPECT_EQ(menus, 1);
    ExpectRange(fixture.view, 2, 1, 5, 2);
}

TEST(GridContextMenu, RightPressInsideTheRangeKeepsIt)
{
    SExtrasFixture fixture;
    fixture.Drag(1, 0, 3, 2);
    fixture.Press(2, 1, {}, Qt::RightButton);
    ExpectRange(fixture.view, 1, 0, 3, 2);
    fixture.Press(6, 1, {}, Qt::RightButton);
    ExpectRange(fixture.view, 6, 1, 6, 1);
    EXPECT_FALSE(fixture.view.IsEditing());
}

// ---- tooltips ----

TEST(GridToolTips, ShowTheFirst79CharactersOfTheCell)
{
    SExtrasFixture fixture;
    QString text;
    for (int i = 0; i < 100; ++i)
        text += QChar(u'a' + i % 26);
    fixture.grid.SetCellText(1, 2, text);
    const QPoint point = fixture.CellRect(1, 2).center();
    QHelpEvent help(QEvent::ToolTip, point, fixture.view.viewport()->mapToGlobal(point));
    QApplication::sendEvent(fixture.view.viewport(), &help);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), text.left(79));
    QToolTip::hideText();
}

TEST(GridHeader, ATitleTooWideForItsColumnIsCutWithAnEllipsisAndShownWholeAsItsTooltip)
{
    SExtrasFixture fixture;
    const QString title = QStringLiteral("Expiration(Days)");
    fixture.grid.InsertColumn(kColumns, title, 40);
    QHeaderView* header = fixture.view.horizontalHeader();
    EXPECT_EQ(header->sectionSize(kColumns), 40); // the width stays what the table asks for
    auto* gridHeader = qobject_cast<CGridHeader*>(header);
    ASSERT_NE(gridHeader, nullptr);
    const QString shown = gridHeader->ShownTitle(kColumns);
    EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
    EXPECT_TRUE(title.startsWith(shown.chopped(1))) << shown.toStdString();
    EXPECT_EQ(gridHeader->ShownTitle(0), QStringLiteral("c0")); // a title that fits is left whole
    header->resizeSection(kColumns, 300);
    EXPECT_EQ(gridHeader->ShownTitle(kColumns), title);
    header->resizeSection(kColumns, 40);

    fixture.view.scrollTo(fixture.grid.index(0, kColumns));
    const QPoint point(header->sectionViewportPosition(kColumns) + 20, header->height() / 2);
    QHelpEvent help(QEvent::ToolTip, point, header->viewport()->mapToGlobal(point));
    QApplication::sendEvent(header->viewport(), &help);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), title);
    QToolTip::hideText();
}

// ---- sorting ----

TEST(GridHeader, ClicksSortAllRowsAndShowTheDirection)
{
    SExtrasFixture fixture;
    const QStringList prices{QStringLiteral("10"), QStringLiteral("9.5"), QStringLiteral("100")};
    for (int row = 0; row < kRows; ++row)
        fixture.grid.SetCellText(row, 4, row < 3 ? prices[row] : QStringLiteral("1000"));
    fixture.grid.SetCellText(2, 3, QStringLiteral("checked?"));
    QSignalSpy clicked(&fixture.view, &CMFCListCtrlEx::columnClicked);
    QHeaderView* header = fixture.view.horizontalHeader();
    const auto clickHeader = [&](int column) {
        const QPoint point(header->sectionViewportPosition(column) + 10, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, point);
    };

    clickHeader(4);
    EXPECT_EQ(fixture.grid.CellText(0, 4), QStringLiteral("9.5"));
    EXPECT_EQ(fixture.grid.CellText(1, 4), QStringLiteral("10"));
    EXPECT_EQ(fixture.grid.CellText(2, 4), QStringLiteral("100"));
    EXPECT_EQ(fixture.grid.CellText(0, 0), Text(1, 0)); // the row went with its price
    EXPECT_EQ(fixture.grid.CellText(2, 3), QStringLiteral("checked?"));
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), 4);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toInt(), 4);

    clickHeader(4);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_EQ(fixture.grid.CellText(kRows - 1, 4), QStringLiteral("9.5"));

    // Another column starts ascending again; its texts compare as text.
    clickHeader(1);
    EXPECT_EQ(header->sortIndicatorSection(), 1);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_EQ(fixture.grid.CellText(0, 1), Text(0, 1));
    EXPECT_EQ(fixture.grid.CellText(1, 1), Text(10, 1)); // "r10c1" < "r1c1"
    EXPECT_EQ(fixture.grid.CellText(2, 1), Text(11, 1));

    // Deleting all rows takes the marker away.
    fixture.grid.ClearRows();
    EXPECT_FALSE(header->isSortIndicatorShown());
}

TEST(GridHeader, AConnectedSorterSortsInsteadOfTheGrid)
{
    SExtrasFixture fixture;
    QSignalSpy requested(&fixture.view, &CMFCListCtrlEx::sortRequested);
    QSignalSpy clicked(&fixture.view, &CMFCListCtrlEx::columnClicked);
    QHeaderView* header = fixture.view.horizontalHeader();
    const QPoint point(header->sectionViewportPosition(2) + 10, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, point);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, point);
    ASSERT_EQ(requested.count(), 2);
    EXPECT_EQ(requested.at(0).at(0).toInt(), 2);
    EXPECT_EQ(requested.at(0).at(1).value<Qt::SortOrder>(), Qt::AscendingOrder);
    EXPECT_EQ(requested.at(1).at(1).value<Qt::SortOrder>(), Qt::DescendingOrder);
    EXPECT_EQ(clicked.count(), 2);
    // The rows are as they were: the sorter (here a spy) did nothing.
    EXPECT_EQ(fixture.grid.CellText(0, 2), Text(0, 2));
}

TEST(GridHeader, AClickCommitsTheOpenEditorFirst)
{
    SExtrasFixture fixture;
    fixture.Press(3, 1);
    ASSERT_TRUE(fixture.view.IsEditing());
    QTest::keyClicks(fixture.view.Editor(), QStringLiteral("a-first"));
    QHeaderView* header = fixture.view.horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 10, header->height() / 2));
    EXPECT_FALSE(fixture.view.IsEditing());
    EXPECT_EQ(fixture.grid.CellText(0, 1), QStringLiteral("a-first"));
}

} // namespace
