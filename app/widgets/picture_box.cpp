#include "app/widgets/picture_box.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

namespace pagelark {

PictureBox::PictureBox(int width, int height, QWidget* parent) : QWidget(parent), canvas_(width, height)
{
    setFixedSize(width, height);
    setMouseTracking(true);
    // Every pixel is painted from the canvas, so nothing beneath needs drawing.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::paintEvent(QPaintEvent* /*event*/)
{
    // The canvas stores 0xFFRRGGBB words, which is RGB32: shown without a copy.
    const QImage image(reinterpret_cast<const uchar*>(canvas_.argbData()), canvas_.width(), canvas_.height(),
                       static_cast<qsizetype>(canvas_.width()) * 4, QImage::Format_RGB32);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(0, 0, image);
}

void PictureBox::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    emit mouseMoved(at.x(), at.y());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (clicks_.isClick(event, rect()))
        emit clicked();
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* /*event*/) { clicks_.noteDoubleClick(); }

}  // namespace pagelark
