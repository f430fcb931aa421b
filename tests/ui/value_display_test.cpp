// The value pane's display routines written to a text sink: labels, value
// formats, N/A rules, name lookups, hex previews and row items, from
// sections and descriptors built as they are broadcast.
#include "ui_core/value_display.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "lib13818/id_names.h"
#include "section_builder.h"

namespace {

using testing_support::Bytes;
using testing_support::SectionBuilder;
using ui_core::TextSink;
using Item = TextSink::Row::Item;

template <class T>
T ParseSection(const Bytes& bytes) {
  T s;
  s.Parse(bytes.data(), bytes.size());
  return s;
}

// A descriptor record parsed from its payload (tag and length added).
template <class T>
T Descriptor(std::uint8_t tag, const Bytes& payload) {
  Bytes d{tag, static_cast<std::uint8_t>(payload.size())};
  d.insert(d.end(), payload.begin(), payload.end());
  return T(d.data());
}

std::string Hex8(std::uint32_t v, bool upper) {
  char text[16];
  std::snprintf(text, sizeof text, upper ? "%08X" : "%08x", v);
  return text;
}

class ValueDisplay : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { lib13818::InitIdNameMaps(); }

  // The rows a routine writes, as "LABEL=value" lines.
  template <class F>
  std::string Show(F&& routine) {
    routine(sink);
    EXPECT_EQ(sink.strayWrites, 0) << "values written to rows that are not there";
    return sink.Text();
  }

  TextSink sink;
};

// ---------------------------------------------------------------------------
// Formatting pieces

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
  ui_core::SplitLabels(",,,", labels);
  EXPECT_TRUE(labels.empty());
}

TEST(Labels, EntriesAsTheResourcesHoldThem) {
  std::vector<std::string> labels;
  ui_core::SplitLabels(ui_core::ValueLabelText(61208), labels);
  EXPECT_EQ(labels.size(), 16u);
  EXPECT_GT(std::string(ui_core::ValueLabelText(61208)).size(), 255u);
  EXPECT_GT(std::string(ui_core::ValueLabelText(61248)).size(), 255u);
  EXPECT_STREQ(ui_core::ValueLabelText(61225), "DESCRIPTION,ITEM");
  EXPECT_STREQ(ui_core::ValueLabelText(61232), "CA_SYSTEM_ID");
  EXPECT_STREQ(ui_core::ValueLabelText(61229),
               "COUNTRY_CODE,COUNTRY_REGION_ID,LOCAL_TIME_OFFSET_POLARITY,LOCAL_TIME_OFFSET,TIME_OF_CHANGE,"
               "NEXT_TIME_OFFSET");
  EXPECT_STREQ(ui_core::ValueLabelText(61245),
               "DESCRIPTOR_TAG,DESCRIPTOR_LENGTH,MOSIAC_ENTRY_POINT,NUMBER_OF_HORIZONTAL_ELEMENTARY_CELLS,"
               "NUMBER_OF_VERTICAL_ELEMENTARY_CELLS");
  EXPECT_STREQ(ui_core::ValueLabelText(61260),
               "MULTIPLE FRAME RATE,FRAME RATE CODE,MPEG 1 ONLY,CONSTRAINED PARAMETER FLAG,STILL PICTURE,"
               "PROFILE AND LEVEL INDICATION,CHROMA FORMAT,FRAME RATE EXTENSION,RESERCED");
  EXPECT_EQ(ui_core::ValueLabelText(61267), nullptr);  // other strings of the program
  EXPECT_EQ(ui_core::ValueLabelText(61295), nullptr);
  EXPECT_EQ(ui_core::ValueLabelText(0), nullptr);
  int entries = 0;
  for (unsigned id = 61204; id <= 61308; ++id) entries += ui_core::ValueLabelText(id) != nullptr;
  EXPECT_EQ(entries, 100);
}

TEST(Names, RegisteredNamesBecomeUtf8) {
  EXPECT_EQ(ui_core::NameToUtf8(nullptr), "");
  EXPECT_EQ(ui_core::NameToUtf8("ASTRA"), "ASTRA");
  EXPECT_EQ(ui_core::NameToUtf8("T\xE9l\xE9" "diffusion \x80"), "T\xC3\xA9l\xC3\xA9" "diffusion \xE2\x82\xAC");
  EXPECT_EQ(ui_core::NameToUtf8("Dan\xC3\xB8"), "Dan\xC3\xB8");  // already UTF-8
}

// ---------------------------------------------------------------------------
// Every routine: its label list, one row per label, nothing written beside

struct Routine {
  const char* name;
  unsigned labels;
  std::function<void(TextSink&)> show;
};

const Routine kRoutines[] = {
    {"ShowCat", 61204, [](TextSink& s) { ui_core::ShowCat(s, lib13818::ConditionalAccessSection{}); }},
    {"ShowPat", 61206, [](TextSink& s) { ui_core::ShowPat(s, lib13818::ProgramAssociationSection{}); }},
    {"ShowPatProgram", 61261, [](TextSink& s) { ui_core::ShowPatProgram(s, lib13818::ProgramAssociationInfo{}); }},
    {"ShowPmt", 61266, [](TextSink& s) { ui_core::ShowPmt(s, lib13818::ProgramMapSection{}); }},
    {"ShowPmtStream", 61205, [](TextSink& s) { ui_core::ShowPmtStream(s, lib13818::StreamInfo{}); }},
    {"ShowBat", 61207, [](TextSink& s) { ui_core::ShowBat(s, lib13818::BouquetAssociationSection{}); }},
    {"ShowNit", 61208, [](TextSink& s) { ui_core::ShowNit(s, lib13818::NetworkInformationSection{}); }},
    {"ShowNitTransportStream", 61209, [](TextSink& s) { ui_core::ShowNitTransportStream(s, lib13818::TransportStreamInfo{}); }},
    {"ShowSdt", 61210, [](TextSink& s) { ui_core::ShowSdt(s, lib13818::ServiceDescriptionSection{}); }},
    {"ShowSdtService", 61211, [](TextSink& s) { ui_core::ShowSdtService(s, lib13818::ServiceDescriptionInfo{}); }},
    {"ShowEit", 61212, [](TextSink& s) { ui_core::ShowEit(s, lib13818::EventInformationSection{}); }},
    {"ShowEitEvent", 61213, [](TextSink& s) { ui_core::ShowEitEvent(s, lib13818::EventDescriptionInfo{}); }},
    {"ShowRst", 61214, [](TextSink& s) { ui_core::ShowRst(s, lib13818::RunningStatusSection{}); }},
    {"ShowRstEntry", 61215, [](TextSink& s) { ui_core::ShowRstEntry(s, lib13818::RunningStatusInfo{}); }},
    {"ShowTdt", 61216, [](TextSink& s) { ui_core::ShowTdt(s, lib13818::TimeDateSection{}); }},
    {"ShowTot", 61217, [](TextSink& s) { ui_core::ShowTot(s, lib13818::TimeOffsetSection{}); }},
    {"ShowCaDescriptor", 61262, [](TextSink& s) { ui_core::ShowCaDescriptor(s, lib13818::DescriptorCA{}); }},
    {"ShowUnknownDescriptor", 61263, [](TextSink& s) { ui_core::ShowUnknownDescriptor(s, lib13818::DescriptorUnknown{}); }},
    {"ShowIso639LanguageDescriptor", 61264, [](TextSink& s) { ui_core::ShowIso639LanguageDescriptor(s, lib13818::DescriptorISO639Language{}); }},
    {"ShowVideoStreamDescriptor", 61260, [](TextSink& s) { ui_core::ShowVideoStreamDescriptor(s, lib13818::DescriptorVideoStream{}); }},
    {"ShowAudioStreamDescriptor", 61233, [](TextSink& s) { ui_core::ShowAudioStreamDescriptor(s, lib13818::DescriptorAudioStream{}); }},
    {"ShowHierarchyDescriptor", 61299, [](TextSink& s) { ui_core::ShowHierarchyDescriptor(s, lib13818::DescriptorHierarchy{}); }},
    {"ShowRegistrationDescriptor", 61300, [](TextSink& s) { ui_core::ShowRegistrationDescriptor(s, lib13818::DescriptorRegistration{}); }},
    {"ShowDataStreamAlignmentDescriptor", 61301, [](TextSink& s) { ui_core::ShowDataStreamAlignmentDescriptor(s, lib13818::DescriptorDataStreamAlignment{}); }},
    {"ShowTargetBackgroundGridDescriptor", 61302, [](TextSink& s) { ui_core::ShowTargetBackgroundGridDescriptor(s, lib13818::DescriptorTargetBackgroundGrid{}); }},
    {"ShowVideoWindowDescriptor", 61303, [](TextSink& s) { ui_core::ShowVideoWindowDescriptor(s, lib13818::DescriptorVideoWindow{}); }},
    {"ShowSystemClockDescriptor", 61304, [](TextSink& s) { ui_core::ShowSystemClockDescriptor(s, lib13818::DescriptorSystemClock{}); }},
    {"ShowMultiplexBufferUtilizationDescriptor", 61305, [](TextSink& s) { ui_core::ShowMultiplexBufferUtilizationDescriptor(s, lib13818::DescriptorMultiplexBufferUtilization{}); }},
    {"ShowCopyrightDescriptor", 61230, [](TextSink& s) { ui_core::ShowCopyrightDescriptor(s, lib13818::DescriptorCopyright{}); }},
    {"ShowMaximumBitrateDescriptor", 61306, [](TextSink& s) { ui_core::ShowMaximumBitrateDescriptor(s, lib13818::DescriptorMaximumBitrate{}); }},
    {"ShowPrivateDataIndicatorDescriptor", 61235, [](TextSink& s) { ui_core::ShowPrivateDataIndicatorDescriptor(s, lib13818::DescriptorPrivateDataIndicator{}); }},
    {"ShowSmoothingBufferDescriptor", 61307, [](TextSink& s) { ui_core::ShowSmoothingBufferDescriptor(s, lib13818::DescriptorSmoothingBuffer{}); }},
    {"ShowStdDescriptor", 61234, [](TextSink& s) { ui_core::ShowStdDescriptor(s, lib13818::DescriptorSTD{}); }},
    {"ShowIbpDescriptor", 61308, [](TextSink& s) { ui_core::ShowIbpDescriptor(s, lib13818::DescriptorIBP{}); }},
    {"ShowNetworkNameDescriptor", 61237, [](TextSink& s) { ui_core::ShowNetworkNameDescriptor(s, lib13818::DescriptorNetworkName{}); }},
    {"ShowServiceListDescriptor", 61220, [](TextSink& s) { ui_core::ShowServiceListDescriptor(s, lib13818::DescriptorServiceList{}); }},
    {"ShowStuffingDescriptor", 61238, [](TextSink& s) { ui_core::ShowStuffingDescriptor(s, lib13818::DescriptorStuffing{}); }},
    {"ShowSatelliteDeliverySystemDescriptor", 61218, [](TextSink& s) { ui_core::ShowSatelliteDeliverySystemDescriptor(s, lib13818::DescriptorSatelliteDeliverySystem{}); }},
    {"ShowCableDeliverySystemDescriptor", 61239, [](TextSink& s) { ui_core::ShowCableDeliverySystemDescriptor(s, lib13818::DescriptorCableDeliverySystem{}); }},
    {"ShowTerrestrialDeliverySystemDescriptor", 61270, [](TextSink& s) { ui_core::ShowTerrestrialDeliverySystemDescriptor(s, lib13818::DescriptorTerrestrialDeliverySystem{}); }},
    {"ShowBouquetNameDescriptor", 61237, [](TextSink& s) { ui_core::ShowBouquetNameDescriptor(s, lib13818::DescriptorBouquetName{}); }},
    {"ShowServiceDescriptor", 61219, [](TextSink& s) { ui_core::ShowServiceDescriptor(s, lib13818::DescriptorService{}); }},
    {"ShowCountryAvailabilityDescriptor", 61240, [](TextSink& s) { ui_core::ShowCountryAvailabilityDescriptor(s, lib13818::DescriptorCountryAvailability{}); }},
    {"ShowLinkageDescriptor", 61241, [](TextSink& s) { ui_core::ShowLinkageDescriptor(s, lib13818::DescriptorLinkage{}); }},
    {"ShowNvodReferenceDescriptor", 61242, [](TextSink& s) { ui_core::ShowNvodReferenceDescriptor(s, lib13818::DescriptorNVODReference{}); }},
    {"ShowTimeShiftedServiceDescriptor", 61244, [](TextSink& s) { ui_core::ShowTimeShiftedServiceDescriptor(s, lib13818::DescriptorTimeShiftedService{}); }},
    {"ShowShortEventDescriptor", 61226, [](TextSink& s) { ui_core::ShowShortEventDescriptor(s, lib13818::DescriptorShortEvent{}); }},
    {"ShowExtendedEventDescriptor", 61224, [](TextSink& s) { ui_core::ShowExtendedEventDescriptor(s, lib13818::DescriptorExtendedEvent{}); }},
    {"ShowTimeShiftedEventDescriptor", 61227, [](TextSink& s) { ui_core::ShowTimeShiftedEventDescriptor(s, lib13818::DescriptorTimeShiftedEvent{}); }},
    {"ShowComponentDescriptor", 61223, [](TextSink& s) { ui_core::ShowComponentDescriptor(s, lib13818::DescriptorComponent{}); }},
    {"ShowMosaicDescriptor", 61245, [](TextSink& s) { ui_core::ShowMosaicDescriptor(s, lib13818::DescriptorMosiac{}); }},
    {"ShowStreamIdentifierDescriptor", 61236, [](TextSink& s) { ui_core::ShowStreamIdentifierDescriptor(s, lib13818::DescriptorStreamIdentifier{}); }},
    {"ShowContentDescriptor", 61220, [](TextSink& s) { ui_core::ShowContentDescriptor(s, lib13818::DescriptorContent{}); }},
    {"ShowParentalRatingDescriptor", 61246, [](TextSink& s) { ui_core::ShowParentalRatingDescriptor(s, lib13818::DescriptorParentalRating{}); }},
    {"ShowTeletextDescriptor", 61220, [](TextSink& s) { ui_core::ShowTeletextDescriptor(s, lib13818::DescriptorTeletext{}); }},
    {"ShowTelephoneDescriptor", 61248, [](TextSink& s) { ui_core::ShowTelephoneDescriptor(s, lib13818::DescriptorTelephone{}); }},
    {"ShowSubtitlingDescriptor", 61249, [](TextSink& s) { ui_core::ShowSubtitlingDescriptor(s, lib13818::DescriptorSubtitling{}); }},
    {"ShowMultilingualNetworkNameDescriptor", 61251, [](TextSink& s) { ui_core::ShowMultilingualNetworkNameDescriptor(s, lib13818::DescriptorMultilingualNetworkName{}); }},
    {"ShowMultilingualBouquetNameDescriptor", 61252, [](TextSink& s) { ui_core::ShowMultilingualBouquetNameDescriptor(s, lib13818::DescriptorMultilingualBouquetName{}); }},
    {"ShowMultilingualServiceNameDescriptor", 61254, [](TextSink& s) { ui_core::ShowMultilingualServiceNameDescriptor(s, lib13818::DescriptorMultilingualServiceName{}); }},
    {"ShowMultilingualComponentDescriptor", 61256, [](TextSink& s) { ui_core::ShowMultilingualComponentDescriptor(s, lib13818::DescriptorMultilingualComponentName{}); }},
    {"ShowPrivateDataSpecifierDescriptor", 61257, [](TextSink& s) { ui_core::ShowPrivateDataSpecifierDescriptor(s, lib13818::DescriptorPrivateDataSpecifier{}); }},
    {"ShowServiceMoveDescriptor", 61258, [](TextSink& s) { ui_core::ShowServiceMoveDescriptor(s, lib13818::DescriptorServiceMove{}); }},
    {"ShowShortSmoothingBufferDescriptor", 61259, [](TextSink& s) { ui_core::ShowShortSmoothingBufferDescriptor(s, lib13818::DescriptorShortSmoothingBuffer{}); }},
    {"ShowFrequencyListDescriptor", 61271, [](TextSink& s) { ui_core::ShowFrequencyListDescriptor(s, lib13818::DescriptorFrequencyList{}); }},
    {"ShowDataBroadcastDescriptor", 61273, [](TextSink& s) { ui_core::ShowDataBroadcastDescriptor(s, lib13818::DescriptorDataBroadcast{}); }},
    {"ShowDataBroadcastIdDescriptor", 61274, [](TextSink& s) { ui_core::ShowDataBroadcastIdDescriptor(s, lib13818::DescriptorDataBroadcastId{}); }},
    {"ShowPdcDescriptor", 61277, [](TextSink& s) { ui_core::ShowPdcDescriptor(s, lib13818::DescriptorPDC{}); }},
    {"ShowAc3Descriptor", 61278, [](TextSink& s) { ui_core::ShowAc3Descriptor(s, lib13818::DescriptorAC3{}); }},
    {"ShowAncillaryDataDescriptor", 61279, [](TextSink& s) { ui_core::ShowAncillaryDataDescriptor(s, lib13818::DescriptorAncillaryData{}); }},
    {"ShowCellListDescriptor", 61280, [](TextSink& s) { ui_core::ShowCellListDescriptor(s, lib13818::DescriptorCellList{}); }},
    {"ShowCellFrequencyLinkDescriptor", 61281, [](TextSink& s) { ui_core::ShowCellFrequencyLinkDescriptor(s, lib13818::DescriptorCellFrequencyLink{}); }},
    {"ShowAnnouncementSupportDescriptor", 61282, [](TextSink& s) { ui_core::ShowAnnouncementSupportDescriptor(s, lib13818::DescriptorAnnouncementSupport{}); }},
    {"ShowApplicationSignallingDescriptor", 61283, [](TextSink& s) { ui_core::ShowApplicationSignallingDescriptor(s, lib13818::DescriptorApplicationSignalling{}); }},
    {"ShowAdaptationFieldDataDescriptor", 61284, [](TextSink& s) { ui_core::ShowAdaptationFieldDataDescriptor(s, lib13818::DescriptorAdaptationField{}); }},
    {"ShowServiceAvailabilityDescriptor", 61286, [](TextSink& s) { ui_core::ShowServiceAvailabilityDescriptor(s, lib13818::DescriptorServiceAvailability{}); }},
    {"ShowVbiDataDescriptor", 61268, [](TextSink& s) { ui_core::ShowVbiDataDescriptor(s, lib13818::DescriptorVBIData{}); }},
    {"ShowVbiTeletextDescriptor", 61269, [](TextSink& s) { ui_core::ShowVbiTeletextDescriptor(s, lib13818::DescriptorVBITeletext{}); }},
    {"ShowDescriptorEntry61220", 61220, [](TextSink& s) { ui_core::ShowDescriptorEntry61220(s, lib13818::DescriptorLocalTimeOffset{}); }},
    {"ShowDescriptorEntry61231", 61231, [](TextSink& s) { ui_core::ShowDescriptorEntry61231(s, lib13818::DescriptorCAIdentifier{}); }},
    {"ShowDescriptorEntry61272", 61272, [](TextSink& s) { ui_core::ShowDescriptorEntry61272(s, lib13818::DescriptorPartialTransport{}); }},
    {"ShowBytesDescriptorEntry61275", 61275, [](TextSink& s) { ui_core::ShowBytesDescriptorEntry61275(s, lib13818::DescriptorTransportStream{}); }},
    {"ShowBytesDescriptorEntry61276", 61276, [](TextSink& s) { ui_core::ShowBytesDescriptorEntry61276(s, lib13818::DescriptorDSNG{}); }},
    {"ShowDescriptorEntry61285", 61285, [](TextSink& s) { ui_core::ShowDescriptorEntry61285(s, lib13818::DescriptorServiceIdentifier{}); }},
    {"ShowIso639LanguageEntry", 61265, [](TextSink& s) { ui_core::ShowIso639LanguageEntry(s, lib13818::ISO639LanguageInfo{}); }},
    {"ShowServiceListEntry", 61221, [](TextSink& s) { ui_core::ShowServiceListEntry(s, lib13818::ServiceListInfo{}); }},
    {"ShowTeletextEntry", 61222, [](TextSink& s) { ui_core::ShowTeletextEntry(s, lib13818::TeletextInfo{}); }},
    {"ShowContentEntry", 61228, [](TextSink& s) { ui_core::ShowContentEntry(s, lib13818::ContentInfo{}); }},
    {"ShowNvodReferenceEntry", 61243, [](TextSink& s) { ui_core::ShowNvodReferenceEntry(s, lib13818::DescriptorNVODReference::service{}); }},
    // A cell has labels of its own; a cell without a linkage has five rows.
    {"ShowMosaicCell", 61309, [](TextSink& s) { ui_core::ShowMosaicCell(s, lib13818::DescriptorMosiac::CellInfo{}); }},
    {"ShowParentalRatingEntry", 61247, [](TextSink& s) { ui_core::ShowParentalRatingEntry(s, lib13818::DescriptorParentalRating::RatingInfo{}); }},
    {"ShowSubtitlingEntry", 61250, [](TextSink& s) { ui_core::ShowSubtitlingEntry(s, lib13818::SubtitlingInfo{}); }},
    {"ShowMultilingualNameEntry", 61253, [](TextSink& s) { ui_core::ShowMultilingualNameEntry(s, lib13818::MultilingualNameInfo{}); }},
    {"ShowMultilingualServiceNameEntry", 61255, [](TextSink& s) { ui_core::ShowMultilingualServiceNameEntry(s, lib13818::DescriptorMultilingualServiceName::MultilingualServiceNameInfo{}); }},
    {"ShowDataServiceEntry", 61287, [](TextSink& s) { ui_core::ShowDataServiceEntry(s, lib13818::VBIDataInfo{}); }},
    {"ShowVbiTeletextEntry", 61288, [](TextSink& s) { ui_core::ShowVbiTeletextEntry(s, lib13818::TeletextInfo{}); }},
    {"ShowCellListEntry", 61289, [](TextSink& s) { ui_core::ShowCellListEntry(s, lib13818::CellListInfo{}); }},
    {"ShowSubcellListEntry", 61290, [](TextSink& s) { ui_core::ShowSubcellListEntry(s, lib13818::SubcellInfo{}); }},
    {"ShowCellFrequencyLinkEntry", 61291, [](TextSink& s) { ui_core::ShowCellFrequencyLinkEntry(s, lib13818::CellFrequencyLinkInfo{}); }},
    {"ShowSubcellFrequencyEntry", 61292, [](TextSink& s) { ui_core::ShowSubcellFrequencyEntry(s, lib13818::SubcellFrequencyInfo{}); }},
    {"ShowAnnouncementEntry", 61293, [](TextSink& s) { ui_core::ShowAnnouncementEntry(s, lib13818::AnnouncementInfo{}); }},
    {"ShowApplicationSignallingEntry", 61294, [](TextSink& s) { ui_core::ShowApplicationSignallingEntry(s, lib13818::ApplicationSignallingInfo{}); }},
};

TEST_F(ValueDisplay, EveryRoutineWritesTheRowsOfItsLabelListAndNoOthers) {
  EXPECT_EQ(std::size(kRoutines), 102u);
  for (const Routine& r : kRoutines) {
    SCOPED_TRACE(r.name);
    std::vector<std::string> labels;
    ASSERT_NE(ui_core::ValueLabelText(r.labels), nullptr);
    ui_core::SplitLabels(ui_core::ValueLabelText(r.labels), labels);
    // Rows of an earlier element never remain.
    sink.AddLabelRows(61208);
    sink.SetValue(0, "stale");
    sink.strayWrites = 0;
    r.show(sink);
    EXPECT_EQ(sink.strayWrites, 0);
    ASSERT_EQ(sink.rows.size(), labels.size());
    for (size_t i = 0; i < labels.size(); ++i) {
      EXPECT_EQ(sink.rows[i].label, labels[i]);
      EXPECT_NE(sink.rows[i].value, "stale");
      // Empty byte runs get no row item.
      EXPECT_NE(sink.rows[i].item, Item::Data) << labels[i];
    }
  }
}

// ---------------------------------------------------------------------------
// Sections and their entries

TEST_F(ValueDisplay, PatAndItsPrograms) {
  const auto pat = ParseSection<lib13818::ProgramAssociationSection>(
      SectionBuilder::Long(0x00, 0x0441, 5).U16(0).U16(0xE010).U16(0x2B66).U16(0xE064).Build());
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowPat(s, pat); }),
            "TABLE ID=00 : pat\n"
            "SECTION SYNTAX INDICATOR=1\n"
            "SECTION LENGTH=17\n"
            "TRANSPORT STREAM ID=0441\n"
            "VERSION NUMBER=5\n"
            "CURRENT NEXT INDICATOR=1\n"
            "SECTION NUMBER=0\n"
            "LAST SECTION NUMBER=0\n"
            "CRC 32=" + Hex8(pat.CRC_32, true) + "\n");
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowPatProgram(s, *pat.GetProgram(1)); }),
            "PROGRAM NUMBER=2B66\n"
            "PROGRAM MAP PID=0064\n");
}

TEST_F(ValueDisplay, PmtAndItsStreams) {
  const auto pmt = ParseSection<lib13818::ProgramMapSection>(
      SectionBuilder::Long(0x02, 0x2B66, 3)
          .U16(0xE0FF)  // PCR PID
          .BeginLoop().Desc(0x09, {0x0D, 0x05, 0xE1, 0x2C}).EndLoop()
          .U8(0x02).U16(0xE0FF).BeginLoop().Desc(0x52, {0x01}).EndLoop()
          .U8(0x04).U16(0xE100).BeginLoop().Desc(0x0A, {'d', 'e', 'u', 0x01}).EndLoop()
          .Build());
  ASSERT_EQ(pmt.streams.size(), 2u);
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowPmt(s, pmt); }),
            "TABLE ID=02\n"
            "SECTION SYNTAX INDICATOR=1\n"
            "RESERVED=N/A\n"
            "SECTION LENGTH=" + std::to_string(pmt.section_length) + "\n"
            "PROGRAM NUMBER=2B66\n"
            "RESERVED=N/A\n"
            "VERSION NUMBER=3\n"
            "CURRENT NEXT INDICATOR=1\n"
            "SECTION NUMBER=0\n"
            "LAST SECTION NUMBER=0\n"
            "RESERVED=N/A\n"
            "PCR PID=00FF\n"
            "PROGRAM INFO LENGTH=N/A\n"
            "CRC 32=" + Hex8(pmt.CRC_32, true) + "\n");
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowPmtStream(s, pmt.streams[1]); }),
            "STREAM TYPE=04\n"
            "RESERVED=N/A\n"
            "ELEMENTARY PID=0100\n"
            "RESERVED=N/A\n"
            "ES INFO LENGTH=6\n");
}

TEST_F(ValueDisplay, CatSection) {
  const auto cat = ParseSection<lib13818::ConditionalAccessSection>(
      SectionBuilder::Long(0x01, 0xFFFF, 7).Desc(0x09, {0x18, 0x02, 0xE1, 0xF4, 0xAA}).Build());
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowCat(s, cat); }),
            "TABLE ID=01 : cat\n"
            "SECTION SYNTAX INDICATOR=1\n"
            "SECTION LENGTH=16\n"
            "VERSION NUMBER=7\n"
            "CURRENT NEXT INDICATOR=1\n"
            "SECTION NUMBER=0\n"
            "LAST SECTION NUMBER=0\n"
            "CRC 32=" + Hex8(cat.CRC_32, false) + "\n");
}

// NIT actual of network 0x0001 (registered) with one satellite transport stream.
Bytes NitBytes() {
  return SectionBuilder::Long(0x40, 0x0001, 9, 1, 2)
      .BeginLoop().Desc(0x40, Bytes{'A', 'S', 'T', 'R', 'A'}).EndLoop()
      .BeginLoop()
      .U16(0x0441).U16(0x0001)
      .BeginLoop()
      // 11.83600 GHz, 19.2 E, horizontal, QPSK, 27.5 Msym/s, FEC 3/4
      .Desc(0x43, {0x01, 0x18, 0x36, 0x00, 0x01, 0x92, 0x81, 0x02, 0x75, 0x00, 0x03})
      .EndLoop()
      .EndLoop()
      .Build();
}

TEST_F(ValueDisplay, NitWithTheNetworkNameAndItsTransportStreams) {
  const auto nit = ParseSection<lib13818::NetworkInformationSection>(NitBytes());
  ASSERT_EQ(nit.transportStreams.size(), 1u);
  const std::string name = ui_core::NameToUtf8(lib13818::GetNetworkName(1));
  EXPECT_NE(name, "<unknown>");
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowNit(s, nit); }),
            "TABLE_ID=40 : " + std::string(nit.GetName()) + "\n"
            "SECTION_SYNTAX_INDICATOR=1\n"
            "RESERVED_FUTURE_USE=N/A\n"
            "RESERVED=N/A\n"
            "SECTION_LENGTH=" + std::to_string(nit.section_length) + "\n"
            "NETWORK_ID=0001 - " + name + "\n"
            "RESERVED=N/A\n"
            "VERSION_NUMBER=9\n"
            "CURRENT_NEXT_INDICATOR=1\n"
            "SECTION_NUMBER=1\n"
            "LAST_SECTION_NUMBER=2\n"
            "RESERVED_FUTURE_USE=N/A\n"
            "NETWORK_DESCRIPTORS_LEN=N/A\n"
            "RESERVED_FUTURE_USE=N/A\n"
            "TRANSPORT_STREAM_LOOP_LENGTH=N/A\n"
            "CRC_32=" + Hex8(nit.CRC_32, false) + "\n");
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowNitTransportStream(s, nit.transportStreams[0]); }),
            "TRANSPORT_STREAM_ID=0441\n"
            "ORIGINAL_NETWORK_ID=0001\n"
            "RESERVED_FUTURE_USE=N/A\n"
            "TRANSPORT_DESCRIPTORS_LENGTH=N/A\n");
  // An unregistered network id.
  auto other = nit;
  other.table_id_extension = 0;
  while (other.table_id_extension < 0xFFFF &&
         std::string(lib13818::GetNetworkName(static_cast<int>(other.table_id_extension))) != "<unknown>")
    ++other.table_id_extension;
  ui_core::ShowNit(sink, other);
  char expected[32];
  std::snprintf(expected, sizeof expected, "%04x - <unknown>", other.table_id_extension);
  EXPECT_EQ(sink.rows[5].value, expected);
}

// SDT actual with one service: service descriptor with UTF-8 names.
Bytes SdtBytes(const std::string& provider, const std::string& service) {
  Bytes payload{0x01, static_cast<std::uint8_t>(provider.size())};
  payload.insert(payload.end(), provider.begin(), provider.end());
  payload.push_back(static_cast<std::uint8_t>(service.size()));
  payload.insert(payload.end(), service.begin(), service.end());
  return SectionBuilder::Long(0x42, 0x0441, 12)
      .U16(0x0001).U8(0xFF)
      .U16(0x6FEE).U8(0xFD).BeginLoop(0x8 | 0x0).Desc(0x48, payload).EndLoop()
      .Build();
}

TEST_F(ValueDisplay, SdtServiceAndItsServiceDescriptor) {
  // "Das Erste HD" / "ARD" with a selector byte for UTF-8 text would be
  // decoded by the library; the names here are UTF-8 as they come from it.
  const std::string provider = "ARD";
  const std::string service = "Das Erste HD";
  const auto sdt = ParseSection<lib13818::ServiceDescriptionSection>(SdtBytes(provider, service));
  ASSERT_EQ(sdt.services.size(), 1u);
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowSdt(s, sdt); }),
            "TABLE_ID=42 : " + std::string(sdt.GetName()) + "\n"
            "SECTION_SYNTAX_INDICATOR=1\n"
            "RESERVED_FUTURE_USE=N/A\n"
            "RESERVED=N/A\n"
            "SECTION_LENGTH=" + std::to_string(sdt.section_length) + "\n"
            "TRANSPORT_STREAM_ID=0441\n"
            "RESERVED=N/A\n"
            "VERSION_NUMBER=12\n"
            "CURRENT_NEXT_INDICATOR=1\n"
            "SECTION_NUMBER=0\n"
            "LAST_SECTION_NUMBER=0\n"
            "ORIGINAL_NETWORK_ID=0001\n"
            "RESERVED_FUTURE_USE=N/A\n"
            "CRC_32=" + Hex8(sdt.CRC_32, false) + "\n");
  const auto& svc = sdt.services[0];
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowSdtService(s, svc); }),
            "SERVICE_ID=6FEE\n"
            "RESERVED_FUTURE_USE=N/A\n"
            "EIT_SCHEDULE_FLAG=0\n"
            "EIT_PRESENT_FOLLOWING_FLAG=1\n"
            "RUNNING_STATUS=4\n"
            "FREE_CA_MODE=0\n"
            "DESCRIPTORS_LOOP_LENGTH=N/A\n");
  ASSERT_EQ(svc.descriptors.serviceDescriptors.size(), 1u);
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowServiceDescriptor(s, svc.descriptors.serviceDescriptors[0]); }),
            "DESCRIPTOR_TAG=48\n"
            "DESCRIPTOR_LENGTH=18\n"
            "SERVICE_TYPE=1 - " + std::string(lib13818::DescriptorService::ServiceTypeName(1)) + "\n"
            "SERVICE_PROVIDER_NAME_LENGTH=N/A\n"
            "SERVICE_PROVIDER_NAME=ARD\n"
            "SERVICE_NAME_LENGTH=N/A\n"
            "SERVICE_NAME=Das Erste HD\n");
}

TEST_F(ValueDisplay, LongAndNonLatinTextsAreWrittenWhole) {
  lib13818::DescriptorService d;
  d.tag = 0x48;
  d.service_type = 0x19;
  d.service_provider_name = "\xD0\x9F\xD0\xB5\xD1\x80\xD0\xB2\xD1\x8B\xD0\xB9";  // Cyrillic
  d.service_name = std::string(400, 'n') + "\xE2\x82\xAC";
  ui_core::ShowServiceDescriptor(sink, d);
  EXPECT_EQ(sink.rows[4].value, d.service_provider_name);
  EXPECT_EQ(sink.rows[6].value, d.service_name);
}

TEST_F(ValueDisplay, BatSection) {
  const auto bat = ParseSection<lib13818::BouquetAssociationSection>(
      SectionBuilder::Long(0x4A, 0x0C02, 1).BeginLoop().EndLoop().BeginLoop().EndLoop().Build());
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowBat(s, bat); }),
            "TABLE_ID=4a : bouquet_association_section\n"
            "SECTION_LENGTH=13\n"
            "BOUQUET_ID=3074\n"
            "VERSION_NUMBER=1\n"
            "CURRENT_NEXT_INDICATOR=1\n"
            "SECTION_NUMBER=0\n"
            "CRC32=" + Hex8(bat.CRC_32, false) + "\n");
}

TEST_F(ValueDisplay, EitAndItsEvents) {
  const auto eit = ParseSection<lib13818::EventInformationSection>(
      SectionBuilder::Long(0x4E, 0x6FEE, 2, 0, 1)
          .U16(0x0441).U16(0x0001).U8(1).U8(0x4E)
          // event 0x1234, 13/10/1993 12:45:00, 1:30:05, running, scrambled
          .U16(0x1234).Raw({0xC0, 0x79, 0x12, 0x45, 0x00}).Raw({0x01, 0x30, 0x05})
          .U8(0x90).U8(0x00)
          .Build());
  ASSERT_EQ(eit.events.size(), 1u);
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowEit(s, eit); }),
            "TABLE_ID=4e : " + std::string(eit.GetName()) + "\n"
            "SECTION_LENGTH=" + std::to_string(eit.section_length) + "\n"
            "SERVICE_ID=6fee\n"
            "VERSION_NUMBER=2\n"
            "CURRENT_NEXT_INDICATOR=1\n"
            "SECTION_NUMBER=0\n"
            "LAST_SECTION_NUMBER=1\n"
            "TRANSPORT_STREAM_ID=0441\n"
            "ORIGINAL_NETWORK_ID=0001\n"
            "LAST_TABLE_ID=004e\n"
            "CRC_32=" + Hex8(eit.CRC_32, false) + "\n");
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowEitEvent(s, eit.events[0]); }),
            "EVENT_ID=1234\n"
            "START_TIME=13/10/1993 12:45:00\n"
            "DURATION=1:30:05\n"
            "RUNNING_STATUS=4\n"
            "FREE_CA_MODE=1\n");
}

TEST_F(ValueDisplay, RstTdtAndTot) {
  const auto rst = ParseSection<lib13818::RunningStatusSection>(
      SectionBuilder::Short(0x71).U16(0x0441).U16(0x0001).U16(0x6FEE).U16(0xBEEF).U8(0xFC).Build());
  ASSERT_EQ(rst.entries.size(), 1u);
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowRst(s, rst); }),
            "TABLE_ID=71 : running_status_section\n"
            "SECTION_LENGTH=9\n");
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowRstEntry(s, rst.entries[0]); }),
            "TRANSPORT_STREAM_ID=0441\n"
            "ORIGINAL_NETWORK_ID=0001\n"
            "SERVICE_ID=6fee\n"
            "EVENT_ID=beef\n"
            "RUNNING_STATUS=4\n");

  const auto tdt = ParseSection<lib13818::TimeDateSection>(
      SectionBuilder::Short(0x70).Raw({0xC0, 0x79, 0x08, 0x05, 0x09}).Build());
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowTdt(s, tdt); }),
            "TABLE_ID=70 : time_date_section\n"
            "SECTION_LENGTH=5\n"
            "UTC_TIME=13/10/1993 8:5:9\n");

  lib13818::TimeOffsetSection tot;
  tot.table_id = 0x73;
  tot.section_length = 26;
  tot.UTC_time = {13, 10, 1993, 23, 0, 0};
  tot.CRC_32 = 0x0A0B0C0D;
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowTot(s, tot); }),
            "TABLE_ID=73 : time_offset_section\n"
            "SECTION_LENGTH=26\n"
            "UTC_TIME=13/10/1993 23:0:0\n"
            "CRC_32=0a0b0c0d\n");
}

// ---------------------------------------------------------------------------
// Descriptors

TEST_F(ValueDisplay, SatelliteDeliverySystemEastAndWest) {
  const auto nit = ParseSection<lib13818::NetworkInformationSection>(NitBytes());
  const auto& sat = nit.transportStreams[0].descriptors.satelliteDeliverySystemDescriptors.at(0);
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowSatelliteDeliverySystemDescriptor(s, sat); }),
            "DESCRIPTOR_TAG=43\n"
            "DESCRIPTOR_LENGTH=11\n"
            "FREQUENCY=11836.00\n"
            "ORBITAL_POSITION=19.2\n"
            "WEST_EAST_FLAG=1 - east\n"
            "POLARIZATION=0 - " + std::string(sat.GetPolarizationName()) + "\n"
            "MODULATION=1 - " + std::string(sat.GetModulationName()) + "\n"
            "SYMBOL_RATE=27500.0\n"
            "FEC_INNER=3 - " + std::string(sat.GetFECInnerName()) + "\n");
  // 12.72225 GHz at 30.0 W, vertical.
  const auto west = Descriptor<lib13818::DescriptorSatelliteDeliverySystem>(
      0x43, {0x01, 0x27, 0x22, 0x25, 0x03, 0x00, 0x21, 0x02, 0x99, 0x99, 0x95});
  ui_core::ShowSatelliteDeliverySystemDescriptor(sink, west);
  EXPECT_EQ(sink.rows[2].value, "12722.25");
  EXPECT_EQ(sink.rows[3].value, "30.0");
  EXPECT_EQ(sink.rows[4].value, "0 - west");
  EXPECT_EQ(sink.rows[5].value, "1 - " + std::string(west.GetPolarizationName()));
  EXPECT_EQ(sink.rows[7].value, "29999.9");
}

TEST_F(ValueDisplay, CableAndTerrestrialDeliverySystems) {
  // 346.0000 MHz, FEC outer 2, 64-QAM, 6.9 Msym/s, FEC inner 15.
  const auto cable = Descriptor<lib13818::DescriptorCableDeliverySystem>(
      0x44, {0x03, 0x46, 0x00, 0x00, 0xFF, 0xF2, 0x03, 0x00, 0x69, 0x00, 0x0F});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowCableDeliverySystemDescriptor(s, cable); }),
            "DESCRIPTOR_TAG=0044\n"
            "DESCRIPTOR_LENGTH=11\n"
            "FREQUENCY=346.000000\n"
            "FEC_OUTER=2\n"
            "MODULATION=3\n"
            "SYMBOL_RATE=6.900000\n"
            "FEC_INNER=15\n");
  lib13818::DescriptorTerrestrialDeliverySystem t;
  t.tag = 0x5A;
  t.length = 11;
  t.centre_frequency = 0xF0000000u;  // beyond the range of a signed 32-bit number
  t.bandwidth = 1;
  t.constellation = 2;
  t.transmission_mode = 1;
  t.other_frequency_flag = 1;
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowTerrestrialDeliverySystemDescriptor(s, t); }),
            "DESCRIPTOR_TAG=005a\n"
            "DESCRIPTOR_LENGTH=11\n"
            "CENTRE_FREQUENCY=4026531840\n"
            "BANDWIDTH=1\n"
            "CONSTELLATION=2\n"
            "HIERACHY_INFORMATION=0\n"
            "CODE_RATE_HP_STREAM=0\n"
            "CODE_RATE_LP_STREAM=0\n"
            "GUARD_INTERVAL=0\n"
            "TRANSMISSION_MODE=1\n"
            "OTHER_FREQUENCY_FLAG=1\n");
}

TEST_F(ValueDisplay, CaDescriptorWithPidAndPrivateBytes) {
  const auto ca = Descriptor<lib13818::DescriptorCA>(0x09, {0x18, 0x02, 0xE1, 0xF4, 0xAA, 0x01});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowCaDescriptor(s, ca); }),
            "DESCRIPTOR TAG=0009\n"
            "DESCRIPTOR LENGTH=6\n"
            "SYS_ID=1802 - " + ui_core::NameToUtf8(lib13818::GetCASystemName(0x1802)) + "\n"
            "PID=01F4 [pid 0x01F4]\n"
            "PRIVATE BYTES=AA 01 [bytes 2]\n");
  EXPECT_EQ(sink.rows[4].bytes, &ca.private_data_bytes) << "the row points at the record's bytes";
  EXPECT_EQ(sink.rows[3].pid, 0x1F4u);
  // Without private bytes: an empty value and no row item.
  const auto bare = Descriptor<lib13818::DescriptorCA>(0x09, {0x0B, 0x00, 0xE0, 0x20});
  ui_core::ShowCaDescriptor(sink, bare);
  EXPECT_EQ(sink.rows[4].value, "");
  EXPECT_EQ(sink.rows[4].item, Item::None);
  EXPECT_EQ(sink.rows[3].item, Item::Pid);
}

TEST_F(ValueDisplay, UnknownDescriptorAndByteRunsCutAtHundred) {
  Bytes payload(200);
  for (size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>(i);
  const auto unknown = Descriptor<lib13818::DescriptorUnknown>(0x88, payload);
  ui_core::ShowUnknownDescriptor(sink, unknown);
  ASSERT_EQ(sink.rows.size(), 3u);
  EXPECT_EQ(sink.rows[0].value, "0088");
  EXPECT_EQ(sink.rows[1].value, "200");
  EXPECT_EQ(sink.rows[2].value.size(), 299u);
  EXPECT_EQ(sink.rows[2].item, Item::Data);
  ASSERT_TRUE(sink.rows[2].bytes);
  EXPECT_EQ(sink.rows[2].bytes->size(), 200u) << "the hex view gets every byte";
  // Every routine with a byte run attaches it when not empty.
  const auto ts = Descriptor<lib13818::DescriptorTransportStream>(0x67, {'D', 'V', 'B'});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowBytesDescriptorEntry61275(s, ts); }),
            "DESCRIPTOR_TAG=0067\nDESCRIPTOR_LENGTH=3\nBYTES=44 56 42 [bytes 3]\n");
  const auto dsng = Descriptor<lib13818::DescriptorDSNG>(0x68, {0x01});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowBytesDescriptorEntry61276(s, dsng); }),
            "DESCRIPTOR_TAG=0068\nDESCRIPTOR_LENGTH=1\nBYTES=01 [bytes 1]\n");
  const auto linkage = Descriptor<lib13818::DescriptorLinkage>(
      0x4A, {0x04, 0x41, 0x00, 0x01, 0x6F, 0xEE, 0x05, 0xC0, 0xDE});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowLinkageDescriptor(s, linkage); }),
            "DESCRIPTOR_TAG=004a\n"
            "DESCRIPTOR_LENGTH=9\n"
            "TRANSPORT_STREAM_ID=0441\n"
            "ORIGINAL_NETWORK_ID=0001\n"
            "SERVICE_ID=6FEE\n"
            "LINKAGE_TYPE=5\n"
            "PRIVATE_DATA_BYTES=C0 DE [bytes 2]\n");
  const auto reg = Descriptor<lib13818::DescriptorRegistration>(0x05, {'A', 'C', '-', '3', 0x7F});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowRegistrationDescriptor(s, reg); }),
            "DESCRIPTOR_TAG=0005\n"
            "DESCRIPTOR_LENGTH=5\n"
            "FORMAT_IDENTIFIER=1094921523\n"
            "ADDITIONAL_IDENTIFICATION_INFO=7F [bytes 1]\n");
}

TEST_F(ValueDisplay, VideoStreamFieldsOfMpeg2AndNotApplicableForMpeg1) {
  // MPEG-2: frame rate code 3, profile/level 0x48, 4:2:0.
  const auto mpeg2 = Descriptor<lib13818::DescriptorVideoStream>(0x02, {0x18, 0x48, 0x5F});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowVideoStreamDescriptor(s, mpeg2); }),
            "MULTIPLE FRAME RATE=0\n"
            "FRAME RATE CODE=3\n"
            "MPEG 1 ONLY=0\n"
            "CONSTRAINED PARAMETER FLAG=0\n"
            "STILL PICTURE=0\n"
            "PROFILE AND LEVEL INDICATION=72\n"
            "CHROMA FORMAT=1\n"
            "FRAME RATE EXTENSION=0\n"
            "RESERCED=31\n");
  const auto cut = Descriptor<lib13818::DescriptorVideoStream>(0x02, {0x18});
  ui_core::ShowVideoStreamDescriptor(sink, cut);
  EXPECT_EQ(sink.rows[5].value, "N/A") << "a descriptor too short for the MPEG-2 fields";
  const auto mpeg1 = Descriptor<lib13818::DescriptorVideoStream>(0x02, {0x9C});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowVideoStreamDescriptor(s, mpeg1); }),
            "MULTIPLE FRAME RATE=1\n"
            "FRAME RATE CODE=3\n"
            "MPEG 1 ONLY=1\n"
            "CONSTRAINED PARAMETER FLAG=0\n"
            "STILL PICTURE=0\n"
            "PROFILE AND LEVEL INDICATION=N/A\n"
            "CHROMA FORMAT=N/A\n"
            "FRAME RATE EXTENSION=N/A\n"
            "RESERCED=N/A\n");
}

TEST_F(ValueDisplay, MosaicDescriptorAndCellsWithLabelsOfTheirOwn) {
  // Entry point 1, 2 x 2 cells; cells linking a bouquet, a service, a
  // mosaic service and an event.
  const auto mosaic = Descriptor<lib13818::DescriptorMosiac>(
      0x51, {0x99,
             0x04, 0x01, 0x02, 0x00, 0x01, 0x01, 0x0C, 0x02,
             0x08, 0x02, 0x00, 0x02, 0x00, 0x01, 0x04, 0x41, 0x6F, 0xEE,
             0x0C, 0x03, 0x01, 0x03, 0x03, 0x00, 0x01, 0x04, 0x42, 0x6F, 0xEF,
             0x10, 0x04, 0x00, 0x04, 0x00, 0x85, 0x04, 0x43, 0x00, 0x10, 0xBE, 0xEF});
  ASSERT_EQ(mosaic.cells.size(), 4u);
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowMosaicDescriptor(s, mosaic); }),
            "DESCRIPTOR_TAG=0051\n"
            "DESCRIPTOR_LENGTH=42\n"
            "MOSIAC_ENTRY_POINT=1\n"
            "NUMBER_OF_HORIZONTAL_ELEMENTARY_CELLS=1\n"
            "NUMBER_OF_VERTICAL_ELEMENTARY_CELLS=1\n");
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowMosaicCell(s, mosaic.cells[0]); }),
            "LOGICAL_CELL_ID=1\n"
            "LOGICAL_CELL_PRESENTATION_INFO=1\n"
            "ELEMENTARY_CELL_FIELD_LENGTH=2\n"
            "ELEMENTARY_CELL_IDS=00 01 [bytes 2]\n"
            "CELL_LINKAGE_INFO=1\n"
            "BOUQUET_ID=0C02\n");
  EXPECT_EQ(sink.rows[3].bytes, &mosaic.cells[0].elementary_cell_ids);
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowMosaicCell(s, mosaic.cells[1]); }),
            "LOGICAL_CELL_ID=2\n"
            "LOGICAL_CELL_PRESENTATION_INFO=2\n"
            "ELEMENTARY_CELL_FIELD_LENGTH=0\n"
            "ELEMENTARY_CELL_IDS=\n"
            "CELL_LINKAGE_INFO=2\n"
            "ORIGINAL_NETWORK_ID=0001\n"
            "TRANSPORT_STREAM_ID=0441\n"
            "SERVICE_ID=6FEE\n");
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowMosaicCell(s, mosaic.cells[2]); }),
            "LOGICAL_CELL_ID=3\n"
            "LOGICAL_CELL_PRESENTATION_INFO=3\n"
            "ELEMENTARY_CELL_FIELD_LENGTH=1\n"
            "ELEMENTARY_CELL_IDS=03 [bytes 1]\n"
            "CELL_LINKAGE_INFO=3\n"
            "ORIGINAL_NETWORK_ID=0001\n"
            "TRANSPORT_STREAM_ID=0442\n"
            "SERVICE_ID=6FEF\n");
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowMosaicCell(s, mosaic.cells[3]); }),
            "LOGICAL_CELL_ID=4\n"
            "LOGICAL_CELL_PRESENTATION_INFO=4\n"
            "ELEMENTARY_CELL_FIELD_LENGTH=0\n"
            "ELEMENTARY_CELL_IDS=\n"
            "CELL_LINKAGE_INFO=4\n"
            "ORIGINAL_NETWORK_ID=0085\n"
            "TRANSPORT_STREAM_ID=0443\n"
            "SERVICE_ID=0010\n"
            "EVENT_ID=BEEF\n");
}

TEST_F(ValueDisplay, NamesTextsAndCodedValues) {
  const auto network = Descriptor<lib13818::DescriptorNetworkName>(0x40, {'A', 'S', 'T', 'R', 'A'});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowNetworkNameDescriptor(s, network); }),
            "DESCRIPTOR_TAG=0040\nDESCRIPTOR_LENGTH=5\nNAME=ASTRA\n");
  const auto bouquet = Descriptor<lib13818::DescriptorBouquetName>(0x47, {'S', 'k', 'y'});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowBouquetNameDescriptor(s, bouquet); }),
            "DESCRIPTOR_TAG=0047\nDESCRIPTOR_LENGTH=3\nNAME=Sky\n");
  const auto shortEvent = Descriptor<lib13818::DescriptorShortEvent>(
      0x4D, {'d', 'e', 'u', 0x07, 'T', 'a', 'g', 'e', 's', 's', 'c', 0x03, 'N', 'e', 'u'});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowShortEventDescriptor(s, shortEvent); }),
            "DESCRIPTOR_TAG=4d\n"
            "DESCRIPTOR_LENGTH=15\n"
            "ISO_639_LANGUAGE_CODE=deu\n"
            "EVENT_NAME=Tagessc\n"
            "EVENT_TEXT=Neu\n");
  const auto component = Descriptor<lib13818::DescriptorComponent>(
      0x50, {0xF1, 0x03, 0x02, 'e', 'n', 'g', 'S', 't', 'e', 'r', 'e', 'o'});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowComponentDescriptor(s, component); }),
            "DESCRIPTOR_TAG=50\n"
            "DESCRIPTOR_LENGTH=12\n"
            "STREAM_CONTENT=1\n"
            "COMPONENT_TYPE=3\n"
            "COMPONENT_TAG=2\n"
            "ISO_639_LANGUAGE_CODE=eng\n"
            "TEXT=Stereo\n");
  const auto hierarchy = Descriptor<lib13818::DescriptorHierarchy>(0x04, {0xF3, 0xC1, 0xC0, 0xC5});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowHierarchyDescriptor(s, hierarchy); }),
            "DESCRIPTOR_TAG=0004\n"
            "DESCRIPTOR_LENGTH=4\n"
            "HIERARCHY_TYPE=3 - " + std::string(hierarchy.GetHierarchyTypeName()) + "\n"
            "HIERARCHY_LAYER_INDEX=1\n"
            "HIERARCHY_EMBEDDED_LAYER_INDEX=0\n"
            "HIERARCHY_CHANNEL=5\n");
  const auto broadcast = Descriptor<lib13818::DescriptorDataBroadcast>(
      0x64, {0x01, 0x23, 0x07, 0x02, 0xAB, 0xCD, 'e', 'n', 'g', 0x02, 'O', 'K'});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowDataBroadcastDescriptor(s, broadcast); }),
            "DESCRIPTOR_TAG=0064\n"
            "DESCRIPTOR_LENGTH=12\n"
            "DATA_BROADCAST_ID=0123 - " + ui_core::NameToUtf8(lib13818::GetDataBroadcastName(0x123)) + "\n"
            "COMPONENT_TAG=7\n"
            "SELECTOR_LENGTH=2\n"
            "SELECTOR_BYTES=AB CD [bytes 2]\n"
            "ISO_639_LANGUAGE_CODE=eng\n"
            "TEXT_LENGTH=2\n"
            "TEXT=OK\n");
  const auto broadcastId = Descriptor<lib13818::DescriptorDataBroadcastId>(0x66, {0x00, 0x05});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowDataBroadcastIdDescriptor(s, broadcastId); }),
            "DESCRIPTOR_TAG=0066\n"
            "DESCRIPTOR_LENGTH=2\n"
            "DATA_BROADCAST_ID=0005 - " + ui_core::NameToUtf8(lib13818::GetDataBroadcastName(5)) + "\n"
            "SELECTOR_BYTES=\n");
  const auto pds = Descriptor<lib13818::DescriptorPrivateDataSpecifier>(0x5F, {0x00, 0x00, 0x00, 0x28});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowPrivateDataSpecifierDescriptor(s, pds); }),
            "DESCRIPTOR_TAG=005f\nDESCRIPTOR_LENGTH=4\nPRIVATE_DATA_SPECIFIER=00000028\n");
}

TEST_F(ValueDisplay, Ac3FieldsThatAreNotCarriedShowNotApplicable) {
  // component type and ASVC carried, bsid and mainid not; one byte of info.
  const auto ac3 = Descriptor<lib13818::DescriptorAC3>(0x6A, {0x90, 0x42, 0x07, 0xEE});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowAc3Descriptor(s, ac3); }),
            "DESCRIPTOR_TAG=006a\n"
            "DESCRIPTOR_LENGTH=4\n"
            "COMPONENT_TYPE_FLAG=1\n"
            "BSID_FLAG=0\n"
            "MAINID_FLAG=0\n"
            "ASVC_FLAG=1\n"
            "AC_3_TYPE=66\n"
            "BSID=N/A\n"
            "MAINID=N/A\n"
            "ASVC=7\n"
            "ADDITIONAL_INFO=EE [bytes 1]\n");
  // All four flagged, but the descriptor ends after two of their bytes.
  const auto cut = Descriptor<lib13818::DescriptorAC3>(0x6A, {0xF0, 0x42, 0x08});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowAc3Descriptor(s, cut); }),
            "DESCRIPTOR_TAG=006a\n"
            "DESCRIPTOR_LENGTH=3\n"
            "COMPONENT_TYPE_FLAG=1\n"
            "BSID_FLAG=1\n"
            "MAINID_FLAG=1\n"
            "ASVC_FLAG=1\n"
            "AC_3_TYPE=66\n"
            "BSID=8\n"
            "MAINID=N/A\n"
            "ASVC=N/A\n"
            "ADDITIONAL_INFO=\n");
}

TEST_F(ValueDisplay, TelephoneDescriptorWithItsNumbers) {
  const auto phone = Descriptor<lib13818::DescriptorTelephone>(
      0x57, {0x23, 0x25, 0x14, '4', '9', '8', '9', '0', '1', '2', '3', '4'});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowTelephoneDescriptor(s, phone); }),
            "DESCRIPTOR_TAG=0057\n"
            "DESCRIPTOR_LENGTH=12\n"
            "FORIEGN_AVAILABILITY=1\n"
            "CONNECTION_TYPE=3\n"
            "COUNTRY_PREFIX_LEN=1\n"
            "INTERNATIONAL_AREA_CODE_LENGTH=1\n"
            "OPERATOR_CODE_LENGTH=1\n"
            "NATIONAL_AREA_CODE_LENGTH=1\n"
            "CORE_NUMBER_LENGTH=4\n"
            "COUNTRY_PREIFX=4\n"
            "INTERNATIONAL_AREA_CODE=9\n"
            "OPERATOR_CODE=8\n"
            "NATIONAL_AREA_CODE=9\n"
            "CORE_NUMBER=0123\n");
}

TEST_F(ValueDisplay, LoopDescriptorsShowTagAndLength) {
  const auto list = Descriptor<lib13818::DescriptorServiceList>(0x41, {0x6F, 0xEE, 0x01, 0x6F, 0xEF, 0x02});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowServiceListDescriptor(s, list); }),
            "DESCRIPTOR_TAG=0041\nDESCRIPTOR_LENGTH=6\n");
  const auto teletext = Descriptor<lib13818::DescriptorTeletext>(0x56, {'d', 'e', 'u', 0x09, 0x00});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowTeletextDescriptor(s, teletext); }),
            "DESCRIPTOR_TAG=56\nDESCRIPTOR_LENGTH=5\n");
  const auto content = Descriptor<lib13818::DescriptorContent>(0x54, {0x23, 0x00});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowContentDescriptor(s, content); }),
            "DESCRIPTOR_TAG=54\nDESCRIPTOR_LENGTH=2\n");
  const auto iso = Descriptor<lib13818::DescriptorISO639Language>(0x0A, {'d', 'e', 'u', 0x01});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowIso639LanguageDescriptor(s, iso); }),
            "DESCRIPTOR TAG=000A\nDESCRIPTOR LENGTH=4\n");
  lib13818::DescriptorLocalTimeOffset lto;
  lto.tag = 0x58;
  lto.length = 13;
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowDescriptorEntry61220(s, lto); }),
            "DESCRIPTOR_TAG=0058\nDESCRIPTOR_LENGTH=13\n");
}

// Every other descriptor from bytes as broadcast: the field in its row, in
// its format.
TEST_F(ValueDisplay, MpegDescriptorsFromBroadcastBytes) {
  using namespace lib13818;
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowAudioStreamDescriptor(s, Descriptor<DescriptorAudioStream>(0x03, {0x68})); }),
            "DESCRIPTOR_TAG=0003\nDESCRIPTOR_LENGTH=1\nFREE_FORMAT_FLAG=0\nID=1\nLAYER=2\n"
            "VARIABLE_RATE_AUDIO_INDICATOR=1\n");
  const auto alignment = Descriptor<DescriptorDataStreamAlignment>(0x06, {0x02});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowDataStreamAlignmentDescriptor(s, alignment); }),
            "DESCRIPTOR_TAG=0006\nDESCRIPTOR_LENGTH=1\nALIGNMENT_TYPE=2 - " +
                std::string(alignment.GetAlignmentTypeName()) + "\n");
  // 720 x 576, aspect ratio 2; a window at 100, 50 with priority 3.
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowTargetBackgroundGridDescriptor(
                  s, Descriptor<DescriptorTargetBackgroundGrid>(0x07, {0x0B, 0x40, 0x24, 0x02}));
            }),
            "DESCRIPTOR_TAG=0007\nDESCRIPTOR_LENGTH=4\nHORIZONTAL_SIZE=720\nVERTICAL_SIZE=576\n"
            "ASPECT_RATIO_INFORMATION=2\n");
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowVideoWindowDescriptor(s, Descriptor<DescriptorVideoWindow>(0x08, {0x01, 0x90, 0x03, 0x23}));
            }),
            "DESCRIPTOR_TAG=0008\nDESCRIPTOR_LENGTH=4\nHORIZONTAL_OFFSET=100\nVERTICAL_OFFSET=50\n"
            "WINDOW_PRIORITY=3\n");
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowSystemClockDescriptor(s, Descriptor<DescriptorSystemClock>(0x0B, {0x9E, 0x7F}));
            }),
            "DESCRIPTOR_TAG=000b\nDESCRIPTOR_LENGTH=2\nEXTERNAL_CLOCK_REFERENCE_INDICATOR=1\n"
            "CLOCK_ACCURACY_INTEGER=30\nCLOCK_ACCURACY_EXPONENT=3\n");
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowMultiplexBufferUtilizationDescriptor(
                  s, Descriptor<DescriptorMultiplexBufferUtilization>(0x0C, {0x80, 0x10, 0x80, 0x20}));
            }),
            "DESCRIPTOR_TAG=000c\nDESCRIPTOR_LENGTH=4\nBOUND_VALID_FLAG=1\nLTW_OFFSET_LOWER_BOUND=16\n"
            "LTW_OFFSET_UPPER_BOUND=32\n");
  const auto copyright = Descriptor<DescriptorCopyright>(0x0D, {'A', 'B', 'C', 'D', 0x01, 0x02});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowCopyrightDescriptor(s, copyright); }),
            "DESCRIPTOR_TAG=000d\nDESCRIPTOR_LENGTH=6\nCOPYRIGHT_IDENTIFIER=1094861636\n"
            "ADDITIONAL_COPYRIGHT_INFO=01 02 [bytes 2]\n");
  EXPECT_EQ(sink.rows[3].bytes, &copyright.additional_copyright_info);
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowMaximumBitrateDescriptor(s, Descriptor<DescriptorMaximumBitrate>(0x0E, {0xC1, 0x86, 0xA0}));
            }),
            "DESCRIPTOR_TAG=000e\nDESCRIPTOR_LENGTH=3\nMAXIMUM_BITRATE=100000\n");
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowPrivateDataIndicatorDescriptor(
                  s, Descriptor<DescriptorPrivateDataIndicator>(0x0F, {0x00, 0x00, 0x01, 0x05}));
            }),
            "DESCRIPTOR_TAG=000f\nDESCRIPTOR_LENGTH=4\nPRIVATE_DATA_INDICATOR=261\n");
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowSmoothingBufferDescriptor(
                  s, Descriptor<DescriptorSmoothingBuffer>(0x10, {0xC0, 0x01, 0x00, 0xC0, 0x02, 0x00}));
            }),
            "DESCRIPTOR_TAG=0010\nDESCRIPTOR_LENGTH=6\nSB_LEAK_RATE=256\nSB_SIZE=512\n");
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowStdDescriptor(s, Descriptor<DescriptorSTD>(0x11, {0xFF})); }),
            "DESCRIPTOR_TAG=0011\nDESCRIPTOR_LENGTH=1\nLEAK_VALID_FLAG=1\n");
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowIbpDescriptor(s, Descriptor<DescriptorIBP>(0x12, {0x40, 0x0C})); }),
            "DESCRIPTOR_TAG=0012\nDESCRIPTOR_LENGTH=2\nCLOSED_GOP_FLAG=0\nIDENTICAL_GOP_FLAG=1\nMAX_GOP_LENGTH=12\n");
}

TEST_F(ValueDisplay, DvbDescriptorsFromBroadcastBytes) {
  using namespace lib13818;
  const auto stuffing = Descriptor<DescriptorStuffing>(0x42, {0xFF, 0xFF});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowStuffingDescriptor(s, stuffing); }),
            "DESCRIPTOR_TAG=0042\nDESCRIPTOR_LENGTH=2\nSTUFFING_BYTES=FF FF [bytes 2]\n");
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowCountryAvailabilityDescriptor(
                  s, Descriptor<DescriptorCountryAvailability>(0x49, {0x80, 'D', 'E', 'U'}));
            }),
            "DESCRIPTOR_TAG=0049\nDESCRIPTOR_LENGTH=4\nCOUNTRY_AVAILABILITY_FLAG=1\n");
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowTimeShiftedServiceDescriptor(s, Descriptor<DescriptorTimeShiftedService>(0x4C, {0x6F, 0xEE}));
            }),
            "DESCRIPTOR_TAG=004c\nDESCRIPTOR_LENGTH=2\nREFERENCE_SERVICE_ID=6FEE\n");
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowExtendedEventDescriptor(
                  s, Descriptor<DescriptorExtendedEvent>(0x4E, {0x12, 'e', 'n', 'g', 0x00, 0x04, 'T', 'e', 'x', 't'}));
            }),
            "DESCRIPTOR_TAG=4e\nDESCRIPTOR_LENGTH=10\nDESCRIPTOR_NUMBER=1\nISO_639_LANGUAGE_CODE=eng\nTEXT=Text\n");
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowTimeShiftedEventDescriptor(
                  s, Descriptor<DescriptorTimeShiftedEvent>(0x4F, {0x6F, 0xEE, 0x12, 0x34}));
            }),
            "DESCRIPTOR_TAG=4f\nDESCRIPTOR_LENGTH=4\nREFERENCE_SERVICE_ID=28654\nREFERENCE_EVENT_ID=4660\n");
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowStreamIdentifierDescriptor(s, Descriptor<DescriptorStreamIdentifier>(0x52, {0x05}));
            }),
            "DESCRIPTOR_TAG=0052\nDESCRIPTOR_LENGTH=1\nCOMPONENT_TAG=5\n");
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowMultilingualComponentDescriptor(
                  s, Descriptor<DescriptorMultilingualComponentName>(0x5E, {0x07, 'e', 'n', 'g', 0x02, 'H', 'D'}));
            }),
            "DESCRIPTOR_TAG=005e\nDESCRIPTOR_LENGTH=7\nCOMPONENT_TAG=7\n");
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowServiceMoveDescriptor(
                  s, Descriptor<DescriptorServiceMove>(0x60, {0x00, 0x01, 0x04, 0x41, 0x6F, 0xEE}));
            }),
            "DESCRIPTOR_TAG=0060\nDESCRIPTOR_LENGTH=6\nNEW_ORIGINAL_NETWORK_ID=0001\n"
            "NEW_TRANSPORT_STREAM_ID=0441\nNEW_SERVICE_ID=6FEE\n");
  const auto ssb = Descriptor<DescriptorShortSmoothingBuffer>(0x61, {0x85, 0xAA});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowShortSmoothingBufferDescriptor(s, ssb); }),
            "DESCRIPTOR_TAG=0061\nDESCRIPTOR_LENGTH=2\nSB_SIZE=2\nSB_LEAK_RATE=5\nDVB_RESERVED=AA [bytes 1]\n");
  const auto frequencies = Descriptor<DescriptorFrequencyList>(0x62, {0xFD, 0x01, 0x18, 0x36, 0x00});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowFrequencyListDescriptor(s, frequencies); }),
            "DESCRIPTOR_TAG=0062\nDESCRIPTOR_LENGTH=5\nCODING_TYPE=1 - " +
                std::string(frequencies.GetCodingTypeName()) + "\n");
  // 13 October, 12:45.
  const auto pdc = Descriptor<DescriptorPDC>(0x69, {0xF6, 0xD3, 0x2D});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowPdcDescriptor(s, pdc); }),
            "DESCRIPTOR_TAG=0069\nDESCRIPTOR_LENGTH=3\nPROGRAMME_IDENTIFICATION_LABEL=447277 - " +
                std::string(pdc.GetProgrammeIdentificationLabelText()) + "\n");
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowAncillaryDataDescriptor(s, Descriptor<DescriptorAncillaryData>(0x6B, {0x21}));
            }),
            "DESCRIPTOR_TAG=006b\nDESCRIPTOR_LENGTH=1\nANCILLARY_DATA_IDENTIFIER=21\n");
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowAdaptationFieldDataDescriptor(s, Descriptor<DescriptorAdaptationField>(0x70, {0x03}));
            }),
            "DESCRIPTOR_TAG=0070\nDESCRIPTOR_LENGTH=1\nADAPTATION_FIELD_DATA_IDENTIFIER=03\n");
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowServiceAvailabilityDescriptor(
                  s, Descriptor<DescriptorServiceAvailability>(0x72, {0x80, 0x00, 0x05, 0x01, 0x06}));
            }),
            "DESCRIPTOR_TAG=0072\nDESCRIPTOR_LENGTH=5\nAVAILABILITY_FLAG=1\nCELL_ID=5, 262\n");
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowDescriptorEntry61231(s, Descriptor<DescriptorCAIdentifier>(0x53, {0x0B, 0x00, 0x18, 0x02}));
            }),
            "DESCRIPTOR_TAG=0053\nDESCRIPTOR_LENGTH=4\n");
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowDescriptorEntry61272(
                  s, Descriptor<DescriptorPartialTransport>(0x63, {0xC0, 0x10, 0x00, 0xC0, 0x08, 0x00, 0xC0, 0x64}));
            }),
            "DESCRIPTOR_TAG=0063\nDESCRIPTOR_LENGTH=8\n");
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowDescriptorEntry61285(s, Descriptor<DescriptorServiceIdentifier>(0x71, {'t', 'v', '1'}));
            }),
            "DESCRIPTOR_TAG=0071\nDESCRIPTOR_LENGTH=3\n");
}

TEST_F(ValueDisplay, DescriptorsWithLoopsShowTagAndLengthAndTheirEntriesTheirFields) {
  using namespace lib13818;
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowNvodReferenceDescriptor(
                  s, Descriptor<DescriptorNVODReference>(0x4B, {0x04, 0x41, 0x00, 0x01, 0x6F, 0xEE}));
            }),
            "DESCRIPTOR_TAG=004b\nDESCRIPTOR_LENGTH=6\n");
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowParentalRatingDescriptor(s, Descriptor<DescriptorParentalRating>(0x55, {'D', 'E', 'U', 0x09}));
            }),
            "DESCRIPTOR_TAG=0055\nDESCRIPTOR_LENGTH=4\n");
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowSubtitlingDescriptor(
                  s, Descriptor<DescriptorSubtitling>(0x59, {'d', 'a', 'n', 0x10, 0x00, 0x02, 0x00, 0x03}));
            }),
            "DESCRIPTOR_TAG=0059\nDESCRIPTOR_LENGTH=8\n");
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowMultilingualNetworkNameDescriptor(
                  s, Descriptor<DescriptorMultilingualNetworkName>(0x5B, {'d', 'a', 'n', 0x03, 'D', 'R', '1'}));
            }),
            "DESCRIPTOR_TAG=005b\nDESCRIPTOR_LENGTH=7\n");
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowMultilingualBouquetNameDescriptor(
                  s, Descriptor<DescriptorMultilingualBouquetName>(0x5C, {'d', 'a', 'n', 0x02, 'Y', 'S'}));
            }),
            "DESCRIPTOR_TAG=005c\nDESCRIPTOR_LENGTH=6\n");
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowMultilingualServiceNameDescriptor(
                  s, Descriptor<DescriptorMultilingualServiceName>(0x5D, {'d', 'a', 'n', 0x00, 0x01, 'X'}));
            }),
            "DESCRIPTOR_TAG=005d\nDESCRIPTOR_LENGTH=6\n");
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowApplicationSignallingDescriptor(
                  s, Descriptor<DescriptorApplicationSignalling>(0x6F, {0x00, 0x10, 0xE3}));
            }),
            "DESCRIPTOR_TAG=006f\nDESCRIPTOR_LENGTH=3\n");
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowVbiDataDescriptor(s, Descriptor<DescriptorVBIData>(0x45, {0x01, 0x01, 0xE7}));
            }),
            "DESCRIPTOR_TAG=0045\nDESCRIPTOR_LENGTH=3\n");
  EXPECT_EQ(Show([&](TextSink& s) {
              ui_core::ShowVbiTeletextDescriptor(s, Descriptor<DescriptorVBITeletext>(0x46, {'d', 'e', 'u', 0x09, 0x00}));
            }),
            "DESCRIPTOR_TAG=0046\nDESCRIPTOR_LENGTH=5\n");

  // Coordinates are two's complement: a cell south-west of the origin, its
  // subcell south-east.
  const auto cells = Descriptor<DescriptorCellList>(
      0x6C, {0x00, 0x05, 0xFF, 0xF6, 0x80, 0x00, 0x00, 0x10, 0x20, 0x08,
             0x01, 0xEE, 0xEF, 0x22, 0x22, 0x00, 0x30, 0x04});
  ASSERT_EQ(cells.cells.size(), 1u);
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowCellListDescriptor(s, cells); }),
            "DESCRIPTOR_TAG=006c\nDESCRIPTOR_LENGTH=18\n");
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowCellListEntry(s, cells.cells[0]); }),
            "CELL_ID=5\n"
            "CELL_LATTITUDE=-10\n"
            "CELL_LONGITUDE=-32768\n"
            "CELL_EXTEND_LATTITUDE=1\n"
            "CELL_EXTEND_LONGITUDE=32\n"
            "SUBCELL_INFO_LOOP_LENGTH=8\n");
  ASSERT_EQ(cells.cells[0].subcells.size(), 1u);
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowSubcellListEntry(s, cells.cells[0].subcells[0]); }),
            "CELL_ID_EXTENSION=1\n"
            "CELL_LATTITUDE=-4369\n"
            "CELL_LONGITUDE=8738\n"
            "CELL_EXTEND_LATTITUDE=3\n"
            "CELL_EXTEND_LONGITUDE=4\n");

  // Cell 5 on 500 MHz (10 Hz units) with a transposer on 500.03968 MHz.
  const auto link = Descriptor<DescriptorCellFrequencyLink>(
      0x6D, {0x00, 0x05, 0x02, 0xFA, 0xF0, 0x80, 0x05, 0x01, 0x02, 0xFB, 0x00, 0x00});
  ASSERT_EQ(link.cells.size(), 1u);
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowCellFrequencyLinkDescriptor(s, link); }),
            "DESCRIPTOR_TAG=006d\nDESCRIPTOR_LENGTH=12\n");
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowCellFrequencyLinkEntry(s, link.cells[0]); }),
            "CELL_ID=5\nFREQUENCY=50000000\nSUBCELL_INFO_LOOP_LENGTH=5\n");
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowSubcellFrequencyEntry(s, link.cells[0].subcells.at(0)); }),
            "CELL_ID_EXTENSION=1\nTRANSPOSER_FREQUENCY=50003968\n");
}

// A descriptor that ends inside its fixed part: what it carries is shown,
// what it does not shows N/A (never the 0 the record keeps there), and a PID
// it does not carry gets no PID menu.
TEST_F(ValueDisplay, FieldsThatAShortDescriptorDoesNotCarryShowNotApplicable) {
  using namespace lib13818;
  const auto sat = Descriptor<DescriptorSatelliteDeliverySystem>(0x43, {0x01, 0x18, 0x36, 0x00, 0x01, 0x92});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowSatelliteDeliverySystemDescriptor(s, sat); }),
            "DESCRIPTOR_TAG=43\n"
            "DESCRIPTOR_LENGTH=6\n"
            "FREQUENCY=11836.00\n"
            "ORBITAL_POSITION=19.2\n"
            "WEST_EAST_FLAG=N/A\n"
            "POLARIZATION=N/A\n"
            "MODULATION=N/A\n"
            "SYMBOL_RATE=N/A\n"
            "FEC_INNER=N/A\n");
  const auto cable = Descriptor<DescriptorCableDeliverySystem>(0x44, {0x03, 0x46, 0x00, 0x00, 0xFF, 0xF2});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowCableDeliverySystemDescriptor(s, cable); }),
            "DESCRIPTOR_TAG=0044\nDESCRIPTOR_LENGTH=6\nFREQUENCY=346.000000\nFEC_OUTER=2\nMODULATION=N/A\n"
            "SYMBOL_RATE=N/A\nFEC_INNER=N/A\n");
  const auto terrestrial = Descriptor<DescriptorTerrestrialDeliverySystem>(0x5A, {0x02, 0xFA, 0xF0, 0x80, 0x1F});
  ui_core::ShowTerrestrialDeliverySystemDescriptor(sink, terrestrial);
  EXPECT_EQ(sink.rows[2].value, "50000000");
  EXPECT_EQ(sink.rows[3].value, "0");  // bandwidth 0 (8 MHz), carried
  for (int row = 4; row <= 10; ++row) EXPECT_EQ(sink.rows[static_cast<size_t>(row)].value, "N/A") << row;

  const auto ca = Descriptor<DescriptorCA>(0x09, {0x0B, 0x00});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowCaDescriptor(s, ca); }),
            "DESCRIPTOR TAG=0009\nDESCRIPTOR LENGTH=2\nSYS_ID=0B00 - " +
                ui_core::NameToUtf8(GetCASystemName(0x0B00)) + "\nPID=N/A\nPRIVATE BYTES=\n");
  const auto linkage = Descriptor<DescriptorLinkage>(0x4A, {0x04, 0x41, 0x00, 0x01});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowLinkageDescriptor(s, linkage); }),
            "DESCRIPTOR_TAG=004a\nDESCRIPTOR_LENGTH=4\nTRANSPORT_STREAM_ID=0441\nORIGINAL_NETWORK_ID=0001\n"
            "SERVICE_ID=N/A\nLINKAGE_TYPE=N/A\nPRIVATE_DATA_BYTES=\n");
  const auto video = Descriptor<DescriptorVideoStream>(0x02, {});
  ui_core::ShowVideoStreamDescriptor(sink, video);
  for (const auto& row : sink.rows) EXPECT_EQ(row.value, "N/A") << row.label;
  const auto ac3 = Descriptor<DescriptorAC3>(0x6A, {});
  ui_core::ShowAc3Descriptor(sink, ac3);
  for (int row = 2; row <= 9; ++row) EXPECT_EQ(sink.rows[static_cast<size_t>(row)].value, "N/A") << row;
  const auto telephone = Descriptor<DescriptorTelephone>(0x57, {0x23});
  ui_core::ShowTelephoneDescriptor(sink, telephone);
  EXPECT_EQ(sink.rows[2].value, "1");
  EXPECT_EQ(sink.rows[3].value, "3");
  for (int row = 4; row <= 8; ++row) EXPECT_EQ(sink.rows[static_cast<size_t>(row)].value, "N/A") << row;
  const auto smoothing = Descriptor<DescriptorSmoothingBuffer>(0x10, {0xC0, 0x01, 0x00});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowSmoothingBufferDescriptor(s, smoothing); }),
            "DESCRIPTOR_TAG=0010\nDESCRIPTOR_LENGTH=3\nSB_LEAK_RATE=256\nSB_SIZE=N/A\n");
  const auto hierarchy = Descriptor<DescriptorHierarchy>(0x04, {0xF3, 0xC1});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowHierarchyDescriptor(s, hierarchy); }),
            "DESCRIPTOR_TAG=0004\nDESCRIPTOR_LENGTH=2\nHIERARCHY_TYPE=3 - " +
                std::string(hierarchy.GetHierarchyTypeName()) +
                "\nHIERARCHY_LAYER_INDEX=1\nHIERARCHY_EMBEDDED_LAYER_INDEX=N/A\nHIERARCHY_CHANNEL=N/A\n");
}

// ---------------------------------------------------------------------------
// Entries of descriptor loops

TEST_F(ValueDisplay, EntriesOfDescriptorLoops) {
  const auto list = Descriptor<lib13818::DescriptorServiceList>(0x41, {0x6F, 0xEE, 0x19});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowServiceListEntry(s, list.services.at(0)); }),
            "SERVICE_ID=6fee\n"
            "SERVICE_TYPE=25 - " + std::string(lib13818::DescriptorService::ServiceTypeName(0x19)) + "\n");
  const auto teletext = Descriptor<lib13818::DescriptorTeletext>(0x56, {'d', 'e', 'u', 0x09, 0x50});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowTeletextEntry(s, teletext.pages.at(0)); }),
            "ISO_639_LANGUAGE_CODE=deu\n"
            "TELETEXT_TYPE=1 : " + std::string(teletext.pages[0].GetTeletextTypeName()) + "\n"
            "TELETEXT_MAGAZINE_NUMBER=1\n"
            "TELETEXT_PAGE_NUMBER=80\n");
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowVbiTeletextEntry(s, teletext.pages.at(0)); }),
            "ISO_639_language_code=deu\n"
            "TELETEXT_TYPE=1\n"
            "TELETEXT_MAGAZINE_NUMBER=1\n"
            "TELETEXT_PAGE_NUMBER=80\n");
  const auto content = Descriptor<lib13818::DescriptorContent>(0x54, {0x23, 0x45});
  const auto& genre = content.contents.at(0);
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowContentEntry(s, genre); }),
            "CONTENT_NIBBLE_LEVEL_1=2 - " + std::string(genre.ContentNibbleLevel1Name()) + "\n"
            "CONTENT_NIBBLE_LEVEL_2=3 - " + std::string(genre.ContentNibbleName()) + "\n"
            "USER_NIBBLE1=4\n"
            "USER_NIBBLE2=5\n");
  const auto iso = Descriptor<lib13818::DescriptorISO639Language>(0x0A, {'f', 'r', 'a', 0x03});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowIso639LanguageEntry(s, iso.languages.at(0)); }),
            "ISO 639 LANGUAGE CODE=fra\nAUDIO TYPE=3\n");
  const auto nvod = Descriptor<lib13818::DescriptorNVODReference>(0x4B, {0x04, 0x41, 0x00, 0x01, 0x6F, 0xEE});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowNvodReferenceEntry(s, nvod.services.at(0)); }),
            "TRANSPORT_STREAM_ID=0441\nORIGINAL_NETWORK_ID=0001\nSERVICE_ID=6FEE\n");
  const auto rating = Descriptor<lib13818::DescriptorParentalRating>(0x55, {'D', 'E', 'U', 0x09});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowParentalRatingEntry(s, rating.ratings.at(0)); }),
            "COUNTRY_CODE=DEU\nRATING=9\n");
  const auto subs = Descriptor<lib13818::DescriptorSubtitling>(
      0x59, {'d', 'a', 'n', 0x10, 0x00, 0x02, 0x00, 0x03});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowSubtitlingEntry(s, subs.subtitles.at(0)); }),
            "ISO_639_LANGUAGE_CODE=dan\n"
            "SUBTITLING_TYPE=16\n"
            "COMPOSITION_PAGE_ID=2\n"
            "ANCILLARY_PAGE_ID=3\n");
  const auto names = Descriptor<lib13818::DescriptorMultilingualNetworkName>(
      0x5B, {'d', 'a', 'n', 0x03, 'D', 'R', '1'});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowMultilingualNameEntry(s, names.names.at(0)); }),
            "ISO_639_LANGUAGE_CODE=dan\nNAME_LENGTH=3\nNAME=DR1\n");
  const auto serviceNames = Descriptor<lib13818::DescriptorMultilingualServiceName>(
      0x5D, {'d', 'a', 'n', 0x02, 'D', 'R', 0x03, 'D', 'R', '2'});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowMultilingualServiceNameEntry(s, serviceNames.names.at(0)); }),
            "ISO_639_LANGUAGE_CODE=dan\n"
            "SERVICE_PROVIDER_NAME_LENGTH=2\n"
            "SERVICE_PROVIDER_NAME=DR\n"
            "SERVICE_NAME_LENGTH=3\n"
            "SERVICE_NAME=DR2\n");
  const auto vbi = Descriptor<lib13818::DescriptorVBIData>(0x45, {0x01, 0x02, 0xE7, 0xE8});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowDataServiceEntry(s, vbi.services.at(0)); }),
            "DATA_SERVICE_ID=01\nDATA_SERVICE_DESCRIPTOR_LENGTH=2\nRESERVED=E7 E8 [bytes 2]\n");
  lib13818::SubcellFrequencyInfo transposer;
  transposer.cell_id_extension = 7;
  transposer.transposer_frequency = 0x9C400000u;
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowSubcellFrequencyEntry(s, transposer); }),
            "CELL_ID_EXTENSION=7\nTRANSPOSER_FREQUENCY=2621440000\n");
  const auto app = Descriptor<lib13818::DescriptorApplicationSignalling>(0x6F, {0x00, 0x10, 0xE3});
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowApplicationSignallingEntry(s, app.applications.at(0)); }),
            "APPLICATION_TYPE=16 - " + std::string(app.applications[0].GetApplicationTypeName()) + "\n"
            "AIT_VERSION_NUMBER=3\n");
}

TEST_F(ValueDisplay, AnnouncementEntriesWithAndWithoutAService) {
  const auto support = Descriptor<lib13818::DescriptorAnnouncementSupport>(
      0x6E, {0x00, 0x03, 0x11, 0x00, 0x01, 0x04, 0x41, 0x6F, 0xEE, 0x05, 0x20});
  ASSERT_EQ(support.announcements.size(), 2u);
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowAnnouncementSupportDescriptor(s, support); }),
            "DESCRIPTOR_TAG=006e\nDESCRIPTOR_LENGTH=11\nANNOUNCEMENT_SUPPORT_IDENTICATOR=03\n");
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowAnnouncementEntry(s, support.announcements[0]); }),
            "ANNOUNCEMENT_TYPE=1\n"
            "REFERENCE_TYPE=01\n"
            "ORIGINAL_NETWORK_ID=0001\n"
            "TRANSPORT_STREAM_ID=0441\n"
            "SERVICE_ID=6FEE\n"
            "COMPONENT_TAG=05\n");
  EXPECT_EQ(Show([&](TextSink& s) { ui_core::ShowAnnouncementEntry(s, support.announcements[1]); }),
            "ANNOUNCEMENT_TYPE=2\n"
            "REFERENCE_TYPE=00\n"
            "ORIGINAL_NETWORK_ID=N/A\n"
            "TRANSPORT_STREAM_ID=N/A\n"
            "SERVICE_ID=N/A\n"
            "COMPONENT_TAG=N/A\n");
}

}  // namespace
