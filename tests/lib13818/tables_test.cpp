#include <gtest/gtest.h>

#include <sstream>

#include "lib13818/nit_bat.h"
#include "lib13818/sdt_eit.h"
#include "section_builder.h"

using namespace lib13818;
using testing_support::Bytes;
using testing_support::SectionBuilder;

namespace {

template <class S>
std::string ParseError(const Bytes& b) {
  S s;
  try {
    s.Parse(b.data(), b.size());
  } catch (const error& e) {
    EXPECT_FALSE(s.parsed);
    return e.what();
  }
  ADD_FAILURE() << "parsed";
  return "";
}

template <class S>
S ParseOk(const Bytes& b) {
  S s;
  s.Parse(b.data(), b.size());
  EXPECT_TRUE(s.parsed);
  return s;
}

SectionBuilder Nit(u8 tableId = 0x40) { return SectionBuilder::Long(tableId, 0x0001, 0, 0, 0, 0xF); }

}  // namespace

TEST(Nit, LoopsAndCaDiversion) {
  Bytes b = Nit()
                .BeginLoop()
                .Desc(0x40, {'N', 'e', 't'})
                .Desc(0x09, {0x06, 0x04, 0xE0, 0x10})
                .EndLoop()
                .BeginLoop()
                .U16(0x044D).U16(0x0001)
                .BeginLoop().Desc(0x09, {0x01, 0x00, 0xE0, 0x20}).Desc(0x20, {}).EndLoop()
                .U16(0x044E).U16(0x0001).BeginLoop().EndLoop()
                .EndLoop()
                .Build();
  auto nit = ParseOk<NetworkInformationSection>(b);
  EXPECT_EQ(nit.table_id_extension, 1u);
  EXPECT_EQ(nit.caDescriptors.size(), 1u);
  EXPECT_TRUE(nit.descriptors.caDescriptors.empty());
  EXPECT_EQ(nit.descriptors.networkNameDescriptors.size(), 1u);
  ASSERT_EQ(nit.transportStreams.size(), 2u);
  EXPECT_EQ(nit.transportStreams[0].transport_stream_id, 0x044Du);
  EXPECT_EQ(nit.transportStreams[0].descriptors.caDescriptors.size(), 1u)
      << "a CA descriptor of a transport-stream entry joins the entry's set";
  EXPECT_EQ(nit.transportStreams[1].original_network_id, 1u);
  EXPECT_STREQ(nit.GetName(), "network_information_section - actual_transport_network");

  std::ostringstream os;
  nit.Dump(os);
  EXPECT_EQ(os.str().find("stream_id 1101\noriginal_network_id 1\ndescriptor_tag: 20"), 0u);
  EXPECT_NE(os.str().find("stream_id 44e\n"), std::string::npos) << "hex after a descriptor";

  nit.Clear();
  EXPECT_TRUE(nit.caDescriptors.empty());
  EXPECT_TRUE(nit.transportStreams.empty());
  EXPECT_EQ(nit.descriptors.networkNameDescriptors.size(), 1u);
}

TEST(Nit, TableIdsAndEmptyLoops) {
  auto other = ParseOk<NetworkInformationSection>(
      Nit(0x41).BeginLoop().EndLoop().BeginLoop().EndLoop().Build());
  EXPECT_STREQ(other.GetName(), "network_information_section - other_transport_network");
  EXPECT_TRUE(other.transportStreams.empty());
  std::ostringstream os;
  other.Dump(os);
  EXPECT_EQ(os.str(), "");

  auto bat = ParseOk<BouquetAssociationSection>(
      Nit(0x4A).BeginLoop().EndLoop().BeginLoop().U16(1).U16(2).BeginLoop().EndLoop().EndLoop().Build());
  EXPECT_STREQ(bat.GetName(), "bouquet_association_section");
  EXPECT_EQ(bat.transportStreams.size(), 1u);

  Bytes sdtId = Nit(0x42).BeginLoop().EndLoop().BeginLoop().EndLoop().Build();
  EXPECT_EQ(ParseError<NetworkInformationSection>(sdtId), "invalid table id");
  EXPECT_EQ(ParseError<BouquetAssociationSection>(sdtId), "invalid table id");
}

TEST(Nit, MalformedLoopsAreRefused) {
  // An entry starting with 1..5 bytes left.
  for (int left = 1; left <= 5; ++left) {
    Bytes b = Nit().BeginLoop().EndLoop().BeginLoop().Raw(Bytes(left, 0)).EndLoop().Build();
    EXPECT_EQ(ParseError<NetworkInformationSection>(b), "too little data") << left;
  }
  // An entry's descriptor loop running past the transport-stream loop.
  EXPECT_EQ(ParseError<NetworkInformationSection>(Nit()
                                                      .BeginLoop().EndLoop()
                                                      .BeginLoop()
                                                      .U16(1).U16(1).BeginLoop().Desc(0x41, {0, 1, 1}).EndLoop(2)
                                                      .EndLoop()
                                                      .Build()),
            "descriptor start end mismatch");
  // Loop lengths claiming more than the section holds.
  EXPECT_EQ(ParseError<NetworkInformationSection>(Nit().BeginLoop().EndLoop(300).BeginLoop().EndLoop().Build()),
            "descriptor start end mismatch");
  EXPECT_EQ(ParseError<NetworkInformationSection>(
                Nit().BeginLoop().EndLoop().BeginLoop().EndLoop(7).Build()),
            "descriptor start end mismatch");
  // A network descriptor reaching past its loop is refused, not read into
  // the transport-stream loop.
  EXPECT_EQ(ParseError<NetworkInformationSection>(Nit()
                                                      .BeginLoop().Desc(0x40, {'a', 'b'}).EndLoop(-1)
                                                      .BeginLoop().EndLoop()
                                                      .Build()),
            "descriptor start end mismatch");
  // No room for the loop length fields at all.
  EXPECT_EQ(ParseError<NetworkInformationSection>(Nit().U8(0xF0).Build()), "too little data");
}

TEST(Sdt, ServicesAndDump) {
  Bytes b = SectionBuilder::Long(0x42, 0x044D, 0, 0, 0, 0xF)
                .U16(0x0001).U8(0xFF)
                .U16(0x6D66).U8(0xFF).U8(0x90 | 0x00).U8(0x00)  // running 4, free CA 1, no descriptors
                .U16(0x6D67).U8(0xFD).U8(0x20 | 0x00).U8(0x03).Desc(0x20, {0x41})
                .Build();
  // Fix descriptors_loop_length of the second service (high nibble bits above).
  auto sdt = ParseOk<ServiceDescriptionSection>(b);
  EXPECT_EQ(sdt.original_network_id, 1u);
  ASSERT_EQ(sdt.services.size(), 2u);
  const ServiceDescriptionInfo& s = sdt.services[0];
  EXPECT_EQ(s.service_id, 0x6D66u);
  EXPECT_EQ(s.EIT_schedule_flag, 1u);
  EXPECT_EQ(s.EIT_present_following_flag, 1u);
  EXPECT_EQ(s.running_status, 4u);
  EXPECT_EQ(s.free_CA_mode, 1u);
  EXPECT_EQ(sdt.services[1].EIT_present_following_flag, 1u);
  EXPECT_EQ(sdt.services[1].EIT_schedule_flag, 0u);
  EXPECT_EQ(sdt.services[1].descriptors.generalDescriptors.size(), 1u);

  std::ostringstream os;
  sdt.Dump(os);
  EXPECT_EQ(os.str().substr(0, 120),
            std::string("original_network_id 1\nservice_id 28006\nEIT_schedule_flag 1\n"
                        "EIT_present_following_flag 1\nrunning_status 4\nfree_CA_mode 1\n"
                        "service_id 28007\n").substr(0, 120));
}

TEST(Sdt, TableIdsLengthsAndLoopEnds) {
  auto other = ParseOk<ServiceDescriptionSection>(
      SectionBuilder::Long(0x46, 1, 0, 0, 0, 0xF).U16(1).U8(0xFF).Build());
  EXPECT_EQ(other.section_length, 12u);
  EXPECT_TRUE(other.services.empty());
  EXPECT_STREQ(other.GetName(), "service_description_section - other_transport_stream");

  EXPECT_EQ(ParseError<ServiceDescriptionSection>(
                SectionBuilder::Long(0x4A, 1, 0, 0, 0, 0xF).U16(1).U8(0xFF).Build()),
            "invalid table id");
  EXPECT_EQ(ParseError<ServiceDescriptionSection>(
                SectionBuilder::Long(0x42, 1, 0, 0, 0, 0xF).U16(1).Build()),
            "descriptor start end mismatch");
  EXPECT_EQ(ParseError<ServiceDescriptionSection>(
                SectionBuilder::Long(0x42, 1, 0, 0, 0, 0xF).U16(1).U8(0xFF).U16(5).U8(0xFC).Build()),
            "too little data");
  // descriptors_loop_length reaching past the CRC.
  EXPECT_EQ(ParseError<ServiceDescriptionSection>(SectionBuilder::Long(0x42, 1, 0, 0, 0, 0xF)
                                                      .U16(1).U8(0xFF)
                                                      .U16(5).U8(0xFC).U8(0x80).U8(0x04).Desc(0x20, {})
                                                      .Build()),
            "descriptor start end mismatch");
}

TEST(Eit, EventsNamesAndDump) {
  Bytes b = SectionBuilder::Long(0x4E, 0x6D66, 0, 0, 1, 0xF)
                .U16(0x044D).U16(0x0001).U8(1).U8(0x4E)
                .U16(0x001F).Raw({0xC0, 0x79, 0x12, 0x45, 0x00}).Raw({0x01, 0x30, 0x00})
                .U8(0x80 | 0x10).U8(26).Raw(Bytes{0x4D, 24, 'e', 'n', 'g', 19})
                .Raw(Bytes(19, 'x')).U8(0)
                .U16(0x0020).Raw({0xC0, 0x79, 0x13, 0x00, 0x00}).Raw({0x00, 0x30, 0x00})
                .U8(0x00).U8(0x00)
                .Build();
  auto eit = ParseOk<EventInformationSection>(b);
  EXPECT_EQ(eit.transport_stream_id, 0x044Du);
  EXPECT_EQ(eit.segment_last_section_number, 1u);
  EXPECT_EQ(eit.last_table_id, 0x4Eu);
  ASSERT_EQ(eit.events.size(), 2u);
  const EventDescriptionInfo& e = eit.events[0];
  EXPECT_EQ(e.event_id, 0x1Fu);
  EXPECT_EQ(e.running_status, 4u);
  EXPECT_EQ(e.free_CA_mode, 1u);
  EXPECT_EQ(e.descriptors_length, 26u);
  EXPECT_EQ(e.start_time.year, 1993);
  EXPECT_EQ(e.duration.hours, 1);
  EXPECT_EQ(e.duration.minutes, 30);
  EXPECT_TRUE(eit.events[1].descriptors.Empty());

  std::ostringstream os;
  eit.Dump(os);
  EXPECT_NE(os.str().find("event_id:   1f\nrunning_status: 4\nfree_CA_mode: 1\n"
                          "descriptors_length: 1a\nstart_time: 13/10-1993 12:45:0\n"
                          "duration: 1:30:0\n"),
            std::string::npos)
      << os.str();
  EXPECT_EQ(os.str().find("service_id: 28006\n"), 0u);
}

TEST(Eit, NvodReferenceEventsWithoutStartAndDatesPast2038) {
  // An NVOD reference event (start_time all ones) and an event of 2039
  // (MJD 253 after the 16-bit wrap), with a name in ISO/IEC 8859-15.
  Bytes b = SectionBuilder::Long(0x4E, 0x6D66, 0, 0, 1, 0xF)
                .U16(0x044D).U16(0x0001).U8(0).U8(0x4E)
                .U16(0x0001).Raw({0xFF, 0xFF, 0xFF, 0xFF, 0xFF}).Raw({0x01, 0x30, 0x00})
                .U8(0x00).U8(16).Raw(Bytes{0x4D, 14, 'f', 'r', 'a', 9, 0x0B, 'F', 'r', 'a', 'n', 'c', 'e', ' ', 0xD4, 0})
                .U16(0x0002).Raw({0x00, 0xFD, 0x20, 0x15, 0x00}).Raw({0x00, 0x45, 0x00})
                .U8(0x00).U8(0x00)
                .Build();
  auto eit = ParseOk<EventInformationSection>(b);
  ASSERT_EQ(eit.events.size(), 2u);
  EXPECT_TRUE(eit.events[0].start_time.undefined);
  ASSERT_EQ(eit.events[0].descriptors.shortEventDescriptors.size(), 1u);
  EXPECT_EQ(eit.events[0].descriptors.shortEventDescriptors[0].event_name, "France \u00D4");
  EXPECT_EQ(eit.events[0].descriptors.shortEventDescriptors[0].event_name_raw, "\x0B" "France \xD4");
  std::ostringstream os;
  eit.Dump(os);
  EXPECT_NE(os.str().find("start_time: undefined\nduration: 1:30:0\n"), std::string::npos) << os.str();
  EXPECT_NE(os.str().find("start_time: 1/1-2039 20:15:0\nduration: 0:45:0\n"), std::string::npos) << os.str();
}

TEST(Eit, TableIdsAndBounds) {
  for (int id = 0x4E; id <= 0x6F; ++id) {
    Bytes b = SectionBuilder::Long(static_cast<u8>(id), 1, 0, 0, 0, 0xF).U32(0).U16(0).Build();
    EventInformationSection s;
    s.Parse(b.data(), b.size());
    EXPECT_TRUE(s.parsed) << id;
  }
  EXPECT_STREQ(EventInformationSection::GetNameById(0x5A),
               "event_information_section - actual_transport_stream, schedule");
  EXPECT_STREQ(EventInformationSection::GetNameById(0x6F),
               "event_information_section - other_transport_stream, schedule");
  EXPECT_STREQ(EventInformationSection::GetNameById(0x70), "<unknown>");
  EXPECT_EQ(ParseError<EventInformationSection>(
                SectionBuilder::Long(0x70, 1, 0, 0, 0, 0xF).U32(0).U16(0).Build()),
            "invalid table id");
  // Fewer than 12 bytes left for an event.
  EXPECT_EQ(ParseError<EventInformationSection>(
                SectionBuilder::Long(0x4E, 1, 0, 0, 0, 0xF).U32(0).U16(0).Raw(Bytes(11, 0)).Build()),
            "too little data");
  // Header shorter than the six EIT bytes.
  EXPECT_EQ(ParseError<EventInformationSection>(
                SectionBuilder::Long(0x4E, 1, 0, 0, 0, 0xF).U32(0).Build()),
            "descriptor start end mismatch");
  // An event's descriptor loop past the CRC.
  EXPECT_EQ(ParseError<EventInformationSection>(SectionBuilder::Long(0x4E, 1, 0, 0, 0, 0xF)
                                                    .U32(0).U16(0)
                                                    .Raw(Bytes(10, 0)).U8(0x0F).U8(0xFF)
                                                    .Build()),
            "descriptor start end mismatch");
}
