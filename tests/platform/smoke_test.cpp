#include <gtest/gtest.h>

#include "platform/registry.h"

TEST(Smoke, PredefinedRootsAreRecognised) {
  EXPECT_TRUE(cv::IsPredefinedRoot(cv::kHkeyCurrentUser));
  EXPECT_FALSE(cv::IsPredefinedRoot(0));
}
