#include "ui_core/si_tree.h"

#include <charconv>
#include <cstdio>
#include <span>

#include "lib13818/id_names.h"

namespace orb::ui {

using namespace lib13818;

namespace {

// The list rule: nothing for an empty list, one node with the singular label
// for one element, else a list node with the plural label and one child per
// element labelled with its index.  `entries(node, element)` adds what an
// element carries below its own node, before the next element is inserted.
template <ElementKind K, class Entries>
void InsertElementList(TreeSink& sink, TreeNode parent, std::span<const ElementType<K>> list,
                       std::string_view singular, std::string_view plural, Entries&& entries,
                       const TreeItem& listItem = TreeItem::None()) {
  if (list.empty()) return;
  if (list.size() == 1) {
    TreeNode node = sink.Append(parent, singular, TreeItem::Element<K>(list.front()));
    entries(node, list.front());
    return;
  }
  TreeNode group = sink.Append(parent, plural, listItem);
  char index[24];
  for (std::size_t i = 0; i < list.size(); ++i) {
    const auto end = std::to_chars(index, index + sizeof index, i).ptr;
    TreeNode node = sink.Append(group, std::string_view(index, static_cast<std::size_t>(end - index)),
                                TreeItem::Element<K>(list[i]));
    entries(node, list[i]);
  }
}

template <ElementKind K>
void InsertElementList(TreeSink& sink, TreeNode parent, std::span<const ElementType<K>> list,
                       std::string_view singular, std::string_view plural) {
  InsertElementList<K>(sink, parent, list, singular, plural, [](TreeNode, const ElementType<K>&) {});
}

// A descriptor list whose descriptors carry an entry list of their own.
template <ElementKind K, ElementKind E, class Member>
void AddDescriptorList(TreeSink& sink, TreeNode parent, std::span<const ElementType<K>> list,
                       std::string_view singular, std::string_view plural, Member member,
                       std::string_view entrySingular, std::string_view entryPlural) {
  InsertElementList<K>(sink, parent, list, singular, plural, [&](TreeNode node, const ElementType<K>& d) {
    InsertElementList<E>(sink, node, d.*member, entrySingular, entryPlural);
  });
}

// Hexadecimal of at least four digits, as "%04X" / "%04x" writes it.
void AppendHex4(std::string& out, u32 value, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  char buf[8];
  int n = 0;
  do {
    buf[n++] = digits[value & 0xF];
    value >>= 4;
  } while (value != 0);
  for (int pad = n; pad < 4; ++pad) out.push_back('0');
  while (n > 0) out.push_back(buf[--n]);
}

std::string Hex4Label(std::string_view prefix, u32 value, bool upper = true) {
  std::string s(prefix);
  AppendHex4(s, value, upper);
  return s;
}

// Windows-1252 bytes (the identifier name tables) as UTF-8.
std::string Cp1252ToUtf8(const char* text) {
  // 0x80-0x9F of Windows-1252; 0 where the code page has no character.
  static const char16_t kHigh[32] = {
      0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
  };
  std::string out;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    char32_t c = *p;
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    if (c < 0xA0) c = kHigh[c - 0x80] ? kHigh[c - 0x80] : 0xFFFD;
    if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

}  // namespace

const char* ShowRoutineName(ElementKind kind) {
  static const char* const kNames[] = {
#define ORB_TREE_ELEMENT(kind, type, show) #show,
#include "ui_core/tree_elements.def"
#undef ORB_TREE_ELEMENT
  };
  const auto i = static_cast<std::size_t>(kind);
  return i < sizeof kNames / sizeof kNames[0] ? kNames[i] : "";
}

unsigned ContextMenuOf(const TreeItem& item) {
  switch (item.kind) {
    case TreeItem::Kind::Transponder:
      return 145;
    case TreeItem::Kind::Element:
      switch (item.element) {
        case ElementKind::Pmt: return 144;
        case ElementKind::SatelliteDeliverySystemDescriptor: return 148;
        case ElementKind::CableDeliverySystemDescriptor: return 139;
        case ElementKind::TerrestrialDeliverySystemDescriptor: return 140;
        default: return 0;
      }
    default:
      return 0;
  }
}

void GetServiceName(const SdtSectionMap& sdtActual, u32 service_id, u32 transport_stream_id,
                    u32 original_network_id, std::string& name) {
  name = "<service not in SDT>";
  const auto network = sdtActual.find(original_network_id);
  if (network == sdtActual.end()) return;
  const auto stream = network->second.find(transport_stream_id);
  if (stream == network->second.end()) return;
  for (const auto& [number, section] : stream->second) {
    for (const ServiceDescriptionInfo& service : section.services) {
      if (service.service_id != service_id || service.descriptors.serviceDescriptors.empty()) continue;
      name = service.descriptors.serviceDescriptors.front().service_name;
      return;
    }
  }
}

const char* StreamTypeText(int stream_type) {
  static const char* const kNames[] = {
      "RESERVED",
      "ISO11172 VIDEO",
      "ISO13818-2 VIDEO",
      "ISO11172 AUDIO",
      "ISO13818-3 AUDIO",
      "ISO13818-1 PRIVATE SECTIONS",
      "ISO13818-1 PRIVATE DATA PES",
      "ISO13522 MHEG",
      "ISO13818-1 Annex A DSM CC",
      "ITU-T H.222.1",
      "ISO13818-6 TYPE A",
      "ISO13818-6 TYPE B",
      "ISO13818-6 TYPE C",
      "ISO13818-6 TYPE D",
      "ISO13818-1 AUXILIARY",
  };
  if (stream_type >= 0 && stream_type < static_cast<int>(sizeof kNames / sizeof kNames[0]))
    return kNames[stream_type];
  if (stream_type >= 128) return "USER PRIVATE";
  return "RESERVED";
}

std::string NetworkNameUtf8(u32 network_id) {
  // Ids above the 16-bit range have no name (GetNetworkName takes an int).
  if (network_id > 0xFFFF) return "<unknown>";
  return Cp1252ToUtf8(GetNetworkName(static_cast<int>(network_id)));
}

// ---------------------------------------------------------------------------
// Networks and transport streams

TreeNode SiTreeBuilder::BuildAllNetworks(const NetworkMap& networks, bool withTables) {
  TreeNode root = Append(nullptr, "ALL NETWORKS", TreeItem::Pane());
  for (const auto& [id, network] : networks) {
    char line[32];
    std::snprintf(line, sizeof line, "NID=%#x", static_cast<unsigned>(id));
    sink_.Log(line);
    std::string label = Hex4Label("", id);
    label += " - ";
    label += NetworkNameUtf8(id);
    TreeNode node = Append(root, label, TreeItem::ForNetwork(network));
    SetTable(node, network, withTables);
  }
  sink_.Log("All networks processed");
  return root;
}

void SiTreeBuilder::SetTable(TreeNode parent, const Network& network, bool withTables) {
  char line[128];
  std::snprintf(line, sizeof line, "CTransponderTableListPaneWnd::SetTable(%p,Network&,%p)", parent,
                sink_.Context());
  sink_.Log(line);
  for (const auto& [tsid, ts] : network.transponders) {
    TreeNode node = Append(parent, ts.GetLabel(), TreeItem::ForTransponder(ts));
    if (withTables) AddTransponderTables(node, ts, network.network_id);
  }
}

void SiTreeBuilder::AddTransponderTables(TreeNode node, const Transponder& ts, u32 network_id) {
  AddCat(node, ts.cat);
  AddNit(node, ts.nitActual, ts.nitOther);
  AddSdt(node, ts.sdtActual, ts.sdtOther);
  AddBat(node, ts.bat);
  AddPat(node, ts.pat);
  AddRst(node, ts.rst);
  AddTdt(node, ts.tdt);
  AddTot(node, ts.tot);
  AddPmt(node, ts.pat, ts.pmts, ts.sdtActual, network_id);
  AddEit(node, ts.eitPresentFollowingActual, ts.eitPresentFollowingOther, ts.eitScheduleActual,
         ts.eitScheduleOther, ts.sdtActual);
}

bool SiTreeBuilder::HasTables(const Transponder& ts) {
  return (ts.cat.parsed && !ts.cat.descriptors.caDescriptors.empty()) || !ts.nitActual.empty() ||
         !ts.nitOther.empty() || !ts.sdtActual.empty() || !ts.sdtOther.empty() || ts.bat.parsed ||
         (ts.pat.parsed && ts.pat.GetProgramCount() > 0) || ts.rst.parsed || ts.tdt.parsed || ts.tot.parsed ||
         !ts.pmts.empty() || !ts.eitPresentFollowingActual.empty() || !ts.eitPresentFollowingOther.empty() ||
         !ts.eitScheduleActual.empty() || !ts.eitScheduleOther.empty();
}

// ---------------------------------------------------------------------------
// CAT and PAT

void SiTreeBuilder::AddCat(TreeNode parent, const ConditionalAccessSection& cat) {
  if (!cat.parsed || cat.descriptors.caDescriptors.empty()) return;
  TreeNode node = Append(parent, "CAT", TreeItem::Element<ElementKind::Cat>(cat));
  InsertElementList<ElementKind::CaDescriptor>(sink_, node, cat.descriptors.caDescriptors, "CA_DESCRIPTOR",
                                               "CA_DESCRIPTORS");
}

void SiTreeBuilder::AddPat(TreeNode parent, const ProgramAssociationSection& pat) {
  if (!pat.parsed || pat.GetProgramCount() == 0) return;
  TreeNode node = Append(parent, "PAT", TreeItem::Element<ElementKind::Pat>(pat));
  for (int i = 0; i < pat.GetProgramCount(); ++i) {
    const ProgramAssociationInfo& program = *pat.GetProgram(i);
    Append(node, Hex4Label("", program.program_number), TreeItem::Element<ElementKind::PatProgram>(program));
  }
}

// ---------------------------------------------------------------------------
// NIT

void SiTreeBuilder::AddNit(TreeNode parent, const NitSectionMap& actual, const NitSectionMap& other) {
  if (!actual.empty()) AddNitNetwork(Append(parent, "NIT - actual network", TreeItem::Pane()), actual);
  if (!other.empty()) AddNitNetwork(Append(parent, "NIT - other network", TreeItem::Pane()), other);
}

void SiTreeBuilder::AddNitNetwork(TreeNode tableNode, const NitSectionMap& nit) {
  for (const auto& [network_id, sections] : nit)
    AddNitSection(Append(tableNode, Hex4Label("NID ", network_id), TreeItem::Pane()), sections);
}

void SiTreeBuilder::AddNitSection(TreeNode networkNode, const std::map<u32, NetworkInformationSection>& sections) {
  for (const auto& [number, section] : sections) {
    if (!section.parsed) continue;
    TreeNode node = Append(networkNode, Hex4Label("SECTION ", number), TreeItem::Element<ElementKind::Nit>(section));
    AddDescriptorSet(node, section.descriptors);
    TreeNode loop = Append(node, "STREAM_INFO", TreeItem::Pane());
    for (const TransportStreamInfo& entry : section.transportStreams) {
      TreeNode entryNode = Append(loop, Hex4Label("", entry.transport_stream_id),
                                  TreeItem::Element<ElementKind::NitTransportStream>(entry));
      AddDescriptorSet(entryNode, entry.descriptors);
    }
  }
}

// ---------------------------------------------------------------------------
// SDT

void SiTreeBuilder::AddSdt(TreeNode parent, const SdtSectionMap& actual, const SdtSectionMap& other) {
  if (!actual.empty())
    AddSdtOriginalNetwork(Append(parent, "SDT - actual transport stream", TreeItem::Pane()), actual);
  if (!other.empty())
    AddSdtOriginalNetwork(Append(parent, "SDT - other transport stream", TreeItem::Pane()), other);
}

void SiTreeBuilder::AddSdtOriginalNetwork(TreeNode tableNode, const SdtSectionMap& sdt) {
  for (const auto& [onid, streams] : sdt)
    AddSdtTransportStream(Append(tableNode, Hex4Label("ORIGINAL NID ", onid), TreeItem::Pane()), streams);
}

void SiTreeBuilder::AddSdtTransportStream(TreeNode networkNode,
                                          const std::map<u32, std::map<u32, ServiceDescriptionSection>>& streams) {
  for (const auto& [tsid, sections] : streams)
    AddSdtSection(Append(networkNode, Hex4Label("TID ", tsid), TreeItem::Pane()), sections);
}

void SiTreeBuilder::AddSdtSection(TreeNode streamNode, const std::map<u32, ServiceDescriptionSection>& sections) {
  for (const auto& [number, section] : sections) {
    if (!section.parsed) continue;
    TreeNode node = Append(streamNode, Hex4Label("SECTION ", number), TreeItem::Element<ElementKind::Sdt>(section));
    for (const ServiceDescriptionInfo& service : section.services) {
      TreeNode serviceNode =
          Append(node, Hex4Label("", service.service_id, false), TreeItem::Element<ElementKind::SdtService>(service));
      AddDescriptorSet(serviceNode, service.descriptors);
    }
  }
}

// ---------------------------------------------------------------------------
// BAT, RST, TDT, TOT

void SiTreeBuilder::AddBat(TreeNode parent, const BouquetAssociationSection& bat) {
  if (bat.parsed) Append(parent, "BAT", TreeItem::Element<ElementKind::Bat>(bat));
}

void SiTreeBuilder::AddRst(TreeNode parent, const RunningStatusSection& rst) {
  if (!rst.parsed) return;
  TreeNode node = Append(parent, "RST", TreeItem::Element<ElementKind::Rst>(rst));
  InsertElementList<ElementKind::RstEntry>(
      sink_, node, rst.entries, "ITEM", "ITEMS", [](TreeNode, const RunningStatusInfo&) {}, TreeItem::Pane());
}

void SiTreeBuilder::AddTdt(TreeNode parent, const TimeDateSection& tdt) {
  if (tdt.parsed) Append(parent, "TDT", TreeItem::Element<ElementKind::Tdt>(tdt));
}

void SiTreeBuilder::AddTot(TreeNode parent, const TimeOffsetSection& tot) {
  if (!tot.parsed) return;
  AddDescriptorSet(Append(parent, "TOT", TreeItem::Element<ElementKind::Tot>(tot)), tot.descriptors);
}

// ---------------------------------------------------------------------------
// PMT

void SiTreeBuilder::AddPmt(TreeNode parent, const ProgramAssociationSection& pat,
                           const std::vector<ProgramMapSection>& pmts, const SdtSectionMap& sdtActual,
                           u32 network_id) {
  if (pmts.empty()) return;
  TreeNode root = Append(parent, "PMT", TreeItem::Pane());
  std::string name;
  for (const ProgramMapSection& pmt : pmts) {
    if (!pmt.parsed) continue;
    GetServiceName(sdtActual, pmt.table_id_extension, pat.table_id_extension, network_id, name);
    std::string label = Hex4Label("", pmt.table_id_extension);
    label += " - ";
    label += name;
    TreeNode program = Append(root, label, TreeItem::Element<ElementKind::Pmt>(pmt));
    AddDescriptorSet(program, pmt.descriptors);
    if (pmt.streams.empty()) continue;
    TreeNode streams = Append(program, "STREAM_INFO", TreeItem::Pane());
    for (const StreamInfo& stream : pmt.streams) {
      // stream_type is 8 bits wide; a larger held value counts as user private.
      const int type = stream.stream_type > 0xFF ? 0xFF : static_cast<int>(stream.stream_type);
      TreeNode node = Append(streams, StreamTypeText(type), TreeItem::Element<ElementKind::PmtStream>(stream));
      AddDescriptorSet(node, stream.descriptors);
    }
  }
}

// ---------------------------------------------------------------------------
// EIT

void SiTreeBuilder::AddEit(TreeNode parent, const EitSectionMap& pfActual, const EitSectionMap& pfOther,
                           const EitSectionMap& schedActual, const EitSectionMap& schedOther,
                           const SdtSectionMap& sdtActual) {
  if (pfActual.empty() && pfOther.empty() && schedActual.empty() && schedOther.empty()) return;
  TreeNode eit = Append(parent, "EIT", TreeItem::None());
  AddEitNetwork(Append(eit, "actual_transport_stream, present/following", TreeItem::Pane()), pfActual, sdtActual);
  AddEitNetwork(Append(eit, "other_transport_stream, present/following", TreeItem::Pane()), pfOther, sdtActual);
  AddEitNetwork(Append(eit, "actual_transport_stream, schedule", TreeItem::Pane()), schedActual, sdtActual);
  AddEitNetwork(Append(eit, "other_transport_stream, schedule", TreeItem::Pane()), schedOther, sdtActual);
}

void SiTreeBuilder::AddEitNetwork(TreeNode subTableNode, const EitSectionMap& eit, const SdtSectionMap& sdtActual) {
  for (const auto& [onid, streams] : eit) {
    std::string label = Hex4Label("NID ", onid);
    label += " - ";
    label += NetworkNameUtf8(onid);
    AddEitTransportStream(Append(subTableNode, label, TreeItem::Pane()), streams, sdtActual, onid);
  }
}

void SiTreeBuilder::AddEitTransportStream(TreeNode networkNode, const EitSectionMap::mapped_type& streams,
                                          const SdtSectionMap& sdtActual, u32 original_network_id) {
  for (const auto& [tsid, services] : streams)
    AddEitService(Append(networkNode, Hex4Label("TID ", tsid), TreeItem::Pane()), services, sdtActual, tsid,
                  original_network_id);
}

void SiTreeBuilder::AddEitService(TreeNode streamNode, const EitSectionMap::mapped_type::mapped_type& services,
                                  const SdtSectionMap& sdtActual, u32 transport_stream_id,
                                  u32 original_network_id) {
  std::string name;
  for (const auto& [sid, sections] : services) {
    GetServiceName(sdtActual, sid, transport_stream_id, original_network_id, name);
    std::string label = Hex4Label("SID ", sid);
    label += " - ";
    label += name;
    AddEitEvents(Append(streamNode, label, TreeItem::Pane()), sections);
  }
}

void SiTreeBuilder::AddEitEvents(TreeNode serviceNode, const std::map<u32, EventInformationSection>& sections) {
  for (const auto& [number, section] : sections)
    AddEventDescriptors(Append(serviceNode, Hex4Label("", number), TreeItem::Element<ElementKind::Eit>(section)),
                        section);
}

void SiTreeBuilder::AddEventDescriptors(TreeNode sectionNode, const EventInformationSection& section) {
  if (!section.parsed) return;
  for (const EventDescriptionInfo& event : section.events) {
    TreeNode node =
        Append(sectionNode, Hex4Label("EID ", event.event_id, false), TreeItem::Element<ElementKind::EitEvent>(event));
    AddDescriptorSet(node, event.descriptors);
  }
}

// ---------------------------------------------------------------------------
// Descriptor loops

void SiTreeBuilder::AddDescriptorSet(TreeNode parent, const DescriptorSet& set) {
  TreeSink& s = sink_;
  TreeNode p = parent;
#define ORB_LIST(kind, member, singular, plural) \
  InsertElementList<ElementKind::kind>(s, p, set.member, singular, plural)
#define ORB_LIST_WITH_ENTRIES(kind, member, singular, plural, entryKind, entries, entrySingular, entryPlural) \
  AddDescriptorList<ElementKind::kind, ElementKind::entryKind>(s, p, set.member, singular, plural,           \
                                                               &ElementType<ElementKind::kind>::entries,     \
                                                               entrySingular, entryPlural)

  ORB_LIST(VideoStreamDescriptor, videoStreamDescriptors, "VIDEOSTREAM_DESCRIPTOR", "VIDEOSTREAM_DESCRIPTORS");
  ORB_LIST(AudioStreamDescriptor, audioStreamDescriptors, "AUDIO_STREAM_DESCRIPTOR", "AUDIO_STREAM_DESCRIPTORS");
  ORB_LIST(HierarchyDescriptor, hierarchyDescriptors, "HIERARCHY_DESCRIPTOR", "HIERARCHY_DESCRIPTORS");
  ORB_LIST(RegistrationDescriptor, registrationDescriptors, "REGISTRATION_DESCRIPTOR", "REGISTRATION_DESCRIPTORS");
  ORB_LIST(DataStreamAlignmentDescriptor, dataStreamAlignmentDescriptors, "DATA_STREAM_ALIGNMENT_DESCRIPTOR",
           "DATA_STREAM_ALIGNMENT_DESCRIPTORS");
  ORB_LIST(TargetBackgroundGridDescriptor, targetBackgroundGridDescriptors, "TARGET_BACKGROUND_GRID_DESCRIPTOR",
           "TARGET_BACKGROUND_GRID_DESCRIPTORS");
  ORB_LIST(VideoWindowDescriptor, videoWindowDescriptors, "VIDEO_WINDOW_DESCRIPTOR", "VIDEO_WINDOW_DESCRIPTORS");
  ORB_LIST(CaDescriptor, caDescriptors, "CA_DESCRIPTOR", "CA_DESCRIPTORS");
  ORB_LIST_WITH_ENTRIES(Iso639LanguageDescriptor, iso639LanguageDescriptors, "ISO639LANGUAGE_DESCRIPTOR",
                        "ISO639LANGUAGE_DESCRIPTORS", Iso639LanguageEntry, languages, "ISO639LANGUAGESUB_DESCRIPTOR",
                        "ISO639LANGUAGESUB_DESCRIPTORS");
  ORB_LIST(SystemClockDescriptor, systemClockDescriptors, "SYSTEM_CLOCK_DESCRIPTOR", "SYSTEM_CLOCK_DESCRIPTORS");
  ORB_LIST(MultiplexBufferUtilizationDescriptor, multiplexBufferUtilizationDescriptors,
           "MULTIPLEX_BUFFER_UTILIZATION_DESCRIPTOR", "MULTIPLEX_BUFFER_UTILIZATION_DESCRIPTORS");
  ORB_LIST(CopyrightDescriptor, copyrightDescriptors, "COPYRIGHT_DESCRIPTOR", "COPYRIGHT_DESCRIPTORS");
  ORB_LIST(MaximumBitrateDescriptor, maximumBitrateDescriptors, "MAXIMUM_BITRATE_DESCRIPTOR",
           "MAXIMUM_BITRATE_DESCRIPTORS");
  ORB_LIST(PrivateDataIndicatorDescriptor, privateDataIndicatorDescriptors, "PRIVATE_DATA_INDICATOR_DESCRIPTOR",
           "PRIVATE_DATA_INDICATOR_DESCRIPTORS");
  ORB_LIST(SmoothingBufferDescriptor, smoothingBufferDescriptors, "SMOOTHING_BUFFER_DESCRIPTOR",
           "SMOOTHING_BUFFER_DESCRIPTORS");
  ORB_LIST(StdDescriptor, stdDescriptors, "STD_DESCRIPTOR", "STD_DESCRIPTORS");
  ORB_LIST(IbpDescriptor, ibpDescriptors, "IBP_DESCRIPTOR", "IBP_DESCRIPTORS");
  ORB_LIST_WITH_ENTRIES(TeletextDescriptor, teletextDescriptors, "TELETEXT_DESCRIPTOR", "TELETEXT_DESCRIPTORS",
                        TeletextEntry, pages, "TELETEXTSUB_DESCRIPTOR", "TELETEXTSUB_DESCRIPTORS");
  ORB_LIST(StreamIdentifierDescriptor, streamIdentifierDescriptors, "STREAM_IDENTIFIER_DESCRIPTOR",
           "STREAM_IDENTIFIER_DESCRIPTORS");
  ORB_LIST(NetworkNameDescriptor, networkNameDescriptors, "NETWORK_NAME_DESCRIPTOR", "NETWORK_NAME_DESCRIPTORS");
  ORB_LIST_WITH_ENTRIES(ServiceListDescriptor, serviceListDescriptors, "SERVICELIST_DESCRIPTOR",
                        "SERVICELIST_DESCRIPTORS", ServiceListEntry, services, "SERVICELISTSUB_DESCRIPTOR",
                        "SERVICELISTSUB_DESCRIPTORS");
  ORB_LIST(BouquetNameDescriptor, bouquetNameDescriptors, "BOUQUET_NAME_DESCRIPTOR", "BOUQUET_NAME_DESCRIPTORS");
  ORB_LIST(ServiceDescriptor, serviceDescriptors, "SERVICE_DESCRIPTOR", "SERVICE_DESCRIPTORS");
  ORB_LIST(StuffingDescriptor, stuffingDescriptors, "STUFFING_DESCRIPTOR", "STUFFING_DESCRIPTORS");
  ORB_LIST(SatelliteDeliverySystemDescriptor, satelliteDeliverySystemDescriptors,
           "SATELLITEDELIVERYSYSTEM_DESCRIPTOR", "SATELLITEDELIVERYSYSTEM_DESCRIPTORS");
  ORB_LIST(CableDeliverySystemDescriptor, cableDeliverySystemDescriptors, "CABLEDELIVERYSYSTEM_DESCRIPTOR",
           "CABLEDELIVERYSYSTEM_DESCRIPTORS");
  ORB_LIST(CountryAvailabilityDescriptor, countryAvailabilityDescriptors, "COUNTRY_AVAILABILITY_DESCRIPTOR",
           "COUNTRY_AVAILABILITY_DESCRIPTORS");
  ORB_LIST(LinkageDescriptor, linkageDescriptors, "LINKAGE_DESCRIPTOR", "LINKAGE_DESCRIPTORS");
  ORB_LIST_WITH_ENTRIES(NvodReferenceDescriptor, nvodReferenceDescriptors, "NVOD_REFERENCE_DESCRIPTOR",
                        "NVOD_REFERENCE_DESCRIPTORS", NvodReferenceEntry, services, "INFO", "INFOS");
  ORB_LIST(TimeShiftedServiceDescriptor, timeShiftedServiceDescriptors, "TIME_SHIFTED_SERVICE_DESCRIPTOR",
           "TIME_SHIFTED_SERVICE_DESCRIPTORS");
  ORB_LIST_WITH_ENTRIES(MosaicDescriptor, mosaicDescriptors, "MOSIAC_DESCRIPTOR", "MOSIAC_DESCRIPTORS", MosaicCell,
                        cells, "CELLINFO", "CELLINFOS");
  ORB_LIST_WITH_ENTRIES(ParentalRatingDescriptor, parentalRatingDescriptors, "PARENTAL_RATING_DESCRIPTOR",
                        "PARENTAL_RATING_DESCRIPTORS", ParentalRatingEntry, ratings, "RATINGINFO", "RATINGINFOS");
  ORB_LIST(TelephoneDescriptor, telephoneDescriptors, "TELEPHONE_DESCRIPTOR", "TELEPHONE_DESCRIPTORS");
  ORB_LIST_WITH_ENTRIES(SubtitlingDescriptor, subtitlingDescriptors, "SUBTITLING_DESCRIPTOR",
                        "SUBTITLING_DESCRIPTORS", SubtitlingEntry, subtitles, "SUBTITLINGINFO", "SUBTITLINGINFOS");
  ORB_LIST_WITH_ENTRIES(MultilingualNetworkNameDescriptor, multilingualNetworkNameDescriptors,
                        "MULTILINGUAL_NETWORK_NAME_DESCRIPTOR", "MULTILINGUAL_NETWORK_NAME_DESCRIPTORS",
                        MultilingualNameEntry, names, "NAMEINFO", "NAMEINFOS");
  ORB_LIST_WITH_ENTRIES(MultilingualBouquetNameDescriptor, multilingualBouquetNameDescriptors,
                        "MULTILINGUAL_BOUQUET_NAME_DESCRIPTOR", "MULTILINGUAL_BOUQUET_NAME_DESCRIPTORS",
                        MultilingualNameEntry, names, "NAMEINFO", "NAMEINFOS");
  ORB_LIST_WITH_ENTRIES(MultilingualServiceNameDescriptor, multilingualServiceNameDescriptors,
                        "MULTILINGUAL_SERVICE_NAME_DESCRIPTOR", "MULTILINGUAL_SERVICE_NAME_DESCRIPTORS",
                        MultilingualServiceNameEntry, names, "NAMEINFO", "NAMEINFOS");
  ORB_LIST_WITH_ENTRIES(MultilingualComponentDescriptor, multilingualComponentNameDescriptors,
                        "MULTILINGUAL_COMPONENT_DESCRIPTOR", "MULTILINGUAL_COMPONENT_DESCRIPTORS",
                        MultilingualNameEntry, names, "NAMEINFO", "NAMEINFOS");
  ORB_LIST(PrivateDataSpecifierDescriptor, privateDataSpecifierDescriptors, "PRIVATE_DATA_SPECIFIER_DESCRIPTOR",
           "PRIVATE_DATA_SPECIFIER_DESCRIPTORS");
  ORB_LIST(ServiceMoveDescriptor, serviceMoveDescriptors, "SERVICE_MOVE_DESCRIPTOR", "SERVICE_MOVE_DESCRIPTORS");
  ORB_LIST(ShortSmoothingBufferDescriptor, shortSmoothingBufferDescriptors, "SHORT_SMOOTHING_BUFFER_DESCRIPTOR",
           "SHORT_SMOOTHING_BUFFER_DESCRIPTORS");
  ORB_LIST_WITH_ENTRIES(VbiDataDescriptor, vbiDataDescriptors, "VBI_DATA_DESCRIPTOR", "VBI_DATA_DESCRIPTORS",
                        DataServiceEntry, services, "VBISERVICEDATA", "VBISERVICEDATAS");
  ORB_LIST_WITH_ENTRIES(VbiTeletextDescriptor, vbiTeletextDescriptors, "VBI_TELETEXT_DESCRIPTOR",
                        "VBI_TELETEXT_DESCRIPTORS", VbiTeletextEntry, pages, "VBITELETEXTDATA", "VBITELETEXTDATAS");
  ORB_LIST(FrequencyListDescriptor, frequencyListDescriptors, "FREQUENCY_LIST_DESCRIPTOR",
           "FREQUENCY_LIST_DESCRIPTORS");
  ORB_LIST(PartialTransportStreamDescriptor, partialTransportDescriptors, "PARTIAL_TRANSPORT_STREAM_DESCRIPTOR",
           "PARTIAL_TRANSPORT_STREAM_DESCRIPTORS");
  ORB_LIST(DataBroadcastDescriptor, dataBroadcastDescriptors, "DATA_BROADCAST_DESCRIPTOR",
           "DATA_BROADCAST_DESCRIPTORS");
  ORB_LIST(DataBroadcastIdDescriptor, dataBroadcastIdDescriptors, "DATA_BROADCAST_ID_DESCRIPTOR",
           "DATA_BROADCAST_ID_DESCRIPTORS");
  ORB_LIST(TransportStreamDescriptor, transportStreamDescriptors, "TRANSPORT_STREAM_DESCRIPTOR",
           "TRANSPORT_STREAM_DESCRIPTORS");
  ORB_LIST(DsngDescriptor, dsngDescriptors, "DSNG_DESCRIPTOR", "DSNG_DESCRIPTORS");
  ORB_LIST(PdcDescriptor, pdcDescriptors, "PDC_DESCRIPTOR", "PDC_DESCRIPTORS");
  ORB_LIST(Ac3Descriptor, ac3Descriptors, "AC3_DESCRIPTOR", "AC3_DESCRIPTORS");
  ORB_LIST(AncillaryDataDescriptor, ancillaryDataDescriptors, "ANCILLARY_DATA_DESCRIPTOR",
           "ANCILLARY_DATA_DESCRIPTORS");
  // Three levels: descriptor, cell, subcell.
  InsertElementList<ElementKind::CellListDescriptor>(
      s, p, set.cellListDescriptors, "CELL_LIST_DESCRIPTOR", "CELL_LIST_DESCRIPTORS",
      [&](TreeNode node, const DescriptorCellList& d) {
        InsertElementList<ElementKind::CellListEntry>(
            s, node, d.cells, "CELL_LIST_DATA", "CELL_LIST_DATAS", [&](TreeNode cellNode, const CellListInfo& cell) {
              InsertElementList<ElementKind::SubcellListEntry>(s, cellNode, cell.subcells, "SUB_CELL_INFO",
                                                               "SUB_CELL_INFOS");
            });
      });
  InsertElementList<ElementKind::CellFrequencyLinkDescriptor>(
      s, p, set.cellFrequencyLinkDescriptors, "CELL_FREQUENCY_LINK_DESCRIPTOR", "CELL_FREQUENCY_LINK_DESCRIPTORS",
      [&](TreeNode node, const DescriptorCellFrequencyLink& d) {
        InsertElementList<ElementKind::CellFrequencyLinkEntry>(
            s, node, d.cells, "FREQUENCY_LINK_DATA", "FREQUENCY_LINK_DATAS",
            [&](TreeNode cellNode, const CellFrequencyLinkInfo& cell) {
              InsertElementList<ElementKind::SubcellFrequencyEntry>(s, cellNode, cell.subcells, "SUB_CELL_INFO",
                                                                    "SUB_CELL_INFOS");
            });
      });
  ORB_LIST_WITH_ENTRIES(AnnouncementSupportDescriptor, announcementSupportDescriptors,
                        "ANNOUNCEMENT_SUPPORT_DESCRIPTOR", "ANNOUNCEMENT_SUPPORT_DESCRIPTORS", AnnouncementEntry,
                        announcements, "ANNOUNCEMENT_SUPPORT_DATA", "ANNOUNCEMENT_SUPPORT_DATAS");
  ORB_LIST_WITH_ENTRIES(ApplicationSignallingDescriptor, applicationSignallingDescriptors,
                        "APPLICATION_SIGNALLING_DESCRIPTOR", "APPLICATION_SIGNALLING_DESCRIPTORS",
                        ApplicationSignallingEntry, applications, "APPLICATION_INFO", "APPLICATION_INFOS");
  ORB_LIST(AdaptationFieldDataDescriptor, adaptationFieldDescriptors, "ADAPTATION_FIELD_DATA_DESCRIPTOR",
           "ADAPTATION_FIELD_DATA_DESCRIPTORS");
  ORB_LIST(ServiceIdentifierDescriptor, serviceIdentifierDescriptors, "SERVICE_IDENTIFIER_DESCRIPTOR",
           "SERVICE_IDENTIFIER_DESCRIPTORS");
  ORB_LIST(ServiceAvailabilityDescriptor, serviceAvailabilityDescriptors, "SERVICE_AVAILABILITY_DESCRIPTOR",
           "SERVICE_AVAILABILITY_DESCRIPTORS");
  ORB_LIST(CaIdentifierDescriptor, caIdentifierDescriptors, "CA_IDENTIFIER_DESCRIPTOR", "CA_IDENTIFIER_DESCRIPTORS");
  ORB_LIST(TerrestrialDeliverySystemDescriptor, terrestrialDeliverySystemDescriptors,
           "TERRESTRIALDELIVERYSYSTEM_DESCRIPTOR", "TERRESTRIALDELIVERYSYSTEM_DESCRIPTORS");
  ORB_LIST_WITH_ENTRIES(ContentDescriptor, contentDescriptors, "CONTENT_DESCRIPTOR", "CONTENT_DESCRIPTORS",
                        ContentEntry, contents, "CONTENT_DESCRIPTOR_ITEM", "CONTENT_DESCRIPTOR_ITEMS");
  ORB_LIST(ShortEventDescriptor, shortEventDescriptors, "SHORT_EVENT_DESCRIPTOR", "SHORT_EVENT_DESCRIPTORS");
  ORB_LIST(ExtendedEventDescriptor, extendedEventDescriptors, "EXTENDED_EVENT_DESCRIPTOR",
           "EXTENDED_EVENT_DESCRIPTORS");
  ORB_LIST(TimeShiftedEventDescriptor, timeShiftedEventDescriptors, "TIME_SHIFTED_EVENT_DESCRIPTOR",
           "TIME_SHIFTED_EVENT_DESCRIPTORS");
  ORB_LIST(ComponentDescriptor, componentDescriptors, "COMPONENT_DESCRIPTORS_DESCRIPTOR",
           "COMPONENT_DESCRIPTORS_DESCRIPTORS");
  ORB_LIST(LocalTimeOffsetDescriptor, localTimeOffsetDescriptors, "LOCAL_TIME_OFFSET_DESCRIPTOR",
           "LOCAL_TIME_OFFSET_DESCRIPTORS");
  ORB_LIST(UnknownDescriptor, userPrivateDescriptors, "USER_PRIVATE_DESCRIPTOR", "USER_PRIVATE_DESCRIPTORS");
  ORB_LIST(UnknownDescriptor, generalDescriptors, "GENERAL_DESCRIPTOR", "GENERAL_DESCRIPTORS");
#undef ORB_LIST
#undef ORB_LIST_WITH_ENTRIES
}

// ---------------------------------------------------------------------------
// Text sink

TreeNode TextTreeSink::Append(TreeNode parent, std::string_view label, const TreeItem& item) {
  nodes_.push_back(Node{std::string(label), item, {}});
  const std::size_t index = nodes_.size() - 1;
  if (parent == nullptr)
    roots_.push_back(index);
  else
    nodes_[reinterpret_cast<std::uintptr_t>(parent) - 1].children.push_back(index);
  return reinterpret_cast<TreeNode>(index + 1);
}

std::string DescribeItem(const TreeItem& item) {
  std::string s;
  switch (item.kind) {
    case TreeItem::Kind::None: return s;
    case TreeItem::Kind::Pane: s = "{pane"; break;
    case TreeItem::Kind::Network: s = "{network"; break;
    case TreeItem::Kind::Transponder: s = "{transponder"; break;
    case TreeItem::Kind::Element: s = std::string("{") + ShowRoutineName(item.element); break;
  }
  if (const unsigned menu = ContextMenuOf(item)) s += " menu " + std::to_string(menu);
  s += '}';
  return s;
}

void TextTreeSink::Write(std::string& out, std::size_t index, int depth) const {
  const Node& node = nodes_[index];
  out.append(static_cast<std::size_t>(depth) * 2, ' ');
  out += node.label;
  const std::string item = DescribeItem(node.item);
  if (!item.empty()) {
    out += "  ";
    out += item;
  }
  out += '\n';
  for (std::size_t child : node.children) Write(out, child, depth + 1);
}

std::string TextTreeSink::Text() const {
  std::string out;
  for (std::size_t root : roots_) Write(out, root, 0);
  return out;
}

const TextTreeSink::Node* TextTreeSink::Find(const std::vector<std::string>& path) const {
  const std::vector<std::size_t>* level = &roots_;
  const Node* found = nullptr;
  for (const std::string& label : path) {
    found = nullptr;
    for (std::size_t i : *level)
      if (nodes_[i].label == label) {
        found = &nodes_[i];
        break;
      }
    if (!found) return nullptr;
    level = &found->children;
  }
  return found;
}

}  // namespace orb::ui
