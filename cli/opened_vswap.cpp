#include "cli/opened_vswap.h"

namespace pagelark::cli {

std::unique_ptr<OpenedVswap> openVswap(const std::string& path)
{
    auto opened = std::make_unique<OpenedVswap>();
    opened->path = path;
    namingFile(path, [&] {
        opened->file.openRead(path);
        readChunkTable(opened->file, opened->header, opened->table);
    });
    return opened;
}

std::vector<std::int32_t> listedChunks(const OpenedVswap& vswap)
{
    std::vector<std::int32_t> listed;
    for (std::int32_t i = 0; i < vswap.header.chunkCount; ++i)
        if (vswap.table.isListed(i))
            listed.push_back(i);
    return listed;
}

Palette paletteFrom(const std::string& path)
{
    Palette palette{};
    const int colours = namingFile(path, [&] { return readPaletteFile(path, palette); });
    if (colours < PaletteSize)
        throw RunError::message(path + ": not a palette of 256 colours: it holds " + std::to_string(colours));
    return palette;
}

}  // namespace pagelark::cli
