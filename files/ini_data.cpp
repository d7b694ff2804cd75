#include "files/ini_data.h"

#include "core/ascii.h"
#include "files/line_reader.h"

bool IniNameEqual(std::string_view a, std::string_view b) {
    return AsciiEqualFolded(a, b);
}

static bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

static void StoreCurrent(IniParseState& st) {
    if (!st.current.pairs.empty()) st.out->push_back(st.current);
    st.current.pairs.clear();
}

void IniParseLine(IniParseState& st, std::string_view line) {
    size_t i = 0;
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size()) return;
    if (line[i] == ';') return;
    if (line[i] == '[') {
        StoreCurrent(st);
        ++i;
        while (i < line.size() && IsBlank(line[i])) ++i;
        size_t start = i;
        while (i < line.size() && !IsBlank(line[i]) && line[i] != '=') ++i;
        std::string_view name = line.substr(start, i - start);
        if (!name.empty() && name.back() == ']') name.remove_suffix(1);
        if (!name.empty()) st.current.name.assign(name);
        return;
    }
    size_t start = i;
    while (i < line.size() && !IsBlank(line[i]) && line[i] != '=') ++i;
    std::string_view key = line.substr(start, i - start);
    if (i == line.size()) return;
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size() || line[i] != '=') return;
    ++i;
    while (i < line.size() && IsBlank(line[i])) ++i;
    std::string_view value = line.substr(i);
    // Trailing control bytes go (as signed bytes: 128..255 too); trailing spaces stay.
    while (!value.empty() && static_cast<signed char>(value.back()) <= 31) value.remove_suffix(1);
    if (value.empty()) return;
    st.current.pairs.push_back(IniPair{std::string(key), std::string(value)});
}

void IniParseFinish(IniParseState& st) {
    StoreCurrent(st);
}

std::vector<IniSection> IniParse(std::string_view text) {
    std::vector<IniSection> out;
    IniParseState st{&out, {}};
    MemoryLineStream in(text);
    std::string line;
    int64_t used = 0;
    while (LineRead(in, line, used)) IniParseLine(st, line);
    IniParseFinish(st);
    return out;
}

static IniSection* FindSection(IniData& data, std::string_view name) {
    for (IniSection& s : data.sections)
        if (IniNameEqual(s.name, name)) return &s;
    return nullptr;
}

const std::string* IniFind(const IniData& data, std::string_view section, std::string_view key) {
    for (const IniSection& s : data.sections) {
        if (!IniNameEqual(s.name, section)) continue;
        // Only the first section of the name is searched.
        for (const IniPair& p : s.pairs)
            if (IniNameEqual(p.key, key)) return &p.value;
        return nullptr;
    }
    return nullptr;
}

std::string IniGetValue(const IniData& data, std::string_view section, std::string_view key) {
    const std::string* v = IniFind(data, section, key);
    return v ? *v : std::string(kIniNoData);
}

void IniPutValue(IniData& data, std::string_view section, std::string_view key,
                 std::string_view value) {
    if (key.empty()) {
        for (size_t i = 0; i < data.sections.size(); ++i) {
            if (!IniNameEqual(data.sections[i].name, section)) continue;
            if (i + 1 != data.sections.size()) data.sections[i] = std::move(data.sections.back());
            data.sections.pop_back();
            return;
        }
        return;
    }
    IniSection* s = FindSection(data, section);
    if (!s) {
        data.sections.push_back(IniSection{std::string(section), {}});
        s = &data.sections.back();
    }
    for (size_t i = 0; i < s->pairs.size(); ++i) {
        if (!IniNameEqual(s->pairs[i].key, key)) continue;
        if (!value.empty()) {
            s->pairs[i].value.assign(value);
        } else {
            if (i + 1 != s->pairs.size()) s->pairs[i] = std::move(s->pairs.back());
            s->pairs.pop_back();
        }
        data.changed = true;
        return;
    }
    s->pairs.push_back(IniPair{std::string(key), std::string(value)});
    data.changed = true;
}

std::string IniSerialize(const IniData& data) {
    std::string out;
    auto pairs = [&](const IniSection& s) {
        for (const IniPair& p : s.pairs) out += p.key + "=" + p.value + "\r\n";
    };
    for (const IniSection& s : data.sections)
        if (s.name.empty()) pairs(s);
    for (const IniSection& s : data.sections) {
        if (s.name.empty()) continue;
        out += "[" + s.name + "]\r\n";
        pairs(s);
    }
    return out;
}
