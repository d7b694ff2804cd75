#include "files/string_split.h"

#include "core/rt_array.h"
#include "core/rt_string.h"
#include "corvane.h"

std::vector<std::string> SplitPieces(std::string_view text, std::string_view delimiters) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < text.size()) {
        size_t start = text.find_first_not_of(delimiters, i);
        if (start == std::string_view::npos) break;
        size_t end = text.find_first_of(delimiters, start);
        if (end == std::string_view::npos) end = text.size();
        out.emplace_back(text.substr(start, end - start));
        i = end;
    }
    return out;
}

double StringSplit(const RtString& text, const RtString& delimiters, RtStringArray& pieces) {
    std::vector<std::string> parts = SplitPieces(text.View(), delimiters.View());
    pieces.Dim(0);
    pieces.Dim(static_cast<int64_t>(parts.size()));
    for (size_t i = 0; i < parts.size(); ++i)
        pieces.At(static_cast<int64_t>(i)) = RtString(std::string_view(parts[i]));
    return static_cast<double>(parts.size());
}
