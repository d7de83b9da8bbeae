#include "app/widgets/chunk_list.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>

namespace pagelark {

namespace {

constexpr int ChunkRole = Qt::UserRole;
constexpr int KindRole = Qt::UserRole + 1;

}  // namespace

void ChunkList::setLines(const QStringList& lines, const std::vector<std::int32_t>& chunks, const VswapHeader& header)
{
    clear();
    addItems(lines);
    // The rows are told to the view once, as they are added; what they keep
    // beside their text changes nothing it shows.
    const QSignalBlocker quiet(model());
    for (int row = 0; row < count() && static_cast<std::size_t>(row) < chunks.size(); ++row) {
        const std::int32_t chunk = chunks[static_cast<std::size_t>(row)];
        item(row)->setData(ChunkRole, chunk);
        item(row)->setData(KindRole, static_cast<int>(kindOfChunk(header, chunk)));
    }
}

std::int32_t ChunkList::chunkOf(const QListWidgetItem* row) { return row->data(ChunkRole).toInt(); }

ItemKind ChunkList::kindOf(const QListWidgetItem* row) { return static_cast<ItemKind>(row->data(KindRole).toInt()); }

ChunkList::ChunkList(QWidget* parent) : QListWidget(parent)
{
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { changed_ = true; });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { changed_ = true; });
}

template <typename Handling>
bool ChunkList::changesSomething(Handling&& handling)
{
    changed_ = false;
    handling();
    const bool changed = changed_;
    changed_ = false;
    return changed;
}

void ChunkList::reportClick()
{
    reportedSincePress_ = true;
    emit entryClicked();
}

void ChunkList::mousePressEvent(QMouseEvent* event)
{
    reportedSincePress_ = false;
    if (event->button() != Qt::LeftButton) {
        // The menu comes with an event of its own; the press itself selects nothing.
        event->accept();
        return;
    }
    if (changesSomething([&] { QListWidget::mousePressEvent(event); }))
        reportClick();
}

void ChunkList::mouseMoveEvent(QMouseEvent* event)
{
    // While dragging, the list selects before it moves the current entry;
    // reporting after both keeps the entry shown the focused one.
    if (changesSomething([&] { QListWidget::mouseMoveEvent(event); }))
        reportClick();
}

void ChunkList::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = clicks_.isClick(event, viewport()->rect()) && indexAt(event->position().toPoint()).isValid();
    const bool changed = changesSomething([&] { QListWidget::mouseReleaseEvent(event); });
    if (changed || (click && !reportedSincePress_))
        reportClick();
}

void ChunkList::mouseDoubleClickEvent(QMouseEvent* event)
{
    clicks_.noteDoubleClick();
    QListWidget::mouseDoubleClickEvent(event);
}

void ChunkList::keyPressEvent(QKeyEvent* event)
{
    if (changesSomething([&] { QListWidget::keyPressEvent(event); }))
        reportClick();
}

}  // namespace pagelark
