#include "cli/command_line.h"

#include "cli/help_layout.h"
#include "cli/list_json.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace pagelark::cli {
namespace {

constexpr int LargestChunkIndex = 65535;
constexpr int MostColumns = 256;
constexpr int LargestScale = 16;

const char* const ProgramDescription
    = "pagelark-cli lists and saves the chunks of a VSWAP page file, as Pagelark's window does, draws them on "
      "contact sheets, and writes page files: packed from a folder of saved chunks, or with chunks replaced. "
      "'pagelark-cli COMMAND --help' gives one command's usage and options."
      "\n\n"
      "Pictures to import are 64 x 64. An indexed BMP or PNG whose colour table is the palette in use, as save "
      "writes them, gives its indices as they are; in a sprite, index 255 and transparent pixels are the "
      "background. Other pictures, indexed ones with colour tables of their own among them, are matched to the "
      "colours of the game palette or of --palette FILE.pal, nearest colour first (or diffused into them with "
      "--dither); a pixel whose colour is that of the chunk it replaces (in replace, or in the page file given to "
      "pack with --base) keeps that chunk's index. A picture whose pixels cannot all be decoded is refused. A "
      "sprite takes at most 4096 bytes. Sounds of any common kind are mixed to mono and resampled to 8 bits at "
      "6896 samples a second, a sound louder than full scale clipped with a warning; a sound holds at most 65535 "
      "samples."
      "\n\n"
      "Palette files have three header lines, then one 'R G B' line per colour."
      "\n\n"
      "The VSWAP file is only read, never changed. Every file is written whole or not at all: to a new file in "
      "its folder, renamed into place when complete. Errors go to standard error as 'pagelark-cli: FILE: TEXT' "
      "with exit status 1; wrong usage exits with 2.";

// CLI11 reads numbers in any base (010 is 8, 0x10 is 16); the numbers of
// this command line are decimal digits alone.
std::optional<int> wholeNumber(const std::string& text, int least, int most)
{
    int number = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (error != std::errc() || stop != end || text.front() == '-' || number < least || number > most)
        return std::nullopt;
    return number;
}

std::string numberRange(int least, int most)
{
    return "a number from " + std::to_string(least) + " to " + std::to_string(most);
}

// Every number of the command line is checked here, and handed on to CLI11
// as plain digits.
CLI::Validator numberFrom(int least, int most)
{
    return {[least, most](std::string& text) {
                const std::optional<int> number = wholeNumber(text, least, most);
                if (!number)
                    return "'" + text + "' is not " + numberRange(least, most);
                text = std::to_string(*number);
                return std::string();
            },
            ""};
}

// An empty name is no file: taken as a folder, it would be the root.
CLI::Validator nonEmptyName()
{
    return {[](const std::string& name) { return name.empty() ? "the name is empty" : std::string(); }, ""};
}

std::optional<std::pair<std::int32_t, std::string>> replacementOf(const std::string& text)
{
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || equals + 1 == text.size())
        return std::nullopt;
    const std::optional<int> index = wholeNumber(text.substr(0, equals), 0, LargestChunkIndex);
    if (!index)
        return std::nullopt;
    return std::pair{*index, text.substr(equals + 1)};
}

template <typename Value>
using Names = std::vector<std::pair<std::string, Value>>;

// An option whose value is one of a few words, each standing for a value.
template <typename Value>
void addChoice(CLI::App& command, const std::string& name, Value& value, const Names<Value>& names,
               const std::string& description)
{
    std::vector<std::string> words;
    for (const auto& named : names)
        words.push_back(named.first);
    const auto choose = [&value, names](const std::string& word) {
        value
            = std::find_if(names.begin(), names.end(), [&](const auto& named) { return named.first == word; })->second;
    };
    command.add_option_function<std::string>(name, choose, description)
        ->check(CLI::IsMember(words).description(""))
        ->type_name(CLI::detail::join(words, "|"));
}

void addNumber(CLI::App& command, const std::string& name, int& value, int least, int most,
               const std::string& description)
{
    command.add_option(name, value, description)->type_name("N")->transform(numberFrom(least, most));
}

// A command's operands, names of files or folders, each required, in the
// order they are given.
void addOperands(CLI::App& command, std::initializer_list<std::pair<const char*, std::string*>> operands)
{
    for (const auto& [name, value] : operands)
        command.add_option(name, *value)->required()->check(nonEmptyName());
}

// The options of several commands: each with one text, which every command's
// help and the program's show.
void addPalette(CLI::App& command, std::string& path)
{
    command
        .add_option("--palette", path,
                    "the palette of PNG files and sheets, and of pictures to import, instead of the game palette")
        ->type_name("FILE.pal")
        ->check(nonEmptyName());
}

void addPrefix(CLI::App& command, std::string& prefix)
{
    command.add_option("--prefix", prefix, "TEXT in front of the kind word of the file names")->type_name("TEXT");
}

void addDither(CLI::App& command, bool& dither)
{
    command.add_flag("--dither", dither,
                     "truecolour pictures (photos, gradients) diffused into the palette rather than each pixel's "
                     "nearest colour, and sounds dithered as they are reduced to 8 bits");
}

// A command whose request, filled by its options and operands, is what the
// command line asks for when the command is given.
template <typename Request>
CLI::App& addCommand(CLI::App& program, const std::string& name, const std::string& description, Request& request,
                     CommandLine& chosen)
{
    CLI::App* command = program.add_subcommand(name, description);
    command->callback([&request, &chosen] { chosen = request; });
    return *command;
}

void addList(CLI::App& program, ListRequest& request, CommandLine& chosen)
{
    CLI::App& list = addCommand(program, "list",
                                "prints one line per listed chunk: chunk index, kind, number within the kind, and "
                                "the standard description of the game version chosen with --game, read from the "
                                "description files that come with the program.",
                                request, chosen);
    Names<GameVersion> games;
    for (const GameVersion game : GameVersions)
        games.emplace_back(gameVersionName(game), game);
    addChoice(list, "--game", request.game, games,
              "the descriptions of Wolf 1.0 shareware, of Wolf 1.3 (the default) or of Spear of Destiny");
    list.add_flag_callback(
        "--json", [&request] { request.format = ListFormat::Json; },
        "one JSON document instead of lines, with the file's header and one object per listed chunk; the manual "
        "page names its fields");
    addOperands(list, {{"VSWAPFILE", &request.vswapPath}});
}

void addSave(CLI::App& program, SaveRequest& request, CommandLine& chosen)
{
    CLI::App& save = addCommand(
        program, "save",
        "writes the chunks with the given chunk indices (every listed chunk when none is given) into OUTDIR, named "
        "after kind and number: walls and sprites as 8-bit bitmaps (wall0003.bmp, sprite0024.bmp), sounds as 8-bit "
        "mono WAV files at 6896 samples a second (sound0005.wav). A sprite that does not decode is skipped. A chunk "
        "that cannot be read, or whose file would be the VSWAP file itself, is named on standard error and the "
        "others are saved; the exit status is then 1.",
        request, chosen);
    addPrefix(save, request.prefix);
    addChoice(save, "--format", request.format, {{"bmp", PictureFormat::Bmp}, {"png", PictureFormat::Png}},
              "walls and sprites as bitmaps (the default) or as 8-bit indexed PNG files (wall0003.png, "
              "sprite0024.png) with the same pixels, in the colours of the palette, a sprite's background "
              "transparent; sounds are WAV files either way");
    addPalette(save, request.palettePath);
    addOperands(save, {{"VSWAPFILE", &request.vswapPath}, {"OUTDIR", &request.outputDir}});
    save.add_option("INDEX", request.indices)->transform(numberFrom(0, LargestChunkIndex));
}

void addSheet(CLI::App& program, SheetRequest& request, CommandLine& chosen)
{
    CLI::App& sheet = addCommand(program, "sheet",
                                 "draws every wall or every sprite on one PNG contact sheet, in list order, labelled "
                                 "with its chunk index and its number (\"130 #24\"); a sprite that does not decode "
                                 "is crossed out.",
                                 request, chosen);
    addChoice(sheet, "--kind", request.kind, {{"walls", SheetKind::Walls}, {"sprites", SheetKind::Sprites}},
              "every wall (the default) or every sprite");
    addNumber(sheet, "--columns", request.columns, 1, MostColumns,
              "N pictures to a row, 1 to " + std::to_string(MostColumns)
                  + " (16 by default; fewer when the file has fewer)");
    addNumber(sheet, "--scale", request.scale, 1, LargestScale,
              "each picture enlarged N times, 1 to " + std::to_string(LargestScale) + " (2 by default)");
    addPalette(sheet, request.palettePath);
    addOperands(sheet, {{"VSWAPFILE", &request.vswapPath}, {"OUT.png", &request.outputPath}});
}

void addPack(CLI::App& program, PackRequest& request, CommandLine& chosen)
{
    CLI::App& pack = addCommand(
        program, "pack",
        "builds the page file OUT from a folder laid out as save writes it: wallNNNN and spriteNNNN pictures (BMP "
        "or PNG), soundNNNN sounds (WAV, FLAC or Ogg), and the vswap-layout.txt that save writes when it saves "
        "every chunk. Saving every chunk and packing the folder gives back the page file byte for byte. Without "
        "vswap-layout.txt, a missing number is an absent chunk.",
        request, chosen);
    addPrefix(pack, request.prefix);
    addPalette(pack, request.palettePath);
    pack.add_option("--base", request.basePath,
                    "the page file whose chunks keep their indices where the pictures keep their colours")
        ->type_name("VSWAPFILE")
        ->check(nonEmptyName());
    addDither(pack, request.dither);
    addOperands(pack, {{"DIR", &request.folder}, {"OUT", &request.outputPath}});
}

void addReplace(CLI::App& program, ReplaceRequest& request, CommandLine& chosen)
{
    CLI::App& replace = addCommand(program, "replace",
                                   "writes a copy OUT of the page file with the chunk at each INDEX (as the list "
                                   "shows it; a sound's first chunk) replaced by FILE; every other chunk keeps its "
                                   "bytes.",
                                   request, chosen);
    addPalette(replace, request.palettePath);
    addDither(replace, request.dither);
    addOperands(replace, {{"VSWAPFILE", &request.vswapPath}, {"OUT", &request.outputPath}});
    const auto replaceWith = [&request](const std::vector<std::string>& texts) {
        for (const std::string& text : texts) {
            const auto replacement = replacementOf(text);
            if (!replacement)
                throw CLI::ValidationError(
                    "INDEX=FILE", "'" + text + "' is not INDEX=FILE with INDEX " + numberRange(0, LargestChunkIndex));
            request.replacements.push_back(*replacement);
        }
    };
    replace.add_option_function<std::vector<std::string>>("INDEX=FILE", replaceWith)->required();
}

void addDiff(CLI::App& program, DiffRequest& request, CommandLine& chosen)
{
    CLI::App& diff = addCommand(program, "diff",
                                "writes a mod, MOD.zip, of what CHANGED changes in ORIGINAL: every wall, sprite and "
                                "sound changed or added, as its exact bytes and a picture or sound to look at, "
                                "and nothing of the chunks that did not change; with the sizes and SHA-256 of "
                                "both files, so that patch applies it only to ORIGINAL and gives back CHANGED "
                                "byte for byte.",
                                request, chosen);
    addPalette(diff, request.palettePath);
    addOperands(
        diff, {{"ORIGINAL", &request.originalPath}, {"CHANGED", &request.changedPath}, {"MOD.zip", &request.modPath}});
}

void addPatch(CLI::App& program, PatchRequest& request, CommandLine& chosen)
{
    CLI::App& patch = addCommand(program, "patch",
                                 "writes OUT, the page file a mod made by diff makes of ORIGINAL, after checking "
                                 "that ORIGINAL is the file the mod was made for and that the result is the one "
                                 "it was made of; a damaged or hostile mod is refused and nothing is written.",
                                 request, chosen);
    addOperands(patch,
                {{"ORIGINAL", &request.originalPath}, {"MOD.zip", &request.modPath}, {"OUT", &request.outputPath}});
}

struct Requests {
    ListRequest list;
    SaveRequest save;
    SheetRequest sheet;
    PackRequest pack;
    ReplaceRequest replace;
    DiffRequest diff;
    PatchRequest patch;
};

// The command table: every command with its options and operands, each
// bound to the request it fills.
std::unique_ptr<CLI::App> commandTable(Requests& requests, CommandLine& chosen)
{
    auto program = std::make_unique<CLI::App>(ProgramDescription, "pagelark-cli");
    program->formatter(std::make_shared<HelpLayout>());
    program->set_help_flag("-h,--help", "print this help and exit");
    program->set_version_flag("--version", std::string("pagelark-cli ") + PAGELARK_VERSION,
                              "print the version and exit");
    program->require_subcommand(1);
    // An option given twice takes the later value.
    program->option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    addList(*program, requests.list, chosen);
    addSave(*program, requests.save, chosen);
    addSheet(*program, requests.sheet, chosen);
    addPack(*program, requests.pack, chosen);
    addReplace(*program, requests.replace, chosen);
    addDiff(*program, requests.diff, chosen);
    addPatch(*program, requests.patch, chosen);
    return program;
}

std::string optionTakers(const CLI::App& program, const std::string& name)
{
    std::vector<std::string> takers;
    if (program.get_option_no_throw(name) != nullptr)
        takers.push_back(program.get_name());
    for (const CLI::App* command : program.get_subcommands([](const CLI::App*) { return true; }))
        if (command->get_option_no_throw(name) != nullptr)
            takers.push_back(command->get_name());
    return CLI::detail::join(takers, ", ");
}

// A word that was not taken: a command, an option or an operand.
std::string unexpectedWord(const CLI::App& program, const CLI::App& where, const std::string& word)
{
    if (word.size() < 2 || word.front() != '-')
        return &where == &program ? "unknown command '" + word + "'" : "one operand too many: '" + word + "'";
    const std::string name = word.substr(0, word.find('='));
    const std::string takers = optionTakers(program, name);
    if (takers.empty())
        return "unknown option '" + name + "'";
    return name + " is not an option of " + where.get_name() + ", but of " + takers;
}

// CLI11's words for what is wrong, but for what it only calls not expected.
std::string problemOf(const CLI::App& program, const CLI::ParseError& error)
{
    const std::vector<CLI::App*> chosen = program.get_subcommands();
    const CLI::App& command = chosen.empty() ? program : *chosen.front();
    for (const CLI::App* where : {&program, &command})
        for (const std::string& word : where->remaining())
            if (word != "--")
                return unexpectedWord(program, *where, word);
    return chosen.empty() ? "no command given" : error.what();
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv, const std::string& gamePalette)
{
    Requests requests;
    for (std::string* palette : {&requests.save.palettePath, &requests.sheet.palettePath, &requests.pack.palettePath,
                                 &requests.replace.palettePath, &requests.diff.palettePath})
        *palette = gamePalette;
    requests.diff.programVersion = PAGELARK_VERSION;
    CommandLine chosen = UsageProblem{"no command given"};
    const std::unique_ptr<CLI::App> program = commandTable(requests, chosen);
    try {
        program->parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        return ShownText{program->help()};
    } catch (const CLI::CallForVersion& version) {
        return ShownText{version.what() + std::string("\n")};
    } catch (const CLI::ParseError& error) {
        return UsageProblem{problemOf(*program, error)};
    }
    return chosen;
}

std::string commandLineUsage()
{
    Requests requests;
    CommandLine chosen;
    return usageLines(*commandTable(requests, chosen));
}

}  // namespace pagelark::cli
