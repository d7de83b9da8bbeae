// The descriptions in the chunk list and the game version choice: which
// file is read, how the lines are rewritten, what the choice does to the
// ceiling spin edit, and how a missing file or an error on the way ends the
// action.
#include "app/widgets/spin_edit.h"
#include "tests/gui/display_fixture.h"
#include "tests/support/sample_vswap.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>

#include <filesystem>

namespace pagelark::testing {
namespace {

constexpr int WolfSharewareItem = 0;
constexpr int Wolf13Item = 1;
constexpr int SpearItem = 2;

const char* const WolfSharewareFile = "wolf10swpics.txt";
const char* const Wolf13File = "wolfpics.txt";
const char* const SpearFile = "spearpics.txt";

// The sprite range line: from sprite 54 on, every sprite before the sounds.
std::string rangeLine(const std::string& tag) { return (tag + " range").append(32 - tag.size() - 6, ' ') + "   54"; }

// A description file whose every text carries the tag: 53 wall pairs, the
// "Locked" line, the 54 first sprites, one sprite range, the "Weapons" line
// far beyond any sprite, and 46 sounds.
std::string descriptionText(const std::string& tag)
{
    std::string text;
    for (int pair = 0; pair < 53; ++pair)
        text += tag + " wall pair " + std::to_string(pair) + "\n";
    text += "Locked " + tag + "\n";
    for (int sprite = 0; sprite < 54; ++sprite)
        text += tag + " sprite " + std::to_string(sprite) + "\r\n";
    text += rangeLine(tag) + "\n";
    text += ("Weapons " + tag).append(32 - tag.size() - 8, ' ') + " 4000\n";
    for (int sound = 0; sound < 46; ++sound)
        text += tag + " sound " + std::to_string(sound) + "\n";
    return text;
}

// What such a file describes a listed chunk with.
QString expectedDescription(const std::string& tag, const QString& line, int spriteStart, int soundStart)
{
    const int index = line.left(4).trimmed().toInt();
    const int number = line.mid(11, 5).trimmed().toInt();
    std::string text;
    if (index < spriteStart)
        text = tag + " wall pair " + std::to_string(index / 2);
    else if (index < soundStart)
        text = number < 54 ? tag + " sprite " + std::to_string(number) : rangeLine(tag);
    else
        text = tag + " sound " + std::to_string(number);
    return line.left(16) + "  " + QString::fromStdString(text);
}

class DescriptionsTest : public DisplayTest {
protected:
    // Each version's file tells its texts apart from the others'.
    void SetUp() override
    {
        writeDescriptions(WolfSharewareFile, "Wolf10");
        writeDescriptions(Wolf13File, "Wolf13");
        writeDescriptions(SpearFile, "Spear");
    }

    void writeDescriptions(const char* file, const std::string& tag)
    {
        writeFileText(platform.dir.file(file), descriptionText(tag));
    }

    void removeDescriptions(const char* file) { std::filesystem::remove(platform.dir.file(file)); }

    // Whether every line is its chunk's first 16 characters, two spaces and
    // its description from the file of this tag.
    ::testing::AssertionResult describedBy(const std::string& tag, const QStringList& chunks)
    {
        const QStringList lines = listLines();
        if (lines.size() != chunks.size())
            return ::testing::AssertionFailure() << lines.size() << " lines, expected " << chunks.size();
        const VswapHeader& header = form().state().header;
        for (qsizetype row = 0; row < lines.size(); ++row) {
            const QString expected = expectedDescription(tag, chunks[row], header.spriteStart, header.soundStart);
            if (lines[row] != expected)
                return ::testing::AssertionFailure() << "line " << row << " is \"" << lines[row].toStdString()
                                                     << "\", expected \"" << expected.toStdString() << '"';
        }
        return ::testing::AssertionSuccess();
    }

    void chooseVersion(int item) { form().cb1->setCurrentIndex(item); }

    void typeVersion(const QString& text)
    {
        QLineEdit* field = form().cb1->lineEdit();
        field->selectAll();
        QTest::keyClicks(field, text);
    }

    bool revealedByLoad()
    {
        TForm1& window = form();
        return shown(window.cb1) && shown(window.spgem) && shown(window.Edit3) && shown(window.Edit4)
            && shown(window.Edit5) && shown(window.Image2);
    }
};

TEST_F(DescriptionsTest, OpenDescribesEveryLineFromTheChosenVersionsFile)
{
    openFile(userFile("VSWAP.WL6", sampleVswap()));
    EXPECT_TRUE(platform.errors.empty());
    EXPECT_TRUE(describedBy("Wolf13", sampleLines()));
    EXPECT_EQ(listLines().front(), "   0 wall      0  Wolf13 wall pair 0");
    EXPECT_EQ(listLines().back(), "   6 sound     0  Wolf13 sound 0");

    chooseVersion(WolfSharewareItem);
    openFile(userFile("VSWAP.WL1", sampleVswap()));
    EXPECT_TRUE(describedBy("Wolf10", sampleLines()));
    EXPECT_TRUE(platform.errors.empty());
}

TEST_F(DescriptionsTest, ChoosingAVersionSetsTheCeilingRangeRewritesEveryLineAndShowsTheEntryAgain)
{
    openFile(userFile("VSWAP.WL6", sampleVswap()));
    TForm1& window = form();
    clickRow(3);
    ASSERT_EQ(window.ListBox1->selectedItems().size(), 1);

    // The version's ceiling range, from its lowest value, and its
    // descriptions in place of the other's; the entry stays current.
    const auto expectVersionShown
        = [&](int lowest, int highest, const char* level, const char* version, const char* otherVersion) {
              SCOPED_TRACE(version);
              EXPECT_EQ(window.spe1->minimum(), lowest);
              EXPECT_EQ(window.spe1->maximum(), highest);
              EXPECT_EQ(window.spe1->value(), lowest);
              EXPECT_EQ(window.Label8->text(), level);
              EXPECT_TRUE(describedBy(version, sampleLines()));
              EXPECT_FALSE(listLines().join('\n').contains(otherVersion));
              EXPECT_EQ(window.ListBox1->currentRow(), 3);
          };

    window.Edit1->setText("stale");
    chooseVersion(SpearItem);
    expectVersionShown(70, 90, "1", "Spear", "Wolf13");
    // The entry is shown again; no line stays selected.
    EXPECT_TRUE(window.ListBox1->selectedItems().isEmpty());
    EXPECT_EQ(window.Label1->text(), "1");
    EXPECT_NE(window.Edit1->text(), "stale");

    chooseVersion(Wolf13Item);
    expectVersionShown(10, 69, "1:1", "Wolf13", "Spear");

    // The ceiling value stays 10 this time: the version change itself shows the entry.
    const QString size = window.Edit1->text();
    window.Edit1->setText("stale");
    chooseVersion(WolfSharewareItem);
    EXPECT_TRUE(describedBy("Wolf10", sampleLines()));
    EXPECT_EQ(window.spe1->value(), 10);
    EXPECT_EQ(window.Edit1->text(), size);
    EXPECT_TRUE(platform.errors.empty());
}

TEST_F(DescriptionsTest, TypedTextThatNamesNoVersionReadsTheLastChosenVersionsFileAgain)
{
    openFile(userFile("VSWAP.WL6", sampleVswap()));
    TForm1& window = form();
    chooseVersion(SpearItem);
    writeDescriptions(SpearFile, "Spear2");

    typeVersion("Quake");
    EXPECT_TRUE(describedBy("Spear2", sampleLines()));
    // Only the Spear of Destiny item gives the Spear range.
    EXPECT_EQ(window.spe1->minimum(), 10);
    EXPECT_EQ(window.spe1->value(), 10);
    EXPECT_EQ(window.Label8->text(), "1:1");

    // Typed on, with the ceiling value left as it is: the entry is shown again all the same.
    window.Edit1->setText("stale");
    typeVersion("Doom");
    EXPECT_EQ(window.Edit1->text(), "10");

    // Typing a version's exact name chooses it.
    typeVersion("Wolf 1.3");
    EXPECT_TRUE(describedBy("Wolf13", sampleLines()));
    EXPECT_TRUE(platform.errors.empty());
}

TEST_F(DescriptionsTest, EnterAfterTypedTextAddsNoVersion)
{
    openFile(userFile("VSWAP.WL6", sampleVswap()));
    TForm1& window = form();
    showWindow();
    typeVersion("Quake");
    QTest::keyClick(window.cb1->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(window.cb1->count(), 3);

    // The same text typed again still names no version: the last chosen file is read.
    typeVersion("Quake");
    EXPECT_TRUE(platform.errors.empty());
    EXPECT_TRUE(describedBy("Wolf13", sampleLines()));
}

TEST_F(DescriptionsTest, MissingFileAtTheFirstOpenEndsTheOpenBeforeTheControlsAreRevealed)
{
    removeDescriptions(Wolf13File);
    const std::string chosen = userFile("VSWAP.WL6", sampleVswap());
    openFile(chosen);
    TForm1& window = form();

    EXPECT_EQ(platform.errors, std::vector<std::string>{"File not found"});
    EXPECT_EQ(listLines(), sampleLines());
    EXPECT_FALSE(revealedByLoad());
    EXPECT_EQ(window.Edit1->text(), "");
    EXPECT_EQ(window.state().current.kind, std::nullopt);
    EXPECT_EQ(window.state().lastFileName, "");
    EXPECT_TRUE(window.Timer1->isActive());

    openFile(chosen);
    EXPECT_EQ(platform.errors.size(), 2u);
    EXPECT_FALSE(revealedByLoad());

    writeDescriptions(Wolf13File, "Wolf13");
    openFile(chosen);
    EXPECT_EQ(platform.errors.size(), 2u);
    EXPECT_TRUE(revealedByLoad());
    EXPECT_TRUE(describedBy("Wolf13", sampleLines()));
}

TEST_F(DescriptionsTest, MissingFileOnAVersionChangeKeepsTheLinesAndEndsTheChange)
{
    openFile(userFile("VSWAP.WL6", sampleVswap()));
    TForm1& window = form();
    clickRow(2);

    // The ceiling value stays 10, so only the version change could show the entry again.
    removeDescriptions(WolfSharewareFile);
    window.Edit1->setText("stale");
    chooseVersion(WolfSharewareItem);
    EXPECT_EQ(platform.errors, std::vector<std::string>{"File not found"});
    EXPECT_TRUE(describedBy("Wolf13", sampleLines()));
    EXPECT_EQ(window.ListBox1->selectedItems().size(), 1);
    EXPECT_EQ(window.Edit1->text(), "stale");

    // The ceiling range is set before the file is opened.
    removeDescriptions(SpearFile);
    chooseVersion(SpearItem);
    EXPECT_EQ(platform.errors.size(), 2u);
    EXPECT_EQ(window.spe1->minimum(), 70);
    EXPECT_EQ(window.Label8->text(), "1");
    EXPECT_TRUE(describedBy("Wolf13", sampleLines()));
}

TEST_F(DescriptionsTest, ErrorWhileTheVersionChangeMovesTheCeilingIsShownOnceAndEndsTheChange)
{
    TForm1& window = form();
    platform.cancelOpen();
    window.SpeedButton1->click();
    removeDescriptions(SpearFile);
    QSignalSpy itemChanges(window.cb1, &QComboBox::currentIndexChanged);

    chooseVersion(SpearItem);
    EXPECT_EQ(platform.errors, std::vector<std::string>{"List index out of bounds (-1)"});
    // The error does not cut short the version box's own change.
    EXPECT_EQ(itemChanges.size(), 1);
    EXPECT_EQ(window.spe1->minimum(), 70);
    EXPECT_EQ(window.spe1->text(), "70");
    EXPECT_EQ(window.Label8->text(), "1:1");
    EXPECT_EQ(window.cb1->currentText(), "Spear of Dest.");
    EXPECT_EQ(window.state().descriptions[0], "");

    // The way back changes the ceiling value once, straight to 10: one
    // showing, one error, and the value the version gives.
    chooseVersion(Wolf13Item);
    EXPECT_EQ(platform.errors.size(), 2u);
    EXPECT_EQ(window.spe1->maximum(), 69);
    EXPECT_EQ(window.spe1->text(), "10");

    // The controls go on working.
    openFile(userFile("VSWAP.WL6", sampleVswap()));
    EXPECT_EQ(platform.errors.size(), 2u);
    EXPECT_TRUE(describedBy("Wolf13", sampleLines()));
}

TEST_F(DescriptionsTest, FullSizeListIsRewrittenInOneGo)
{
    openFile(userFile("VSWAP.WL6", fullSizeVswap()));
    TForm1& window = form();
    const QStringList chunks = listedChunks();
    ASSERT_EQ(chunks.size(), FullSizeWalls + FullSizeSprites + FullSizeSounds);
    EXPECT_TRUE(describedBy("Wolf13", chunks));

    QAbstractItemModel* model = window.ListBox1->model();
    QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(model, &QAbstractItemModel::modelReset);
    QSignalSpy laidOut(model, &QAbstractItemModel::layoutChanged);
    chooseVersion(SpearItem);

    EXPECT_TRUE(describedBy("Spear", chunks));
    const qsizetype notices = inserted.size() + removed.size() + changed.size() + reset.size() + laidOut.size();
    EXPECT_LE(notices, 3) << "the list was told of its new lines in " << notices << " steps";
    EXPECT_TRUE(platform.errors.empty());
}

}  // namespace
}  // namespace pagelark::testing
