#include "saved_folder/saved_item_name.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

TEST(SavedItemName, KindWordAndFourDigitsOfTheItemNumber)
{
    EXPECT_EQ(savedItemFileName("/out/", ItemKind::Wall, 3), "/out/wall0003.bmp");
    EXPECT_EQ(savedItemFileName("/out/", ItemKind::Sprite, 24), "/out/sprite0024.bmp");
    EXPECT_EQ(savedItemFileName("/out/", ItemKind::Sound, 5), "/out/sound0005.wav");
    EXPECT_EQ(itemDigits(0), "0000");
    EXPECT_EQ(itemDigits(9999), "9999");
    // Larger numbers keep all their digits: cut, two numbers would share a name.
    EXPECT_EQ(itemDigits(10000), "10000");
    EXPECT_EQ(itemDigits(123456), "123456");
}

TEST(SavedItemName, ThePresetDashNameMeansTheFolderAlone)
{
    EXPECT_EQ(saveBase("/out/-"), "/out/");
    EXPECT_EQ(saveBase("/out/pre"), "/out/pre");
    EXPECT_EQ(saveBase("/out/-.bmp"), "/out/-.bmp");
    EXPECT_EQ(saveBase("-"), "");
    EXPECT_EQ(saveBase("/out/--"), "/out/--");
}

}  // namespace
}  // namespace pagelark
