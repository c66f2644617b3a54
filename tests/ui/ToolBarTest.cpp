#include "grid/CGridModel.h"
#include "ui/CToolBarEx.h"
#include "ui/Resources.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<QMenu> MakeMenu()
{
    auto menu = std::make_unique<QMenu>();
    QAction* first = menu->addAction(QStringLiteral("First"));
    first->setData(31);
    first->setCheckable(true);
    first->setChecked(true);
    menu->addSeparator();
    menu->addAction(QStringLiteral("Second"))->setData(32);
    return menu;
}

// Three buttons, the last a drop-down one with a menu.
void FillThree(CToolBarEx& bar, const QString& middleText = QStringLiteral("Two"))
{
    bar.AddButton(11, CToolBarEx::kButton, ToolBarIcon(QStringLiteral("import")), QStringLiteral("One"));
    bar.AddButton(12, CToolBarEx::kButton, ToolBarIcon(QStringLiteral("export")), middleText);
    bar.AddButton(13, CToolBarEx::kDropDown, ToolBarIcon(QStringLiteral("setting")), QStringLiteral("Three"));
    bar.SetDropDownMenu(2, *MakeMenu());
    bar.ApplyButtons();
}

TEST(ToolBar, ButtonsSitInARowWithEightPixelGaps)
{
    CToolBarEx bar;
    FillThree(bar);
    ASSERT_EQ(bar.ButtonCount(), 3);
    const QSize size = bar.ButtonSize();
    EXPECT_GE(size.width(), 70);
    EXPECT_GE(size.height(), 55);

    const int arrow = bar.DropDownArrowWidth();
    EXPECT_GT(arrow, 0);

    const int left = CToolBarEx::kBorder + CToolBarEx::kGapWidth;
    for (int n = 0; n < 3; ++n) {
        const QRect geometry = bar.Button(n)->geometry();
        EXPECT_EQ(geometry.size(), n < 2 ? size : size + QSize(arrow, 0)) << n;
        EXPECT_EQ(geometry.left(), left + n * (size.width() + 8)) << n;
        EXPECT_EQ(geometry.top(), CToolBarEx::kFrameTop + CToolBarEx::kBorder) << n;
    }
    EXPECT_EQ(bar.sizeHint().width(), 2 * CToolBarEx::kBorder + 4 * 8 + 3 * size.width() + arrow);
    EXPECT_EQ(bar.Button(2)->popupMode(), QToolButton::InstantPopup);
    EXPECT_EQ(bar.Button(0)->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    EXPECT_EQ(bar.Button(0)->iconSize(), QSize(32, 32));
}

TEST(ToolBar, ALongTextWidensEveryButtonSoThatNoTextIsCut)
{
    CToolBarEx bar;
    FillThree(bar, QStringLiteral("A rather long button text"));
    const QSize size = bar.ButtonSize();
    EXPECT_GT(size.width(), 70);
    for (int n = 0; n < 3; ++n) {
        QToolButton* button = bar.Button(n);
        EXPECT_EQ(button->height(), size.height()) << n;
        EXPECT_EQ(button->width(), size.width() + (n == 2 ? bar.DropDownArrowWidth() : 0)) << n;
        EXPECT_LE(button->sizeHint().width(), button->width()) << n;
        EXPECT_EQ(button->x() - (n ? bar.Button(n - 1)->geometry().right() + 1 : 2), 8) << n;
    }
}

TEST(ToolBar, RecordsStopAtOneHundred)
{
    CToolBarEx bar;
    for (int i = 0; i < 60; ++i)
        bar.AddButton(100 + i, CToolBarEx::kButton, QIcon(), QString::number(i));
    EXPECT_EQ(bar.ButtonCount(), 50);
}

TEST(ToolBar, DropDownMenuIsAnUncheckedCopy)
{
    CToolBarEx bar;
    bar.AddButton(11, CToolBarEx::kButton, QIcon(), QStringLiteral("One"));
    bar.AddButton(13, CToolBarEx::kDropDown, QIcon(), QStringLiteral("Two"));
    EXPECT_FALSE(bar.SetDropDownMenu(2, *MakeMenu()));
    EXPECT_FALSE(bar.SetDropDownMenu(-1, *MakeMenu()));
    EXPECT_EQ(bar.DropDownMenu(1), nullptr);

    {
        const std::unique_ptr<QMenu> source = MakeMenu();
        ASSERT_TRUE(bar.SetDropDownMenu(1, *source));
    } // the toolbar keeps its copy after the source is gone
    bar.ApplyButtons();
    QMenu* menu = bar.DropDownMenu(1);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(bar.Button(1)->menu(), menu);
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), QStringLiteral("First"));
    EXPECT_EQ(items[0]->data().toInt(), 31);
    EXPECT_TRUE(items[0]->isCheckable());
    EXPECT_FALSE(items[0]->isChecked());
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2]->data().toInt(), 32);
    EXPECT_FALSE(items[2]->isCheckable());
}

TEST(ToolBar, CommandsAndCheckMarks)
{
    CToolBarEx bar;
    FillThree(bar);
    QSignalSpy commands(&bar, &CToolBarEx::commandTriggered);

    QTest::mouseClick(bar.Button(1), Qt::LeftButton);

    // Choosing a checkable item sends its command but leaves the mark to the command's handler.
    QAction* first = bar.DropDownMenu(2)->actions().at(0);
    first->trigger();
    EXPECT_FALSE(first->isChecked());
    EXPECT_TRUE(bar.SetMenuItemChecked(31, true));
    first->trigger();
    EXPECT_TRUE(first->isChecked());
    EXPECT_FALSE(bar.SetMenuItemChecked(99, true));

    ASSERT_EQ(commands.size(), 3);
    EXPECT_EQ(commands[0][0].toInt(), 12);
    EXPECT_EQ(commands[1][0].toInt(), 31);
    EXPECT_EQ(commands[2][0].toInt(), 31);
}

TEST(ToolBar, MenuOpensBelowItsButtonAtItsLeftEdge)
{
    QWidget window;
    window.resize(500, 200);
    CToolBarEx bar(&window);
    FillThree(bar);
    bar.setGeometry(QRect(QPoint(0, 0), bar.sizeHint()));
    window.move(20, 30);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QToolButton* button = bar.Button(2);
    QSignalSpy commands(&bar, &CToolBarEx::commandTriggered);
    // A click anywhere on the button opens the menu: on its picture, its text and its arrow.
    for (const QPoint& at : {QPoint(5, 5), QPoint(button->width() / 2, button->height() - 6),
                             QPoint(button->width() - 4, button->height() / 2)}) {
        QPoint menuPos(-1, -1);
        QTimer::singleShot(0, &bar, [&] {
            if (QApplication::activePopupWidget() == bar.DropDownMenu(2))
                menuPos = bar.DropDownMenu(2)->pos();
            bar.DropDownMenu(2)->close();
        });
        QTest::mouseClick(button, Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
        EXPECT_EQ(menuPos, button->mapToGlobal(QPoint(0, button->height()))) << at.x() << "," << at.y();
    }
    EXPECT_EQ(commands.size(), 0);
}

TEST(ToolBar, ButtonsThatDoNotFitGoIntoTheOverflowMenu)
{
    QWidget window;
    CToolBarEx bar(&window);
    FillThree(bar);
    const int full = bar.sizeHint().width();
    bar.setGeometry(0, 0, full, bar.sizeHint().height());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_FALSE(bar.OverflowButton()->isVisible());
    EXPECT_TRUE(bar.OverflowMenu()->isEmpty());

    // Room for the first button only: Two and Three move into the menu, in their order.
    bar.resize(full - bar.Button(1)->width() - bar.Button(2)->width(), bar.height());
    EXPECT_TRUE(bar.Button(0)->isVisible());
    EXPECT_FALSE(bar.Button(1)->isVisible());
    EXPECT_FALSE(bar.Button(2)->isVisible());
    ASSERT_TRUE(bar.OverflowButton()->isVisible());
    EXPECT_LE(bar.OverflowButton()->geometry().right(), bar.width() - 1);
    EXPECT_GT(bar.OverflowButton()->x(), bar.Button(0)->geometry().right());
    const QList<QAction*> items = bar.OverflowMenu()->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text(), QStringLiteral("Two"));
    EXPECT_EQ(items[1]->text(), QStringLiteral("Three"));
    ASSERT_EQ(items[1]->menu(), bar.DropDownMenu(2)); // the drop-down's own menu, with its check marks

    QSignalSpy commands(&bar, &CToolBarEx::commandTriggered);
    items[0]->trigger();
    items[1]->menu()->actions().at(2)->trigger();
    ASSERT_EQ(commands.size(), 2);
    EXPECT_EQ(commands[0][0].toInt(), 12);
    EXPECT_EQ(commands[1][0].toInt(), 32);

    // Wide again: every button is back and the overflow button goes.
    bar.resize(full + 50, bar.height());
    for (int n = 0; n < 3; ++n)
        EXPECT_TRUE(bar.Button(n)->isVisible()) << n;
    EXPECT_FALSE(bar.OverflowButton()->isVisible());
}

QColor PixelAt(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

TEST(ToolBar, PaintsItsBackgroundAndFrameLinesAtEverySize)
{
    CToolBarEx bar;
    FillThree(bar);
    for (const QSize size : {bar.sizeHint(), QSize(900, bar.sizeHint().height()), QSize(400, 80)}) {
        bar.resize(size);
        const QImage image = bar.grab().toImage();
        const int h = image.height();
        const int x = image.width() - 3; // right of the buttons
        EXPECT_EQ(PixelAt(image, x, 2), QColor(172, 168, 153)) << size.width();
        EXPECT_EQ(PixelAt(image, 0, 2), QColor(172, 168, 153));
        EXPECT_EQ(PixelAt(image, x, 3), QColor(255, 255, 255));
        EXPECT_EQ(PixelAt(image, x, h - 1), QColor(172, 168, 153));
        EXPECT_EQ(PixelAt(image, x, 0), QColor(243, 243, 250));
        EXPECT_EQ(PixelAt(image, x, h / 2), QColor(243, 243, 250));
        EXPECT_EQ(PixelAt(image, x, h - 2), QColor(243, 243, 250));
        // The gap between the first two buttons shows the background too.
        EXPECT_EQ(PixelAt(image, bar.Button(1)->x() - 4, h / 2), QColor(243, 243, 250));
    }
}

TEST(ToolBar, ClickCommitsAnOpenCellEditBeforeTheCommand)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* bar = new CToolBarEx;
    FillThree(*bar);
    bar->setMinimumSize(bar->sizeHint());
    CGridModel model;
    model.InsertColumn(0, QStringLiteral("Name"), 100);
    model.InsertRow(0, QString());
    model.SetCellEditable(0, 0);
    auto* view = new QTableView;
    view->setModel(&model);
    layout->addWidget(bar);
    layout->addWidget(view);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    const QModelIndex cell = model.index(0, 0);
    view->setCurrentIndex(cell);
    view->edit(cell);
    auto* editor = qobject_cast<QLineEdit*>(view->indexWidget(cell));
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    QTest::keyClicks(editor, QStringLiteral("Apples"));
    ASSERT_TRUE(model.CellText(0, 0).isEmpty());

    QString textWhenCommandRan = QStringLiteral("<no command>");
    QObject::connect(bar, &CToolBarEx::commandTriggered, &window,
                     [&](int) { textWhenCommandRan = model.CellText(0, 0); });
    QTest::mouseClick(bar->Button(0), Qt::LeftButton);
    EXPECT_EQ(textWhenCommandRan, QStringLiteral("Apples"));
}

TEST(ToolBar, PicturesRender)
{
    const QStringList names = {QStringLiteral("import"),  QStringLiteral("export"),  QStringLiteral("download"),
                               QStringLiteral("new"),     QStringLiteral("add"),     QStringLiteral("delete"),
                               QStringLiteral("setting"), QStringLiteral("language")};
    std::vector<QIcon> icons;
    for (const QString& name : names)
        icons.push_back(ToolBarIcon(name));
    icons.push_back(ProgramIcon());
    for (size_t i = 0; i < icons.size(); ++i) {
        const QImage image = icons[i].pixmap(32, 32).toImage();
        ASSERT_EQ(image.size(), QSize(32, 32)) << i;
        int opaque = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                opaque += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
        // Every picture covers a good part of its square and leaves some of it free.
        EXPECT_GT(opaque, 150) << i;
        EXPECT_LT(opaque, 32 * 32) << i;
    }
}

} // namespace
