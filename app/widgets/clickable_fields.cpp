#include "app/widgets/clickable_fields.h"

#include <QMouseEvent>

namespace pagelark {

void ClickableLineEdit::mouseReleaseEvent(QMouseEvent* event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (clicks_.isClick(event, rect()))
        emit clicked();
}

void ClickableLineEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    clicks_.noteDoubleClick();
    QLineEdit::mouseDoubleClickEvent(event);
}

// The text view gets its mouse events from its viewport, in viewport positions.
void ClickableTextView::mouseReleaseEvent(QMouseEvent* event)
{
    QPlainTextEdit::mouseReleaseEvent(event);
    if (clicks_.isClick(event, viewport()->rect()))
        emit clicked();
}

void ClickableTextView::mouseDoubleClickEvent(QMouseEvent* event)
{
    clicks_.noteDoubleClick();
    QPlainTextEdit::mouseDoubleClickEvent(event);
}

}  // namespace pagelark
