#pragma once

#include <QStyledItemDelegate>

namespace pagelark {

// Draws the chunk list's entries in rows of one fixed height, each line of
// text drawn once at its natural width. A list line is never wrapped nor
// shortened; the list cuts it at its edge. The style's own item drawing lays
// every line out three times over (to size it, to elide it, to draw it), which
// made painting a freshly filled list cost more than opening the file.
class ListRowDelegate : public QStyledItemDelegate {
public:
    ListRowDelegate(int rowHeight, QObject* parent) : QStyledItemDelegate(parent), rowHeight_(rowHeight) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int rowHeight_;
};

}  // namespace pagelark
