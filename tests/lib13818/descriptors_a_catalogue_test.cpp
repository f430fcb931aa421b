#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>

#include "exact_descriptor.h"
#include "lib13818/descriptor_set.h"

using namespace lib13818;
using namespace testing_support;

namespace {

struct Row {
  u8 tag;
  int index;
  const char* name;
};

// Every class with a tag of its own: its list and display name.
const Row kRows[] = {
    {0x02, 0, "video_stream_descriptor"},
    {0x03, 1, "audio_stream_descriptor"},
    {0x04, 2, "hierachy_descriptor"},
    {0x05, 3, "registration_descriptor"},
    {0x06, 4, "data_stream_alignment_descriptor"},
    {0x07, 5, "target_background_grid_descriptor"},
    {0x08, 6, "video_window_descriptor"},
    {0x09, 7, "CA_Descriptor"},
    {0x0A, 8, "ISO_639_language_descriptor"},
    {0x0B, 9, "system_clock_descriptor"},
    {0x0C, 10, "multiplex_buffer_utilization_descriptor"},
    {0x0D, 11, "copyright_descriptor"},
    {0x0E, 12, "maximum_bitrate_descriptor"},
    {0x0F, 13, "private_data__indicatordescriptor"},
    {0x10, 14, "smoothing_buffer_descriptor"},
    {0x11, 15, "STD_descriptor"},
    {0x12, 16, "IBP_descriptor"},
    {0x40, 17, "network_name_descriptor"},
    {0x41, 18, "service_list_descriptor"},
    {0x42, 21, "stuffing_descriptor"},
    {0x43, 22, "satellite_delivery_system_descriptor"},
    {0x44, 23, "cable_delivery_system_descriptor"},
    {0x45, 41, "VBI_data_descriptor"},
    {0x46, 42, "VBI_teletext_descriptor"},
    {0x47, 19, "bouquet_name_descriptor"},
    {0x48, 20, "service_descriptor"},
    {0x49, 24, "country_availability_descriptor"},
    {0x4A, 25, "linkage_descriptor"},
    {0x4B, 26, "NVOD_reference_descriptor"},
    {0x4C, 27, "time_shifted_service_descriptor"},
    {0x4D, 62, "short_event_descriptor"},
    {0x4E, 63, "extended_event_descriptor"},
    {0x4F, 64, "time_shifted_event_descriptor"},
    {0x50, 65, "component_descriptor"},
    {0x51, 28, "mosiac_descriptor"},
    {0x52, 29, "stream_identifier_descriptor"},
    {0x53, 59, "CA_system_id_descriptor"},
    {0x54, 60, "content_descriptor"},
    {0x55, 30, "parental_rating_descriptor"},
    {0x56, 67, "teletext_descriptor"},
    {0x57, 31, "telephone_descriptor"},
    {0x58, 66, "local_time_offset_descriptor"},
    {0x59, 32, "subtitling_descriptor"},
    {0x5A, 33, "terrestrial_delivery_system_descriptor"},
    {0x5B, 34, "multilingual_network_name_descriptor"},
    {0x5C, 35, "multilingual_bouquet_name_descriptor"},
    {0x5D, 36, "multilingual_service_name_descriptor"},
    {0x5E, 37, "multilingual_component_name_descriptor"},
    {0x5F, 38, "private_data_specifier_descriptor"},
    {0x60, 39, "service_move_descriptor"},
    {0x61, 40, "short_smoothing_buffer_descriptor"},
    {0x62, 43, "frequency_list_descriptor"},
    {0x63, 44, "partial_transport_descriptor"},
    {0x64, 45, "data_broadcast_descriptor"},
    {0x66, 46, "data_broadcast_id_descriptor"},
    {0x67, 47, "transport_stream_descriptor"},
    {0x68, 48, "DSNG_descriptor"},
    {0x69, 49, "PDC_descriptor"},
    {0x6A, 50, "_descriptor"},
    {0x6B, 51, "_descriptor"},
    {0x6C, 52, "cell_list_descriptor"},
    {0x6D, 53, "cell_frequency_link_descriptor"},
    {0x6E, 54, "announcement_support_descriptor"},
    {0x6F, 55, "application_signalling_descriptor"},
    {0x70, 56, "adaptation_field_descriptor"},
    {0x71, 57, "service_identifier_descriptor"},
    {0x72, 58, "service_availability_descriptor"},
};

// Tags whose class prints no fields.
const std::set<int> kPrintsNothing = {0x04, 0x05, 0x06, 0x07, 0x08, 0x0B, 0x0C, 0x0E, 0x10, 0x12, 0x5A, 0x62,
                                      0x63, 0x64, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x6F,
                                      0x70, 0x71, 0x72};

// A descriptor of each tag that parses without an error.
std::vector<u8> WellFormed(u8 tag) {
  switch (tag) {
    case 0x49: return {tag, 1, 0x80};
    case 0x4D: return {tag, 5, 'd', 'e', 'u', 0, 0};
    case 0x4E: return {tag, 6, 0, 'd', 'e', 'u', 0, 0};
    case 0x5E: return {tag, 1, 0};
    case 0x61: return {tag, 1, 0};
    case 0x62: return {tag, 1, 0};
    case 0x64: return {tag, 8, 0, 1, 2, 0, 'e', 'n', 'g', 0};
    case 0x6E: return {tag, 2, 0, 0};
    case 0x72: return {tag, 1, 0};
    default: return {tag, 0};
  }
}

TEST(DescriptorCatalogue, EveryTagLandsInItsListWithItsName) {
  std::map<int, Row> rows;
  for (const Row& r : kRows) rows[r.tag] = r;
  ASSERT_EQ(rows.size(), 67u);
  for (int t = 0; t <= 0xFF; ++t) {
    SCOPED_TRACE(t);
    const u8 tag = static_cast<u8>(t);
    DescriptorSet set;
    ExactBytes d(WellFormed(tag));
    set.AddDescriptor(d.data());
    ASSERT_EQ(set.Count(), 1u);
    int found = -1;
    std::string name, printed;
    u32 got_tag = 0;
    set.ForEachList([&](int index, const auto& list) {
      if (list.empty()) return;
      found = index;
      name = list[0].GetName();
      got_tag = list[0].tag;
      printed = Printed(list[0]);
    });
    EXPECT_EQ(got_tag, u32(t));
    auto row = rows.find(t);
    if (row != rows.end()) {
      EXPECT_EQ(found, row->second.index);
      EXPECT_EQ(name, row->second.name);
    } else {
      EXPECT_EQ(found, t >= 0x80 ? 61 : 68);
      EXPECT_EQ(name, GetMpegDescriptorName(tag));
    }
    std::ostringstream tag_line;
    tag_line << "descriptor_tag: " << std::hex;
    tag_line.width(2);
    tag_line.fill('0');
    tag_line << t << " " << name << "\n";
    EXPECT_EQ(printed.compare(0, tag_line.str().size(), tag_line.str()), 0) << printed;
    if (kPrintsNothing.count(t)) {
      EXPECT_EQ(printed, tag_line.str());
    }
    if (t == 0x02) {
      EXPECT_EQ(printed, tag_line.str() + "TO IMPLEMENT!!!\n");
    }
  }
}

// Every class's tag at every length with a few byte patterns, each in a block
// of exactly the descriptor's size: a parse either succeeds or throws
// lib13818::error, and the sanitizer build sees any read past the block.
TEST(DescriptorCatalogue, NoLengthOrContentReadsPastTheDescriptor) {
  const u8 patterns[] = {0x00, 0xFF, 0x01, 0x02, 0x04, 0x05, 0x08, 0x80};
  for (const Row& row : kRows) {
    const u8 tag = row.tag;
    SCOPED_TRACE(tag);
    for (int len = 0; len <= 40; ++len) {
      for (u8 pattern : patterns) {
        for (int variant = 0; variant < 2; ++variant) {
          std::vector<u8> bytes(2 + len, pattern);
          bytes[0] = tag;
          bytes[1] = static_cast<u8>(len);
          if (variant)
            for (int i = 2; i < 2 + len; ++i) bytes[i] = static_cast<u8>(pattern + i - 2);
          ExactBytes d(bytes);
          DescriptorSet set;
          try {
            set.AddDescriptor(d.data());
            std::ostringstream os;
            set.ForEachList([&os](int, const auto& list) {
              for (const auto& x : list) x.Print(os);
            });
          } catch (const error&) {
            EXPECT_EQ(set.Count(), 0u);
          }
        }
      }
    }
  }
}

TEST(DescriptorCatalogue, AnErrorInALoopKeepsTheDescriptorsBeforeIt) {
  const std::vector<u8> loop = {0x5F, 4, 0, 0, 0, 0x28,   // private data specifier
                                0x55, 4, 'D', 'E', 'U', 7,  // parental rating
                                0x59, 3, 'd', 'e', 'u'};    // subtitling, not whole
  ExactBytes bytes(loop);
  DescriptorSet set;
  try {
    set.AddLoop(bytes.data(), bytes.size());
    ADD_FAILURE() << "no error";
  } catch (const error& e) {
    EXPECT_EQ(e.code, 3);
    EXPECT_STREQ(e.what(), "subtitling_descriptor");
  }
  EXPECT_EQ(set.privateDataSpecifierDescriptors.size(), 1u);
  EXPECT_EQ(set.parentalRatingDescriptors.size(), 1u);
  EXPECT_TRUE(set.subtitlingDescriptors.empty());
}

}  // namespace
