#pragma once

#include "app/desktop/editor_files.h"
#include "app/desktop/platform.h"
#include "app/form/program_state.h"
#include "app/widgets/chunk_list.h"
#include "archive/output_file.h"
#include "pictures/canvas.h"
#include "sounds/wav_player.h"

#include <QStringList>
#include <QWidget>

#include <map>
#include <optional>
#include <string>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QRadioButton;
class QTimer;
class QToolButton;

namespace pagelark {

class AboutPicture;
class CircleShape;
class ClickableLineEdit;
class PictureBox;
class SpinEdit;
class TForm2;

// The main window. Its controls keep their short names (as object names too),
// and its handlers are named after control and event. Every handler runs
// through the handler guard, so an error shows its box and the program goes on.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    explicit TForm1(Platform& platform, QWidget* parent = nullptr);
    ~TForm1() override;

    ProgramState& state() { return state_; }
    TForm2* aboutWindow() const { return Form2; }
    // The window's own drawing surface, on which the speed probe draws. The
    // probe's pixel is the only one ever drawn there, so it holds just that one
    // rather than a window's worth (over a megabyte) of pixels nobody sees.
    Canvas& drawingSurface() { return surface_; }

    // Handlers and the operations they share.
    void FormCreate();
    void FormResize();
    void FormClose();
    void SpeedButton1Click();
    // Opens a file given from the desktop (on the command line or by a
    // drop) just as "Load vswap file" opens the file chosen in its dialog.
    void openGivenFile(const std::string& path);
    // Offers to restore the replacements a run ended by a signal kept; for
    // the start, once the window is shown.
    void offerRecovery();
    // Closes the window without asking anything, as for a termination
    // signal: replacements not saved are kept for the next start instead.
    void closeKeepingEdits();
    void OpenVswapFile();
    void ReadChunkTable();
    void ListBox1Click();
    void Image1Click();
    void S1Click();

    // Showing the current entry.
    void ShowCurrentItem();
    void Edit4Click();
    void LoadDescriptions();
    void cb1Change();

    // Pictures.
    void SpeedButton2Click();
    void DecodeWall(std::int32_t offset);
    bool DecodeSprite(std::int32_t offset, bool withBackground);
    void ClearPicture();
    void DrawSpritePicture();
    void DrawWallPicture();
    // The program's own files (the previews) are written private to the user.
    void WriteBitmapFile(const std::string& path, OutputAccess access = OutputAccess::Shared);
    void Image2Click();
    void spe1Change();
    void Image2MouseMove(int x, int y);

    // Heartbeat and animation.
    void Timer1Timer();
    void ShowFrame(int k);
    void animMouseUp();
    void rb1Click();
    void rb2Click();
    void rb3Click();
    void sbfClick();
    void sbbClick();

    // Sounds.
    void PlotSound(std::int32_t offset, std::int32_t length);
    void WriteWavFile(const std::string& path, std::int32_t offset, std::int32_t length,
                      OutputAccess access = OutputAccess::Shared);
    void Sb2Click();
    void Sb4Click();

    // Replacing chunks: each replacement is an undo step, its page file
    // shown at once; undo and redo go back and forth between the steps.
    void Replace1Click();
    void Undo1Click();
    void Redo1Click();
    void SaveVswapAs1Click();
    // Replaces the chunk of this index with the picture or sound of the file,
    // as one undo step named after the word and the chunk ("replacement of wall 3").
    void replaceChunkWithFile(std::int32_t index, const std::string& path, const std::string& stepWord = "replacement");
    // Sends the selected wall, sprite or sound to the desktop's editor for
    // its kind of file, or to the application chosen in "Edit with".
    void EditInEditor1Click();
    // Mods: the changes since opening written as a mod of the file opened,
    // and a mod's changes applied to the page file shown as one step.
    void SaveChangesAsMod1Click();
    void applyDroppedMod(const std::string& path);

    // Saving the selected entries.
    void spgemClick();
    // Whether a save of the selected entries is under way.
    bool savingSelection() const { return savingSelection_; }

    // Controls.
    QToolButton* SpeedButton1;
    QToolButton* spgem;
    QToolButton* SpeedButton2;
    CircleShape* Shape1;
    AboutPicture* Image1;
    QLabel* Label3;
    ClickableLineEdit* Edit4;
    QLabel* Label4;
    QLineEdit* Edit2;
    QLineEdit* Edit1;
    QLabel* Label2;
    ChunkList* ListBox1;
    QComboBox* cb1;
    SpinEdit* spe1;
    QLabel* Label8;
    PictureBox* Image2;
    PictureBox* Image4;
    QLineEdit* Edit3;
    QLineEdit* Edit5;
    QFrame* Panel1;
    QLabel* Label7;
    QToolButton* Sb2;
    QToolButton* Sb4;
    QFrame* Panel2;
    QLabel* Label1;
    QToolButton* anim;
    QToolButton* sbf;
    QToolButton* sbb;
    QRadioButton* rb1;
    QRadioButton* rb2;
    QRadioButton* rb3;
    QListWidget* ListBox2;
    QLabel* Label9;
    QTimer* Timer1;
    QMenu* PopupMenu1;
    QAction* S1;
    QAction* Replace1;
    QAction* Undo1;
    QAction* Redo1;
    QAction* EditInEditor1;
    QMenu* EditWith1;
    QAction* SaveVswapAs1;
    QAction* SaveChangesAsMod1;
    TabfWav abfWav1;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    class SelectionSaveRun;

    // A file to open without the dialog: the path it is shown and known by,
    // and the file its bytes come from (another when restoring kept edits).
    struct GivenFile {
        std::string path;
        std::string bytesFrom;
    };

    void createControls();
    void connectHandlers();
    void popUpListMenu(const QPoint& at);
    // Makes a list position current without selecting anything.
    void makeListRowCurrent(int row);
    // Puts these lines in the list in one go, nothing selected, the current
    // position kept where the list still has it.
    void replaceListLines(const QStringList& lines);
    // The lines of the chunk table, without descriptions.
    QStringList plainListLines() const;
    // The chunk index a line of the list starts with, checked against the table.
    // The start and size fields in the display mode in force.
    void showStartAndSize(std::int32_t length, std::int32_t offset);
    // The ceiling value in use: the spin edit's value, kept within its range
    // while the user types a value outside it.
    int ceilingValue() const;
    PackedColor windowColor() const;
    // The item of the version choice whose text the field shows, -1 for
    // typed text that names no item.
    int versionItemIndex() const;
    // The third tick after a click: pl.bmp or pl.wav gets the current entry.
    void refreshPreviewFile();
    void setFrameSequence(std::int32_t count, std::int32_t stride);
    // The chosen VSWAP file and every working copy: nothing the window
    // writes replaces them, whatever names or links lead there.
    std::vector<FileIdentity> filesBeingRead() const;
    // The working copies alone.
    std::vector<FileIdentity> workingCopies() const;
    // Saves one line of the work list into the files that start with base.
    void saveListedChunk(const QListWidgetItem* row, const std::string& base);

    // Editing.
    // The one selected row; nothing when none or several are selected.
    std::optional<int> singleSelectedRow() const;
    // The list row under a point of the window; -1 for none.
    int listRowAt(const QPoint& at) const;
    // The picture a wall or sprite chunk holds now; nothing when it holds none.
    // Reads the copy of the step shown as an open does, without the dialog,
    // keeping the selection, the current entry and the scroll position.
    void showEditedCopy();
    // Puts the list lines back after they changed, the same chunks selected.
    void relistKeepingSelection();
    void updateEditActions();
    // Editing in other programs.
    void createEditorFiles();
    // Writes the chunk into its file for editing and opens that in the
    // application, or the desktop's default for its type.
    void sendToEditor(std::int32_t index, const std::optional<std::string>& applicationId);
    // Fills "Edit with" with the applications registered for the selected chunk's type.
    void listEditors();
    // A save of a file out for editing, taken as a replacement of its chunk.
    void takeEditorSave(const EditorFiles::OutFile& file);
    // The listed chunk of this wall, sprite or sound number.
    std::optional<std::int32_t> chunkOfItem(ItemKind kind, std::int32_t number) const;
    // "wall 3", "sprite 24", "sound 5": the chunk of this index as steps name it.
    std::string chunkName(std::int32_t index) const;
    // The opened file's path, with " *" while replacements are not saved.
    void showTitle();
    // Asks what to do with replacements not saved before they would be lost;
    // true when the caller may go on.
    bool settleUnsavedEdits();
    // Asks for a file and writes the page file shown into it; false when
    // the user cancels.
    bool saveEditedFileAs();
    // Refuses a file to write that is one the window reads or keeps for itself.
    void refuseOwnFile(const std::string& path) const;
    // The bytes of the page file shown, in order.
    void writeShownCopy(const WorkingCopyFile::ByteSink& sink);

    Platform& platform_;
    ProgramState state_;
    Canvas surface_;
    TForm2* Form2 = nullptr;
    bool placedOnScreen_ = false;
    bool savingSelection_ = false;
    // The file the next open takes instead of asking with its dialog.
    std::optional<GivenFile> givenFile_;
    bool closedWhileSaving_ = false;
    // Esc was pressed during a save of the selected entries.
    bool stopSavingRequested_ = false;
    bool closingWithoutAsking_ = false;
    EditorFiles* editorFiles_ = nullptr;
    // The application chosen in "Edit with" for each type of file, for the run.
    std::map<std::string, std::string> chosenEditors_;
};

// A list line as the list shows it: the bytes of the chunk table's line and
// of the description file, one character each.
QString listLineText(const std::string& line);

}  // namespace pagelark
