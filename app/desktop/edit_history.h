#pragma once

#include "app/desktop/working_copies.h"
#include "archive/byte_file.h"
#include "archive/page_file.h"

#include <QUndoStack>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pagelark {

// The window's changes of the opened file as steps of an undo stack. The
// page file is held once, as read from the working copy of the file opened
// (its chunks refer to that copy, nothing is copied); each step holds only
// the chunks and sound entries it replaced and those it put in their place.
// The page file of the step shown is written once per step into a copy of
// its own, which the window reads; at the step of the file as opened, the
// window reads the working copy itself. So undo costs the chunks changed,
// not a copy of the page file per step.
class EditHistory {
public:
    // Older steps go when more are made, so that a long session stays small.
    static constexpr int MaxSteps = 1000;

    EditHistory();
    ~EditHistory();
    EditHistory(const EditHistory&) = delete;
    EditHistory& operator=(const EditHistory&) = delete;

    // Starts over with the working copy of a file just opened: no steps, saved.
    void begin(const std::string& openedCopy);
    // Drops every step and the copy of the step shown; nothing is open after.
    void clear() noexcept;

    // The page file at the step shown, read from the working copy on first use.
    const PageFile& pageFile();
    // Makes the change on the page file and in a new copy, then adds it as a
    // step named `name` ("replacement of wall 3"). A failure changes nothing.
    void add(const std::string& programDir, ChunkSplice change, const std::string& name);
    // The same for a change of the whole page file, as a mod makes: the step
    // holds the page file before and after, whose chunks are as small as
    // the page file's own.
    void addWholeFile(const std::string& programDir, PageFile changed, const std::string& name);
    // The working copy of the file as opened, which the page file's chunks refer to.
    ByteFile& source();

    bool canUndo() const { return steps_.canUndo(); }
    bool canRedo() const { return steps_.canRedo(); }
    // The names of the steps undo and redo would take; empty when none.
    std::string undoName() const { return steps_.undoText().toStdString(); }
    std::string redoName() const { return steps_.redoText().toStdString(); }
    // Each writes the copy of the step it goes to; a failure stays where it was.
    void undo(const std::string& programDir);
    void redo(const std::string& programDir);

    // The name of the file the window reads for the step shown.
    std::string shownName() const;
    // Whether the step shown is one no file was saved from. A file as opened
    // counts as saved.
    bool unsaved() const { return !steps_.isClean(); }
    void markSaved() { steps_.setClean(); }
    // The step shown is in no file, as after restoring kept replacements.
    void markUnsaved() { steps_.resetClean(); }

    // The identity of the copy of the step shown, so that nothing is written into it.
    std::vector<FileIdentity> identities() const;

private:
    // Writes the page file into a new copy when a step is shown, or goes
    // back to the working copy at the file as opened.
    void showStep(const std::string& programDir, bool atOpenedFile);
    // Shows the page file changed, then pushes the step that changed it; a
    // failure to show it calls takeBack and pushes nothing.
    void push(const std::string& programDir, QUndoCommand* step, const std::function<void()>& takeBack);
    bool atOpenedFile() const { return steps_.index() == 0 && !oldestDropped_; }

    std::string openedCopy_;
    ByteFile source_;
    std::optional<PageFile> pageFile_;
    QUndoStack steps_;
    std::unique_ptr<WorkingCopyFile> shown_;
    // Steps went at the bottom of the stack: its bottom is no longer the file as opened.
    bool oldestDropped_ = false;
};

}  // namespace pagelark
