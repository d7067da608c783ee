#pragma once

namespace rova {

// Registers the compiled-in icons (":/icons/<name>.svg" and ":/icons/rova.svg") with Qt's
// resource system. They live in a static library, whose resource data the linker leaves out unless
// something refers to it, so a program calls this once before it loads the first icon. Calling it
// again does no harm.
void initIconResources();

}  // namespace rova
