// pagelark-cli: the chunk list, the pictures and the sounds of a VSWAP
// file on the command line. It reads the chosen file directly, read-only, and never
// changes it.

#include "archive/output_file.h"
#include "archive/printable_text.h"
#include "archive/program_places.h"
#include "archive/run_error.h"
#include "cli/extract_commands.h"
#include "cli/list_json.h"
#include "cli/pack_command.h"
#include "cli/replace_command.h"
#include "cli/sheet_command.h"

#include <QGuiApplication>

#include <filesystem>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace {

using pagelark::GameVersion;
using pagelark::cli::ListFormat;
using pagelark::cli::PictureFormat;
using pagelark::cli::SheetKind;

constexpr int ExitOk = 0;
constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

const char* const Usage
    = "Usage: pagelark-cli list [OPTION]... VSWAPFILE\n"
      "  or:  pagelark-cli save [OPTION]... VSWAPFILE OUTDIR [INDEX]...\n"
      "  or:  pagelark-cli sheet [OPTION]... VSWAPFILE OUT.png\n"
      "  or:  pagelark-cli pack [OPTION]... DIR OUT\n"
      "  or:  pagelark-cli replace [OPTION]... VSWAPFILE OUT INDEX=FILE...\n"
      "  or:  pagelark-cli --help | --version\n";

// Laid out as help2man reads it, which makes the manual page of it: tags
// two spaces before their text, continued lines in the text's column.
const char* const Help
    = "pagelark-cli lists and saves the chunks of a VSWAP page file, as\n"
      "Pagelark's window does, draws them on contact sheets, and writes page\n"
      "files: packed from a folder of saved chunks, or with chunks replaced.\n"
      "\n"
      "Pictures to import are 64 x 64. An 8-bit indexed BMP or PNG gives its\n"
      "indices as they are; in a sprite, index 255 and transparent pixels are the\n"
      "background. Other pictures are matched to the colours of the game palette or\n"
      "of --palette FILE.pal, nearest colour first; a pixel whose colour is that of\n"
      "the chunk it replaces (in replace, or in the page file given to pack with\n"
      "--base) keeps that chunk's index. A sprite takes at most 4096 bytes. Sounds\n"
      "of any common kind are mixed to mono and resampled to 8 bits at 6896\n"
      "samples a second; a sound holds at most 65535 samples.\n"
      "\n"
      "Palette files have three header lines, then one 'R G B' line per colour.\n"
      "\n"
      "The VSWAP file is only read, never changed. Every file is written whole or\n"
      "not at all: to a new file in its folder, renamed into place when complete.\n"
      "Errors go to standard error as 'pagelark-cli: FILE: TEXT' with exit\n"
      "status 1; wrong usage exits with 2.\n"
      "\n"
      "Commands:\n"
      "  list     prints one line per listed chunk: chunk index, kind, number\n"
      "           within the kind, and the standard description of the game\n"
      "           version chosen with --game, read from the description files\n"
      "           that come with the program.\n"
      "  save     writes the chunks with the given chunk indices (every listed\n"
      "           chunk when none is given) into OUTDIR, named after kind and\n"
      "           number: walls and sprites as 8-bit bitmaps (wall0003.bmp,\n"
      "           sprite0024.bmp), sounds as 8-bit mono WAV files at 6896 samples\n"
      "           a second (sound0005.wav). A sprite that does not decode is\n"
      "           skipped. A chunk that cannot be read, or whose file would be\n"
      "           the VSWAP file itself, is named on standard error and the\n"
      "           others are saved; the exit status is then 1.\n"
      "  sheet    draws every wall or every sprite on one PNG contact sheet, in\n"
      "           list order, labelled with its chunk index and its number\n"
      "           (\"130 #24\"); a sprite that does not decode is crossed out.\n"
      "  pack     builds the page file OUT from a folder laid out as save writes\n"
      "           it: wallNNNN and spriteNNNN pictures (BMP or PNG), soundNNNN\n"
      "           sounds (WAV, FLAC or Ogg), and the vswap-layout.txt that save\n"
      "           writes when it saves every chunk. Saving every chunk and\n"
      "           packing the folder gives back the page file byte for byte.\n"
      "           Without vswap-layout.txt, a missing number is an absent chunk.\n"
      "  replace  writes a copy OUT of the page file with the chunk at each\n"
      "           INDEX (as the list shows it; a sound's first chunk) replaced\n"
      "           by FILE; every other chunk keeps its bytes.\n"
      "\n"
      "Options:\n"
      "  --game wolf10|wolf13|spear\n"
      "                      list: the descriptions of Wolf 1.0 shareware, of\n"
      "                      Wolf 1.3 (the default) or of Spear of Destiny\n"
      "  --json              list: one JSON document instead of lines, with the\n"
      "                      file's header and one object per listed chunk; the\n"
      "                      manual page names its fields\n"
      "  --prefix TEXT       save, pack: TEXT in front of the kind word of the\n"
      "                      file names\n"
      "  --format bmp|png    save: walls and sprites as bitmaps (the default) or\n"
      "                      as 8-bit indexed PNG files (wall0003.png,\n"
      "                      sprite0024.png) with the same pixels, in the colours\n"
      "                      of the palette, a sprite's background transparent;\n"
      "                      sounds are WAV files either way\n"
      "  --palette FILE.pal  save, sheet, pack, replace: the palette of PNG files\n"
      "                      and sheets, and of pictures to import, instead of\n"
      "                      the game palette\n"
      "  --kind walls|sprites\n"
      "                      sheet: every wall (the default) or every sprite\n"
      "  --columns N         sheet: N pictures to a row, 1 to 256 (16 by default;\n"
      "                      fewer when the file has fewer)\n"
      "  --scale N           sheet: each picture enlarged N times, 1 to 16 (2 by\n"
      "                      default)\n"
      "  --base VSWAPFILE    pack: the page file whose chunks keep their indices\n"
      "                      where the pictures keep their colours\n"
      "  --dither            pack, replace: truecolour pictures (photos,\n"
      "                      gradients) diffused into the palette rather than\n"
      "                      each pixel's nearest colour, and sounds dithered as\n"
      "                      they are reduced to 8 bits\n"
      "  -h, --help          print this help and exit\n"
      "      --version       print the version and exit\n";

int usageError(const std::string& problem)
{
    std::cerr << "pagelark-cli: " << pagelark::printableText(problem) << "\n" << Usage;
    return ExitUsage;
}

// Names and words from files are printed so that none can play tricks on the terminal.
int reportFailure(const std::string& text)
{
    std::cout.flush();
    std::cerr << "pagelark-cli: " << pagelark::printableText(text) << '\n';
    return ExitFailure;
}

// The folder of the side files: this program's own folder, or the install's
// share/pagelark beside it.
std::string sideFilesDirectory()
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return pagelark::sideFilesFolder(error ? std::string("./") : self.parent_path().string() + "/");
}

bool parseIndex(const std::string& text, std::int32_t& index)
{
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    index = std::stoi(text);
    return true;
}

int runList(const std::vector<std::string>& args)
{
    GameVersion game = GameVersion::Wolf13;
    ListFormat format = ListFormat::Text;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--game") {
            const std::optional<GameVersion> named
                = i + 1 < args.size() ? pagelark::cli::gameVersionNamed(args[i + 1]) : std::nullopt;
            if (!named)
                return usageError("--game takes wolf10, wolf13 or spear");
            game = *named;
            ++i;
        } else if (args[i] == "--json") {
            format = ListFormat::Json;
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 1)
        return usageError("list takes one VSWAP file");
    pagelark::cli::listChunks(files[0], game, sideFilesDirectory(), std::cout, format);
    return ExitOk;
}

// The default palette: the one the window loads at start-up.
std::string gamePalette() { return sideFilesDirectory() + "wolfenstein.pal"; }

// A whole number from 1 to most, or nothing.
std::optional<int> parseCount(const std::string& text, int most)
{
    if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int count = std::stoi(text);
    if (count < 1 || count > most)
        return std::nullopt;
    return count;
}

int runSave(const std::vector<std::string>& args)
{
    pagelark::cli::SaveRequest request;
    request.palettePath = gamePalette();
    std::vector<std::string> operands;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool valueFollows = i + 1 < args.size();
        if (args[i] == "--prefix") {
            if (!valueFollows)
                return usageError("--prefix takes a text");
            request.prefix = args[++i];
        } else if (args[i] == "--format") {
            if (!valueFollows || (args[i + 1] != "bmp" && args[i + 1] != "png"))
                return usageError("--format takes bmp or png");
            request.format = args[++i] == "png" ? PictureFormat::Png : PictureFormat::Bmp;
        } else if (args[i] == "--palette") {
            if (!valueFollows)
                return usageError("--palette takes a palette file");
            request.palettePath = args[++i];
        } else {
            operands.push_back(args[i]);
        }
    }
    if (operands.size() < 2)
        return usageError("save takes a VSWAP file and an output folder");
    request.vswapPath = operands[0];
    request.outputDir = operands[1];
    // An empty name is no folder; taken as one, it would be the root folder.
    if (request.outputDir.empty())
        return usageError("the output folder's name is empty");
    for (std::size_t i = 2; i < operands.size(); ++i) {
        std::int32_t index = 0;
        if (!parseIndex(operands[i], index))
            return usageError("not a chunk index: '" + operands[i] + "'");
        request.indices.push_back(index);
    }
    const bool everyChunkSaved = pagelark::cli::saveChunks(request, std::cout, std::cerr);
    return everyChunkSaved ? ExitOk : ExitFailure;
}

constexpr int MostColumns = 256;
constexpr int LargestScale = 16;

int runSheet(const std::vector<std::string>& args)
{
    pagelark::cli::SheetRequest request;
    request.palettePath = gamePalette();
    std::vector<std::string> operands;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool valueFollows = i + 1 < args.size();
        if (args[i] == "--kind") {
            if (!valueFollows || (args[i + 1] != "walls" && args[i + 1] != "sprites"))
                return usageError("--kind takes walls or sprites");
            request.kind = args[++i] == "sprites" ? SheetKind::Sprites : SheetKind::Walls;
        } else if (args[i] == "--columns" || args[i] == "--scale") {
            const bool columns = args[i] == "--columns";
            const std::optional<int> count
                = valueFollows ? parseCount(args[i + 1], columns ? MostColumns : LargestScale) : std::nullopt;
            if (!count)
                return usageError(columns ? "--columns takes a number from 1 to " + std::to_string(MostColumns)
                                          : "--scale takes a number from 1 to " + std::to_string(LargestScale));
            (columns ? request.columns : request.scale) = *count;
            ++i;
        } else if (args[i] == "--palette") {
            if (!valueFollows)
                return usageError("--palette takes a palette file");
            request.palettePath = args[++i];
        } else {
            operands.push_back(args[i]);
        }
    }
    if (operands.size() != 2)
        return usageError("sheet takes a VSWAP file and the PNG file to write");
    request.vswapPath = operands[0];
    request.outputPath = operands[1];
    // Labels need the fonts a GUI application finds; nothing is shown on any
    // screen, and what Qt has to say about the desktop it does not need is no
    // concern of the command's.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::cerr << "pagelark-cli: " << message.toStdString() << '\n';
    });
    int argc = 1;
    char name[] = "pagelark-cli";
    char* argv[] = {name, nullptr};
    const QGuiApplication application(argc, argv);
    const bool everyChunkRead = pagelark::cli::drawSheet(request, std::cout, std::cerr);
    return everyChunkRead ? ExitOk : ExitFailure;
}

// Qt reads the pictures to import; what it has to say about damaged ones
// the command says itself, naming the file.
void keepQtQuiet()
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::cerr << "pagelark-cli: " << message.toStdString() << '\n';
    });
}

int runPack(const std::vector<std::string>& args)
{
    pagelark::cli::PackRequest request;
    request.palettePath = gamePalette();
    std::vector<std::string> operands;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool valueFollows = i + 1 < args.size();
        if (args[i] == "--dither") {
            request.dither = true;
        } else if (args[i] == "--prefix" || args[i] == "--palette" || args[i] == "--base") {
            if (!valueFollows || args[i + 1].empty())
                return usageError(args[i] + " takes a value");
            std::string& value = args[i] == "--prefix" ? request.prefix
                : args[i] == "--palette"               ? request.palettePath
                                                       : request.basePath;
            value = args[++i];
        } else {
            operands.push_back(args[i]);
        }
    }
    if (operands.size() != 2 || operands[0].empty() || operands[1].empty())
        return usageError("pack takes a folder and the page file to write");
    request.folder = operands[0];
    request.outputPath = operands[1];
    keepQtQuiet();
    pagelark::cli::packFolder(request, std::cout, std::cerr);
    return ExitOk;
}

int runReplace(const std::vector<std::string>& args)
{
    pagelark::cli::ReplaceRequest request;
    request.palettePath = gamePalette();
    std::vector<std::string> operands;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--dither") {
            request.dither = true;
        } else if (args[i] == "--palette") {
            if (i + 1 == args.size())
                return usageError("--palette takes a palette file");
            request.palettePath = args[++i];
        } else {
            operands.push_back(args[i]);
        }
    }
    if (operands.size() < 3 || operands[0].empty() || operands[1].empty())
        return usageError("replace takes a page file, the page file to write and INDEX=FILE");
    request.vswapPath = operands[0];
    request.outputPath = operands[1];
    for (std::size_t i = 2; i < operands.size(); ++i) {
        const std::size_t equals = operands[i].find('=');
        std::int32_t index = 0;
        if (equals == std::string::npos || !parseIndex(operands[i].substr(0, equals), index)
            || equals + 1 == operands[i].size())
            return usageError("not INDEX=FILE: '" + operands[i] + "'");
        request.replacements.emplace_back(index, operands[i].substr(equals + 1));
    }
    keepQtQuiet();
    pagelark::cli::replaceChunks(request, std::cout, std::cerr);
    return ExitOk;
}

}  // namespace

int main(int argc, char* argv[])
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return usageError("no command given");
    if (args[0] == "--help" || args[0] == "-h") {
        std::cout << Usage << '\n' << Help;
        return ExitOk;
    }
    if (args[0] == "--version") {
        std::cout << "pagelark-cli " << PAGELARK_VERSION << '\n';
        return ExitOk;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    // Ended by a signal, the program leaves no file half written.
    pagelark::removeUnfinishedOutputsOnSignals();
    try {
        if (args[0] == "list")
            return runList(rest);
        if (args[0] == "save")
            return runSave(rest);
        if (args[0] == "sheet")
            return runSheet(rest);
        if (args[0] == "pack")
            return runPack(rest);
        if (args[0] == "replace")
            return runReplace(rest);
    } catch (const pagelark::RunError& error) {
        return reportFailure(error.text());
    } catch (const std::bad_alloc&) {
        return reportFailure("out of memory");
    } catch (const std::exception& error) {
        return reportFailure(std::string("unexpected error: ") + error.what());
    }
    return usageError("unknown command '" + args[0] + "'");
}
