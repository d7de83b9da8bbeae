#include "app/desktop/editor_files.h"

#include "archive/file_identity.h"
#include "archive/program_places.h"
#include "archive/run_error.h"
#include "saved_folder/saved_item_name.h"

#include <QFileSystemWatcher>
#include <QTimer>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

namespace pagelark {

EditorFiles::EditorFiles(SaveHandler onSave, QObject* parent) : QObject(parent), onSave_(std::move(onSave)) {}

EditorFiles::~EditorFiles() { clear(); }

std::string EditorFiles::pathFor(ItemKind kind, std::int32_t number)
{
    if (folder_.empty()) {
        folder_ = folderForThisRun("pagelark-edit-");
        if (folder_.empty())
            throw RunError::message("No private folder could be made for the files to edit");
        // The watch begins with the first file out, not with the window.
        if (watcher_ == nullptr) {
            watcher_ = new QFileSystemWatcher(this);
            connect(watcher_, &QFileSystemWatcher::fileChanged, this,
                    [this](const QString& changedPath) { changed(changedPath.toStdString()); });
            connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { folderChanged(); });
        }
        watcher_->addPath(QString::fromStdString(folder_));
    }
    return savedItemFileName(folder_, kind, number, ".png");
}

void EditorFiles::watch(ItemKind kind, std::int32_t number)
{
    const std::string path = pathFor(kind, number);
    Watched& watched = files_[path];
    watched.file = {kind, number, path};
    watched.taken = stampOf(path);
    if (watched.settle == nullptr) {
        watched.settle = new QTimer(this);
        watched.settle->setSingleShot(true);
        watched.settle->setInterval(SettleMilliseconds);
        connect(watched.settle, &QTimer::timeout, this, [this, path] { settled(path); });
    }
    watched.settle->stop();
    watcher_->addPath(QString::fromStdString(path));
}

void EditorFiles::lookAgainLater(const std::string& path)
{
    if (const auto found = files_.find(path); found != files_.end()) {
        found->second.taken.reset();
        found->second.settle->start();
    }
}

void EditorFiles::clear() noexcept
{
    for (auto& [path, watched] : files_)
        delete watched.settle;
    files_.clear();
    if (folder_.empty())
        return;
    watcher_->removePaths(watcher_->files() + watcher_->directories());
    // The folder is the run's own, made private, so whatever is in it was
    // put there by the program or by the editors it started on its files.
    if (DIR* entries = ::opendir(folder_.c_str())) {
        std::vector<std::string> names;
        while (const dirent* entry = ::readdir(entries)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        ::closedir(entries);
        for (const std::string& name : names)
            ::unlink((folder_ + name).c_str());
    }
    ::rmdir(folder_.c_str());
    folder_.clear();
}

bool EditorFiles::holds(const std::string& path) const
{
    if (folder_.empty())
        return false;
    const std::optional<FileIdentity> parent = identityOf(std::filesystem::path(path).parent_path().string());
    return parent && parent == identityOf(folder_);
}

std::optional<EditorFiles::Stamp> EditorFiles::stampOf(const std::string& path)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return Stamp{status.st_dev, status.st_ino, status.st_size,
                 std::int64_t{status.st_mtim.tv_sec} * 1'000'000'000 + status.st_mtim.tv_nsec};
}

void EditorFiles::changed(const std::string& path)
{
    const auto found = files_.find(path);
    if (found == files_.end())
        return;
    // A file renamed over the old one is another file: its watch went with the old.
    if (!watcher_->files().contains(QString::fromStdString(path)) && stampOf(path))
        watcher_->addPath(QString::fromStdString(path));
    found->second.settle->start();
}

void EditorFiles::folderChanged()
{
    for (auto& [path, watched] : files_) {
        if (stampOf(path) != watched.taken)
            changed(path);
    }
}

void EditorFiles::settled(const std::string& path)
{
    const auto found = files_.find(path);
    if (found == files_.end())
        return;
    const std::optional<Stamp> stamp = stampOf(path);
    if (!stamp) {
        forget(path);
        return;
    }
    if (stamp == found->second.taken)
        return;
    found->second.taken = stamp;
    const OutFile file = found->second.file;
    onSave_(file);
}

void EditorFiles::forget(const std::string& path)
{
    const auto found = files_.find(path);
    if (found == files_.end())
        return;
    found->second.settle->deleteLater();
    files_.erase(found);
    watcher_->removePath(QString::fromStdString(path));
}

}  // namespace pagelark
