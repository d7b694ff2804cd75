// Calling program subroutines by name and functions of dynamic libraries.
#pragma once

#include <string>

#include "core/system_types.h"

// The entry of that exact (case-sensitive) name in a null-name-terminated table, or null.
const SubroutineEntry* SubroutineFind(const SubroutineEntry* table, const std::string& name);

// Calls the named subroutine of the current table: true when found. When not found, the
// failure line goes to the debug output.
bool SubroutineCallByName(const std::string& name);

// The function of the named subroutine of the current table, or null.
void (*SubroutineAddress(const std::string& name))();

// Lower-cases library (ASCII) in place, loads it once per process (the cache compares the
// lower-cased names; the load itself uses the name as given, file names being case-sensitive)
// and returns the function's address, or null. A failed load writes its debug output line.
void* LibraryFunctionDeclare(std::string& library, const std::string& function);
