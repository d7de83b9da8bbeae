// The main window's picture view: decoding into the grid, drawing it, the
// view mode, the ceiling colour choice, the read-out under the pointer, the
// palette button and the bitmap writer.
#include "app/form/Unit1.h"

#include "app/widgets/picture_box.h"
#include "app/widgets/spin_edit.h"
#include "archive/run_error.h"
#include "pictures/bitmap_writer.h"
#include "pictures/decoders.h"
#include "pictures/picture_drawing.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace pagelark {

namespace {

constexpr int SpearItem = static_cast<int>(GameVersion::SpearOfDestiny);

}  // namespace

int TForm1::ceilingValue() const { return std::clamp(spe1->value(), spe1->minimum(), spe1->maximum()); }

PackedColor TForm1::windowColor() const
{
    const QColor face = palette().color(QPalette::Window);
    return packColor(static_cast<std::uint32_t>(face.red()), static_cast<std::uint32_t>(face.green()),
                     static_cast<std::uint32_t>(face.blue()));
}

void TForm1::SpeedButton2Click()
{
    const std::optional<std::string> chosen = platform_.chooseFileToOpen({"", {{"Palette file", "*.pal"}}, ""});
    if (chosen)
        readPaletteFile(*chosen, state_.palette);
}

void TForm1::DecodeWall(std::int32_t offset) { decodeWall(state_.workingCopy, offset, state_.grid); }

bool TForm1::DecodeSprite(std::int32_t offset, bool withBackground)
{
    std::optional<std::uint8_t> ceiling;
    if (withBackground)
        ceiling = ceilingIndex(state_.ceilingColors, ceilingValue());
    return decodeSprite(state_.workingCopy, offset, ceiling, state_.grid);
}

void TForm1::ClearPicture()
{
    clearPicture(Image2->canvas(), windowColor());
    Image2->update();
}

void TForm1::DrawSpritePicture()
{
    drawSpritePicture(state_.grid, state_.palette, Image4->canvas(), Image2->canvas());
    Image2->update();
}

void TForm1::DrawWallPicture()
{
    const PackedColor ceiling = state_.palette[ceilingIndex(state_.ceilingColors, ceilingValue())];
    drawWallPicture(state_.grid, state_.palette, state_.viewMode, ceiling, Image2->canvas());
    Image2->update();
}

std::vector<FileIdentity> TForm1::workingCopies() const
{
    std::vector<FileIdentity> copies = state_.edits.identities();
    if (const std::optional<FileIdentity> copy = state_.workingCopyFile.identity())
        copies.push_back(*copy);
    if (state_.workingCopy.isOpen())
        copies.push_back(state_.workingCopy.identity());
    return copies;
}

std::vector<FileIdentity> TForm1::filesBeingRead() const
{
    std::vector<FileIdentity> files = workingCopies();
    if (state_.chosenFile)
        files.push_back(*state_.chosenFile);
    return files;
}

void TForm1::WriteBitmapFile(const std::string& path, OutputAccess access)
{
    writeBitmapFile(path, state_.grid, state_.bmpHeader, filesBeingRead(), access);
    if (state_.fastDisplay())
        DrawWallPicture();
}

void TForm1::Image2Click()
{
    // A sound's plot has no background mode; a wall, a sprite or nothing yet does.
    if (state_.current.isPicture())
        state_.viewMode = !state_.viewMode;
    ShowCurrentItem();
}

void TForm1::spe1Change()
{
    const int value = spe1->value();
    ShowCurrentItem();
    Label8->setText(QString::fromStdString(ceilingLevelText(value, versionItemIndex() == SpearItem)));
    Label8->adjustSize();
}

void TForm1::Image2MouseMove(int x, int y)
{
    Edit3->setText(QString::fromStdString(pointerPositionText(state_.current.isPicture(), x, y)));
    Edit5->setText(QString::number(colorIndexAt(Image2->canvas(), x, y, state_.palette)));
}

}  // namespace pagelark
