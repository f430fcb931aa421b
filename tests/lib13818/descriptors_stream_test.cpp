#include <gtest/gtest.h>

#include "exact_descriptor.h"
#include "lib13818/descriptors.h"

using namespace lib13818;
using namespace testing_support;

namespace {

TEST(VideoStream, Mpeg2FieldsOnlyWithoutTheMpeg1Flag) {
  auto d = MakeDescriptor<DescriptorVideoStream>(Desc(0x02, {0x1A, 0x48, 0x5F}));
  EXPECT_FALSE(d.multiple_frame_rate_flag);
  EXPECT_EQ(d.frame_rate_code, 3u);
  EXPECT_FALSE(d.MPEG_1_only_flag);
  EXPECT_TRUE(d.constrained_parameter_flag);
  EXPECT_FALSE(d.still_picture_flag);
  EXPECT_EQ(d.profile_and_level_indication, 0x48u);
  EXPECT_EQ(d.chroma_format, 1u);
  EXPECT_FALSE(d.frame_rate_extension_flag);
  EXPECT_EQ(d.reserved, 0x1Fu);
  // MPEG-1 only: the bytes behind are not MPEG-2 fields.
  auto m = MakeDescriptor<DescriptorVideoStream>(Desc(0x02, {0x1C, 0x48, 0x5F}));
  EXPECT_TRUE(m.MPEG_1_only_flag);
  EXPECT_EQ(m.profile_and_level_indication, 0u);
  EXPECT_EQ(m.chroma_format, 0u);
  EXPECT_EQ(m.reserved, 0u);
  // Too short for the MPEG-2 fields.
  auto s = MakeDescriptor<DescriptorVideoStream>(Desc(0x02, {0x1A}));
  EXPECT_EQ(s.frame_rate_code, 3u);
  EXPECT_EQ(s.profile_and_level_indication, 0u);
  EXPECT_EQ(MakeDescriptor<DescriptorVideoStream>({0x02, 0}).frame_rate_code, 0u);
  EXPECT_EQ(Printed(d), "descriptor_tag: 02 video_stream_descriptor\nTO IMPLEMENT!!!\n");
}

TEST(AudioStream, Flags) {
  auto d = MakeDescriptor<DescriptorAudioStream>(Desc(0x03, {0xE8}));
  EXPECT_EQ(d.free_format_flag, 1u);
  EXPECT_EQ(d.ID, 1u);
  EXPECT_EQ(d.layer, 2u);
  EXPECT_EQ(d.variable_rate_audio_indicator, 1u);
  EXPECT_EQ(Printed(d),
            "descriptor_tag: 03 audio_stream_descriptor\n"
            "free_format_flag: 1\nID: 1\nlayer: 2\nvariable_rate_audio_indicator: 1\n");
  EXPECT_EQ(MakeDescriptor<DescriptorAudioStream>({0x03, 0}).layer, 0u);
}

TEST(ISO639Language, EntriesOfFourBytes) {
  auto d = MakeDescriptor<DescriptorISO639Language>(Desc(0x0A, {'d', 'e', 'u', 0x01}));
  ASSERT_EQ(d.languages.size(), 1u);
  EXPECT_STREQ(d.languages[0].ISO_639_language_code, "deu");
  EXPECT_EQ(d.languages[0].audio_type, 1u);
  EXPECT_EQ(Printed(d),
            "descriptor_tag: 0a ISO_639_language_descriptor\nISO_639_language_code: deu\naudio_type: 1\n");
  ExpectRefused<DescriptorISO639Language>(Desc(0x0A, {'d', 'e', 'u', 1, 'e', 'n'}), -1,
                                          "descriptor length mismatch");
  EXPECT_TRUE(MakeDescriptor<DescriptorISO639Language>({0x0A, 0}).languages.empty());
}

TEST(Copyright, IdentifierAndAdditionalBytes) {
  auto d = MakeDescriptor<DescriptorCopyright>(Desc(0x0D, {0, 0, 0x01, 0x2C}));
  EXPECT_EQ(d.copyright_identifier, 0x12Cu);
  EXPECT_TRUE(d.additional_copyright_info.empty());
  EXPECT_EQ(Printed(d),
            "descriptor_tag: 0d copyright_descriptor\ncopyright_identifier:12c\nadditional_copyright_info: \n");
  auto e = MakeDescriptor<DescriptorCopyright>(Desc(0x0D, {0xFF, 0xFF, 0xFF, 0xFF, 0x0A, 0xFF}));
  EXPECT_EQ(e.copyright_identifier, 0xFFFFFFFFu);
  EXPECT_EQ(Printed(e),
            "descriptor_tag: 0d copyright_descriptor\ncopyright_identifier:ffffffff\n"
            "additional_copyright_info:  a ff\n");
  e.Reset();
  EXPECT_TRUE(e.additional_copyright_info.empty());
}

TEST(StreamTruncated, ShortFixedLayoutsKeepZeroFields) {
  auto c = MakeDescriptor<DescriptorCopyright>(Desc(0x0D, {0x12, 0x34, 0x56}));
  EXPECT_EQ(c.copyright_identifier, 0u);
  EXPECT_TRUE(c.additional_copyright_info.empty());
  EXPECT_EQ(MakeDescriptor<DescriptorPrivateDataIndicator>(Desc(0x0F, {1, 2, 3})).private_data_indicator, 0u);
  EXPECT_EQ(MakeDescriptor<DescriptorSTD>({0x11, 0}).leak_valid_flag, 0u);
  EXPECT_EQ(MakeDescriptor<DescriptorStreamIdentifier>({0x52, 0}).component_tag, 0u);
  // An odd length: the last byte is no whole value.
  auto ca = MakeDescriptor<DescriptorCAIdentifier>(Desc(0x53, {0x01, 0x00, 0x17}));
  EXPECT_EQ(ca.CA_system_ids, (std::vector<u32>{0x0100}));
}

TEST(SmallStreamDescriptors, FieldsAndPrint) {
  auto p = MakeDescriptor<DescriptorPrivateDataIndicator>(Desc(0x0F, {0x41, 0x42, 0x43, 0x44}));
  EXPECT_EQ(p.private_data_indicator, 0x41424344u);
  EXPECT_EQ(Printed(p),
            "descriptor_tag: 0f private_data__indicatordescriptor\nprivate_data_indicator: 41424344\n");
  auto s = MakeDescriptor<DescriptorSTD>(Desc(0x11, {0xFF}));
  EXPECT_EQ(s.leak_valid_flag, 1u);
  EXPECT_EQ(Printed(s), "descriptor_tag: 11 STD_descriptor\nleak_valid_flag: 1\n");
  auto t = MakeDescriptor<DescriptorStreamIdentifier>(Desc(0x52, {0x2A}));
  EXPECT_EQ(t.component_tag, 0x2Au);
  EXPECT_EQ(Printed(t), "descriptor_tag: 52 stream_identifier_descriptor\ncomponent_tag: 2a\n");
}

TEST(CAIdentifier, Values) {
  auto d = MakeDescriptor<DescriptorCAIdentifier>(Desc(0x53, {0x01, 0x00, 0x17, 0x02}));
  EXPECT_EQ(d.CA_system_ids, (std::vector<u32>{0x0100, 0x1702}));
  EXPECT_EQ(Printed(d), "descriptor_tag: 53 CA_system_id_descriptor\nCA_system_id: 100\nCA_system_id: 1702\n");
  auto e = MakeDescriptor<DescriptorCAIdentifier>({0x53, 0});
  EXPECT_TRUE(e.CA_system_ids.empty());
  EXPECT_EQ(Printed(e), "descriptor_tag: 53 CA_system_id_descriptor\n");
  d.Reset();
  EXPECT_TRUE(d.CA_system_ids.empty());
}

TEST(Teletext, PagesDecodedAsBroadcast) {
  // Byte 3: teletext_type in bits 7-3, magazine number in bits 2-0.
  auto d = MakeDescriptor<DescriptorTeletext>(Desc(0x56, {'d', 'e', 'u', 0x09, 0x88}));
  ASSERT_EQ(d.pages.size(), 1u);
  EXPECT_STREQ(d.pages[0].ISO_639_language_code, "deu");
  EXPECT_EQ(d.pages[0].teletext_type, 1u);
  EXPECT_STREQ(d.pages[0].GetTeletextTypeName(), "initial teletext page");
  EXPECT_EQ(d.pages[0].teletext_magazine_number, 1u);
  EXPECT_EQ(d.pages[0].teletext_page_number, 0x88u);
  EXPECT_EQ(Printed(d),
            "descriptor_tag: 56 teletext_descriptor\n"
            "language_code deu\nteletext_type 1\nteletext_magazine_number 1\nteletext_page_number 88\n");
  auto s = MakeDescriptor<DescriptorTeletext>(Desc(0x56, {'d', 'e', 'u', 0x10, 0x00, 'e', 'n', 'g', 0x3F, 0x01}));
  ASSERT_EQ(s.pages.size(), 2u);
  EXPECT_STREQ(s.pages[0].GetTeletextTypeName(), "teletext subtitle page");
  EXPECT_EQ(s.pages[1].teletext_type, 7u);
  EXPECT_EQ(s.pages[1].teletext_magazine_number, 7u);
  EXPECT_STREQ(s.pages[1].GetTeletextTypeName(), "reserved for future use");
  ExpectRefused<DescriptorTeletext>(Desc(0x56, {'d', 'e', 'u', 0x09}), -1, "descriptor length mismatch");
  EXPECT_TRUE(MakeDescriptor<DescriptorTeletext>({0x56, 0}).pages.empty());
}

}  // namespace
