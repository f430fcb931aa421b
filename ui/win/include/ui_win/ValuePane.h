#pragma once
// CTransponderValuePaneWnd: the right pane of the main frame's splitter, a
// report list ("Name", "Data") of the decoded fields of the SI element that
// is selected in the tree.  The display routines are those of
// ui_core/value_display.h, written into the list; some rows carry a row item
// (a PID with its context menu, or a byte run of the element for the hex
// view of the Output bar).
#include <string>
#include <vector>

#include "ui_core/value_display.h"
#include "ui_win/TreeItem.h"
#include "ui_win/mfc.h"
#include "ui_win/value_pane_res.h"

class CLog;


// Row items: owned by the pane, deleted by ClearItems.
class CRowItem : public CTreeItem {};

// A PID row: offers the PID menu.
class CPidRowItem : public CRowItem {
 public:
  explicit CPidRowItem(unsigned pid) : m_pid(pid) {}
  BOOL HasContextMenu() override { return TRUE; }
  void LoadContextMenu(CMenu* menu) override;
  unsigned GetPid() const { return m_pid; }

 private:
  unsigned m_pid;
};

// A byte-run row: hands the bytes to the Output bar's VALUE tab when
// selected.  Points into the SI store (not a copy).
class CDataRowItem : public CRowItem {
 public:
  explicit CDataRowItem(const std::vector<unsigned char>* bytes) : m_bytes(bytes) {}
  void OnSelect() override;
  const std::vector<unsigned char>* GetBytes() const { return m_bytes; }

 private:
  const std::vector<unsigned char>* m_bytes;
};

class CTransponderValuePaneWnd : public CListView {
 protected:
  CTransponderValuePaneWnd();
  DECLARE_DYNCREATE(CTransponderValuePaneWnd)

 public:
  ~CTransponderValuePaneWnd() override;

  // The program's log for the pane's notes (none until set).
  static void SetLog(CLog* log);

  // Deletes every row and frees every row item; selects nothing first, so no
  // notification reaches a freed item.  Safe at any time (also before the
  // window exists or after it is gone).  The columns stay.
  void ClearItems();

  // Appends the labels of string-table entry `stringId` (split at ",",
  // empty labels dropped, each kept whole).  Missing or empty: nothing.
  void LoadRowLabels(UINT stringId, std::vector<std::string>& labels);

  // The first 100 bytes as "%02X" separated by blanks.
  void FormatHexPreview(const std::vector<unsigned char>& bytes, CString& out);

  // Display routines: each clears the list and writes the element's rows.
  // The element must stay where it is until the list is cleared.
  void ShowCat(const lib13818::ConditionalAccessSection& e);
  void ShowPat(const lib13818::ProgramAssociationSection& e);
  void ShowPatProgram(const lib13818::ProgramAssociationInfo& e);
  void ShowPmt(const lib13818::ProgramMapSection& e);
  void ShowPmtStream(const lib13818::StreamInfo& e);
  void ShowBat(const lib13818::BouquetAssociationSection& e);
  void ShowNit(const lib13818::NetworkInformationSection& e);
  void ShowNitTransportStream(const lib13818::TransportStreamInfo& e);
  void ShowSdt(const lib13818::ServiceDescriptionSection& e);
  void ShowSdtService(const lib13818::ServiceDescriptionInfo& e);
  void ShowEit(const lib13818::EventInformationSection& e);
  void ShowEitEvent(const lib13818::EventDescriptionInfo& e);
  void ShowRst(const lib13818::RunningStatusSection& e);
  void ShowRstEntry(const lib13818::RunningStatusInfo& e);
  void ShowTdt(const lib13818::TimeDateSection& e);
  void ShowTot(const lib13818::TimeOffsetSection& e);
  void ShowCaDescriptor(const lib13818::DescriptorCA& e);
  void ShowUnknownDescriptor(const lib13818::DescriptorUnknown& e);
  void ShowIso639LanguageDescriptor(const lib13818::DescriptorISO639Language& e);
  void ShowVideoStreamDescriptor(const lib13818::DescriptorVideoStream& e);
  void ShowAudioStreamDescriptor(const lib13818::DescriptorAudioStream& e);
  void ShowHierarchyDescriptor(const lib13818::DescriptorHierarchy& e);
  void ShowRegistrationDescriptor(const lib13818::DescriptorRegistration& e);
  void ShowDataStreamAlignmentDescriptor(const lib13818::DescriptorDataStreamAlignment& e);
  void ShowTargetBackgroundGridDescriptor(const lib13818::DescriptorTargetBackgroundGrid& e);
  void ShowVideoWindowDescriptor(const lib13818::DescriptorVideoWindow& e);
  void ShowSystemClockDescriptor(const lib13818::DescriptorSystemClock& e);
  void ShowMultiplexBufferUtilizationDescriptor(const lib13818::DescriptorMultiplexBufferUtilization& e);
  void ShowCopyrightDescriptor(const lib13818::DescriptorCopyright& e);
  void ShowMaximumBitrateDescriptor(const lib13818::DescriptorMaximumBitrate& e);
  void ShowPrivateDataIndicatorDescriptor(const lib13818::DescriptorPrivateDataIndicator& e);
  void ShowSmoothingBufferDescriptor(const lib13818::DescriptorSmoothingBuffer& e);
  void ShowStdDescriptor(const lib13818::DescriptorSTD& e);
  void ShowIbpDescriptor(const lib13818::DescriptorIBP& e);
  void ShowNetworkNameDescriptor(const lib13818::DescriptorNetworkName& e);
  void ShowServiceListDescriptor(const lib13818::DescriptorServiceList& e);
  void ShowStuffingDescriptor(const lib13818::DescriptorStuffing& e);
  void ShowSatelliteDeliverySystemDescriptor(const lib13818::DescriptorSatelliteDeliverySystem& e);
  void ShowCableDeliverySystemDescriptor(const lib13818::DescriptorCableDeliverySystem& e);
  void ShowTerrestrialDeliverySystemDescriptor(const lib13818::DescriptorTerrestrialDeliverySystem& e);
  void ShowBouquetNameDescriptor(const lib13818::DescriptorBouquetName& e);
  void ShowServiceDescriptor(const lib13818::DescriptorService& e);
  void ShowCountryAvailabilityDescriptor(const lib13818::DescriptorCountryAvailability& e);
  void ShowLinkageDescriptor(const lib13818::DescriptorLinkage& e);
  void ShowNvodReferenceDescriptor(const lib13818::DescriptorNVODReference& e);
  void ShowTimeShiftedServiceDescriptor(const lib13818::DescriptorTimeShiftedService& e);
  void ShowShortEventDescriptor(const lib13818::DescriptorShortEvent& e);
  void ShowExtendedEventDescriptor(const lib13818::DescriptorExtendedEvent& e);
  void ShowTimeShiftedEventDescriptor(const lib13818::DescriptorTimeShiftedEvent& e);
  void ShowComponentDescriptor(const lib13818::DescriptorComponent& e);
  void ShowMosaicDescriptor(const lib13818::DescriptorMosiac& e);
  void ShowStreamIdentifierDescriptor(const lib13818::DescriptorStreamIdentifier& e);
  void ShowContentDescriptor(const lib13818::DescriptorContent& e);
  void ShowParentalRatingDescriptor(const lib13818::DescriptorParentalRating& e);
  void ShowTeletextDescriptor(const lib13818::DescriptorTeletext& e);
  void ShowTelephoneDescriptor(const lib13818::DescriptorTelephone& e);
  void ShowSubtitlingDescriptor(const lib13818::DescriptorSubtitling& e);
  void ShowMultilingualNetworkNameDescriptor(const lib13818::DescriptorMultilingualNetworkName& e);
  void ShowMultilingualBouquetNameDescriptor(const lib13818::DescriptorMultilingualBouquetName& e);
  void ShowMultilingualServiceNameDescriptor(const lib13818::DescriptorMultilingualServiceName& e);
  void ShowMultilingualComponentDescriptor(const lib13818::DescriptorMultilingualComponentName& e);
  void ShowPrivateDataSpecifierDescriptor(const lib13818::DescriptorPrivateDataSpecifier& e);
  void ShowServiceMoveDescriptor(const lib13818::DescriptorServiceMove& e);
  void ShowShortSmoothingBufferDescriptor(const lib13818::DescriptorShortSmoothingBuffer& e);
  void ShowFrequencyListDescriptor(const lib13818::DescriptorFrequencyList& e);
  void ShowDataBroadcastDescriptor(const lib13818::DescriptorDataBroadcast& e);
  void ShowDataBroadcastIdDescriptor(const lib13818::DescriptorDataBroadcastId& e);
  void ShowPdcDescriptor(const lib13818::DescriptorPDC& e);
  void ShowAc3Descriptor(const lib13818::DescriptorAC3& e);
  void ShowAncillaryDataDescriptor(const lib13818::DescriptorAncillaryData& e);
  void ShowCellListDescriptor(const lib13818::DescriptorCellList& e);
  void ShowCellFrequencyLinkDescriptor(const lib13818::DescriptorCellFrequencyLink& e);
  void ShowAnnouncementSupportDescriptor(const lib13818::DescriptorAnnouncementSupport& e);
  void ShowApplicationSignallingDescriptor(const lib13818::DescriptorApplicationSignalling& e);
  void ShowAdaptationFieldDataDescriptor(const lib13818::DescriptorAdaptationField& e);
  void ShowServiceAvailabilityDescriptor(const lib13818::DescriptorServiceAvailability& e);
  void ShowVbiDataDescriptor(const lib13818::DescriptorVBIData& e);
  void ShowVbiTeletextDescriptor(const lib13818::DescriptorVBITeletext& e);
  void ShowDescriptorEntry61220(const lib13818::DescriptorLocalTimeOffset& e);
  void ShowDescriptorEntry61231(const lib13818::DescriptorCAIdentifier& e);
  void ShowDescriptorEntry61272(const lib13818::DescriptorPartialTransport& e);
  void ShowBytesDescriptorEntry61275(const lib13818::DescriptorTransportStream& e);
  void ShowBytesDescriptorEntry61276(const lib13818::DescriptorDSNG& e);
  void ShowDescriptorEntry61285(const lib13818::DescriptorServiceIdentifier& e);
  void ShowIso639LanguageEntry(const lib13818::ISO639LanguageInfo& e);
  void ShowServiceListEntry(const lib13818::ServiceListInfo& e);
  void ShowTeletextEntry(const lib13818::TeletextInfo& e);
  void ShowContentEntry(const lib13818::ContentInfo& e);
  void ShowNvodReferenceEntry(const lib13818::DescriptorNVODReference::service& e);
  void ShowMosaicCell(const lib13818::DescriptorMosiac::CellInfo& e);
  void ShowParentalRatingEntry(const lib13818::DescriptorParentalRating::RatingInfo& e);
  void ShowSubtitlingEntry(const lib13818::SubtitlingInfo& e);
  void ShowMultilingualNameEntry(const lib13818::MultilingualNameInfo& e);
  void ShowMultilingualServiceNameEntry(const lib13818::DescriptorMultilingualServiceName::MultilingualServiceNameInfo& e);
  void ShowDataServiceEntry(const lib13818::VBIDataInfo& e);
  void ShowVbiTeletextEntry(const lib13818::TeletextInfo& e);
  void ShowCellListEntry(const lib13818::CellListInfo& e);
  void ShowSubcellListEntry(const lib13818::SubcellInfo& e);
  void ShowCellFrequencyLinkEntry(const lib13818::CellFrequencyLinkInfo& e);
  void ShowSubcellFrequencyEntry(const lib13818::SubcellFrequencyInfo& e);
  void ShowAnnouncementEntry(const lib13818::AnnouncementInfo& e);
  void ShowApplicationSignallingEntry(const lib13818::ApplicationSignallingInfo& e);

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnRClick(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

 private:
  class ListSink;
  // Widens the Name column to the labels shown (never narrows it).
  void FitNameColumn();
  bool m_clearing = false;
};
