#include "pictures/bitmap_writer.h"

#include <algorithm>

namespace pagelark {

std::array<std::uint8_t, BitmapFileSize> bitmapFileBytes(const PixelGrid& grid, const BmpHeaderTemplate& header)
{
    // The grid is column-major; the file holds rows, the bottom one first.
    std::array<std::uint8_t, BitmapFileSize> bytes{};
    std::copy(header.begin(), header.end(), bytes.begin());
    std::size_t at = BmpHeaderSize;
    for (int y = GridSide - 1; y >= 0; --y) {
        for (int x = 0; x < GridSide; ++x)
            bytes[at++] = grid[gridCell(x, y)];
    }
    return bytes;
}

void writeBitmapFile(const std::string& path, const PixelGrid& grid, const BmpHeaderTemplate& header,
                     const std::vector<FileIdentity>& readFiles, OutputAccess access)
{
    const auto bytes = bitmapFileBytes(grid, header);
    OutputFile out(path, readFiles, access);
    out.write(bytes.data(), bytes.size());
    out.commit();
}

}  // namespace pagelark
