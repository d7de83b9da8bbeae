#pragma once

#include "archive/file_descriptor.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace pagelark::testing {

// The lock a running instance holds on its working copy, held by the test
// instead, for as long as the object lives.
class FileLock {
public:
    explicit FileLock(const std::string& path) : fd_(openDescriptor(path, O_RDONLY))
    {
        EXPECT_TRUE(fd_.valid()) << path;
        EXPECT_EQ(::flock(fd_.get(), LOCK_EX | LOCK_NB), 0) << path;
    }

private:
    FileDescriptor fd_;
};

}  // namespace pagelark::testing
