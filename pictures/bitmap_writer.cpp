#include "pictures/bitmap_writer.h"

#include "archive/byte_file.h"

#include <algorithm>

namespace pagelark {

void writeBitmapFile(const std::string& path, const PixelGrid& grid, const BmpHeaderTemplate& header)
{
    // The grid is column-major; the file holds rows, the bottom one first.
    std::array<std::uint8_t, BmpHeaderSize + GridCells> bytes{};
    std::copy(header.begin(), header.end(), bytes.begin());
    std::size_t at = BmpHeaderSize;
    for (int y = GridSide - 1; y >= 0; --y) {
        for (int x = 0; x < GridSide; ++x)
            bytes[at++] = grid[gridCell(x, y)];
    }

    ByteFile file;
    file.create(path);
    file.writeBytes(bytes.data(), bytes.size());
    file.close();
}

}  // namespace pagelark
