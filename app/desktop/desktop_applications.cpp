// GLib's headers use names Qt takes for its keywords ("signals"): this file
// holds no Qt.
#include "app/desktop/desktop_applications.h"

#include <gio/gio.h>

#include <dlfcn.h>

#include <memory>
#include <optional>

namespace pagelark {

namespace {

// GIO and GObject are loaded when the desktop is first asked, not with the
// window: the window that never sends a chunk to an editor does without
// their memory. GLib itself comes with Qt.
struct Gio {
    decltype(&g_object_unref) objectUnref;
    decltype(&g_content_type_from_mime_type) contentTypeFromMimeType;
    decltype(&g_app_info_get_id) appInfoGetId;
    decltype(&g_app_info_get_display_name) appInfoGetDisplayName;
    decltype(&g_app_info_get_default_for_type) appInfoGetDefaultForType;
    decltype(&g_app_info_get_all_for_type) appInfoGetAllForType;
    decltype(&g_app_info_equal) appInfoEqual;
    decltype(&g_app_info_launch) appInfoLaunch;
    decltype(&g_file_new_for_path) fileNewForPath;
};

template <typename Function>
bool resolve(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(::dlsym(library, name));
    return function != nullptr;
}

// GIO's functions; none when it cannot be loaded, as on a system without it.
const Gio* gio()
{
    static const std::optional<Gio> loaded = []() -> std::optional<Gio> {
        void* library = ::dlopen("libgio-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr)
            return std::nullopt;
        Gio g{};
        if (resolve(library, "g_object_unref", g.objectUnref)
            && resolve(library, "g_content_type_from_mime_type", g.contentTypeFromMimeType)
            && resolve(library, "g_app_info_get_id", g.appInfoGetId)
            && resolve(library, "g_app_info_get_display_name", g.appInfoGetDisplayName)
            && resolve(library, "g_app_info_get_default_for_type", g.appInfoGetDefaultForType)
            && resolve(library, "g_app_info_get_all_for_type", g.appInfoGetAllForType)
            && resolve(library, "g_app_info_equal", g.appInfoEqual)
            && resolve(library, "g_app_info_launch", g.appInfoLaunch)
            && resolve(library, "g_file_new_for_path", g.fileNewForPath))
            return g;
        // The library stays loaded for the rest of the run, as GLib's type system needs.
        return std::nullopt;
    }();
    return loaded ? &*loaded : nullptr;
}

struct ObjectUnref {
    void operator()(gpointer object) const { gio()->objectUnref(object); }
};
using AppInfo = std::unique_ptr<GAppInfo, ObjectUnref>;

std::string contentTypeOf(const std::string& mimeType)
{
    gchar* type = gio()->contentTypeFromMimeType(mimeType.c_str());
    const std::string text = type != nullptr ? type : mimeType;
    g_free(type);
    return text;
}

DesktopApplication applicationOf(GAppInfo* info)
{
    const char* id = gio()->appInfoGetId(info);
    const char* name = gio()->appInfoGetDisplayName(info);
    return {id != nullptr ? id : "", name != nullptr ? name : (id != nullptr ? id : "")};
}

// Every application for the type, each owned; the default first.
std::vector<AppInfo> applicationsOf(const std::string& mimeType)
{
    if (gio() == nullptr)
        return {};
    const std::string type = contentTypeOf(mimeType);
    std::vector<AppInfo> found;
    if (GAppInfo* preferred = gio()->appInfoGetDefaultForType(type.c_str(), FALSE))
        found.emplace_back(preferred);
    GList* all = gio()->appInfoGetAllForType(type.c_str());
    for (GList* item = all; item != nullptr; item = item->next) {
        auto* info = static_cast<GAppInfo*>(item->data);
        if (!found.empty() && gio()->appInfoEqual(info, found.front().get())) {
            gio()->objectUnref(info);
            continue;
        }
        found.emplace_back(info);
    }
    g_list_free(all);
    return found;
}

}  // namespace

std::vector<DesktopApplication> registeredApplications(const std::string& mimeType)
{
    std::vector<DesktopApplication> applications;
    for (const AppInfo& info : applicationsOf(mimeType))
        applications.push_back(applicationOf(info.get()));
    return applications;
}

bool launchApplication(const std::string& path, const std::string& mimeType,
                       const std::optional<std::string>& applicationId)
{
    std::vector<AppInfo> candidates = applicationsOf(mimeType);
    GAppInfo* chosen = nullptr;
    for (const AppInfo& info : candidates)
        if (!applicationId || applicationOf(info.get()).id == *applicationId) {
            chosen = info.get();
            break;
        }
    if (chosen == nullptr)
        return false;
    GFile* file = gio()->fileNewForPath(path.c_str());
    GList files{file, nullptr, nullptr};
    GError* error = nullptr;
    const gboolean launched = gio()->appInfoLaunch(chosen, &files, nullptr, &error);
    if (error != nullptr)
        g_error_free(error);
    gio()->objectUnref(file);
    return launched == TRUE;
}

}  // namespace pagelark
