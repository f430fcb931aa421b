#include <gtest/gtest.h>

#include <sstream>

#include "lib13818/psi.h"
#include "section_builder.h"

using namespace lib13818;
using testing_support::Bytes;
using testing_support::SectionBuilder;

namespace {

template <class S>
S ParseOk(const Bytes& b) {
  S s;
  s.Parse(b.data(), b.size());
  EXPECT_TRUE(s.parsed);
  return s;
}

template <class S>
std::string ParseError(const Bytes& b, int* code = nullptr) {
  S s;
  try {
    s.Parse(b.data(), b.size());
  } catch (const error& e) {
    EXPECT_FALSE(s.parsed);
    if (code) *code = e.code;
    return e.what();
  }
  ADD_FAILURE() << "parsed";
  return "";
}

}  // namespace

TEST(Pat, ProgramLoop) {
  auto empty = ParseOk<ProgramAssociationSection>(SectionBuilder::Long(0x00, 1).Build());
  EXPECT_EQ(empty.GetProgramCount(), 0);

  auto pat = ParseOk<ProgramAssociationSection>(
      SectionBuilder::Long(0x00, 1).Raw({0x00, 0x00, 0xE0, 0x10}).U16(0x1C).U16(0xFFFF).Build());
  ASSERT_EQ(pat.GetProgramCount(), 2);
  EXPECT_EQ(pat.GetProgram(0)->program_number, 0u);
  EXPECT_EQ(pat.GetProgram(0)->PID, 0x10u);
  EXPECT_EQ(pat.GetProgram(1)->program_number, 0x1Cu);
  EXPECT_EQ(pat.GetProgram(1)->PID, 0x1FFFu) << "top three PID bits dropped";

  std::ostringstream os;
  pat.Dump(os);
  EXPECT_EQ(os.str(),
            "program_number:    0\nprogram_map_pid:   10\n"
            "program_number:   1c\nprogram_map_pid: 1fff\n");
}

TEST(Pat, LoopNotAMultipleOfFour) {
  int code = 0;
  EXPECT_EQ(ParseError<ProgramAssociationSection>(
                SectionBuilder::Long(0x00, 1).U16(1).Build(), &code),
            "Pat parse error");
  EXPECT_EQ(code, 3);
}

TEST(Cat, OnlyCaDescriptorsAndBoundedLoop) {
  auto cat = ParseOk<ConditionalAccessSection>(
      SectionBuilder::Long(0x01, 0xFFFF).Desc(0x09, {0x06, 0x04, 0xE1, 0x23}).Build());
  ASSERT_EQ(cat.descriptors.caDescriptors.size(), 1u);
  EXPECT_EQ(cat.descriptors.caDescriptors[0].CA_system_ID, 0x0604u);
  EXPECT_EQ(cat.descriptors.caDescriptors[0].CA_PID, 0x0123u);

  EXPECT_EQ(ParseError<ConditionalAccessSection>(
                SectionBuilder::Long(0x01, 0xFFFF).Desc(0x0A, {1, 2, 3, 4}).Build()),
            "invalid descriptor tag");
  // Too long and wrong tag: the size check comes first.
  EXPECT_EQ(ParseError<ConditionalAccessSection>(
                SectionBuilder::Long(0x01, 0xFFFF).Raw({0x0A, 0x09, 1, 2}).Build()),
            "invalid descriptor size");
  // A lone tag byte before the CRC.
  EXPECT_EQ(ParseError<ConditionalAccessSection>(
                SectionBuilder::Long(0x01, 0xFFFF).Raw({0x09}).Build()),
            "invalid descriptor size");
}

TEST(Pmt, StreamsAndDescriptorLoops) {
  Bytes b = SectionBuilder::Long(0x02, 0x1C, 3)
                .U16(0xE1FF)
                .BeginLoop()
                .Desc(0x09, {0x01, 0x00, 0xE0, 0x50})
                .EndLoop()
                .U8(0x02).U16(0xE100).BeginLoop().Desc(0x52, {0x01}).EndLoop()
                .U8(0x04).U16(0xE101).BeginLoop().EndLoop()
                .Build();
  auto pmt = ParseOk<ProgramMapSection>(b);
  EXPECT_EQ(pmt.PCR_PID, 0x1FFu);
  EXPECT_EQ(pmt.descriptors.caDescriptors.size(), 1u);
  ASSERT_EQ(pmt.streams.size(), 2u);
  EXPECT_EQ(pmt.streams[0].stream_type, 2u);
  EXPECT_EQ(pmt.streams[0].elementary_PID, 0x100u);
  EXPECT_EQ(pmt.streams[0].ES_info_length, 3u);
  EXPECT_EQ(pmt.streams[0].descriptors.streamIdentifierDescriptors.size(), 1u);
  EXPECT_EQ(pmt.streams[1].elementary_PID, 0x101u);

  std::ostringstream os;
  pmt.Dump(os);
  const std::string dump = os.str();
  EXPECT_EQ(dump.find("program_number: 001C\n"), 0u);
  EXPECT_NE(dump.find("pcr_pid: 1FF\n"), std::string::npos);
  EXPECT_NE(dump.find("Dumping 2 stream infos\n"), std::string::npos);
  EXPECT_NE(dump.find("elementary_PID: 0100\n"), std::string::npos);

  // Clear empties the streams; the program-info descriptors stay.
  pmt.Clear();
  EXPECT_TRUE(pmt.streams.empty());
  std::ostringstream os2;
  pmt.Dump(os2);
  EXPECT_NE(os2.str().find("CA_Descriptor"), std::string::npos);
}

TEST(Pmt, EmptyProgramKeepsPcrPid) {
  auto pmt = ParseOk<ProgramMapSection>(
      SectionBuilder::Long(0x02, 1).U16(0xE020).BeginLoop().EndLoop().Build());
  EXPECT_EQ(pmt.PCR_PID, 0x20u);
  EXPECT_TRUE(pmt.streams.empty());
}

TEST(Pmt, MalformedLoopsAreRefusedWithoutReadingPastTheSection) {
  // Last stream entry with three bytes left.
  EXPECT_EQ(ParseError<ProgramMapSection>(SectionBuilder::Long(0x02, 1)
                                              .U16(0xE020).BeginLoop().EndLoop()
                                              .U8(0x02).U16(0xE100)
                                              .Build()),
            "too little data");
  // program_info_length beyond the section.
  EXPECT_EQ(ParseError<ProgramMapSection>(
                SectionBuilder::Long(0x02, 1).U16(0xE020).BeginLoop().EndLoop(40).Build()),
            "descriptor start end mismatch");
  // A program-info descriptor running past program_info_length.
  EXPECT_EQ(ParseError<ProgramMapSection>(SectionBuilder::Long(0x02, 1)
                                              .U16(0xE020)
                                              .BeginLoop().Desc(0x0E, {0xC0, 0, 1}).EndLoop(-1)
                                              .Build()),
            "descriptor start end mismatch");
  // ES_info_length past the end of the stream loop.
  EXPECT_EQ(ParseError<ProgramMapSection>(SectionBuilder::Long(0x02, 1)
                                              .U16(0xE020).BeginLoop().EndLoop()
                                              .U8(0x02).U16(0xE100).BeginLoop().Desc(0x52, {1}).EndLoop(5)
                                              .Build()),
            "descriptor start end mismatch");
  // A body too short for PCR_PID and program_info_length.
  EXPECT_EQ(ParseError<ProgramMapSection>(SectionBuilder::Long(0x02, 1).U16(0xE020).Build()),
            "too little data");
}
