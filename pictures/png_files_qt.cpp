#include "pictures/png_files_qt.h"

#include "archive/run_error.h"

#include <QBuffer>
#include <QImage>

namespace pagelark {

namespace {

QRgb opaque(PackedColor color)
{
    return qRgb(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

}  // namespace

std::vector<std::uint8_t> indexedPngBytes(const PixelGrid& grid, const Palette& palette, bool transparentBackground)
{
    QImage image(GridSide, GridSide, QImage::Format_Indexed8);
    QList<QRgb> colors;
    colors.reserve(PaletteSize);
    for (const PackedColor color : palette)
        colors.push_back(opaque(color));
    if (transparentBackground)
        colors[EmptyIndex] = colors[EmptyIndex] & RGB_MASK;  // the colour kept, alpha 0
    image.setColorTable(colors);
    for (int y = 0; y < GridSide; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < GridSide; ++x)
            row[x] = grid[gridCell(x, y)];
    }
    return pngBytes(image);
}

std::vector<std::uint8_t> pngBytes(const QImage& image)
{
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        throw RunError::message("The picture could not be encoded as PNG");
    return {encoded.begin(), encoded.end()};
}

}  // namespace pagelark
