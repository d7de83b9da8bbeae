#pragma once

#include "archive/descriptions.h"
#include "cli/opened_vswap.h"

#include <QByteArray>

#include <optional>
#include <string>

namespace pagelark::cli {

// The names the command line gives the game versions: wolf10, wolf13, spear.
const char* gameVersionName(GameVersion version);
std::optional<GameVersion> gameVersionNamed(const std::string& name);

// The chunk list as one JSON document: the file's path and header, the game
// version whose descriptions are given, and one object per listed chunk in
// list order. The field names are documented in docs/file-format.md and in
// the manual; scripts rely on them, so they only ever gain new ones.
QByteArray chunkListJson(const OpenedVswap& vswap, GameVersion version, const DescriptionTable& descriptions);

}  // namespace pagelark::cli
