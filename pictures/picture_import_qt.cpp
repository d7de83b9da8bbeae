#include "pictures/picture_import_qt.h"

#include "archive/byte_file.h"
#include "archive/run_error.h"
#include "pictures/bmp_reader.h"
#include "pictures/gif_pixels.h"
#include "pictures/jpeg_segments.h"
#include "pictures/picture_import.h"
#include "pictures/png_chunks.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <array>
#include <vector>

namespace pagelark {

namespace {

constexpr std::array<std::uint8_t, 8> PngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool isPng(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= PngSignature.size() && std::equal(PngSignature.begin(), PngSignature.end(), bytes.begin());
}

[[noreturn]] void refuse(const QString& why)
{
    throw RunError::message("not a picture file Pagelark can read: " + why.toStdString());
}

DecodedPicture indexedPicture(const QImage& image)
{
    const QImage indexed
        = image.format() == QImage::Format_Indexed8 ? image : image.convertToFormat(QImage::Format_Indexed8);
    DecodedPicture picture;
    picture.width = indexed.width();
    picture.height = indexed.height();
    picture.indexed = true;
    const QList<QRgb> colors = indexed.colorTable();
    picture.colorTable.assign(colors.begin(), colors.end());
    picture.indices.reserve(static_cast<std::size_t>(picture.width * picture.height));
    for (int y = 0; y < picture.height; ++y) {
        const uchar* row = indexed.constScanLine(y);
        picture.indices.insert(picture.indices.end(), row, row + picture.width);
    }
    return picture;
}

DecodedPicture colorPicture(const QImage& image)
{
    // Not premultiplied: a QRgb of this format is the colour and its alpha as the file has them.
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    DecodedPicture picture;
    picture.width = argb.width();
    picture.height = argb.height();
    picture.pixels.reserve(static_cast<std::size_t>(picture.width * picture.height));
    for (int y = 0; y < picture.height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        picture.pixels.insert(picture.pixels.end(), row, row + picture.width);
    }
    return picture;
}

}  // namespace

DecodedPicture decodePictureBytes(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        DecodedPicture picture = decodeBmp(bytes);
        requireGridSize(picture.width, picture.height);
        return picture;
    }

    const QByteArray data
        = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    // The format comes from the content; a PNG is named so no other reader guesses at it.
    QImageReader reader(&buffer, isPng(bytes) ? QByteArray("png") : QByteArray());
    if (!reader.canRead())
        refuse("its content is no picture format known here");
    const QSize size = reader.size();
    if (!size.isValid())
        refuse("its size cannot be read before its pixels");
    requireGridSize(size.width(), size.height());

    // Qt's readers take a damaged PNG chunk, a cut GIF or a cut JPEG for a
    // picture, filling in what is missing: these files are checked first.
    checkPngChunks(bytes);
    checkGifPixels(bytes);
    checkJpegSegments(bytes);
    const QImage image = reader.read();
    if (image.isNull())
        throw RunError::message("the picture's pixels cannot all be decoded: " + reader.errorString().toStdString());
    requireGridSize(image.width(), image.height());
    // Palette PNGs of every depth and greyscale PNGs of low depth come as
    // indexed images; whether the indices are the palette's is for the
    // colour table to say.
    const bool indexedImage = image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono
        || image.format() == QImage::Format_MonoLSB;
    return indexedImage ? indexedPicture(image) : colorPicture(image);
}

DecodedPicture readPictureFile(const std::string& path)
{
    ByteFile file;
    file.openRead(path);
    return readPictureFile(file);
}

DecodedPicture readPictureFile(ByteFile& file)
{
    file.seek(0);
    const std::int64_t size = file.size();
    if (size > MaxPictureFileBytes)
        throw RunError::message("the file is " + std::to_string(size)
                                + " bytes long, more than a 64 by 64 picture file ever needs");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    file.readBytes(bytes.data(), bytes.size());
    return decodePictureBytes(bytes);
}

}  // namespace pagelark
