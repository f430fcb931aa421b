#include <gtest/gtest.h>

#include <sstream>

#include "lib13818/descriptor_records.h"

using namespace lib13818;

TEST(DescriptorRecords, ServiceInfoReadsBigEndianInFieldOrder) {
  const u8 b[] = {0x00, 0x01, 0x04, 0x4A, 0x75, 0x30};
  ServiceInfo s(b);
  EXPECT_EQ(s.original_network_id, 1u);
  EXPECT_EQ(s.transport_stream_id, 0x044Au);
  EXPECT_EQ(s.service_id, 0x7530u);

  std::ostringstream os;
  os << std::hex;
  s.Print(os);
  EXPECT_EQ(os.str(),
            "ServiceInfo::original_network_id: 1\n"
            "ServiceInfo::transport_stream_id: 44a\n"
            "ServiceInfo::service_id: 7530\n");
}

TEST(DescriptorRecords, EventAndBouquetInfoAreNotSignExtended) {
  const u8 ff[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  EventInfo e(ff);
  EXPECT_EQ(e.original_network_id, 0xFFFFu);
  EXPECT_EQ(e.transport_stream_id, 0xFFFFu);
  EXPECT_EQ(e.service_id, 0xFFFFu);
  EXPECT_EQ(e.event_id, 0xFFFFu);
  BouquetInfo b(ff);
  EXPECT_EQ(b.bouquet_id, 0xFFFFu);

  std::ostringstream os;
  os << std::hex;
  e.Print(os);
  b.Print(os);
  EXPECT_EQ(os.str(),
            "EventInfo::original_network_id: ffff\n"
            "EventInfo::transport_stream_id: ffff\n"
            "EventInfo::service_id: ffff\n"
            "EventInfo::event_id: ffff\n"
            "BouquetInfo::bouquet_id: ffff\n");
}

TEST(DescriptorRecords, TeletextTypeNames) {
  TeletextInfo t;
  const char* names[] = {"reserved for future use", "initial teletext page", "teletext subtitle page",
                         "additional information page", "programme schedule page",
                         "reserved for future use"};
  for (u32 type = 0; type < 6; ++type) {
    t.teletext_type = type;
    EXPECT_STREQ(t.GetTeletextTypeName(), names[type]);
  }
  t.teletext_type = 31;
  EXPECT_STREQ(t.GetTeletextTypeName(), "reserved for future use");
}
