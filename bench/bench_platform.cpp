#include "bench/bench_platform.h"

#include "archive/run_error.h"

#include <QCoreApplication>

#include <chrono>
#include <filesystem>

namespace pagelark::bench {

BenchPlatform::BenchPlatform()
{
    for (const char* name : {"wolfenstein.pal", "wolf10swpics.txt", "wolfpics.txt", "spearpics.txt"})
        std::filesystem::copy_file(std::filesystem::path(PAGELARK_DATA_DIR) / name, dir_.path() / name);
}

void BenchPlatform::replaceSideFile(const std::string& name, const std::string& from)
{
    std::filesystem::copy_file(from, dir_.path() / name, std::filesystem::copy_options::overwrite_existing);
}

std::optional<std::string> BenchPlatform::chooseFileToOpen(const OpenDialogRequest& /*request*/) { return openAnswer_; }

std::optional<std::string> BenchPlatform::chooseFileToSave(const SaveDialogRequest& /*request*/)
{
    return std::nullopt;
}

void BenchPlatform::showError(const std::string& text)
{
    if (firstError_.empty())
        firstError_ = text;
}

void BenchPlatform::showMessage(const std::string& /*title*/, const std::string& text) { showError(text); }

std::uint32_t BenchPlatform::tickCount()
{
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

void BenchPlatform::processPendingEvents() { QCoreApplication::processEvents(); }

const ModOperations& BenchPlatform::modOperations() { throw RunError::message("The benchmarks' window has no mods"); }

const SoundImportOperations& BenchPlatform::soundImportOperations()
{
    throw RunError::message("The benchmarks' window imports no sounds");
}

}  // namespace pagelark::bench
