#include "sounds/sound_duration.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

TEST(SoundDuration, IsCutDownToTenthsNeverRounded)
{
    EXPECT_EQ(durationText(6895, "."), "0.9 sec");
    EXPECT_EQ(durationText(6896, "."), "1 sec");
    EXPECT_EQ(durationText(10000, "."), "1.4 sec");
    EXPECT_EQ(durationText(689, "."), "0 sec");
    EXPECT_EQ(durationText(690, "."), "0.1 sec");
    EXPECT_EQ(durationText(65535, "."), "9.5 sec");
    EXPECT_EQ(durationText(13792, "."), "2 sec");
}

TEST(SoundDuration, UsesTheGivenDecimalSeparator)
{
    EXPECT_EQ(durationText(10000, ","), "1,4 sec");
    EXPECT_EQ(durationText(6896, ","), "1 sec");
}

}  // namespace
}  // namespace pagelark
