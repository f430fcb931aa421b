#include <gtest/gtest.h>

#include <cstring>
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

// The classes of this group, with their list and display name.
const Row kRows[] = {
    {0x04, 2, "hierachy_descriptor"},
    {0x05, 3, "registration_descriptor"},
    {0x06, 4, "data_stream_alignment_descriptor"},
    {0x07, 5, "target_background_grid_descriptor"},
    {0x08, 6, "video_window_descriptor"},
    {0x0B, 9, "system_clock_descriptor"},
    {0x0C, 10, "multiplex_buffer_utilization_descriptor"},
    {0x0E, 12, "maximum_bitrate_descriptor"},
    {0x10, 14, "smoothing_buffer_descriptor"},
    {0x12, 16, "IBP_descriptor"},
    {0x45, 41, "VBI_data_descriptor"},
    {0x46, 42, "VBI_teletext_descriptor"},
    {0x55, 30, "parental_rating_descriptor"},
    {0x57, 31, "telephone_descriptor"},
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

// A well-formed descriptor of each tag (parses without an error).
std::vector<u8> WellFormed(u8 tag) {
  switch (tag) {
    case 0x5E: return {tag, 1, 0};
    case 0x61: return {tag, 1, 0};
    case 0x62: return {tag, 1, 0};
    case 0x64: return {tag, 8, 0, 1, 2, 0, 'e', 'n', 'g', 0};
    case 0x6E: return {tag, 2, 0, 0};
    case 0x72: return {tag, 1, 0};
    default: return {tag, 0};
  }
}

TEST(DescriptorCatalogueB, EveryTagLandsInItsListWithItsName) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.tag);
    DescriptorSet set;
    ExactBytes d(WellFormed(row.tag));
    set.AddDescriptor(d.data());
    int found = -1;
    std::string name;
    u32 tag = 0;
    set.ForEachList([&](int index, const auto& list) {
      if (list.empty()) return;
      found = index;
      name = list[0].GetName();
      tag = list[0].tag;
    });
    EXPECT_EQ(found, row.index);
    EXPECT_EQ(name, row.name);
    EXPECT_EQ(tag, row.tag);
    EXPECT_EQ(set.Count(), 1u);
  }
}

// Every length with a few byte patterns, each in a block of exactly the
// descriptor's size: a parse either succeeds or throws lib13818::error, and
// the sanitizer build sees any read past the block.
TEST(DescriptorCatalogueB, NoLengthOrContentReadsPastTheDescriptor) {
  const u8 patterns[] = {0x00, 0xFF, 0x01, 0x08, 0x05, 0x80};
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.tag);
    for (int len = 0; len <= 40; ++len) {
      for (u8 pattern : patterns) {
        for (int variant = 0; variant < 2; ++variant) {
          std::vector<u8> bytes(2 + len, pattern);
          bytes[0] = row.tag;
          bytes[1] = static_cast<u8>(len);
          // The second variant counts up, which gives small inner lengths.
          if (variant) for (int i = 2; i < 2 + len; ++i) bytes[i] = static_cast<u8>(pattern + i - 2);
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

TEST(DescriptorCatalogueB, AnErrorInALoopKeepsTheDescriptorsBeforeIt) {
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
