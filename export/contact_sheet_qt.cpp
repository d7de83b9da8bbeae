#include "export/contact_sheet_qt.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <string>

namespace pagelark {

namespace {

constexpr QRgb LabelColour = 0xFFF0F0F0;
constexpr QRgb MissingColour = 0xFFD04040;

QRgb colourOf(PackedColor color)
{
    return qRgb(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

void drawPicture(QImage& sheet, const SheetPicture& picture, const Palette& palette, int left, int top, int scale)
{
    const bool sprite = picture.kind == ItemKind::Sprite;
    for (int y = 0; y < GridSide * scale; ++y) {
        auto* row = reinterpret_cast<QRgb*>(sheet.scanLine(top + y)) + left;
        for (int x = 0; x < GridSide * scale; ++x) {
            const std::uint8_t index = (*picture.grid)[gridCell(x / scale, y / scale)];
            if (!(sprite && index == EmptyIndex))
                row[x] = colourOf(palette[index]);
        }
    }
}

void crossOut(QPainter& painter, int left, int top, int side)
{
    painter.setPen(QPen(QColor::fromRgb(MissingColour), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(left + 1, top + 1, side - 2, side - 2);
    painter.drawLine(left + 1, top + 1, left + side - 2, top + side - 2);
    painter.drawLine(left + side - 2, top + 1, left + 1, top + side - 2);
}

// The chunk index, then the number within the kind: "130 #24". Short, so it
// fits under a picture that is not enlarged; the kind is the sheet's own.
QString labelOf(const SheetPicture& picture)
{
    return QStringLiteral("%1 #%2").arg(picture.chunkIndex).arg(picture.itemNumber);
}

}  // namespace

QImage drawContactSheet(const std::vector<SheetPicture>& pictures, const Palette& palette, SheetLayout layout)
{
    // A short file gets a sheet no wider than its pictures.
    layout.columns = std::clamp(layout.columns, 1, std::max(static_cast<int>(pictures.size()), 1));
    const SheetGeometry geometry{layout, static_cast<int>(pictures.size())};
    QImage sheet(geometry.width(), geometry.height(), QImage::Format_RGB32);
    sheet.fill(SheetBackground);

    for (int k = 0; k < geometry.count; ++k) {
        const SheetPicture& picture = pictures[static_cast<std::size_t>(k)];
        if (picture.grid)
            drawPicture(sheet, picture, palette, geometry.pictureLeft(k), geometry.pictureTop(k), layout.scale);
    }

    QPainter painter(&sheet);
    QFont font = painter.font();
    font.setPixelSize(SheetGeometry::LabelHeight - 5);
    painter.setFont(font);
    for (int k = 0; k < geometry.count; ++k) {
        const SheetPicture& picture = pictures[static_cast<std::size_t>(k)];
        const int left = geometry.pictureLeft(k);
        const int top = geometry.pictureTop(k);
        if (!picture.grid)
            crossOut(painter, left, top, geometry.pictureSide());
        painter.setPen(QColor::fromRgb(LabelColour));
        painter.drawText(QRect(left, top + geometry.pictureSide(), geometry.pictureSide(), SheetGeometry::LabelHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, labelOf(picture));
    }
    return sheet;
}

}  // namespace pagelark
