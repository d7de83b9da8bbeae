// Writes the fuzz targets' seed inputs, one folder per target, from our own
// page file writer and sprite encoder, the demo file's art and the side files
// in data/:
//   make_seeds OUTDIR DATADIR

#include "archive/byte_file.h"
#include "archive/chunk_table.h"
#include "fuzz/input_file.h"
#include "fuzz/input_words.h"
#include "fuzz/saved_folder_content.h"
#include "fuzz/seed_maker.h"
#include "pictures/bitmap_writer.h"
#include "pictures/game_palette.h"
#include "pictures/sprite_encoder.h"
#include "saved_folder/layout_of_page_file.h"
#include "tests/support/gif_bytes.h"
#include "tests/support/png_bytes.h"
#include "tests/support/vswap_writer.h"
#include "tools/demo_vswap.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using pagelark::encodeSprite;
using pagelark::fuzz::withWords;
using pagelark::tools::spriteGrid;
using pagelark::tools::VswapWriter;

constexpr std::uint32_t WithCeiling = 1;
constexpr std::uint32_t CeilingIndexShift = 8;
constexpr std::uint32_t SomeCeilingIndex = 29;

class SeedFolder {
public:
    SeedFolder(const fs::path& root, const std::string& target) : folder_(root / target)
    {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }

    void add(const std::string& name, const Bytes& bytes) const
    {
        std::ofstream out(folder_ / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            throw std::runtime_error("cannot write " + (folder_ / name).string());
    }

private:
    fs::path folder_;
};

Bytes readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t littleEndian(const Bytes& bytes, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i)
        value |= std::uint32_t{bytes.at(at + static_cast<std::size_t>(i))} << (8 * i);
    return value;
}

// Where chunk i of a VSWAP file starts, read back from its table.
std::uint32_t chunkOffset(const Bytes& vswap, std::size_t i) { return littleEndian(vswap, 6 + 4 * i, 4); }

VswapWriter::Chunk chunk(Bytes bytes) { return {std::move(bytes), false, {}}; }

Bytes filled(std::size_t size, std::uint8_t first)
{
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(first + i);
    return bytes;
}

// A few chunks of each kind, small enough that mutations stay cheap.
VswapWriter smallVswap()
{
    VswapWriter writer;
    writer.wall(chunk(filled(64, 1))).wall(chunk(filled(64, 9)));
    const std::vector<pagelark::tools::Picture> sprites = pagelark::tools::demoSprites();
    writer.sprite(chunk(encodeSprite(spriteGrid(sprites.at(0)))));
    writer.sprite(chunk(encodeSprite(spriteGrid(sprites.at(1)))));
    writer.soundPage(chunk(filled(40, 128))).soundPage(chunk(filled(40, 64))).soundPage(chunk(filled(30, 32)));
    writer.sound(0, 80).sound(2, 30);
    return writer;
}

void chunkTableSeeds(const SeedFolder& seeds, const Bytes& demo)
{
    seeds.add("demo", demo);
    seeds.add("small", smallVswap().build());
    seeds.add("small-unterminated", smallVswap().terminateSoundInfo(false).build());
    VswapWriter odd = smallVswap();
    odd.wall({{}, true, {}}).sprite({filled(8, 0), false, 4000}).sound(4000, 7);
    seeds.add("small-odd-chunks", odd.build());
}

void decoderSeeds(const SeedFolder& seeds, const Bytes& demo)
{
    const std::vector<pagelark::tools::Picture> sprites = pagelark::tools::demoSprites();
    for (std::size_t s = 0; s < sprites.size(); ++s) {
        const Bytes sprite = encodeSprite(spriteGrid(sprites[s]));
        const std::uint32_t mode = s % 2 == 0 ? 0 : WithCeiling | SomeCeilingIndex << CeilingIndexShift;
        seeds.add("sprite" + std::to_string(s), withWords({0, mode}, sprite));
    }
    seeds.add("wall", withWords({0, 0}, filled(4096, 3)));
    seeds.add("wall-cut-short", withWords({0, 0}, filled(1000, 7)));
    // Chunks inside a whole file, so that offsets far from the start are tried too.
    const std::size_t firstSprite = pagelark::tools::demo::WallCount;
    const std::size_t lastSprite = firstSprite + pagelark::tools::demo::SpriteCount - 1;
    seeds.add("demo-wall", withWords({chunkOffset(demo, 1), 0}, demo));
    seeds.add("demo-first-sprite", withWords({chunkOffset(demo, firstSprite), 0}, demo));
    seeds.add("demo-last-sprite", withWords({chunkOffset(demo, lastSprite), WithCeiling}, demo));
}

void spriteRoundtripSeeds(const SeedFolder& seeds)
{
    const std::vector<pagelark::tools::Picture> sprites = pagelark::tools::demoSprites();
    for (std::size_t s = 0; s < sprites.size(); ++s)
        seeds.add("sprite" + std::to_string(s), encodeSprite(spriteGrid(sprites[s])));
    pagelark::PixelGrid grid;
    grid.fill(pagelark::EmptyIndex);
    seeds.add("empty", encodeSprite(grid));
    grid[pagelark::gridCell(0, 7)] = 3;
    seeds.add("column-0", encodeSprite(grid));
}

void pageFileSeeds(const SeedFolder& seeds, const Bytes& demo)
{
    chunkTableSeeds(seeds, demo);
    // The two walls' offsets swapped: chunks out of index order.
    Bytes swapped = smallVswap().build();
    std::swap_ranges(swapped.begin() + 6, swapped.begin() + 10, swapped.begin() + 10);
    seeds.add("small-out-of-order", swapped);
}

void soundPlotSeeds(const SeedFolder& seeds, const Bytes& demo)
{
    const std::vector<Bytes> sounds = pagelark::tools::demoSounds();
    for (std::size_t k = 0; k < sounds.size(); ++k)
        seeds.add("sound" + std::to_string(k), withWords({0, static_cast<std::uint32_t>(sounds[k].size())}, sounds[k]));
    const std::size_t firstPage = pagelark::tools::demo::WallCount + pagelark::tools::demo::SpriteCount;
    seeds.add("demo-sound",
              withWords({chunkOffset(demo, firstPage), static_cast<std::uint32_t>(sounds.at(0).size())}, demo));
}

void paletteSeeds(const SeedFolder& seeds, const fs::path& dataDir)
{
    const Bytes palette = readFile(dataDir / "wolfenstein.pal");
    seeds.add("wolfenstein.pal", palette);
    seeds.add("cut-short.pal",
              Bytes(palette.begin(), palette.begin() + static_cast<std::ptrdiff_t>(palette.size() / 3)));
    Bytes crlf;
    for (std::uint8_t byte : palette) {
        if (byte == '\n')
            crlf.push_back('\r');
        crlf.push_back(byte);
    }
    seeds.add("crlf.pal", crlf);
}

void descriptionSeeds(const SeedFolder& seeds, const fs::path& dataDir)
{
    // First sprite and first sound index of a registered game, of the demo
    // file, and of a header whose sounds come first.
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> starts = {{106, 542}, {8, 45}, {600, 10}};
    for (const char* name : {"wolf10swpics.txt", "wolfpics.txt", "spearpics.txt"}) {
        const Bytes text = readFile(dataDir / name);
        for (std::size_t s = 0; s < starts.size(); ++s)
            seeds.add(std::string(name) + "-" + std::to_string(s),
                      withWords({starts[s].first, starts[s].second}, text));
    }
}

void appendId(Bytes& bytes, const char (&id)[5]) { bytes.insert(bytes.end(), id, id + 4); }

void appendLittleEndian(Bytes& bytes, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// 8-bit mono PCM; other chunks, if any, between the format and the data.
Bytes wavFile(const Bytes& samples, const Bytes& otherChunks)
{
    Bytes wav;
    appendId(wav, "RIFF");
    appendLittleEndian(wav, static_cast<std::uint32_t>(36 + otherChunks.size() + samples.size()), 4);
    appendId(wav, "WAVE");
    appendId(wav, "fmt ");
    appendLittleEndian(wav, 16, 4);
    appendLittleEndian(wav, 1, 2);     // PCM
    appendLittleEndian(wav, 1, 2);     // channels
    appendLittleEndian(wav, 6896, 4);  // samples a second
    appendLittleEndian(wav, 6896, 4);  // bytes a second
    appendLittleEndian(wav, 1, 2);     // block size
    appendLittleEndian(wav, 8, 2);     // bits a sample
    wav.insert(wav.end(), otherChunks.begin(), otherChunks.end());
    appendId(wav, "data");
    appendLittleEndian(wav, static_cast<std::uint32_t>(samples.size()), 4);
    wav.insert(wav.end(), samples.begin(), samples.end());
    return wav;
}

void wavSeeds(const SeedFolder& seeds)
{
    const Bytes samples = filled(301, 100);
    seeds.add("plain.wav", wavFile(samples, {}));
    Bytes note;
    appendId(note, "note");
    appendLittleEndian(note, 3, 4);
    note.insert(note.end(), {'a', 'b', 'c', 0});  // odd size, then the pad byte
    seeds.add("with-other-chunk.wav", wavFile(samples, note));
}

// Layout files saved from page files of the target's own folder of chunks,
// each with the bytes it keeps.
void savedFolderSeeds(const SeedFolder& seeds)
{
    using namespace pagelark;
    const auto folder = [] {
        VswapWriter writer;
        for (int n = 0; n < fuzz::FolderWalls; ++n) {
            const PixelGrid wall = fuzz::folderWall(n);
            writer.wall(chunk(Bytes(wall.begin(), wall.end())));
        }
        for (int n = 0; n < fuzz::FolderSprites; ++n)
            writer.sprite(chunk(encodeSprite(fuzz::folderSprite(n))));
        std::uint16_t page = 0;
        for (int k = 0; k < fuzz::FolderSounds; ++k) {
            const Bytes sound = fuzz::folderSound(k);
            writer.sound(page, static_cast<std::uint16_t>(sound.size()));
            for (std::size_t at = 0; at < sound.size(); at += 4096, ++page)
                writer.soundPage(
                    chunk(Bytes(sound.begin() + static_cast<std::ptrdiff_t>(at),
                                sound.begin() + static_cast<std::ptrdiff_t>(std::min(at + 4096, sound.size())))));
        }
        return writer;
    };
    Bytes padded = folder().build();
    padded.back() = 0x44;  // the sound information's last byte: not its entries alone
    const std::vector<std::pair<std::string, Bytes>> files = {
        {"plain", folder().build()},
        {"unterminated-trailing", folder().terminateSoundInfo(false).trailing(filled(300, 0)).build()},
        {"other-tools", folder().withoutAlignment().trailing(filled(212, 9)).build()},
        {"absent-wall", folder().wall({{}, true, 5}).build()},
        {"odd-sound-info", padded},
    };
    for (const auto& [name, bytes] : files) {
        ByteFile file;
        file.openRead(fuzz::writeInputFile(bytes));
        VswapHeader header;
        auto table = std::make_unique<ChunkTable>();
        readChunkTable(file, header, *table);
        const LayoutOfPageFile layout = layoutOfPageFile(file, *table);
        const std::string text = savedLayoutText(layout.layout);
        Bytes input(text.begin(), text.end());
        input.insert(input.end(), layout.keptBytes.begin(), layout.keptBytes.end());
        seeds.add(name, withWords({static_cast<std::uint32_t>(text.size())}, input));
    }
}

// Pictures of a few colours in a pattern, as image editors write them: PNGs
// with colour tables of their own of every depth, with and without a
// transparency chunk, greyscale, truecolour; the program's own PNG and BMP of
// the game palette; a GIF.
void pictureImportSeeds(const SeedFolder& seeds)
{
    using pagelark::testing::pngFileBytes;
    using pagelark::testing::PngPicture;
    const auto pattern = [](int depth, int channels) {
        Bytes samples;
        for (int n = 0; n < 64 * 64 * channels; ++n)
            samples.push_back(
                static_cast<std::uint8_t>((n / channels % 64 / 8 + n / channels / 512 + n % channels) % (1 << depth)));
        return samples;
    };
    Bytes gamePlte;
    for (const pagelark::RgbColor color : pagelark::gamePalette())
        gamePlte.insert(gamePlte.end(), {color.red, color.green, color.blue});
    for (const int depth : {1, 2, 4, 8}) {
        const std::size_t entries = std::size_t{1} << depth;
        Bytes ownPlte;
        for (std::size_t i = 0; i < entries; ++i)
            ownPlte.insert(ownPlte.end(),
                           {static_cast<std::uint8_t>(i * 37), static_cast<std::uint8_t>(200 - i * 3),
                            static_cast<std::uint8_t>(i * 11)});
        const std::string name = std::to_string(depth) + "-bit";
        seeds.add("palette-" + name + ".png",
                  pngFileBytes({64, 64, depth, PngPicture::Palette, pattern(depth, 1), ownPlte, {}}));
        seeds.add("palette-" + name + "-clear.png",
                  pngFileBytes({64, 64, depth, PngPicture::Palette, pattern(depth, 1), ownPlte, {0, 128}}));
        seeds.add("grey-" + name + ".png", pngFileBytes({64, 64, depth, PngPicture::Grey, pattern(depth, 1), {}, {}}));
    }
    seeds.add("grey-4-bit-clear.png", pngFileBytes({64, 64, 4, PngPicture::Grey, pattern(4, 1), {}, {0, 3}}));
    seeds.add("game-palette.png", pngFileBytes({64, 64, 8, PngPicture::Palette, pattern(8, 1), gamePlte, {}}));
    Bytes clearBackground(255, 255);
    clearBackground.push_back(0);
    seeds.add("game-palette-sprite.png",
              pngFileBytes({64, 64, 8, PngPicture::Palette, pattern(8, 1), gamePlte, clearBackground}));
    seeds.add("rgb.png", pngFileBytes({64, 64, 8, PngPicture::Rgb, pattern(8, 3), {}, {}}));
    seeds.add("rgba.png", pngFileBytes({64, 64, 8, PngPicture::Rgba, pattern(8, 4), {}, {}}));
    seeds.add("grey-alpha.png", pngFileBytes({64, 64, 8, PngPicture::GreyAlpha, pattern(8, 2), {}, {}}));

    pagelark::PixelGrid grid{};
    for (std::size_t n = 0; n < grid.size(); ++n)
        grid[n] = static_cast<std::uint8_t>(n * 5);
    const auto bitmap = pagelark::bitmapFileBytes(grid, pagelark::referenceBitmapHeader());
    seeds.add("game-palette.bmp", Bytes(bitmap.begin(), bitmap.end()));
    seeds.add("own-colours.gif",
              pagelark::testing::gifFileBytes(64, 64, {0x000000, 0xFC0000, 0x00A800, 0xFCFCFC}, pattern(2, 1)));
}

}  // namespace

int main(int argc, char** argv)
{
    return pagelark::fuzz::runSeedMaker(argc, argv, "make_seeds", "OUTDIR DATADIR", 2, [](char** operands) {
        const fs::path root = operands[0];
        const fs::path dataDir = operands[1];
        const Bytes demo = pagelark::tools::buildDemoVswap();
        chunkTableSeeds(SeedFolder(root, "chunk_table"), demo);
        decoderSeeds(SeedFolder(root, "decoders"), demo);
        soundPlotSeeds(SeedFolder(root, "sound_plot"), demo);
        spriteRoundtripSeeds(SeedFolder(root, "sprite_roundtrip"));
        pageFileSeeds(SeedFolder(root, "page_file"), demo);
        paletteSeeds(SeedFolder(root, "palette"), dataDir);
        descriptionSeeds(SeedFolder(root, "descriptions"), dataDir);
        wavSeeds(SeedFolder(root, "wav_reader"));
        savedFolderSeeds(SeedFolder(root, "saved_folder"));
        pictureImportSeeds(SeedFolder(root, "picture_import"));
    });
}
