// Saving the selected entries of the chunk list: walls and sprites as
// bitmaps, sounds as WAV files, all into one chosen folder, the dialog
// starting in the folder chosen last in the run.
#include "app/form/Unit1.h"

#include "app/widgets/about_picture.h"
#include "app/widgets/chunk_list.h"
#include "archive/list_line.h"
#include "saved_folder/saved_item_name.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPointer>
#include <QToolButton>

#include <array>
#include <filesystem>

namespace pagelark {

namespace {

// Notes Esc pressed anywhere in the window.
class EscapeWatch : public QObject {
public:
    EscapeWatch(QWidget& window, bool& pressed) : window_(window), pressed_(pressed) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape
            && watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == &window_) {
            pressed_ = true;
            return true;
        }
        return false;
    }

private:
    QWidget& window_;
    bool& pressed_;
};

}  // namespace

// A save lets pending events run between its items. Those events must not
// close or replace the working copy, or change the chunk table or the list
// under the save, so the controls and edits that could are refused until
// the run ends. The About picture is hidden meanwhile, which shows the
// blinking circle beneath it. Esc stops the run before its next item.
// However the run ends, everything is as before.
class TForm1::SelectionSaveRun {
public:
    explicit SelectionSaveRun(TForm1& window)
        : window_(window), focused_(QApplication::focusWidget()), escape_(window, window.stopSavingRequested_)
    {
        window_.savingSelection_ = true;
        window_.closedWhileSaving_ = false;
        window_.stopSavingRequested_ = false;
        window_.Image1->hide();
        for (QWidget* control : refusedControls())
            control->setEnabled(false);
        window_.updateEditActions();
        QApplication::instance()->installEventFilter(&escape_);
    }

    ~SelectionSaveRun()
    {
        QApplication::instance()->removeEventFilter(&escape_);
        for (QWidget* control : refusedControls())
            control->setEnabled(true);
        if (focused_)
            focused_->setFocus();
        window_.Image1->show();
        window_.savingSelection_ = false;
        window_.updateEditActions();
    }

    SelectionSaveRun(const SelectionSaveRun&) = delete;
    SelectionSaveRun& operator=(const SelectionSaveRun&) = delete;

    bool windowClosed() const { return window_.closedWhileSaving_; }
    bool stopped() const { return window_.stopSavingRequested_; }

private:
    std::array<QWidget*, 4> refusedControls() const
    {
        return {window_.SpeedButton1, window_.spgem, window_.cb1, window_.ListBox1};
    }

    TForm1& window_;
    // Refusing a control takes the focus from it; it gets it back at the end.
    QPointer<QWidget> focused_;
    EscapeWatch escape_;
};

void TForm1::spgemClick()
{
    if (ListBox1->selectedItems().isEmpty()) {
        platform_.showMessage("Error", "NO ITEMS SELECTED");
        return;
    }
    const SaveDialogRequest request{{{"Bitmap (*.bmp),sound(*.wav)", "*.bmp;*.wav"}}, "-", state_.lastSaveFolder};
    // The run works through a copy of the selected lines, in list order.
    ListBox2->clear();
    for (int row = 0; row < ListBox1->count(); ++row) {
        if (ListBox1->item(row)->isSelected())
            ListBox2->addItem(ListBox1->item(row)->clone());
    }
    std::optional<int> stoppedAfter;
    if (const std::optional<std::string> chosen = platform_.chooseFileToSave(request)) {
        state_.lastSaveFolder = std::filesystem::path(*chosen).parent_path().string();
        const SelectionSaveRun run(*this);
        const std::string base = saveBase(*chosen);
        for (int row = 0; row < ListBox2->count(); ++row) {
            platform_.processPendingEvents();
            // Closing the window closed and deleted the working copy.
            if (run.windowClosed())
                return;
            if (run.stopped()) {
                stoppedAfter = row;
                break;
            }
            saveListedChunk(ListBox2->item(row), base);
        }
    }
    if (stoppedAfter)
        platform_.showInformation("Save selected",
                                  "Saving stopped: " + std::to_string(*stoppedAfter) + " of "
                                      + std::to_string(ListBox2->count()) + " items saved.");
    ShowCurrentItem();
}

void TForm1::saveListedChunk(const QListWidgetItem* row, const std::string& base)
{
    const std::int32_t index = ChunkList::chunkOf(row);
    const std::int32_t itemNumber = itemNumberOfLine(row->text().toLatin1().toStdString());
    const std::int32_t offset = state_.chunks.offset[static_cast<std::size_t>(index)];
    const std::int32_t length = state_.chunks.length[static_cast<std::size_t>(index)];
    // A chunk at or above the first sound is a sound only, even below the first sprite.
    const ItemKind kind = ChunkList::kindOf(row);
    const std::string path = savedItemFileName(base, kind, itemNumber);
    switch (kind) {
    case ItemKind::Wall:
        DecodeWall(offset);
        WriteBitmapFile(path);
        break;
    case ItemKind::Sprite:
        // A chunk that holds no sprite is left out without a word.
        if (DecodeSprite(offset, /*withBackground=*/false))
            WriteBitmapFile(path);
        break;
    case ItemKind::Sound:
        if (state_.fastDisplay())
            PlotSound(offset, length);
        WriteWavFile(path, offset, length);
        break;
    }
}

}  // namespace pagelark
