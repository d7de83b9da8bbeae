#pragma once

#include "archive/output_file.h"

#include <map>
#include <string>
#include <vector>

namespace pagelark::testing {

// While it lives, the steps of every OutputFile commit its test seams show,
// by the target's path and in order: "flushed" when the bytes reached the
// disk, "renamed" just before the rename. One at a time.
class CommitSteps {
public:
    CommitSteps()
    {
        recording = &steps_;
        output_file_testing::afterFlush = [](const std::string& path) { (*recording)[path].push_back("flushed"); };
        output_file_testing::beforeRename = [](const std::string& path) { (*recording)[path].push_back("renamed"); };
    }
    ~CommitSteps()
    {
        output_file_testing::afterFlush = nullptr;
        output_file_testing::beforeRename = nullptr;
    }
    CommitSteps(const CommitSteps&) = delete;
    CommitSteps& operator=(const CommitSteps&) = delete;

    std::vector<std::string> of(const std::string& path) const
    {
        const auto found = steps_.find(path);
        return found == steps_.end() ? std::vector<std::string>{} : found->second;
    }

private:
    // The seams are plain function pointers: they find the recorder here.
    static inline std::map<std::string, std::vector<std::string>>* recording = nullptr;
    std::map<std::string, std::vector<std::string>> steps_;
};

}  // namespace pagelark::testing
