// Replacements not saved when a termination signal ends the window: kept in
// the program's own folder instead of asked about, and offered back at the
// next start.
#include "app/desktop/handler_guard.h"
#include "app/desktop/recovery_files.h"
#include "app/form/Unit1.h"

#include <exception>

namespace pagelark {

void TForm1::closeKeepingEdits()
{
    closingWithoutAsking_ = true;
    if (state_.workingCopy.isOpen() && state_.edits.unsaved()) {
        const RecoveryFiles kept(state_.ownFilesDir);
        try {
            kept.keep(
                state_.openedPath, [this](const WorkingCopyFile::ByteSink& sink) { writeShownCopy(sink); },
                filesBeingRead());
            // A folder made for this run alone is not looked into by the next.
            if (state_.ownFilesForThisRun)
                platform_.note("the replacements not saved are kept in " + kept.pageFile());
        } catch (const std::exception& error) {
            // Nobody may be there to answer a box.
            platform_.note("the replacements not saved could not be kept: " + std::string(error.what()));
        }
    }
    close();
}

void TForm1::offerRecovery()
{
    runGuarded(platform_, [this] {
        const RecoveryFiles kept(state_.ownFilesDir);
        const RecoveryFiles::Found found = kept.find();
        // A note rather than a box: files that are not the window's ask
        // nothing of the user, and the start goes on as without them.
        if (!found.leftAlone.empty())
            platform_.note(found.leftAlone);
        const std::optional<std::string>& openedPath = found.openedPath;
        if (!openedPath)
            return;
        const Answer answer = platform_.ask(
            {"Pagelark",
             "Pagelark ended before the replacements made in " + *openedPath + " were saved.\nRestore them?",
             {Answer::Yes, Answer::No}});
        if (closingWithoutAsking_)
            return;
        if (answer != Answer::Yes) {
            kept.remove();
            return;
        }
        givenFile_ = GivenFile{*openedPath, kept.pageFile()};
        std::exception_ptr failure;
        try {
            SpeedButton1Click();
        } catch (...) {
            failure = std::current_exception();
        }
        // Opened, even when only its descriptions could not be read: the
        // copy holds the replacements now, unsaved until they are saved.
        // An open the user cancelled at the question leaves them kept.
        if (state_.workingCopy.isOpen() && state_.openedPath == *openedPath && !state_.edits.unsaved()) {
            state_.edits.markUnsaved();
            showTitle();
            kept.remove();
        }
        if (failure)
            std::rethrow_exception(failure);
    });
    givenFile_.reset();
}

}  // namespace pagelark
