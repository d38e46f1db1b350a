// Window geometry: fitting into a work area, the stored placement and where
// the window opens.
#include <gtest/gtest.h>

#include "ui/layout.h"

namespace cv {
namespace {

constexpr Box kWork{0, 0, 1280, 680};

TEST(Layout, FitIntoShrinksThenMovesInside) {
  struct Case {
    Box wanted, expected;
  };
  const Case cases[] = {
      {{100, 150, 900, 750}, {100, 80, 900, 680}},       // too low: moved up
      {{-40, 10, 760, 410}, {0, 10, 800, 410}},          // off the left edge
      {{0, 0, 1780, 1080}, {0, 0, 1280, 680}},           // larger than the screen
      {{1500, 900, 1900, 1000}, {880, 580, 1280, 680}},  // beyond the bottom right
  };
  for (const Case& c : cases) EXPECT_EQ(FitInto(c.wanted, kWork), c.expected);
  EXPECT_EQ(CentredIn(1780, 1080, kWork), kWork);
  EXPECT_EQ(CentredIn(640, 480, kWork), (Box{320, 100, 960, 580}));
}

TEST(Layout, PlacementTextReadsBackAndBadTextIsRefused) {
  const Placement placement{{10, -20, 910, 700}, true};
  EXPECT_EQ(PlacementText(placement), "10,-20,910,700,1");
  EXPECT_EQ(ParsePlacement(PlacementText(placement)), placement);
  for (const char* bad : {"", "1,2,3", "0,0,800,600,2", "0,0,800,600,0,9", "a,0,800,600,0", "0,0,10,10,0",
                          "800,0,0,600,0", "0,0,9999999,600,0", "0, 0,800,600,0", "0,0,800,600,"})
    EXPECT_FALSE(ParsePlacement(bad)) << bad;
}

TEST(Layout, OpeningBoxUsesTheStoredPlacementWhenItIsOnTheScreen) {
  struct Case {
    const char* what;
    std::optional<Placement> stored;
    Box expected;
  };
  const Case cases[] = {
      {"nothing stored: default size centred", std::nullopt, {140, 40, 1140, 640}},
      {"stored and on screen", Placement{{20, 30, 1020, 650}, false}, {20, 30, 1020, 650}},
      {"stored larger than the screen", Placement{{0, 0, 1780, 1080}, false}, kWork},
      {"stored below the minimum", Placement{{20, 30, 420, 330}, false}, {20, 30, 920, 630}},
      {"stored on a monitor that is gone", Placement{{3000, 0, 3800, 600}, false}, {140, 40, 1140, 640}},
  };
  for (const Case& c : cases) EXPECT_EQ(OpeningBox(c.stored, kWork, 1000, 600, 900, 600), c.expected) << c.what;
}

}  // namespace
}  // namespace cv
