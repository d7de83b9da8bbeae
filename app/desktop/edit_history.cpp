#include "app/desktop/edit_history.h"

#include <QUndoCommand>

#include <exception>
#include <utility>

namespace pagelark {

namespace {

// A change as a step of the stack. Its first redo comes when it is pushed,
// after the history has made the change itself.
class ChangeStep : public QUndoCommand {
public:
    ChangeStep(PageFile& file, ChunkSplice change, const std::string& name)
        : QUndoCommand(QString::fromStdString(name)), file_(file), change_(std::move(change))
    {
    }

    void undo() override { takeBackSplice(file_, change_); }
    void redo() override
    {
        if (!std::exchange(pushed_, true))
            return;
        makeSplice(file_, change_);
    }

private:
    PageFile& file_;
    ChunkSplice change_;
    bool pushed_ = false;
};

// A change of the whole page file, between the two page files it holds.
class WholeFileStep : public QUndoCommand {
public:
    WholeFileStep(PageFile& file, PageFile before, PageFile after, const std::string& name)
        : QUndoCommand(QString::fromStdString(name)), file_(file), before_(std::move(before)), after_(std::move(after))
    {
    }

    void undo() override { file_ = before_; }
    void redo() override { file_ = after_; }

private:
    PageFile& file_;
    PageFile before_;
    PageFile after_;
};

}  // namespace

EditHistory::EditHistory() { steps_.setUndoLimit(MaxSteps); }

EditHistory::~EditHistory() { clear(); }

void EditHistory::begin(const std::string& openedCopy)
{
    clear();
    openedCopy_ = openedCopy;
}

void EditHistory::clear() noexcept
{
    steps_.clear();
    pageFile_.reset();
    if (source_.isOpen())
        source_.close();
    if (shown_)
        shown_->remove();
    shown_.reset();
    openedCopy_.clear();
    oldestDropped_ = false;
}

const PageFile& EditHistory::pageFile()
{
    if (!pageFile_) {
        source_.openRead(openedCopy_);
        pageFile_ = readPageFile(source_);
    }
    return *pageFile_;
}

void EditHistory::add(const std::string& programDir, ChunkSplice change, const std::string& name)
{
    pageFile();
    makeSplice(*pageFile_, change);
    auto* step = new ChangeStep(*pageFile_, std::move(change), name);
    push(programDir, step, [&] { step->undo(); });
}

void EditHistory::addWholeFile(const std::string& programDir, PageFile changed, const std::string& name)
{
    PageFile before = pageFile();
    *pageFile_ = changed;
    auto* step = new WholeFileStep(*pageFile_, std::move(before), std::move(changed), name);
    push(programDir, step, [&] { step->undo(); });
}

ByteFile& EditHistory::source()
{
    pageFile();
    return source_;
}

void EditHistory::push(const std::string& programDir, QUndoCommand* step, const std::function<void()>& takeBack)
{
    std::unique_ptr<QUndoCommand> owned(step);
    try {
        showStep(programDir, false);
    } catch (...) {
        takeBack();
        throw;
    }
    if (steps_.index() == steps_.undoLimit())
        oldestDropped_ = true;
    // The change is made already: the stack's first redo of it makes it again, or nothing.
    steps_.push(owned.release());
}

void EditHistory::undo(const std::string& programDir)
{
    if (!canUndo())
        return;
    steps_.undo();
    try {
        showStep(programDir, atOpenedFile());
    } catch (...) {
        steps_.redo();
        throw;
    }
}

void EditHistory::redo(const std::string& programDir)
{
    if (!canRedo())
        return;
    steps_.redo();
    try {
        showStep(programDir, false);
    } catch (...) {
        steps_.undo();
        throw;
    }
}

std::string EditHistory::shownName() const { return shown_ ? shown_->name() : openedCopy_; }

std::vector<FileIdentity> EditHistory::identities() const
{
    std::vector<FileIdentity> identities;
    if (shown_)
        if (const std::optional<FileIdentity> identity = shown_->identity())
            identities.push_back(*identity);
    return identities;
}

void EditHistory::showStep(const std::string& programDir, bool atOpenedFile)
{
    std::unique_ptr<WorkingCopyFile> copy;
    if (!atOpenedFile) {
        copy = std::make_unique<WorkingCopyFile>();
        copy->create(programDir,
                     [&](const WorkingCopyFile::ByteSink& sink) { writePageFile(*pageFile_, &source_, sink); });
    }
    // The window may still read the copy before; its name goes, its bytes
    // stay readable until the window opens the new one.
    if (shown_)
        shown_->remove();
    shown_ = std::move(copy);
}

}  // namespace pagelark
