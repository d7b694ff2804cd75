#include "platform/dynlib.h"

#include <dlfcn.h>

namespace platform {

void* DynLibOpen(const std::string& name) {
    if (name.empty()) return nullptr;  // dlopen("") would hand back the program itself
    return ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* DynLibSymbol(void* handle, const std::string& symbol) {
    if (!handle) return nullptr;
    return ::dlsym(handle, symbol.c_str());
}

}  // namespace platform
