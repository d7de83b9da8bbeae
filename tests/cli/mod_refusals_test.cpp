// patch refuses another original, and a damaged or hostile mod, by name,
// and writes nothing then. The hostile mods are made here with libzip from
// a mod diff made.
#include "archive/byte_file.h"
#include "archive/page_file.h"
#include "archive/run_error.h"
#include "mods/mod_zip.h"
#include "tests/cli/mod_commands.h"
#include "tests/support/odd_page_files.h"
#include "tests/support/sample_vswap.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <zip.h>

#include <gtest/gtest.h>

#include <functional>

namespace pagelark::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Members = std::vector<ZipMember>;

void writeZip(const std::string& path, const Members& members)
{
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    for (const ZipMember& member : members) {
        zip_source_t* bytes = zip_source_buffer(archive, member.bytes.data(), member.bytes.size(), 0);
        ASSERT_GE(zip_file_add(archive, member.name.c_str(), bytes, ZIP_FL_ENC_RAW), 0) << member.name;
    }
    ASSERT_EQ(zip_close(archive), 0);
}

ZipMember& member(Members& members, const std::string& name)
{
    for (ZipMember& found : members)
        if (found.name == name)
            return found;
    throw RunError::message("no member " + name);
}

void editManifest(Members& members, const std::function<void(QJsonObject&)>& edit)
{
    ZipMember& manifest = member(members, "mod.json");
    QJsonObject root = QJsonDocument::fromJson(QByteArray(reinterpret_cast<const char*>(manifest.bytes.data()),
                                                          static_cast<qsizetype>(manifest.bytes.size())))
                           .object();
    edit(root);
    const QByteArray json = QJsonDocument(root).toJson(QJsonDocument::Compact);
    manifest.bytes.assign(json.begin(), json.end());
}

// Sets a field of the first chunk's entry.
std::function<void(QJsonObject&)> firstChunk(const char* field, const QJsonValue& value)
{
    return [=](QJsonObject& root) {
        QJsonArray chunks = root["chunks"].toArray();
        QJsonObject first = chunks[0].toObject();
        first[field] = value;
        chunks[0] = first;
        root["chunks"] = chunks;
    };
}

void renameMember(Members& members, const std::string& from, const std::string& to)
{
    member(members, from).name = to;
    editManifest(members, firstChunk("bytes", QString::fromStdString(to)));
}

class ModRefusals : public ::testing::Test {
protected:
    // A mod of the full-size file, a wall and a sound changed.
    void SetUp() override
    {
        writeFileBytes(dir_.file("ORIGINAL"), testing::fullSizeVswap());
        ByteFile file;
        file.openRead(dir_.file("ORIGINAL"));
        PageFile model = readPageFile(file);
        replaceChunk(model, 3, Bytes(4096, 0x21));
        replaceSound(model, 2, Bytes(10000, 0x90));
        writeFileBytes(dir_.file("CHANGED"), pageFileBytes(model, &file));
        testing::diffFiles(dir_.file("ORIGINAL"), dir_.file("CHANGED"), dir_.file("mod.zip"));
        valid_ = zipMembers(dir_.file("mod.zip"));
    }

    // The refusal's text; the output, there before, is left as it was.
    std::string refusal(const std::string& original, const std::string& mod)
    {
        writeFileBytes(dir_.file("OUT"), {'o', 'l', 'd'});
        std::string text;
        try {
            testing::patchFile(original, mod, dir_.file("OUT"));
            ADD_FAILURE() << "no refusal";
        } catch (const RunError& error) {
            text = error.text();
        }
        EXPECT_EQ(readFileBytes(dir_.file("OUT")), (Bytes{'o', 'l', 'd'}));
        return text;
    }

    TempDir dir_;
    Members valid_;
};

TEST_F(ModRefusals, AnotherOriginalIsRefusedWithBothHashesAndTheGame)
{
    writeFileBytes(dir_.file("OTHER"), testing::sharewareShapedVswap());
    const std::string text = refusal(dir_.file("OTHER"), dir_.file("mod.zip"));
    EXPECT_EQ(text.rfind(dir_.file("OTHER") + ": not the file " + dir_.file("mod.zip") + " was made for", 0), 0u)
        << text;
    EXPECT_NE(text.find("Wolfenstein 3D 1.3 (registered)"), std::string::npos) << text;
    EXPECT_NE(text.find("SHA-256 "), text.rfind("SHA-256 ")) << "both files' hashes: " << text;
}

TEST_F(ModRefusals, NeitherTheOriginalNorTheModIsWrittenInto)
{
    for (const std::string& target : {dir_.file("ORIGINAL"), dir_.file("mod.zip")}) {
        const Bytes before = readFileBytes(target);
        EXPECT_THROW(testing::patchFile(dir_.file("ORIGINAL"), dir_.file("mod.zip"), target), RunError) << target;
        EXPECT_EQ(readFileBytes(target), before) << target;
    }
}

TEST_F(ModRefusals, ADamagedOrHostileModIsRefusedByNameAndNothingWritten)
{
    const struct {
        const char* name;
        std::function<void(Members&)> edit;
        const char* says;
    } cases[] = {
        {"a chunk's length that lies", [](Members& m) { editManifest(m, firstChunk("length", 4000)); },
         "wall0003.bin is 4096 bytes long, at most 4000"},
        {"a member shorter than its chunk", [](Members& m) { member(m, "wall0003.bin").bytes.resize(4000); },
         "wall0003.bin is 4000 bytes long, where wall 3 of 4096 bytes needs 4096"},
        {"a result's size that lies",
         [](Members& m) {
             editManifest(m, [](QJsonObject& root) {
                 QJsonObject result = root["result"].toObject();
                 result["size"] = result["size"].toDouble() + 1;
                 root["result"] = result;
             });
         },
         "it makes a file of"},
        {"a result's hash that lies",
         [](Members& m) {
             editManifest(m, [](QJsonObject& root) {
                 QJsonObject result = root["result"].toObject();
                 result["sha256"] = QString(64, '0');
                 root["result"] = result;
             });
         },
         "where it says it makes one of"},
        {"an index that lies", [](Members& m) { editManifest(m, firstChunk("index", 4)); }, "is given as chunk 4"},
        {"a path that climbs out", [](Members& m) { renameMember(m, "wall0003.bin", "../wall0003.bin"); },
         "no plain file name"},
        {"a member the manifest does not name",
         [](Members& m) {
             m.push_back({"notes.txt", {'h', 'i'}});
         },
         "it holds notes.txt, which mod.json does not name"},
        {"a member the manifest names and the zip lacks",
         [](Members& m) { std::erase_if(m, [](const ZipMember& x) { return x.name == "wall0003.png"; }); },
         "which the zip does not hold"},
        {"no manifest", [](Members& m) { std::erase_if(m, [](const ZipMember& x) { return x.name == "mod.json"; }); },
         "it has no mod.json"},
        {"a manifest that is not JSON",
         [](Members& m) {
             member(m, "mod.json").bytes = {'{', 'x'};
         },
         "mod.json is not JSON"},
        {"a manifest of another format",
         [](Members& m) { editManifest(m, [](QJsonObject& r) { r["format"] = "zip"; }); }, "this is not a mod"},
        {"a number of another type", [](Members& m) { editManifest(m, firstChunk("number", "3")); },
         "\"number\" is not a whole number"},
        {"more entries than a page file has chunks",
         [](Members& m) {
             editManifest(m, [](QJsonObject& root) {
                 QJsonArray chunks;
                 for (int n = 0; n < 6145; ++n)
                     chunks.append(root["chunks"].toArray()[0]);
                 root["chunks"] = chunks;
             });
         },
         "has 6145 elements, at most 6144"},
        {"a sound whose WAV header lies", [](Members& m) { member(m, "sound0002.wav").bytes[24] ^= 1; },
         "sound0002.wav is not the WAV file of 10000 samples"},
        {"a picture too large", [](Members& m) { member(m, "wall0003.png").bytes.resize(2 << 20); },
         "wall0003.png is 2097152 bytes long, more than a picture"},
        {"a zip bomb", [](Members& m) { member(m, "wall0003.png").bytes.assign(40 << 20, 0); },
         "more than 100 times its own size"},
    };
    for (const auto& refused : cases) {
        SCOPED_TRACE(refused.name);
        Members members = valid_;
        refused.edit(members);
        writeZip(dir_.file("hostile.zip"), members);
        const std::string text = refusal(dir_.file("ORIGINAL"), dir_.file("hostile.zip"));
        EXPECT_EQ(text.rfind(dir_.file("hostile.zip") + ": ", 0), 0u) << text;
        EXPECT_NE(text.find(refused.says), std::string::npos) << text;
    }
    writeFileBytes(dir_.file("hostile.zip"), {'P', 'K', 3, 4, 'x'});
    EXPECT_NE(refusal(dir_.file("ORIGINAL"), dir_.file("hostile.zip")).find("not a zip file"), std::string::npos);
}

}  // namespace
}  // namespace pagelark::testing
