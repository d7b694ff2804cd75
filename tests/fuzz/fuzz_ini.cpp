// INI files: parsing any text, then what a write-back makes of it must parse to the same.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "files/ini_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    IniData ini;
    ini.sections = IniParse(std::string_view(reinterpret_cast<const char*>(data), size));
    IniGetValue(ini, "main", "key");
    IniPutValue(ini, "main", "key", "value");
    const std::string text = IniSerialize(ini);
    IniData again;
    again.sections = IniParse(text);
    if (IniSerialize(again) != text) __builtin_trap();
    return 0;
}
