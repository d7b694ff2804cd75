// RtArray: dimensioning, inline storage, capacity rounding, the range-tested index,
// re-dimensioning, push and fill, the list-growth rule and the refused sizes.
#include "core/rt_array.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/fatal.h"
#include "core/rt_alloc.h"
#include "corvane.h"

namespace {

class ArrayDeath : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST(RtArrayIndex, NegativeFirstIndexCountsFromTheEnd) {
    RtNumberArray a;
    ArrayDim(a, 10);
    for (int i = 0; i < 10; ++i) a(i) = i * 1.5;
    EXPECT_EQ(&a(-1), &a(9));
    EXPECT_EQ(a(-1), 13.5);
    EXPECT_EQ(a(-10), 0);
    EXPECT_EQ(&a(9.9), &a(9));  // indexes truncate toward zero
    EXPECT_EQ(&a(-0.5), &a(0));
    EXPECT_EQ(&a(NAN), &a(0));
    EXPECT_EQ(a.Dimensions(), 1);
}

TEST(RtArrayIndex, FirstIndexVariesFastest) {
    RtIntArray a;
    ArrayDim(a, 3, 2);
    EXPECT_EQ(&a(1, 1), a.Data() + 4);
    EXPECT_EQ(&a(2, 0), a.Data() + 2);
    EXPECT_EQ(&a(-1, 1), a.Data() + 5);
    EXPECT_EQ(a.Dimensions(), 2);
    RtNumberArray b;
    ArrayDim(b, 2, 3, 4, 5);
    EXPECT_EQ(b.Dimensions(), 4);
    EXPECT_EQ(&b(1, 2, 3, 4), b.Data() + 1 + 2 * 2 + 3 * 6 + 4 * 24);
    EXPECT_EQ(b.Count(), 120u);
}

TEST(RtArrayIndex, SkippedDimensionsStillGiveEveryElementItsOwnSlot) {
    RtNumberArray a;
    ArrayDim(a, 2, 0, 3);
    EXPECT_EQ(a.Dimensions(), 3);
    EXPECT_EQ(a.Count(), 6u);
    EXPECT_NE(&a(0, 0, 1), &a(0, 0, 0));
    EXPECT_EQ(&a(1, 0, 2), a.Data() + 5);
}

TEST_F(ArrayDeath, OutOfRangeIndexesAreError9) {
    EXPECT_EXIT(
        {
            RtNumberArray a;
            ArrayDim(a, 10);
            a(10);
        },
        ::testing::ExitedWithCode(9), "");
    EXPECT_EXIT(
        {
            RtNumberArray a;
            ArrayDim(a, 10);
            a(-11);
        },
        ::testing::ExitedWithCode(9), "");
    EXPECT_EXIT(
        {
            RtIntArray a;
            ArrayDim(a, 3, 2);
            a(0, 2);
        },
        ::testing::ExitedWithCode(9), "");
    EXPECT_EXIT(
        {
            RtIntArray a;
            ArrayDim(a, 3, 2);
            a(0, -1);  // only the first index may be negative
        },
        ::testing::ExitedWithCode(9), "");
    EXPECT_EXIT(
        {
            RtNumberArray a;
            a(0);  // never dimensioned
        },
        ::testing::ExitedWithCode(9), "");
}

TEST(RtArrayIndex, OutOfRangeReportNamesTheIndexAndTheSize) {
    const int32_t size[4] = {10, 5, 0, 0};
    struct Case {
        int64_t index[4];
        const int32_t* size;
        int dims;
        const char* text;
    } cases[] = {
        {{12, 0, 0, 0}, size, 1, "index 12, size 10"},
        {{-11, 0, 0, 0}, size, 1, "index -11, size 10"},
        {{0, 5, 0, 0}, size, 1, "index (0, 5), size 10"},  // a second index on a 1-D array
        {{3, 7, 0, 0}, size, 2, "index (3, 7), size 10 x 5"},
        {{0, 0, 0, 0}, nullptr, 0, "index 0 of an array that was never dimensioned"},
    };
    for (const Case& c : cases) EXPECT_EQ(RtArrayIndexText(c.index, c.size, c.dims), c.text);
}

TEST_F(ArrayDeath, OutOfRangeEndNamesTheCallersSourceLine) {
    // Without the runtime's handler the core exits with the code; its detail still reaches
    // the handler, which the runtime's end path prints.
    static std::string detail;
    CoreFatalHandlerSet([](int code, std::string_view d) {
        detail = d;
        std::fprintf(stderr, "%s\n", detail.c_str());
        std::exit(code);
    });
    RtNumberArray a;
    ArrayDim(a, 10);
    const int line = __LINE__ + 1;
    EXPECT_EXIT(a(12), ::testing::ExitedWithCode(9),
                "index 12, size 10, at .*rt_array_test.cpp:" + std::to_string(line));
    CoreFatalHandlerSet(nullptr);
}

TEST_F(ArrayDeath, IndexesInUnusedDimensionsMustBeZero) {
    EXPECT_EXIT(
        {
            RtNumberArray a;
            ArrayDim(a, 10);
            a(0, 5);
        },
        ::testing::ExitedWithCode(9), "");
    EXPECT_EXIT(
        {
            RtStringArray a;
            ArrayDim(a, 2, 0, 3);
            a(0, 1, 0);
        },
        ::testing::ExitedWithCode(9), "");
    EXPECT_EXIT(
        {
            RtNumberArray a;
            ArrayDim(a, 4, 4);
            a(0, 0, 0, 1);
        },
        ::testing::ExitedWithCode(9), "");
}

TEST_F(ArrayDeath, ZeroSizeLeavesNoDimensionAndEveryIndexFails) {
    RtNumberArray a;
    ArrayDim(a, 0);
    EXPECT_EQ(a.Dimensions(), 0);
    EXPECT_EQ(a.Count(), 0u);
    RtNumberArray b;
    ArrayDim(b, NAN, 3);
    EXPECT_EQ(b.Size(0), 0);
    EXPECT_EQ(b.Count(), 0u);
    EXPECT_EXIT(
        {
            RtNumberArray z;
            ArrayDim(z, 0);
            z(0);
        },
        ::testing::ExitedWithCode(9), "");
    EXPECT_EXIT(
        {
            RtNumberArray z;
            ArrayDim(z, -4);
            z(-1);
        },
        ::testing::ExitedWithCode(9), "");
}

TEST(RtArrayStorage, InlineUpToTheSlotLimitsWithoutAllocating) {
    uint64_t allocs = RtAllocCount();
    RtNumberArray n15;
    ArrayDim(n15, 15);
    EXPECT_TRUE(n15.UsesInlineStorage());
    EXPECT_EQ(n15.Capacity(), 16u);
    RtIntArray i7;
    ArrayDim(i7, 7);
    EXPECT_TRUE(i7.UsesInlineStorage());
    EXPECT_EQ(i7.Capacity(), 8u);
    RtNumberArray moved(std::move(n15));  // inline storage moves with the record
    EXPECT_TRUE(moved.UsesInlineStorage());
    EXPECT_EQ(RtAllocCount(), allocs);

    RtNumberArray n16;
    ArrayDim(n16, 16);
    EXPECT_FALSE(n16.UsesInlineStorage());
    EXPECT_EQ(n16.Capacity(), 24u);
    RtIntArray i8;
    ArrayDim(i8, 8);
    EXPECT_FALSE(i8.UsesInlineStorage());
    EXPECT_EQ(i8.Capacity(), 16u);
    RtStringArray s;
    ArrayDim(s, 1);
    EXPECT_FALSE(s.UsesInlineStorage());
    EXPECT_EQ(RtAllocCount(), allocs + 3);
}

TEST(RtArrayStorage, CapacityRoundingAndReuse) {
    RtNumberArray a;
    ArrayDim(a, 8);
    EXPECT_EQ(a.Capacity(), 16u);
    ArrayDim(a, 100);
    EXPECT_EQ(a.Capacity(), 104u);
    a(99) = 5;
    double* block = a.Data();
    uint64_t allocs = RtAllocCount();
    ArrayDim(a, 50);  // fits: the block is reused and zeroed
    EXPECT_EQ(a.Data(), block);
    EXPECT_EQ(a.Capacity(), 104u);
    EXPECT_EQ(RtAllocCount(), allocs);
    for (uint32_t i = 0; i < a.Capacity(); ++i) ASSERT_EQ(a.Data()[i], 0) << i;

    RtStringArray s;
    ArrayDim(s, 64);
    EXPECT_EQ(s.Capacity(), 128u);
    ArrayDim(s, 63);
    EXPECT_EQ(s.Capacity(), 128u);
    s(5) = "text";
    ArrayDim(s, 10);
    EXPECT_TRUE(s(5).Empty());
    EXPECT_TRUE(s(5).OwnsNoBuffer());
}

TEST(RtArrayStorage, NothingLeaks) {
    uint64_t allocs = RtAllocCount(), frees = RtFreeCount();
    {
        RtStringArray s;
        ArrayDim(s, 3, 2);
        s(2, 1) = "a string long enough to own a buffer";
        RtStringArray copy(s);
        EXPECT_EQ(copy(2, 1).Str(), s(2, 1).Str());
        EXPECT_NE(copy(2, 1).Text(), s(2, 1).Text());
        ArrayRedim(copy, 5);
        RtNumberArray n;
        ArrayDim(n, 1000);
        ArrayDim(n, 0);
    }
    EXPECT_EQ(RtAllocCount() - allocs, RtFreeCount() - frees);
}

TEST(RtArraySize, PerDimensionAndOutOfRange) {
    RtStringArray a;
    ArrayDim(a, 4, 3, 2);
    EXPECT_EQ(ArraySize(a, 0), 4);
    EXPECT_EQ(ArraySize(a, 1), 3);
    EXPECT_EQ(ArraySize(a, 2), 2);
    EXPECT_EQ(ArraySize(a, 3), 0);
    EXPECT_EQ(ArraySize(a, 4), 0);
    EXPECT_EQ(ArraySize(a, -1), 0);
    EXPECT_EQ(ArraySize(a, NAN), 4);  // NaN reads as dimension 0
    RtNumberArray b;
    ArrayDim(b, 10);
    EXPECT_EQ(ArraySize(b, 1), 0);
    ArrayDim(b, 10.7);
    EXPECT_EQ(ArraySize(b, 0), 10);
}

TEST(RtArrayRedim, KeepsCommonElements) {
    RtNumberArray a;
    ArrayFill(a, {1, 2, 3, 4, 5});
    ArrayRedim(a, 3);
    EXPECT_EQ(ArraySize(a, 0), 3);
    EXPECT_EQ(a(0), 1);
    EXPECT_EQ(a(2), 3);
    ArrayRedim(a, 8);
    ASSERT_EQ(ArraySize(a, 0), 8);
    EXPECT_EQ(a(2), 3);
    for (int i = 3; i < 8; ++i) EXPECT_EQ(a(i), 0);

    RtIntArray g;
    ArrayDim(g, 3, 2);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j) g(i, j) = 10 * i + j;
    ArrayRedim(g, 2, 3);
    EXPECT_EQ(g(0, 0), 0);
    EXPECT_EQ(g(1, 0), 10);
    EXPECT_EQ(g(1, 1), 11);
    EXPECT_EQ(g(0, 2), 0);  // new
    EXPECT_EQ(g.Dimensions(), 2);

    RtNumberArray undim;
    ArrayRedim(undim, 4);
    EXPECT_EQ(undim(3), 0);
}

TEST(RtArrayRedim, StringsKeepOnlyTheFirstTwoIndexes) {
    RtStringArray s;
    ArrayDim(s, 2, 2, 2);
    s(1, 1, 0) = "kept";
    s(1, 1, 1) = "dropped";
    s(0, 1, 0) = "also kept";
    ArrayRedim(s, 2, 2, 2);
    EXPECT_EQ(s(1, 1, 0).Str(), "kept");
    EXPECT_EQ(s(0, 1, 0).Str(), "also kept");
    EXPECT_TRUE(s(1, 1, 1).Empty());

    RtStringArray t;
    ArrayDim(t, 5);
    for (int i = 0; i < 5; ++i) t(i) = RtString(i);
    ArrayRedim(t, 3);
    EXPECT_EQ(t(2).Str(), "2");
    ArrayRedim(t, 8);
    EXPECT_EQ(t(1).Str(), "1");
    EXPECT_TRUE(t(7).Empty());
}

TEST_F(ArrayDeath, PushAppendsToOneDimensionalStringArrays) {
    RtStringArray s;
    ArrayPush(s, RtString("first"));
    EXPECT_EQ(ArraySize(s, 0), 1);
    EXPECT_EQ(s(0).Str(), "first");
    for (int i = 1; i < 70; ++i) ArrayPush(s, RtString(i));  // past the 64-slot block
    ASSERT_EQ(ArraySize(s, 0), 70);
    EXPECT_EQ(s(0).Str(), "first");
    EXPECT_EQ(s(63).Str(), "63");
    EXPECT_EQ(s(-1).Str(), "69");
    EXPECT_EQ(s.Capacity(), 128u);
    // Pushing one of the array's own elements while the storage moves.
    RtStringArray own;
    for (int i = 0; i < 63; ++i) ArrayPush(own, RtString("x"));
    own(0) = "zero";
    ArrayPush(own, own(0));
    ArrayPush(own, own(0));
    EXPECT_EQ(own(63).Str(), "zero");
    EXPECT_EQ(own(64).Str(), "zero");
    EXPECT_EXIT(
        {
            RtStringArray two;
            ArrayDim(two, 2, 2);
            ArrayPush(two, RtString("no"));
        },
        ::testing::ExitedWithCode(8), "");
}

TEST(RtArrayFill, DimensionsToTheCount) {
    RtIntArray i;
    ArrayFill(i, {4, 5, 6});
    EXPECT_EQ(ArraySize(i, 0), 3);
    EXPECT_EQ(i(-1), 6);
    const double values[] = {0.5, 1.5};
    RtNumberArray d;
    ArrayDim(d, 40);
    ArrayFill(d, 2, values);
    EXPECT_EQ(ArraySize(d, 0), 2);
    EXPECT_EQ(d(1), 1.5);
    ArrayFill(d, 0, values);
    EXPECT_EQ(d.Dimensions(), 0);
}

TEST_F(ArrayDeath, ElementCountsPastThirtyTwoBitsAreError7) {
    EXPECT_EXIT(
        {
            RtNumberArray a;
            ArrayDim(a, 65536, 65536);  // 2^32 wraps to 0 in 32 bits
        },
        ::testing::ExitedWithCode(7), "");
    EXPECT_EXIT(
        {
            RtIntArray a;
            ArrayDim(a, 2, 2147483647);  // fits, but the rounded slot count does not
        },
        ::testing::ExitedWithCode(7), "");
    EXPECT_EXIT(
        {
            RtStringArray a;
            ArrayDim(a, 1024, 1024, 1024, 1024);
        },
        ::testing::ExitedWithCode(7), "");
    EXPECT_EXIT(
        {
            RtNumberArray a;
            ArrayRedim(a, 1e10, 1e10);  // saturated to 2^31 - 1 each, product refused
        },
        ::testing::ExitedWithCode(7), "");
}

TEST_F(ArrayDeath, ListGrowthRule) {
    EXPECT_EQ(ListGrowCapacity(0, 0, 16, 8), 8u);
    EXPECT_EQ(ListGrowCapacity(5, 8, 16, 8), 8u);     // 6 < 8: no growth
    EXPECT_EQ(ListGrowCapacity(7, 8, 16, 8), 8u);     // 8 >= 8: grows, to the minimum
    EXPECT_EQ(ListGrowCapacity(8, 8, 16, 8), 16u);    // 16 x (9 / 16 + 1)
    EXPECT_EQ(ListGrowCapacity(16, 16, 16, 8), 32u);  // 16 x (17 / 16 + 1)
    EXPECT_EQ(ListGrowCapacity(0, 0, kIniPairGrowth.step, kIniPairGrowth.minimum), 512u);
    EXPECT_EQ(ListGrowCapacity(100, 512, 128, 512), 512u);
    EXPECT_EQ(ListGrowCapacity(512, 512, 128, 512), 640u);
    EXPECT_EQ(ListGrowCapacity(640, 640, 128, 512), 768u);
    EXPECT_EQ(ListGrowCapacity(31, 32, 32, 32), 32u);
    EXPECT_EQ(ListGrowCapacity(32, 32, 32, 32), 64u);
    EXPECT_EXIT(ListGrowCapacity(0xFFFFFFFEu, 0xFFFFFFFFu, 128, 512), ::testing::ExitedWithCode(7),
                "");
}

}  // namespace
