// The heartbeat timer and the sprite animation: the preview files a while
// after each click in the list, the blinking circle, and sequences of
// sprites played by the timer or stepped by hand.
#include "app/form/Unit1.h"

#include "app/desktop/own_files.h"
#include "app/widgets/circle_shape.h"

#include <QLabel>
#include <QRadioButton>
#include <QToolButton>

namespace pagelark {

namespace {

// The tick after a click in the list on which the preview file is written.
constexpr std::int32_t PreviewTick = 3;
// Inverting these bits of the circle's colour turns red into orange and back.
constexpr PackedColor BlinkBits = 0xC000;

struct FrameSequence {
    std::int32_t count;
    std::int32_t stride;
};
constexpr FrameSequence Pacmen{2, 1};
constexpr FrameSequence Bosses{4, 1};
constexpr FrameSequence Guards{4, 8};

}  // namespace

void TForm1::Timer1Timer()
{
    ++state_.heartbeatTicks;
    Label9->setText(QString::number(state_.heartbeatTicks));
    if (state_.heartbeatTicks == PreviewTick)
        refreshPreviewFile();
    Shape1->setBrushColor(Shape1->brushColor() ^ BlinkBits);
    if (state_.animating && state_.frameCount > 0)
        ShowFrame(state_.heartbeatTicks % state_.frameCount);
}

void TForm1::refreshPreviewFile()
{
    const CurrentItem& current = state_.current;
    if (current.kind == ItemKind::Sprite)
        DecodeSprite(current.offset, /*withBackground=*/false);
    if (current.isPicture())
        WriteBitmapFile(state_.ownFilesDir + std::string(PicturePreviewName), OutputAccess::Private);
    else
        WriteWavFile(state_.ownFilesDir + std::string(SoundPreviewName), current.offset, current.length,
                     OutputAccess::Private);
    if (current.kind == ItemKind::Sprite) {
        DecodeSprite(current.offset, state_.viewMode);
        DrawSpritePicture();
    }
}

void TForm1::ShowFrame(int k)
{
    const std::int32_t first = state_.current.index;
    const VswapHeader& header = state_.header;
    if (first < header.spriteStart)
        return;
    // The whole block the sequence spans lies before the first sound, also
    // the chunks between frames and after the last one.
    if (first + state_.frameCount * state_.frameStride - 1 >= header.soundStart)
        return;
    const std::int32_t step = k * state_.frameStride;
    DecodeSprite(state_.chunks.offset[static_cast<std::size_t>(first + step)], state_.viewMode);
    DrawSpritePicture();
    Label1->setText(QString::number(first - header.spriteStart + step));
    Label1->adjustSize();
}

void TForm1::setFrameSequence(std::int32_t count, std::int32_t stride)
{
    state_.frameCount = count;
    state_.frameStride = stride;
}

void TForm1::animMouseUp()
{
    state_.animating = !state_.animating;
    if (rb1->isChecked())
        setFrameSequence(Pacmen.count, Pacmen.stride);
    if (rb2->isChecked())
        setFrameSequence(Bosses.count, Bosses.stride);
    if (rb3->isChecked())
        setFrameSequence(Guards.count, Guards.stride);
    QPalette colors = anim->palette();
    colors.setColor(QPalette::ButtonText, state_.animating ? Qt::red : Qt::black);
    anim->setPalette(colors);
    sbb->setEnabled(!state_.animating);
    sbf->setEnabled(!state_.animating);
}

void TForm1::rb1Click() { setFrameSequence(Pacmen.count, Pacmen.stride); }

void TForm1::rb2Click() { setFrameSequence(Bosses.count, Bosses.stride); }

void TForm1::rb3Click() { setFrameSequence(Guards.count, Guards.stride); }

void TForm1::sbfClick()
{
    if (state_.frameCount <= 0)
        return;
    state_.frameIndex = (state_.frameIndex + 1) % state_.frameCount;
    ShowFrame(state_.frameIndex);
}

void TForm1::sbbClick()
{
    if (state_.frameCount <= 0)
        return;
    state_.frameIndex = (state_.frameIndex + state_.frameCount - 1) % state_.frameCount;
    ShowFrame(state_.frameIndex);
}

}  // namespace pagelark
