#include "path/fixed_deque.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> Contents(const FixedDeque<int>& d) {
    std::vector<int> v;
    for (size_t i = 0; i < d.Size(); ++i) v.push_back(d.At(i));
    return v;
}

TEST(FixedDeque, EndsWrapAroundTheRing) {
    FixedDeque<int> d;
    ASSERT_TRUE(d.Setup(4));
    EXPECT_TRUE(d.Empty());
    EXPECT_TRUE(d.PushBack(1));
    EXPECT_TRUE(d.PushFront(0));  // head wraps to the last slot
    EXPECT_TRUE(d.PushBack(2));
    EXPECT_TRUE(d.PushBack(3));
    EXPECT_TRUE(d.Full());
    EXPECT_EQ(Contents(d), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_FALSE(d.PushBack(9));
    EXPECT_FALSE(d.PushFront(9));
    EXPECT_FALSE(d.Insert(1, 9));
    EXPECT_EQ(d.Back(), 3);
    d.PopFront();
    d.PopBack();
    EXPECT_EQ(Contents(d), (std::vector<int>{1, 2}));
    EXPECT_TRUE(d.PushBack(4));
    EXPECT_TRUE(d.PushBack(5));  // tail wraps
    EXPECT_EQ(Contents(d), (std::vector<int>{1, 2, 4, 5}));
    d.PopBack();
    d.PopBack();
    d.PopBack();
    d.PopBack();
    EXPECT_TRUE(d.Empty());
    EXPECT_EQ(d.Size(), 0u);
    d.PopBack();  // popping an empty deque is harmless
    EXPECT_TRUE(d.Empty());
}

TEST(FixedDeque, InsertAndEraseInTheMiddleKeepOrder) {
    FixedDeque<int> d;
    ASSERT_TRUE(d.Setup(5));
    d.PushBack(2);
    d.PushBack(3);
    d.PushFront(1);  // contents start mid-ring
    EXPECT_TRUE(d.Insert(1, 7));
    EXPECT_EQ(Contents(d), (std::vector<int>{1, 7, 2, 3}));
    EXPECT_TRUE(d.Insert(4, 8));  // at the end
    EXPECT_TRUE(d.Full());
    EXPECT_EQ(Contents(d), (std::vector<int>{1, 7, 2, 3, 8}));
    EXPECT_TRUE(d.Erase(0));
    EXPECT_TRUE(d.Erase(3));
    EXPECT_FALSE(d.Erase(3));
    EXPECT_EQ(Contents(d), (std::vector<int>{7, 2, 3}));
    EXPECT_FALSE(d.Insert(4, 9));  // past the end
    EXPECT_TRUE(d.Insert(0, 6));
    EXPECT_EQ(Contents(d), (std::vector<int>{6, 7, 2, 3}));
    EXPECT_EQ(d.Back(), 3);
    d.Clear();
    EXPECT_TRUE(d.Empty());
    EXPECT_TRUE(d.Insert(0, 5));
    EXPECT_EQ(Contents(d), (std::vector<int>{5}));
}

TEST(FixedDeque, ZeroCapacityRefusesEverything) {
    FixedDeque<int> d;
    ASSERT_TRUE(d.Setup(0));
    EXPECT_FALSE(d.PushBack(1));
    EXPECT_FALSE(d.PushFront(1));
    EXPECT_FALSE(d.Insert(0, 1));
    EXPECT_TRUE(d.Empty());
}

}  // namespace
