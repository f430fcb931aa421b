#pragma once
// Reads the PSI/SI of a transport stream: finds the section PIDs (the fixed
// DVB PIDs, the PMT PIDs of the PAT, the private-section PIDs of the PMTs),
// reassembles their sections and parses each distinct section with the
// parsing library, counting sections per table and refusals per message.
#include <cstdint>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "tslib/ts.h"

namespace tsdump {

using tslib::u16;
using tslib::u32;
using tslib::u64;
using tslib::u8;

// The tables told apart in the summary, in its order.
enum class Table {
  PAT,
  CAT,
  PMT,
  NitActual,
  NitOther,
  SdtActual,
  SdtOther,
  BAT,
  EitPfActual,
  EitPfOther,
  EitScheduleActual,
  EitScheduleOther,
  TDT,
  RST,
  TOT,
  AIT,
  Other,
  Count
};
const char* TableName(Table t);
Table TableOf(u8 table_id);

// The hash that files a section among those seen (PID as seed).
u64 SectionHash(const u8* section, size_t size, u64 seed);
using SectionHashFn = u64 (*)(const u8* section, size_t size, u64 seed);

struct Options {
  bool dump = false;         // write each distinct section's dump
  bool descriptors = false;  // with the dump: every descriptor of every loop
  std::set<u16> extraPids;   // further section PIDs to read
  SectionHashFn hash = SectionHash;  // tests put in one of their own
  bool exactCopies = false;  // parse each section from a heap block of its own size (fuzzing)
};

class Scanner {
 public:
  struct TableStats {
    u64 sections = 0;  // every occurrence
    u64 distinct = 0;  // different contents
    u64 parsed = 0;    // distinct sections that parsed
    u64 failed = 0;    // distinct sections refused
  };

  // `dumpOut` receives the dumps when options.dump is set.
  Scanner(const Options& options, std::ostream* dumpOut);

  // Feeds one 188-byte packet.
  void Packet(const u8* packet) { demux_.Put(packet); }
  // Feeds one section found on `pid` (what the demux calls).
  void Section(u16 pid, const u8* section, size_t size);

  const TableStats& stats(Table t) const { return tables_[static_cast<size_t>(t)]; }
  // Refusals: (table, message) -> distinct sections.
  const std::map<std::pair<Table, std::string>, u64>& errors() const { return errors_; }
  const tslib::SectionDemux& demux() const { return demux_; }

  // No refused section and no transport-level loss on a section PID.
  bool Clean() const;
  // Every table kind but Other seen and parsed at least once.
  bool Complete() const;

  // The summary; `reader` adds the packet reader's counters.
  void Report(std::ostream& os, const tslib::PacketReader::Stats* reader) const;

 private:
  void Parse(Table table, u16 pid, const u8* section, size_t size);

  Options options_;
  std::ostream* dumpOut_;
  tslib::SectionDemux demux_;
  TableStats tables_[static_cast<size_t>(Table::Count)];
  std::map<std::pair<Table, std::string>, u64> errors_;
  // Distinct sections: a hash of PID and bytes to copies of the sections
  // seen, compared byte for byte on a hash match.
  struct Seen {
    u16 pid;
    u32 size;
    size_t offset;  // in store_
  };
  std::unordered_multimap<u64, Seen> seen_;
  std::vector<u8> store_;
};

}  // namespace tsdump
