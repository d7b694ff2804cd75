#include "net/http_rules.h"

#include <cctype>
#include <string_view>

namespace {
bool SafeText(const std::string& s) {
    if (s.empty()) return false;
    for (unsigned char c : s)
        if (c <= 0x20 || c == 0x7F) return false;
    return true;
}
}  // namespace

bool HttpRequestText(const std::string& host, const std::string& path, std::string& out) {
    if (!SafeText(host) || !SafeText(path)) return false;
    out = "GET " + path + " HTTP/1.0\r\nHost:" + host +
          "\r\nAccept: */*\r\nUser-Agent: Corvane game\r\n\r\n";
    return true;
}

size_t HttpHeaderSkip::Feed(const char* block, size_t n) {
    if (done_) return 0;
    const size_t end = Scan(block, n);
    if (headerCut_ || header_.size() + end > kHeaderKeptBytes) {
        headerCut_ = true;
        header_.clear();
    } else {
        header_.append(block, end);
    }
    return end;
}

size_t HttpHeaderSkip::Scan(const char* block, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        const char c = block[i];
        if (c == '\r') continue;
        if (c != '\n') {
            lineFeeds_ = 0;
            continue;
        }
        if (++lineFeeds_ == 2) {
            done_ = true;
            return i + 1;
        }
    }
    return n;
}

bool HttpHeaderSkip::ContentLength(int64_t& length) const {
    if (!done_ || headerCut_) return false;
    static const char kName[] = "content-length:";
    size_t line = 0;
    while (line < header_.size()) {
        size_t next = header_.find('\n', line);
        if (next == std::string::npos) next = header_.size();
        const std::string_view text(header_.data() + line, next - line);
        line = next + 1;
        if (text.size() < sizeof kName - 1) continue;
        bool named = true;
        for (size_t i = 0; i + 1 < sizeof kName && named; ++i)
            named = std::tolower(static_cast<unsigned char>(text[i])) == kName[i];
        if (!named) continue;
        size_t at = sizeof kName - 1;
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
        int64_t v = 0;
        size_t digits = 0;
        for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, ++digits) {
            if (v > (INT64_MAX - 9) / 10) return false;
            v = v * 10 + (text[at] - '0');
        }
        if (digits == 0) return false;
        length = v;
        return true;
    }
    return false;
}
