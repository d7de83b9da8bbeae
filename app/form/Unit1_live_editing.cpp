// Editing in other programs: the selected wall, sprite or sound written into
// a file of its own and opened in the desktop's editor for its kind, and
// each save there taken back as an undo step.
#include "app/desktop/editor_files.h"
#include "app/desktop/handler_guard.h"
#include "app/form/Unit1.h"
#include "app/widgets/chunk_list.h"
#include "archive/output_file.h"
#include "archive/run_error.h"
#include "pictures/chunk_picture.h"
#include "pictures/png_files_qt.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>

namespace pagelark {

namespace {

constexpr const char* PngType = "image/png";
constexpr const char* WavType = "audio/x-wav";

const char* fileTypeOf(ItemKind kind) { return kind == ItemKind::Sound ? WavType : PngType; }

}  // namespace

void TForm1::createEditorFiles()
{
    editorFiles_ = new EditorFiles(
        [this](const EditorFiles::OutFile& file) { runGuarded(platform_, [&] { takeEditorSave(file); }); }, this);
    connect(EditWith1, &QMenu::aboutToShow, this, [this] { runGuarded(platform_, [this] { listEditors(); }); });
}

void TForm1::EditInEditor1Click()
{
    const std::optional<int> row = singleSelectedRow();
    if (!row || !EditInEditor1->isEnabled())
        return;
    const ItemKind kind = ChunkList::kindOf(ListBox1->item(*row));
    const auto chosen = chosenEditors_.find(fileTypeOf(kind));
    sendToEditor(ChunkList::chunkOf(ListBox1->item(*row)),
                 chosen == chosenEditors_.end() ? std::nullopt : std::optional<std::string>(chosen->second));
}

void TForm1::sendToEditor(std::int32_t index, const std::optional<std::string>& applicationId)
{
    const ItemKind kind = kindOfChunk(state_.header, index);
    const std::int32_t number = state_.chunks.itemNumber[static_cast<std::size_t>(index)];
    const std::int32_t offset = state_.chunks.offset[static_cast<std::size_t>(index)];
    // The same chunk sent again gets its file written afresh.
    const std::string path = editorFiles_->pathFor(kind, number);
    namingFile(path, [&] {
        if (kind == ItemKind::Sound) {
            WriteWavFile(path, offset, state_.chunks.length[static_cast<std::size_t>(index)], OutputAccess::Private);
            return;
        }
        const std::optional<PixelGrid> picture = chunkPicture(state_.workingCopy, offset, kind);
        if (!picture)
            throw RunError::message(chunkName(index) + " is not a valid sprite, so it has no picture to edit");
        writeFileSafely(path, indexedPngBytes(*picture, state_.palette, kind == ItemKind::Sprite), filesBeingRead(),
                        OutputAccess::Private);
    });
    editorFiles_->watch(kind, number);
    if (!platform_.openInApplication(path, fileTypeOf(kind), applicationId)) {
        const std::string what = kind == ItemKind::Sound ? "WAV sounds" : "PNG pictures";
        platform_.showInformation("Edit in editor",
                                  (applicationId ? "The application chosen could not be started"
                                                 : "The desktop has no application registered for " + what)
                                      + ". The file is " + path
                                      + ": open it in an editor by hand, and each save there comes back here.");
    }
}

void TForm1::listEditors()
{
    EditWith1->clear();
    const std::optional<int> row = singleSelectedRow();
    if (!row)
        return;
    const std::string type = fileTypeOf(ChunkList::kindOf(ListBox1->item(*row)));
    const std::vector<DesktopApplication> applications = platform_.applicationsFor(type);
    if (applications.empty())
        EditWith1->addAction(QStringLiteral("No application registered"))->setEnabled(false);
    const auto chosen = chosenEditors_.find(type);
    for (const DesktopApplication& application : applications) {
        QAction* action = EditWith1->addAction(QString::fromStdString(application.name));
        action->setCheckable(true);
        action->setChecked(chosen != chosenEditors_.end() && chosen->second == application.id);
        connect(action, &QAction::triggered, this, [this, type, id = application.id] {
            runGuarded(platform_, [&] {
                const std::optional<int> selected = singleSelectedRow();
                if (!selected)
                    return;
                // Kept for the rest of the run, for every file of its type.
                chosenEditors_[type] = id;
                sendToEditor(ChunkList::chunkOf(ListBox1->item(*selected)), id);
            });
        });
    }
}

void TForm1::takeEditorSave(const EditorFiles::OutFile& file)
{
    if (!state_.workingCopy.isOpen())
        return;
    if (savingSelection_) {
        editorFiles_->lookAgainLater(file.path);
        return;
    }
    const std::optional<std::int32_t> index = chunkOfItem(file.kind, file.number);
    if (!index)
        throw RunError::message(file.path + ": the open file has no " + std::string(kindName(file.kind)) + " "
                                + std::to_string(file.number) + " any more");
    replaceChunkWithFile(*index, file.path, "edit");
}

std::optional<std::int32_t> TForm1::chunkOfItem(ItemKind kind, std::int32_t number) const
{
    for (const std::int32_t index : state_.listedChunks) {
        if (kindOfChunk(state_.header, index) == kind
            && state_.chunks.itemNumber[static_cast<std::size_t>(index)] == number)
            return index;
    }
    return std::nullopt;
}

}  // namespace pagelark
