#pragma once

#include "ui/grid/IInPlaceEditor.h"

#include <QLineEdit>

// The single-line in-place editor: Enter and losing the focus commit, Escape cancels, Tab commits
// and moves on to the next editable cell of the row.
class CEditEx : public QLineEdit, public IInPlaceEditor
{
    Q_OBJECT

public:
    static constexpr int kMaxLength = 254;

    explicit CEditEx(QWidget* parent = nullptr);

    QWidget* Widget() override { return this; }
    void Begin(const QString& cellText) override;
    QString Text() const override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QString m_cellText;
    bool m_inContextMenu = false;
};
