#include "catalog/cstack.h"

#include <gtest/gtest.h>

using vantor::CStack;

TEST(CStack, GrowsAndShrinksInStepsOfTen) {
    CStack stack;
    EXPECT_EQ(stack.Pop(), 0);
    EXPECT_EQ(stack.Capacity(), 10);
    for (int i = 0; i < 21; ++i)
        stack.Push(i);
    EXPECT_EQ(stack.Count(), 21);
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
