#include "app/widgets/circle_shape.h"

#include <QPainter>

namespace pagelark {

CircleShape::CircleShape(QWidget* parent) : QWidget(parent) {}

void CircleShape::setBrushColor(PackedColor color)
{
    brushColor_ = color & 0xFFFFFFu;
    update();
}

void CircleShape::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::black);
    painter.setBrush(QColor(static_cast<int>(brushColor_ & 0xFF), static_cast<int>((brushColor_ >> 8) & 0xFF),
                            static_cast<int>((brushColor_ >> 16) & 0xFF)));
    painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

}  // namespace pagelark
