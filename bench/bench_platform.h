#pragma once

#include "app/desktop/platform.h"
#include "tests/support/temp_dir.h"

#include <optional>
#include <string>

namespace pagelark::bench {

// Plays nothing: the benchmarks never press "Play sound".
class SilentSoundOutput : public SoundOutput {
public:
    void playSound(const SoundRequest& /*request*/) override {}
};

// A desktop for the benchmarks: the open dialog answers with the same file
// every time, so a handler can run again and again; an error box is kept for
// the benchmark to report; the program's directory is a fresh temporary one
// holding the side files the program ships.
class BenchPlatform : public Platform {
public:
    BenchPlatform();

    // The answer of every open dialog from now on.
    void answerOpenWith(const std::string& path) { openAnswer_ = path; }
    // Puts a side file of the program's directory in the place of the shipped one.
    void replaceSideFile(const std::string& name, const std::string& from);

    // The first error shown, empty when there was none.
    const std::string& firstError() const { return firstError_; }

    std::optional<std::string> chooseFileToOpen(const OpenDialogRequest& request) override;
    std::optional<std::string> chooseFileToSave(const SaveDialogRequest& request) override;
    void showError(const std::string& text) override;
    void showMessage(const std::string& title, const std::string& text) override;
    void showInformation(const std::string&, const std::string&) override {}
    // The benchmarks replace nothing, so no question about unsaved edits comes.
    Answer ask(const Question&) override { return Answer::Cancel; }
    void note(const std::string&) override {}
    std::string programDir() override { return dir_.withSeparator(); }
    std::uint32_t tickCount() override;
    void processPendingEvents() override;
    SoundOutput& soundOutput() override { return sounds_; }
    // The benchmarks send nothing out to an editor.
    std::vector<DesktopApplication> applicationsFor(const std::string&) override { return {}; }
    bool openInApplication(const std::string&, const std::string&, const std::optional<std::string>&) override
    {
        return false;
    }
    // The benchmarks save and apply no mods in the window.
    const ModOperations& modOperations() override;
    const SoundImportOperations& soundImportOperations() override;

private:
    testing::TempDir dir_;
    std::optional<std::string> openAnswer_;
    std::string firstError_;
    SilentSoundOutput sounds_;
};

}  // namespace pagelark::bench
