#pragma once
// The value pane's display routines, without a window: each routine writes
// the rows of one SI element (section, loop entry or descriptor) to a row
// sink.  The value pane is a sink over its list control; TextSink keeps the
// rows as text (tests, and any host without a list).
//
// Rows: one per label of the element type's label list (a string-table
// entry, see value_labels.def), the value in the second column, optionally
// a row item: a PID (context menu) or a byte run of the element (its bytes go
// to the hex view when the row is selected).  Values are UTF-8.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lib13818/descriptor_set.h"
#include "lib13818/nit_bat.h"
#include "lib13818/psi.h"
#include "lib13818/sdt_eit.h"
#include "lib13818/time_tables.h"

namespace ui_core {

// Where a display routine writes its rows.  Row indexes are fixed per field
// by the routine; a sink ignores values and items for rows it does not have.
class RowSink {
 public:
  virtual ~RowSink() = default;
  // Removes every row (and row item).
  virtual void Clear() = 0;
  // Appends one row per label of label list `labelsId`, with empty values and
  // no row items.  A missing or empty list adds nothing.
  virtual void AddLabelRows(unsigned labelsId) = 0;
  // Sets the value (UTF-8) of row `row`.
  virtual void SetValue(int row, std::string_view text) = 0;
  // Attaches a PID row item (a context menu for the PID) to row `row`.
  virtual void AttachPid(int row, std::uint32_t pid) = 0;
  // Attaches a byte-run row item to row `row`.  `bytes` lies in the SI store
  // and must outlive the rows; routines never attach an empty run.
  virtual void AttachData(int row, const std::vector<unsigned char>& bytes) = 0;
};

// The labels of label list `labelsId` as the resources hold them (nullptr
// when there is no such list).
const char* ValueLabelText(unsigned labelsId);

// Splits a label list at ","; empty labels (two commas in a row, a leading or
// trailing comma) are dropped.  Labels are kept whole, however long.
void SplitLabels(std::string_view text, std::vector<std::string>& labels);

// The hex preview of a byte run: the first min(size, 100) bytes as "%02X",
// separated by one blank, no blank after the last.
constexpr std::size_t kHexPreviewBytes = 100;
std::string FormatHexPreview(const std::vector<unsigned char>& bytes);

// A registered identifier name (Windows-1252 in the tables) as UTF-8; text
// that already is valid UTF-8 is kept as it is.
std::string NameToUtf8(const char* name);

// Rows as text.  Labels come from ValueLabelText.
class TextSink : public RowSink {
 public:
  struct Row {
    std::string label;
    std::string value;
    enum class Item { None, Pid, Data } item = Item::None;
    std::uint32_t pid = 0;
    const std::vector<unsigned char>* bytes = nullptr;
  };

  void Clear() override { rows.clear(); }
  void AddLabelRows(unsigned labelsId) override;
  void SetValue(int row, std::string_view text) override;
  void AttachPid(int row, std::uint32_t pid) override;
  void AttachData(int row, const std::vector<unsigned char>& bytes) override;

  // "LABEL=value" lines, one per row; an item adds " [pid 0x....]" or
  // " [bytes N]".
  std::string Text() const;

  std::vector<Row> rows;
  // Values and items written to rows that are not there.
  int strayWrites = 0;
};

// One routine per element type.
void ShowCat(RowSink& sink, const lib13818::ConditionalAccessSection& e);
void ShowPat(RowSink& sink, const lib13818::ProgramAssociationSection& e);
void ShowPatProgram(RowSink& sink, const lib13818::ProgramAssociationInfo& e);
void ShowPmt(RowSink& sink, const lib13818::ProgramMapSection& e);
void ShowPmtStream(RowSink& sink, const lib13818::StreamInfo& e);
void ShowBat(RowSink& sink, const lib13818::BouquetAssociationSection& e);
void ShowNit(RowSink& sink, const lib13818::NetworkInformationSection& e);
void ShowNitTransportStream(RowSink& sink, const lib13818::TransportStreamInfo& e);
void ShowSdt(RowSink& sink, const lib13818::ServiceDescriptionSection& e);
void ShowSdtService(RowSink& sink, const lib13818::ServiceDescriptionInfo& e);
void ShowEit(RowSink& sink, const lib13818::EventInformationSection& e);
void ShowEitEvent(RowSink& sink, const lib13818::EventDescriptionInfo& e);
void ShowRst(RowSink& sink, const lib13818::RunningStatusSection& e);
void ShowRstEntry(RowSink& sink, const lib13818::RunningStatusInfo& e);
void ShowTdt(RowSink& sink, const lib13818::TimeDateSection& e);
void ShowTot(RowSink& sink, const lib13818::TimeOffsetSection& e);
void ShowCaDescriptor(RowSink& sink, const lib13818::DescriptorCA& e);
void ShowUnknownDescriptor(RowSink& sink, const lib13818::DescriptorUnknown& e);
void ShowIso639LanguageDescriptor(RowSink& sink, const lib13818::DescriptorISO639Language& e);
void ShowVideoStreamDescriptor(RowSink& sink, const lib13818::DescriptorVideoStream& e);
void ShowAudioStreamDescriptor(RowSink& sink, const lib13818::DescriptorAudioStream& e);
void ShowHierarchyDescriptor(RowSink& sink, const lib13818::DescriptorHierarchy& e);
void ShowRegistrationDescriptor(RowSink& sink, const lib13818::DescriptorRegistration& e);
void ShowDataStreamAlignmentDescriptor(RowSink& sink, const lib13818::DescriptorDataStreamAlignment& e);
void ShowTargetBackgroundGridDescriptor(RowSink& sink, const lib13818::DescriptorTargetBackgroundGrid& e);
void ShowVideoWindowDescriptor(RowSink& sink, const lib13818::DescriptorVideoWindow& e);
void ShowSystemClockDescriptor(RowSink& sink, const lib13818::DescriptorSystemClock& e);
void ShowMultiplexBufferUtilizationDescriptor(RowSink& sink, const lib13818::DescriptorMultiplexBufferUtilization& e);
void ShowCopyrightDescriptor(RowSink& sink, const lib13818::DescriptorCopyright& e);
void ShowMaximumBitrateDescriptor(RowSink& sink, const lib13818::DescriptorMaximumBitrate& e);
void ShowPrivateDataIndicatorDescriptor(RowSink& sink, const lib13818::DescriptorPrivateDataIndicator& e);
void ShowSmoothingBufferDescriptor(RowSink& sink, const lib13818::DescriptorSmoothingBuffer& e);
void ShowStdDescriptor(RowSink& sink, const lib13818::DescriptorSTD& e);
void ShowIbpDescriptor(RowSink& sink, const lib13818::DescriptorIBP& e);
void ShowNetworkNameDescriptor(RowSink& sink, const lib13818::DescriptorNetworkName& e);
void ShowServiceListDescriptor(RowSink& sink, const lib13818::DescriptorServiceList& e);
void ShowStuffingDescriptor(RowSink& sink, const lib13818::DescriptorStuffing& e);
void ShowSatelliteDeliverySystemDescriptor(RowSink& sink, const lib13818::DescriptorSatelliteDeliverySystem& e);
void ShowCableDeliverySystemDescriptor(RowSink& sink, const lib13818::DescriptorCableDeliverySystem& e);
void ShowTerrestrialDeliverySystemDescriptor(RowSink& sink, const lib13818::DescriptorTerrestrialDeliverySystem& e);
void ShowBouquetNameDescriptor(RowSink& sink, const lib13818::DescriptorBouquetName& e);
void ShowServiceDescriptor(RowSink& sink, const lib13818::DescriptorService& e);
void ShowCountryAvailabilityDescriptor(RowSink& sink, const lib13818::DescriptorCountryAvailability& e);
void ShowLinkageDescriptor(RowSink& sink, const lib13818::DescriptorLinkage& e);
void ShowNvodReferenceDescriptor(RowSink& sink, const lib13818::DescriptorNVODReference& e);
void ShowTimeShiftedServiceDescriptor(RowSink& sink, const lib13818::DescriptorTimeShiftedService& e);
void ShowShortEventDescriptor(RowSink& sink, const lib13818::DescriptorShortEvent& e);
void ShowExtendedEventDescriptor(RowSink& sink, const lib13818::DescriptorExtendedEvent& e);
void ShowTimeShiftedEventDescriptor(RowSink& sink, const lib13818::DescriptorTimeShiftedEvent& e);
void ShowComponentDescriptor(RowSink& sink, const lib13818::DescriptorComponent& e);
void ShowMosaicDescriptor(RowSink& sink, const lib13818::DescriptorMosiac& e);
void ShowStreamIdentifierDescriptor(RowSink& sink, const lib13818::DescriptorStreamIdentifier& e);
void ShowContentDescriptor(RowSink& sink, const lib13818::DescriptorContent& e);
void ShowParentalRatingDescriptor(RowSink& sink, const lib13818::DescriptorParentalRating& e);
void ShowTeletextDescriptor(RowSink& sink, const lib13818::DescriptorTeletext& e);
void ShowTelephoneDescriptor(RowSink& sink, const lib13818::DescriptorTelephone& e);
void ShowSubtitlingDescriptor(RowSink& sink, const lib13818::DescriptorSubtitling& e);
void ShowMultilingualNetworkNameDescriptor(RowSink& sink, const lib13818::DescriptorMultilingualNetworkName& e);
void ShowMultilingualBouquetNameDescriptor(RowSink& sink, const lib13818::DescriptorMultilingualBouquetName& e);
void ShowMultilingualServiceNameDescriptor(RowSink& sink, const lib13818::DescriptorMultilingualServiceName& e);
void ShowMultilingualComponentDescriptor(RowSink& sink, const lib13818::DescriptorMultilingualComponentName& e);
void ShowPrivateDataSpecifierDescriptor(RowSink& sink, const lib13818::DescriptorPrivateDataSpecifier& e);
void ShowServiceMoveDescriptor(RowSink& sink, const lib13818::DescriptorServiceMove& e);
void ShowShortSmoothingBufferDescriptor(RowSink& sink, const lib13818::DescriptorShortSmoothingBuffer& e);
void ShowFrequencyListDescriptor(RowSink& sink, const lib13818::DescriptorFrequencyList& e);
void ShowDataBroadcastDescriptor(RowSink& sink, const lib13818::DescriptorDataBroadcast& e);
void ShowDataBroadcastIdDescriptor(RowSink& sink, const lib13818::DescriptorDataBroadcastId& e);
void ShowPdcDescriptor(RowSink& sink, const lib13818::DescriptorPDC& e);
void ShowAc3Descriptor(RowSink& sink, const lib13818::DescriptorAC3& e);
void ShowAncillaryDataDescriptor(RowSink& sink, const lib13818::DescriptorAncillaryData& e);
void ShowCellListDescriptor(RowSink& sink, const lib13818::DescriptorCellList& e);
void ShowCellFrequencyLinkDescriptor(RowSink& sink, const lib13818::DescriptorCellFrequencyLink& e);
void ShowAnnouncementSupportDescriptor(RowSink& sink, const lib13818::DescriptorAnnouncementSupport& e);
void ShowApplicationSignallingDescriptor(RowSink& sink, const lib13818::DescriptorApplicationSignalling& e);
void ShowAdaptationFieldDataDescriptor(RowSink& sink, const lib13818::DescriptorAdaptationField& e);
void ShowServiceAvailabilityDescriptor(RowSink& sink, const lib13818::DescriptorServiceAvailability& e);
void ShowVbiDataDescriptor(RowSink& sink, const lib13818::DescriptorVBIData& e);
void ShowVbiTeletextDescriptor(RowSink& sink, const lib13818::DescriptorVBITeletext& e);
void ShowDescriptorEntry61220(RowSink& sink, const lib13818::DescriptorLocalTimeOffset& e);
void ShowDescriptorEntry61231(RowSink& sink, const lib13818::DescriptorCAIdentifier& e);
void ShowDescriptorEntry61272(RowSink& sink, const lib13818::DescriptorPartialTransport& e);
void ShowBytesDescriptorEntry61275(RowSink& sink, const lib13818::DescriptorTransportStream& e);
void ShowBytesDescriptorEntry61276(RowSink& sink, const lib13818::DescriptorDSNG& e);
void ShowDescriptorEntry61285(RowSink& sink, const lib13818::DescriptorServiceIdentifier& e);
void ShowIso639LanguageEntry(RowSink& sink, const lib13818::ISO639LanguageInfo& e);
void ShowServiceListEntry(RowSink& sink, const lib13818::ServiceListInfo& e);
void ShowTeletextEntry(RowSink& sink, const lib13818::TeletextInfo& e);
void ShowContentEntry(RowSink& sink, const lib13818::ContentInfo& e);
void ShowNvodReferenceEntry(RowSink& sink, const lib13818::DescriptorNVODReference::service& e);
void ShowMosaicCell(RowSink& sink, const lib13818::DescriptorMosiac::CellInfo& e);
void ShowParentalRatingEntry(RowSink& sink, const lib13818::DescriptorParentalRating::RatingInfo& e);
void ShowSubtitlingEntry(RowSink& sink, const lib13818::SubtitlingInfo& e);
void ShowMultilingualNameEntry(RowSink& sink, const lib13818::MultilingualNameInfo& e);
void ShowMultilingualServiceNameEntry(RowSink& sink, const lib13818::DescriptorMultilingualServiceName::MultilingualServiceNameInfo& e);
void ShowDataServiceEntry(RowSink& sink, const lib13818::VBIDataInfo& e);
void ShowVbiTeletextEntry(RowSink& sink, const lib13818::TeletextInfo& e);
void ShowCellListEntry(RowSink& sink, const lib13818::CellListInfo& e);
void ShowSubcellListEntry(RowSink& sink, const lib13818::SubcellInfo& e);
void ShowCellFrequencyLinkEntry(RowSink& sink, const lib13818::CellFrequencyLinkInfo& e);
void ShowSubcellFrequencyEntry(RowSink& sink, const lib13818::SubcellFrequencyInfo& e);
void ShowAnnouncementEntry(RowSink& sink, const lib13818::AnnouncementInfo& e);
void ShowApplicationSignallingEntry(RowSink& sink, const lib13818::ApplicationSignallingInfo& e);

}  // namespace ui_core
