#pragma once

#include <QHeaderView>

// The grid's column header. A title wider than its column ends with an ellipsis, so that the user
// sees it is cut (the style would clip it mid-letter); the whole title is the section's tooltip.
class CGridHeader : public QHeaderView
{
    Q_OBJECT

public:
    explicit CGridHeader(Qt::Orientation orientation, QWidget* parent = nullptr);

    // The title as the section shows it at its present width.
    QString ShownTitle(int logicalIndex) const;

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;
};
