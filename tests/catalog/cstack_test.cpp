#include "catalog/cstack.h"

#include <gtest/gtest.h>

using vantor::CStack;

TEST(CStack, GrowsAndShrinksInStepsOfTen) {
    CStack stack;
    EXPECT_EQ(stack.Pop(), 0);
    EXPECT_EQ(stack.Count(), 0);
    EXPECT_EQ(stack.Capacity(), 10);
    for (int i = 1; i <= 25; ++i)
        stack.Push(i * 7);
    EXPECT_EQ(stack.Count(), 25);
    EXPECT_EQ(stack.Capacity(), 30);
    int lastCapacity = stack.Capacity();
    for (int i = 25; i >= 1; --i) {
        EXPECT_EQ(stack.Pop(), i * 7);
        EXPECT_LE(stack.Capacity(), lastCapacity);
        EXPECT_EQ(stack.Capacity() % 10, 0);
        EXPECT_GE(stack.Capacity(), 10);
        EXPECT_LE(stack.Count(), stack.Capacity());
        lastCapacity = stack.Capacity();
    }
    EXPECT_EQ(stack.Capacity(), 10);
    EXPECT_EQ(stack.Pop(), 0);
    EXPECT_EQ(stack.Count(), 0);
}

TEST(CStack, ShrinksOnlyWithRoomToSpare) {
    CStack stack;
    for (int i = 0; i < 21; ++i)
        stack.Push(i);
    ASSERT_EQ(stack.Capacity(), 30);
    // Capacity drops by 10 once count + 2 is below capacity - 10.
    while (stack.Count() > 18)
        stack.Pop();
    EXPECT_EQ(stack.Capacity(), 30);
    EXPECT_EQ(stack.Pop(), 17);
    EXPECT_EQ(stack.Capacity(), 20);
    while (stack.Count() > 8)
        stack.Pop();
    EXPECT_EQ(stack.Capacity(), 20);
    EXPECT_EQ(stack.Pop(), 7);
    EXPECT_EQ(stack.Capacity(), 10);
    stack.Push(99);
    EXPECT_EQ(stack.Pop(), 99);
    EXPECT_EQ(stack.Pop(), 6);
}
