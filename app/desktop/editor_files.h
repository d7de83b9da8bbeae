#pragma once

#include "archive/chunk_table.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

class QFileSystemWatcher;
class QTimer;

namespace pagelark {

// The files of the chunks out for editing in other programs, in a private
// folder made for the run on first use, and the watch on them. Editors save
// by writing a new file and renaming it over the old one, or by writing in
// place, so both the folder and each file are watched; a save counts once
// the file has stopped changing for SettleMilliseconds. A file that is
// deleted or renamed away stops being watched.
class EditorFiles : public QObject {
    Q_OBJECT

public:
    static constexpr int SettleMilliseconds = 300;

    struct OutFile {
        ItemKind kind = ItemKind::Wall;
        std::int32_t number = 0;
        std::string path;
    };
    // Receives each completed save of a file out for editing.
    using SaveHandler = std::function<void(const OutFile& file)>;

    explicit EditorFiles(SaveHandler onSave, QObject* parent = nullptr);
    ~EditorFiles() override;

    // The file of this chunk ("wall0003.png", "sprite0024.png",
    // "sound0005.wav") in the folder, which is made when it is not there yet.
    std::string pathFor(ItemKind kind, std::int32_t number);
    // Watches a file just written for the chunk; what it holds now is no save.
    void watch(ItemKind kind, std::int32_t number);
    // Looks at the file again after a while, as when a save could not be taken yet.
    void lookAgainLater(const std::string& path);
    // Stops every watch and removes the folder with what is in it.
    void clear() noexcept;

    // Whether the path leads into the folder, whatever its name there.
    bool holds(const std::string& path) const;
    const std::string& folder() const { return folder_; }

private:
    // What tells one save of a file from the next.
    struct Stamp {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t size = 0;
        std::int64_t modifiedNanoseconds = 0;
        bool operator==(const Stamp&) const = default;
    };
    struct Watched {
        OutFile file;
        std::optional<Stamp> taken;
        QTimer* settle = nullptr;
    };
    static std::optional<Stamp> stampOf(const std::string& path);
    void changed(const std::string& path);
    void folderChanged();
    void settled(const std::string& path);
    void forget(const std::string& path);

    SaveHandler onSave_;
    std::string folder_;                     // ends with the separator; empty until made
    QFileSystemWatcher* watcher_ = nullptr;  // made with the folder
    std::map<std::string, Watched> files_;
};

}  // namespace pagelark
