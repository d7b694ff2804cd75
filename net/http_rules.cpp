#include "net/http_rules.h"

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
