// INI data in memory: sections of key/value pairs kept exactly as read, looked up without
// regard to ASCII case. Pure logic; loading from and writing to files is in ini_file.h.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct IniPair {
    std::string key;
    std::string value;
};

struct IniSection {
    std::string name;
    std::vector<IniPair> pairs;
};

struct IniData {
    std::vector<IniSection> sections;
    std::string fileName;  // where the data is written back; empty: nowhere
    bool changed = false;
};

// The text every lookup miss gives.
inline constexpr const char* kIniNoData = "NO_DATA";

// Parses INI text (all its lines) into sections; duplicates are kept in file order.
std::vector<IniSection> IniParse(std::string_view text);
// Parses one line into the state of a running parse (exposed for the fuzz target).
struct IniParseState {
    std::vector<IniSection>* out;
    IniSection current;
};
void IniParseLine(IniParseState& st, std::string_view line);
void IniParseFinish(IniParseState& st);

// The value, or nullptr: first section of that name, first key of that name in it.
const std::string* IniFind(const IniData& data, std::string_view section, std::string_view key);
std::string IniGetValue(const IniData& data, std::string_view section, std::string_view key);
// Changes, adds or removes a value; an empty key removes the section.
void IniPutValue(IniData& data, std::string_view section, std::string_view key,
                 std::string_view value);
// The file text of the data: "[name]" and "key=value" lines ending in CR LF. Sections with
// the empty name come first and without a header, so they read back under the empty name.
std::string IniSerialize(const IniData& data);

bool IniNameEqual(std::string_view a, std::string_view b);
