// The main window's sounds: the plot, the WAV writer and the play and mute buttons.
#include "app/form/Unit1.h"

#include "app/desktop/own_files.h"
#include "app/widgets/picture_box.h"
#include "sounds/sound_plot.h"
#include "sounds/wav_writer.h"

namespace pagelark {

void TForm1::PlotSound(std::int32_t offset, std::int32_t length)
{
    plotSound(state_.workingCopy, offset, length, state_.samplePositions, Image2->canvas(), windowColor());
    Image2->update();
}

void TForm1::WriteWavFile(const std::string& path, std::int32_t offset, std::int32_t length, OutputAccess access)
{
    writeWavFile(path, state_.workingCopy, offset, length, filesBeingRead(), access);
}

void TForm1::Sb2Click()
{
    // Sounds always play from the preview file, written afresh for each press.
    const std::string preview = state_.ownFilesDir + std::string(SoundPreviewName);
    WriteWavFile(preview, state_.current.offset, state_.current.length, OutputAccess::Private);
    abfWav1.FileName = preview;
    abfWav1.Play();
}

void TForm1::Sb4Click() { abfWav1.Stop(); }

}  // namespace pagelark
