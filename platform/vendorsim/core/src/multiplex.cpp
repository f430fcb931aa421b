#include "vsim/multiplex.h"

#include <cstring>
#include <deque>
#include <fstream>
#include <iterator>

namespace vsim {

namespace {

// A small private section standing in for entitlement messages.
Bytes CaMessage(u8 table_id, u16 id) {
  Bytes s = {table_id, 0x70, 0x00, static_cast<u8>(id >> 8), static_cast<u8>(id)};
  for (int i = 0; i < 16; ++i) s.push_back(static_cast<u8>(i * 17 + id));
  s[2] = static_cast<u8>(s.size() - 3);
  return s;
}

}  // namespace

std::unique_ptr<Multiplex> Multiplex::Generate(const World& world, const MuxDef& mux, Clock clock) {
  std::unique_ptr<Multiplex> m(new Multiplex);
  m->generated_ = true;
  m->clock_ = std::move(clock);
  UtcInstant now = m->clock_ ? m->clock_() : UtcInstant{};

  // One queue of packets per PID, then interleaved round robin so that every
  // PID recurs evenly through the cycle.
  std::vector<std::deque<Bytes>> queues;
  auto add = [&](const Bytes& packets) {
    std::deque<Bytes> q;
    for (size_t i = 0; i < packets.size(); i += kPacketSize)
      q.emplace_back(packets.begin() + static_cast<std::ptrdiff_t>(i),
                     packets.begin() + static_cast<std::ptrdiff_t>(i + kPacketSize));
    if (!q.empty()) queues.push_back(std::move(q));
  };
  for (const TableSections& t : GenerateTables(world, mux, now)) {
    Bytes p;
    u8 cc = 0;
    PacketiseSections(t.pid, t.sections, &cc, p);
    add(p);
  }
  for (const ServiceDef& s : mux.services) {
    Bytes p;
    u8 cc = 0;
    if (s.video_pid) {
      PacketisePes(s.video_pid, 0xE0, Bytes(400, 0x00), &cc, p);
      add(p);
    }
    p.clear();
    cc = 0;
    if (s.audio_pid) {
      PacketisePes(s.audio_pid, 0xC0, Bytes(150, 0x55), &cc, p);
      add(p);
    }
    p.clear();
    cc = 0;
    if (s.teletext_pid) {
      PacketisePes(s.teletext_pid, 0xBD, Bytes(170, 0xFF), &cc, p);
      add(p);
    }
    p.clear();
    cc = 0;
    if (s.ecm_pid) {
      PacketiseSections(s.ecm_pid, {CaMessage(0x80, s.service_id)}, &cc, p);
      add(p);
      p.clear();
      cc = 0;
      PacketiseSections(0x0050, {CaMessage(0x82, s.service_id)}, &cc, p);
      add(p);
    }
  }
  // The time tables: one packet each, rewritten at every cycle start.
  Bytes tp;
  u8 cc = 0;
  PacketiseSections(0x0014, {MakeTdt(now)}, &cc, tp);
  PacketiseSections(0x0014, {MakeTot(now)}, &cc, tp);
  add(tp);

  bool any = true;
  while (any) {
    any = false;
    for (auto& q : queues) {
      if (q.empty()) continue;
      any = true;
      const Bytes& pkt = q.front();
      if (PacketPid(pkt.data()) == 0x0014) {
        if (pkt[5] == 0x70) m->tdt_at_ = m->packets_.size() / kPacketSize;
        else m->tot_at_ = m->packets_.size() / kPacketSize;
      }
      m->packets_.insert(m->packets_.end(), pkt.begin(), pkt.end());
      q.pop_front();
    }
    if (any) {
      // A null packet every round: the stream is not all tables.
      u8 null[kPacketSize] = {kSyncByte, 0x1F, 0xFF, 0x10};
      std::memset(null + 4, 0xFF, kPacketSize - 4);
      m->packets_.insert(m->packets_.end(), null, null + kPacketSize);
    }
  }
  return m;
}

std::unique_ptr<Multiplex> Multiplex::FromBytes(const Bytes& stream, std::string* error) {
  std::unique_ptr<Multiplex> m(new Multiplex);
  size_t i = 0;
  while (i + kPacketSize <= stream.size()) {
    // In sync when this byte and the next packet's first byte (if any) are
    // sync bytes.
    bool sync = stream[i] == kSyncByte &&
                (i + kPacketSize >= stream.size() || stream[i + kPacketSize] == kSyncByte);
    if (!sync) {
      ++i;
      continue;
    }
    m->packets_.insert(m->packets_.end(), stream.begin() + static_cast<std::ptrdiff_t>(i),
                       stream.begin() + static_cast<std::ptrdiff_t>(i + kPacketSize));
    i += kPacketSize;
  }
  if (m->packets_.empty()) {
    if (error) *error = "no transport-stream packets";
    return nullptr;
  }
  return m;
}

std::unique_ptr<Multiplex> Multiplex::FromFile(const std::string& path, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (error) *error = "cannot open " + path;
    return nullptr;
  }
  Bytes data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return FromBytes(data, error);
}

void Multiplex::RefreshTime() {
  if (!clock_) return;
  UtcInstant now = clock_();
  Bytes p;
  u8 cc = 0;
  PacketiseSections(0x0014, {MakeTdt(now)}, &cc, p);
  PacketiseSections(0x0014, {MakeTot(now)}, &cc, p);
  std::memcpy(&packets_[tdt_at_ * kPacketSize], &p[0], kPacketSize);
  std::memcpy(&packets_[tot_at_ * kPacketSize], &p[kPacketSize], kPacketSize);
}

void Multiplex::Next(u8* out) {
  if (cursor_ == 0 && generated_) RefreshTime();
  std::memcpy(out, &packets_[cursor_], kPacketSize);
  cursor_ += kPacketSize;
  if (cursor_ >= packets_.size()) cursor_ = 0;
  if (generated_ && PacketHasPayload(out)) {
    // Counters run on across cycles as on air.
    u16 pid = PacketPid(out);
    out[3] = static_cast<u8>((out[3] & 0xF0) | (cc_[pid] & 0x0F));
    cc_[pid] = static_cast<u8>(cc_[pid] + 1);
  }
}

}  // namespace vsim
