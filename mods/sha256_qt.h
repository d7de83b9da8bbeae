#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class QCryptographicHash;

namespace pagelark {

class ByteFile;

// A SHA-256 of bytes given piece by piece, over Qt Core's hash.
class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void add(const std::uint8_t* data, std::size_t count);
    // The hash of everything added, as 64 lower-case hexadecimal digits.
    std::string hex() const;

private:
    std::unique_ptr<QCryptographicHash> hash_;
};

// The hash of a whole open file, read from its start.
std::string sha256OfFile(ByteFile& file);

}  // namespace pagelark
