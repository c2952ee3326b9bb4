#include "core/indexed.h"

#include <gtest/gtest.h>

using namespace tiderune;

TEST(IndexedArray, OneBasedIndexesAndOutOfRangeRaisesSubscriptError) {
    PerSystem<int> a;
    a[1] = 10;
    a[4] = 40;
    EXPECT_EQ(a[1], 10);
    EXPECT_EQ(a[4], 40);
    for (long long bad : {0LL, 5LL, -1LL, 1LL << 40}) {
        try {
            a[bad] = 1;
            ADD_FAILURE() << "index " << bad << " accepted";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), err::SubscriptOutOfRange);
        }
    }
}
