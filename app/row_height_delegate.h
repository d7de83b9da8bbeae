#pragma once

#include <QStyledItemDelegate>

namespace pagelark {

// Draws list entries as usual but in rows of one fixed height.
class RowHeightDelegate : public QStyledItemDelegate {
public:
    RowHeightDelegate(int rowHeight, QObject* parent) : QStyledItemDelegate(parent), rowHeight_(rowHeight) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), rowHeight_};
    }

private:
    int rowHeight_;
};

}  // namespace pagelark
