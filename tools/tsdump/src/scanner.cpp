#include "tsdump/scanner.h"

#include <cstring>
#include <iomanip>
#include <memory>
#include <sstream>
#include <type_traits>

#include "lib13818/ait.h"
#include "lib13818/nit_bat.h"
#include "lib13818/psi.h"
#include "lib13818/sdt_eit.h"
#include "lib13818/time_tables.h"

namespace tsdump {

namespace {

using namespace lib13818;

// The DVB PIDs that carry sections: PAT, CAT, NIT, SDT/BAT, EIT, RST, TDT/TOT.
const u16 kFixedPids[] = {0x0000, 0x0001, 0x0010, 0x0011, 0x0012, 0x0013, 0x0014};

const char* const kTableNames[] = {
    "PAT",           "CAT",           "PMT",         "NIT actual",         "NIT other",
    "SDT actual",    "SDT other",     "BAT",         "EIT p/f actual",     "EIT p/f other",
    "EIT schedule actual", "EIT schedule other", "TDT", "RST", "TOT", "AIT", "other"};
static_assert(sizeof(kTableNames) / sizeof(kTableNames[0]) == static_cast<size_t>(Table::Count));

void PrintSet(std::ostream& os, const char* owner, const DescriptorSet& set) {
  if (set.Empty()) return;
  os << "-- descriptors of " << owner << std::endl;
  set.ForEachList([&os](int, const auto& list) {
    for (const auto& d : list) d.Print(os);
  });
  os << std::dec << std::setfill(' ');
}

void PrintAitSet(std::ostream& os, const char* owner, const AitDescriptorSet& set) {
  os << "-- descriptors of " << owner << std::endl;
  set.Print(os);
  os << std::dec << std::setfill(' ');
}

// Every descriptor loop of a parsed section (the dumps leave most of them out).
void PrintDescriptors(std::ostream& os, const ProgramMapSection& s) {
  PrintSet(os, "program", s.descriptors);
  for (const StreamInfo& e : s.streams) PrintSet(os, "elementary stream", e.descriptors);
}
void PrintDescriptors(std::ostream& os, const ConditionalAccessSection& s) {
  PrintSet(os, "CAT", s.descriptors);
}
void PrintDescriptors(std::ostream& os, const NetworkBouquetSection& s) {
  for (const DescriptorCA& d : s.caDescriptors) d.Print(os);
  os << std::dec << std::setfill(' ');
  PrintSet(os, "network/bouquet", s.descriptors);
  for (const TransportStreamInfo& e : s.transportStreams) PrintSet(os, "transport stream", e.descriptors);
}
void PrintDescriptors(std::ostream& os, const ServiceDescriptionSection& s) {
  for (const ServiceDescriptionInfo& e : s.services) PrintSet(os, "service", e.descriptors);
}
void PrintDescriptors(std::ostream& os, const EventInformationSection& s) {
  for (const EventDescriptionInfo& e : s.events) PrintSet(os, "event", e.descriptors);
}
void PrintDescriptors(std::ostream& os, const TimeOffsetSection& s) { PrintSet(os, "TOT", s.descriptors); }
void PrintDescriptors(std::ostream&, const ProgramAssociationSection&) {}
void PrintDescriptors(std::ostream&, const TimeDateSection&) {}
void PrintDescriptors(std::ostream&, const RunningStatusSection&) {}
void PrintDescriptors(std::ostream& os, const ApplicationInformationSection& s) {
  PrintAitSet(os, "AIT", s.descriptors);
  for (const ApplicationInfo& a : s.applications) PrintAitSet(os, "application", a.descriptors);
}

// A 64-bit hash of a section's bytes, 16 bytes a step in two lanes: it only
// picks the bucket, repeats are told by comparing the bytes.
inline u64 Load64(const u8* p) {
  u64 v;
  std::memcpy(&v, p, 8);
  return v;
}
inline u64 Mix(u64 h) {
  h *= 0x9E3779B97F4A7C15ull;
  return h ^ (h >> 29);
}
}  // namespace

u64 SectionHash(const u8* p, size_t n, u64 seed) {
  u64 a = seed ^ (n * 0xC2B2AE3D27D4EB4Full), b = ~seed;
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    a = Mix(a ^ Load64(p + i));
    b = Mix(b ^ Load64(p + i + 8));
  }
  u64 tail = 0;
  for (size_t k = 0; i + k < n; ++k) tail |= u64(p[i + k]) << (8 * (k & 7));
  return Mix(Mix(a ^ tail) ^ Mix(b));
}

namespace {

std::string ErrorText(const error& e) {
  if (!e.message.empty()) return e.message;
  std::ostringstream os;
  os << "code " << e.code << " at byte " << e.position;
  return os.str();
}

void Hex(std::ostream& os, u32 v, int width) {
  os << "0x" << std::hex << std::setw(width) << std::setfill('0') << v << std::dec
     << std::setfill(' ');
}

}  // namespace

const char* TableName(Table t) { return kTableNames[static_cast<size_t>(t)]; }

Table TableOf(u8 id) {
  switch (id) {
    case 0x00: return Table::PAT;
    case 0x01: return Table::CAT;
    case 0x02: return Table::PMT;
    case 0x40: return Table::NitActual;
    case 0x41: return Table::NitOther;
    case 0x42: return Table::SdtActual;
    case 0x46: return Table::SdtOther;
    case 0x4A: return Table::BAT;
    case 0x4E: return Table::EitPfActual;
    case 0x4F: return Table::EitPfOther;
    case 0x70: return Table::TDT;
    case 0x71: return Table::RST;
    case 0x73: return Table::TOT;
    case 0x74: return Table::AIT;
    default:
      if (id >= 0x50 && id <= 0x5F) return Table::EitScheduleActual;
      if (id >= 0x60 && id <= 0x6F) return Table::EitScheduleOther;
      return Table::Other;
  }
}

Scanner::Scanner(const Options& options, std::ostream* dumpOut)
    : options_(options),
      dumpOut_(dumpOut),
      demux_([this](u16 pid, const u8* s, size_t n) { Section(pid, s, n); }) {
  for (u16 pid : kFixedPids) demux_.AddPid(pid);
  for (u16 pid : options_.extraPids) demux_.AddPid(pid);
}

void Scanner::Section(u16 pid, const u8* section, size_t size) {
  const Table table = TableOf(section[0]);
  TableStats& t = tables_[static_cast<size_t>(table)];
  ++t.sections;
  // Sections repeat; each distinct content is parsed once.
  const u64 hash = options_.hash(section, size, pid);
  for (auto [it, end] = seen_.equal_range(hash); it != end; ++it) {
    const Seen& s = it->second;
    if (s.pid == pid && s.size == size && std::memcmp(store_.data() + s.offset, section, size) == 0)
      return;
  }
  seen_.emplace(hash, Seen{pid, static_cast<u32>(size), store_.size()});
  store_.insert(store_.end(), section, section + size);
  ++t.distinct;
  if (table == Table::Other) return;
  if (options_.exactCopies) {
    // A read past the section then leaves the block instead of landing in
    // the reassembler's buffer.
    std::unique_ptr<u8[]> copy(new u8[size]);
    std::memcpy(copy.get(), section, size);
    Parse(table, pid, copy.get(), size);
    return;
  }
  Parse(table, pid, section, size);
}

void Scanner::Parse(Table table, u16 pid, const u8* section, size_t size) {
  TableStats& t = tables_[static_cast<size_t>(table)];
  auto run = [&](auto s) {
    try {
      s.Parse(section, size);
    } catch (const error& e) {
      ++t.failed;
      ++errors_[{table, ErrorText(e)}];
      return s;
    }
    ++t.parsed;
    if (options_.dump && dumpOut_) {
      std::ostream& os = *dumpOut_;
      const std::ios_base::fmtflags flags = os.flags();
      const char fill = os.fill();
      os << "== " << TableName(table) << " \"" << s.GetName() << "\" pid ";
      Hex(os, pid, 4);
      os << " table_id ";
      Hex(os, s.GetTableId(), 2);
      if constexpr (std::is_base_of_v<LongSection, decltype(s)>) {
        os << " ext ";
        Hex(os, s.table_id_extension, 4);
        os << " version " << s.version_number << " section " << s.section_number << "/"
           << s.last_section_number;
      }
      os << std::endl;
      s.Dump(os);
      os.flags(flags);
      os.fill(fill);
      if (options_.descriptors) PrintDescriptors(os, s);
      os.flags(flags);
      os.fill(fill);
    }
    return s;
  };
  switch (table) {
    case Table::PAT: {
      ProgramAssociationSection pat = run(ProgramAssociationSection());
      if (!pat.parsed) break;
      // The PMT PIDs (and the network PID) become section PIDs.
      for (const ProgramAssociationInfo& p : pat.programs) demux_.AddPid(static_cast<u16>(p.PID));
      break;
    }
    case Table::CAT:
      run(ConditionalAccessSection());
      break;
    case Table::PMT: {
      ProgramMapSection pmt = run(ProgramMapSection());
      if (!pmt.parsed) break;
      // Private sections (an AIT among them) on the program's streams.
      for (const StreamInfo& e : pmt.streams)
        if (e.stream_type == 0x05 || !e.descriptors.applicationSignallingDescriptors.empty())
          demux_.AddPid(static_cast<u16>(e.elementary_PID));
      break;
    }
    case Table::NitActual:
    case Table::NitOther:
      run(NetworkInformationSection());
      break;
    case Table::SdtActual:
    case Table::SdtOther:
      run(ServiceDescriptionSection());
      break;
    case Table::BAT:
      run(BouquetAssociationSection());
      break;
    case Table::EitPfActual:
    case Table::EitPfOther:
    case Table::EitScheduleActual:
    case Table::EitScheduleOther:
      run(EventInformationSection());
      break;
    case Table::TDT:
      run(TimeDateSection());
      break;
    case Table::RST:
      run(RunningStatusSection());
      break;
    case Table::TOT:
      run(TimeOffsetSection());
      break;
    case Table::AIT:
      run(ApplicationInformationSection());
      break;
    case Table::Other:
    case Table::Count:
      break;
  }
}

bool Scanner::Clean() const {
  for (const TableStats& t : tables_)
    if (t.failed) return false;
  const tslib::SectionReassembler::Stats s = demux_.Totals();
  return s.continuityErrors == 0 && s.transportErrors == 0 && s.badAdaptationFields == 0 &&
         s.badPointers == 0 && s.oversizedSections == 0 && s.droppedSections == 0;
}

bool Scanner::Complete() const {
  for (size_t i = 0; i < static_cast<size_t>(Table::Other); ++i)
    if (tables_[i].parsed == 0) return false;
  return true;
}

void Scanner::Report(std::ostream& os, const tslib::PacketReader::Stats* reader) const {
  os << std::dec << std::setfill(' ');
  if (reader) {
    os << "packets: " << reader->packets << ", resyncs: " << reader->resyncs
       << ", skipped bytes: " << reader->skippedBytes << std::endl;
  }
  os << "section PIDs:";
  for (const auto& [pid, r] : demux_.reassemblers()) {
    os << " ";
    Hex(os, pid, 4);
  }
  os << std::endl;
  const tslib::SectionReassembler::Stats s = demux_.Totals();
  os << "section packets: " << s.packets << ", continuity errors: " << s.continuityErrors
     << ", duplicates: " << s.duplicatePackets << ", transport errors: " << s.transportErrors
     << ", scrambled: " << s.scrambledPackets << ", bad adaptation fields: " << s.badAdaptationFields
     << ", bad pointers: " << s.badPointers << ", oversized sections: " << s.oversizedSections
     << ", dropped sections: " << s.droppedSections << std::endl;
  os << std::left << std::setw(22) << "table" << std::right << std::setw(10) << "sections"
     << std::setw(10) << "distinct" << std::setw(10) << "parsed" << std::setw(10) << "failed"
     << std::endl;
  for (size_t i = 0; i < static_cast<size_t>(Table::Count); ++i) {
    const TableStats& t = tables_[i];
    os << std::left << std::setw(22) << kTableNames[i] << std::right << std::setw(10) << t.sections
       << std::setw(10) << t.distinct << std::setw(10) << t.parsed << std::setw(10) << t.failed
       << std::endl;
  }
  os << "errors:";
  if (errors_.empty()) os << " none";
  os << std::endl;
  for (const auto& [key, n] : errors_)
    os << "  " << TableName(key.first) << ": \"" << key.second << "\" x" << n << std::endl;
}

}  // namespace tsdump
