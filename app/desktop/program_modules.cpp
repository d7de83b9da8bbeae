#include "app/desktop/program_modules.h"

#include <QLibrary>
#include <QString>

namespace pagelark {

std::vector<std::string> modulePaths(const std::string& programDir, const std::string& name)
{
    return {programDir + name, programDir + "../lib/pagelark/" + name};
}

void* moduleEntry(const std::vector<std::string>& paths, const char* entryName)
{
    for (const std::string& path : paths) {
        QLibrary module(QString::fromStdString(path));
        if (!module.load())
            continue;
        if (const QFunctionPointer entry = module.resolve(entryName))
            return reinterpret_cast<void*>(entry);
        module.unload();
    }
    return nullptr;
}

}  // namespace pagelark
