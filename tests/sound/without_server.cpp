#include "tests/sound/without_server.h"

#include <cstdlib>

namespace pagelark::testing {

bool runsWithoutServer() { return std::getenv(WithoutServerVariable) != nullptr; }

}  // namespace pagelark::testing
