#include "app/desktop/qt_platform.h"

#include "app/desktop/deferred_sound_output.h"
#include "app/desktop/desktop_applications.h"
#include "app/desktop/program_modules.h"
#include "archive/run_error.h"
#include "mods/mod_operations.h"
#include "sounds/sound_import_operations.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <iostream>

namespace pagelark {

namespace {

QString qtPattern(const std::string& pattern)
{
    QStringList parts = QString::fromStdString(pattern).split(u';', Qt::SkipEmptyParts);
    for (QString& part : parts) {
        part = part.trimmed();
        if (part == u"*.*")
            part = QStringLiteral("*");
    }
    return parts.join(u' ');
}

// Dialogs belong to the window the user works in, so they stay in front of it.
QWidget* dialogParent() { return QApplication::activeWindow(); }

QMessageBox::StandardButton buttonOf(Answer answer)
{
    switch (answer) {
    case Answer::Save:
        return QMessageBox::Save;
    case Answer::Discard:
        return QMessageBox::Discard;
    case Answer::Cancel:
        return QMessageBox::Cancel;
    case Answer::Yes:
        return QMessageBox::Yes;
    case Answer::No:
        return QMessageBox::No;
    }
    return QMessageBox::NoButton;
}

std::optional<std::string> chosenPath(const QString& path)
{
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}

}  // namespace

QtPlatform::QtPlatform() : soundOutput_(std::make_unique<DeferredSoundOutput>(soundModulePaths(programDir()))) {}

QtPlatform::~QtPlatform() = default;

QString qtFilterText(const std::vector<FileFilter>& filters)
{
    QStringList entries;
    for (const FileFilter& filter : filters)
        entries << QString::fromStdString(filter.name) + QStringLiteral(" (") + qtPattern(filter.pattern)
                + QStringLiteral(")");
    return entries.join(QStringLiteral(";;"));
}

std::optional<std::string> QtPlatform::chooseFileToOpen(const OpenDialogRequest& request)
{
    // The first filter is the one in force when the dialog opens.
    return chosenPath(QFileDialog::getOpenFileName(dialogParent(), QString::fromStdString(request.title),
                                                   QString::fromStdString(request.startDirectory),
                                                   qtFilterText(request.filters)));
}

std::optional<std::string> QtPlatform::chooseFileToSave(const SaveDialogRequest& request)
{
    QString start = QString::fromStdString(request.startDirectory);
    if (!request.presetName.empty()) {
        if (!start.isEmpty() && !start.endsWith(u'/'))
            start += u'/';
        start += QString::fromStdString(request.presetName);
    }
    return chosenPath(QFileDialog::getSaveFileName(dialogParent(), QString(), start, qtFilterText(request.filters)));
}

void QtPlatform::showError(const std::string& text)
{
    // Also where a desktop keeps a program's messages, and where a script
    // that starts the program can see them.
    std::cerr << "pagelark: " << text << std::endl;
    QMessageBox::critical(dialogParent(), QApplication::applicationName(), QString::fromStdString(text));
}

void QtPlatform::showMessage(const std::string& title, const std::string& text)
{
    QMessageBox::critical(dialogParent(), QString::fromStdString(title), QString::fromStdString(text), QMessageBox::Ok);
}

void QtPlatform::showInformation(const std::string& title, const std::string& text)
{
    QMessageBox::information(dialogParent(), QString::fromStdString(title), QString::fromStdString(text),
                             QMessageBox::Ok);
}

Answer QtPlatform::ask(const Question& question)
{
    if (question.answers.empty())
        return Answer::Cancel;
    QMessageBox box(QMessageBox::Question, QString::fromStdString(question.title),
                    QString::fromStdString(question.text), QMessageBox::NoButton, dialogParent());
    for (const Answer answer : question.answers)
        box.addButton(buttonOf(answer));
    box.setDefaultButton(buttonOf(question.answers.front()));
    const bool cancels
        = std::find(question.answers.begin(), question.answers.end(), Answer::Cancel) != question.answers.end();
    const Answer unanswered = cancels ? Answer::Cancel : question.answers.back();
    box.setEscapeButton(buttonOf(unanswered));
    box.exec();
    for (const Answer answer : question.answers) {
        if (box.clickedButton() == box.button(buttonOf(answer)))
            return answer;
    }
    return unanswered;
}

void QtPlatform::note(const std::string& text) { std::cerr << "pagelark: " << text << std::endl; }

std::string QtPlatform::programDir() { return (QCoreApplication::applicationDirPath() + u'/').toStdString(); }

std::uint32_t QtPlatform::tickCount()
{
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    const auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count();
    return static_cast<std::uint32_t>(milliseconds);
}

void QtPlatform::processPendingEvents() { QCoreApplication::processEvents(); }

SoundOutput& QtPlatform::soundOutput() { return *soundOutput_; }

std::vector<DesktopApplication> QtPlatform::applicationsFor(const std::string& mimeType)
{
    return registeredApplications(mimeType);
}

bool QtPlatform::openInApplication(const std::string& path, const std::string& mimeType,
                                   const std::optional<std::string>& applicationId)
{
    return launchApplication(path, mimeType, applicationId);
}

const ModOperations& QtPlatform::modOperations()
{
    return operationsOfModule(modOperations_, ModModuleName, ModModuleEntry, "Mods cannot be saved or applied");
}

const SoundImportOperations& QtPlatform::soundImportOperations()
{
    return operationsOfModule(soundImportOperations_, SoundImportModuleName, SoundImportModuleEntry,
                              "Sounds cannot be imported");
}

template <typename Operations>
const Operations& QtPlatform::operationsOfModule(const Operations*& loaded, const char* name, const char* entryName,
                                                 const char* failure)
{
    if (loaded == nullptr) {
        using Entry = const Operations* (*)();
        if (const auto entry = reinterpret_cast<Entry>(moduleEntry(modulePaths(programDir(), name), entryName)))
            loaded = entry();
    }
    if (loaded == nullptr)
        throw RunError::message(std::string(failure) + ": " + name + " is not installed beside the program");
    return *loaded;
}

}  // namespace pagelark
