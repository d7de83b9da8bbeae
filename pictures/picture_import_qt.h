#pragma once

#include "archive/byte_file.h"
#include "pictures/decoded_picture.h"

#include <cstdint>
#include <span>
#include <string>

namespace pagelark {

// The largest picture file read: a 64 x 64 picture takes a few kilobytes,
// even with a colour profile and comments beside it.
constexpr std::int64_t MaxPictureFileBytes = 4 * 1024 * 1024;

// Decodes a picture file by its content, whatever its name: a BMP with the
// program's own reader, a PNG (or any other format Qt reads) with Qt. A
// palette PNG of any depth, or a greyscale PNG of fewer than 8 bits, keeps
// its indices and its colour table, its transparency as alpha; any other
// picture has ARGB pixels. A picture whose size is not 64 x 64 is refused
// before its pixels are decoded, and so is one whose pixels cannot all be
// decoded (a damaged or cut file), where Qt would fill in what is missing.
DecodedPicture decodePictureBytes(std::span<const std::uint8_t> bytes);

// Reads a regular file of at most MaxPictureFileBytes and decodes it as above.
// Errors are the file's own ("File not found") or say what is wrong with the
// picture, without the file's name.
DecodedPicture readPictureFile(const std::string& path);
// The same from a file open for reading, read from its start; the file stays
// open, as any file a caller passes does.
DecodedPicture readPictureFile(ByteFile& file);

}  // namespace pagelark
