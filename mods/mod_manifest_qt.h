#pragma once

#include "mods/mod_manifest.h"

#include <cstdint>
#include <span>
#include <vector>

namespace pagelark {

// The manifest as mod.json holds it: UTF-8 JSON, one object.
std::vector<std::uint8_t> manifestJson(const ModManifest& manifest);

// The manifest of these bytes. Anything but the expected JSON is refused
// with a RunError that says what is wrong: not an object, another format or
// a later version, a field missing or of another type, a number out of its
// range or not whole, a hash that is not one, more entries than a page file
// has chunks. Fields it does not know are passed over.
ModManifest parseManifest(std::span<const std::uint8_t> json);

}  // namespace pagelark
