#include "runtime/system_calls.h"

#include <cstring>

#include "platform/dynlib.h"
#include "runtime/debug_output.h"
#include "runtime/runtime_state.h"
#include "runtime/system_info.h"
#include "runtime/system_state.h"

const SubroutineEntry* SubroutineFind(const SubroutineEntry* table, const std::string& name) {
    if (!table) return nullptr;
    for (const SubroutineEntry* e = table; e->name; ++e)
        if (name.size() == std::strlen(e->name) && name.compare(e->name) == 0) return e;
    return nullptr;
}

bool SubroutineCallByName(const std::string& name) {
    const SubroutineEntry* e = SubroutineFind(System().subroutineTable, name);
    if (!e) {
        DebugOutText("CALLBYNAME \"" + name + "\" *** failed ***\n");
        return false;
    }
    if (e->function) e->function();
    return true;
}

void (*SubroutineAddress(const std::string& name))() {
    const SubroutineEntry* e = SubroutineFind(System().subroutineTable, name);
    return e ? e->function : nullptr;
}

void* LibraryFunctionDeclare(std::string& library, const std::string& function) {
    const std::string given = library;
    library = SystemLower(library);
    void* handle = nullptr;
    auto& names = System().libraryNames;
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == library) {
            handle = System().libraryHandles[i];
            break;
        }
    }
    if (!handle) {
        handle = platform::DynLibOpen(given);
        if (!handle && given != library) handle = platform::DynLibOpen(library);
        if (!handle) {
            DebugOutText("DECLARE module not found: " + library + "\n");
            return nullptr;
        }
        names.push_back(library);
        System().libraryHandles.push_back(handle);
    }
    return platform::DynLibSymbol(handle, function);
}
