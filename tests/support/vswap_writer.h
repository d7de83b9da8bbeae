#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace pagelark::tools {

// Builds the bytes of a VSWAP file for the tests, laid out by the program's
// own page file writer (archive/page_file.h): walls, sprites and sound pages
// in that order of sections, the header's sprite and sound starts following
// from the counts, the sound information as the last chunk. What a test
// crafts beyond what the writer makes, damage above all, is put into the
// bytes the writer laid out: a recorded length other than the chunk's, a
// chunk longer than a table can record, sound entries the writer refuses.
class VswapWriter {
public:
    struct Chunk {
        std::vector<std::uint8_t> bytes;
        bool absent = false;                          // offset 0 in the table, no bytes stored
        std::optional<std::uint16_t> recordedLength;  // length in the table, when not the byte count
    };
    struct SoundEntry {
        std::uint16_t firstPage;
        std::uint16_t length;
    };

    VswapWriter& wall(Chunk chunk);
    VswapWriter& sprite(Chunk chunk);
    VswapWriter& soundPage(Chunk chunk);
    // An entry of the sound information chunk, whatever it points at.
    VswapWriter& sound(std::uint16_t firstPage, std::uint16_t length);
    // Whether the sound information ends with an entry of four zero bytes.
    VswapWriter& terminateSoundInfo(bool terminate);
    // The length the table gives the sound information, when not its entries'.
    VswapWriter& soundInfoLength(std::uint16_t length);
    // Chunks one after another, without the games' alignment, as other tools
    // write them, each as long as the table says.
    VswapWriter& withoutAlignment();
    // Bytes after the last chunk.
    VswapWriter& trailing(std::vector<std::uint8_t> bytes);

    std::uint16_t spriteStart() const;
    std::uint16_t soundStart() const;
    std::uint16_t chunkCount() const;

    std::vector<std::uint8_t> build() const;

private:
    std::vector<Chunk> walls_;
    std::vector<Chunk> sprites_;
    std::vector<Chunk> soundPages_;
    std::vector<SoundEntry> sounds_;
    bool terminateSoundInfo_ = true;
    std::optional<std::uint16_t> soundInfoLength_;
    bool aligned_ = true;
    std::vector<std::uint8_t> trailing_;
};

}  // namespace pagelark::tools
