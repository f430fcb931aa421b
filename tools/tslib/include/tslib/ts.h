#pragma once
// Transport-stream plumbing shared by the developer tools: finding 188-byte
// packets in a byte stream, putting PSI/SI sections back together per PID,
// and cutting sections into packets.  Portable: no Windows header.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <istream>
#include <map>
#include <memory>
#include <set>
#include <vector>

namespace tslib {

using u8 = std::uint8_t;
using u16 = std::uint16_t;
using u32 = std::uint32_t;
using u64 = std::uint64_t;
using Bytes = std::vector<u8>;

constexpr size_t kPacketSize = 188;
constexpr u8 kSyncByte = 0x47;
constexpr u16 kNullPid = 0x1FFF;
// Longest section: 3 header bytes and a 12-bit section_length of at most
// 4093 (private sections may reach 4096 bytes in all).
constexpr size_t kMaxSectionSize = 4096;

struct PacketHeader {
  bool transport_error = false;
  bool payload_unit_start = false;
  u16 pid = 0;
  u8 scrambling = 0;
  u8 adaptation_field_control = 0;  // 1 payload only, 2 adaptation only, 3 both
  u8 continuity_counter = 0;
};
PacketHeader ParseHeader(const u8* packet);

// Finds packets in a byte stream.  The reader locks on when three sync bytes
// follow each other 188 bytes apart (or fewer at the end of the input).
// Locked on, a sync byte starts a packet unless stray bytes follow it and a
// lock is found within the next 188 bytes (then the sync byte was one of the
// stray bytes); everything else is skipped byte by byte up to the next lock.
// A partial packet at the end is dropped.  Stray bytes longer than a packet
// that start with 0x47 are taken for a packet (the next one then resyncs).
class PacketReader {
 public:
  struct Stats {
    u64 packets = 0;
    u64 resyncs = 0;        // times the reader had to search for the packet boundary
    u64 skippedBytes = 0;   // bytes between packets (and a trailing partial packet)
  };

  // Reads from a source in a buffer of its own that is reused: at most
  // `chunk` bytes a read, so the reader holds about `chunk` bytes whatever
  // the length of the input.  `read` fills up to `n` bytes at `p` and
  // returns how many it did, 0 at the end of the input.
  using Source = std::function<size_t(u8* p, size_t n)>;
  static constexpr size_t kDefaultChunk = size_t(1) << 20;
  explicit PacketReader(Source read, size_t chunk = kDefaultChunk);
  explicit PacketReader(std::istream& in, size_t chunk = kDefaultChunk);
  // Reads from memory; the bytes are not copied and must stay valid while
  // the reader is used.
  PacketReader(const u8* data, size_t size);

  // The next packet (188 bytes, valid until the next call), or nullptr at the
  // end of the input.
  const u8* Next();
  const Stats& stats() const { return stats_; }

 private:
  // Makes at least `want` bytes available from pos_ unless the input ends.
  void Fill(size_t want);
  bool SyncAt(size_t at);
  bool StillLocked();
  size_t Available() const { return size_ - pos_; }

  Source read_;
  size_t chunk_ = kDefaultChunk;
  bool eof_ = false;
  std::unique_ptr<u8[]> mem_;  // stream input: the read buffer (never zero-filled)
  size_t cap_ = 0;
  const u8* data_ = nullptr;   // the bytes at hand: mem_, or the caller's
  size_t size_ = 0;
  size_t pos_ = 0;
  bool locked_ = false;
  Stats stats_;
};

// Puts the sections of one PID back together.  Copes with sections spanning
// packets, several sections in one packet, stuffing after the last section,
// adaptation fields, duplicate packets and lost packets (a continuity error
// drops the section being assembled).  Only whole sections of a plausible
// length are handed on; their CRC is the parser's business.
class SectionReassembler {
 public:
  using Sink = std::function<void(const u8* section, size_t size)>;
  struct Stats {
    u64 packets = 0;
    u64 sections = 0;
    u64 continuityErrors = 0;
    u64 duplicatePackets = 0;
    u64 transportErrors = 0;     // transport_error_indicator set: packet ignored
    u64 scrambledPackets = 0;    // scrambled payload: ignored
    u64 badAdaptationFields = 0; // adaptation_field_length past the packet
    u64 badPointers = 0;         // pointer_field past the packet
    u64 oversizedSections = 0;   // section_length above the maximum
    u64 droppedSections = 0;     // incomplete sections thrown away
  };

  // Feeds one 188-byte packet of this PID; `sink` receives every section it
  // completes.
  void Put(const u8* packet, const Sink& sink);
  void Reset();
  const Stats& stats() const { return stats_; }

 private:
  void Drain(const Sink& sink);
  void Drop();

  Bytes buf_;
  bool assembling_ = false;
  int lastCc_ = -1;
  Stats stats_;
};

// Section reassembly for a chosen set of PIDs.
class SectionDemux {
 public:
  using Sink = std::function<void(u16 pid, const u8* section, size_t size)>;

  explicit SectionDemux(Sink sink);
  SectionDemux(const SectionDemux&) = delete;
  SectionDemux& operator=(const SectionDemux&) = delete;
  void AddPid(u16 pid);
  bool HasPid(u16 pid) const { return pids_.count(pid) != 0; }
  // Feeds one packet of any PID; packets of other PIDs are ignored.
  void Put(const u8* packet);

  const std::map<u16, SectionReassembler>& reassemblers() const { return pids_; }
  // The sum of every PID's counters.
  SectionReassembler::Stats Totals() const;

 private:
  // A PID's reassembler and its sink, looked up by PID without a search.
  struct Slot {
    SectionReassembler* reassembler = nullptr;
    const SectionReassembler::Sink* sink = nullptr;
  };

  Sink sink_;
  std::map<u16, SectionReassembler> pids_;
  std::map<u16, SectionReassembler::Sink> sinks_;
  std::unique_ptr<Slot[]> slots_;  // 8192, one per PID
};

// Cuts sections into packets of one PID, continuity counter kept across
// calls.  A packet in which a section starts has payload_unit_start_indicator
// set and a pointer_field to that section; a section never starts in a packet
// without one.  What is left of the last packet is stuffed with 0xFF.
class SectionPacketiser {
 public:
  explicit SectionPacketiser(u16 pid) : pid_(pid) {}

  // Sections back to back, several per packet where they fit.
  void PutPacked(const std::vector<Bytes>& sections, Bytes& out);
  // Each section in packets of its own.
  void Put(const Bytes& section, Bytes& out);
  // Every `n`th packet (0: none) carries an adaptation field of `size`
  // bytes (length byte included, 2 or more) in front of its payload.
  void SetAdaptationField(unsigned every, size_t size) {
    afEvery_ = every;
    afSize_ = size;
  }

  u16 pid() const { return pid_; }

 private:
  void Emit(const Bytes& stream, const std::vector<size_t>& starts, Bytes& out);
  size_t StartPacket(bool unitStart, Bytes& out);

  u16 pid_;
  u8 cc_ = 0;
  unsigned afEvery_ = 0;
  size_t afSize_ = 0;
  u64 count_ = 0;
};

// A null packet (PID 0x1FFF) and a payload-only packet of `pid` carrying
// `fill` bytes, for padding a stream between tables.
void AppendNullPacket(Bytes& out);
void AppendFillerPacket(u16 pid, u8* cc, u8 fill, Bytes& out);

}  // namespace tslib
