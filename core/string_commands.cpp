// The string commands of the game's command set.
#include <cstdio>
#include <cstring>
#include <string_view>

#include "core/ascii.h"
#include "core/int_convert.h"
#include "core/number_text.h"
#include "corvane.h"

double StringLength(const RtString& s) {
    return s.Length();
}

double StringLength(double value) {
    char text[kNumberTextMax];
    return FormatReal(value, text);
}

RtString StringMid(const RtString& s, double position, double count) {
    int64_t len = s.Length();
    int64_t pos = ToInt(position);
    int64_t n = ToInt(count);
    // Compared with length - position, so a huge count cannot overflow position + count.
    if (n < 0 || n > len - pos) n = len - pos;
    if (n > 0 && pos >= 0 && pos <= len)
        return RtString(std::string_view(s.Text() + pos, static_cast<size_t>(n)));
    return RtString();
}

namespace {
double Find(std::string_view hay, std::string_view needle, double start) {
    int64_t from = ToInt(start);
    if (from < 0) from = 0;  // a negative start searches the whole text
    if (from > static_cast<int64_t>(hay.size())) return -1;
    size_t at = hay.find(needle, static_cast<size_t>(from));
    return at == std::string_view::npos ? -1.0 : static_cast<double>(at);
}
std::string_view ViewOf(const char* text) {
    return text ? std::string_view(text) : "";
}
}  // namespace

double StringFind(const RtString& haystack, const RtString& needle, double start) {
    return Find(haystack.View(), needle.View(), start);
}
double StringFind(const char* haystack, const char* needle, double start) {
    return Find(ViewOf(haystack), ViewOf(needle), start);
}
double StringFind(const RtString& haystack, const char* needle, double start) {
    return Find(haystack.View(), ViewOf(needle), start);
}
double StringFind(const char* haystack, const RtString& needle, double start) {
    return Find(ViewOf(haystack), needle.View(), start);
}

RtString StringReplace(const RtString& s, const RtString& search, const RtString& replacement) {
    // An empty search text would match everywhere forever: the text stays as it is.
    if (search.Empty()) return s;
    std::string_view text = s.View();
    std::string_view what = search.View();
    RtString out;
    size_t pos = 0;
    for (;;) {
        size_t at = text.find(what, pos);
        if (at == std::string_view::npos) break;
        out.Append(text.data() + pos, static_cast<uint32_t>(at - pos));
        out += replacement;
        pos = at + what.size();
    }
    out.Append(text.data() + pos, static_cast<uint32_t>(text.size() - pos));
    return out;
}

RtString StringLower(const RtString& s) {
    RtString out(s);
    for (uint32_t i = 0; i < out.Length(); ++i) {
        const char c = static_cast<char>(out.CharAt(i));
        if (AsciiLower(c) != c) out.SetCharAt(i, AsciiLower(c));
    }
    return out;
}

RtString StringUpper(const RtString& s) {
    RtString out(s);
    for (uint32_t i = 0; i < out.Length(); ++i) {
        const char c = static_cast<char>(out.CharAt(i));
        if (AsciiUpper(c) != c) out.SetCharAt(i, AsciiUpper(c));
    }
    return out;
}

double StringCode(const RtString& s) {
    return s.Empty() ? 0 : static_cast<unsigned char>(s.Text()[0]);
}

RtString StringChar(double code) {
    // A zero low byte cannot be held in a text: it gives the empty string, as code 0 does.
    char c = static_cast<char>(static_cast<uint32_t>(ToInt(code)) & 255u);
    if (c == 0) return RtString();
    return RtString(std::string_view(&c, 1));
}

RtString NumberFormat(double width, double decimals, double value) {
    int w = ToInt(width);
    int d = ToInt(decimals);
    // A double has at most 1074 fraction digits, so past 1100 only zeros follow and the
    // visible prefix is the same; a negative precision means the default, as with "*".
    if (d > 1100) d = 1100;
    char digits[1500];
    int n = std::snprintf(digits, sizeof digits, "%.*f", d, value);
    if (n < 0) n = 0;
    if (n > static_cast<int>(sizeof digits) - 1) n = sizeof digits - 1;

    // Pad to the width ourselves and cut at 255: the result never leaves its reservation.
    constexpr int kMax = 255;
    RtString result;
    char* out = result.ReserveBuffer(kMax + 1);
    int64_t absWidth = w < 0 ? -static_cast<int64_t>(w) : w;
    int64_t pad = absWidth > n ? absWidth - n : 0;
    int len = 0;
    auto put = [&](char c) {
        if (len < kMax) out[len++] = c;
    };
    if (w >= 0)
        for (int64_t i = 0; i < pad && len < kMax; ++i) put(' ');
    for (int i = 0; i < n && len < kMax; ++i) put(digits[i]);
    if (w < 0)
        for (int64_t i = 0; i < pad && len < kMax; ++i) put(' ');
    out[len] = '\0';
    result.RecomputeLength();
    return result;
}

RtString HexEncode(const void* bytes, double count) {
    RtString result;
    int64_t n = ToInt64(count);
    if (n <= 0 || !bytes) return result;
    static const char kDigits[] = "0123456789ABCDEF";
    char* out = result.ReserveBuffer(static_cast<uint64_t>(n) * 2);
    const unsigned char* b = static_cast<const unsigned char*>(bytes);
    for (int64_t i = 0; i < n; ++i) {
        out[2 * i] = kDigits[b[i] >> 4];
        out[2 * i + 1] = kDigits[b[i] & 15];
    }
    out[2 * n] = '\0';
    result.RecomputeLength();
    return result;
}
