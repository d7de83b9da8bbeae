#pragma once

namespace pagelark::testing {

// The sound tests run themselves once more, without a sound server, to see
// the program on a desktop that has no sound device: the variable set for
// that run, and whether this is it.
constexpr const char* WithoutServerVariable = "PAGELARK_SOUND_TESTS_WITHOUT_SERVER";
bool runsWithoutServer();

}  // namespace pagelark::testing
