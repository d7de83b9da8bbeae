// Saving the page file a replacement made, as a file of the user's: never
// the opened file, never a working copy, never a name of the window's own
// files in its own folder; and the question that comes before
// replacements not saved would be lost.
#include "app/form/Unit1.h"

#include "app/desktop/own_files.h"
#include "archive/output_file.h"
#include "archive/run_error.h"

#include <algorithm>
#include <filesystem>

namespace pagelark {

namespace {

constexpr std::size_t CopyBlock = 64 * 1024;

}  // namespace

void TForm1::writeShownCopy(const WorkingCopyFile::ByteSink& sink)
{
    ByteFile& copy = state_.workingCopy;
    const std::int64_t size = copy.size();
    std::vector<std::uint8_t> block(CopyBlock);
    copy.seek(0);
    for (std::int64_t at = 0; at < size;) {
        const auto count = static_cast<std::size_t>(std::min<std::int64_t>(CopyBlock, size - at));
        copy.readBytes(block.data(), count);
        sink(block.data(), count);
        at += static_cast<std::int64_t>(count);
    }
}

void TForm1::SaveVswapAs1Click()
{
    if (SaveVswapAs1->isEnabled())
        saveEditedFileAs();
}

void TForm1::refuseOwnFile(const std::string& path) const
{
    if (wouldWriteInto(path, state_.chosenFile))
        throw fileBeingRead(path);
    for (const FileIdentity& copy : workingCopies()) {
        if (wouldWriteInto(path, copy))
            throw RunError::message(path + ": this is the window's working copy of the open file; "
                                           "save under another name");
    }
    // The window would write over such a file, or delete it at exit, while
    // the title says the replacements are saved.
    if (isOwnFile(path, state_.ownFilesDir) || editorFiles_->holds(path))
        throw RunError::message(path + ": this is one of the files Pagelark keeps for itself, "
                                       "which it writes over and deletes; save under another name");
}

bool TForm1::saveEditedFileAs()
{
    std::string start = state_.lastSaveFolder;
    if (start.empty())
        start = std::filesystem::path(state_.openedPath).parent_path().string();
    const std::optional<std::string> chosen
        = platform_.chooseFileToSave({{{"VSWAP Files", "VSWAP.*"}, {"All Files", "*.*"}}, "", start});
    if (!chosen)
        return false;
    state_.lastSaveFolder = std::filesystem::path(*chosen).parent_path().string();
    refuseOwnFile(*chosen);
    namingFile(*chosen, [&] {
        OutputFile output(*chosen, filesBeingRead(), OutputAccess::Shared, OutputDurability::Flushed);
        writeShownCopy([&](const std::uint8_t* bytes, std::size_t count) { output.write(bytes, count); });
        output.commit();
    });
    state_.edits.markSaved();
    showTitle();
    return true;
}

bool TForm1::settleUnsavedEdits()
{
    if (closingWithoutAsking_ || !state_.workingCopy.isOpen() || !state_.edits.unsaved())
        return true;
    const Answer answer = platform_.ask({"Pagelark",
                                         "The replacements made in " + state_.openedPath
                                             + " are not saved.\nSave the edited file under a name of its own?",
                                         {Answer::Save, Answer::Discard, Answer::Cancel}});
    // A termination signal closed the question: whatever was asked for stops.
    if (closingWithoutAsking_)
        return false;
    switch (answer) {
    case Answer::Save:
        return saveEditedFileAs();
    case Answer::Discard:
        return true;
    default:
        return false;
    }
}

}  // namespace pagelark
