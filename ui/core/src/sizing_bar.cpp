#include "ui_core/sizing_bar.h"

#include <algorithm>
#include <numeric>

namespace ui_core {

DockSide DockSideOf(unsigned dockBarId) {
  switch (dockBarId) {
    case kDockBarTop: return DockSide::Top;
    case kDockBarLeft: return DockSide::Left;
    case kDockBarRight: return DockSide::Right;
    case kDockBarBottom: return DockSide::Bottom;
    default: return DockSide::Float;
  }
}

unsigned SizingEdges(DockSide side, bool firstInRow, bool lastInRow) {
  unsigned edges = 0;
  switch (side) {
    case DockSide::Float: return 0;
    case DockSide::Top: edges = kEdgeBottom; break;
    case DockSide::Bottom: edges = kEdgeTop; break;
    case DockSide::Left: edges = kEdgeRight; break;
    case DockSide::Right: edges = kEdgeLeft; break;
  }
  const bool horz = IsHorzDock(side);
  if (!firstInRow) edges |= horz ? kEdgeLeft : kEdgeTop;
  if (!lastInRow) edges |= horz ? kEdgeRight : kEdgeBottom;
  return edges;
}

BarRect EdgeRect(const BarRect& w, unsigned edge) {
  switch (edge) {
    case kEdgeLeft: return {w.left, w.top, std::min(w.right, w.left + kEdgeWidth), w.bottom};
    case kEdgeRight: return {std::max(w.left, w.right - kEdgeWidth), w.top, w.right, w.bottom};
    case kEdgeTop: return {w.left, w.top, w.right, std::min(w.bottom, w.top + kEdgeWidth)};
    case kEdgeBottom: return {w.left, std::max(w.top, w.bottom - kEdgeWidth), w.right, w.bottom};
    default: return {};
  }
}

BarRect SizingClientRect(const BarRect& window, DockSide side, unsigned style) {
  BarRect r = window;
  r.left += 3;
  r.top += 5;
  r.right -= 3;
  r.bottom -= 3;
  if (side != DockSide::Float) {
    r.left += 2;
    r.right -= 2;
    r.bottom -= 2;
  }
  if (style & kShowEdges) {
    if (style & kEdgeLeft) r.left += kEdgeWidth;
    if (style & kEdgeTop) r.top += kEdgeWidth;
    if (style & kEdgeRight) r.right -= kEdgeWidth;
    if (style & kEdgeBottom) r.bottom -= kEdgeWidth;
  }
  // A window too small for its frame keeps an empty client area.
  r.right = std::max(r.left, r.right);
  r.bottom = std::max(r.top, r.bottom);
  return r;
}

GripperLayout GripperClientRect(const BarRect& client, DockSide side) {
  GripperLayout g{client, {}};
  if (IsHorzDock(side)) {
    g.client.left += kGripperSize;
    g.closeButton = {g.client.left - 13, g.client.top};
  } else if (IsVertDock(side)) {
    g.client.top += kGripperSize;
    g.closeButton = {g.client.right - 12, g.client.top - 13};
  }
  g.client.right = std::max(g.client.left, g.client.right);
  g.client.bottom = std::max(g.client.top, g.client.bottom);
  return g;
}

int SizingHitTest(const BarRect& window, DockSide side, unsigned style, int x, int y,
                  bool hasClose, BarPoint closeButton) {
  if (side == DockSide::Float) return kHitClient;
  static constexpr struct {
    unsigned edge;
    int code;
  } kOrder[] = {{kEdgeLeft, kHitLeft}, {kEdgeTop, kHitTop}, {kEdgeRight, kHitRight},
                {kEdgeBottom, kHitBottom}};
  for (const auto& e : kOrder)
    if ((style & e.edge) && EdgeRect(window, e.edge).Contains(x, y)) return e.code;
  if (hasClose && CloseButtonRect(closeButton).Contains(x, y)) return kHitClose;
  return kHitClient;
}

std::vector<int> ShareRowLength(const std::vector<int>& lengths, const std::vector<int>& minimums,
                                int available) {
  std::vector<int> out = lengths;
  const size_t n = out.size();
  if (n == 0) return out;
  for (size_t i = 0; i < n; ++i) out[i] = std::max(out[i], i < minimums.size() ? minimums[i] : 0);
  int diff = available - std::accumulate(out.begin(), out.end(), 0);
  if (diff > 0) {
    out[n - 1] += diff;  // the last bar takes the free space
    return out;
  }
  // Too long: shrink from the last bar toward the first.
  for (size_t k = n; k-- > 0 && diff < 0;) {
    const int min = k < minimums.size() ? minimums[k] : 0;
    const int take = std::min(-diff, out[k] - min);
    out[k] -= take;
    diff += take;
  }
  return out;
}

int TrackEdge(std::vector<int>& lengths, const std::vector<int>& minimums, int index,
              bool trailingEdge, int delta) {
  const int n = static_cast<int>(lengths.size());
  if (index < 0 || index >= n || delta == 0) return 0;
  auto minOf = [&](int i) { return i < static_cast<int>(minimums.size()) ? minimums[i] : 0; };
  const int step = trailingEdge ? 1 : -1;
  if (delta < 0) {
    // The bar shrinks (not below its minimum); its nearest neighbour gets the space.
    const int give = std::min(-delta, std::max(0, lengths[index] - minOf(index)));
    const int next = index + step;
    if (give == 0 || next < 0 || next >= n) return 0;
    lengths[index] -= give;
    lengths[next] += give;
    return -give;
  }
  // The bar grows by what its neighbours on that side can give, nearest first.
  int want = delta;
  int got = 0;
  for (int i = index + step; i >= 0 && i < n && want > 0; i += step) {
    const int take = std::min(want, std::max(0, lengths[i] - minOf(i)));
    lengths[i] -= take;
    want -= take;
    got += take;
  }
  lengths[index] += got;
  return got;
}

OutputBarLayout LayOutOutputBar(const BarRect& c) {
  const int contentBottom = std::max(c.top, c.bottom - 20);
  return {{c.left, c.bottom - 20, c.right, c.bottom}, {c.left, c.top, c.right, contentBottom}};
}

}  // namespace ui_core
