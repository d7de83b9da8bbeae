#include "mods/mod_manifest_qt.h"

#include "archive/page_file.h"
#include "archive/page_file_limits.h"
#include "archive/run_error.h"
#include "mods/mod_limits.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <algorithm>
#include <cmath>

namespace pagelark {

namespace {

// Whole numbers up to 2^53 are exact in JSON's doubles.
constexpr std::int64_t LargestExact = std::int64_t{1} << 53;

QString key(const char* name) { return QString::fromLatin1(name); }

QJsonObject factsJson(const FileFacts& facts)
{
    QJsonObject object;
    object[key("size")] = static_cast<double>(facts.size);
    object[key("sha256")] = QString::fromStdString(facts.sha256);
    return object;
}

QJsonObject entryJson(const ModEntry& entry)
{
    QJsonObject object;
    object[key("kind")] = key(kindName(entry.kind));
    object[key("number")] = entry.number;
    object[key("index")] = entry.index;
    object[key("change")] = key(entry.added ? "added" : "changed");
    object[key("length")] = static_cast<double>(entry.length);
    if (entry.absent)
        object[key("absent")] = true;
    if (!entry.bytesFile.empty())
        object[key(entry.kind == ItemKind::Sound ? "sound" : "bytes")] = QString::fromStdString(entry.bytesFile);
    if (!entry.pictureFile.empty())
        object[key("picture")] = QString::fromStdString(entry.pictureFile);
    return object;
}

// One object's fields, read with their types and ranges checked; `where`
// names the object in messages.
class Fields {
public:
    Fields(const QJsonValue& value, std::string where) : where_(std::move(where))
    {
        if (!value.isObject())
            throw RunError::message(where_ + " is not an object");
        object_ = value.toObject();
    }

    bool has(const char* name) const { return object_.contains(key(name)); }

    std::int64_t number(const char* name, std::int64_t lowest, std::int64_t highest) const
    {
        const QJsonValue value = field(name);
        const double number = value.toDouble();
        if (!value.isDouble() || std::floor(number) != number || number < static_cast<double>(lowest)
            || number > static_cast<double>(highest))
            throw RunError::message(at(name) + " is not a whole number from " + std::to_string(lowest) + " to "
                                    + std::to_string(highest));
        return static_cast<std::int64_t>(number);
    }

    std::string text(const char* name) const
    {
        const QJsonValue value = field(name);
        if (!value.isString())
            throw RunError::message(at(name) + " is not a string");
        return value.toString().toStdString();
    }

    bool flag(const char* name) const
    {
        const QJsonValue value = field(name);
        if (!value.isBool())
            throw RunError::message(at(name) + " is not true or false");
        return value.toBool();
    }

    QJsonArray array(const char* name, std::size_t most) const
    {
        const QJsonValue value = field(name);
        if (!value.isArray())
            throw RunError::message(at(name) + " is not an array");
        const QJsonArray array = value.toArray();
        if (static_cast<std::size_t>(array.size()) > most)
            throw RunError::message(at(name) + " has " + std::to_string(array.size()) + " elements, at most "
                                    + std::to_string(most));
        return array;
    }

    QJsonValue field(const char* name) const
    {
        if (!has(name))
            throw RunError::message(where_ + " has no \"" + name + "\"");
        return object_.value(key(name));
    }

    std::string at(const char* name) const { return where_ + " \"" + name + "\""; }

private:
    QJsonObject object_;
    std::string where_;
};

bool isSha256(const std::string& text)
{
    return text.size() == 64 && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

FileFacts factsOf(const Fields& fields)
{
    FileFacts facts{fields.number("size", 0, LargestExact), fields.text("sha256")};
    if (!isSha256(facts.sha256))
        throw RunError::message(fields.at("sha256") + " is not 64 lower-case hexadecimal digits");
    return facts;
}

ItemKind kindOf(const Fields& fields)
{
    const std::string kind = fields.text("kind");
    for (const ItemKind known : ItemKinds)
        if (kind == kindName(known))
            return known;
    throw RunError::message(fields.at("kind") + " is not wall, sprite or sound");
}

ModEntry entryOf(const Fields& fields)
{
    constexpr std::int64_t HighestSlot = ChunkSlots - 1;
    ModEntry entry;
    entry.kind = kindOf(fields);
    entry.number = static_cast<std::int32_t>(fields.number("number", 0, HighestSlot));
    entry.index = static_cast<std::int32_t>(fields.number("index", 0, HighestSlot));
    const std::string change = fields.text("change");
    if (change != "changed" && change != "added")
        throw RunError::message(fields.at("change") + " is not changed or added");
    entry.added = change == "added";
    entry.length = static_cast<std::uint32_t>(fields.number("length", 0, LongestChunk));
    entry.absent = fields.has("absent") && fields.flag("absent");
    const char* bytesKey = entry.kind == ItemKind::Sound ? "sound" : "bytes";
    if (entry.absent && (fields.has(bytesKey) || fields.has("picture")))
        throw RunError::message(fields.at("absent") + " is true, and yet the chunk has files");
    if (!entry.absent)
        entry.bytesFile = fields.text(bytesKey);
    if (fields.has("picture"))
        entry.pictureFile = fields.text("picture");
    return entry;
}

SoundTable soundTableOf(const Fields& fields)
{
    SoundTable table;
    const QJsonArray entries = fields.array("entries", page_file_limits::MostSoundEntries);
    for (qsizetype k = 0; k < entries.size(); ++k) {
        const QJsonArray pair = entries[k].toArray();
        const auto word = [&](qsizetype at) {
            const double value = pair[at].toDouble(-1);
            if (!pair[at].isDouble() || std::floor(value) != value || value < 0 || value > 0xFFFF)
                throw RunError::message(fields.at("entries") + "[" + std::to_string(k)
                                        + "] is not a pair of whole numbers from 0 to 65535");
            return static_cast<std::uint16_t>(value);
        };
        if (!entries[k].isArray() || pair.size() != 2)
            throw RunError::message(fields.at("entries") + "[" + std::to_string(k) + "] is not a pair of numbers");
        table.entries.push_back({word(0), word(1)});
    }
    table.terminated = fields.flag("terminated");
    return table;
}

}  // namespace

std::vector<std::uint8_t> manifestJson(const ModManifest& manifest)
{
    QJsonObject root;
    root[key("format")] = key(ModFormatName);
    root[key("formatVersion")] = manifest.formatVersion;
    root[key("programVersion")] = QString::fromStdString(manifest.programVersion);
    QJsonObject original = factsJson(manifest.original);
    if (!manifest.originalGame.empty())
        original[key("game")] = QString::fromStdString(manifest.originalGame);
    root[key("original")] = original;
    QJsonObject result = factsJson(manifest.result);
    result[key("chunkCount")] = manifest.chunkCount;
    result[key("spriteStart")] = manifest.spriteStart;
    result[key("soundStart")] = manifest.soundStart;
    root[key("result")] = result;
    QJsonArray chunks;
    for (const ModEntry& entry : manifest.chunks)
        chunks.append(entryJson(entry));
    root[key("chunks")] = chunks;
    if (manifest.soundTable) {
        QJsonArray entries;
        for (const SoundEntry& entry : manifest.soundTable->entries)
            entries.append(QJsonArray{entry.firstPage, entry.length});
        root[key("soundTable")]
            = QJsonObject{{key("entries"), entries}, {key("terminated"), manifest.soundTable->terminated}};
    }
    if (manifest.trailingLength)
        root[key("trailingLength")] = static_cast<double>(*manifest.trailingLength);
    if (!manifest.bytes.empty()) {
        QJsonArray runs;
        for (const ModBytesEntry& run : manifest.bytes)
            runs.append(QJsonObject{{key("offset"), static_cast<double>(run.offset)},
                                    {key("length"), static_cast<double>(run.length)},
                                    {key("file"), QString::fromStdString(run.file)}});
        root[key("bytes")] = runs;
    }
    const QByteArray json = QJsonDocument(root).toJson(QJsonDocument::Indented);
    return {json.begin(), json.end()};
}

ModManifest parseManifest(std::span<const std::uint8_t> json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray(reinterpret_cast<const char*>(json.data()), static_cast<qsizetype>(json.size())), &error);
    if (document.isNull())
        throw RunError::message(std::string(ModManifestName) + " is not JSON: " + error.errorString().toStdString()
                                + " at character " + std::to_string(error.offset));
    if (!document.isObject())
        throw RunError::message(std::string(ModManifestName) + " is not a JSON object");
    const Fields root(document.object(), ModManifestName);
    if (root.text("format") != ModFormatName)
        throw RunError::message(root.at("format") + " is not " + ModFormatName + ": this is not a mod");
    ModManifest manifest;
    manifest.formatVersion = static_cast<int>(root.number("formatVersion", 1, 1 << 30));
    if (manifest.formatVersion > ModFormatVersion)
        throw RunError::message("it is a mod of format " + std::to_string(manifest.formatVersion)
                                + ", made by a later version; this one reads format "
                                + std::to_string(ModFormatVersion));
    manifest.programVersion = root.text("programVersion");

    const Fields original(root.field("original"), root.at("original"));
    manifest.original = factsOf(original);
    if (original.has("game"))
        manifest.originalGame = original.text("game");
    const Fields result(root.field("result"), root.at("result"));
    manifest.result = factsOf(result);
    manifest.chunkCount = static_cast<std::int32_t>(result.number("chunkCount", 1, ChunkSlots));
    manifest.spriteStart = static_cast<std::int32_t>(result.number("spriteStart", 0, 0xFFFF));
    manifest.soundStart = static_cast<std::int32_t>(result.number("soundStart", 0, ChunkSlots - 1));

    const QJsonArray chunks = root.array("chunks", mod_limits::MostEntries);
    for (qsizetype n = 0; n < chunks.size(); ++n)
        manifest.chunks.push_back(entryOf(Fields(chunks[n], root.at("chunks") + "[" + std::to_string(n) + "]")));
    if (root.has("soundTable"))
        manifest.soundTable = soundTableOf(Fields(root.field("soundTable"), root.at("soundTable")));
    if (root.has("trailingLength"))
        manifest.trailingLength = root.number("trailingLength", 0, mod_limits::MostTrailingBytes);
    if (root.has("bytes")) {
        const QJsonArray runs = root.array("bytes", mod_limits::MostRuns);
        for (qsizetype n = 0; n < runs.size(); ++n) {
            const Fields run(runs[n], root.at("bytes") + "[" + std::to_string(n) + "]");
            manifest.bytes.push_back({run.number("offset", 0, LargestExact),
                                      static_cast<std::uint32_t>(run.number("length", 1, mod_limits::MostRunBytes)),
                                      run.text("file")});
        }
    }
    return manifest;
}

}  // namespace pagelark
