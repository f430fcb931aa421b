#include "vsim/si_gen.h"

#include <algorithm>
#include <map>
#include <string>

#include "lib13818/section.h"

namespace vsim {

namespace {

constexpr size_t kMaxBody = 1024 - 8 - 4;  // a whole section stays within 1024 bytes

void Put16(Bytes& b, u32 v) {
  b.push_back(static_cast<u8>(v >> 8));
  b.push_back(static_cast<u8>(v));
}
void Put32(Bytes& b, u32 v) {
  Put16(b, v >> 16);
  Put16(b, v);
}
void PutText(Bytes& b, const std::string& s) { b.insert(b.end(), s.begin(), s.end()); }
u8 ToBcd(int v) { return static_cast<u8>((v / 10 % 10) << 4 | v % 10); }

// BCD digits of `value`, `digits` long (even), most significant first.
void PutBcd(Bytes& b, u32 value, int digits) {
  Bytes tmp(static_cast<size_t>(digits / 2));
  for (int i = digits / 2 - 1; i >= 0; --i) {
    tmp[static_cast<size_t>(i)] = ToBcd(static_cast<int>(value % 100));
    value /= 100;
  }
  b.insert(b.end(), tmp.begin(), tmp.end());
}

// Vectors are sized before bytes are appended: GCC 12 at -O3 takes an insert
// behind a small braced list for a write past it (-Warray-bounds).
Bytes Desc(u8 tag, const Bytes& payload) {
  Bytes d;
  d.reserve(2 + payload.size());
  d.push_back(tag);
  d.push_back(static_cast<u8>(payload.size()));
  d.insert(d.end(), payload.begin(), payload.end());
  return d;
}

// A 12-bit length field with four reserved bits set, then the bytes.
void PutLoop(Bytes& b, const Bytes& loop, u8 high = 0xF0) {
  Put16(b, static_cast<u32>(high) << 8 | (loop.size() & 0x0FFF));
  b.insert(b.end(), loop.begin(), loop.end());
}

// `flags`: the high nibble of byte 1 (0xB0 for PSI, 0xF0 for DVB SI).
Bytes Long(u8 table_id, u16 ext, u8 section_number, u8 last_section_number, const Bytes& body,
           u8 flags = 0xF0, u8 version = 1) {
  const u8 header[] = {table_id, flags, 0, static_cast<u8>(ext >> 8), static_cast<u8>(ext),
                       static_cast<u8>(0xC1 | (version & 0x1F) << 1), section_number, last_section_number};
  Bytes s;
  s.reserve(sizeof header + body.size() + 4);
  s.assign(header, header + sizeof header);
  s.insert(s.end(), body.begin(), body.end());
  size_t len = s.size() - 3 + 4;
  s[1] = static_cast<u8>(flags | (len >> 8 & 0x0F));
  s[2] = static_cast<u8>(len);
  Put32(s, lib13818::Crc32Mpeg(s.data(), s.size()));
  return s;
}

// Cuts a list of loop items into section bodies of at most kMaxBody bytes
// each: `head` is written before the items of every body (with the loop
// length patched in when `loop_length` is set).
std::vector<Bytes> SplitBodies(const Bytes& head, const std::vector<Bytes>& items, bool loop_length) {
  std::vector<Bytes> bodies;
  Bytes cur;
  auto open = [&] {
    cur = head;
    if (loop_length) Put16(cur, 0xF000);
  };
  auto close = [&] {
    if (loop_length) {
      size_t n = cur.size() - head.size() - 2;
      cur[head.size()] = static_cast<u8>(0xF0 | (n >> 8 & 0x0F));
      cur[head.size() + 1] = static_cast<u8>(n);
    }
    bodies.push_back(cur);
  };
  open();
  size_t base = cur.size();
  for (const Bytes& item : items) {
    if (cur.size() + item.size() > kMaxBody && cur.size() > base) {
      close();
      open();
    }
    cur.insert(cur.end(), item.begin(), item.end());
  }
  close();
  return bodies;
}

std::vector<Bytes> NumberedSections(u8 table_id, u16 ext, const std::vector<Bytes>& bodies, u8 flags = 0xF0) {
  std::vector<Bytes> out;
  u8 last = static_cast<u8>(bodies.size() - 1);
  for (size_t i = 0; i < bodies.size(); ++i)
    out.push_back(Long(table_id, ext, static_cast<u8>(i), last, bodies[i], flags));
  return out;
}

Bytes DeliveryDescriptor(const MuxDef& m, const World& w) {
  Bytes p;
  switch (m.medium) {
    case Medium::Satellite: {
      const SatelliteDef* sat = nullptr;
      for (const SatelliteDef& s : w.satellites)
        for (const MuxDef& t : s.transponders)
          if (&t == &m) sat = &s;
      PutBcd(p, m.frequency_khz / 10, 8);  // 10 kHz units
      PutBcd(p, sat ? sat->orbital_position : 0, 4);
      u8 pol = m.polarization == 'V' ? 1 : m.polarization == 'L' ? 2 : m.polarization == 'R' ? 3 : 0;
      p.push_back(static_cast<u8>((sat && !sat->east ? 0 : 0x80) | pol << 5 | 0x01));  // DVB-S QPSK
      // Seven BCD digits of the symbol rate in 100 symbol/s, then FEC_inner.
      Bytes s7;
      PutBcd(s7, m.symbol_rate / 100 * 10, 8);
      s7[3] = static_cast<u8>((s7[3] & 0xF0) | (m.fec_inner & 0x0F));
      p.insert(p.end(), s7.begin(), s7.end());
      return Desc(0x43, p);
    }
    case Medium::Cable: {
      PutBcd(p, m.frequency_khz * 10, 8);  // 100 Hz units
      Put16(p, 0xFFF2);                    // reserved, FEC_outer RS(204/188)
      p.push_back(m.modulation);
      Bytes s7;
      PutBcd(s7, m.symbol_rate / 100 * 10, 8);
      s7[3] = static_cast<u8>((s7[3] & 0xF0) | (m.fec_inner & 0x0F));
      p.insert(p.end(), s7.begin(), s7.end());
      return Desc(0x44, p);
    }
    case Medium::Terrestrial:
    default:
      Put32(p, m.frequency_khz * 100);  // 10 Hz units
      p.push_back(static_cast<u8>(m.bandwidth << 5 | 0x1F));
      p.push_back(0x82);  // 64-QAM, non-hierarchical, HP 2/3
      p.push_back(0x02);  // LP 1/2, guard 1/32, 8k, no other frequencies
      Put32(p, 0xFFFFFFFF);
      return Desc(0x5A, p);
  }
}

Bytes ServiceList(const MuxDef& m) {
  Bytes p;
  for (const ServiceDef& s : m.services) {
    Put16(p, s.service_id);
    p.push_back(s.service_type);
  }
  return Desc(0x41, p);
}

Bytes TsLoopItem(const MuxDef& m, const World& w, bool delivery) {
  Bytes descs = ServiceList(m);
  if (delivery) {
    Bytes d = DeliveryDescriptor(m, w);
    descs.insert(descs.begin(), d.begin(), d.end());
  }
  Bytes item;
  Put16(item, m.transport_stream_id);
  Put16(item, m.original_network_id);
  PutLoop(item, descs);
  return item;
}

std::vector<Bytes> Nit(const World& w, u8 table_id, u16 network_id, const std::vector<const MuxDef*>& muxes) {
  Bytes head;
  PutLoop(head, Desc(0x40, Bytes(w.NetworkName(network_id).begin(), w.NetworkName(network_id).end())));
  std::vector<Bytes> items;
  for (const MuxDef* m : muxes)
    if (m->network_id == network_id) items.push_back(TsLoopItem(*m, w, true));
  return NumberedSections(table_id, network_id, SplitBodies(head, items, true));
}

std::vector<Bytes> Sdt(u8 table_id, const MuxDef& m) {
  Bytes head;
  Put16(head, m.original_network_id);
  head.push_back(0xFF);
  std::vector<Bytes> items;
  for (const ServiceDef& s : m.services) {
    Bytes d = {s.service_type, static_cast<u8>(s.provider.size())};
    PutText(d, s.provider);
    d.push_back(static_cast<u8>(s.name.size()));
    PutText(d, s.name);
    Bytes descs = Desc(0x48, d);
    if (s.ca_system_id) {
      Bytes ca;
      Put16(ca, s.ca_system_id);
      Bytes cad = Desc(0x53, ca);
      descs.insert(descs.end(), cad.begin(), cad.end());
    }
    Bytes item;
    Put16(item, s.service_id);
    item.push_back(0xFF);  // reserved, EIT schedule and present/following flags set
    Put16(item, 0x8000 | (s.ca_system_id ? 0x1000 : 0) | (descs.size() & 0x0FFF));  // running
    item.insert(item.end(), descs.begin(), descs.end());
    items.push_back(item);
  }
  return NumberedSections(table_id, m.transport_stream_id, SplitBodies(head, items, false));
}

struct Event {
  u16 event_id;
  long long start;  // epoch seconds
  int duration;     // seconds
  u8 running;
};

Bytes EventItem(const Event& e, const ServiceDef& s, const MuxDef& m) {
  std::string title = s.name + " programme " + std::to_string(e.event_id);
  std::string text = "Generated event on " + std::to_string(m.transport_stream_id) + ".";
  Bytes se = {'e', 'n', 'g', static_cast<u8>(title.size())};
  PutText(se, title);
  se.push_back(static_cast<u8>(text.size()));
  PutText(se, text);
  Bytes descs = Desc(0x4D, se);
  Bytes content = Desc(0x54, {static_cast<u8>(0x10 + (e.event_id % 8) * 0x10 % 0xB0), 0x00});
  descs.insert(descs.end(), content.begin(), content.end());
  Bytes item;
  Put16(item, e.event_id);
  u8 t[5];
  EncodeMjdUtc(FromEpochSeconds(e.start), t);
  item.insert(item.end(), t, t + 5);
  item.push_back(ToBcd(e.duration / 3600));
  item.push_back(ToBcd(e.duration / 60 % 60));
  item.push_back(ToBcd(e.duration % 60));
  Put16(item, static_cast<u32>(e.running) << 13 | (s.ca_system_id ? 0x1000 : 0) | (descs.size() & 0x0FFF));
  item.insert(item.end(), descs.begin(), descs.end());
  return item;
}

Bytes EitSection(u8 table_id, const ServiceDef& s, const MuxDef& m, u8 sn, u8 lsn, u8 seg_last, u8 last_tid,
                 const std::vector<Bytes>& events) {
  Bytes body;
  Put16(body, m.transport_stream_id);
  Put16(body, m.original_network_id);
  body.push_back(seg_last);
  body.push_back(last_tid);
  for (const Bytes& e : events) body.insert(body.end(), e.begin(), e.end());
  return Long(table_id, s.service_id, sn, lsn, body);
}

constexpr int kEventsPerService = 24;  // one day of one-hour events

// The EIT sections of a multiplex's services: those a multiplexer sends
// often (present/following, and the first section of each schedule segment
// when `split`) and the others.
struct EitSections {
  std::vector<Bytes> often, rest;
};

// Present/following (table 0x4E or 0x4F) and schedule (0x50 or 0x60) of one
// multiplex's services.  The schedule has one section per three-hour segment
// from today's midnight on, empty segments included; with `split` every
// event has a section of its own instead (a segment's sections numbered
// from its first on, an empty segment one empty section).  Without `split`
// every section goes to `often`, service by service.
void Eit(const MuxDef& m, long long hour0, bool actual, bool split, EitSections& out) {
  u8 pf = actual ? 0x4E : 0x4F;
  u8 sched = actual ? 0x50 : 0x60;
  long long midnight = hour0 - hour0 % 86400;
  for (const ServiceDef& s : m.services) {
    std::vector<Event> ev;
    for (int k = 0; k < kEventsPerService; ++k)
      ev.push_back({static_cast<u16>(0x100 + k), hour0 + 3600LL * k, 3600, static_cast<u8>(k == 0 ? 4 : 1)});
    out.often.push_back(EitSection(pf, s, m, 0, 1, 1, pf, {EventItem(ev[0], s, m)}));
    out.often.push_back(EitSection(pf, s, m, 1, 1, 1, pf, {EventItem(ev[1], s, m)}));
    std::map<int, std::vector<Bytes>> segments;
    int last_segment = 0;
    for (const Event& e : ev) {
      int seg = static_cast<int>((e.start - midnight) / (3 * 3600));
      if (seg > 31) break;  // table 0x50 covers four days
      segments[seg].push_back(EventItem(e, s, m));
      last_segment = seg;
    }
    // A segment holds at most three one-hour events.
    auto sections_of = [&](int seg) { return split ? std::max<size_t>(1, segments[seg].size()) : 1; };
    const u8 lsn = static_cast<u8>(last_segment * 8 + sections_of(last_segment) - 1);
    for (int seg = 0; seg <= last_segment; ++seg) {
      const u8 first = static_cast<u8>(seg * 8);
      const size_t n = sections_of(seg);
      const u8 seg_last = static_cast<u8>(first + n - 1);
      if (n == 1) {
        out.often.push_back(EitSection(sched, s, m, first, lsn, seg_last, sched, segments[seg]));
        continue;
      }
      for (size_t i = 0; i < n; ++i)
        (i == 0 ? out.often : out.rest)
            .push_back(EitSection(sched, s, m, static_cast<u8>(first + i), lsn, seg_last, sched,
                                  {segments[seg][i]}));
    }
  }
}

Bytes EsItem(u8 type, u16 pid, const Bytes& descs) {
  Bytes item = {type};
  Put16(item, 0xE000 | pid);
  PutLoop(item, descs);
  return item;
}

}  // namespace

long long ToEpochSeconds(const UtcInstant& t) {
  // Days from civil (proleptic Gregorian).
  int y = t.year - (t.month <= 2 ? 1 : 0);
  int era = (y >= 0 ? y : y - 399) / 400;
  int yoe = y - era * 400;
  int mp = (t.month + 9) % 12;
  int doy = (153 * mp + 2) / 5 + t.day - 1;
  int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  long long days = static_cast<long long>(era) * 146097 + doe - 719468;
  return days * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

UtcInstant FromEpochSeconds(long long s) {
  long long days = s / 86400;
  long long rem = s % 86400;
  if (rem < 0) {
    rem += 86400;
    --days;
  }
  days += 719468;
  long long era = (days >= 0 ? days : days - 146096) / 146097;
  long long doe = days - era * 146097;
  long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  long long y = yoe + era * 400;
  long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  long long mp = (5 * doy + 2) / 153;
  UtcInstant t;
  t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  t.year = static_cast<int>(y + (t.month <= 2 ? 1 : 0));
  t.hour = static_cast<int>(rem / 3600);
  t.minute = static_cast<int>(rem / 60 % 60);
  t.second = static_cast<int>(rem % 60);
  return t;
}

void EncodeMjdUtc(const UtcInstant& t, u8 out[5]) {
  long long days = ToEpochSeconds({t.year, t.month, t.day, 0, 0, 0}) / 86400;
  u32 mjd = static_cast<u32>(days + 40587);
  out[0] = static_cast<u8>(mjd >> 8);
  out[1] = static_cast<u8>(mjd);
  out[2] = ToBcd(t.hour);
  out[3] = ToBcd(t.minute);
  out[4] = ToBcd(t.second);
}

Bytes MakeTdt(const UtcInstant& now) {
  Bytes s = {0x70, 0x70, 0x05};
  s.reserve(8);
  u8 t[5];
  EncodeMjdUtc(now, t);
  s.insert(s.end(), t, t + 5);
  return s;
}

Bytes MakeTot(const UtcInstant& now) {
  Bytes s = {0x73, 0x70, 0x00};
  s.reserve(64);
  u8 t[5];
  EncodeMjdUtc(now, t);
  s.insert(s.end(), t, t + 5);
  // Local time offset: +01:00 in the country "DEU", changing to +02:00 at
  // the next full day.
  Bytes lto = {'D', 'E', 'U', 0x02, 0x01, 0x00};
  long long change = ToEpochSeconds(now) / 86400 * 86400 + 86400;
  EncodeMjdUtc(FromEpochSeconds(change), t);
  lto.insert(lto.end(), t, t + 5);
  lto.push_back(0x02);
  lto.push_back(0x00);
  PutLoop(s, Desc(0x58, lto));
  size_t len = s.size() - 3 + 4;
  s[1] = static_cast<u8>(0x70 | (len >> 8 & 0x0F));
  s[2] = static_cast<u8>(len);
  Put32(s, lib13818::Crc32Mpeg(s.data(), s.size()));
  return s;
}

std::vector<TableSections> GenerateTables(const World& w, const MuxDef& mux, const UtcInstant& now) {
  std::vector<TableSections> out;
  long long hour0 = ToEpochSeconds(now) / 3600 * 3600;

  // PAT (program 0 names the NIT PID).
  Bytes pat;
  Put16(pat, 0);
  Put16(pat, 0xE010);
  for (const ServiceDef& s : mux.services) {
    Put16(pat, s.service_id);
    Put16(pat, 0xE000 | s.pmt_pid);
  }
  out.push_back({0x0000, {Long(0x00, mux.transport_stream_id, 0, 0, pat, 0xB0)}});

  // CAT: one EMM stream when any service is scrambled.
  Bytes cat;
  for (const ServiceDef& s : mux.services) {
    if (s.ca_system_id) {
      Bytes ca;
      Put16(ca, s.ca_system_id);
      Put16(ca, 0xE000 | 0x0050);
      cat = Desc(0x09, ca);
      break;
    }
  }
  out.push_back({0x0001, {Long(0x01, 0xFFFF, 0, 0, cat, 0xB0)}});

  // PMTs.
  for (const ServiceDef& s : mux.services) {
    Bytes prog;
    if (s.ca_system_id) {
      Bytes ca;
      Put16(ca, s.ca_system_id);
      Put16(ca, 0xE000 | s.ecm_pid);
      prog = Desc(0x09, ca);
    }
    Bytes body;
    u16 pcr = s.video_pid ? s.video_pid : s.audio_pid;
    Put16(body, 0xE000 | pcr);
    PutLoop(body, prog);
    if (s.video_pid) {
      Bytes body_v = EsItem(0x02, s.video_pid, Desc(0x52, {0x01}));
      body.insert(body.end(), body_v.begin(), body_v.end());
    }
    if (s.audio_pid) {
      Bytes d = Desc(0x0A, {'e', 'n', 'g', 0x00});
      Bytes tag = Desc(0x52, {0x02});
      d.insert(d.end(), tag.begin(), tag.end());
      Bytes a = EsItem(0x03, s.audio_pid, d);
      body.insert(body.end(), a.begin(), a.end());
    }
    if (s.teletext_pid) {
      Bytes t = EsItem(0x06, s.teletext_pid, Desc(0x56, {'e', 'n', 'g', 0x09, 0x00}));
      body.insert(body.end(), t.begin(), t.end());
    }
    out.push_back({s.pmt_pid, {Long(0x02, s.service_id, 0, 0, body, 0xB0)}});
  }

  // NIT actual and other on PID 0x0010.
  std::vector<const MuxDef*> same = w.Muxes(mux.medium);
  TableSections nit{0x0010, Nit(w, 0x40, mux.network_id, same)};
  std::vector<u16> others;
  for (const MuxDef* m : same) {
    bool known = m->network_id == mux.network_id;
    for (u16 o : others) known = known || o == m->network_id;
    if (!known) others.push_back(m->network_id);
  }
  for (u16 o : others) {
    std::vector<Bytes> s = Nit(w, 0x41, o, same);
    nit.sections.insert(nit.sections.end(), s.begin(), s.end());
  }
  out.push_back(nit);

  // SDT actual and other, BAT on PID 0x0011.
  TableSections sdt{0x0011, Sdt(0x42, mux)};
  for (const MuxDef* m : same) {
    if (m == &mux || (m->transport_stream_id == mux.transport_stream_id &&
                      m->original_network_id == mux.original_network_id))
      continue;
    std::vector<Bytes> s = Sdt(0x46, *m);
    sdt.sections.insert(sdt.sections.end(), s.begin(), s.end());
  }
  {
    Bytes head;
    PutLoop(head, Desc(0x47, Bytes(w.bouquet_name.begin(), w.bouquet_name.end())));
    std::vector<Bytes> items;
    for (const MuxDef* m : same) items.push_back(TsLoopItem(*m, w, false));
    std::vector<Bytes> bat = NumberedSections(0x4A, w.bouquet_id, SplitBodies(head, items, true));
    sdt.sections.insert(sdt.sections.end(), bat.begin(), bat.end());
  }
  out.push_back(sdt);

  // EIT on PID 0x0012: this multiplex (actual) and the other multiplexes of
  // its network (other).
  TableSections eit{0x0012, {}};
  const bool split = mux.eit_repeat > 1;
  EitSections sections;
  Eit(mux, hour0, true, split, sections);
  for (const MuxDef* m : same) {
    if (m == &mux || m->network_id != mux.network_id) continue;
    Eit(*m, hour0, false, split, sections);
  }
  // A cycle of eit_repeat rounds: each round sends all the frequent
  // sections and its share of the others.
  const size_t rounds = split ? mux.eit_repeat : 1;
  const size_t rest = sections.rest.size();
  for (size_t r = 0; r < rounds; ++r) {
    eit.sections.insert(eit.sections.end(), sections.often.begin(), sections.often.end());
    for (size_t i = r * rest / rounds; i < (r + 1) * rest / rounds; ++i) eit.sections.push_back(sections.rest[i]);
  }
  out.push_back(eit);

  // RST on PID 0x0013: the running status of every service's present event.
  Bytes rst = {0x71, 0x70, 0x00};
  for (const ServiceDef& s : mux.services) {
    Put16(rst, mux.transport_stream_id);
    Put16(rst, mux.original_network_id);
    Put16(rst, s.service_id);
    Put16(rst, 0x100);
    rst.push_back(0xFC);  // running
  }
  rst[1] = static_cast<u8>(0x70 | ((rst.size() - 3) >> 8 & 0x0F));
  rst[2] = static_cast<u8>(rst.size() - 3);
  out.push_back({0x0013, {rst}});
  return out;
}

}  // namespace vsim
