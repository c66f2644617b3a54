#pragma once

#include "ui/grid/IInPlaceEditor.h"

#include <QCalendarWidget>

// The date in-place editor: a month calendar opened on the cell's date, its top right corner on the
// cell's. Choosing a date and losing the focus commit the selected date as "yyyy-MM-dd"; Escape
// cancels.
class CMonthCalCtrlEx : public QCalendarWidget, public IInPlaceEditor
{
    Q_OBJECT

public:
    static constexpr QSize kSize{270, 160};

    explicit CMonthCalCtrlEx(QWidget* parent = nullptr);

    QWidget* Widget() override { return this; }
    void Begin(const QString& cellText) override;
    QString Text() const override;
    void Place(const QRect& cell) override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};
