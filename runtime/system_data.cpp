// Data lists, subroutines by name and dynamic-library functions.
#include "core/int_convert.h"
#include "core/number_text.h"
#include "corvane.h"
#include "runtime/end_path.h"
#include "runtime/runtime_state.h"
#include "runtime/system_calls.h"
#include "runtime/system_state.h"

namespace {
constexpr int kErrorDataEnd = 20;

// The next item of the current list; past its end the program ends with error 20.
const DataItem& NextItem() {
    DataList* list = System().currentDataList;
    if (!list || !list->items || list->readIndex < 0 || list->readIndex >= list->count)
        RuntimeError(kErrorDataEnd, "DataRead: no item left in the data list");
    return list->items[list->readIndex++];
}
}  // namespace

void DataRestore(DataList& list) {
    System().currentDataList = &list;
    list.readIndex = 0;
}

void DataRead(RtString& variable) {
    const DataItem& item = NextItem();
    if (item.text)
        variable = item.text;
    else
        variable = item.value;
}

void DataRead(double& variable) {
    const DataItem& item = NextItem();
    variable = item.text ? ParseReal(item.text) : item.value;
}

void DataRead(int& variable) {
    const DataItem& item = NextItem();
    variable = ToInt(item.text ? ParseReal(item.text) : item.value);
}

void SubroutineTableSet(const SubroutineEntry* table) {
    System().subroutineTable = table;
}

double CallByName(const RtString& name) {
    return SubroutineCallByName(name.Str()) ? 1.0 : 0.0;
}

void (*SubAddress(const RtString& name))() {
    return SubroutineAddress(name.Str());
}

void LibraryDeclare(RtString& library, const RtString& function, void*& pointer) {
    pointer = nullptr;
    std::string name = library.Str();
    pointer = LibraryFunctionDeclare(name, function.Str());
    library = RtString(std::string_view(name));
}
