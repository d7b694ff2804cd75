// Dynamic libraries: load by file name, look up a function.
#pragma once

#include <string>

namespace platform {

// Loads the library (searched the system's usual way when name has no '/'); null on failure.
void* DynLibOpen(const std::string& name);

// Address of a symbol of a loaded library; null when the handle is null or the symbol is absent.
void* DynLibSymbol(void* handle, const std::string& symbol);

}  // namespace platform
