#pragma once

#include "app/desktop/platform.h"

#include <optional>
#include <string>
#include <vector>

namespace pagelark {

// The applications the desktop registers for a type of file, through GLib's
// registry of them (the freedesktop one every desktop keeps: .desktop files
// and mimeapps.list), its default first.
std::vector<DesktopApplication> registeredApplications(const std::string& mimeType);

// Starts the application with this id on the file, or the desktop's default
// for the type; false when there is none or it cannot be started.
bool launchApplication(const std::string& path, const std::string& mimeType,
                       const std::optional<std::string>& applicationId);

}  // namespace pagelark
