#include "model/ptr_array.h"

#include <gtest/gtest.h>

namespace vetra {
namespace {

TEST(PtrArray, InsertAndRemoveKeepOrder) {
    int a = 0, b = 0, c = 0, d = 0;
    TPtr_Array<int> array;
    array.append(&a);
    array.append(&c);
    array.insertAt(1, &b);
    array.insertAt(3, &d);
    ASSERT_EQ(array.count(), 4);
    EXPECT_EQ(array[1], &b);
    EXPECT_EQ(array[3], &d);
    array.removeAt(0);
    EXPECT_EQ(array.count(), 3);
    EXPECT_EQ(array[0], &b);
    EXPECT_EQ(array.indexOf(&a), -1);
    EXPECT_EQ(array.capacity(), 4) << "storage never shrinks";
    array.clear();
    EXPECT_EQ(array.capacity(), 0);
    EXPECT_EQ(array.count(), 0);
    // A length known ahead takes exactly its room; growth goes on from there.
    array.reserve(10);
    array.reserve(5);
    EXPECT_EQ(array.capacity(), 10);
    for (int i = 0; i < 11; ++i) array.append(&a);
    EXPECT_EQ(array.capacity(), 15);
    EXPECT_EQ(array[10], &a);
}

}  // namespace
}  // namespace vetra
