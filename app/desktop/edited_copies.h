#pragma once

#include "app/desktop/working_copies.h"

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pagelark {

// The page files the window's replacements made, one working copy each, and
// which of them is shown. Step 0 is the copy of the file as opened, which the
// window holds itself; step n shows the copy made by the nth replacement.
// Undo and redo move between steps; a replacement made after an undo drops
// the steps after the one shown. At most MaxSteps replacements are kept, so
// that a long session cannot fill the disk: the oldest one goes when another
// comes, and undo then stops at the oldest kept. Each copy is marked and
// locked like the first, so the copies of a run that ended without closing
// its window are stale copies the next run removes.
class EditedCopies {
public:
    static constexpr std::size_t MaxSteps = 100;

    EditedCopies() = default;
    EditedCopies(const EditedCopies&) = delete;
    EditedCopies& operator=(const EditedCopies&) = delete;

    // Makes a copy of what `write` writes and shows it. The steps after the
    // one shown go only once the copy is made: a failure changes nothing.
    void add(const std::string& programDir, const WorkingCopyFile::ByteWriter& write);

    bool canUndo() const;
    bool canRedo() const { return shown_ < copies_.size(); }
    void undo();
    void redo();

    // The name of the copy shown; empty at step 0, the file as opened.
    std::string shownName() const;
    // Whether the step shown is one no file was saved from. A file as opened
    // counts as saved.
    bool unsaved() const { return saved_ != shown_; }
    void markSaved() { saved_ = shown_; }
    // The step shown is in no file, as after restoring kept replacements.
    void markUnsaved() { saved_.reset(); }

    // Deletes every copy; step 0 is shown again, saved.
    void clear() noexcept;
    // The identities of every copy, so that nothing is written into them.
    std::vector<FileIdentity> identities() const;

private:
    void dropStepsAfterShown() noexcept;

    std::deque<std::unique_ptr<WorkingCopyFile>> copies_;
    // The number of copies applied: 0 is the file as opened, n shows copies_[n - 1].
    std::size_t shown_ = 0;
    std::optional<std::size_t> saved_ = 0;
    // Step 0 can be gone back to until the oldest copy has been dropped.
    bool openedStepKept_ = true;
};

}  // namespace pagelark
