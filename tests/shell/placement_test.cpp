#include "shell/placement.h"

#include <gtest/gtest.h>

namespace ferrovane {
namespace {

TEST(Placement, CentredInTheAreaLessTheBottomBand) {
    // A 1920 x 1080 pixel screen is 28800 x 16200 twips.
    const TwipsRect placed = placeWindow(7605, 6720, {0, 0, 28800, 16200});
    EXPECT_EQ(placed, (TwipsRect{(28800 - 7605) / 2, (16200 - 150 - 6720) / 2, 7605, 6720}));
}

TEST(Placement, ASmallScreenIsFilledLessTheBandFromTheTopLeft) {
    const TwipsRect placed = placeWindow(7605, 6720, {0, 0, 6000, 5000});
    EXPECT_EQ(placed, (TwipsRect{0, 0, 6000, 4850}));
}

TEST(Placement, TheAreaMayStartAwayFromTheOrigin) {
    const TwipsRect placed = placeWindow(1000, 1000, {3000, 600, 5000, 3150});
    EXPECT_EQ(placed, (TwipsRect{3000 + 2000, 600 + 1000, 1000, 1000}));
}

} // namespace
} // namespace ferrovane
