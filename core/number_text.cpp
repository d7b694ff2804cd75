#include "core/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/int_convert.h"

int FormatInt(int32_t v, char* out) {
    auto r = std::to_chars(out, out + kNumberTextMax - 1, v);
    *r.ptr = '\0';
    return static_cast<int>(r.ptr - out);
}

namespace {
int Put(char* out, const char* text) {
    size_t n = std::strlen(text);
    std::memcpy(out, text, n + 1);
    return static_cast<int>(n);
}
}  // namespace

int FormatReal(double v, char* out) {
    if (std::isnan(v)) return Put(out, "nan");
    if (std::isinf(v)) return Put(out, v < 0 ? "-inf" : "inf");
    if (v == 0) return Put(out, "0");  // negative zero prints as zero too

    // Exact decimal rounding to 10 significant digits: "d.ddddddddde[+-]xx".
    char sci[40];
    auto r = std::to_chars(sci, sci + sizeof sci - 1, v, std::chars_format::scientific, 9);
    *r.ptr = '\0';
    const char* p = sci;
    bool negative = *p == '-';
    if (negative) ++p;
    char digits[10];
    digits[0] = p[0];
    std::memcpy(digits + 1, p + 2, 9);
    int exponent = std::atoi(p + 12);

    // Significant digits without trailing zeros (at least one).
    int count = 10;
    while (count > 1 && digits[count - 1] == '0') --count;

    char* o = out;
    if (negative) *o++ = '-';
    if (exponent < -1 || exponent > 9) {
        *o++ = digits[0];
        *o++ = '.';  // stays even when no digit follows
        for (int i = 1; i < count; ++i) *o++ = digits[i];
        *o++ = 'e';
        *o++ = exponent < 0 ? '-' : '+';
        int e = exponent < 0 ? -exponent : exponent;
        // Double exponents stay below 1000: always exactly three digits.
        *o++ = static_cast<char>('0' + e / 100);
        *o++ = static_cast<char>('0' + e / 10 % 10);
        *o++ = static_cast<char>('0' + e % 10);
    } else if (exponent == -1) {
        *o++ = '0';
        *o++ = '.';
        for (int i = 0; i < count; ++i) *o++ = digits[i];
    } else {
        int whole = exponent + 1;  // 1..10 digits before the point
        for (int i = 0; i < whole; ++i) *o++ = digits[i];
        if (count > whole) {
            *o++ = '.';
            for (int i = whole; i < count; ++i) *o++ = digits[i];
        }
    }
    *o = '\0';
    return static_cast<int>(o - out);
}

namespace {
bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
}  // namespace

double ParseReal(const char* text) {
    if (!text) return 0;
    const char* p = text;
    while (IsSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    const char* start = p;
    int intDigits = 0, fracDigits = 0;
    while (IsDigit(*p)) ++p, ++intDigits;
    const char* intEnd = p;
    if (*p == '.') {
        const char* q = p + 1;
        while (IsDigit(*q)) ++q, ++fracDigits;
        if (intDigits || fracDigits) p = q;
    }
    if (!intDigits && !fracDigits) return 0;
    long exponent = 0;
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        bool expNegative = false;
        if (*q == '+' || *q == '-') expNegative = *q++ == '-';
        if (IsDigit(*q)) {
            while (IsDigit(*q)) {
                if (exponent < 100000) exponent = exponent * 10 + (*q - '0');
                ++q;
            }
            if (expNegative) exponent = -exponent;
            p = q;
        }
    }
    double value = 0;
    auto r = std::from_chars(start, p, value, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        // Decide overflow or underflow from the position of the first non-zero digit.
        long lead = 0;
        const char* d = start;
        while (d < intEnd && *d == '0') ++d;
        if (d < intEnd) {
            lead = static_cast<long>(intEnd - d) - 1;
        } else {
            const char* f = intEnd + 1;
            long zeros = 0;
            while (IsDigit(*f) && *f == '0') ++f, ++zeros;
            lead = IsDigit(*f) ? -(zeros + 1) : -100000;
        }
        value = lead + exponent > 0 ? HUGE_VAL : 0.0;
    }
    return negative ? -value : value;
}

int32_t ParseInt(const char* text) {
    if (!text) return 0;
    const char* p = text;
    while (IsSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    int64_t v = 0;
    while (IsDigit(*p)) {
        if (v <= 2147483648LL) v = v * 10 + (*p - '0');
        ++p;
    }
    if (negative) v = -v;
    if (v > 2147483647LL) return 2147483647;
    if (v < -2147483648LL) return -2147483647 - 1;
    return static_cast<int32_t>(v);
}
