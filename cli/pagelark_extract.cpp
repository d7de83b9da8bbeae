// pagelark-extract: the chunk list of a VSWAP file on the command line.
// It reads the chosen file directly, read-only, and never changes it.

#include "archive/byte_file.h"
#include "archive/chunk_table.h"
#include "archive/list_line.h"
#include "archive/run_error.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int ExitOk = 0;
constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

const char* const Usage =
    "Usage: pagelark-extract list VSWAPFILE\n"
    "       pagelark-extract --help | --version\n";

const char* const Help =
    "pagelark-extract lists the chunks of a VSWAP page file.\n"
    "\n"
    "  list VSWAPFILE   print one line per listed chunk, as Pagelark's chunk\n"
    "                   list shows it: chunk index, kind, number within the kind\n"
    "\n"
    "The file is only read, never changed. Errors go to standard error as\n"
    "'pagelark-extract: FILE: TEXT' with exit status 1; wrong usage exits with 2.\n";

int usageError(const std::string& problem)
{
    std::cerr << "pagelark-extract: " << problem << "\n" << Usage;
    return ExitUsage;
}

int listChunks(const std::string& path)
{
    using namespace pagelark;
    ByteFile file;
    VswapHeader header;
    ChunkTable table;
    file.openRead(path);
    readChunkTable(file, header, table);
    for (const std::string& line : listLines(header, table))
        std::cout << line << '\n';
    std::cout.flush();
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
        std::cout << "pagelark-extract " << PAGELARK_VERSION << '\n';
        return ExitOk;
    }
    if (args[0] != "list")
        return usageError("unknown command '" + args[0] + "'");
    if (args.size() != 2)
        return usageError("list takes one VSWAP file");

    const std::string& path = args[1];
    try {
        return listChunks(path);
    } catch (const pagelark::RunError& error) {
        std::cerr << "pagelark-extract: " << path << ": " << error.text() << '\n';
        return ExitFailure;
    }
}
