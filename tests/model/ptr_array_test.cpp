#include "model/ptr_array.h"

#include <gtest/gtest.h>

namespace vetra {
namespace {

TEST(PtrArray, GrowsByTheFixedRule) {
    int items[3];
    TPtr_Array<int> array;
    EXPECT_EQ(array.capacity(), 0);
    array.at(0) = &items[0];
    EXPECT_EQ(array.capacity(), 30);
    EXPECT_EQ(array.count(), 1);
    array.at(35) = &items[1];
    EXPECT_EQ(array.capacity(), 55);
    EXPECT_EQ(array.count(), 36);
    EXPECT_EQ(array[0], &items[0]);  // old slots survive the growth
    array.at(-5) = &items[2];
    EXPECT_EQ(array[0], &items[2]) << "a negative index addresses slot 0";
    EXPECT_EQ(array.count(), 36);
}

TEST(PtrArray, AppendingGrowsTwentyAtATime) {
    int item = 0;
    TPtr_Array<int> array;
    const struct {
        int appended;
        int capacity;
    } steps[] = {{1, 30}, {30, 30}, {31, 50}, {50, 50}, {51, 70}, {1030, 1030}, {1031, 1545}};
    int done = 0;
    for (const auto& step : steps) {
        while (done < step.appended) {
            array.append(&item);
            ++done;
        }
        EXPECT_EQ(array.capacity(), step.capacity) << step.appended << " appended";
    }
}

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
    EXPECT_EQ(array.capacity(), 30) << "storage never shrinks";
    array.clear();
    EXPECT_EQ(array.capacity(), 0);
    EXPECT_EQ(array.count(), 0);
}

}  // namespace
}  // namespace vetra
