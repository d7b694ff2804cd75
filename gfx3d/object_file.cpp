#include "gfx3d/object_file.h"

#include "gfx3d/qmd_binary.h"
#include "gfx3d/qmd_text.h"
#include "runtime/debug_output.h"

bool ObjectBytesRead(const std::string& bytes, const std::string& name, QmdMesh& mesh,
                     std::string* why) {
    auto fail = [&](std::string text) {
        if (why) *why = std::move(text);
        return false;
    };
    std::string textWhy;
    switch (QmdBinaryRead(bytes, mesh)) {
        case QmdReadResult::Ok:
            return true;
        case QmdReadResult::NotBinary:
            if (QmdTextRead(bytes, mesh, &textWhy)) return true;
            if (bytes.empty()) return fail("empty file");
            if (bytes.compare(0, 4, "QMDA") != 0)
                return fail("not a QMD object (neither binary QMD nor text starting \"QMDA\")");
            return fail("damaged QMDA text: " + textWhy);
        case QmdReadResult::WrongVersion:
            DebugOutText("Wrong .qmd version.");
            DebugOutText("# read error");
            DebugOutText(name);
            return fail("wrong QMD version (only 1.02 is read)");
        case QmdReadResult::ReadError:
            DebugOutText("# read error");
            DebugOutText(name);
            return fail("damaged binary QMD (cut short, or a count the file cannot hold)");
    }
    return false;
}
