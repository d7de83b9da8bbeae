#pragma once

#include "app/desktop/platform.h"
#include "mods/mod_operations.h"
#include "sounds/sound_import_operations.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pagelark::testing {

// A dialog's file filters as (name, pattern) pairs, to be compared whole.
using FilterPairs = std::vector<std::pair<std::string, std::string>>;
inline FilterPairs filterPairs(const std::vector<FileFilter>& filters)
{
    FilterPairs pairs;
    for (const FileFilter& filter : filters)
        pairs.emplace_back(filter.name, filter.pattern);
    return pairs;
}

// Keeps every sound request, and passes it on to a real output when given one.
class RecordingSoundOutput : public SoundOutput {
public:
    void playSound(const SoundRequest& request) override
    {
        requests.push_back(request);
        if (passOnTo)
            passOnTo->playSound(request);
    }

    std::vector<SoundRequest> requests;
    SoundOutput* passOnTo = nullptr;
};

// A desktop for the window tests: dialogs and questions are answered from
// queues the test fills beforehand (one the test did not prepare for fails
// the test), error and message boxes are recorded instead of shown, the
// program's directory is a fresh temporary one holding the side files, the
// clock moves only as told, sound requests are recorded, and letting
// pending events run runs what the test put there instead.
class FakePlatform : public Platform {
public:
    // The program's directory starts with the side files the program ships.
    FakePlatform()
    {
        for (const char* name : {"wolfenstein.pal", "wolf10swpics.txt", "wolfpics.txt", "spearpics.txt"})
            std::filesystem::copy_file(std::filesystem::path(PAGELARK_DATA_DIR) / name, dir.path() / name);
    }

    // Answers for the next dialogs, in order.
    void answerOpen(const std::string& path) { openAnswers_.emplace_back(path); }
    void cancelOpen() { openAnswers_.emplace_back(std::nullopt); }
    void answerSave(const std::string& path) { saveAnswers_.emplace_back(path); }
    void cancelSave() { saveAnswers_.emplace_back(std::nullopt); }
    void answerQuestion(Answer answer) { questionAnswers_.push_back(answer); }

    std::optional<std::string> chooseFileToOpen(const OpenDialogRequest& request) override
    {
        openRequests.push_back(request);
        return nextAnswer(openAnswers_, "open");
    }

    std::optional<std::string> chooseFileToSave(const SaveDialogRequest& request) override
    {
        saveRequests.push_back(request);
        return nextAnswer(saveAnswers_, "save");
    }

    void showError(const std::string& text) override { errors.push_back(text); }
    void showMessage(const std::string& title, const std::string& text) override { messages.emplace_back(title, text); }
    void showInformation(const std::string& title, const std::string& text) override
    {
        messages.emplace_back(title, text);
    }

    Answer ask(const Question& question) override
    {
        questions.push_back(question);
        return nextAnswer(questionAnswers_, "question").value_or(Answer::Cancel);
    }
    void note(const std::string& text) override { notes.push_back(text); }

    std::string programDir() override { return dir.withSeparator(); }

    // Every reading of the clock returns the time and then moves it on by tickStep.
    std::uint32_t tickCount() override
    {
        const std::uint32_t now = ticks;
        ticks += tickStep;
        return now;
    }

    void processPendingEvents() override
    {
        ++pendingEventRuns;
        if (whilePendingEventsRun)
            whilePendingEventsRun();
    }

    SoundOutput& soundOutput() override { return sounds; }

    std::vector<DesktopApplication> applicationsFor(const std::string& mimeType) override
    {
        const auto found = applications.find(mimeType);
        return found == applications.end() ? std::vector<DesktopApplication>{} : found->second;
    }

    // An editor started: the file it was given and the application asked for;
    // the test's stand-in editor, when there is one, gets them too.
    bool openInApplication(const std::string& path, const std::string& mimeType,
                           const std::optional<std::string>& applicationId) override
    {
        if (applicationsFor(mimeType).empty())
            return false;
        launches.push_back({path, mimeType, applicationId});
        if (editor)
            editor(path);
        return true;
    }

    const ModOperations& modOperations() override { return linkedModOperations(); }
    const SoundImportOperations& soundImportOperations() override { return linkedSoundImportOperations(); }

    struct Launch {
        std::string path;
        std::string mimeType;
        std::optional<std::string> applicationId;
    };
    std::map<std::string, std::vector<DesktopApplication>> applications;
    std::vector<Launch> launches;
    std::function<void(const std::string& path)> editor;

    // Whether every prepared answer was used.
    bool allAnswersUsed() const { return openAnswers_.empty() && saveAnswers_.empty() && questionAnswers_.empty(); }

    TempDir dir;
    std::vector<OpenDialogRequest> openRequests;
    std::vector<SaveDialogRequest> saveRequests;
    std::vector<std::string> errors;
    std::vector<std::pair<std::string, std::string>> messages;
    std::vector<Question> questions;
    std::vector<std::string> notes;
    std::uint32_t ticks = 0;
    std::uint32_t tickStep = 0;
    int pendingEventRuns = 0;
    std::function<void()> whilePendingEventsRun;
    RecordingSoundOutput sounds;

private:
    template <typename Answered>
    static std::optional<Answered> nextAnswer(std::deque<std::optional<Answered>>& answers, const char* kind)
    {
        if (answers.empty()) {
            ADD_FAILURE() << "a " << kind << " dialog was asked for that the test did not prepare";
            return std::nullopt;
        }
        std::optional<Answered> answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<std::optional<std::string>> openAnswers_;
    std::deque<std::optional<std::string>> saveAnswers_;
    std::deque<std::optional<Answer>> questionAnswers_;
};

}  // namespace pagelark::testing
