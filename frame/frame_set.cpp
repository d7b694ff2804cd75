#include "frame/frame_set.h"

#include <cstdlib>

namespace {
bool ParseNumber(const std::string& s, long& out) {
    if (s.empty() || s.size() > 12) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    out = std::strtol(s.c_str(), nullptr, 10);
    return out >= 1;
}
}  // namespace

bool FrameSet::Contains(long frame) const {
    for (const auto& r : ranges)
        if (frame >= r.first && frame <= r.second) return true;
    return false;
}

FrameSet FrameSetParse(const std::string& text) {
    FrameSet set;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        std::string piece;
        for (size_t i = start; i < end; ++i)
            if (text[i] != ' ') piece += text[i];
        const size_t dash = piece.find('-');
        long a = 0, b = 0;
        if (dash == std::string::npos) {
            if (ParseNumber(piece, a)) set.ranges.emplace_back(a, a);
        } else if (ParseNumber(piece.substr(0, dash), a) &&
                   ParseNumber(piece.substr(dash + 1), b) && a <= b) {
            set.ranges.emplace_back(a, b);
        }
        start = end + 1;
    }
    return set;
}
