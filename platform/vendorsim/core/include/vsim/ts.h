#pragma once
// Transport-stream plumbing of the simulated cards: cutting sections into
// 188-byte packets and putting them back together, and the byte-pattern
// match of the section filters.  Portable: no Windows header.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace vsim {

using u8 = std::uint8_t;
using u16 = std::uint16_t;
using u32 = std::uint32_t;
using Bytes = std::vector<u8>;

constexpr size_t kPacketSize = 188;
constexpr u8 kSyncByte = 0x47;
constexpr u16 kNullPid = 0x1FFF;
// Longest section the assembler accepts (private sections may reach 4096).
constexpr size_t kMaxSectionSize = 4096;

inline u16 PacketPid(const u8* p) { return static_cast<u16>((p[1] & 0x1F) << 8 | p[2]); }
inline bool PacketHasPayload(const u8* p) { return (p[3] & 0x10) != 0; }

// Appends the packets that carry `sections`, one after another on `pid`, to
// `out`.  A packet in which a section starts has payload_unit_start_indicator
// set and a pointer_field to the first such section; sections are packed
// back to back and the last packet is filled up with 0xFF.  Continuity
// counters run on from `*cc` (updated).
void PacketiseSections(u16 pid, const std::vector<Bytes>& sections, u8* cc, Bytes& out);

// One PES packet (stream_id, payload) cut into packets on `pid`.
void PacketisePes(u16 pid, u8 stream_id, const Bytes& payload, u8* cc, Bytes& out);

// Puts sections back together from the packets of one PID.  Copes with
// sections spanning packets, several sections in one packet, stuffing,
// adaptation fields and lost packets (a continuity error drops the section
// being assembled).
class SectionAssembler {
 public:
  using Sink = std::function<void(const u8* section, size_t size)>;

  // Feeds one 188-byte packet; `sink` receives every section completed by it.
  void Put(const u8* packet, const Sink& sink);
  void Reset();

 private:
  void Drain(const Sink& sink);

  Bytes buf_;
  bool assembling_ = false;
  int last_cc_ = -1;
};

// True when section byte k equals pattern byte k in every bit set in mask
// byte k, for k < length.  A section shorter than the pattern matches when
// the mask selects none of the bytes it lacks (a 16-byte filter with only
// the table_id masked takes an 8-byte time and date section).
bool MatchSection(const u8* section, size_t size, const u8* pattern, const u8* mask, size_t length);

// True when a section with section_syntax_indicator 1 carries a correct
// CRC_32 (sections without the syntax bit are accepted as they are) and its
// section_length fits the bytes given.
bool SectionIntact(const u8* section, size_t size);

}  // namespace vsim
