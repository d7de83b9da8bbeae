#include "app/widgets/clickable_fields.h"
#include "app/widgets/picture_box.h"
#include "tests/gui/file_lock.h"
#include "tests/gui/window_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <filesystem>

namespace pagelark::testing {
namespace {

class OpenVswapTest : public WindowTest {
protected:
    // The current entry of the list, and whether anything is selected.
    int currentRow() { return form().ListBox1->currentRow(); }
    bool nothingSelected() { return form().ListBox1->selectedItems().isEmpty(); }

    void clickListRow(int row)
    {
        TForm1& window = form();
        if (!window.isVisible()) {
            window.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        }
        QTest::mouseClick(window.ListBox1->viewport(), Qt::LeftButton, {},
                          window.ListBox1->visualItemRect(window.ListBox1->item(row)).center());
    }

    bool revealedByLoad()
    {
        TForm1& window = form();
        return window.Edit3->isVisibleTo(&window) && window.Edit4->isVisibleTo(&window)
            && window.Edit5->isVisibleTo(&window) && window.Image2->isVisibleTo(&window)
            && window.spgem->isVisibleTo(&window) && window.cb1->isVisibleTo(&window);
    }
};

TEST_F(OpenVswapTest, CancelledFirstPressStillRevealsTheControlsAndSetsTheGuardSequence)
{
    TForm1& window = form();
    window.rb1->setChecked(true);
    window.state().frameCount = 2;
    window.state().frameStride = 1;
    platform.cancelOpen();
    window.SpeedButton1->click();

    EXPECT_TRUE(revealedByLoad());
    EXPECT_EQ(window.state().frameCount, 4);
    EXPECT_EQ(window.state().frameStride, 8);
    EXPECT_TRUE(window.rb1->isChecked());
    EXPECT_EQ(window.ListBox1->count(), 0);
    EXPECT_EQ(window.ListBox1->contextMenuPolicy(), Qt::CustomContextMenu);
    EXPECT_FALSE(window.state().workingCopy.isOpen());
    EXPECT_FALSE(window.Timer1->isActive());
    EXPECT_EQ(window.windowTitle(), "Pagelark 3.3");
    EXPECT_FALSE(std::filesystem::exists(workingCopy(0)));
    EXPECT_TRUE(platform.errors.empty());
}

TEST_F(OpenVswapTest, OpeningCopiesTheFileAndListsItsChunks)
{
    const std::string chosen = userFile("VSWAP.WL6", sampleVswap());
    openFile(chosen);
    TForm1& window = form();

    ASSERT_EQ(platform.openRequests.size(), 1u);
    const OpenDialogRequest& request = platform.openRequests.front();
    EXPECT_EQ(request.title, "Load a VSWAP.* file");
    EXPECT_EQ(filterPairs(request.filters), (FilterPairs{{"VSWAP Files", "VSWAP.*"}, {"All Files", "*.*"}}));
    EXPECT_EQ(request.startDirectory, platform.dir.withSeparator());

    EXPECT_TRUE(platform.errors.empty());
    EXPECT_EQ(window.state().workingCopyFile.name(), workingCopy(0));
    EXPECT_EQ(readFileBytes(workingCopy(0)), sampleVswap());
    EXPECT_TRUE(window.state().workingCopy.isOpen());
    EXPECT_EQ(window.windowTitle().toStdString(), chosen);
    EXPECT_EQ(listedChunks(), sampleLines());
    EXPECT_EQ(window.ListBox1->visualItemRect(window.ListBox1->item(1)).height(), 17);
    EXPECT_EQ(currentRow(), 0);
    EXPECT_TRUE(nothingSelected());
    EXPECT_TRUE(window.Timer1->isActive());
    EXPECT_TRUE(revealedByLoad());
    EXPECT_EQ(window.state().lastFileName, chosen);
    EXPECT_EQ(window.state().header.soundStart, 6);
    EXPECT_EQ(window.state().chunks.length[6], 110);
}

TEST_F(OpenVswapTest, LaterOpensOfTheRunReuseTheWorkingCopyName)
{
    openFile(userFile("VSWAP.WL6", sampleVswap()));
    openFile(userFile("VSWAP.SOD", twoWallVswap()));
    TForm1& window = form();

    EXPECT_TRUE(platform.errors.empty());
    EXPECT_EQ(window.state().workingCopyFile.name(), workingCopy(0));
    EXPECT_EQ(readFileBytes(workingCopy(0)), twoWallVswap());
    EXPECT_FALSE(std::filesystem::exists(workingCopy(1)));
    EXPECT_EQ(listedChunks(), QStringList({"   0 wall      0", "   1 wall      1"}));
    EXPECT_TRUE(window.state().workingCopy.isOpen());
}

TEST_F(OpenVswapTest, CopyOfAnotherRunningInstanceMakesTheFirstOpenTakeTheNextName)
{
    writeFileText(workingCopy(0), "left over");
    const FileLock otherInstance(workingCopy(0));
    openFile(userFile("VSWAP.WL6", sampleVswap()));

    EXPECT_EQ(form().state().workingCopyFile.name(), workingCopy(1));
    EXPECT_EQ(readFileBytes(workingCopy(1)), sampleVswap());
    EXPECT_EQ(readFileText(workingCopy(0)), "left over");
}

TEST_F(OpenVswapTest, ReopeningTheSamePathReturnsToTheEntryClickedLast)
{
    const std::string first = userFile("VSWAP.WL6", sampleVswap());
    const std::string second = userFile("VSWAP.SOD", twoWallVswap());
    openFile(first);
    clickListRow(3);
    ASSERT_EQ(form().state().lastListIndex, 3);

    openFile(first);
    EXPECT_EQ(currentRow(), 3);
    EXPECT_TRUE(nothingSelected());

    openFile(second);
    EXPECT_EQ(currentRow(), 0);
    EXPECT_TRUE(nothingSelected());

    // The position clicked last counts, in whichever file it was clicked.
    clickListRow(1);
    openFile(first);
    EXPECT_EQ(currentRow(), 0);
    openFile(first);
    EXPECT_EQ(currentRow(), 1);

    // A remembered position beyond the new list leaves the first entry current.
    clickListRow(4);
    openFile(second);
    openFile(second);
    EXPECT_EQ(currentRow(), 0);
    EXPECT_TRUE(platform.errors.empty());
}

TEST_F(OpenVswapTest, ClosingDeletesThePreviewFilesAndTheWorkingCopy)
{
    openFile(userFile("VSWAP.WL6", sampleVswap()));
    writeFileText(platform.dir.file("pl.bmp"), "picture");
    writeFileText(platform.dir.file("pl.wav"), "sound");
    TForm1& window = form();
    window.close();

    EXPECT_FALSE(window.state().workingCopy.isOpen());
    EXPECT_FALSE(std::filesystem::exists(platform.dir.file("pl.bmp")));
    EXPECT_FALSE(std::filesystem::exists(platform.dir.file("pl.wav")));
    EXPECT_FALSE(std::filesystem::exists(workingCopy(0)));
    EXPECT_TRUE(platform.errors.empty());
}

TEST_F(OpenVswapTest, ClosingWithoutAnyFileReportsNothing)
{
    writeFileText(platform.dir.file("pl.wav"), "from an earlier run");
    form().close();
    EXPECT_FALSE(std::filesystem::exists(platform.dir.file("pl.wav")));
    EXPECT_TRUE(platform.errors.empty());
}

TEST_F(OpenVswapTest, FailedOpenOffersNoLinesOfTheFileBefore)
{
    openFile(userFile("VSWAP.WL6", sampleVswap()));
    std::vector<std::uint8_t> cut = sampleVswap();
    cut.resize(6 + 4 * 3 + 2);
    openFile(userFile("CUT.WL6", cut));

    EXPECT_EQ(platform.errors, std::vector<std::string>{"Read beyond end of file"});
    EXPECT_EQ(form().ListBox1->count(), 0);
    EXPECT_TRUE(form().state().workingCopy.isOpen());
    // Describing the list again brings none back: there is no entry to show.
    form().cb1->setCurrentIndex(0);
    EXPECT_EQ(form().ListBox1->count(), 0);
    EXPECT_EQ(platform.errors.back(), "List index out of bounds (-1)");
    // A chosen file that cannot be copied leaves no lines either.
    openFile(userFile("VSWAP.WL6", sampleVswap()));
    openFile(userDir.file("MISSING.WL6"));
    EXPECT_EQ(platform.errors.back(), "File not found");
    EXPECT_EQ(form().ListBox1->count(), 0);

    // The program goes on: the next open works as usual.
    openFile(userFile("VSWAP.SOD", twoWallVswap()));
    EXPECT_EQ(listLines().size(), 2);
    EXPECT_EQ(platform.errors.size(), 3u);
}

TEST_F(OpenVswapTest, HeaderBeyondTheTableIsRefused)
{
    openFile(userFile("BIG.WL6", {0x58, 0x1B, 0, 0, 0, 0}));  // 7000 chunks
    EXPECT_EQ(platform.errors, std::vector<std::string>{"Not a VSWAP file: 7000 chunks, at most 6144"});
    EXPECT_EQ(form().ListBox1->count(), 0);
    // The error ends the press: the controls it would reveal stay hidden.
    EXPECT_FALSE(form().Edit4->isVisibleTo(&form()));
}

TEST_F(OpenVswapTest, MissingChosenFileIsReportedBeforeAnythingIsOpened)
{
    openFile(userDir.file("GONE.WL6"));
    TForm1& window = form();
    EXPECT_EQ(platform.errors, std::vector<std::string>{"File not found"});
    EXPECT_FALSE(window.state().workingCopy.isOpen());
    EXPECT_FALSE(std::filesystem::exists(workingCopy(0)));
    EXPECT_EQ(window.windowTitle(), "Pagelark 3.3");
    EXPECT_FALSE(window.Timer1->isActive());
    EXPECT_FALSE(window.Edit4->isVisibleTo(&window));

    // A later open starts afresh.
    openFile(userFile("VSWAP.WL6", sampleVswap()));
    EXPECT_EQ(platform.errors.size(), 1u);
    EXPECT_EQ(window.state().workingCopyFile.name(), workingCopy(0));
    EXPECT_EQ(listedChunks(), sampleLines());
}

TEST_F(OpenVswapTest, ChosenFileIsNeverChanged)
{
    const std::string chosen = userFile("VSWAP.WL6", sampleVswap());
    const auto written = std::filesystem::last_write_time(chosen);
    openFile(chosen);
    openFile(chosen);
    form().close();
    EXPECT_EQ(readFileBytes(chosen), sampleVswap());
    EXPECT_EQ(std::filesystem::last_write_time(chosen), written);
}

TEST_F(OpenVswapTest, ChoosingTheWorkingCopyItselfKeepsItsBytes)
{
    openFile(userFile("VSWAP.WL6", sampleVswap()));
    openFile(workingCopy(0));
    EXPECT_TRUE(platform.errors.empty());
    EXPECT_EQ(readFileBytes(workingCopy(0)), sampleVswap());
    EXPECT_EQ(listedChunks(), sampleLines());
}

}  // namespace
}  // namespace pagelark::testing

namespace pagelark::testing {
namespace {

TEST_F(OpenVswapTest, FileFromTheCommandLineOrADropOpensAsTheDialogsChoiceDoes)
{
    TForm1& window = form();
    const std::string given = userFile("VSWAP.WL6", sampleVswap());
    window.openGivenFile(given);
    EXPECT_TRUE(platform.openRequests.empty());
    EXPECT_EQ(listedChunks(), sampleLines());
    EXPECT_EQ(window.windowTitle().toStdString(), given);
    EXPECT_TRUE(window.cb1->isVisibleTo(&window));
    EXPECT_TRUE(window.spgem->isVisibleTo(&window));
    EXPECT_EQ(readFileBytes(workingCopy(0)), sampleVswap());

    // A drop: the first local file of the drag.
    const std::string dropped = userFile("VSWAP.SOD", twoWallVswap());
    QMimeData drag;
    drag.setUrls(
        {QUrl(QStringLiteral("https://example.org/VSWAP.WL6")), QUrl::fromLocalFile(QString::fromStdString(dropped))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &drag, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &drag, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    EXPECT_EQ(listLines().size(), 2);
    EXPECT_EQ(window.windowTitle().toStdString(), dropped);

    // A file that cannot be opened is reported as after the dialog; the window goes on.
    window.openGivenFile(userDir.file("MISSING.WL6"));
    EXPECT_EQ(platform.errors, std::vector<std::string>{"File not found"});
    openFile(given);
    EXPECT_EQ(listedChunks(), sampleLines());
    EXPECT_EQ(platform.openRequests.size(), 1u);
    EXPECT_EQ(platform.openRequests[0].startDirectory, platform.dir.withSeparator());
}

}  // namespace
}  // namespace pagelark::testing
