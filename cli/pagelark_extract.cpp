// pagelark-extract: the chunk list, the pictures and the sounds of a VSWAP
// file on the command line. It reads the chosen file directly, read-only, and never
// changes it.

#include "archive/program_places.h"
#include "cli/extract_commands.h"

#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

using pagelark::GameVersion;
using pagelark::cli::Failure;

constexpr int ExitOk = 0;
constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

const char* const Usage
    = "Usage: pagelark-extract list [--game wolf10|wolf13|spear] VSWAPFILE\n"
      "       pagelark-extract save [--prefix TEXT] VSWAPFILE OUTDIR [INDEX...]\n"
      "       pagelark-extract --help | --version\n";

const char* const Help
    = "pagelark-extract lists and saves the chunks of a VSWAP page file, as\n"
      "Pagelark's window does.\n"
      "\n"
      "  list   prints one line per listed chunk: chunk index, kind, number within\n"
      "         the kind, and the standard description of the chosen game version:\n"
      "         wolf10 (Wolf 1.0 shareware), wolf13 (Wolf 1.3, the default) or\n"
      "         spear (Spear of Destiny). The descriptions are read from the\n"
      "         description files next to the program.\n"
      "  save   writes the chunks with the given chunk indices (every listed chunk\n"
      "         when none is given) into OUTDIR, named after kind and number: walls\n"
      "         and sprites as 8-bit bitmaps (wall0003.bmp, sprite0024.bmp), sounds\n"
      "         as 8-bit mono WAV files at 6896 samples a second (sound0005.wav),\n"
      "         TEXT in front of the kind word when --prefix is given. A sprite that\n"
      "         does not decode is skipped. A chunk that cannot be read, or whose\n"
      "         file would be the VSWAP file itself, is named on standard error and\n"
      "         the others are saved; the exit status is then 1.\n"
      "\n"
      "The VSWAP file is only read, never changed. Errors go to standard error as\n"
      "'pagelark-extract: FILE: TEXT' with exit status 1; wrong usage exits with 2.\n";

int usageError(const std::string& problem)
{
    std::cerr << "pagelark-extract: " << problem << "\n" << Usage;
    return ExitUsage;
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
    static const std::map<std::string, GameVersion> games = {
        {"wolf10", GameVersion::Wolf10Shareware},
        {"wolf13", GameVersion::Wolf13},
        {"spear", GameVersion::SpearOfDestiny},
    };
    GameVersion game = GameVersion::Wolf13;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--game") {
            if (i + 1 == args.size() || games.count(args[i + 1]) == 0)
                return usageError("--game takes wolf10, wolf13 or spear");
            game = games.at(args[++i]);
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 1)
        return usageError("list takes one VSWAP file");
    pagelark::cli::listChunks(files[0], game, sideFilesDirectory(), std::cout);
    return ExitOk;
}

int runSave(const std::vector<std::string>& args)
{
    pagelark::cli::SaveRequest request;
    std::vector<std::string> operands;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--prefix") {
            if (i + 1 == args.size())
                return usageError("--prefix takes a text");
            request.prefix = args[++i];
        } else {
            operands.push_back(args[i]);
        }
    }
    if (operands.size() < 2)
        return usageError("save takes a VSWAP file and an output folder");
    request.vswapPath = operands[0];
    request.outputDir = operands[1];
    for (std::size_t i = 2; i < operands.size(); ++i) {
        std::int32_t index = 0;
        if (!parseIndex(operands[i], index))
            return usageError("not a chunk index: '" + operands[i] + "'");
        request.indices.push_back(index);
    }
    const bool everyChunkSaved = pagelark::cli::saveChunks(request, std::cout, std::cerr);
    return everyChunkSaved ? ExitOk : ExitFailure;
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
        std::cout << "pagelark-extract " << PAGELARK_VERSION << '\n';
        return ExitOk;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    try {
        if (args[0] == "list")
            return runList(rest);
        if (args[0] == "save")
            return runSave(rest);
    } catch (const Failure& failure) {
        std::cout.flush();
        std::cerr << "pagelark-extract: " << failure.file << ": " << failure.text << '\n';
        return ExitFailure;
    }
    return usageError("unknown command '" + args[0] + "'");
}
