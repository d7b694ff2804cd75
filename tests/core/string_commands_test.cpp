// The string commands: StringLength, StringMid, StringFind, StringReplace, case, codes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/ascii.h"
#include "corvane.h"

namespace {

using namespace std::string_literals;

TEST(StringLengthCommand, TextAndNumbers) {
    EXPECT_EQ(StringLength(RtString("hello")), 5);
    EXPECT_EQ(StringLength(RtString(std::string_view("a\0b", 3))), 3);
    EXPECT_EQ(StringLength(1e20), 7);  // "1.e+020"
    EXPECT_EQ(StringLength(-3.0), 2);
    EXPECT_EQ(StringLength(1.0 / 3), 12);
}

TEST(StringMidCommand, CountPositionAndEnds) {
    RtString hello("hello");
    EXPECT_EQ(StringMid(hello, 1, 3).Str(), "ell");
    EXPECT_EQ(StringMid(hello, 1, -1).Str(), "ello");
    EXPECT_EQ(StringMid(hello, 0, 5).Str(), "hello");
    EXPECT_EQ(StringMid(hello, 3, 10).Str(), "lo");
    EXPECT_TRUE(StringMid(hello, 5, -1).Empty());
    EXPECT_TRUE(StringMid(hello, 6, -1).Empty());
    EXPECT_TRUE(StringMid(hello, 1, 0).Empty());
    EXPECT_TRUE(StringMid(hello, -1, 3).Empty());
    EXPECT_TRUE(StringMid(RtString(), 0, -1).Empty());
    EXPECT_EQ(StringMid(hello, 1.9, 2.9).Str(), "el");  // truncated toward zero
    // A count near the top of the integer range must not overflow position + count.
    EXPECT_EQ(StringMid(hello, 2, 2147483647).Str(), "llo");
    EXPECT_EQ(StringMid(hello, 2, 1e12).Str(), "llo");
    EXPECT_TRUE(StringMid(hello, 2147483647, 2147483647).Empty());
    EXPECT_TRUE(StringMid(hello, -2147483648.0, 2147483647).Empty());
    EXPECT_EQ(StringMid(hello, NAN, NAN).Str(), "");
    EXPECT_EQ(StringMid(RtString(std::string_view("a\0bc", 4)), 1, 2).Str(), "\0b"s);
}

TEST(StringFindCommand, StartSkipsAndEmptyNeedle) {
    RtString hay("abcabc");
    EXPECT_EQ(StringFind(hay, RtString("c"), 3), 5);
    EXPECT_EQ(StringFind(hay, RtString("c"), 0), 2);
    EXPECT_EQ(StringFind(hay, RtString("c"), 6), -1);
    EXPECT_EQ(StringFind(hay, RtString(""), 2), 2);
    EXPECT_EQ(StringFind(hay, RtString(""), 6), 6);
    EXPECT_EQ(StringFind(hay, RtString("c"), 7), -1);
    EXPECT_EQ(StringFind(hay, RtString(""), 7), -1);
    EXPECT_EQ(StringFind(hay, RtString("abd"), 0), -1);
    EXPECT_EQ(StringFind(hay, RtString("cabc"), 1), 2);
    EXPECT_EQ(StringFind(hay, RtString("abcabcd"), 0), -1);
    // A negative start searches the whole text.
    EXPECT_EQ(StringFind(hay, RtString("a"), -5), 0);
    EXPECT_EQ(StringFind(hay, RtString("a"), -2147483648.0), 0);
    EXPECT_EQ(StringFind(hay, RtString("b"), NAN), 1);
    EXPECT_EQ(StringFind(hay, RtString("b"), 1e30), -1);
    // Every pairing of plain text and RtString.
    EXPECT_EQ(StringFind("abcabc", "bc", 2), 4);
    EXPECT_EQ(StringFind(hay, "bc", 2), 4);
    EXPECT_EQ(StringFind("abcabc", RtString("bc"), 2), 4);
    EXPECT_EQ(StringFind(nullptr, "", 0), 0);
}

TEST(StringReplaceCommand, ScansOnAfterEachReplacement) {
    EXPECT_EQ(StringReplace(RtString("aaaa"), RtString("aa"), RtString("aaa")).Str(), "aaaaaa");
    EXPECT_EQ(StringReplace(RtString("banana"), RtString("a"), RtString("")).Str(), "bnn");
    EXPECT_EQ(StringReplace(RtString("aa"), RtString("a"), RtString("aa")).Str(), "aaaa");
    EXPECT_EQ(StringReplace(RtString("x.y.z"), RtString("."), RtString("::")).Str(), "x::y::z");
    EXPECT_EQ(StringReplace(RtString("abc"), RtString("abcd"), RtString("q")).Str(), "abc");
    EXPECT_EQ(StringReplace(RtString("abc"), RtString("abc"), RtString("")).Str(), "");
    // An empty search text leaves the text as it is.
    EXPECT_EQ(StringReplace(RtString("abc"), RtString(""), RtString("x")).Str(), "abc");
    RtString s("one two");
    EXPECT_EQ(StringReplace(s, RtString("o"), s).Str(), "one twone twone two");
}

TEST(StringCaseAndCodes, AsciiOnly) {
    RtString mixed("AbC\xc9z-9");
    EXPECT_EQ(StringLower(mixed).Str(), "abc\xc9z-9");
    EXPECT_EQ(StringUpper(mixed).Str(), "ABC\xc9Z-9");
    EXPECT_EQ(mixed.Str(), "AbC\xc9z-9");
    EXPECT_EQ(StringLower(RtString("@[`{")).Str(), "@[`{");
    EXPECT_EQ(StringUpper(RtString("@[`{")).Str(), "@[`{");

    EXPECT_EQ(StringCode(RtString("\xe9x")), 233);
    EXPECT_EQ(StringCode(RtString("A")), 65);
    EXPECT_EQ(StringCode(RtString()), 0);
    EXPECT_TRUE(StringChar(0).Empty());
    EXPECT_EQ(StringChar(321).Str(), "A");
    EXPECT_EQ(StringChar(65.7).Str(), "A");
    EXPECT_EQ(StringChar(233).Str(), "\xe9");
    EXPECT_TRUE(StringChar(256).Empty());  // low byte zero
    EXPECT_EQ(StringChar(-191).Str(), "A");
    EXPECT_TRUE(StringChar(NAN).Empty());
    EXPECT_EQ(StringChar(65).Length(), 1u);
}

}  // namespace

// The one case folding: letters only, bytes next to the letter ranges and high bytes stay.
TEST(AsciiFolding, OnlyLettersFold) {
    struct Case {
        char in, lower, upper;
    };
    for (const Case& c : {Case{'A', 'a', 'A'}, Case{'z', 'z', 'Z'}, Case{'@', '@', '@'},
                          Case{'[', '[', '['}, Case{'`', '`', '`'}, Case{'{', '{', '{'},
                          Case{'\xc9', '\xc9', '\xc9'}, Case{'\xe9', '\xe9', '\xe9'}}) {
        EXPECT_EQ(AsciiLower(c.in), c.lower) << int(c.in);
        EXPECT_EQ(AsciiUpper(c.in), c.upper) << int(c.in);
    }
    EXPECT_TRUE(AsciiEqualFolded("Media/A.PNG", "media/a.png"));
    EXPECT_FALSE(AsciiEqualFolded("a@", "A`"));
    EXPECT_FALSE(AsciiEqualFolded("abc", "abcd"));
    EXPECT_EQ(AsciiLowered("GlExt:X\xc9"), "glext:x\xc9");
    EXPECT_EQ(AsciiUppered("glext:x\xe9"), "GLEXT:X\xe9");
}
