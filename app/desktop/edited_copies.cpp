#include "app/desktop/edited_copies.h"

namespace pagelark {

void EditedCopies::add(const std::string& programDir, const WorkingCopyFile::ByteWriter& write)
{
    auto copy = std::make_unique<WorkingCopyFile>();
    copy->create(programDir, write);
    dropStepsAfterShown();
    copies_.push_back(std::move(copy));
    shown_ = copies_.size();
    if (copies_.size() > MaxSteps) {
        copies_.front()->remove();
        copies_.pop_front();
        openedStepKept_ = false;
        --shown_;
        // Step 0 and the copy dropped cannot be shown again.
        if (saved_ && *saved_ <= 1)
            saved_.reset();
        else if (saved_)
            --*saved_;
    }
}

bool EditedCopies::canUndo() const { return shown_ > (openedStepKept_ ? 0u : 1u); }

void EditedCopies::undo()
{
    if (canUndo())
        --shown_;
}

void EditedCopies::redo()
{
    if (canRedo())
        ++shown_;
}

std::string EditedCopies::shownName() const { return shown_ == 0 ? std::string() : copies_[shown_ - 1]->name(); }

void EditedCopies::clear() noexcept
{
    for (const auto& copy : copies_)
        copy->remove();
    copies_.clear();
    shown_ = 0;
    saved_ = 0;
    openedStepKept_ = true;
}

std::vector<FileIdentity> EditedCopies::identities() const
{
    std::vector<FileIdentity> identities;
    for (const auto& copy : copies_) {
        if (const std::optional<FileIdentity> identity = copy->identity())
            identities.push_back(*identity);
    }
    return identities;
}

void EditedCopies::dropStepsAfterShown() noexcept
{
    while (copies_.size() > shown_) {
        copies_.back()->remove();
        copies_.pop_back();
    }
    if (saved_ && *saved_ > shown_)
        saved_.reset();
}

}  // namespace pagelark
