#include "app/widgets/about_picture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

namespace pagelark {

namespace {

constexpr int Side = 32;
constexpr int ClearColumns = 2;  // on each side

}  // namespace

QImage larkImage()
{
    QImage image(Side, Side, QImage::Format_ARGB32);
    image.fill(Qt::transparent);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);

    const int inner = Side - 2 * ClearColumns;
    painter.fillRect(ClearColumns, 0, inner, 24, QColor(135, 200, 245));  // sky
    painter.fillRect(ClearColumns, 24, inner, 8, QColor(90, 160, 60));    // meadow
    painter.fillRect(ClearColumns, 24, inner, 1, QColor(120, 185, 80));

    // Tail, body, head and crest of the bird, facing right.
    const QColor plumage(150, 110, 70);
    const QColor breast(215, 185, 140);
    painter.setBrush(plumage.darker(120));
    painter.drawPolygon(QPolygon({QPoint(4, 20), QPoint(10, 15), QPoint(11, 19), QPoint(5, 22)}));
    painter.setBrush(plumage);
    painter.drawEllipse(QRect(8, 11, 15, 10));
    painter.setBrush(breast);
    painter.drawEllipse(QRect(13, 15, 9, 6));
    painter.setBrush(plumage);
    painter.drawEllipse(QRect(19, 7, 8, 7));
    painter.drawPolygon(QPolygon({QPoint(20, 8), QPoint(21, 4), QPoint(23, 7)}));

    // Wing stripes, eye, beak and legs.
    painter.setBrush(plumage.darker(150));
    painter.drawRect(11, 13, 6, 1);
    painter.drawRect(12, 15, 5, 1);
    painter.setBrush(Qt::black);
    painter.drawRect(24, 9, 1, 1);
    painter.setBrush(QColor(230, 170, 40));
    painter.drawPolygon(QPolygon({QPoint(27, 10), QPoint(29, 11), QPoint(27, 12)}));
    painter.setBrush(QColor(120, 70, 40));
    painter.drawRect(15, 21, 1, 4);
    painter.drawRect(18, 21, 1, 4);
    painter.end();
    return image;
}

AboutPicture::AboutPicture(QWidget* parent) : QWidget(parent), image_(larkImage()) { setFixedSize(image_.size()); }

void AboutPicture::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

void AboutPicture::mouseReleaseEvent(QMouseEvent* event)
{
    if (clicks_.isClick(event, rect()))
        emit clicked();
}

void AboutPicture::mouseDoubleClickEvent(QMouseEvent* /*event*/) { clicks_.noteDoubleClick(); }

}  // namespace pagelark
