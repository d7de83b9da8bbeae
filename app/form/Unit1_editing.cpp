// Replacing chunks in the window: a picture or sound file put in the place
// of a wall, sprite or sound by the pop-up menu or by a drop onto its row,
// undo and redo, and showing the page file each step made.
#include "app/form/Unit1.h"

#include "app/widgets/chunk_list.h"
#include "archive/list_line.h"
#include "archive/page_file.h"
#include "archive/run_error.h"
#include "pictures/chunk_picture.h"
#include "pictures/picture_chunk.h"
#include "pictures/picture_import.h"
#include "pictures/picture_import_qt.h"
#include "sounds/sound_import_operations.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QScrollBar>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <set>

namespace pagelark {

namespace {

std::string folderOf(const std::string& path) { return std::filesystem::path(path).parent_path().string(); }

}  // namespace

std::optional<int> TForm1::singleSelectedRow() const
{
    const QModelIndexList rows = ListBox1->selectionModel()->selectedRows();
    if (rows.size() != 1)
        return std::nullopt;
    return rows.front().row();
}

int TForm1::listRowAt(const QPoint& at) const
{
    const QPoint inList = ListBox1->viewport()->mapFrom(this, at);
    if (!ListBox1->isVisible() || !ListBox1->viewport()->rect().contains(inList))
        return -1;
    const QListWidgetItem* item = ListBox1->itemAt(inList);
    return item != nullptr ? ListBox1->row(item) : -1;
}

void TForm1::updateEditActions()
{
    const bool editable = state_.workingCopy.isOpen() && ListBox1->count() > 0 && !savingSelection_;
    const bool one = editable && singleSelectedRow().has_value();
    Replace1->setEnabled(one);
    EditInEditor1->setEnabled(one);
    EditWith1->setEnabled(one);
    Undo1->setEnabled(editable && state_.edits.canUndo());
    Redo1->setEnabled(editable && state_.edits.canRedo());
    Undo1->setText(QString::fromStdString(Undo1->isEnabled() ? "Undo " + state_.edits.undoName() : "Undo"));
    Redo1->setText(QString::fromStdString(Redo1->isEnabled() ? "Redo " + state_.edits.redoName() : "Redo"));
    SaveVswapAs1->setEnabled(editable);
    SaveChangesAsMod1->setEnabled(editable);
}

void TForm1::showTitle()
{
    QString title = QString::fromStdString(state_.openedPath);
    if (state_.edits.unsaved())
        title += QStringLiteral(" *");
    setWindowTitle(title);
}

std::string TForm1::chunkName(std::int32_t index) const
{
    return std::string(kindName(kindOfChunk(state_.header, index))) + " "
        + std::to_string(state_.chunks.itemNumber[static_cast<std::size_t>(index)]);
}

void TForm1::Replace1Click()
{
    const std::optional<int> row = singleSelectedRow();
    if (!row || !Replace1->isEnabled())
        return;
    const std::int32_t index = ChunkList::chunkOf(ListBox1->item(*row));
    const ItemKind kind = ChunkList::kindOf(ListBox1->item(*row));
    const FileFilter files = kind == ItemKind::Sound
        ? FileFilter{"Sound files", "*.wav;*.WAV;*.flac;*.FLAC;*.ogg;*.OGG;*.oga"}
        : FileFilter{"Picture files", "*.bmp;*.BMP;*.png;*.PNG"};
    const std::optional<std::string> chosen = platform_.chooseFileToOpen(
        {"Replace " + chunkName(index), {files, {"All Files", "*.*"}}, state_.lastImportFolder});
    if (!chosen)
        return;
    state_.lastImportFolder = folderOf(*chosen);
    replaceChunkWithFile(index, *chosen);
}

void TForm1::replaceChunkWithFile(std::int32_t index, const std::string& path, const std::string& stepWord)
{
    if (!state_.workingCopy.isOpen() || savingSelection_)
        return;
    const ItemKind kind = kindOfChunk(state_.header, index);
    const PageFile& file = namingFile(state_.openedPath, [&]() -> const PageFile& { return state_.edits.pageFile(); });
    const std::int32_t number = state_.chunks.itemNumber[static_cast<std::size_t>(index)];
    std::optional<std::string> clipping;
    const SoundImportOperations* sounds = kind == ItemKind::Sound ? &platform_.soundImportOperations() : nullptr;
    // Everything is read and checked before the new copy is begun.
    const ChunkSplice change = namingFile(path, [&] {
        if (sounds != nullptr) {
            ImportedSound imported = sounds->importSoundFile(path, {});
            clipping = imported.clipping;
            return soundReplacement(file, number, imported.samples);
        }
        // The colours left as they were keep the indices the chunk has, as
        // the command line keeps them.
        const std::optional<PixelGrid> base
            = pictureToKeepColoursOf(state_.workingCopy, state_.chunks.offset[static_cast<std::size_t>(index)], kind);
        const PixelGrid grid = gridFromPicture(readPictureFile(path), kind, state_.palette, base ? &*base : nullptr);
        return chunkReplacement(file, index, chunkOfGrid(grid, kind));
    });
    state_.edits.add(state_.ownFilesDir, change, stepWord + " of " + chunkName(index));
    showEditedCopy();
    if (clipping)
        platform_.showInformation("Replace", path + ": " + *clipping);
}

void TForm1::Undo1Click()
{
    if (!Undo1->isEnabled())
        return;
    state_.edits.undo(state_.ownFilesDir);
    showEditedCopy();
}

void TForm1::Redo1Click()
{
    if (!Redo1->isEnabled())
        return;
    state_.edits.redo(state_.ownFilesDir);
    showEditedCopy();
}

void TForm1::showEditedCopy()
{
    const std::string name = state_.edits.shownName();
    const std::vector<std::string> linesBefore = std::move(state_.listedLines);
    state_.chunks.clear();
    state_.header = {};
    state_.listedLines.clear();
    try {
        state_.workingCopy.openRead(name);
        ReadChunkTable();
    } catch (...) {
        replaceListLines({});
        updateEditActions();
        throw;
    }
    showTitle();
    updateEditActions();
    // The preview file gets the new bytes as after a click.
    state_.heartbeatTicks = 0;
    // A replacement keeps every line but for a sound cut to one sample,
    // which is no longer listed.
    if (state_.listedLines != linesBefore)
        relistKeepingSelection();
    ShowCurrentItem();
}

void TForm1::relistKeepingSelection()
{
    std::set<std::int32_t> selected;
    for (const QListWidgetItem* item : ListBox1->selectedItems())
        selected.insert(ChunkList::chunkOf(item));
    const int currentRow = ListBox1->currentRow();
    const std::int32_t current = currentRow >= 0 ? ChunkList::chunkOf(ListBox1->item(currentRow)) : -1;
    const int scrolled = ListBox1->verticalScrollBar()->value();
    // As an open does: without descriptions when they cannot be read, and
    // the error shown once the list is back.
    std::exception_ptr descriptionsError;
    try {
        LoadDescriptions();
    } catch (...) {
        descriptionsError = std::current_exception();
        replaceListLines(plainListLines());
    }
    // The current entry stays where it was when its chunk is no longer listed.
    makeListRowCurrent(std::min(currentRow, ListBox1->count() - 1));
    QItemSelection selection;
    for (int row = 0; row < ListBox1->count(); ++row) {
        const std::int32_t index = ChunkList::chunkOf(ListBox1->item(row));
        if (selected.contains(index))
            selection.select(ListBox1->model()->index(row, 0), ListBox1->model()->index(row, 0));
        if (index == current)
            makeListRowCurrent(row);
    }
    ListBox1->selectionModel()->select(selection, QItemSelectionModel::Select);
    ListBox1->doItemsLayout();
    ListBox1->verticalScrollBar()->setValue(scrolled);
    if (descriptionsError)
        std::rethrow_exception(descriptionsError);
}

}  // namespace pagelark
