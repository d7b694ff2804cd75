// 3D objects: any bytes through the binary reader, or the text reader when they are not
// binary; a binary object that reads must write back as itself.
#include <cstddef>
#include <cstdint>
#include <string>

#include "gfx3d/qmd_binary.h"
#include "gfx3d/qmd_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    QmdMesh mesh;
    const QmdReadResult r = QmdBinaryRead(bytes, mesh);
    if (r == QmdReadResult::Ok) {
        QmdMesh again;
        if (QmdBinaryRead(QmdBinaryWrite(mesh), again) != QmdReadResult::Ok) __builtin_trap();
    } else if (r == QmdReadResult::NotBinary) {
        QmdMesh text;
        QmdTextRead(bytes, text);
    }
    return 0;
}
