#include <gtest/gtest.h>

#include "exact_descriptor.h"
#include "lib13818/descriptors.h"

using namespace lib13818;
using namespace testing_support;

namespace {

TEST(ParentalRating, EntriesOfFourBytes) {
  EXPECT_TRUE(MakeDescriptor<DescriptorParentalRating>({0x55, 0}).ratings.empty());
  ExpectRefused<DescriptorParentalRating>(Desc(0x55, {'D', 'E', 'U', 9, 'G', 'B'}), 3,
                                          "parental_rating_descriptor");
  auto d = MakeDescriptor<DescriptorParentalRating>(Desc(0x55, {'D', 'E', 'U', 0x0C, 'G', 'B', 'R', 3}));
  ASSERT_EQ(d.ratings.size(), 2u);
  EXPECT_STREQ(d.ratings[1].country_code, "GBR");
  EXPECT_EQ(d.ratings[1].rating, 3u);
  EXPECT_EQ(Printed(d),
            "descriptor_tag: 55 parental_rating_descriptor\n"
            "DescriptorParentalRating::RatingInfo::country_code: DEU\n"
            "DescriptorParentalRating::RatingInfo::rating: c\n"
            "DescriptorParentalRating::RatingInfo::country_code: GBR\n"
            "DescriptorParentalRating::RatingInfo::rating: 3\n");
  d.Reset();
  EXPECT_TRUE(d.ratings.empty());
}

TEST(Telephone, LengthsAndNumberStrings) {
  std::vector<u8> payload = {0xFF, 0x7F, 0xFF};
  const std::string numbers = "456" "0123456" "abc" "7890123" "123456789012345";
  payload.insert(payload.end(), numbers.begin(), numbers.end());
  auto d = MakeDescriptor<DescriptorTelephone>(Desc(0x57, payload));
  EXPECT_EQ(d.foreign_availability, 1u);
  EXPECT_EQ(d.connection_type, 0x1Fu);
  EXPECT_EQ(d.country_prefix_length, 3u);
  EXPECT_EQ(d.international_area_code_length, 7u);
  EXPECT_EQ(d.operator_code_length, 3u);
  EXPECT_EQ(d.national_area_code_length, 7u);
  EXPECT_EQ(d.core_number_length, 15u);
  EXPECT_EQ(d.country_prefix_char, "456");
  EXPECT_EQ(d.international_area_code_char, "0123456");
  EXPECT_EQ(d.operator_code_char, "abc");
  EXPECT_EQ(d.national_area_code_char, "7890123");
  EXPECT_EQ(d.core_number_char, "123456789012345");
  // The reserved bit of byte 3 makes no difference.
  auto r = MakeDescriptor<DescriptorTelephone>(Desc(0x57, {0x00, 0xFF, 0x00, 'a', 'b', 'c', '1', '2', '3', '4',
                                                           '5', '6', '7', 'x', 'y', 'z'}));
  EXPECT_EQ(r.country_prefix_length, 3u);
  EXPECT_EQ(r.international_area_code_length, 7u);
  EXPECT_EQ(r.operator_code_length, 3u);
  EXPECT_EQ(r.operator_code_char, "xyz");
}

TEST(Telephone, EmptyStringsPrintTheirLabelsAlone) {
  auto d = MakeDescriptor<DescriptorTelephone>(Desc(0x57, {0x21, 0x80, 0x80}));
  EXPECT_EQ(Printed(d),
            "descriptor_tag: 57 telephone_descriptor\n"
            "foriegn_availability: 1\n"
            "connection_type: 1\n"
            "country_prefix_length: 0\n"
            "international_area_code_length: 0\n"
            "operator_code_length: 0\n"
            "national_area_code_length: 0\n"
            "core_number_length: 0\n"
            "country_prefix_char: \n"
            "international_area_code_char: \n"
            "operator_code_char: \n"
            "national_area_code_char: \n"
            "core_number_char: \n");
}

TEST(Telephone, NumbersPastTheEndAreRefused) {
  ExpectRefused<DescriptorTelephone>(Desc(0x57, {0x00, 0x00, 0x03, '1', '2'}), 3, "telephone_descriptor");
  // Lengths from a byte the descriptor does not carry are not read.
  auto d = MakeDescriptor<DescriptorTelephone>(Desc(0x57, {0x01}));
  EXPECT_EQ(d.connection_type, 1u);
  EXPECT_EQ(d.core_number_length, 0u);
}

TEST(Subtitling, EntriesOfEightBytes) {
  auto d = MakeDescriptor<DescriptorSubtitling>(Desc(
      0x59, {'d', 'e', 'u', 0x10, 0x00, 0x01, 0x00, 0x02, 'e', 'n', 'g', 0x20, 0x12, 0x34, 0xFF, 0xFF}));
  ASSERT_EQ(d.subtitles.size(), 2u);
  EXPECT_STREQ(d.subtitles[1].ISO_639_language_code, "eng");
  EXPECT_EQ(d.subtitles[1].subtitling_type, 0x20u);
  EXPECT_EQ(d.subtitles[1].composition_page_id, 0x1234u);
  EXPECT_EQ(d.subtitles[1].ancillary_page_id, 0xFFFFu);
  EXPECT_EQ(Printed(d),
            "descriptor_tag: 59 subtitling_descriptor\n"
            "DescriptorSubtitling::ISO_639_language_code: deu\n"
            "DescriptorSubtitling::subtitling_type: 10\n"
            "DescriptorSubtitling::composition_page_id: 1\n"
            "DescriptorSubtitling::antcillary_page_id: 2\n"
            "DescriptorSubtitling::ISO_639_language_code: eng\n"
            "DescriptorSubtitling::subtitling_type: 20\n"
            "DescriptorSubtitling::composition_page_id: 1234\n"
            "DescriptorSubtitling::antcillary_page_id: ffff\n");
  ExpectRefused<DescriptorSubtitling>(Desc(0x59, {'d', 'e', 'u', 0x10, 0, 1, 0, 2, 'e', 'n'}), 3,
                                      "subtitling_descriptor");
}

TEST(VbiData, EntriesWithTheirBytes) {
  auto d = MakeDescriptor<DescriptorVBIData>(Desc(0x45, {0x01, 0x02, 0xE7, 0xC8, 0x04, 0x00}));
  ASSERT_EQ(d.services.size(), 2u);
  EXPECT_EQ(d.services[0].data_service_id, 1u);
  EXPECT_EQ(d.services[0].data_service_descriptor_length, 2u);
  EXPECT_EQ(d.services[0].data_service_bytes, (std::vector<u8>{0xE7, 0xC8}));
  EXPECT_EQ(d.services[1].data_service_id, 4u);
  EXPECT_TRUE(d.services[1].data_service_bytes.empty());
  EXPECT_EQ(Printed(d), "descriptor_tag: 45 VBI_data_descriptor\n");

  int consumed = 0;
  const u8 entry[] = {0x07, 0x00};
  VBIDataInfo e(entry, 2, &consumed);
  EXPECT_EQ(consumed, 2);

  // Data running past the end, and a lone header byte at the end.
  ExpectRefused<DescriptorVBIData>(Desc(0x45, {0x01, 0x03, 0xE7, 0xC8}), 2, "");
  ExpectRefused<DescriptorVBIData>(Desc(0x45, {0x04, 0x00, 0x05}), 2, "");
}

}  // namespace

namespace {

TEST(VbiTeletext, EntriesOfFiveBytes) {
  auto d = MakeDescriptor<DescriptorVBITeletext>(
      Desc(0x46, {'d', 'e', 'u', 0x09, 0x88, 'e', 'n', 'g', 0x2F, 0x01}));
  ASSERT_EQ(d.pages.size(), 2u);
  EXPECT_STREQ(d.pages[0].ISO_639_language_code, "deu");
  EXPECT_EQ(d.pages[0].teletext_type, 1u);  // 00001 001
  EXPECT_EQ(d.pages[0].teletext_magazine_number, 1u);
  EXPECT_EQ(d.pages[0].teletext_page_number, 0x88u);
  EXPECT_STREQ(d.pages[0].GetTeletextTypeName(), "initial teletext page");
  EXPECT_EQ(d.pages[1].teletext_type, 5u);  // 00101 111
  EXPECT_EQ(d.pages[1].teletext_magazine_number, 7u);
  EXPECT_STREQ(d.pages[1].GetTeletextTypeName(), "reserved for future use");
  EXPECT_EQ(Printed(d), "descriptor_tag: 46 VBI_teletext_descriptor\n");
  d.Reset();
  EXPECT_TRUE(d.pages.empty());

  EXPECT_TRUE(MakeDescriptor<DescriptorVBITeletext>({0x46, 0}).pages.empty());
  ExpectRefused<DescriptorVBITeletext>(Desc(0x46, {'d', 'e', 'u', 0x09, 0x88, 'e', 'n'}), -1, "");
}

}  // namespace
