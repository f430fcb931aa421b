#include <gtest/gtest.h>

#include <string>

#include "ui_core/hex_rows.h"

using namespace ui_core;

TEST(HexRows, RowCounts) {
  EXPECT_EQ(HexRowCount(0), 0);
  EXPECT_EQ(HexRowCount(1), 1);
  EXPECT_EQ(HexRowCount(16), 1);
  EXPECT_EQ(HexRowCount(17), 2);
  EXPECT_EQ(HexBytesInRow(0, 17), 16);
  EXPECT_EQ(HexBytesInRow(1, 17), 1);
  EXPECT_EQ(HexBytesInRow(2, 17), 0);
  EXPECT_EQ(HexBytesInRow(0, 0), 0);
}

TEST(HexRows, RowTextIsAlways77Wide) {
  const unsigned char abz[] = {0x41, 0x42, 0x00};
  std::string row = FormatHexRow(16, abz, 3);
  EXPECT_EQ(row, "00000010h: 41 42 00" + std::string(39, ' ') + " ; AB." + std::string(13, ' '));
  EXPECT_EQ(row.size(), 77u);

  unsigned char full[16];
  for (int i = 0; i < 16; ++i) full[i] = static_cast<unsigned char>(0x70 + i);
  std::string r16 = FormatHexRow(0xABCDEF01u, full, 16);
  EXPECT_EQ(r16.size(), 77u);
  EXPECT_EQ(r16.substr(0, 14), "abcdef01h: 70 ");
  // 0x7E printable; 0x7F and above are not.
  EXPECT_EQ(r16.substr(61), "pqrstuvwxyz{|}~.");

  const unsigned char edges[] = {0x20, 0x7E, 0x1F, 0x7F, 0x80, 0xFF};
  std::string re = FormatHexRow(0, edges, 6);
  EXPECT_EQ(re.substr(10 + 48 + 3, 6), " ~....");
}

TEST(HexRows, PaintRangeAndScrollTargets) {
  HexRowRange r = HexRowsToPaint(0, 100, 10, 0, 0);
  EXPECT_GT(r.first, r.last) << "an empty buffer paints no rows";
  r = HexRowsToPaint(15, 95, 10, 3, 100);
  EXPECT_EQ(r.first, 4);
  EXPECT_EQ(r.last, 12);
  r = HexRowsToPaint(0, 1000, 10, 0, 5);
  EXPECT_EQ(r.last, 4);

  EXPECT_EQ(HexScrollTarget(HexScroll::Top, 7, 5, 0, 0, 20).position, 0);
  EXPECT_EQ(HexScrollTarget(HexScroll::Bottom, 7, 5, 0, 0, 20).position, 20);
  EXPECT_EQ(HexScrollTarget(HexScroll::PageDown, 7, 5, 0, 0, 20).position, 12);
  EXPECT_EQ(HexScrollTarget(HexScroll::ThumbPosition, 7, 5, 9, 0, 20).position, 9);
  HexScrollResult drag = HexScrollTarget(HexScroll::Other, 7, 5, 9, 0, 20);
  EXPECT_FALSE(drag.changes);
  EXPECT_EQ(drag.position, 7);
}

TEST(HexRows, BuffersOfZeroSixteenAndSeventeenBytes) {
  // 0 bytes: no row, so nothing is painted but the background.
  EXPECT_EQ(HexRowCount(0), 0);
  EXPECT_GT(HexRowsToPaint(0, 500, 12, 0, HexRowCount(0)).first,
            HexRowsToPaint(0, 500, 12, 0, HexRowCount(0)).last);

  unsigned char bytes[17];
  for (int i = 0; i < 17; ++i) bytes[i] = static_cast<unsigned char>('a' + i);
  // 16 bytes: one full row.
  ASSERT_EQ(HexRowCount(16), 1);
  EXPECT_EQ(FormatHexRow(0, bytes, HexBytesInRow(0, 16)),
            "00000000h: 61 62 63 64 65 66 67 68 69 6a 6b 6c 6d 6e 6f 70 ; abcdefghijklmnop");
  // 17 bytes: the second row has one byte, 15 three-blank fillers in the hex
  // part and 15 blanks after the characters.
  ASSERT_EQ(HexRowCount(17), 2);
  ASSERT_EQ(HexBytesInRow(1, 17), 1);
  EXPECT_EQ(FormatHexRow(16, bytes + 16, HexBytesInRow(1, 17)),
            "00000010h: 71" + std::string(45, ' ') + " ; q" + std::string(15, ' '));
  // Offsets run in lower-case hex, eight digits.
  EXPECT_EQ(FormatHexRow(0xfff0, bytes, 1).substr(0, 10), "0000fff0h:");
}
