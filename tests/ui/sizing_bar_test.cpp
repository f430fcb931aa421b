#include <gtest/gtest.h>

#include <vector>

#include "ui_core/sizing_bar.h"

using namespace ui_core;

TEST(SizingBar, EdgesFollowRowPlaceAndDockSide) {
  // Alone in its row: only the edge toward the frame's client area.
  EXPECT_EQ(SizingEdges(DockSide::Bottom, true, true), kEdgeTop);
  EXPECT_EQ(SizingEdges(DockSide::Top, true, true), kEdgeBottom);
  EXPECT_EQ(SizingEdges(DockSide::Left, true, true), kEdgeRight);
  EXPECT_EQ(SizingEdges(DockSide::Right, true, true), kEdgeLeft);
  // Neighbours add the leading / trailing edges along the row.
  EXPECT_EQ(SizingEdges(DockSide::Bottom, false, false), kEdgeTop | kEdgeLeft | kEdgeRight);
  EXPECT_EQ(SizingEdges(DockSide::Left, false, true), kEdgeRight | kEdgeTop);
  EXPECT_EQ(SizingEdges(DockSide::Left, true, false), kEdgeRight | kEdgeBottom);
  // Floating: none.
  EXPECT_EQ(SizingEdges(DockSide::Float, false, false), 0u);
  EXPECT_EQ(DockSideOf(59422), DockSide::Bottom);
  EXPECT_EQ(DockSideOf(59423), DockSide::Float);
  EXPECT_EQ(DockSideOf(0), DockSide::Float);
}

TEST(SizingBar, ClientRectTakesBordersAndShownEdges) {
  const BarRect w{0, 0, 300, 100};
  EXPECT_EQ(SizingClientRect(w, DockSide::Float, 0), (BarRect{3, 5, 297, 97}));
  EXPECT_EQ(SizingClientRect(w, DockSide::Bottom, 0), (BarRect{5, 5, 295, 95}));
  // The edges count only with kShowEdges.
  EXPECT_EQ(SizingClientRect(w, DockSide::Bottom, kEdgeTop), (BarRect{5, 5, 295, 95}));
  EXPECT_EQ(SizingClientRect(w, DockSide::Bottom, kEdgeTop | kShowEdges), (BarRect{5, 10, 295, 95}));
  EXPECT_EQ(SizingClientRect(w, DockSide::Left, kEdgeAll | kShowEdges), (BarRect{10, 10, 290, 90}));
  // A window smaller than its frame keeps an empty client area.
  const BarRect tiny = SizingClientRect({0, 0, 4, 4}, DockSide::Bottom, kEdgeAll | kShowEdges);
  EXPECT_EQ(tiny.Width(), 0);
  EXPECT_EQ(tiny.Height(), 0);
}

TEST(SizingBar, GripperAndCloseButtonPlaces) {
  const BarRect c{5, 10, 295, 95};
  GripperLayout h = GripperClientRect(c, DockSide::Bottom);
  EXPECT_EQ(h.client, (BarRect{17, 10, 295, 95}));
  EXPECT_EQ(h.closeButton, (BarPoint{4, 10}));
  GripperLayout v = GripperClientRect(c, DockSide::Left);
  EXPECT_EQ(v.client, (BarRect{5, 22, 295, 95}));
  EXPECT_EQ(v.closeButton, (BarPoint{283, 9}));
  EXPECT_EQ(CloseButtonRect({4, 10}), (BarRect{4, 10, 15, 21}));
}

TEST(SizingBar, HitTests) {
  const BarRect w{0, 0, 300, 100};
  const unsigned style = kEdgeTop | kShowEdges;
  EXPECT_EQ(SizingHitTest(w, DockSide::Bottom, style, 150, 0), kHitTop);
  EXPECT_EQ(SizingHitTest(w, DockSide::Bottom, style, 150, 4), kHitTop);
  EXPECT_EQ(SizingHitTest(w, DockSide::Bottom, style, 150, 5), kHitClient);
  // Edges the style lacks are client.
  EXPECT_EQ(SizingHitTest(w, DockSide::Bottom, style, 0, 50), kHitClient);
  EXPECT_EQ(SizingHitTest(w, DockSide::Bottom, style, 150, 99), kHitClient);
  // Order: left before top in the corner they share.
  EXPECT_EQ(SizingHitTest(w, DockSide::Bottom, kEdgeLeft | kEdgeTop, 1, 1), kHitLeft);
  EXPECT_EQ(SizingHitTest(w, DockSide::Right, kEdgeRight | kEdgeBottom, 299, 99), kHitRight);
  EXPECT_EQ(SizingHitTest(w, DockSide::Right, kEdgeBottom, 299, 99), kHitBottom);
  // The close button.
  const BarPoint close{4, 10};
  EXPECT_EQ(SizingHitTest(w, DockSide::Bottom, style, 4, 10, true, close), kHitClose);
  EXPECT_EQ(SizingHitTest(w, DockSide::Bottom, style, 14, 20, true, close), kHitClose);
  EXPECT_EQ(SizingHitTest(w, DockSide::Bottom, style, 15, 20, true, close), kHitClient);
  EXPECT_EQ(SizingHitTest(w, DockSide::Bottom, style, 4, 10, false, close), kHitClient);
  // A floating bar is all client, edges and button included.
  EXPECT_EQ(SizingHitTest(w, DockSide::Float, kEdgeAll | kShowEdges, 0, 0, true, {0, 0}), kHitClient);
}

TEST(SizingBar, MinimumSizes) {
  EXPECT_EQ(AtLeast({200, 10}, kMinHorzSize), (BarSize{200, 32}));
  EXPECT_EQ(AtLeast({1, 1}, kMinFloatSize), (BarSize{37, 32}));
  EXPECT_EQ(AtLeast({40, 40}, kMinVertSize), (BarSize{40, 40}));
}

TEST(SizingBar, RowSharing) {
  // Free space goes to the last bar.
  EXPECT_EQ(ShareRowLength({100, 100}, {33, 33}, 300), (std::vector<int>{100, 200}));
  // Too long: the last bars shrink first, not below their minimum.
  EXPECT_EQ(ShareRowLength({100, 100, 100}, {33, 33, 33}, 200), (std::vector<int>{100, 67, 33}));
  // Minimums alone exceed the space: they stay.
  EXPECT_EQ(ShareRowLength({10, 10}, {33, 33}, 50), (std::vector<int>{33, 33}));
  EXPECT_TRUE(ShareRowLength({}, {}, 100).empty());
}

TEST(SizingBar, EdgeTrackingTakesFromNeighboursNearestFirst) {
  std::vector<int> len{100, 100, 100};
  const std::vector<int> min{33, 33, 33};
  // Growing bar 0 through its trailing edge: bar 1 gives until its minimum, then bar 2.
  EXPECT_EQ(TrackEdge(len, min, 0, true, 100), 100);
  EXPECT_EQ(len, (std::vector<int>{200, 33, 67}));
  // Only what the neighbours can give.
  EXPECT_EQ(TrackEdge(len, min, 0, true, 100), 34);
  EXPECT_EQ(len, (std::vector<int>{234, 33, 33}));
  // Shrinking gives the space to the nearest neighbour; not below the minimum.
  EXPECT_EQ(TrackEdge(len, min, 0, true, -300), -201);
  EXPECT_EQ(len, (std::vector<int>{33, 234, 33}));
  // Leading edge of the last bar takes from the bars before it.
  EXPECT_EQ(TrackEdge(len, min, 2, false, 50), 50);
  EXPECT_EQ(len, (std::vector<int>{33, 184, 83}));
  // No neighbour on that side: nothing moves.
  EXPECT_EQ(TrackEdge(len, min, 0, false, 10), 0);
  EXPECT_EQ(TrackEdge(len, min, 2, true, -10), 0);
  EXPECT_EQ(len, (std::vector<int>{33, 184, 83}));
}

TEST(SizingBar, OutputBarLayout) {
  OutputBarLayout l = LayOutOutputBar({0, 0, 400, 150});
  EXPECT_EQ(l.tabs, (BarRect{0, 130, 400, 150}));
  EXPECT_EQ(l.content, (BarRect{0, 0, 400, 130}));
  OutputBarLayout small = LayOutOutputBar({0, 0, 400, 10});
  EXPECT_EQ(small.content.Height(), 0);
}
