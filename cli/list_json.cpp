#include "cli/list_json.h"

#include "sounds/sound_duration.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLatin1String>
#include <QString>

#include <algorithm>
#include <cmath>

namespace pagelark::cli {

namespace {

// The text the plain list shows for this chunk: a sound's sits in the slot
// of its sound number. The description files are Latin-1.
QString descriptionOf(const OpenedVswap& vswap, std::int32_t index, const DescriptionTable& descriptions)
{
    const std::int64_t slot = index >= vswap.header.soundStart
        ? std::int64_t{vswap.header.soundStart} + vswap.table.itemNumber[index]
        : std::int64_t{index};
    if (slot < 0 || slot >= ChunkSlots)
        return {};
    const std::string& text = descriptions[static_cast<std::size_t>(slot)];
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(std::min(text.size(), LongestListedDescription)));
}

QJsonObject chunkObject(const OpenedVswap& vswap, std::int32_t index, const DescriptionTable& descriptions)
{
    const ItemKind kind = kindOfChunk(vswap.header, index);
    const std::int32_t size = vswap.table.length[index];
    QJsonObject chunk{
        {QLatin1String("index"), index},
        {QLatin1String("kind"), QLatin1String(kindName(kind))},
        {QLatin1String("number"), vswap.table.itemNumber[index]},
        {QLatin1String("offset"), vswap.table.offset[index]},
        {QLatin1String("size"), size},
        {QLatin1String("description"), descriptionOf(vswap, index, descriptions)},
    };
    if (kind == ItemKind::Sound) {
        // One byte is one sample; the length in seconds to the millisecond.
        chunk.insert(QLatin1String("samples"), size);
        chunk.insert(QLatin1String("seconds"), std::round(size * 1000.0 / SoundSampleRate) / 1000.0);
    }
    return chunk;
}

}  // namespace

QByteArray chunkListJson(const OpenedVswap& vswap, GameVersion version, const DescriptionTable& descriptions)
{
    QJsonArray chunks;
    for (std::int32_t index : listedChunks(vswap))
        chunks.append(chunkObject(vswap, index, descriptions));
    const QJsonObject list{
        // File names are bytes; Qt decodes them as the locale says, as it does a file dialog's.
        {QLatin1String("path"), QFile::decodeName(vswap.path.c_str())},
        {QLatin1String("chunkCount"), vswap.header.chunkCount},
        {QLatin1String("spriteStart"), vswap.header.spriteStart},
        {QLatin1String("soundStart"), vswap.header.soundStart},
        {QLatin1String("game"), QLatin1String(gameVersionName(version))},
        {QLatin1String("chunks"), chunks},
    };
    return QJsonDocument(list).toJson(QJsonDocument::Indented);
}

}  // namespace pagelark::cli
