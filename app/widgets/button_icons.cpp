#include "app/widgets/button_icons.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygon>

#include <array>

namespace pagelark {

namespace {

constexpr int IconSide = 16;

QPixmap blankIcon()
{
    QPixmap pixmap(IconSide, IconSide);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

}  // namespace

QIcon paletteIcon()
{
    QPixmap pixmap = blankIcon();
    QPainter painter(&pixmap);
    const std::array<QColor, 4> colors{QColor(220, 30, 30), QColor(40, 170, 40), QColor(40, 70, 220),
                                       QColor(240, 200, 30)};
    for (int i = 0; i < 4; ++i) {
        const QRect square((i % 2) * 8 + 1, (i / 2) * 8 + 1, 6, 6);
        painter.fillRect(square, colors[static_cast<std::size_t>(i)]);
        painter.setPen(Qt::black);
        painter.drawRect(square.adjusted(0, 0, -1, -1));
    }
    painter.end();
    return QIcon(pixmap);
}

QIcon playIcon()
{
    QPixmap pixmap = blankIcon();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0, 100, 0));
    painter.setBrush(QColor(0, 180, 0));
    painter.drawPolygon(QPolygon({QPoint(4, 2), QPoint(13, 8), QPoint(4, 14)}));
    painter.end();
    return QIcon(pixmap);
}

QIcon muteIcon()
{
    QPixmap pixmap = blankIcon();
    QPainter painter(&pixmap);
    painter.fillRect(QRect(3, 3, 10, 10), QColor(200, 0, 0));
    painter.end();
    return QIcon(pixmap);
}

}  // namespace pagelark
