#include "export/saved_item_name.h"

namespace pagelark {

std::string itemDigits(std::int32_t itemNumber)
{
    // Cut to four digits, two numbers would share one name.
    if (itemNumber > 9999)
        return std::to_string(itemNumber);
    const std::string text = std::to_string(static_cast<std::int64_t>(itemNumber) + 10000);
    return text.size() > 1 ? text.substr(1, 4) : std::string();
}

std::string savedItemFileName(const std::string& base, ItemKind kind, std::int32_t itemNumber,
                              const std::string& pictureExtension)
{
    return base + kindName(kind) + itemDigits(itemNumber) + (kind == ItemKind::Sound ? ".wav" : pictureExtension);
}

std::string saveBase(const std::string& chosenPath)
{
    const std::size_t separator = chosenPath.find_last_of('/');
    const std::size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    if (chosenPath.compare(nameStart, std::string::npos, "-") == 0)
        return chosenPath.substr(0, nameStart);
    return chosenPath;
}

}  // namespace pagelark
