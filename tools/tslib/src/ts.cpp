#include "tslib/ts.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace tslib {

PacketHeader ParseHeader(const u8* p) {
  PacketHeader h;
  h.transport_error = (p[1] & 0x80) != 0;
  h.payload_unit_start = (p[1] & 0x40) != 0;
  h.pid = static_cast<u16>((p[1] & 0x1F) << 8 | p[2]);
  h.scrambling = static_cast<u8>(p[3] >> 6);
  h.adaptation_field_control = static_cast<u8>((p[3] >> 4) & 0x03);
  h.continuity_counter = static_cast<u8>(p[3] & 0x0F);
  return h;
}

// --- PacketReader ------------------------------------------------------------

namespace {
constexpr size_t kLockPackets = 3;
}  // namespace

PacketReader::PacketReader(Source read, size_t chunk)
    : read_(std::move(read)), chunk_(std::max<size_t>(chunk, 1)) {}

PacketReader::PacketReader(std::istream& in, size_t chunk)
    : PacketReader(
          [&in](u8* p, size_t n) -> size_t {
            if (!in) return 0;
            in.read(reinterpret_cast<char*>(p), static_cast<std::streamsize>(n));
            return static_cast<size_t>(in.gcount());
          },
          chunk) {}

PacketReader::PacketReader(const u8* data, size_t size) : eof_(true), data_(data), size_(data ? size : 0) {}

void PacketReader::Fill(size_t want) {
  if (Available() >= want || eof_) return;
  // Keep what is left at the front of the buffer and read behind it.
  const size_t left = Available();
  if (cap_ < left + std::max(want, chunk_)) {
    // left < want: room for a whole chunk behind whatever is left over, once.
    const size_t cap = want + std::max(want, chunk_);
    std::unique_ptr<u8[]> grown(new u8[cap]);
    if (left) std::memcpy(grown.get(), data_ + pos_, left);
    mem_ = std::move(grown);
    cap_ = cap;
  } else if (left && pos_) {
    std::memmove(mem_.get(), data_ + pos_, left);
  }
  data_ = mem_.get();
  size_ = left;
  pos_ = 0;
  while (size_ < want && !eof_) {
    const size_t got = read_(mem_.get() + size_, std::min(cap_ - size_, chunk_));
    size_ += got;
    if (got == 0) eof_ = true;
  }
}

bool PacketReader::SyncAt(size_t at) {
  // Sync bytes at `at` and at the packets after it that the input still holds.
  for (size_t k = 0; k < kLockPackets; ++k) {
    const size_t i = at + k * kPacketSize;
    if (i >= size_) return k > 0;
    if (data_[i] != kSyncByte) return false;
  }
  return true;
}

const u8* PacketReader::Next() {
  bool skipped = false;
  for (;;) {
    Fill((kLockPackets + 1) * kPacketSize);
    if (Available() < kPacketSize) {
      // A partial packet (or junk) at the end.
      stats_.skippedBytes += Available();
      pos_ = size_;
      return nullptr;
    }
    if (data_[pos_] == kSyncByte && (locked_ ? StillLocked() : SyncAt(pos_))) {
      if (skipped) ++stats_.resyncs;
      locked_ = true;
      const u8* p = data_ + pos_;
      pos_ += kPacketSize;
      ++stats_.packets;
      return p;
    }
    // Lost (or never found) the packet boundary: skip a byte and look again.
    locked_ = false;
    skipped = true;
    ++pos_;
    ++stats_.skippedBytes;
  }
}

bool PacketReader::StillLocked() {
  // Followed by a sync byte (or the end of the input): a packet.
  const size_t next = pos_ + kPacketSize;
  if (next >= size_ || data_[next] == kSyncByte) return true;
  // Otherwise either a packet followed by stray bytes, or stray bytes that
  // happen to start with 0x47 and end before a packet that locks on.
  for (size_t q = pos_ + 1; q <= next && q < size_; ++q)
    if (data_[q] == kSyncByte && SyncAt(q)) return false;
  return true;
}

// --- SectionReassembler --------------------------------------------------------

void SectionReassembler::Reset() {
  buf_.clear();
  assembling_ = false;
  lastCc_ = -1;
}

void SectionReassembler::Drop() {
  if (assembling_ && !buf_.empty()) ++stats_.droppedSections;
  buf_.clear();
  assembling_ = false;
}

void SectionReassembler::Drain(const Sink& sink) {
  size_t used = 0;
  while (used < buf_.size()) {
    const u8* s = buf_.data() + used;
    if (s[0] == 0xFF) {
      // Stuffing: nothing more until the next unit start.
      buf_.clear();
      assembling_ = false;
      return;
    }
    if (buf_.size() - used < 3) break;
    const size_t len = 3 + (size_t(s[1] & 0x0F) << 8 | s[2]);
    if (len > kMaxSectionSize) {
      ++stats_.oversizedSections;
      buf_.clear();
      assembling_ = false;
      return;
    }
    if (buf_.size() - used < len) break;
    ++stats_.sections;
    sink(s, len);
    used += len;
  }
  buf_.erase(buf_.begin(), buf_.begin() + static_cast<std::ptrdiff_t>(used));
  assembling_ = !buf_.empty();
}

void SectionReassembler::Put(const u8* p, const Sink& sink) {
  ++stats_.packets;
  const PacketHeader h = ParseHeader(p);
  if (h.transport_error) {
    ++stats_.transportErrors;
    return;
  }
  const u8 afc = h.adaptation_field_control;
  if (afc == 0) return;  // reserved
  size_t at = 4;
  bool discontinuity = false;
  if (afc & 0x02) {
    const size_t afl = p[4];
    // With a payload the adaptation field leaves at least one payload byte;
    // without one it fills the packet.
    if ((afc == 0x03 && afl > 182) || (afc == 0x02 && afl != 183)) {
      ++stats_.badAdaptationFields;
      Drop();
      return;
    }
    if (afl > 0) discontinuity = (p[5] & 0x80) != 0;
    at = 5 + afl;
  }
  if ((afc & 0x01) == 0) return;  // no payload: the counter does not advance
  if (h.scrambling != 0) {
    ++stats_.scrambledPackets;
    Drop();
    lastCc_ = h.continuity_counter;
    return;
  }
  const int cc = h.continuity_counter;
  if (lastCc_ >= 0 && !discontinuity) {
    if (cc == lastCc_) {
      ++stats_.duplicatePackets;
      return;
    }
    if (cc != ((lastCc_ + 1) & 0x0F)) {
      ++stats_.continuityErrors;
      Drop();
    }
  }
  lastCc_ = cc;

  const u8* payload = p + at;
  const size_t size = kPacketSize - at;
  if (h.payload_unit_start) {
    const size_t pointer = payload[0];
    if (1 + pointer > size) {
      ++stats_.badPointers;
      Drop();
      return;
    }
    if (assembling_) {
      // The bytes before the pointed-to section end the one in progress.
      buf_.insert(buf_.end(), payload + 1, payload + 1 + pointer);
      Drain(sink);
      Drop();  // whatever is still open did not end where the new one starts
    }
    buf_.assign(payload + 1 + pointer, payload + size);
    assembling_ = true;
    Drain(sink);
  } else if (assembling_) {
    buf_.insert(buf_.end(), payload, payload + size);
    Drain(sink);
  }
}

// --- SectionDemux ----------------------------------------------------------------

SectionDemux::SectionDemux(Sink sink) : sink_(std::move(sink)), slots_(new Slot[0x2000]) {}

void SectionDemux::AddPid(u16 pid) {
  pid &= 0x1FFF;
  Slot& slot = slots_[pid];
  if (slot.reassembler) return;
  // Map nodes stay where they are: the slot's pointers hold while PIDs are
  // added, also from inside a sink.
  slot.reassembler = &pids_[pid];
  slot.sink = &sinks_.emplace(pid, [this, pid](const u8* s, size_t n) { sink_(pid, s, n); }).first->second;
}

void SectionDemux::Put(const u8* packet) {
  const Slot& slot = slots_[(packet[1] & 0x1F) << 8 | packet[2]];
  if (slot.reassembler) slot.reassembler->Put(packet, *slot.sink);
}

SectionReassembler::Stats SectionDemux::Totals() const {
  SectionReassembler::Stats t;
  for (const auto& [pid, r] : pids_) {
    const SectionReassembler::Stats& s = r.stats();
    t.packets += s.packets;
    t.sections += s.sections;
    t.continuityErrors += s.continuityErrors;
    t.duplicatePackets += s.duplicatePackets;
    t.transportErrors += s.transportErrors;
    t.scrambledPackets += s.scrambledPackets;
    t.badAdaptationFields += s.badAdaptationFields;
    t.badPointers += s.badPointers;
    t.oversizedSections += s.oversizedSections;
    t.droppedSections += s.droppedSections;
  }
  return t;
}

// --- SectionPacketiser -------------------------------------------------------------

size_t SectionPacketiser::StartPacket(bool unitStart, Bytes& out) {
  const size_t at = out.size();
  out.resize(at + kPacketSize, 0xFF);
  u8* p = out.data() + at;
  ++count_;
  const bool af = afEvery_ != 0 && count_ % afEvery_ == 0;
  p[0] = kSyncByte;
  p[1] = static_cast<u8>((unitStart ? 0x40 : 0x00) | (pid_ >> 8 & 0x1F));
  p[2] = static_cast<u8>(pid_);
  p[3] = static_cast<u8>((af ? 0x30 : 0x10) | (cc_ & 0x0F));
  cc_ = static_cast<u8>((cc_ + 1) & 0x0F);
  if (!af) return at + 4;
  p[4] = static_cast<u8>(afSize_ - 1);
  if (afSize_ > 1) p[5] = 0x00;  // no flags; the rest is stuffing
  return at + 4 + afSize_;
}

void SectionPacketiser::Emit(const Bytes& stream, const std::vector<size_t>& starts, Bytes& out) {
  size_t pos = 0;
  size_t next = 0;  // the first section start at or after pos
  while (pos < stream.size()) {
    while (next < starts.size() && starts[next] < pos) ++next;
    const bool af = afEvery_ != 0 && (count_ + 1) % afEvery_ == 0;
    size_t room = kPacketSize - 4 - (af ? afSize_ : 0);
    // A section that starts within this packet (after its pointer_field)
    // makes it a unit start.
    const bool start = next < starts.size() && starts[next] < pos + room - 1;
    const size_t at = StartPacket(start, out);
    u8* dst = out.data() + at;
    if (start) {
      *dst++ = static_cast<u8>(starts[next] - pos);
      --room;
    } else if (next < starts.size()) {
      room = std::min(room, starts[next] - pos);  // stuff rather than start a section here
    }
    const size_t n = std::min(room, stream.size() - pos);
    std::copy_n(stream.begin() + static_cast<std::ptrdiff_t>(pos), n, dst);
    pos += n;
  }
}

void SectionPacketiser::PutPacked(const std::vector<Bytes>& sections, Bytes& out) {
  Bytes stream;
  std::vector<size_t> starts;
  for (const Bytes& s : sections) {
    starts.push_back(stream.size());
    stream.insert(stream.end(), s.begin(), s.end());
  }
  Emit(stream, starts, out);
}

void SectionPacketiser::Put(const Bytes& section, Bytes& out) { Emit(section, {0}, out); }

void AppendNullPacket(Bytes& out) {
  const size_t at = out.size();
  out.resize(at + kPacketSize, 0xFF);
  out[at] = kSyncByte;
  out[at + 1] = 0x1F;
  out[at + 2] = 0xFF;
  out[at + 3] = 0x10;
}

void AppendFillerPacket(u16 pid, u8* cc, u8 fill, Bytes& out) {
  const size_t at = out.size();
  out.resize(at + kPacketSize, fill);
  out[at] = kSyncByte;
  out[at + 1] = static_cast<u8>(pid >> 8 & 0x1F);
  out[at + 2] = static_cast<u8>(pid);
  out[at + 3] = static_cast<u8>(0x10 | (*cc & 0x0F));
  *cc = static_cast<u8>((*cc + 1) & 0x0F);
}

}  // namespace tslib
