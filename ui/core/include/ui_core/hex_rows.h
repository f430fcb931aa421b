#pragma once
// Row arithmetic and text of the hex view: 16 bytes a row,
//   "00000010h: 41 42 00" + fillers + " ; " + "AB." + fillers
// every row 77 characters wide.
#include <cstddef>
#include <string>

namespace ui_core {

constexpr int kHexBytesPerRow = 16;
constexpr int kHexRowWidth = 77;

// Rows needed for `length` bytes (a last partial row counts).
inline int HexRowCount(int length) {
  return length <= 0 ? 0 : length / kHexBytesPerRow + (length % kHexBytesPerRow ? 1 : 0);
}

// Bytes shown in row `row` of a buffer of `length` bytes (0 past the end).
inline int HexBytesInRow(int row, int length) {
  const int start = row * kHexBytesPerRow;
  if (row < 0 || start >= length) return 0;
  return length - start < kHexBytesPerRow ? length - start : kHexBytesPerRow;
}

// The text of one row: `count` (1..16) bytes at `bytes`, labelled `offset`.
std::string FormatHexRow(unsigned offset, const unsigned char* bytes, int count);

// The rows a paint of the pixel band [top, bottom) draws, with the view
// scrolled to row `position`; first > last when there is nothing to draw.
struct HexRowRange {
  int first;
  int last;
};
HexRowRange HexRowsToPaint(int top, int bottom, int lineHeight, int position, int rowCount);

// New scroll position for a scroll request, before the scroll bar clamps it;
// `changes` is false for requests that leave the view where it is (among
// them dragging the thumb, which takes effect only when released).
enum class HexScroll { LineUp, LineDown, PageUp, PageDown, ThumbPosition, Top, Bottom, Other };
struct HexScrollResult {
  bool changes;
  int position;
};
HexScrollResult HexScrollTarget(HexScroll code, int position, int page, int trackPosition,
                                int rangeMin, int rangeMax);

}  // namespace ui_core
