// Showing the current list entry: its facts in the fields and labels, the
// controls of its kind and the chunk itself; the display mode of the start
// and size fields; the standard descriptions of the chosen game version.
#include "app/form/Unit1.h"

#include "app/widgets/clickable_fields.h"
#include "app/widgets/picture_box.h"
#include "app/widgets/spin_edit.h"
#include "archive/list_line.h"
#include "archive/run_error.h"
#include "archive/text_file.h"
#include "sounds/sound_duration.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QSignalBlocker>

#include <memory>

namespace pagelark {

namespace {

constexpr int SpearItem = static_cast<int>(GameVersion::SpearOfDestiny);
constexpr int WolfCeilingLowest = 10;
constexpr int WolfCeilingHighest = 69;
constexpr int SpearCeilingLowest = 70;
constexpr int SpearCeilingHighest = 90;

QString hexText(std::int32_t value, int digits)
{
    return QString::number(static_cast<std::uint32_t>(value), 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

}  // namespace

void TForm1::ShowCurrentItem()
{
    const int row = ListBox1->currentRow();
    if (row < 0 || row >= ListBox1->count())
        throw RunError::message("List index out of bounds (" + std::to_string(row) + ")");
    const std::int32_t index = ChunkList::chunkOf(ListBox1->item(row));
    CurrentItem& current = state_.current;
    current.index = index;

    const VswapHeader& header = state_.header;
    Label1->setText(QString());
    if (header.spriteStart <= index && index < header.soundStart)
        Label1->setText(QString::number(index - header.spriteStart));
    Label1->adjustSize();

    current.offset = state_.chunks.offset[index];
    current.length = state_.chunks.length[index];
    Label7->setText(
        QString::fromStdString(durationText(current.length, QLocale::system().decimalPoint().toStdString())));
    Label7->adjustSize();

    const ItemKind kind = ChunkList::kindOf(ListBox1->item(row));
    current.kind = kind;
    spe1->setVisible(kind != ItemKind::Sound);
    Label8->setVisible(kind != ItemKind::Sound);
    Panel2->setVisible(kind == ItemKind::Sprite);
    Panel1->setVisible(kind == ItemKind::Sound);

    switch (kind) {
    case ItemKind::Wall:
        DecodeWall(current.offset);
        DrawWallPicture();
        break;
    case ItemKind::Sprite:
        if (DecodeSprite(current.offset, state_.viewMode))
            DrawSpritePicture();
        else
            ClearPicture();
        break;
    case ItemKind::Sound:
        PlotSound(current.offset, current.length);
        break;
    }
    showStartAndSize(current.length, current.offset);
}

void TForm1::showStartAndSize(std::int32_t length, std::int32_t offset)
{
    if (Edit4->text() == QStringLiteral("DEC")) {
        Edit1->setText(QString::number(length));
        Edit2->setText(QString::number(offset));
    } else {
        Edit1->setText(hexText(length, 4));
        Edit2->setText(hexText(offset, 6));
    }
}

void TForm1::ListBox1Click()
{
    state_.heartbeatTicks = 0;
    state_.lastListIndex = ListBox1->currentRow();
    ShowCurrentItem();
}

void TForm1::Edit4Click()
{
    Edit4->setText(Edit4->text() == QStringLiteral("DEC") ? QStringLiteral("HEX") : QStringLiteral("DEC"));
    showStartAndSize(state_.current.length, state_.current.offset);
}

int TForm1::versionItemIndex() const { return cb1->findText(cb1->currentText(), Qt::MatchExactly); }

void TForm1::LoadDescriptions()
{
    const int item = versionItemIndex();
    if (item >= 0)
        state_.gameVersion = static_cast<GameVersion>(item);
    TextFile file;
    file.open(state_.sideFilesDir + descriptionFileName(state_.gameVersion));

    readDescriptions(file, state_.header.spriteStart, state_.header.soundStart, state_.descriptions);
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(state_.listedLines.size()));
    for (const std::string& line : state_.listedLines)
        lines << listLineText(describedLine(line, state_.header.soundStart, state_.descriptions));
    replaceListLines(lines);
    file.close();
}

void TForm1::cb1Change()
{
    const bool spear = versionItemIndex() == SpearItem;
    // Range and value change together, so the ceiling value changes at most
    // once; the range alone would pull a value from the other range to its
    // nearest end first. The spin edit's change handler runs from here rather
    // than through the spin edit's signal: its error must end this handler
    // too, and an error may not pass through the toolkit's own code.
    const int ceilingBefore = spe1->value();
    {
        const QSignalBlocker quiet(spe1);
        if (spear)
            spe1->setRange(SpearCeilingLowest, SpearCeilingHighest);
        else
            spe1->setRange(WolfCeilingLowest, WolfCeilingHighest);
        spe1->setValue(spear ? SpearCeilingLowest : WolfCeilingLowest);
    }
    if (spe1->value() != ceilingBefore)
        spe1Change();
    LoadDescriptions();
    ShowCurrentItem();
}

}  // namespace pagelark
