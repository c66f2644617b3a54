#pragma once

#include <QColor>
#include <QIcon>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <vector>

class QMenu;
class QToolButton;

// The window's command bar: a row of buttons with their texts under 32 x 32 pictures, each followed
// by an 8-pixel gap, drop-down buttons that own a copy of their menu, a light background with frame
// lines, and taking the keyboard focus on a click, so that an open cell editor elsewhere commits its
// text before the command runs. Buttons and menu items send their command IDs by commandTriggered.
class CToolBarEx : public QWidget
{
    Q_OBJECT

public:
    enum EButtonStyle
    {
        kButton = 0,
        kGap = 1,
        kDropDown = 8, // a click anywhere on it opens its menu
    };

    static constexpr int kMaxRecords = 100; // buttons and their gaps: at most 50 buttons
    static constexpr int kGapWidth = 8;
    static constexpr int kBorder = 2;      // around the buttons, on each side
    static constexpr int kFrameTop = 4;    // rows 0 to 3: the dark line on row 2, the light one on row 3
    static constexpr int kFrameBottom = 2; // the dark line on the last row
    static constexpr QSize kMinButtonSize{70, 55};
    static constexpr QSize kImageSize{32, 32};
    static constexpr QRgb kBackground = 0xFFF3F3FA; // red 243, green 243, blue 250
    static constexpr QRgb kDarkLine = 0xFFACA899;   // red 172, green 168, blue 153
    static constexpr QRgb kLightLine = 0xFFFFFFFF;

    explicit CToolBarEx(QWidget* parent = nullptr);
    ~CToolBarEx() override;

    // Appends a button and the gap after it; ignored once the records are full.
    void AddButton(int command, EButtonStyle style, const QIcon& icon, const QString& text);
    // Gives the n-th button (0-based, gaps not counted) a copy of the menu: texts, command IDs (the
    // actions' data), separators and whether an item can carry a check mark, all items unchecked.
    // False when there is no such button.
    bool SetDropDownMenu(int n, const QMenu& source);
    // Makes the buttons from the records. Every button gets the same size: 70 x 55, or larger
    // when a text needs it, so that no text is cut; a drop-down button is wider by its arrow.
    void ApplyButtons();

    // Sets the check mark of the menu item with this command in the button menus; false when no
    // menu has it. The only way a check mark changes: choosing an item sends its command and leaves
    // the mark to whoever handles the command.
    bool SetMenuItemChecked(int command, bool checked);

    int ButtonCount() const;
    // The n-th button after ApplyButtons (gaps not counted), nullptr when there is none.
    QToolButton* Button(int n) const;
    QMenu* DropDownMenu(int n) const;
    // The size of a plain button after ApplyButtons; drop-down buttons are DropDownArrowWidth wider.
    QSize ButtonSize() const { return m_buttonSize; }
    int DropDownArrowWidth() const { return m_arrowWidth; }

    // Buttons that do not fit the bar's width go into the menu of an overflow button at its end, in
    // their order: a plain button as an item that sends its command, a drop-down button as a submenu.
    QToolButton* OverflowButton() const { return m_overflowButton; }
    QMenu* OverflowMenu() const { return m_overflowMenu; }

    QSize sizeHint() const override;

Q_SIGNALS:
    void commandTriggered(int command);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    struct SButtonRecord
    {
        int command = 0; // 0 for a gap
        EButtonStyle style = kButton;
        QIcon icon;
        int gapWidth = 0;
        QString text;
        QPointer<QMenu> menu; // owned through the Qt parent
        QPointer<QToolButton> button;
    };

    QSize ButtonSize(const SButtonRecord& record) const;
    SButtonRecord* NthButtonRecord(int n);
    const SButtonRecord* NthButtonRecord(int n) const;
    void OnMenuItem(QAction* action);
    // Places the buttons from the left; those that do not fit go to the overflow menu.
    void PlaceButtons();

    std::vector<SButtonRecord> m_records;
    QSize m_buttonSize = kMinButtonSize;
    int m_arrowWidth = 0;
    QToolButton* m_overflowButton = nullptr;
    QMenu* m_overflowMenu = nullptr;
};
