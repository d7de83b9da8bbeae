// Mods in the window: the changes saved as a mod, and a mod dropped on the
// window applied as one step, or refused for another original.
#include "tests/gui/editing_fixture.h"

namespace pagelark::testing {
namespace {

TEST_F(EditingTest, ChangesSavedAsAModComeBackAsOneStepOnTheOriginalOnly)
{
    TForm1& window = form();
    replaceWall(7);
    selectOnly(SpriteRow);
    replaceByMenu(pngFile("sprite.png", barGrid(EmptyIndex, 9)));
    const std::vector<std::uint8_t> changed = readFileBytes(shownCopy());
    const std::string mod = userDir.file("changes.zip");
    platform.answerSave(mod);
    window.SaveChangesAsMod1->trigger();
    ASSERT_TRUE(platform.errors.empty()) << platform.errors.front();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages.back().second.find("1 wall changed, 1 sprite changed"), std::string::npos)
        << platform.messages.back().second;

    struct Case {
        std::string name;
        int undoneFirst;  // steps undone before the drop
        bool applies;     // only to the file the mod was made of
    };
    for (const Case& c : std::vector<Case>{{"on the changed file", 0, false}, {"on the original", 2, true}}) {
        SCOPED_TRACE(c.name);
        for (int n = 0; n < c.undoneFirst; ++n)
            window.Undo1->trigger();
        platform.errors.clear();
        EXPECT_TRUE(dropAt(rowPoint(WallRow), mod));
        if (!c.applies) {
            ASSERT_EQ(platform.errors.size(), 1u);
            EXPECT_NE(platform.errors.front().find("not the file " + mod + " was made for"), std::string::npos)
                << platform.errors.front();
            continue;
        }
        ASSERT_TRUE(platform.errors.empty()) << platform.errors.front();
        EXPECT_EQ(readFileBytes(shownCopy()), changed);
        EXPECT_EQ(window.Undo1->text().toStdString(), "Undo application of changes.zip");
        window.Undo1->trigger();
        EXPECT_EQ(readFileBytes(shownCopy()), editableVswap());
    }
}

}  // namespace
}  // namespace pagelark::testing
