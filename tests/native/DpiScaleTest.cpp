// Layout lengths and rectangles at a display's DPI, and which drawn picture a DPI takes.
#include <gtest/gtest.h>

#include "toolkit/core/DpiScale.h"

using tk::LayoutRect;
using tk::PictureScaleFor;
using tk::ScaleToDpi;

TEST(ScaleToDpi, RoundsToTheNearestPixelBothWaysFromZero) {
  EXPECT_EQ(ScaleToDpi(75, 96), 75);
  EXPECT_EQ(ScaleToDpi(75, 144), 113);   // 112.5
  EXPECT_EQ(ScaleToDpi(75, 120), 94);    // 93.75
  EXPECT_EQ(ScaleToDpi(-5, 144), -8);    // -7.5: a header picture above its strip's edge
  EXPECT_EQ(ScaleToDpi(-5, 120), -6);    // -6.25
  EXPECT_EQ(ScaleToDpi(0, 192), 0);
  EXPECT_EQ(ScaleToDpi(12, 192), 24);
  // No overflow for a large design length at a large DPI.
  EXPECT_EQ(ScaleToDpi(30000000, 480), 150000000);
}

TEST(ScaleToDpi, RectanglesThatTouchStillTouchAndOnesApartStayApart) {
  // Label16 ends where Label17 begins: at 120 DPI both edges round to the same pixel.
  const LayoutRect left = ScaleToDpi(LayoutRect{24, 64, 86, 14}, 120);
  const LayoutRect right = ScaleToDpi(LayoutRect{110, 64, 370, 14}, 120);
  EXPECT_EQ(left.left + left.width, right.left);
  // Scaling sizes alone would leave a gap or an overlap of a pixel somewhere; scaled edges
  // keep every pair of neighbours in a row of buttons exact.
  for (int dpi : {96, 108, 120, 144, 168, 192, 240, 288}) {
    int x = 0;
    for (int i = 0; i < 20; ++i) {
      const LayoutRect a = ScaleToDpi(LayoutRect{x, 0, 37, 25}, dpi);
      const LayoutRect b = ScaleToDpi(LayoutRect{x + 37, 0, 37, 25}, dpi);
      EXPECT_EQ(a.left + a.width, b.left) << dpi << " " << x;
      EXPECT_GE(a.width, 37 * dpi / 96 - 1);
      x += 37;
    }
  }
  const LayoutRect same = ScaleToDpi(LayoutRect{423, -5, 64, 64}, 96);
  EXPECT_EQ(same.left, 423);
  EXPECT_EQ(same.top, -5);
  EXPECT_EQ(same.width, 64);
  EXPECT_EQ(same.height, 64);
}

TEST(PictureScaleFor, TakesTheSmallestDrawnScaleAtLeastTheDisplaysOwn) {
  const int drawn[] = {100, 150, 200};
  EXPECT_EQ(PictureScaleFor(96, drawn), 100);
  EXPECT_EQ(PictureScaleFor(72, drawn), 100);    // below the design: scaled down
  EXPECT_EQ(PictureScaleFor(97, drawn), 150);    // just above: never the smaller one scaled up
  EXPECT_EQ(PictureScaleFor(120, drawn), 150);   // 125 %
  EXPECT_EQ(PictureScaleFor(144, drawn), 150);
  EXPECT_EQ(PictureScaleFor(168, drawn), 200);   // 175 %
  EXPECT_EQ(PictureScaleFor(192, drawn), 200);
  EXPECT_EQ(PictureScaleFor(288, drawn), 200);   // beyond the largest: the largest there is
  const int onlyDesign[] = {100};
  EXPECT_EQ(PictureScaleFor(144, onlyDesign), 100);
  EXPECT_EQ(PictureScaleFor(144, drawn, 0), 100);
}
