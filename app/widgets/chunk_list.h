#pragma once

#include "app/widgets/single_clicks.h"
#include "archive/chunk_table.h"

#include <QListWidget>

#include <cstdint>
#include <vector>

namespace pagelark {

// The chunk list: several entries selectable at once, the current entry the
// focused one. Every action of the user's mouse or keyboard that changes the
// selection or moves the current entry is reported as one click, once the
// action is complete, so the current entry is always the one it leaves in
// focus. A left click on an entry that changes nothing is a click as well; a
// double click counts once. Other buttons leave the selection alone: a right
// click only asks for the menu. What the program itself changes is no click.
class ChunkList : public QListWidget {
    Q_OBJECT

public:
    explicit ChunkList(QWidget* parent = nullptr);

    // Every row keeps the chunk it lists and the chunk's kind beside its
    // text, so that nothing reads them back from the text.
    void setLines(const QStringList& lines, const std::vector<std::int32_t>& chunks, const VswapHeader& header);
    static std::int32_t chunkOf(const QListWidgetItem* row);
    static ItemKind kindOf(const QListWidgetItem* row);

signals:
    void entryClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Runs the list's own handling of an input event; true when it changed
    // the selection or the current entry.
    template <typename Handling>
    bool changesSomething(Handling&& handling);
    void reportClick();

    bool changed_ = false;
    // Whether the press under way, or a drag from it, was reported already.
    bool reportedSincePress_ = false;
    SingleClicks clicks_;
};

}  // namespace pagelark
