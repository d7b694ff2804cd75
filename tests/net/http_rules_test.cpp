// The fetch's request text and the skip over the response header.
#include "net/http_rules.h"

#include <gtest/gtest.h>

TEST(WebRequest, IsTheHttp10GetWithTheTextAsGiven) {
    std::string r;
    ASSERT_TRUE(HttpRequestText("example.test", "/maps/a%20b.txt?x=1", r));
    EXPECT_EQ(r,
              "GET /maps/a%20b.txt?x=1 HTTP/1.0\r\nHost:example.test\r\nAccept: */*\r\n"
              "User-Agent: Corvane game\r\n\r\n");
}

TEST(WebRequest, RefusesTextThatWouldChangeTheRequest) {
    const std::pair<std::string, std::string> refused[] = {
        {"host", "/a\r\nX-Evil: 1"},
        {"host", "/a\nb"},
        {"host", "/a b"},
        {"host", "/a\tb"},
        {"host", std::string("/a\0b", 4)},
        {"host", "/a\x7f"},
        {"host", "/a\x01"},
        {"ho st", "/a"},
        {"host\r\n", "/a"},
        {"", "/a"},
        {"host", ""},
    };
    for (const auto& [host, path] : refused) {
        std::string r = "untouched";
        EXPECT_FALSE(HttpRequestText(host, path, r)) << host << " " << path;
        EXPECT_EQ(r, "untouched");
    }
}

namespace {
// The body bytes a whole answer gives when cut into blocks at the given points.
std::string BodyOf(const std::string& answer, const std::vector<size_t>& cuts) {
    HttpHeaderSkip skip;
    std::string body;
    size_t from = 0;
    std::vector<size_t> ends = cuts;
    ends.push_back(answer.size());
    for (size_t end : ends) {
        const size_t at = skip.Feed(answer.data() + from, end - from);
        body.append(answer, from + at, end - from - at);
        from = end;
    }
    return skip.Done() ? body : "<header not ended>";
}
}  // namespace

TEST(WebHeaderSkip, FindsTheEmptyLineWhereverTheBlocksSplitIt) {
    const std::string answer = "HTTP/1.0 200 OK\r\nContent-Type: x\r\n\r\n\r\nbody\r\n\r\nend";
    const std::string body = "\r\nbody\r\n\r\nend";
    for (size_t cut = 0; cut <= answer.size(); ++cut)
        EXPECT_EQ(BodyOf(answer, {cut}), body) << "cut at " << cut;
    // Every block one byte long.
    std::vector<size_t> cuts;
    for (size_t i = 1; i < answer.size(); ++i) cuts.push_back(i);
    EXPECT_EQ(BodyOf(answer, cuts), body);
}

TEST(WebHeaderSkip, CountsLineFeedsIgnoringCarriageReturns) {
    EXPECT_EQ(BodyOf("H\n\nbody", {}), "body");
    EXPECT_EQ(BodyOf("H\r\r\n\r\r\nbody", {}), "body");
    EXPECT_EQ(BodyOf("H\r\nX\r\n", {}), "<header not ended>");
    EXPECT_EQ(BodyOf("H\r\n\r\n", {}), "");
    EXPECT_EQ(BodyOf("\n\n", {1}), "");
}

TEST(WebHeaderSkip, ReadsTheAnnouncedBodyLengthFromTheWholeHeader) {
    const std::pair<std::string, int64_t> cases[] = {
        {"HTTP/1.0 200 OK\r\nContent-Length: 1048576\r\n\r\n", 1048576},
        {"HTTP/1.0 200 OK\r\ncontent-length:7\r\nX: y\r\n\r\n", 7},
        {"HTTP/1.0 200 OK\r\nCONTENT-LENGTH: \t0\r\n\r\n", 0},
        {"HTTP/1.0 200 OK\r\nX-Content-Length: 5\r\n\r\n", -1},
        {"HTTP/1.0 200 OK\r\nContent-Length: many\r\n\r\n", -1},
        {"HTTP/1.0 200 OK\r\nContent-Length: 99999999999999999999999\r\n\r\n", -1},
        {"HTTP/1.0 200 OK\r\n\r\nContent-Length: 5\r\n\r\n", -1},  // that is the body
    };
    for (const auto& [answer, length] : cases) {
        for (size_t cut : {size_t(0), size_t(20), answer.size() / 2}) {
            HttpHeaderSkip skip;
            skip.Feed(answer.data(), cut);
            skip.Feed(answer.data() + cut, answer.size() - cut);
            int64_t got = -1;
            EXPECT_EQ(skip.ContentLength(got), length >= 0) << answer << " cut " << cut;
            if (length >= 0) {
                EXPECT_EQ(got, length) << answer;
            }
        }
    }
    // Before the header's end, or past what is kept of it, there is no length to give.
    HttpHeaderSkip open;
    open.Feed("HTTP/1.0 200 OK\r\nContent-Length: 3\r\n", 36);
    int64_t got = 0;
    EXPECT_FALSE(open.ContentLength(got));
    HttpHeaderSkip huge;
    const std::string filler = "X: " + std::string(HttpHeaderSkip::kHeaderKeptBytes, 'x') + "\r\n";
    huge.Feed("Content-Length: 3\r\n", 19);
    huge.Feed(filler.data(), filler.size());
    huge.Feed("\r\n", 2);
    EXPECT_TRUE(huge.Done());
    EXPECT_FALSE(huge.ContentLength(got));
}
