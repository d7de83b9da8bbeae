#include "mods/sha256_qt.h"

#include "archive/byte_file.h"

#include <QCryptographicHash>

#include <algorithm>
#include <vector>

namespace pagelark {

Sha256::Sha256() : hash_(std::make_unique<QCryptographicHash>(QCryptographicHash::Sha256)) {}

Sha256::~Sha256() = default;

void Sha256::add(const std::uint8_t* data, std::size_t count)
{
    // Qt takes a view of at most a qsizetype's bytes; pieces here are small.
    hash_->addData(QByteArrayView(data, static_cast<qsizetype>(count)));
}

std::string Sha256::hex() const { return hash_->result().toHex().toStdString(); }

std::string sha256OfFile(ByteFile& file)
{
    constexpr std::int64_t Piece = 64 * 1024;
    Sha256 hash;
    std::vector<std::uint8_t> bytes;
    const std::int64_t size = file.size();
    file.seek(0);
    for (std::int64_t at = 0; at < size; at += Piece) {
        bytes.resize(static_cast<std::size_t>(std::min(Piece, size - at)));
        file.readBytes(bytes.data(), bytes.size());
        hash.add(bytes.data(), bytes.size());
    }
    return hash.hex();
}

}  // namespace pagelark
