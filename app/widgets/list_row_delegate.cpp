#include "app/widgets/list_row_delegate.h"

#include <QApplication>
#include <QPainter>

namespace pagelark {

namespace {

QStyle* styleOf(const QStyleOptionViewItem& option)
{
    return option.widget != nullptr ? option.widget->style() : QApplication::style();
}

// The space the style leaves between an item's edge and its text.
int textMargin(const QStyleOptionViewItem& option)
{
    return styleOf(option)->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
}

}  // namespace

QSize ListRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    return {item.fontMetrics.horizontalAdvance(item.text) + 2 * textMargin(item), rowHeight_};
}

void ListRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString text = item.text;
    // The style draws the row's background, selection and focus frame.
    item.text.clear();
    styleOf(item)->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);

    const bool selected = (item.state & QStyle::State_Selected) != 0;
    const QPalette::ColorGroup group = (item.state & QStyle::State_Enabled) == 0 ? QPalette::Disabled
        : (item.state & QStyle::State_Active) == 0                               ? QPalette::Inactive
                                                                                 : QPalette::Normal;
    const int margin = textMargin(item);
    const QRect area = item.rect.adjusted(margin, 0, -margin, 0);
    const int baseline = area.top() + (area.height() + item.fontMetrics.ascent() - item.fontMetrics.descent()) / 2;
    painter->save();
    painter->setClipRect(area, Qt::IntersectClip);
    painter->setFont(item.font);
    painter->setPen(item.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(QPoint(area.left(), baseline), text);
    painter->restore();
}

}  // namespace pagelark
