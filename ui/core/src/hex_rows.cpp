#include "ui_core/hex_rows.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace ui_core {

std::string FormatHexRow(unsigned offset, const unsigned char* bytes, int count) {
  count = std::clamp(count, 0, kHexBytesPerRow);
  std::string row;
  row.reserve(kHexRowWidth);
  char digits[16];
  std::snprintf(digits, sizeof digits, "%08xh:", offset);
  row += digits;
  for (int i = 0; i < count; ++i) {
    std::snprintf(digits, sizeof digits, " %02x", bytes[i]);
    row += digits;
  }
  row.append(static_cast<size_t>(3 * (kHexBytesPerRow - count)), ' ');
  row += " ; ";
  for (int i = 0; i < count; ++i) row += std::isprint(bytes[i]) ? static_cast<char>(bytes[i]) : '.';
  row.append(static_cast<size_t>(kHexBytesPerRow - count), ' ');
  return row;
}

HexRowRange HexRowsToPaint(int top, int bottom, int lineHeight, int position, int rowCount) {
  if (lineHeight <= 0) return {0, -1};
  return {std::max(0, top / lineHeight + position),
          std::min(rowCount - 1, bottom / lineHeight + position)};
}

HexScrollResult HexScrollTarget(HexScroll code, int position, int page, int trackPosition,
                                int rangeMin, int rangeMax) {
  switch (code) {
    case HexScroll::LineUp: return {true, position - 1};
    case HexScroll::LineDown: return {true, position + 1};
    case HexScroll::PageUp: return {true, position - page};
    case HexScroll::PageDown: return {true, position + page};
    case HexScroll::ThumbPosition: return {true, trackPosition};
    case HexScroll::Top: return {true, rangeMin};
    case HexScroll::Bottom: return {true, rangeMax};
    case HexScroll::Other: break;
  }
  return {false, position};
}

}  // namespace ui_core
