#include <cstdio>
#include <cstdlib>

#include "game/show_shared.h"

namespace zan3 {

void TraceEvent(const ShowShared& shared, const char* event) {
    static const bool on = std::getenv("ZAN3_TRACE") != nullptr;
    if (!on) return;
    std::printf("frame %ld %s\n", shared.pass, event);
    std::fflush(stdout);
}

}  // namespace zan3
