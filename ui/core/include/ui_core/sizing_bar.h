#pragma once
// Geometry of the sizing docking bars: which sizing edges a bar has, the
// client rectangle inside its window, the gripper and close button places,
// hit testing, minimum sizes and the length shared among the bars of one
// dock row.  Rectangles are in window coordinates (right and bottom
// exclusive); no Windows header.
#include <vector>

namespace ui_core {

struct BarRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const BarRect&) const = default;
};

struct BarSize {
  int cx = 0, cy = 0;
  bool operator==(const BarSize&) const = default;
};

struct BarPoint {
  int x = 0, y = 0;
  bool operator==(const BarPoint&) const = default;
};

// Sizing style bits.
constexpr unsigned kEdgeLeft = 0x01;
constexpr unsigned kEdgeRight = 0x02;
constexpr unsigned kEdgeTop = 0x04;
constexpr unsigned kEdgeBottom = 0x08;
constexpr unsigned kEdgeAll = 0x0F;
constexpr unsigned kShowEdges = 0x10;
constexpr unsigned kSizeChild = 0x20;

constexpr int kEdgeWidth = 5;
constexpr int kGripperSize = 12;
constexpr int kCloseButtonSize = 11;

// Default and minimum sizes of the three states.
constexpr BarSize kDefaultBarSize{200, 200};
constexpr BarSize kMinHorzSize{33, 32};
constexpr BarSize kMinVertSize{33, 32};
constexpr BarSize kMinFloatSize{37, 32};

// Where a bar is: by the control id of the dock bar holding it.
enum class DockSide { Top, Left, Right, Bottom, Float };
constexpr unsigned kDockBarTop = 59419;
constexpr unsigned kDockBarLeft = 59420;
constexpr unsigned kDockBarRight = 59421;
constexpr unsigned kDockBarBottom = 59422;
constexpr unsigned kDockBarFloat = 59423;
DockSide DockSideOf(unsigned dockBarId);
inline bool IsHorzDock(DockSide s) { return s == DockSide::Top || s == DockSide::Bottom; }
inline bool IsVertDock(DockSide s) { return s == DockSide::Left || s == DockSide::Right; }

// Hit-test codes (the system's values).
constexpr int kHitClient = 1;
constexpr int kHitLeft = 10;
constexpr int kHitRight = 11;
constexpr int kHitTop = 12;
constexpr int kHitBottom = 15;
constexpr int kHitClose = 20;

// The edge bits of a docked bar: toward the neighbours in its row (a bar that
// is not the first has the leading edge, one that is not the last the
// trailing edge) and the edge facing the frame's client area.  A floating bar
// has none.
unsigned SizingEdges(DockSide side, bool firstInRow, bool lastInRow);

// The strip of window rectangle `window` that is the sizing edge `edge`
// (one of the kEdge bits).
BarRect EdgeRect(const BarRect& window, unsigned edge);

// The client rectangle of a bar whose window is `window`: borders (3 left,
// 5 top, 3 right, 3 bottom, and 2 more left, right and bottom when docked),
// then, with kShowEdges, the width of every sizing edge in `style`.
BarRect SizingClientRect(const BarRect& window, DockSide side, unsigned style);

// With a gripper (docked bars): the client rectangle gives up the gripper
// strip and the close button sits beside it.
struct GripperLayout {
  BarRect client;
  BarPoint closeButton;  // top left corner of the 11 x 11 button
};
GripperLayout GripperClientRect(const BarRect& client, DockSide side);
inline BarRect CloseButtonRect(BarPoint origin) {
  return {origin.x, origin.y, origin.x + kCloseButtonSize, origin.y + kCloseButtonSize};
}

// The hit-test code of point (x, y) in window coordinates: a floating bar is
// all client; otherwise the edges of `style` in the order left, top, right,
// bottom, then the close button (when `hasClose`), then client.
int SizingHitTest(const BarRect& window, DockSide side, unsigned style, int x, int y,
                  bool hasClose = false, BarPoint closeButton = {});

// The size a bar has in a state: each dimension raised to the minimum.
inline BarSize AtLeast(BarSize s, BarSize min) {
  return {s.cx < min.cx ? min.cx : s.cx, s.cy < min.cy ? min.cy : s.cy};
}

// Shares `available` pixels of a dock row among its bars: `lengths` are the
// bars' wanted lengths along the row, `minimums` their minimum lengths.  The
// bars grow or shrink, the last ones first, never below their minimum; the
// result sums to `available` unless the minimums alone exceed it.
std::vector<int> ShareRowLength(const std::vector<int>& lengths, const std::vector<int>& minimums,
                                int available);

// Edge tracking: the new length of the tracked bar and of its neighbours when
// the edge moves by `delta` pixels (positive: the bar grows).  `index` is the
// tracked bar in the row; space comes from (or goes to) the neighbours on the
// edge's side, nearest first, each shrinking at most to its minimum.
// Returns the delta that could be applied.
int TrackEdge(std::vector<int>& lengths, const std::vector<int>& minimums, int index,
              bool trailingEdge, int delta);

// The Output bar's children: the tab strip 20 pixels high along the bottom,
// the list and the hex view above it.
struct OutputBarLayout {
  BarRect tabs;
  BarRect content;
};
OutputBarLayout LayOutOutputBar(const BarRect& client);

}  // namespace ui_core
