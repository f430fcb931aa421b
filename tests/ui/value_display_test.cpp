// The value pane's display routines written to a text sink: labels, value
// formats, N/A rules, name lookups, hex previews and row items, from
// sections and descriptors built as they are broadcast.
#include "ui_core/value_display.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "lib13818/id_names.h"
#include "section_builder.h"

namespace {

using testing_support::Bytes;
using testing_support::SectionBuilder;
using ui_core::TextSink;
using Item = TextSink::Row::Item;

class ValueDisplay : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { lib13818::InitIdNameMaps(); }
  TextSink sink;
};

template <class T>
T ParseSection(const Bytes& bytes) {
  T s;
  s.Parse(bytes.data(), bytes.size());
  return s;
}

template <class T>
T ParseDescriptor(std::uint8_t tag, const Bytes& payload) {
  Bytes d{tag, static_cast<std::uint8_t>(payload.size())};
  d.insert(d.end(), payload.begin(), payload.end());
  return T(d.data());
}

// ---------------------------------------------------------------------------

TEST(HexPreview, EmptyOneAndCutAtHundredBytes) {
  EXPECT_EQ(ui_core::FormatHexPreview({}), "");
  EXPECT_EQ(ui_core::FormatHexPreview({0x0A}), "0A");
  EXPECT_EQ(ui_core::FormatHexPreview({0x00, 0xFF, 0x5c}), "00 FF 5C");
  std::vector<unsigned char> many(250);
  for (size_t i = 0; i < many.size(); ++i) many[i] = static_cast<unsigned char>(i);
  const std::string text = ui_core::FormatHexPreview(many);
  EXPECT_EQ(text.size(), 100u * 2 + 99);
  EXPECT_EQ(text.substr(0, 8), "00 01 02");
  EXPECT_EQ(text.substr(text.size() - 5), "62 63");  // byte 99 is the last
}

TEST(Labels, SplitDropsEmptyLabelsAndKeepsLongOnesWhole) {
  std::vector<std::string> labels;
  ui_core::SplitLabels(",A,,B,", labels);
  EXPECT_EQ(labels, (std::vector<std::string>{"A", "B"}));
  const std::string longLabel(300, 'X');
  labels.clear();
  ui_core::SplitLabels("FIRST," + longLabel + ",LAST", labels);
  ASSERT_EQ(labels.size(), 3u);
  EXPECT_EQ(labels[1], longLabel);
  EXPECT_EQ(labels[2], "LAST");
  labels.clear();
  ui_core::SplitLabels("", labels);
  EXPECT_TRUE(labels.empty());
}

TEST(Labels, EntriesAsTheResourcesHoldThem) {
  std::vector<std::string> labels;
  ui_core::SplitLabels(ui_core::ValueLabelText(61208), labels);
  EXPECT_EQ(labels.size(), 16u);
  EXPECT_GT(std::string(ui_core::ValueLabelText(61208)).size(), 255u);
  EXPECT_GT(std::string(ui_core::ValueLabelText(61248)).size(), 255u);
  EXPECT_STREQ(ui_core::ValueLabelText(61225), "DESCRIPTION,ITEM");
  EXPECT_EQ(ui_core::ValueLabelText(61267), nullptr);  // not a label list
  EXPECT_EQ(ui_core::ValueLabelText(61295), nullptr);
}

TEST_F(ValueDisplay, PatSection) {
  const auto pat = ParseSection<lib13818::ProgramAssociationSection>(
      SectionBuilder::Long(0x00, 0x0441, 5, 0, 0).U16(0).U16(0xE010).U16(0x2B66).U16(0xE064).Build());
  ui_core::ShowPat(sink, pat);
  char crc[16];
  std::snprintf(crc, sizeof crc, "%08X", pat.CRC_32);
  EXPECT_EQ(sink.Text(),
            "TABLE ID=00 : pat\n"
            "SECTION SYNTAX INDICATOR=1\n"
            "SECTION LENGTH=17\n"
            "TRANSPORT STREAM ID=0441\n"
            "VERSION NUMBER=5\n"
            "CURRENT NEXT INDICATOR=1\n"
            "SECTION NUMBER=0\n"
            "LAST SECTION NUMBER=0\n"
            "CRC 32=" + std::string(crc) + "\n");
}

}  // namespace
