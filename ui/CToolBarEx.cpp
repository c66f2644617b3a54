#include "ui/CToolBarEx.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

#include <algorithm>

CToolBarEx::CToolBarEx(QWidget* parent)
    : QWidget(parent)
{
    // A click anywhere on the bar moves the focus here first, which ends an open cell edit.
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_records.reserve(kMaxRecords);

    m_overflowMenu = new QMenu(this);
    m_overflowButton = new QToolButton(this);
    m_overflowButton->setText(QStringLiteral("»"));
    m_overflowButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_overflowButton->setAutoRaise(true);
    m_overflowButton->setFocusPolicy(Qt::NoFocus);
    m_overflowButton->setPopupMode(QToolButton::InstantPopup);
    m_overflowButton->setMenu(m_overflowMenu);
    m_overflowButton->hide();
}

CToolBarEx::~CToolBarEx() = default;

void CToolBarEx::AddButton(int command, EButtonStyle style, const QIcon& icon, const QString& text)
{
    if (m_records.size() >= size_t(kMaxRecords))
        return;
    SButtonRecord button;
    button.command = command;
    button.style = style;
    button.icon = icon;
    button.text = text;
    m_records.push_back(std::move(button));

    SButtonRecord gap;
    gap.style = kGap;
    gap.gapWidth = kGapWidth;
    m_records.push_back(std::move(gap));
}

CToolBarEx::SButtonRecord* CToolBarEx::NthButtonRecord(int n)
{
    return const_cast<SButtonRecord*>(std::as_const(*this).NthButtonRecord(n));
}

const CToolBarEx::SButtonRecord* CToolBarEx::NthButtonRecord(int n) const
{
    int count = 0;
    for (const SButtonRecord& record : m_records) {
        if (record.style == kGap)
            continue;
        if (count++ == n)
            return &record;
    }
    return nullptr;
}

bool CToolBarEx::SetDropDownMenu(int n, const QMenu& source)
{
    SButtonRecord* record = NthButtonRecord(n);
    if (!record)
        return false;
    delete record->menu;
    auto* menu = new QMenu(this);
    for (QAction* item : source.actions()) {
        if (item->isSeparator()) {
            menu->addSeparator();
            continue;
        }
        QAction* copy = menu->addAction(item->icon(), item->text());
        copy->setData(item->data());
        copy->setCheckable(item->isCheckable());
        connect(copy, &QAction::triggered, this, [this, copy] { OnMenuItem(copy); });
    }
    record->menu = menu;
    if (record->button)
        record->button->setMenu(menu);
    return true;
}

void CToolBarEx::OnMenuItem(QAction* action)
{
    // Qt flips a checkable item when it is chosen; undo that, the command's handler sets the mark.
    if (action->isCheckable())
        action->setChecked(!action->isChecked());
    Q_EMIT commandTriggered(action->data().toInt());
}

void CToolBarEx::ApplyButtons()
{
    for (SButtonRecord& record : m_records)
        delete record.button;

    // Every button gets the same picture and text area: 70 x 55, or larger when a text needs it,
    // so that no text is cut. A drop-down button is wider by its arrow.
    QSize size = kMinButtonSize;
    m_arrowWidth = 0;
    for (SButtonRecord& record : m_records) {
        if (record.style == kGap)
            continue;
        auto* button = new QToolButton(this);
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        // A button that kept the focus would repeat its command on Space or Enter (Delete without a
        // question); the bar itself takes the focus instead.
        button->setFocusPolicy(Qt::NoFocus);
        button->setIconSize(kImageSize);
        button->setIcon(record.icon);
        button->setText(record.text);
        size = size.expandedTo(button->sizeHint());
        if (record.style == kDropDown) {
            // Room for the arrow as a separate arrow would take, so that it never covers the text;
            // but a click anywhere on the button opens the menu, the button has no command of its own.
            const int plainWidth = button->sizeHint().width();
            button->setPopupMode(QToolButton::MenuButtonPopup);
            button->setMenu(record.menu);
            m_arrowWidth = std::max(m_arrowWidth, button->sizeHint().width() - plainWidth);
            button->setPopupMode(QToolButton::InstantPopup);
        } else {
            const int command = record.command;
            connect(button, &QToolButton::clicked, this, [this, command] { Q_EMIT commandTriggered(command); });
        }
        record.button = button;
    }
    m_buttonSize = size;
    PlaceButtons();
    updateGeometry();
}

void CToolBarEx::PlaceButtons()
{
    const int y = kFrameTop + kBorder;
    const bool allFit = width() >= sizeHint().width();
    const QSize overflowSize(m_overflowButton->sizeHint().width(), m_buttonSize.height());
    const int right = allFit ? width() : width() - kBorder - overflowSize.width();

    // A leading gap as wide as the gap after the last button, then the records in order.
    int x = kBorder + (!m_records.empty() && m_records.back().style == kGap ? m_records.back().gapWidth : 0);
    bool overflowing = false;
    m_overflowMenu->clear();
    for (SButtonRecord& record : m_records) {
        if (record.style == kGap) {
            x += record.gapWidth;
            continue;
        }
        if (!record.button)
            continue;
        const QSize buttonSize = ButtonSize(record);
        overflowing = overflowing || x + buttonSize.width() > right;
        record.button->setGeometry(QRect(QPoint(x, y), buttonSize));
        record.button->setVisible(!overflowing);
        x += buttonSize.width();
        if (!overflowing)
            continue;
        if (record.menu) {
            record.menu->setTitle(record.text);
            record.menu->setIcon(record.icon);
            m_overflowMenu->addMenu(record.menu);
        } else {
            QAction* item = m_overflowMenu->addAction(record.icon, record.text);
            const int command = record.command;
            connect(item, &QAction::triggered, this, [this, command] { Q_EMIT commandTriggered(command); });
        }
    }
    m_overflowButton->setGeometry(QRect(QPoint(width() - kBorder - overflowSize.width(), y), overflowSize));
    m_overflowButton->setVisible(overflowing);
}

void CToolBarEx::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PlaceButtons();
}

bool CToolBarEx::SetMenuItemChecked(int command, bool checked)
{
    bool found = false;
    for (const SButtonRecord& record : m_records) {
        if (!record.menu)
            continue;
        for (QAction* item : record.menu->actions()) {
            if (!item->isSeparator() && item->data().toInt() == command) {
                item->setChecked(checked);
                found = true;
            }
        }
    }
    return found;
}

int CToolBarEx::ButtonCount() const
{
    return int(std::count_if(m_records.begin(), m_records.end(),
                             [](const SButtonRecord& record) { return record.style != kGap; }));
}

QToolButton* CToolBarEx::Button(int n) const
{
    const SButtonRecord* record = NthButtonRecord(n);
    return record ? record->button.data() : nullptr;
}

QMenu* CToolBarEx::DropDownMenu(int n) const
{
    const SButtonRecord* record = NthButtonRecord(n);
    return record ? record->menu.data() : nullptr;
}

QSize CToolBarEx::ButtonSize(const SButtonRecord& record) const
{
    return record.style == kDropDown ? m_buttonSize + QSize(m_arrowWidth, 0) : m_buttonSize;
}

QSize CToolBarEx::sizeHint() const
{
    int width = 2 * kBorder;
    for (const SButtonRecord& record : m_records)
        width += record.style == kGap ? record.gapWidth : ButtonSize(record).width();
    if (!m_records.empty() && m_records.back().style == kGap)
        width += m_records.back().gapWidth;
    return QSize(width, kFrameTop + 2 * kBorder + m_buttonSize.height() + kFrameBottom);
}

void CToolBarEx::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const int w = width();
    const int h = height();
    painter.fillRect(rect(), QColor::fromRgb(kBackground));
    painter.setPen(QColor::fromRgb(kDarkLine));
    painter.drawLine(0, 2, w, 2);
    painter.drawLine(0, h - 1, w, h - 1);
    painter.setPen(QColor::fromRgb(kLightLine));
    painter.drawLine(0, 3, w, 3);
}

void CToolBarEx::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(event);
}
