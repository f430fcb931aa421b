#include "vsim/ts.h"

#include <algorithm>

#include "lib13818/section.h"

namespace vsim {

namespace {

void PutHeader(u16 pid, bool start, u8* cc, u8* p) {
  p[0] = kSyncByte;
  p[1] = static_cast<u8>((start ? 0x40 : 0x00) | (pid >> 8 & 0x1F));
  p[2] = static_cast<u8>(pid);
  p[3] = static_cast<u8>(0x10 | (*cc & 0x0F));  // payload only
  *cc = static_cast<u8>((*cc + 1) & 0x0F);
}

}  // namespace

void PacketiseSections(u16 pid, const std::vector<Bytes>& sections, u8* cc, Bytes& out) {
  Bytes stream;
  std::vector<size_t> starts;
  for (const Bytes& s : sections) {
    starts.push_back(stream.size());
    stream.insert(stream.end(), s.begin(), s.end());
  }
  size_t pos = 0;
  size_t next = 0;  // index into starts of the first start at or after pos
  while (pos < stream.size()) {
    while (next < starts.size() && starts[next] < pos) ++next;
    size_t at = out.size();
    out.resize(at + kPacketSize, 0xFF);
    u8* p = &out[at];
    // A section that starts within the 183 bytes after a pointer_field makes
    // this a unit start packet.
    bool start = next < starts.size() && starts[next] < pos + (kPacketSize - 5);
    PutHeader(pid, start, cc, p);
    size_t room;
    u8* dst;
    if (start) {
      p[4] = static_cast<u8>(starts[next] - pos);
      dst = p + 5;
      room = kPacketSize - 5;
    } else {
      dst = p + 4;
      room = kPacketSize - 4;
      // A section must not begin in a packet without a pointer_field: stop
      // short of it and stuff the rest.
      if (next < starts.size()) room = std::min(room, starts[next] - pos);
    }
    size_t n = std::min(room, stream.size() - pos);
    std::copy_n(stream.begin() + static_cast<std::ptrdiff_t>(pos), n, dst);
    pos += n;
  }
}

void PacketisePes(u16 pid, u8 stream_id, const Bytes& payload, u8* cc, Bytes& out) {
  Bytes pes = {0x00, 0x00, 0x01, stream_id, 0, 0, 0x80, 0x00, 0x00};
  size_t len = payload.size() + 3;
  if (len <= 0xFFFF) {
    pes[4] = static_cast<u8>(len >> 8);
    pes[5] = static_cast<u8>(len);
  }
  pes.insert(pes.end(), payload.begin(), payload.end());
  size_t pos = 0;
  bool first = true;
  while (pos < pes.size()) {
    size_t at = out.size();
    out.resize(at + kPacketSize, 0xFF);
    u8* p = &out[at];
    PutHeader(pid, first, cc, p);
    size_t left = pes.size() - pos;
    if (left >= kPacketSize - 4) {
      std::copy_n(pes.begin() + static_cast<std::ptrdiff_t>(pos), kPacketSize - 4, p + 4);
      pos += kPacketSize - 4;
    } else {
      // Last packet: an adaptation field of stuffing bytes fills the gap.
      size_t af = kPacketSize - 4 - left;  // bytes taken by the adaptation field
      p[3] = static_cast<u8>(0x30 | (p[3] & 0x0F));
      p[4] = static_cast<u8>(af - 1);
      if (af > 1) p[5] = 0x00;  // no flags
      std::copy_n(pes.begin() + static_cast<std::ptrdiff_t>(pos), left, p + 4 + af);
      pos += left;
    }
    first = false;
  }
}

void SectionAssembler::Reset() {
  buf_.clear();
  assembling_ = false;
  last_cc_ = -1;
}

void SectionAssembler::Drain(const Sink& sink) {
  size_t used = 0;
  while (buf_.size() - used >= 3) {
    const u8* s = buf_.data() + used;
    if (s[0] == 0xFF) {  // stuffing: nothing more in this packet
      buf_.clear();
      assembling_ = false;
      return;
    }
    size_t len = 3 + (static_cast<size_t>(s[1] & 0x0F) << 8 | s[2]);
    if (len > kMaxSectionSize) {
      buf_.clear();
      assembling_ = false;
      return;
    }
    if (buf_.size() - used < len) break;
    sink(s, len);
    used += len;
  }
  buf_.erase(buf_.begin(), buf_.begin() + static_cast<std::ptrdiff_t>(used));
  assembling_ = !buf_.empty();
}

void SectionAssembler::Put(const u8* p, const Sink& sink) {
  if (p[0] != kSyncByte || (p[1] & 0x80) != 0) return;  // lost sync or transport error
  u8 afc = static_cast<u8>(p[3] >> 4 & 0x03);
  if ((afc & 0x01) == 0) return;  // no payload: the counter does not advance
  int cc = p[3] & 0x0F;
  if (last_cc_ >= 0) {
    if (cc == last_cc_) return;  // duplicate packet
    if (cc != ((last_cc_ + 1) & 0x0F)) {
      buf_.clear();
      assembling_ = false;
    }
  }
  last_cc_ = cc;
  size_t at = 4;
  if (afc == 0x03) at += 1 + static_cast<size_t>(p[4]);
  if (at >= kPacketSize) return;
  const u8* payload = p + at;
  size_t size = kPacketSize - at;
  if (p[1] & 0x40) {
    size_t pointer = payload[0];
    if (1 + pointer > size) {  // pointer beyond the packet: drop everything
      buf_.clear();
      assembling_ = false;
      return;
    }
    if (assembling_) {
      buf_.insert(buf_.end(), payload + 1, payload + 1 + pointer);
      Drain(sink);
    }
    buf_.assign(payload + 1 + pointer, payload + size);
    assembling_ = true;
    Drain(sink);
  } else if (assembling_) {
    buf_.insert(buf_.end(), payload, payload + size);
    Drain(sink);
  }
}

bool MatchSection(const u8* section, size_t size, const u8* pattern, const u8* mask, size_t length) {
  for (size_t k = 0; k < length; ++k) {
    // Bytes past the end of a short section match only where nothing is
    // compared.
    if (k >= size) {
      if (mask[k]) return false;
      continue;
    }
    if ((section[k] ^ pattern[k]) & mask[k]) return false;
  }
  return true;
}

bool SectionIntact(const u8* section, size_t size) {
  if (size < 3) return false;
  size_t len = 3 + (static_cast<size_t>(section[1] & 0x0F) << 8 | section[2]);
  if (len > size) return false;
  if ((section[1] & 0x80) == 0) return true;
  if (len < 12) return false;
  return lib13818::Crc32Mpeg(section, len) == 0;
}

}  // namespace vsim
