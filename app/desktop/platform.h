#pragma once

#include "sounds/sound_output.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pagelark {

struct ModOperations;
struct SoundImportOperations;

struct FileFilter {
    std::string name;     // "VSWAP Files"
    std::string pattern;  // "VSWAP.*"; several patterns separated by ';'
};

struct OpenDialogRequest {
    std::string title;  // empty: the platform's own title
    std::vector<FileFilter> filters;
    std::string startDirectory;  // empty: the platform's choice
};

struct SaveDialogRequest {
    std::vector<FileFilter> filters;
    std::string presetName;
    std::string startDirectory;
};

// An application the desktop registers for a kind of file.
struct DesktopApplication {
    std::string id;    // the desktop's own name for it ("org.gimp.GIMP.desktop")
    std::string name;  // the name it shows ("GNU Image Manipulation Program")
    bool operator==(const DesktopApplication&) const = default;
};

// The buttons a question can offer.
enum class Answer { Save, Discard, Cancel, Yes, No };

struct Question {
    std::string title;
    std::string text;
    // The buttons, in this order; the first is the default.
    std::vector<Answer> answers;
};

// What the window needs from the desktop, behind one interface so that tests
// can answer the dialogs and see the message boxes without blocking.
class Platform {
public:
    virtual ~Platform() = default;

    // The chosen file's full path, or nothing when the user cancels.
    virtual std::optional<std::string> chooseFileToOpen(const OpenDialogRequest& request) = 0;
    virtual std::optional<std::string> chooseFileToSave(const SaveDialogRequest& request) = 0;

    // The application's error report: a modal box with an error icon, the
    // application's title and the text.
    virtual void showError(const std::string& text) = 0;
    // A modal box with an error icon, a title of its own and an OK button.
    virtual void showMessage(const std::string& title, const std::string& text) = 0;
    // A modal box with an information icon, a title of its own and an OK button.
    virtual void showInformation(const std::string& title, const std::string& text) = 0;
    // A modal question. The answer is one of the question's; a box closed
    // without one (Esc, the window manager, a termination signal) answers
    // Cancel when it is offered and the last answer otherwise.
    virtual Answer ask(const Question& question) = 0;
    // Something the user should know that needs no answer, such as where the
    // program keeps its files when not where it usually does.
    virtual void note(const std::string& text) = 0;

    // The directory of the program's own file, with a trailing separator.
    virtual std::string programDir() = 0;
    // Milliseconds from some fixed moment; wraps around.
    virtual std::uint32_t tickCount() = 0;
    // Lets pending events (repaints, timer ticks, input) run.
    virtual void processPendingEvents() = 0;
    // Plays sounds in the background; lives as long as the platform.
    virtual SoundOutput& soundOutput() = 0;

    // The applications the desktop registers for files of this type
    // ("image/png", "audio/x-wav"), its default first.
    virtual std::vector<DesktopApplication> applicationsFor(const std::string& mimeType) = 0;
    // Opens the file in the application with this id, or in the desktop's
    // default for its type when none is given; false when there is none,
    // or it cannot be started.
    virtual bool openInApplication(const std::string& path, const std::string& mimeType,
                                   const std::optional<std::string>& applicationId)
        = 0;

    // Saving and applying mods, loaded when first asked for; raises a
    // RunError when they cannot be.
    virtual const ModOperations& modOperations() = 0;
    // Importing sounds, loaded when first asked for; raises a RunError when
    // it cannot be.
    virtual const SoundImportOperations& soundImportOperations() = 0;
};

}  // namespace pagelark
