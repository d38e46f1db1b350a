#include "notify/popup_animation.h"

#include <gtest/gtest.h>

namespace cv {
namespace {

constexpr int kFull = 1200, kBottom = 15000, kRight = 19200;

// Ticks until the timer's interval is the hold time or the pop-up unloads;
// returns the elapsed milliseconds.
int RunWhileInterval(PopupAnimation& animation, int interval, bool* unloaded = nullptr) {
  int elapsed = 0;
  while (animation.TimerEnabled() && animation.TimerInterval() == interval) {
    elapsed += animation.TimerInterval();
    if (!animation.Tick()) {
      if (unloaded) *unloaded = true;
      break;
    }
  }
  return elapsed;
}

TEST(PopupAnimation, StartsTenTwipsHighAtTheBottomRight) {
  PopupAnimation animation(kFull, kBottom, kRight);
  animation.SetWidth(4000);
  animation.Show();
  EXPECT_EQ(animation.Geometry().left, kRight - 4100);
  EXPECT_EQ(animation.Geometry().top, kBottom - 10);
  EXPECT_EQ(animation.Geometry().height, 10);
  EXPECT_EQ(animation.Geometry().width, 4000);
  EXPECT_TRUE(animation.TimerEnabled());
  EXPECT_EQ(animation.TimerInterval(), 15);
  EXPECT_EQ(animation.AnimationState(), PopupAnimation::kGrowing);
}

TEST(PopupAnimation, GrowsTwentyTwipsPerFrameThenHoldsThenShrinksAndUnloads) {
  PopupAnimation animation(kFull, kBottom, kRight);
  animation.SetWidth(4000);
  animation.Show();
  int frames = 0;
  while (animation.AnimationState() == PopupAnimation::kGrowing) {
    const int before = animation.Geometry().height;
    ASSERT_TRUE(animation.Tick());
    ++frames;
    // The top is taken from the height before the step.
    EXPECT_EQ(animation.Geometry().top, kBottom - before);
    EXPECT_LE(animation.Geometry().height, kFull);
    ASSERT_LT(frames, 1000);
  }
  EXPECT_EQ(frames, (kFull - 10 + 19) / 20);
  EXPECT_EQ(animation.Geometry().height, kFull);
  EXPECT_EQ(animation.TimerInterval(), 5000);

  // The hold, then one shrinking frame every 15 ms.
  ASSERT_TRUE(animation.Tick());
  EXPECT_EQ(animation.TimerInterval(), 15);
  EXPECT_EQ(animation.Geometry().height, kFull - 20);
  EXPECT_EQ(animation.Geometry().top, kBottom - kFull);
  bool unloaded = false;
  const int shrinkTime = RunWhileInterval(animation, 15, &unloaded);
  EXPECT_TRUE(unloaded);
  EXPECT_FALSE(animation.TimerEnabled());
  EXPECT_LT(animation.Geometry().height, 20);
  EXPECT_EQ(shrinkTime, 15 * ((kFull - 20) / 20));
  EXPECT_EQ(animation.Geometry().left, kRight - 4100);  // left and width never move
  EXPECT_EQ(animation.Geometry().width, 4000);
}

TEST(PopupAnimation, UpdateDuringTheHoldRestartsAFullHold) {
  PopupAnimation animation(kFull, kBottom, kRight);
  animation.SetWidth(3000);
  animation.Show();
  RunWhileInterval(animation, 15);
  ASSERT_EQ(animation.TimerInterval(), 5000);
  animation.Update();
  EXPECT_EQ(animation.TimerInterval(), 15);
  ASSERT_TRUE(animation.Tick());
  EXPECT_EQ(animation.Geometry().height, kFull);
  EXPECT_EQ(animation.TimerInterval(), 5000);
  EXPECT_EQ(animation.Geometry().top, kBottom - kFull);  // no jump back to the start position
}

TEST(PopupAnimation, UpdateWhileShrinkingGrowsBackToFullHeight) {
  PopupAnimation animation(kFull, kBottom, kRight);
  animation.SetWidth(3000);
  animation.Show();
  RunWhileInterval(animation, 15);
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(animation.Tick());
  ASSERT_LT(animation.Geometry().height, kFull);
  animation.Update();
  RunWhileInterval(animation, 15);
  EXPECT_EQ(animation.Geometry().height, kFull);
  EXPECT_EQ(animation.TimerInterval(), 5000);
}

TEST(PopupAnimation, ANewWidthMovesTheLeftEdgeWithIt) {
  PopupAnimation animation(kFull, kBottom, kRight);
  animation.SetWidth(3000);
  animation.SetWidth(5000);
  EXPECT_EQ(animation.Geometry().left, kRight - 5100);
}

}  // namespace
}  // namespace cv
