// Linked into the 3D test of sanitizer builds only (see tests/CMakeLists.txt): opens Mesa's
// software driver once more, never to be unloaded, so that LeakSanitizer still knows which
// module the driver's allocations came from when it checks at exit.
#include <dlfcn.h>
#include <cstdio>

namespace {
const bool driverKept = [] {
    if (!dlopen(QCT_GL_DRIVER, RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE)) {
        std::fprintf(stderr, "cannot keep %s loaded: %s\n", QCT_GL_DRIVER, dlerror());
    }
    return true;
}();
}
