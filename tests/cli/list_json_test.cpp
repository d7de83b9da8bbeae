#include "tests/cli/run_cli.h"
#include "tests/support/sample_vswap.h"
#include "tests/support/temp_dir.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <filesystem>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

namespace pagelark::testing {
namespace {

QJsonObject parsedList(const CommandResult& run)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(run.out), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return document.object();
}

std::uint32_t littleEndian(const std::vector<std::uint8_t>& bytes, std::size_t at, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes.at(at + static_cast<std::size_t>(i));
    return value;
}

TEST(ListJson, OneObjectPerListLineWithTheFileTablesFields)
{
    TempDir dir;
    const std::vector<std::uint8_t> bytes = testing::fullSizeVswap();
    testing::writeFileBytes(dir.file("VSWAP.SOD"), bytes);
    const std::vector<std::string> lines = linesOf(runCli({"list", "--game", "spear", dir.file("VSWAP.SOD")}).out);

    const CommandResult run = runCli({"list", "--json", "--game", "spear", dir.file("VSWAP.SOD")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    const QJsonObject list = parsedList(run);
    EXPECT_EQ(list["path"].toString().toStdString(), dir.file("VSWAP.SOD"));
    EXPECT_EQ(list["chunkCount"].toInt(), 663);
    EXPECT_EQ(list["spriteStart"].toInt(), testing::FullSizeWalls);
    EXPECT_EQ(list["soundStart"].toInt(), testing::FullSizeSoundStart);
    EXPECT_EQ(list["game"].toString(), "spear");

    const QJsonArray chunks = list["chunks"].toArray();
    ASSERT_EQ(static_cast<std::size_t>(chunks.size()), lines.size());
    const std::size_t lengths = 6 + 4 * 663;
    for (qsizetype i = 0; i < chunks.size(); ++i) {
        const QJsonObject chunk = chunks[i].toObject();
        const int index = chunk["index"].toInt();
        const std::string kind = chunk["kind"].toString().toStdString();
        const int number = chunk["number"].toInt();
        // Index, kind, number and description are those of the plain list line.
        std::ostringstream line;
        line << std::setw(4) << index << ' ' << std::left << std::setw(7) << kind << std::right << std::setw(4)
             << number << "  " << chunk["description"].toString().toStdString();
        EXPECT_EQ(line.str(), lines[static_cast<std::size_t>(i)]);
        EXPECT_EQ(chunk["offset"].toInteger(), littleEndian(bytes, 6 + 4 * static_cast<std::size_t>(index), 4));
        if (kind == "sound") {
            const auto length = static_cast<qint64>(testing::fullSizeSoundLength(number));
            EXPECT_EQ(chunk["size"].toInteger(), length) << index;
            EXPECT_EQ(chunk["samples"].toInteger(), length) << index;
        } else {
            EXPECT_EQ(chunk["size"].toInteger(), littleEndian(bytes, lengths + 2 * static_cast<std::size_t>(index), 2));
            EXPECT_FALSE(chunk.contains("samples") || chunk.contains("seconds")) << index;
        }
    }
    // The first wall right after the table, and sounds of each length in seconds.
    EXPECT_EQ(chunks[0].toObject()["offset"].toInt(), 4096);
    EXPECT_EQ(chunks[0].toObject()["size"].toInt(), 4096);
    EXPECT_DOUBLE_EQ(chunks[542].toObject()["seconds"].toDouble(), 1.305);  // 9000 samples
    EXPECT_DOUBLE_EQ(chunks[587].toObject()["seconds"].toDouble(), 0.725);  // 5000 samples
}

TEST(ListJson, DescriptionsAreReadAsLatin1)
{
    // The program beside side files of its own, as in a build folder.
    TempDir dir;
    std::filesystem::copy_file(PAGELARK_CLI, dir.file("pagelark-cli"));
    std::filesystem::copy_file(PAGELARK_DATA_DIR "/wolfenstein.pal", dir.file("wolfenstein.pal"));
    testing::writeFileText(dir.file("wolfpics.txt"), "Caf\xE9 \"No\\5\"\n");
    testing::writeFileBytes(dir.file("VSWAP.WL6"), testing::fullSizeVswap());

    const CommandResult run = testing::runCommand(dir.file("pagelark-cli"), {"list", "--json", dir.file("VSWAP.WL6")});
    EXPECT_EQ(run.status, 0);
    const QJsonArray chunks = parsedList(run)["chunks"].toArray();
    ASSERT_GT(chunks.size(), 1);
    EXPECT_EQ(chunks[1].toObject()["description"].toString().toStdString(), "Caf\u00e9 \"No\\5\"");
    EXPECT_EQ(chunks[2].toObject()["description"].toString().toStdString(), "");
}

}  // namespace
}  // namespace pagelark::testing
