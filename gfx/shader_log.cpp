#include "gfx/shader_log.h"

#include <regex>

namespace {

DiagLevel LevelOf(std::string word) {
    for (char& c : word) c = static_cast<char>(c | 0x20);
    return word == "warning" ? DiagLevel::Warning : DiagLevel::Error;
}

ShaderLogLine Named(const std::string& file, const std::string& line) {
    // Positioned forms: (source, line, level, text) in the drivers' orders.
    static const std::regex mesa(R"(^\d+:(\d+)\(\d+\): (error|warning): (.*)$)");
    static const std::regex glslang(R"(^(ERROR|WARNING): \d+:(\d+): (.*)$)");
    static const std::regex paren(R"(^\d+\((\d+)\) : (error|warning) [A-Za-z0-9]+: (.*)$)");
    static const std::regex bare(R"(^(error|warning): (.*)$)", std::regex::icase);
    std::smatch m;
    if (std::regex_match(line, m, mesa) || std::regex_match(line, m, paren))
        return {LevelOf(m[2]), file + ":" + m[1].str() + ": " + m[3].str()};
    if (std::regex_match(line, m, glslang))
        return {LevelOf(m[1]), file + ":" + m[2].str() + ": " + m[3].str()};
    if (std::regex_match(line, m, bare)) return {LevelOf(m[1]), file + ": " + m[2].str()};
    return {DiagLevel::Error, file + ": " + line};
}

}  // namespace

std::vector<ShaderLogLine> ShaderLogLines(const std::string& file, const std::string& log) {
    std::vector<ShaderLogLine> out;
    size_t at = 0;
    while (at < log.size()) {
        size_t end = log.find('\n', at);
        if (end == std::string::npos) end = log.size();
        std::string line = log.substr(at, end - at);
        at = end + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\0'))
            line.pop_back();
        if (!line.empty()) out.push_back(Named(file, line));
    }
    return out;
}
