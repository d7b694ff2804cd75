// The system commands' own state: the current data list, the subroutine table and the
// libraries LibraryDeclare has loaded.
#pragma once

#include <string>
#include <vector>

struct DataList;
struct SubroutineEntry;

struct SystemState {
    DataList* currentDataList = nullptr;               // DataRestore's list, null until one
    const SubroutineEntry* subroutineTable = nullptr;  // CallByName's table, null: empty
    std::vector<std::string> libraryNames;             // lower-cased names of loaded libraries
    std::vector<void*> libraryHandles;                 // their handles, parallel to the names
};

SystemState& System();
