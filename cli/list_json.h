#pragma once

#include "archive/descriptions.h"
#include "cli/opened_vswap.h"

#include <QByteArray>

#include <array>

namespace pagelark::cli {

inline constexpr std::array<GameVersion, 3> GameVersions
    = {GameVersion::Wolf10Shareware, GameVersion::Wolf13, GameVersion::SpearOfDestiny};

// The chunk list as one JSON document: the file's path and header, the game
// version whose descriptions are given, and one object per listed chunk in
// list order. The field names are documented in docs/file-format.md and in
// the manual; scripts rely on them, so they only ever gain new ones.
QByteArray chunkListJson(const OpenedVswap& vswap, GameVersion version, const DescriptionTable& descriptions);

}  // namespace pagelark::cli
