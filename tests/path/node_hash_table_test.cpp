#include "path/node_hash_table.h"

#include <gtest/gtest.h>

namespace {

Node MakeNode(int x, int y) {
    return Node{nullptr, x, y, 0, 0, nullptr};
}

TEST(NodeHashTable, ExponentIsCappedAndRoundedDownToEven) {
    NodeHashTable t;
    ASSERT_TRUE(t.Setup(8));
    EXPECT_EQ(t.BucketCount(), 256u);
    ASSERT_TRUE(t.Setup(9));
    EXPECT_EQ(t.BucketCount(), 256u);
    ASSERT_TRUE(t.Setup(-3));
    EXPECT_EQ(t.BucketCount(), 1u);
    ASSERT_TRUE(t.Setup(3, 2));
    EXPECT_EQ(t.BucketCount(), 32u);
}

TEST(NodeHashTable, CellsSharingABucketAreFoundAndUnlinkedApart) {
    NodeHashTable t;
    ASSERT_TRUE(t.Setup(8));  // 16 x 16: (1, 2), (17, 2) and (1, 18) share a bucket
    Node a = MakeNode(1, 2), b = MakeNode(17, 2), c = MakeNode(1, 18), d = MakeNode(2, 1);
    t.Insert(&a);
    t.Insert(&b);
    t.Insert(&c);
    t.Insert(&d);
    t.Insert(&d);  // already at the head of its chain: not linked twice
    EXPECT_EQ(t.Size(), 4u);
    EXPECT_EQ(t.Find(17, 2), &b);
    EXPECT_EQ(t.Find(1, 18), &c);
    EXPECT_EQ(t.Find(33, 2), nullptr);

    ASSERT_EQ(t.Find(17, 2), &b);  // middle of the chain c -> b -> a
    t.UnlinkFound();
    EXPECT_EQ(t.Find(17, 2), nullptr);
    EXPECT_EQ(t.Find(1, 2), &a);
    EXPECT_EQ(t.Find(1, 18), &c);
    t.UnlinkFound();  // head of the chain
    EXPECT_EQ(t.Find(1, 18), nullptr);
    EXPECT_EQ(t.Find(1, 2), &a);
    t.UnlinkFound();
    t.UnlinkFound();  // nothing found last: no change
    EXPECT_EQ(t.Size(), 1u);
    EXPECT_EQ(t.Find(2, 1), &d);

    EXPECT_EQ(t.Clear(), 1u);
    EXPECT_EQ(t.Find(2, 1), nullptr);
}

}  // namespace
