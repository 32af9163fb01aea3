#include <gtest/gtest.h>

#include "base/anchor_layout.h"

TEST(AnchorLayout, EachFlagTakesTheWholeDifference) {
  AnchorRect r{10, 20, 110, 40};
  EXPECT_EQ(AnchoredRect(r, kAnchorGrowX | kAnchorGrowY, 30, 50), (AnchorRect{10, 20, 140, 90}));
  EXPECT_EQ(AnchoredRect(r, kAnchorGrowX | kAnchorMoveY, 30, 50), (AnchorRect{10, 70, 140, 90}));
  EXPECT_EQ(AnchoredRect(r, kAnchorMoveY, 30, 50), (AnchorRect{10, 70, 110, 90}));
  EXPECT_EQ(AnchoredRect(r, kAnchorMoveX | kAnchorMoveY, 30, 50), (AnchorRect{40, 70, 140, 90}));
  EXPECT_EQ(AnchoredRect(r, 0, 30, 50), r);
}
