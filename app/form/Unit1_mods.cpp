// Mods in the window: the changes made since opening saved as a mod of the
// file opened, and a mod dropped on the window applied as one undo step.
#include "app/form/Unit1.h"

#include "archive/output_file.h"
#include "archive/page_file.h"
#include "archive/run_error.h"
#include "mods/mod_archive.h"
#include "mods/mod_of_files.h"
#include "mods/mod_result.h"
#include "mods/sha256_qt.h"

#include <QAction>

#include <filesystem>

namespace pagelark {

void TForm1::SaveChangesAsMod1Click()
{
    if (!SaveChangesAsMod1->isEnabled())
        return;
    const std::filesystem::path opened(state_.openedPath);
    std::string start = state_.lastSaveFolder.empty() ? opened.parent_path().string() : state_.lastSaveFolder;
    const std::optional<std::string> chosen = platform_.chooseFileToSave(
        {{{"Mods", "*.zip"}, {"All Files", "*.*"}}, opened.filename().string() + "-mod.zip", start});
    if (!chosen)
        return;
    state_.lastSaveFolder = std::filesystem::path(*chosen).parent_path().string();
    refuseOwnFile(*chosen);
    const MadeMod mod
        = madeMod({state_.openedPath, state_.edits.source()},
                  {state_.openedPath + " with the changes made", state_.workingCopy}, state_.palette, PAGELARK_VERSION);
    namingFile(*chosen, [&] { writeFileSafely(*chosen, mod.zip, filesBeingRead()); });
    std::string text = *chosen + ": " + mod.summary + ", " + std::to_string(mod.zip.size()) + " bytes";
    for (const std::string& chunk : mod.withoutPicture)
        text += "\n" + chunk + " has no picture; the mod holds its bytes alone";
    platform_.showInformation("Save changes as mod", text);
}

void TForm1::applyDroppedMod(const std::string& path)
{
    if (!state_.workingCopy.isOpen() || savingSelection_)
        return;
    ByteFile modFile;
    std::optional<ModArchive> mod;
    std::vector<std::uint8_t> zip = modFileBytes(modFile, path);
    namingFile(path, [&] { mod.emplace(std::move(zip)); });
    const ModManifest& manifest = mod->manifest();
    // The page file shown, with the changes made so far, is the one the mod must be made for.
    const FileFacts shown = namingFile(state_.openedPath, [&] {
        return FileFacts{state_.workingCopy.size(), sha256OfFile(state_.workingCopy)};
    });
    requireModOriginal(shown, state_.openedPath, path, manifest);
    const PageFile& current
        = namingFile(state_.openedPath, [&]() -> const PageFile& { return state_.edits.pageFile(); });
    PageFile result = namingFile(path, [&] {
        const ModPlan plan = mod->plan();
        // The window's steps are page files; bytes outside their chunks are not theirs to change.
        if (!plan.resultBytes.empty())
            throw RunError::message(
                "the mod changes bytes outside the chunks as well, which the window does not "
                "apply; apply it with pagelark-cli patch");
        PageFile made = applyModArchive(current, manifest, plan);
        checkResultFacts(writeModResult(made, &state_.edits.source(), {}, manifest.result.size,
                                        [](const std::uint8_t*, std::size_t) {}),
                         manifest.result);
        return made;
    });
    state_.edits.addWholeFile(state_.ownFilesDir, std::move(result),
                              "application of " + std::filesystem::path(path).filename().string());
    showEditedCopy();
}

}  // namespace pagelark
