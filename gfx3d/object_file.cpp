#include "gfx3d/object_file.h"

#include "gfx3d/qmd_binary.h"
#include "gfx3d/qmd_text.h"
#include "runtime/debug_output.h"

bool ObjectBytesRead(const std::string& bytes, const std::string& name, QmdMesh& mesh) {
    switch (QmdBinaryRead(bytes, mesh)) {
        case QmdReadResult::Ok:
            return true;
        case QmdReadResult::NotBinary:
            return QmdTextRead(bytes, mesh);
        case QmdReadResult::WrongVersion:
            DebugOutText("Wrong .qmd version.");
            [[fallthrough]];
        case QmdReadResult::ReadError:
            DebugOutText("# read error");
            DebugOutText(name);
            return false;
    }
    return false;
}
