// Scene files: any text through the reader; what it accepts holds count entries throughout.
#include <cstddef>
#include <cstdint>
#include <string>

#include "gfx3d/scene_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SceneFile scene;
    if (SceneFileRead(std::string(reinterpret_cast<const char*>(data), size), 1024, scene)) {
        const size_t n = static_cast<size_t>(scene.count);
        if (scene.count < 1 || scene.objects.size() != n || scene.ta.size() != n ||
            scene.tb.size() != n)
            __builtin_trap();
    }
    return 0;
}
