// Linked into every test and benchmark program. They are built into a folder
// of their own, so the folder of their executable is not the program folder:
// point the program folder (resources, the program, the simulated radio) at
// the one the build fills, before any test looks at it.
#include "platform/base/appinfo.h"

#ifndef VELMORA_PROGRAM_DIR
#error "VELMORA_PROGRAM_DIR names the program folder of the build"
#endif

namespace {
[[maybe_unused]] const bool pointed = (app::setDefaultPath(VELMORA_PROGRAM_DIR), true);
}  // namespace
