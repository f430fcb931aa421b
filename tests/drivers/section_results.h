#pragma once
// Section filters and the buffers GetSections hands over, for the tests of
// the plug-ins' section reading.
#include <objbase.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "contract/driver_contract.h"
#include "lib13818/section.h"
#include "orb_atl/com_ptr.h"

namespace plugtest {

// A filter on `pid` for `tableId`; on a table id extension too when
// `extension` is not negative.
inline SectionFilterSpec Spec(uint32_t pid, uint8_t tableId, uint32_t mode, int extension = -1) {
  SectionFilterSpec s;
  std::memset(&s, 0, sizeof s);
  s.pid = pid;
  s.table_id = tableId;
  s.mode = mode;
  if (extension >= 0) {
    s.match_extension = 1;
    s.table_id_extension = static_cast<uint16_t>(extension);
  }
  return s;
}

// The size of a block from the COM task allocator.
inline size_t AllocSize(void* p) {
  orb::com::ComPtr<IMalloc> malloc;
  CoGetMalloc(1, malloc.Put());
  return malloc->GetSize(p);
}

// Frees what GetSections handed over; checks each buffer holds one whole,
// CRC-correct section of the table asked for.  With a `bufferSize`, each
// buffer is a block of that size holding the section.
inline void CheckAndFree(SectionResult& r, const SectionFilterSpec& spec, size_t bufferSize = 0) {
  for (uint32_t i = 0; i < r.count; ++i) {
    const uint8_t* b = r.sections[i];
    ASSERT_NE(b, nullptr);
    if (bufferSize) {
      EXPECT_EQ(AllocSize(r.sections[i]), bufferSize);
    }
    EXPECT_EQ(b[0], spec.table_id);
    const size_t length = ((b[1] & 0x0F) << 8 | b[2]) + 3u;
    if (bufferSize) {
      ASSERT_LE(length, bufferSize);
    }
    if (b[1] & 0x80) {
      EXPECT_EQ(lib13818::Crc32Mpeg(b, length), 0u) << "table " << int(spec.table_id);
    }
    if (spec.match_extension) {
      EXPECT_EQ(b[3] << 8 | b[4], spec.table_id_extension);
    }
    CoTaskMemFree(r.sections[i]);
  }
  CoTaskMemFree(r.sections);
  r.sections = nullptr;
  r.count = 0;
}

// Checks that the EIT sections of a result are whole sub-tables, each
// section once: every section up to last_section_number, in a schedule
// segment those up to its segment_last_section_number.  Returns the number
// of sub-tables (services of one transport stream and network).
inline size_t ExpectWholeEitSubTables(const SectionResult& r) {
  std::map<uint32_t, std::set<int>> numbers;
  std::map<uint32_t, int> last;
  std::map<uint32_t, std::map<int, int>> segmentLast;
  for (uint32_t i = 0; i < r.count; ++i) {
    const uint8_t* b = r.sections[i];
    const uint32_t key = static_cast<uint32_t>(b[3] << 8 | b[4]) << 16 | (b[8] << 8 | b[9]);
    EXPECT_TRUE(numbers[key].insert(b[6]).second) << "section " << int(b[6]) << " of " << key << " kept twice";
    last[key] = b[7];
    segmentLast[key][b[6] / 8] = b[12];
  }
  for (const auto& [key, kept] : numbers) {
    for (int first = 0; first <= last[key]; first += 8) {
      const auto seen = segmentLast[key].find(first / 8);
      const int end = seen == segmentLast[key].end() ? first : seen->second;
      for (int n = first; n <= end; ++n) EXPECT_EQ(kept.count(n), 1u) << "section " << n << " of " << key;
    }
  }
  return numbers.size();
}

// Reads the EIT present/following and schedule of a multiplex of three
// services that sends them at different rates (eitrepeat=3) through
// `reader` and checks that every sub-table came whole.
template <class Reader>
void ExpectEitSentAtDifferentRatesCollected(Reader* reader, size_t slotSize) {
  SectionFilterSpec specs[] = {Spec(0x0012, 0x4E, SFM_EIT), Spec(0x0012, 0x50, SFM_EIT)};
  SectionResult results[2] = {};
  ASSERT_EQ(reader->GetSections(2, specs, 30, results), S_OK);
  EXPECT_EQ(results[0].count, 6u);
  EXPECT_EQ(ExpectWholeEitSubTables(results[0]), 3u);
  EXPECT_LT(results[1].count, 100u);
  EXPECT_EQ(ExpectWholeEitSubTables(results[1]), 3u);
  for (int i = 0; i < 2; ++i) CheckAndFree(results[i], specs[i], slotSize);
}

// Writes a transport stream carrying `sections` (PID, section) in turn,
// each starting a packet of its own, sixteen times over so that the
// continuity counters run on when the file is played in a loop.
inline void WriteSectionsAsTs(const std::string& path, const std::vector<std::pair<uint16_t, std::vector<uint8_t>>>& sections) {
  std::ofstream out(path, std::ios::binary);
  std::map<uint16_t, uint8_t> cc;
  for (int round = 0; round < 16; ++round) {
    for (const auto& [pid, section] : sections) {
      for (size_t at = 0; at < section.size() || at == 0;) {
        uint8_t packet[188];
        std::memset(packet, 0xFF, sizeof packet);
        packet[0] = 0x47;
        packet[1] = static_cast<uint8_t>((at == 0 ? 0x40 : 0) | pid >> 8);
        packet[2] = static_cast<uint8_t>(pid);
        packet[3] = static_cast<uint8_t>(0x10 | (cc[pid]++ & 0x0F));
        size_t room = 184;
        uint8_t* payload = packet + 4;
        if (at == 0) {
          *payload++ = 0;  // pointer_field
          --room;
        }
        const size_t n = std::min(room, section.size() - at);
        std::memcpy(payload, section.data() + at, n);
        at += n;
        out.write(reinterpret_cast<const char*>(packet), sizeof packet);
      }
    }
  }
}

// A long-header section with a correct CRC_32: table_id, table_id_extension,
// section_number, last_section_number and a few bytes of body.
inline std::vector<uint8_t> LongSection(uint8_t tableId, uint16_t extension, uint8_t number, uint8_t last) {
  std::vector<uint8_t> s = {tableId, 0xF0, 0, static_cast<uint8_t>(extension >> 8), static_cast<uint8_t>(extension),
                            0xC1, number, last, 0xF0, 0x00};  // an empty loop
  const size_t length = s.size() - 3 + 4;
  s[1] = static_cast<uint8_t>(0xF0 | length >> 8);
  s[2] = static_cast<uint8_t>(length);
  const uint32_t crc = lib13818::Crc32Mpeg(s.data(), s.size());
  for (int shift = 24; shift >= 0; shift -= 8) s.push_back(static_cast<uint8_t>(crc >> shift));
  return s;
}

// A recorded stream in which two requests can never complete: a whole PAT,
// network 1 of the NIT other whole but network 2 without its section 1, and
// the SDT without its section 1.
inline void WriteCaptureMissingASection(const std::string& path) {
  WriteSectionsAsTs(path, {{0x0000, LongSection(0x00, 1, 0, 0)},
                           {0x0010, LongSection(0x41, 1, 0, 1)},
                           {0x0010, LongSection(0x41, 1, 1, 1)},
                           {0x0010, LongSection(0x41, 2, 0, 1)},
                           {0x0011, LongSection(0x42, 1, 0, 1)}});
}

// Reads that stream, tuned, through `reader` with a 2 s time-out: the
// time-out ends the call, and every request hands over what was on air.
template <class Reader>
void ExpectTimeoutEndsTheCaptureMissingASection(Reader* reader, size_t slotSize) {
  SectionFilterSpec specs[] = {Spec(0x0000, 0x00, SFM_SINGLE), Spec(0x0010, 0x41, SFM_BY_EXTENSION),
                               Spec(0x0011, 0x42, SFM_SINGLE)};
  SectionResult results[3] = {};
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(reader->GetSections(3, specs, 2, results), S_OK);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1900));
  EXPECT_EQ(results[0].count, 1u);
  EXPECT_EQ(results[1].count, 3u);  // what was kept
  EXPECT_EQ(results[2].count, 1u);
  for (int i = 0; i < 3; ++i) CheckAndFree(results[i], specs[i], slotSize);
}

}  // namespace plugtest
