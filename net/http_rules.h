// The HTTP fetch's pure parts: the request text and the skip over the response header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The HTTP/1.0 GET for path on host. False (out untouched) when either is empty or holds a
// blank, CR, LF or any other control character: such text would change the request itself.
bool HttpRequestText(const std::string& host, const std::string& path, std::string& out);

// Finds the end of the response header across blocks: carriage returns are ignored, a line
// feed counts one, any other byte resets the count; at two (an empty line) the body starts.
class HttpHeaderSkip {
public:
    // The offset in this block where the body starts: n while the header goes on, 0 for
    // every block after the header's end.
    size_t Feed(const char* block, size_t n);
    bool Done() const { return done_; }
    // The body length the header announced (Content-Length), once the header has ended;
    // false when it named none or held more than kHeaderKeptBytes.
    bool ContentLength(int64_t& length) const;

    static constexpr size_t kHeaderKeptBytes = 16384;

private:
    size_t Scan(const char* block, size_t n);
    int lineFeeds_ = 0;
    bool done_ = false;
    std::string header_;  // kept to read the announced length from
    bool headerCut_ = false;
};
