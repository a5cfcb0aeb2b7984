#include <gtest/gtest.h>

#include <climits>

#include "render/frame_select.h"

struct FrameCase {
    int32_t headroom;
    int32_t frames;
    int32_t expected;
};

TEST(FrameIndex, FollowsTheLevel) {
    const FrameCase cases[] = {
        {100, 10, 0}, // no usage: first frame
        {0, 10, 9},   // full usage: last frame
        {1, 10, 8},   // usage 99 truncates to frame 8
        {50, 10, 4},  {45, 10, 4}, {44, 10, 5}, {100, 1, 0},   {0, 1, 0},    {37, 1, 0},
        {0, 2, 1},    {1, 2, 0},   {50, 3, 1},  {0, 101, 100}, {1, 101, 99},
    };
    for (const FrameCase& c : cases)
        EXPECT_EQ(FrameIndexFor(c.headroom, c.frames), c.expected)
            << "headroom " << c.headroom << " frames " << c.frames;
}

TEST(FrameIndex, LevelsOutsideTheRangeStayInsideTheStrip) {
    const FrameCase cases[] = {
        {-1, 10, 9},
        {-50, 10, 9},
        {INT_MIN, 10, 9},
        {101, 10, 0},
        {INT_MAX, 10, 0},
        {200, 7, 0},
        {-1000, 7, 6},
        {-1, INT_MAX, INT_MAX - 1},
        {0, INT_MAX, INT_MAX - 1},
        {50, INT_MAX, (INT_MAX - 1) / 2},
    };
    for (const FrameCase& c : cases) {
        const int32_t index = FrameIndexFor(c.headroom, c.frames);
        EXPECT_EQ(index, c.expected) << "headroom " << c.headroom << " frames " << c.frames;
        EXPECT_GE(index, 0);
        EXPECT_LT(index, c.frames);
    }
}

TEST(FrameIndex, ACountBelowOneShowsTheOnlyFrame) {
    for (int32_t frames : {0, -1, INT_MIN})
        for (int32_t headroom : {0, 50, 100})
            EXPECT_EQ(FrameIndexFor(headroom, frames), 0);
}

TEST(FrameWidth, TruncatesAndLeavesTheRemainderUnshown) {
    EXPECT_EQ(FrameWidthFor(100, 3), 33); // columns 99.. never shown
    EXPECT_EQ(FrameIndexFor(0, 3) * FrameWidthFor(100, 3) + FrameWidthFor(100, 3) - 1, 98);
    EXPECT_EQ(FrameWidthFor(100, 1), 100);
    EXPECT_EQ(FrameWidthFor(100, 0), 100);
    EXPECT_EQ(FrameWidthFor(5, 10), 0);
}
