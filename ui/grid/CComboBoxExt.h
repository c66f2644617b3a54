#pragma once

#include "ui/grid/IInPlaceEditor.h"

#include <QComboBox>

class CComboItemDelegate;

// The combo in-place editor, editable or list only (dropped down as soon as it opens). It opens on
// the first item that begins with the cell's text, or on the cell's text added as the last item.
// Choosing an item, Enter and losing the focus commit; Escape cancels, also in the open list.
class CComboBoxExt : public QComboBox, public IInPlaceEditor
{
    Q_OBJECT

public:
    enum class EStyle
    {
        Editable,
        ListOnly,
    };

    explicit CComboBoxExt(EStyle style, QWidget* parent = nullptr);

    QWidget* Widget() override { return this; }
    void SetList(const QString& list) override;
    void Begin(const QString& cellText) override;
    QString Text() const override;
    void Place(const QRect& cell) override;
    void Opened() override;

protected:
    CComboItemDelegate* ItemDelegate() const { return m_delegate; }

    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    EStyle m_style;
    CComboItemDelegate* m_delegate;
    QString m_cellText;
};
