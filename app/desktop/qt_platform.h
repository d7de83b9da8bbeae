#pragma once

#include "app/desktop/platform.h"

#include <memory>

class QString;

namespace pagelark {

// The desktop as Qt offers it: file dialogs, message boxes, the program's
// directory, a millisecond clock, the event loop and the sound output.
class QtPlatform : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

    std::optional<std::string> chooseFileToOpen(const OpenDialogRequest& request) override;
    std::optional<std::string> chooseFileToSave(const SaveDialogRequest& request) override;
    void showError(const std::string& text) override;
    void showMessage(const std::string& title, const std::string& text) override;
    void showInformation(const std::string& title, const std::string& text) override;
    Answer ask(const Question& question) override;
    void note(const std::string& text) override;
    std::string programDir() override;
    std::uint32_t tickCount() override;
    void processPendingEvents() override;
    SoundOutput& soundOutput() override;
    std::vector<DesktopApplication> applicationsFor(const std::string& mimeType) override;
    const ModOperations& modOperations() override;
    const SoundImportOperations& soundImportOperations() override;
    bool openInApplication(const std::string& path, const std::string& mimeType,
                           const std::optional<std::string>& applicationId) override;

private:
    std::unique_ptr<SoundOutput> soundOutput_;
    // The operations a module gives, loaded when first asked for; a RunError
    // beginning with `failure` when it cannot be.
    template <typename Operations>
    const Operations& operationsOfModule(const Operations*& loaded, const char* name, const char* entryName,
                                         const char* failure);

    const ModOperations* modOperations_ = nullptr;
    const SoundImportOperations* soundImportOperations_ = nullptr;
};

// The filters as a Qt dialog takes them: "VSWAP Files (VSWAP.*);;All Files (*)".
// Patterns separated by ';' become one filter with several patterns, and
// "*.*", which means every file on the desktop the program comes from,
// becomes "*", since names without a dot must match too.
QString qtFilterText(const std::vector<FileFilter>& filters);

}  // namespace pagelark
