#include "sheets/contact_sheet_qt.h"

#include "archive/output_file.h"
#include "archive/run_error.h"

#include <QFile>
#include <QFont>
#include <QImage>
#include <QImageWriter>
#include <QPainter>

#include <cstring>
#include <memory>

namespace pagelark {

namespace {

// The text's coverage is the alpha of one small image, reused label after
// label.
class QtLabelDrawer {
public:
    void operator()(const std::string& text, int width, int height, std::span<std::uint8_t> coverage)
    {
        if (image_.width() != width || image_.height() != height)
            image_ = QImage(width, height, QImage::Format_Alpha8);
        if (image_.isNull())
            return;
        image_.fill(Qt::transparent);
        {
            QPainter painter(&image_);
            QFont font = painter.font();
            font.setPixelSize(SheetGeometry::LabelHeight - 5);
            painter.setFont(font);
            painter.setPen(Qt::white);
            painter.drawText(QRect(0, 0, width, height), Qt::AlignLeft | Qt::AlignVCenter,
                             QString::fromStdString(text));
        }
        for (int y = 0; y < height; ++y)
            std::memcpy(coverage.data() + static_cast<std::size_t>(y * width), image_.constScanLine(y),
                        static_cast<std::size_t>(width));
    }

private:
    QImage image_;
};

QRgb rgbOf(PackedColor color)
{
    return qRgb(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

}  // namespace

LabelDrawer qtLabelDrawer()
{
    // std::function copies its target; the drawer's image is shared by the copies.
    auto drawer = std::make_shared<QtLabelDrawer>();
    return [drawer](const std::string& text, int width, int height, std::span<std::uint8_t> coverage) {
        (*drawer)(text, width, height, coverage);
    };
}

void writeSheetPng(const IndexedSheet& sheet, OutputFile& out)
{
    // A view of the sheet's own pixels; Qt reads them in place.
    QImage image(sheet.pixels.get(), sheet.width, sheet.height, sheet.bytesPerLine, QImage::Format_Indexed8);
    QList<QRgb> colours;
    colours.reserve(static_cast<qsizetype>(sheet.colours.size()));
    for (const PackedColor colour : sheet.colours)
        colours.push_back(rgbOf(colour));
    image.setColorTable(colours);

    QFile file;
    if (!file.open(out.descriptor(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
        throw RunError::message("The sheet could not be written: " + file.errorString().toStdString());
    QImageWriter writer(&file, "png");
    // The file's own error ("No space left on device") says more than the writer's.
    if (!writer.write(image) || !file.flush()) {
        const QString reason = file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString();
        throw RunError::message("The sheet could not be written: " + reason.toStdString());
    }
}

}  // namespace pagelark
