// A set of frame numbers written as text: "100,554,2000-2010" (ranges inclusive).
#pragma once

#include <string>
#include <utility>
#include <vector>

struct FrameSet {
    std::vector<std::pair<long, long>> ranges;
    bool Contains(long frame) const;
    bool Empty() const { return ranges.empty(); }
};

// Pieces that are not a number or a range of two numbers (first <= last, both >= 1) are
// skipped, so a typo never records every frame.
FrameSet FrameSetParse(const std::string& text);
