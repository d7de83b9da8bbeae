// The entry point of the mods module, which the window loads when it first
// saves or applies a mod.
#include "mods/mod_operations.h"

extern "C" __attribute__((visibility("default"))) const pagelark::ModOperations* pagelark_mod_operations()
{
    return &pagelark::linkedModOperations();
}
