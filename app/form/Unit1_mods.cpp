// Mods in the window: the changes made since opening saved as a mod of the
// file opened, and a mod dropped on the window applied as one undo step.
#include "app/form/Unit1.h"

#include "archive/output_file.h"
#include "archive/page_file.h"
#include "archive/run_error.h"
#include "mods/mod_operations.h"

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
    const MadeMod mod = platform_.modOperations().madeMod(
        {state_.openedPath, state_.edits.source()}, {state_.openedPath + " with the changes made", state_.workingCopy},
        state_.palette, PAGELARK_VERSION);
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
    // The page file shown, with the changes made so far, is the one the mod must be made for.
    const PageFile& current
        = namingFile(state_.openedPath, [&]() -> const PageFile& { return state_.edits.pageFile(); });
    PageFile result = platform_.modOperations().modApplied(path, {state_.openedPath, state_.workingCopy}, current,
                                                           state_.edits.source());
    state_.edits.addWholeFile(state_.ownFilesDir, std::move(result),
                              "application of " + std::filesystem::path(path).filename().string());
    showEditedCopy();
}

}  // namespace pagelark
