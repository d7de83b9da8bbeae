#include "mods/mod_operations.h"

namespace pagelark {

const ModOperations& linkedModOperations()
{
    static constexpr ModOperations operations{&madeMod, &modApplied};
    return operations;
}

}  // namespace pagelark
