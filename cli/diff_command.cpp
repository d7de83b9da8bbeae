#include "cli/diff_command.h"

#include "archive/output_file.h"
#include "archive/page_file.h"
#include "archive/printable_text.h"
#include "cli/opened_vswap.h"
#include "mods/mod_of_files.h"

namespace pagelark::cli {

using Bytes = std::vector<std::uint8_t>;

void diffPageFiles(const DiffRequest& request, std::ostream& out, std::ostream& problems)
{
    const Palette palette = paletteFrom(request.palettePath);
    const auto original = openVswap(request.originalPath);
    const auto changed = openVswap(request.changedPath);
    const MadeMod made
        = madeMod({original->path, original->file}, {changed->path, changed->file}, palette, request.programVersion);
    for (const std::string& chunk : made.withoutPicture)
        problems << "pagelark-cli: " << printableText(changed->path) << ": " << chunk
                 << " has no picture; the mod holds its bytes alone\n";
    const Bytes& zip = made.zip;
    namingFile(request.modPath, [&] {
        writeFileSafely(request.modPath, zip, {original->file.identity(), changed->file.identity()});
    });
    out << printableText(request.modPath) << ": " << made.summary << ", " << zip.size() << " bytes\n";
}

}  // namespace pagelark::cli
