#include "orb_scan/scanner.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <utility>

#include "lib13818/error.h"
#include "orb_store/tuning.h"

namespace orb::scan {

using lib13818::NetworkMap;
using lib13818::NitSectionMap;
using lib13818::SdtSectionMap;
using lib13818::Transponder;
using lib13818::u8;

namespace {

std::string VFormat(const char* format, va_list args) {
  char text[2048];
  std::vsnprintf(text, sizeof text, format, args);
  return text;
}

// Parses one section buffer of at most `limit` bytes into `out`.  A buffer
// whose section_length claims more than the buffer holds is refused before
// anything past its header is read.  False (with the error's code) when the
// section is refused.
template <class S>
bool ParseSection(const u8* buffer, std::size_t limit, S& out, int& code) {
  code = 0;
  try {
    if (!buffer || limit < 3) throw lib13818::error(3, "no section");
    const std::size_t size = 3 + (static_cast<std::size_t>(buffer[1] & 0x0F) << 8 | buffer[2]);
    if (size > limit) throw lib13818::error(3, "section longer than its buffer");
    out.Parse(buffer, size);
    return true;
  } catch (const lib13818::error& e) {
    code = e.code;
    return false;
  }
}

template <class Descriptor>
const lib13818::DescriptorList<Descriptor>& DeliveryList(const lib13818::TransportStreamInfo& entry) {
  return entry.descriptors.Get<Descriptor>();
}

template <class Descriptor>
bool FindInNit(const NitSectionMap& nit, const Descriptor*& out, u32 tsid) {
  out = nullptr;
  if (nit.empty() || nit.begin()->second.empty()) return false;
  for (const auto& network : nit)
    for (const auto& section : network.second)
      for (const lib13818::TransportStreamInfo& entry : section.second.transportStreams) {
        if (entry.transport_stream_id != tsid) continue;
        const auto& list = DeliveryList<Descriptor>(entry);
        if (list.empty()) return false;
        out = &list.front();
        return true;
      }
  return false;
}

}  // namespace

std::string OfText(long i, long n) {
  char text[64];
  std::snprintf(text, sizeof text, "%ld of %ld", i, n);
  return text;
}

// The answers of one section request: zeroed before the call, each released
// exactly once (by Release or at the end of the scope).
class Scanner::Answers {
 public:
  Answers(Scanner& scanner, std::vector<TableRequest> requests)
      : scanner_(scanner), requests_(std::move(requests)), results_(requests_.size()) {
    std::memset(results_.data(), 0, results_.size() * sizeof(SectionResult));
    for (const TableRequest& r : requests_)
      specs_.push_back(MakeFilterSpec(r.pid, r.tableId, r.mode));
  }
  // A request of PMTs: one entry per programme.
  Answers(Scanner& scanner, std::vector<SectionFilterSpec> specs)
      : scanner_(scanner), specs_(std::move(specs)), results_(specs_.size()) {
    std::memset(results_.data(), 0, results_.size() * sizeof(SectionResult));
  }
  ~Answers() {
    for (SectionResult& r : results_) scanner_.FreeSectionResult(r);
  }
  Answers(const Answers&) = delete;
  Answers& operator=(const Answers&) = delete;

  HResult Request() {
    // Never a null array, also for an empty request.
    SectionFilterSpec none{};
    SectionResult noResult{};
    return scanner_.sections_.GetSections(static_cast<long>(specs_.size()),
                                          specs_.empty() ? &none : specs_.data(),
                                          kSectionTimeoutSeconds,
                                          results_.empty() ? &noResult : results_.data());
  }

  std::size_t Size() const { return results_.size(); }
  // Index of the request for `tableId`, or -1 when it was not requested.
  int Find(std::uint8_t tableId) const {
    for (std::size_t i = 0; i < requests_.size(); ++i)
      if (requests_[i].tableId == tableId) return static_cast<int>(i);
    return -1;
  }
  // Sections handed over for request i (0 without an array).
  std::uint32_t Count(std::size_t i) const {
    return results_[i].sections ? results_[i].count : 0;
  }
  const u8* Section(std::size_t i, std::uint32_t k) const { return results_[i].sections[k]; }
  std::size_t Limit(std::size_t i) const { return SectionBufferSize(specs_[i].mode); }
  void Release(std::size_t i) { scanner_.FreeSectionResult(results_[i]); }

 private:
  Scanner& scanner_;
  std::vector<TableRequest> requests_;
  std::vector<SectionFilterSpec> specs_;
  std::vector<SectionResult> results_;
};

void Scanner::Out(const char* format, ...) {
  va_list args;
  va_start(args, format);
  host_.Output(VFormat(format, args));
  va_end(args);
}

void Scanner::LogLine(int level, const char* format, ...) {
  va_list args;
  va_start(args, format);
  host_.Log(level, VFormat(format, args));
  va_end(args);
}

void Scanner::FreeSectionResult(SectionResult& result) {
  if (result.sections) {
    for (std::uint32_t i = 0; i < result.count; ++i)
      if (result.sections[i]) sections_.Free(result.sections[i]);
    sections_.Free(result.sections);
  }
  result.sections = nullptr;
  result.count = 0;
}

bool Scanner::FindCurrentTSInNIT(const NitSectionMap& nit,
                                 const lib13818::DescriptorSatelliteDeliverySystem*& out, u32 tsid) {
  return FindInNit(nit, out, tsid);
}
bool Scanner::FindCurrentTSInNIT(const NitSectionMap& nit,
                                 const lib13818::DescriptorCableDeliverySystem*& out, u32 tsid) {
  return FindInNit(nit, out, tsid);
}
bool Scanner::FindCurrentTSInNIT(const NitSectionMap& nit,
                                 const lib13818::DescriptorTerrestrialDeliverySystem*& out, u32 tsid) {
  return FindInNit(nit, out, tsid);
}

void Scanner::ReadTransportStreamSI(NetworkMap& store) {
  // A scan cancelled while the tuner was being set asks the driver nothing more.
  if (Cancelled()) return;
  const u32 selection = host_.TableSelection();
  Answers answers(*this, FirstRequestFor(selection));
  const HResult hr = answers.Request();
  if (Cancelled()) return;
  if (Failed(hr)) {
    Out("Failed to read SI: %#x", static_cast<unsigned>(hr));
    return;
  }
  Out("Got SI tables");

  Transponder record;
  int code = 0;

  // PAT: the stream's transport_stream_id.
  const std::uint32_t patCount = answers.Count(0);
  Out("Got %d PAT sections", static_cast<int>(patCount));
  if (patCount == 0) return;
  bool havePat = false;
  for (std::uint32_t k = 0; k < patCount; ++k) {
    lib13818::ProgramAssociationSection pat;
    if (!ParseSection(answers.Section(0, k), answers.Limit(0), pat, code)) {
      Out("Error parsing PAT section");
    } else if (!havePat) {
      record.pat = std::move(pat);
      havePat = true;
    }
  }
  if (!havePat) return;
  const u32 tsid = record.pat.table_id_extension;
  record.transport_stream_id = tsid;
  answers.Release(0);

  // NIT actual.
  const std::uint32_t nitCount = answers.Count(1);
  Out("Got %d NIT sections", static_cast<int>(nitCount));
  if (nitCount == 0) {
    Out("No NIT actual received - the transport stream is not stored");
    return;
  }
  NitSectionMap& nit = record.nitActual;
  for (std::uint32_t k = 0; k < nitCount; ++k) {
    lib13818::NetworkInformationSection section;
    if (ParseSection(answers.Section(1, k), answers.Limit(1), section, code))
      nit[section.table_id_extension][section.section_number] = std::move(section);
    else
      Out("Error parsing NIT section");
  }
  answers.Release(1);

  // SDT actual: the stream's network.
  const std::uint32_t sdtCount = answers.Count(2);
  Out("Got %d SDT sections", static_cast<int>(sdtCount));
  if (sdtCount == 0) return;
  SdtSectionMap sdt;
  bool haveSdt = false;
  u32 networkKey = 0;
  for (std::uint32_t k = 0; k < sdtCount; ++k) {
    lib13818::ServiceDescriptionSection section;
    if (ParseSection(answers.Section(2, k), answers.Limit(2), section, code)) {
      networkKey = section.original_network_id;
      haveSdt = true;
      sdt[section.original_network_id][section.table_id_extension][section.section_number] =
          std::move(section);
    } else {
      Out("Error parsing SDT section");
    }
  }
  if (!haveSdt) return;
  answers.Release(2);
  record.sdtActual = std::move(sdt);

  // Where the stream is carried: its own NIT entry, else the tuner's channel.
  std::uint16_t deliveryType = 0;
  if (Failed(tuner_.GetDeliveryType(deliveryType))) return;
  const char* const notFound = "current TS not found in NIT - using tuner parameters";
  switch (deliveryType) {
    case DELIVERY_SATELLITE: {
      const lib13818::DescriptorSatelliteDeliverySystem* desc = nullptr;
      SATDELIVERYDESC tuning;
      std::memset(&tuning, 0, sizeof tuning);
      if (FindCurrentTSInNIT(nit, desc, tsid)) {
        app::SatelliteDescToTuning(*desc, tuning);
        record.SetSatelliteTuning("", &tuning);
      } else {
        LogLine(2, "%s", notFound);
        Out("%s", notFound);
        std::string name;
        if (!Failed(tuner_.GetSatChannel(name, tuning))) record.SetSatelliteTuning(name.c_str(), &tuning);
      }
      break;
    }
    case DELIVERY_CABLE: {
      const lib13818::DescriptorCableDeliverySystem* desc = nullptr;
      CABLEDELIVERYDESC tuning;
      std::memset(&tuning, 0, sizeof tuning);
      if (FindCurrentTSInNIT(nit, desc, tsid)) {
        app::CableDescToTuning(*desc, tuning);
        record.SetCableTuning(&tuning);
      } else {
        LogLine(2, "%s", notFound);
        Out("%s", notFound);
        if (!Failed(tuner_.GetCableChannel(tuning))) record.SetCableTuning(&tuning);
      }
      break;
    }
    case DELIVERY_TERRESTRIAL: {
      const lib13818::DescriptorTerrestrialDeliverySystem* desc = nullptr;
      TERRDELIVERYDESC tuning;
      std::memset(&tuning, 0, sizeof tuning);
      if (FindCurrentTSInNIT(nit, desc, tsid)) {
        app::TerrestrialDescToTuning(*desc, tuning);
        record.SetTerrestrialTuning(&tuning);
      } else {
        LogLine(2, "%s", notFound);
        Out("%s", notFound);
        if (!Failed(tuner_.GetTerrestrialChannel(tuning))) record.SetTerrestrialTuning(&tuning);
      }
      break;
    }
    default:
      break;
  }

  // A stream the store holds keeps its record.
  if (lib13818::IsFiled(store, networkKey, tsid)) return;

  // The first section of a table that keeps only one.
  auto firstOf = [&](std::uint8_t tableId, const char* name, auto& into) {
    const int i = answers.Find(tableId);
    if (i < 0) return;
    const std::size_t at = static_cast<std::size_t>(i);
    const std::uint32_t count = answers.Count(at);
    Out("Got %d %s sections", static_cast<int>(count), name);
    if (count > 0) {
      std::remove_reference_t<decltype(into)> section;
      if (ParseSection(answers.Section(at, 0), answers.Limit(at), section, code))
        into = std::move(section);
      else
        Out("Error parsing %s section", name);
    }
    answers.Release(at);
  };
  firstOf(0x01, "CAT", record.cat);
  firstOf(0x4A, "BAT", record.bat);
  firstOf(0x71, "RST", record.rst);
  firstOf(0x73, "TOT", record.tot);
  firstOf(0x70, "TDT", record.tdt);

  // NIT other, SDT other: every section.
  if (const int i = answers.Find(0x41); i >= 0) {
    const std::size_t at = static_cast<std::size_t>(i);
    Out("Got %d NIT 0x41 sections", static_cast<int>(answers.Count(at)));
    for (std::uint32_t k = 0; k < answers.Count(at); ++k) {
      lib13818::NetworkInformationSection section;
      if (ParseSection(answers.Section(at, k), answers.Limit(at), section, code))
        record.nitOther[section.table_id_extension][section.section_number] = std::move(section);
      else
        Out("Error parsing NIT 0x41 section");
    }
    answers.Release(at);
  }
  if (const int i = answers.Find(0x46); i >= 0) {
    const std::size_t at = static_cast<std::size_t>(i);
    Out("Got %d SDT 0x46 sections", static_cast<int>(answers.Count(at)));
    for (std::uint32_t k = 0; k < answers.Count(at); ++k) {
      lib13818::ServiceDescriptionSection section;
      if (ParseSection(answers.Section(at, k), answers.Limit(at), section, code))
        record.sdtOther[section.original_network_id][section.table_id_extension]
                       [section.section_number] = std::move(section);
      else
        Out("Error parsing SDT 0x46 section");
    }
    answers.Release(at);
  }

  // EIT: present/following and schedule, actual and other.
  struct EitTable {
    std::uint8_t tableId;
    lib13818::EitSectionMap* map;
  };
  const EitTable eits[] = {{0x4E, &record.eitPresentFollowingActual},
                           {0x4F, &record.eitPresentFollowingOther},
                           {0x50, &record.eitScheduleActual},
                           {0x60, &record.eitScheduleOther}};
  for (const EitTable& t : eits) {
    const int i = answers.Find(t.tableId);
    if (i < 0) continue;
    const std::size_t at = static_cast<std::size_t>(i);
    const std::uint32_t count = answers.Count(at);
    Out("Got %d EIT 0x%02x sections", static_cast<int>(count), t.tableId);
    if (t.tableId == 0x4E) LogLine(4, "Got %d EIT 0x4e sections", static_cast<int>(count));
    for (std::uint32_t k = 0; k < count; ++k) {
      const u8* buffer = answers.Section(at, k);
      if (t.tableId == 0x4E && buffer)
        LogLine(4, "%02X %02X %02X %02X", buffer[0], buffer[1], buffer[2], buffer[3]);
      lib13818::EventInformationSection section;
      if (ParseSection(buffer, answers.Limit(at), section, code)) {
        (*t.map)[section.original_network_id][section.transport_stream_id]
                [section.table_id_extension][section.section_number] = std::move(section);
      } else {
        Out("Error parsing EIT 0x%02x section: %d", t.tableId, code);
        LogLine(1, "Error parsing EIT 0x%02x section: %d", t.tableId, code);
      }
    }
    answers.Release(at);
  }

  // PMTs: one request per programme of the PAT (programme 0 is the network PID).
  if (IsSelected(selection, kTablePmt)) {
    std::vector<SectionFilterSpec> specs;
    std::vector<u32> programs;
    for (const lib13818::ProgramAssociationInfo& p : record.pat.programs) {
      if (p.program_number == 0) continue;
      if (specs.size() == kMaxRequests) break;
      specs.push_back(MakeFilterSpec(static_cast<std::uint16_t>(p.PID & 0x1FFF), 0x02, SFM_SINGLE, true,
                                     static_cast<std::uint16_t>(p.program_number)));
      programs.push_back(p.program_number);
    }
    if (Cancelled()) return;
    Answers pmts(*this, std::move(specs));
    const HResult pmtResult = pmts.Request();
    if (Cancelled()) return;
    if (!Failed(pmtResult)) {
      for (std::size_t i = 0; i < pmts.Size(); ++i) {
        const std::uint32_t count = pmts.Count(i);
        Out("Got %d PMT section(s) for SID %04X", static_cast<int>(count), programs[i]);
        if (count > 0) {
          lib13818::ProgramMapSection pmt;
          if (ParseSection(pmts.Section(i, 0), pmts.Limit(i), pmt, code))
            record.pmts.push_back(std::move(pmt));
          else
            Out("Error parsing PMT section");
        }
        pmts.Release(i);
      }
    }
  }

  lib13818::FileTransponder(store, networkKey, std::move(record));
}

void Scanner::ReadCurrentNIT(NetworkMap& store, const std::string& satelliteName) {
  if (Cancelled()) return;
  Out("Reading current NIT");
  LogLine(4, "Reading current NIT");
  Answers answers(*this, std::vector<TableRequest>{FirstRequestTable()[1]});
  const HResult hr = answers.Request();
  if (Cancelled()) return;
  if (Failed(hr) || answers.Count(0) == 0) {
    Out("Failed to read current NIT");
    LogLine(1, "Failed to read current NIT");
    LogLine(1, "exit");
    return;
  }
  Out("Read %d NIT sections", static_cast<int>(answers.Count(0)));
  LogLine(4, "Read %d NIT sections", static_cast<int>(answers.Count(0)));
  NitSectionMap nit;
  int code = 0;
  for (std::uint32_t k = 0; k < answers.Count(0); ++k) {
    lib13818::NetworkInformationSection section;
    if (ParseSection(answers.Section(0, k), answers.Limit(0), section, code)) {
      nit[section.table_id_extension][section.section_number] = std::move(section);
    } else {
      Out("Error parsing NIT section");
      LogLine(1, "Error parsing NIT section");
    }
  }
  answers.Release(0);
  if (nit.empty() || nit.begin()->second.empty()) {
    Out("Failed to read NIT");
    LogLine(1, "Failed to read NIT");
    return;
  }
  LogLine(4, "scan network");
  ScanNITEntries(store, nit, satelliteName);
  LogLine(4, "scanned network");
  LogLine(1, "exit");
}

void Scanner::ScanNITEntries(NetworkMap& store, const NitSectionMap& nit,
                             const std::string& satelliteName) {
  if (nit.empty() || nit.begin()->second.empty()) return;
  std::uint16_t type = 0;
  if (Failed(tuner_.GetDeliveryType(type))) return;

  // The channel to come back to.
  bool saved = false;
  std::string savedName;
  SATDELIVERYDESC savedSat;
  CABLEDELIVERYDESC savedCable;
  TERRDELIVERYDESC savedTerr;
  std::memset(&savedSat, 0, sizeof savedSat);
  std::memset(&savedCable, 0, sizeof savedCable);
  std::memset(&savedTerr, 0, sizeof savedTerr);
  switch (type) {
    case DELIVERY_TERRESTRIAL: saved = tuner_.GetTerrestrialChannel(savedTerr) == kOk; break;
    case DELIVERY_CABLE: saved = tuner_.GetCableChannel(savedCable) == kOk; break;
    case DELIVERY_SATELLITE: saved = tuner_.GetSatChannel(savedName, savedSat) == kOk; break;
    default: break;
  }

  const auto& sections = nit.begin()->second;
  const long sectionCount = static_cast<long>(sections.size());
  long k = 0;
  for (const auto& numbered : sections) {
    host_.SetProgress(kFieldNitSection, OfText(++k, sectionCount));
    const auto& entries = numbered.second.transportStreams;
    const long entryCount = static_cast<long>(entries.size());
    Out("%d entries in NIT section", static_cast<int>(entryCount));
    long i = 0;
    for (const lib13818::TransportStreamInfo& entry : entries) {
      host_.SetProgress(kFieldTransportStream, OfText(++i, entryCount));
      HResult hr = kFail;
      if (type == DELIVERY_SATELLITE) {
        const auto& list = entry.descriptors.Get<lib13818::DescriptorSatelliteDeliverySystem>();
        if (list.empty()) continue;
        if (Cancelled()) return;
        SATDELIVERYDESC record;
        app::SatelliteDescToTuning(list.front(), record);
        Out("Setting tuner: %lu", static_cast<unsigned long>(list.front().frequency_10kHz / 100));
        hr = tuner_.SetSatellite(satelliteName, record);
      } else if (type == DELIVERY_CABLE) {
        const auto& list = entry.descriptors.Get<lib13818::DescriptorCableDeliverySystem>();
        if (list.empty()) continue;
        if (Cancelled()) return;
        CABLEDELIVERYDESC record;
        app::CableDescToTuning(list.front(), record);
        Out("Setting tuner: %lu", static_cast<unsigned long>(list.front().frequency_100Hz / 10));
        hr = tuner_.TuneCable(record);
      } else if (type == DELIVERY_TERRESTRIAL) {
        const auto& list = entry.descriptors.Get<lib13818::DescriptorTerrestrialDeliverySystem>();
        if (list.empty()) continue;
        if (Cancelled()) return;
        TERRDELIVERYDESC record;
        app::TerrestrialDescToTuning(list.front(), record);
        hr = tuner_.TuneTerrestrial(record);
      } else {
        return;
      }
      if (!Failed(hr)) {
        ReadTransportStreamSI(store);
        if (Cancelled()) return;
      } else {
        Out("Failed to set tuner");
        if (type == DELIVERY_SATELLITE) LogLine(1, "Failed to set tuner");
      }
    }
  }

  LogLine(4, "restoring tuner");
  if (!saved) return;
  switch (type) {
    case DELIVERY_TERRESTRIAL: tuner_.TuneTerrestrial(savedTerr); break;
    case DELIVERY_CABLE: tuner_.TuneCable(savedCable); break;
    case DELIVERY_SATELLITE: tuner_.SetSatellite(savedName, savedSat); break;
    default: break;
  }
}

void Scanner::ScanTransponders(NetworkMap& store, const std::string& name,
                               const std::vector<ListedTransponder>& transponders, long count) {
  long j = 0;
  for (const ListedTransponder& t : transponders) {
    host_.SetProgress(kFieldNitEntry, OfText(++j, count));
    if (Cancelled()) return;
    SATDELIVERYDESC record;
    std::memset(&record, 0, sizeof record);
    record.frequency = t.frequency;
    record.polarization = static_cast<std::uint8_t>(t.polarization);
    record.symbol_rate = t.symbolRate;
    record.fec_inner = static_cast<std::uint8_t>(t.fec);
    if (Failed(tuner_.SetSatellite(name, record))) continue;
    ReadCurrentNIT(store, name);
    if (Cancelled()) return;
  }
}

void Scanner::ScanSingleSatellite(NetworkMap& store, const std::string* selectedSatellite) {
  if (!selectedSatellite) {
    host_.Message("You must select a satellite to scan");
    return;
  }
  const std::string& name = *selectedSatellite;
  if (!satellites_ || !satellites_->FindSatellite(name)) return;
  Out("Scanning %s", name.c_str());
  std::vector<ListedTransponder> transponders;
  long count = 0;
  if (satellites_->ListPrimaryTransponders(name, transponders, count) != SatelliteSource::Listing::kOk)
    return;
  if (transponders.empty()) {
    // The scan starts from the primary transponders only.
    Out("No primary transponder for %s - mark one in the satellite list manager", name.c_str());
    return;
  }
  ScanTransponders(store, name, transponders, count);
}

void Scanner::ScanAllSatellites(NetworkMap& store) {
  Out("Scanning all satellites");
  LogLine(4, "Scanning all satellites");
  std::vector<std::string> names;
  long satelliteCount = 0;
  if (!satellites_ || !satellites_->ListSelectedSatellites(names) ||
      !satellites_->GetSatelliteCount(satelliteCount))
    return;
  long i = 0;
  for (const std::string& name : names) {
    host_.SetProgress(kFieldSatellite, OfText(++i, satelliteCount));
    Out("Scanning %s", name.c_str());
    std::vector<ListedTransponder> transponders;
    long count = 0;
    const SatelliteSource::Listing listing =
        satellites_->ListPrimaryTransponders(name, transponders, count);
    if (listing == SatelliteSource::Listing::kEnumFailed) continue;
    if (listing == SatelliteSource::Listing::kCountFailed) return;
    if (transponders.empty()) {
      Out("No primary transponder for %s - mark one in the satellite list manager", name.c_str());
      continue;
    }
    ScanTransponders(store, name, transponders, count);
    if (Cancelled()) return;
  }
  Out("Scanned all satellites");
  LogLine(4, "Scanned all satellites");
}

void Scanner::RunScan(NetworkMap& store, std::uint32_t mode, const std::string* selectedSatellite) {
  host_.ClearOutput();
  switch (mode) {
    case SCAN_CURRENT_TRANSPONDER:
      Out("Scanning current transponder");
      ReadTransportStreamSI(store);
      break;
    case SCAN_CURRENT_NIT: {
      // A cable or terrestrial tuner has no satellite to name.
      std::uint16_t type = 0;
      const bool satelliteless = !Failed(tuner_.GetDeliveryType(type)) &&
                                 (type == DELIVERY_CABLE || type == DELIVERY_TERRESTRIAL);
      if (satelliteless) {
        ReadCurrentNIT(store, std::string());
      } else if (!selectedSatellite) {
        Out("No satellite selected");
        LogLine(2, "No satellite selected");
      } else {
        ReadCurrentNIT(store, *selectedSatellite);
      }
      break;
    }
    case SCAN_SINGLE_SATELLITE:
      ScanSingleSatellite(store, selectedSatellite);
      break;
    case SCAN_ALL_SATELLITES:
      ScanAllSatellites(store);
      break;
    default:
      break;
  }
}

}  // namespace orb::scan
