#include "app/form/Unit1.h"

#include "app/desktop/dropped_files.h"
#include "app/desktop/file_ops.h"
#include "app/desktop/handler_guard.h"
#include "app/desktop/own_files.h"
#include "app/form/Unit2.h"
#include "app/widgets/about_picture.h"
#include "app/widgets/chunk_list.h"
#include "app/widgets/clickable_fields.h"
#include "app/widgets/picture_box.h"
#include "app/widgets/spin_edit.h"
#include "archive/list_line.h"
#include "archive/program_places.h"
#include "pictures/reference_tables.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStringList>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <unistd.h>
#include <utility>

namespace pagelark {

namespace {

constexpr int WindowWidth = 606;
constexpr int WindowHeight = 465;
// The list ends this far above the bottom of the window's client area.
constexpr int ListBottomMargin = 21;
constexpr int SpeedProbeWrites = 10000;

// The local file a drag carries, if it carries one.
std::optional<std::string> droppedFile(const QMimeData* data)
{
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile().toStdString();
    }
    return std::nullopt;
}

}  // namespace

QString listLineText(const std::string& line)
{
    return QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
}

TForm1::TForm1(Platform& platform, QWidget* parent)
    : QWidget(parent), abfWav1(platform.soundOutput()), platform_(platform), surface_(1, 1)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Pagelark 3.3"));
    resize(WindowWidth, WindowHeight);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    QPalette colors = palette();
    colors.setColor(QPalette::Window, colors.color(QPalette::Button));
    setPalette(colors);
    setAutoFillBackground(true);
    setAcceptDrops(true);

    createControls();
    connectHandlers();
    createEditorFiles();
    runGuarded(platform_, [this] { FormCreate(); });
    Form2 = new TForm2(platform_, this);
}

TForm1::~TForm1() = default;

void TForm1::connectHandlers()
{
    using Handler = void (TForm1::*)();
    const std::pair<QAction*, Handler> actions[] = {
        {S1, &TForm1::S1Click},
        {Replace1, &TForm1::Replace1Click},
        {Undo1, &TForm1::Undo1Click},
        {Redo1, &TForm1::Redo1Click},
        {EditInEditor1, &TForm1::EditInEditor1Click},
        {SaveVswapAs1, &TForm1::SaveVswapAs1Click},
        {SaveChangesAsMod1, &TForm1::SaveChangesAsMod1Click},
    };
    for (const auto& [action, handler] : actions)
        connect(action, &QAction::triggered, this, guardedSlot(platform_, this, handler));
    const std::pair<QAbstractButton*, Handler> buttons[] = {
        {SpeedButton1, &TForm1::SpeedButton1Click},
        {SpeedButton2, &TForm1::SpeedButton2Click},
        {rb1, &TForm1::rb1Click},
        {rb2, &TForm1::rb2Click},
        {rb3, &TForm1::rb3Click},
        {sbf, &TForm1::sbfClick},
        {sbb, &TForm1::sbbClick},
        {Sb2, &TForm1::Sb2Click},
        {Sb4, &TForm1::Sb4Click},
        {spgem, &TForm1::spgemClick},
    };
    for (const auto& [button, handler] : buttons)
        connect(button, &QAbstractButton::clicked, this, guardedSlot(platform_, this, handler));
    connect(Image1, &AboutPicture::clicked, this, guardedSlot(platform_, this, &TForm1::Image1Click));
    // Whatever changes the selection, the user or the program, Replace follows it.
    connect(ListBox1->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { updateEditActions(); });
    connect(ListBox1, &ChunkList::entryClicked, this, guardedSlot(platform_, this, &TForm1::ListBox1Click));
    connect(Edit4, &ClickableLineEdit::clicked, this, guardedSlot(platform_, this, &TForm1::Edit4Click));
    connect(cb1, &QComboBox::editTextChanged, this, guardedSlot(platform_, this, &TForm1::cb1Change));
    connect(Image2, &PictureBox::clicked, this, guardedSlot(platform_, this, &TForm1::Image2Click));
    connect(spe1, &SpinEdit::valueChanged, this, guardedSlot(platform_, this, &TForm1::spe1Change));
    connect(Image2, &PictureBox::mouseMoved, this,
            [this](int x, int y) { runGuarded(platform_, [&] { Image2MouseMove(x, y); }); });
    connect(ListBox1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { runGuarded(platform_, [&] { popUpListMenu(at); }); });
    connect(Timer1, &QTimer::timeout, this, guardedSlot(platform_, this, &TForm1::Timer1Timer));
    // The animation switches on the release of any mouse button over its button.
    anim->installEventFilter(this);
}

void TForm1::FormCreate()
{
    const ProgramPlaces places = programPlaces(platform_.programDir());
    state_.sideFilesDir = places.sideFiles;
    state_.ownFilesDir = places.ownFiles;
    state_.ownFilesForThisRun = places.ownFilesForThisRun;
    if (!places.notice.empty())
        platform_.note(places.notice);

    buildReferenceTables(state_.sideFilesDir, state_.palette, state_.ceilingColors, state_.bmpHeader);

    const std::uint32_t before = platform_.tickCount();
    for (int i = 0; i < SpeedProbeWrites; ++i)
        surface_.setPixel(0, 0, packColor(255, 255, 255));
    state_.speedProbe = static_cast<std::int32_t>(platform_.tickCount() - before);
}

void TForm1::FormResize() { ListBox1->resize(ListBox1->width(), height() - ListBottomMargin); }

void TForm1::FormClose()
{
    if (state_.workingCopy.isOpen())
        state_.workingCopy.close();
    state_.edits.clear();
    editorFiles_->clear();
    deleteFileQuietly(state_.ownFilesDir + std::string(PicturePreviewName));
    deleteFileQuietly(state_.ownFilesDir + std::string(SoundPreviewName));
    state_.workingCopyFile.remove();
    // Only when nothing else is left in it.
    if (state_.ownFilesForThisRun)
        ::rmdir(state_.ownFilesDir.c_str());
}

void TForm1::SpeedButton1Click()
{
    OpenVswapFile();
    Edit4->show();
    Edit3->show();
    Edit5->show();
    // The guards' sequence, whichever option button is checked.
    state_.frameCount = 4;
    state_.frameStride = 8;
    Image2->show();
    spgem->show();
    cb1->show();
    ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
}

void TForm1::OpenVswapFile()
{
    std::optional<GivenFile> given = std::exchange(givenFile_, std::nullopt);
    if (!given) {
        if (const std::optional<std::string> chosen = platform_.chooseFileToOpen(
                {"Load a VSWAP.* file", {{"VSWAP Files", "VSWAP.*"}, {"All Files", "*.*"}}, state_.sideFilesDir}))
            given = GivenFile{*chosen, *chosen};
    }
    if (!given || !settleUnsavedEdits())
        return;
    const std::string& chosen = given->path;

    state_.chunks.clear();
    state_.header = {};
    state_.listedLines.clear();
    try {
        // Every later open of the run refills the copy the first one made;
        // the copies of the file before's replacements go.
        if (state_.workingCopy.isOpen())
            state_.workingCopy.close();
        state_.edits.clear();
        // The files out for editing were of the file before.
        editorFiles_->clear();
        state_.chosenFile = identityOf(chosen);
        state_.workingCopyFile.fill(state_.ownFilesDir, given->bytesFrom);
        state_.workingCopy.openRead(state_.workingCopyFile.name());
        state_.edits.begin(state_.workingCopyFile.name());
        state_.openedPath = chosen;
        setWindowTitle(QString::fromStdString(chosen));
        ReadChunkTable();
    } catch (...) {
        // The lines of the file before went with its table: an open that
        // fails leaves no lines that would offer chunks of another file.
        replaceListLines({});
        updateEditActions();
        throw;
    }
    Timer1->start();
    // The list is filled once, with the lines' descriptions; without them
    // when the description file cannot be read.
    try {
        LoadDescriptions();
    } catch (...) {
        replaceListLines(plainListLines());
        makeListRowCurrent(0);
        updateEditActions();
        throw;
    }
    updateEditActions();
    makeListRowCurrent(0);
    if (chosen == state_.lastFileName)
        makeListRowCurrent(state_.lastListIndex);
    state_.lastFileName = chosen;
    ShowCurrentItem();
}

void TForm1::ReadChunkTable()
{
    readChunkTable(state_.workingCopy, state_.header, state_.chunks);
    state_.listedLines = listLines(state_.header, state_.chunks);
    state_.listedChunks.clear();
    for (std::int32_t i = 0; i < state_.header.chunkCount; ++i)
        if (state_.chunks.isListed(i))
            state_.listedChunks.push_back(i);
}

QStringList TForm1::plainListLines() const
{
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(state_.listedLines.size()));
    for (const std::string& line : state_.listedLines)
        lines << listLineText(line);
    return lines;
}

void TForm1::replaceListLines(const QStringList& lines)
{
    const int current = ListBox1->currentRow();
    const QSignalBlocker quiet(ListBox1);
    ListBox1->setUpdatesEnabled(false);
    ListBox1->setLines(lines, state_.listedChunks, state_.header);
    ListBox1->setUpdatesEnabled(true);
    makeListRowCurrent(current);
}

void TForm1::makeListRowCurrent(int row)
{
    // A position the list does not have leaves the current entry as it is.
    if (row < 0 || row >= ListBox1->count())
        return;
    const QSignalBlocker quiet(ListBox1);
    // The first line of a list shown from its top is in sight already: the
    // list need not be laid out now to scroll to it, only when it is painted.
    const bool inSight = row == 0 && ListBox1->verticalScrollBar()->value() == 0;
    const bool scrolls = ListBox1->hasAutoScroll();
    ListBox1->setAutoScroll(scrolls && !inSight);
    ListBox1->setCurrentRow(row, QItemSelectionModel::NoUpdate);
    ListBox1->setAutoScroll(scrolls);
}

void TForm1::openGivenFile(const std::string& path)
{
    // Like the button, a file from the desktop waits for a save under way.
    if (savingSelection_)
        return;
    givenFile_ = GivenFile{path, path};
    runGuarded(platform_, [this] { SpeedButton1Click(); });
    givenFile_.reset();
}

void TForm1::dragEnterEvent(QDragEnterEvent* event)
{
    if (!savingSelection_ && droppedFile(event->mimeData()))
        event->acceptProposedAction();
}

// A page file may be dropped anywhere, a mod anywhere once a file is open; a
// picture or a sound only onto a row.
void TForm1::dragMoveEvent(QDragMoveEvent* event)
{
    const std::optional<std::string> file = droppedFile(event->mimeData());
    if (!savingSelection_ && file
        && (listRowAt(event->position().toPoint()) >= 0 || kindOfDroppedFile(*file) == DroppedFile::PageFile
            || (kindOfDroppedFile(*file) == DroppedFile::Mod && state_.workingCopy.isOpen())))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TForm1::dropEvent(QDropEvent* event)
{
    const std::optional<std::string> file = droppedFile(event->mimeData());
    if (!file || savingSelection_)
        return;
    const DroppedFile kind = kindOfDroppedFile(*file);
    if (kind == DroppedFile::PageFile) {
        event->acceptProposedAction();
        openGivenFile(*file);
        return;
    }
    if (kind == DroppedFile::Mod) {
        event->acceptProposedAction();
        runGuarded(platform_, [&] { applyDroppedMod(*file); });
        return;
    }
    const int row = listRowAt(event->position().toPoint());
    if (row < 0)
        return;
    event->acceptProposedAction();
    runGuarded(platform_, [&] { replaceChunkWithFile(ChunkList::chunkOf(ListBox1->item(row)), *file); });
}

void TForm1::Image1Click() { Form2->show(); }

void TForm1::S1Click()
{
    const QSignalBlocker quiet(ListBox1);
    ListBox1->selectAll();
}

void TForm1::popUpListMenu(const QPoint& at) { PopupMenu1->popup(ListBox1->viewport()->mapToGlobal(at)); }

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == anim && event->type() == QEvent::MouseButtonRelease)
        runGuarded(platform_, [this] { animMouseUp(); });
    return QWidget::eventFilter(watched, event);
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    runGuarded(platform_, [this] { FormResize(); });
}

void TForm1::closeEvent(QCloseEvent* event)
{
    bool mayClose = false;
    runGuarded(platform_, [&] { mayClose = settleUnsavedEdits(); });
    // A signal that came while the question waited closes all the same.
    if (!mayClose && !closingWithoutAsking_) {
        event->ignore();
        return;
    }
    // A save under way notices this and ends before its next item.
    if (savingSelection_)
        closedWhileSaving_ = true;
    runGuarded(platform_, [this] { FormClose(); });
    event->accept();
}

void TForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (placedOnScreen_)
        return;
    placedOnScreen_ = true;
    if (const QScreen* display = screen()) {
        const QRect area = display->availableGeometry();
        move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }
}

}  // namespace pagelark
