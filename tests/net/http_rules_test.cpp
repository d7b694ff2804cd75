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
