// RtString: the shared empty text, the growth rule, byte-exact copies, self-appends,
// concatenation, comparison and buffer access.
#include "core/rt_string.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "core/rt_alloc.h"

namespace {

using namespace std::string_literals;

RtString Bytes(const std::string& s) {
    return RtString(std::string_view(s));
}

TEST(RtStringEmpty, OwnsNothingAndNeverAllocates) {
    uint64_t allocs = RtAllocCount(), frees = RtFreeCount();
    {
        RtString a;
        RtString b("");
        RtString c(a);
        RtString d = a + b;
        RtString e = std::move(c);
        a = "";
        b = a;
        a += "";
        a += b;
        for (const RtString* s : {&a, &b, &c, &d, &e}) {
            EXPECT_TRUE(s->OwnsNoBuffer());
            EXPECT_EQ(s->Length(), 0u);
            EXPECT_EQ(s->Text(), RtString::EmptyText());
        }
    }
    EXPECT_EQ(RtAllocCount(), allocs);
    EXPECT_EQ(RtFreeCount(), frees);
}

TEST(RtStringEmpty, BlocksAreFreedOnceAndClearReturnsToTheSharedText) {
    uint64_t frees = RtFreeCount();
    {
        RtString s("hello");
        RtString t(s);
        EXPECT_NE(s.Text(), t.Text());  // copies never share buffers
        s.Clear();
        EXPECT_TRUE(s.OwnsNoBuffer());
        EXPECT_EQ(s.Text(), RtString::EmptyText());
        EXPECT_EQ(RtFreeCount(), frees + 1);
    }
    EXPECT_EQ(RtFreeCount(), frees + 2);
}

TEST(RtStringGrowth, StepsOfSixteen) {
    RtString s;
    s.Reserve(15);
    EXPECT_EQ(s.Capacity(), 16u);
    RtString t;
    t.Reserve(16);
    EXPECT_EQ(t.Capacity(), 32u);
    t.Reserve(31);
    EXPECT_EQ(t.Capacity(), 32u);  // 31 < 32: nothing happens
    t.Reserve(32);
    EXPECT_EQ(t.Capacity(), 48u);
    EXPECT_EQ(RtString("0123456789abcde").Capacity(), 16u);
    EXPECT_EQ(RtString("0123456789abcdef").Capacity(), 32u);
    EXPECT_EQ(RtString(5).Capacity(), 80u);  // numbers reserve 64
    EXPECT_EQ(RtString(2.5).Capacity(), 80u);
    // Appending one byte at a time reallocates every 16 bytes.
    RtString grow;
    uint64_t allocs = RtAllocCount();
    for (int i = 0; i < 64; ++i) grow.AppendChar('x');
    EXPECT_EQ(RtAllocCount() - allocs, 5u);  // at 1, 16, 32, 48 and 64 bytes
    EXPECT_EQ(grow.Capacity(), 80u);
}

TEST(RtStringGrowth, KeepsZeroBytesInsideTheLength) {
    RtString s = Bytes("ab\0cd"s);
    s += "0123456789abcdefghij";  // grows past 16
    EXPECT_EQ(s.Str(), "ab\0cd0123456789abcdefghij"s);
    s.Reserve(200);
    EXPECT_EQ(s.Str(), "ab\0cd0123456789abcdefghij"s);
    RtString copy(s);
    EXPECT_EQ(copy.Str(), s.Str());
    RtString joined = s + Bytes("\0z"s);
    EXPECT_EQ(joined.Str(), "ab\0cd0123456789abcdefghij\0z"s);
}

TEST(RtStringGrowth, SizesPastThirtyTwoBitsAreRefused) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            RtString s;
            s.Reserve(0xFFFFFFF0u);  // rounds up to 2^32
        },
        ::testing::ExitedWithCode(7), "");
    EXPECT_EXIT(
        {
            RtString s("x");
            s.ReserveBuffer(1ull << 40);
        },
        ::testing::ExitedWithCode(7), "");
}

TEST(RtStringAppend, SelfAppendsAreSafeWhileTheBufferMoves) {
    RtString s("ab");
    s += s;
    EXPECT_EQ(s.Str(), "abab");
    RtString t("0123456789abcde");  // capacity 16, full
    t += t.Text();                  // text inside the buffer that is about to move
    EXPECT_EQ(t.Str(), "0123456789abcde0123456789abcde");
    RtString u("0123456789abcde");
    u.Append(u.Text() + 5, 10);
    EXPECT_EQ(u.Str(), "0123456789abcde56789abcde");
    RtString v("0123456789abcdef0123456789abcd");  // 30 bytes, capacity 32
    v += v;
    EXPECT_EQ(v.Str(), "0123456789abcdef0123456789abcd0123456789abcdef0123456789abcd");
    RtString w("abcdef");
    w = w.Text() + 2;  // assigning a tail of its own text
    EXPECT_EQ(w.Str(), "cdef");
}

TEST(RtStringConcat, LeftOperandFirstNumbersAsConstructed) {
    RtString abc("abc");
    EXPECT_EQ((abc + 5).Str(), "abc5");
    EXPECT_EQ((2.5 + RtString("x")).Str(), "2.5x");
    EXPECT_EQ((0.1f + RtString("x")).Str(), "0.1000000015x");
    EXPECT_EQ((7 + RtString("a")).Str(), "7a");
    EXPECT_EQ((RtString("a") + 1e20).Str(), "a1.e+020");
    EXPECT_EQ((RtString("a") + -0.05).Str(), "a-5.e-002");
    EXPECT_EQ(("x" + abc).Str(), "xabc");
    EXPECT_EQ((abc + "y" + abc).Str(), "abcyabc");
    EXPECT_EQ(abc.Str(), "abc");  // operands unchanged
    RtString n;
    n += 12;
    n += 0.5;
    n += 1.5f;
    EXPECT_EQ(n.Str(), "120.51.5");
    RtString assigned("long enough text to own a buffer");
    assigned = -7;
    EXPECT_EQ(assigned.Str(), "-7");
    assigned = 1e-5;
    EXPECT_EQ(assigned.Str(), "1.e-005");
}

TEST(RtStringCompare, TextIsByteOrderNumbersAreNumeric) {
    RtString ten("10");
    EXPECT_TRUE(ten > 9);               // numeric
    EXPECT_FALSE(ten > "9");            // byte order
    EXPECT_FALSE(ten > RtString("9"));  // byte order
    EXPECT_TRUE(9 < ten);               // number on the left
    EXPECT_TRUE(RtString("abc") == "abc");
    EXPECT_TRUE(RtString("abc") == RtString("abc"));
    EXPECT_TRUE(RtString("abc") < "abd");
    EXPECT_TRUE(RtString("abc") > RtString("ab"));
    EXPECT_TRUE(RtString("abc") != RtString("abC"));
    EXPECT_TRUE(RtString("\xe9") > "a");  // bytes compare unsigned
    EXPECT_LT(RtString("abc").Compare("abd"), 0);
    EXPECT_GT(RtString("b").Compare("abd"), 0);
    EXPECT_EQ(RtString("abc").Compare("abc"), 0);
    // Equality of two strings compares the lengths first: zero bytes inside count.
    EXPECT_FALSE(RtString("a") == Bytes("a\0"s));
    EXPECT_FALSE(Bytes("a\0b"s) == Bytes("a\0c"s));
    // Against reals: atof of the text; a float is widened before comparing.
    EXPECT_TRUE(RtString("2.5") == 2.5);
    EXPECT_TRUE(RtString("abc") == 0.0);
    EXPECT_TRUE(RtString(" 3e2xyz") >= 300.0);
    EXPECT_TRUE(RtString("0.1") != 0.1f);
    EXPECT_TRUE(RtString("0.1000000015") > 0.1f);
    EXPECT_TRUE(0.5 < RtString("0.75"));
    EXPECT_FALSE(RtString("1") < std::nan(""));
    EXPECT_FALSE(RtString("1") >= std::nan(""));
    // Against integers: atoi, so the fraction is not read.
    EXPECT_TRUE(RtString("3.9") == 3);
    EXPECT_TRUE(RtString("-12x") < -11);
    EXPECT_EQ(RtString("2").Compare(3.0), -1);
    EXPECT_EQ(RtString("4").Compare(3.0), 1);
    EXPECT_EQ(RtString("3.0").Compare(3.0), 0);
    EXPECT_EQ(RtString("7").Compare(9), -1);
    EXPECT_EQ(RtString("7.9").Compare(7), 0);
}

TEST(RtStringConvert, OutTextLengthAndNumbers) {
    EXPECT_EQ(RtString(" 12abc").ToDouble(), 12);
    EXPECT_EQ(RtString("1e3").ToDouble(), 1000);
    EXPECT_EQ(RtString("1e3").ToInt(), 1);
    EXPECT_EQ(RtString().ToInt(), 0);
    RtString s("abc");
    EXPECT_STREQ(s.Text(), "abc");
    EXPECT_EQ(s.Length(), 3u);
    RtString nul(static_cast<const char*>(nullptr));
    EXPECT_TRUE(nul.Empty());
}

TEST(RtStringBuffer, RecomputeTruncateAndCharacters) {
    RtString s;
    char* b = s.ReserveBuffer(20);
    EXPECT_EQ(s.Length(), 0u);
    std::strcpy(b, "hey");
    s.RecomputeLength();
    EXPECT_EQ(s.Str(), "hey");
    std::memset(b, 'x', s.Capacity());  // a writer that filled every byte
    s.RecomputeLength();
    EXPECT_EQ(s.Length(), s.Capacity() - 1);
    EXPECT_EQ(s.Text()[s.Length()], '\0');
    s.TruncateAt(2);
    EXPECT_EQ(s.Str(), "xx");
    s.TruncateAt(0);
    EXPECT_EQ(s.Length(), 0u);
    RtString empty;
    empty.TruncateAt(0);  // the shared text is never written
    empty.RecomputeLength();
    EXPECT_EQ(empty.Length(), 0u);

    RtString e("\xe9z");
    EXPECT_EQ(e.CharAt(0), -23);
    EXPECT_EQ(e.CharAt(1), 'z');
    EXPECT_EQ(RtString().CharAt(5), 0);
    e.SetCharAt(1, 'q');
    EXPECT_EQ(e.Str(), "\xe9q");
}

TEST(RtStringBuffer, TrimTrailingControlCharacters) {
    RtString crlf("abc\r\n");
    crlf.TrimTrailingControl();
    EXPECT_EQ(crlf.Str(), "abc");
    RtString high("abc\xe9");
    high.TrimTrailingControl();
    EXPECT_EQ(high.Str(), "abc");
    RtString only("\t\r\n\x01");
    only.TrimTrailingControl();
    EXPECT_EQ(only.Length(), 0u);
    RtString inner("a\tb ");
    inner.TrimTrailingControl();
    EXPECT_EQ(inner.Str(), "a\tb ");  // space is 32
    RtString none;
    none.TrimTrailingControl();
    EXPECT_TRUE(none.OwnsNoBuffer());
}

TEST(RtStringMove, SourceReturnsToTheEmptyText) {
    RtString a("moving text");
    const char* block = a.Text();
    RtString b(std::move(a));
    EXPECT_EQ(b.Text(), block);
    EXPECT_TRUE(a.OwnsNoBuffer());
    RtString c("other");
    c = std::move(b);
    EXPECT_EQ(c.Str(), "moving text");
    EXPECT_TRUE(b.OwnsNoBuffer());
}

TEST(ByteSets, FirstInAndNotInSet) {
    EXPECT_EQ(FindFirstInSet("key=value", "=:"), 3);
    EXPECT_EQ(FindFirstInSet("keyvalue", "=:"), -1);
    EXPECT_EQ(FindFirstInSet("", "="), -1);
    EXPECT_EQ(FindFirstNotInSet("  \tx", " \t"), 3);
    EXPECT_EQ(FindFirstNotInSet("   ", " "), -1);
    EXPECT_EQ(FindFirstNotInSet("abc", ""), 0);
}

}  // namespace
