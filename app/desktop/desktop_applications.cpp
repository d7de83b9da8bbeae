// GLib's headers use names Qt takes for its keywords ("signals"): this file
// holds no Qt.
#include "app/desktop/desktop_applications.h"

#include <gio/gio.h>

#include <memory>

namespace pagelark {

namespace {

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
using AppInfo = std::unique_ptr<GAppInfo, ObjectUnref>;

std::string contentTypeOf(const std::string& mimeType)
{
    gchar* type = g_content_type_from_mime_type(mimeType.c_str());
    const std::string text = type != nullptr ? type : mimeType;
    g_free(type);
    return text;
}

DesktopApplication applicationOf(GAppInfo* info)
{
    const char* id = g_app_info_get_id(info);
    const char* name = g_app_info_get_display_name(info);
    return {id != nullptr ? id : "", name != nullptr ? name : (id != nullptr ? id : "")};
}

// Every application for the type, each owned; the default first.
std::vector<AppInfo> applicationsOf(const std::string& mimeType)
{
    const std::string type = contentTypeOf(mimeType);
    std::vector<AppInfo> found;
    if (GAppInfo* preferred = g_app_info_get_default_for_type(type.c_str(), FALSE))
        found.emplace_back(preferred);
    GList* all = g_app_info_get_all_for_type(type.c_str());
    for (GList* item = all; item != nullptr; item = item->next) {
        auto* info = static_cast<GAppInfo*>(item->data);
        if (!found.empty() && g_app_info_equal(info, found.front().get())) {
            g_object_unref(info);
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
    GFile* file = g_file_new_for_path(path.c_str());
    GList files{file, nullptr, nullptr};
    GError* error = nullptr;
    const gboolean launched = g_app_info_launch(chosen, &files, nullptr, &error);
    if (error != nullptr)
        g_error_free(error);
    g_object_unref(file);
    return launched == TRUE;
}

}  // namespace pagelark
