#include "frame/requester_filter.h"

std::vector<platform::FileFilter> RequesterFilterParse(const std::string& filterText) {
    const std::string text = filterText.substr(0, kRequesterFilterMax);
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t bar = text.find('|', start);
        fields.push_back(
            text.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    std::vector<platform::FileFilter> filters;
    // The list ends at its first empty field, as a zero-separated list ends at two zeros.
    for (size_t i = 0; i + 1 < fields.size(); i += 2) {
        if (fields[i].empty() || fields[i + 1].empty()) break;
        platform::FileFilter f;
        f.description = fields[i];
        size_t p = 0;
        const std::string& list = fields[i + 1];
        for (;;) {
            const size_t semi = list.find(';', p);
            std::string pattern =
                list.substr(p, semi == std::string::npos ? std::string::npos : semi - p);
            if (pattern == "*.*") pattern = "*";
            if (!pattern.empty()) f.patterns.push_back(pattern);
            if (semi == std::string::npos) break;
            p = semi + 1;
        }
        if (!f.patterns.empty()) filters.push_back(f);
    }
    return filters;
}
