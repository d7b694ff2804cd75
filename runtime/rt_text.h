// Conversions between the runtime string and std::string at the platform boundary.
#pragma once

#include <string>

#include "core/rt_string.h"

inline std::string RtToStd(const RtString& s) {
    return std::string(s.Text(), s.Length());
}
inline RtString StdToRt(const std::string& s) {
    RtString r;
    r.Append(s.data(), static_cast<uint32_t>(s.size()));
    return r;
}
