#include "saved_folder/saved_item_name.h"

#include <algorithm>
#include <cctype>
#include <charconv>

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

ChunkFileName chunkFileName(std::string_view name)
{
    // Chunk numbers go up to 65535: five digits at most.
    constexpr std::size_t MostDigits = 5;
    for (const ItemKind kind : ItemKinds) {
        const std::string_view word = kindName(kind);
        if (!name.starts_with(word) || name.size() == word.size()
            || !std::isdigit(static_cast<unsigned char>(name[word.size()])))
            continue;
        const std::string_view rest = name.substr(word.size());
        const std::size_t dot = rest.find('.');
        const std::string_view digits = rest.substr(0, dot);
        ChunkFileName found{ChunkFileName::Kind::Unusable, kind, 0};
        if (dot == std::string_view::npos || dot + 1 == rest.size() || digits.size() < 4 || digits.size() > MostDigits
            || (digits.size() > 4 && digits[0] == '0') || !std::all_of(digits.begin(), digits.end(), [](char c) {
                   return std::isdigit(static_cast<unsigned char>(c));
               }))
            return found;
        std::from_chars(digits.data(), digits.data() + digits.size(), found.number);
        if (found.number > 0xFFFF)
            return found;
        found.what = ChunkFileName::Kind::Chunk;
        return found;
    }
    return {};
}

}  // namespace pagelark
