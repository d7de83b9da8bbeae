#include "app/clickable_fields.h"

#include <QMouseEvent>

namespace pagelark {

namespace {

bool isClick(const QMouseEvent* event, const QRect& area)
{
    return event->button() == Qt::LeftButton && area.contains(event->position().toPoint());
}

}  // namespace

void ClickableLineEdit::mouseReleaseEvent(QMouseEvent* event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (isClick(event, rect()))
        emit clicked();
}

// The text view gets its mouse events from its viewport, in viewport positions.
void ClickableTextView::mouseReleaseEvent(QMouseEvent* event)
{
    QPlainTextEdit::mouseReleaseEvent(event);
    if (isClick(event, viewport()->rect()))
        emit clicked();
}

}  // namespace pagelark
