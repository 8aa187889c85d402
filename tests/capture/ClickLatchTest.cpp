#include "CClickLatch.h"

#include <gtest/gtest.h>

namespace pelidore {

TEST(ClickLatch, AClickBetweenTwoFramesShowsInTheNextFrameOnly)
{
    CClickLatch latch;
    EXPECT_FALSE(latch.TakeForFrame().Any());
    latch.Press(MouseButton::Left);
    latch.Release(MouseButton::Left);
    const ShownButtons next = latch.TakeForFrame();
    EXPECT_TRUE(next.left);
    EXPECT_FALSE(next.right);
    EXPECT_FALSE(latch.TakeForFrame().Any());
}

TEST(ClickLatch, AHeldButtonShowsInEveryFrameUntilReleased)
{
    CClickLatch latch;
    latch.Press(MouseButton::Right);
    for (int frame = 0; frame < 3; ++frame)
        EXPECT_TRUE(latch.TakeForFrame().right) << frame;
    latch.Release(MouseButton::Right);
    EXPECT_FALSE(latch.TakeForFrame().Any());
    latch.Press(MouseButton::Left);
    latch.Reset();
    EXPECT_FALSE(latch.TakeForFrame().Any()) << "a new recording starts clean";
}

} // namespace pelidore
