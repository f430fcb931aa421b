// The value pane's display routines over whatever the parsers accept: the
// first byte chooses a table (or a bare descriptor loop), the rest is parsed,
// and every element of the result (section, loop entries, descriptors and
// their entries) is shown through the text sink.
#include "fuzz_common.h"
#include "lib13818/id_names.h"
#include "lib13818/nit_bat.h"
#include "lib13818/psi.h"
#include "lib13818/sdt_eit.h"
#include "lib13818/time_tables.h"
#include "ui_core/value_display.h"

using namespace lib13818;
using ui_core::TextSink;

namespace {

#define ORB_SHOW(routine, type) \
  void Show(TextSink& s, const type& e) { ui_core::routine(s, e); }
ORB_SHOW(ShowCaDescriptor, DescriptorCA)
ORB_SHOW(ShowVideoStreamDescriptor, DescriptorVideoStream)
ORB_SHOW(ShowAudioStreamDescriptor, DescriptorAudioStream)
ORB_SHOW(ShowHierarchyDescriptor, DescriptorHierarchy)
ORB_SHOW(ShowRegistrationDescriptor, DescriptorRegistration)
ORB_SHOW(ShowDataStreamAlignmentDescriptor, DescriptorDataStreamAlignment)
ORB_SHOW(ShowTargetBackgroundGridDescriptor, DescriptorTargetBackgroundGrid)
ORB_SHOW(ShowVideoWindowDescriptor, DescriptorVideoWindow)
ORB_SHOW(ShowSystemClockDescriptor, DescriptorSystemClock)
ORB_SHOW(ShowMultiplexBufferUtilizationDescriptor, DescriptorMultiplexBufferUtilization)
ORB_SHOW(ShowCopyrightDescriptor, DescriptorCopyright)
ORB_SHOW(ShowMaximumBitrateDescriptor, DescriptorMaximumBitrate)
ORB_SHOW(ShowPrivateDataIndicatorDescriptor, DescriptorPrivateDataIndicator)
ORB_SHOW(ShowSmoothingBufferDescriptor, DescriptorSmoothingBuffer)
ORB_SHOW(ShowStdDescriptor, DescriptorSTD)
ORB_SHOW(ShowIbpDescriptor, DescriptorIBP)
ORB_SHOW(ShowNetworkNameDescriptor, DescriptorNetworkName)
ORB_SHOW(ShowStuffingDescriptor, DescriptorStuffing)
ORB_SHOW(ShowSatelliteDeliverySystemDescriptor, DescriptorSatelliteDeliverySystem)
ORB_SHOW(ShowCableDeliverySystemDescriptor, DescriptorCableDeliverySystem)
ORB_SHOW(ShowTerrestrialDeliverySystemDescriptor, DescriptorTerrestrialDeliverySystem)
ORB_SHOW(ShowBouquetNameDescriptor, DescriptorBouquetName)
ORB_SHOW(ShowServiceDescriptor, DescriptorService)
ORB_SHOW(ShowCountryAvailabilityDescriptor, DescriptorCountryAvailability)
ORB_SHOW(ShowLinkageDescriptor, DescriptorLinkage)
ORB_SHOW(ShowTimeShiftedServiceDescriptor, DescriptorTimeShiftedService)
ORB_SHOW(ShowShortEventDescriptor, DescriptorShortEvent)
ORB_SHOW(ShowExtendedEventDescriptor, DescriptorExtendedEvent)
ORB_SHOW(ShowTimeShiftedEventDescriptor, DescriptorTimeShiftedEvent)
ORB_SHOW(ShowComponentDescriptor, DescriptorComponent)
ORB_SHOW(ShowStreamIdentifierDescriptor, DescriptorStreamIdentifier)
ORB_SHOW(ShowTelephoneDescriptor, DescriptorTelephone)
ORB_SHOW(ShowMultilingualComponentDescriptor, DescriptorMultilingualComponentName)
ORB_SHOW(ShowPrivateDataSpecifierDescriptor, DescriptorPrivateDataSpecifier)
ORB_SHOW(ShowServiceMoveDescriptor, DescriptorServiceMove)
ORB_SHOW(ShowShortSmoothingBufferDescriptor, DescriptorShortSmoothingBuffer)
ORB_SHOW(ShowFrequencyListDescriptor, DescriptorFrequencyList)
ORB_SHOW(ShowDataBroadcastDescriptor, DescriptorDataBroadcast)
ORB_SHOW(ShowDataBroadcastIdDescriptor, DescriptorDataBroadcastId)
ORB_SHOW(ShowPdcDescriptor, DescriptorPDC)
ORB_SHOW(ShowAc3Descriptor, DescriptorAC3)
ORB_SHOW(ShowAncillaryDataDescriptor, DescriptorAncillaryData)
ORB_SHOW(ShowAdaptationFieldDataDescriptor, DescriptorAdaptationField)
ORB_SHOW(ShowServiceAvailabilityDescriptor, DescriptorServiceAvailability)
ORB_SHOW(ShowDescriptorEntry61220, DescriptorLocalTimeOffset)
ORB_SHOW(ShowDescriptorEntry61231, DescriptorCAIdentifier)
ORB_SHOW(ShowDescriptorEntry61272, DescriptorPartialTransport)
ORB_SHOW(ShowBytesDescriptorEntry61275, DescriptorTransportStream)
ORB_SHOW(ShowBytesDescriptorEntry61276, DescriptorDSNG)
ORB_SHOW(ShowDescriptorEntry61285, DescriptorServiceIdentifier)
#undef ORB_SHOW

void Show(TextSink& s, const DescriptorUnknown& e) { ui_core::ShowUnknownDescriptor(s, e); }

// Descriptors with a loop: the descriptor, then each entry.
template <class D, class Entries, class F>
void ShowWithEntries(TextSink& s, const D& d, void (*show)(ui_core::RowSink&, const D&), const Entries& entries,
                     F&& entry) {
  show(s, d);
  for (const auto& e : entries) entry(s, e);
}

void Show(TextSink& s, const DescriptorServiceList& d) {
  ShowWithEntries(s, d, ui_core::ShowServiceListDescriptor, d.services,
                  [](TextSink& t, const auto& e) { ui_core::ShowServiceListEntry(t, e); });
}
void Show(TextSink& s, const DescriptorTeletext& d) {
  ShowWithEntries(s, d, ui_core::ShowTeletextDescriptor, d.pages,
                  [](TextSink& t, const auto& e) { ui_core::ShowTeletextEntry(t, e); });
}
void Show(TextSink& s, const DescriptorVBITeletext& d) {
  ShowWithEntries(s, d, ui_core::ShowVbiTeletextDescriptor, d.pages,
                  [](TextSink& t, const auto& e) { ui_core::ShowVbiTeletextEntry(t, e); });
}
void Show(TextSink& s, const DescriptorContent& d) {
  ShowWithEntries(s, d, ui_core::ShowContentDescriptor, d.contents,
                  [](TextSink& t, const auto& e) { ui_core::ShowContentEntry(t, e); });
}
void Show(TextSink& s, const DescriptorNVODReference& d) {
  ShowWithEntries(s, d, ui_core::ShowNvodReferenceDescriptor, d.services,
                  [](TextSink& t, const auto& e) { ui_core::ShowNvodReferenceEntry(t, e); });
}
void Show(TextSink& s, const DescriptorMosiac& d) {
  ShowWithEntries(s, d, ui_core::ShowMosaicDescriptor, d.cells,
                  [](TextSink& t, const auto& e) { ui_core::ShowMosaicCell(t, e); });
}
void Show(TextSink& s, const DescriptorParentalRating& d) {
  ShowWithEntries(s, d, ui_core::ShowParentalRatingDescriptor, d.ratings,
                  [](TextSink& t, const auto& e) { ui_core::ShowParentalRatingEntry(t, e); });
}
void Show(TextSink& s, const DescriptorSubtitling& d) {
  ShowWithEntries(s, d, ui_core::ShowSubtitlingDescriptor, d.subtitles,
                  [](TextSink& t, const auto& e) { ui_core::ShowSubtitlingEntry(t, e); });
}
void Show(TextSink& s, const DescriptorMultilingualNetworkName& d) {
  ShowWithEntries(s, d, ui_core::ShowMultilingualNetworkNameDescriptor, d.names,
                  [](TextSink& t, const auto& e) { ui_core::ShowMultilingualNameEntry(t, e); });
}
void Show(TextSink& s, const DescriptorMultilingualBouquetName& d) {
  ShowWithEntries(s, d, ui_core::ShowMultilingualBouquetNameDescriptor, d.names,
                  [](TextSink& t, const auto& e) { ui_core::ShowMultilingualNameEntry(t, e); });
}
void Show(TextSink& s, const DescriptorMultilingualServiceName& d) {
  ShowWithEntries(s, d, ui_core::ShowMultilingualServiceNameDescriptor, d.names,
                  [](TextSink& t, const auto& e) { ui_core::ShowMultilingualServiceNameEntry(t, e); });
}
void Show(TextSink& s, const DescriptorVBIData& d) {
  ShowWithEntries(s, d, ui_core::ShowVbiDataDescriptor, d.services,
                  [](TextSink& t, const auto& e) { ui_core::ShowDataServiceEntry(t, e); });
}
void Show(TextSink& s, const DescriptorCellList& d) {
  ShowWithEntries(s, d, ui_core::ShowCellListDescriptor, d.cells, [](TextSink& t, const auto& e) {
    ui_core::ShowCellListEntry(t, e);
    for (const auto& sub : e.subcells) ui_core::ShowSubcellListEntry(t, sub);
  });
}
void Show(TextSink& s, const DescriptorCellFrequencyLink& d) {
  ShowWithEntries(s, d, ui_core::ShowCellFrequencyLinkDescriptor, d.cells, [](TextSink& t, const auto& e) {
    ui_core::ShowCellFrequencyLinkEntry(t, e);
    for (const auto& sub : e.subcells) ui_core::ShowSubcellFrequencyEntry(t, sub);
  });
}
void Show(TextSink& s, const DescriptorAnnouncementSupport& d) {
  ShowWithEntries(s, d, ui_core::ShowAnnouncementSupportDescriptor, d.announcements,
                  [](TextSink& t, const auto& e) { ui_core::ShowAnnouncementEntry(t, e); });
}
void Show(TextSink& s, const DescriptorApplicationSignalling& d) {
  ShowWithEntries(s, d, ui_core::ShowApplicationSignallingDescriptor, d.applications,
                  [](TextSink& t, const auto& e) { ui_core::ShowApplicationSignallingEntry(t, e); });
}
void Show(TextSink& s, const DescriptorISO639Language& d) {
  ShowWithEntries(s, d, ui_core::ShowIso639LanguageDescriptor, d.languages,
                  [](TextSink& t, const auto& e) { ui_core::ShowIso639LanguageEntry(t, e); });
}

void Check(const TextSink& s) {
  if (s.strayWrites != 0) __builtin_trap();
  (void)s.Text();
}

void ShowSet(TextSink& s, const DescriptorSet& set) {
  set.ForEachList([&](int, const auto& list) {
    for (const auto& d : list) {
      Show(s, d);
      Check(s);
    }
  });
}

// Checks the rows and drops them while the element they point into is alive.
struct Done {
  TextSink& s;
  ~Done() {
    Check(s);
    s.Clear();
  }
};

template <class S>
bool Parse(S& section, const std::vector<std::uint8_t>& bytes) {
  try {
    section.Parse(bytes.data(), bytes.size());
    return true;
  } catch (const error&) {
    return false;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  static const bool ready = (InitIdNameMaps(), true);
  (void)ready;
  if (size < 2) return 0;
  const int which = data[0] % 11;
  ++data;
  --size;
  TextSink s;
  const bool isLong = which != 3 && which != 4 && which != 5;
  const std::vector<std::uint8_t> bytes = fuzz::Prepare(data, size, isLong);
  switch (which) {
    case 0: {
      ProgramAssociationSection pat;
      Done done{s};
      if (!Parse(pat, bytes)) break;
      ui_core::ShowPat(s, pat);
      for (int i = 0; i < pat.GetProgramCount(); ++i) ui_core::ShowPatProgram(s, *pat.GetProgram(i));
      break;
    }
    case 1: {
      ConditionalAccessSection cat;
      Done done{s};
      if (!Parse(cat, bytes)) break;
      ui_core::ShowCat(s, cat);
      ShowSet(s, cat.descriptors);
      break;
    }
    case 2: {
      ProgramMapSection pmt;
      Done done{s};
      if (!Parse(pmt, bytes)) break;
      ui_core::ShowPmt(s, pmt);
      ShowSet(s, pmt.descriptors);
      for (const auto& st : pmt.streams) {
        ui_core::ShowPmtStream(s, st);
        ShowSet(s, st.descriptors);
      }
      break;
    }
    case 3: {
      TimeDateSection tdt;
      Done done{s};
      if (Parse(tdt, bytes)) ui_core::ShowTdt(s, tdt);
      break;
    }
    case 4: {
      TimeOffsetSection tot;
      Done done{s};
      if (!Parse(tot, bytes)) break;
      ui_core::ShowTot(s, tot);
      ShowSet(s, tot.descriptors);
      break;
    }
    case 5: {
      RunningStatusSection rst;
      Done done{s};
      if (!Parse(rst, bytes)) break;
      ui_core::ShowRst(s, rst);
      for (const auto& e : rst.entries) ui_core::ShowRstEntry(s, e);
      break;
    }
    case 6:
    case 7: {
      NetworkInformationSection nit;
      BouquetAssociationSection bat;
      Done done{s};
      NetworkBouquetSection* section = which == 6 ? static_cast<NetworkBouquetSection*>(&nit) : &bat;
      if (which == 6 ? !Parse(nit, bytes) : !Parse(bat, bytes)) break;
      if (which == 6) ui_core::ShowNit(s, nit); else ui_core::ShowBat(s, bat);
      ShowSet(s, section->descriptors);
      for (const auto& ca : section->caDescriptors) ui_core::ShowCaDescriptor(s, ca);
      for (const auto& ts : section->transportStreams) {
        ui_core::ShowNitTransportStream(s, ts);
        ShowSet(s, ts.descriptors);
      }
      break;
    }
    case 8: {
      ServiceDescriptionSection sdt;
      Done done{s};
      if (!Parse(sdt, bytes)) break;
      ui_core::ShowSdt(s, sdt);
      for (const auto& svc : sdt.services) {
        ui_core::ShowSdtService(s, svc);
        ShowSet(s, svc.descriptors);
      }
      break;
    }
    case 9: {
      EventInformationSection eit;
      Done done{s};
      if (!Parse(eit, bytes)) break;
      ui_core::ShowEit(s, eit);
      for (const auto& ev : eit.events) {
        ui_core::ShowEitEvent(s, ev);
        ShowSet(s, ev.descriptors);
      }
      break;
    }
    default: {
      DescriptorSet set;
      Done done{s};
      try {
        set.AddLoop(data, size);
      } catch (const error&) {
      }
      ShowSet(s, set);
      break;
    }
  }
  return 0;
}
