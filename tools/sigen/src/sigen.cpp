#include "sigen/sigen.h"

#include <functional>

#include "section_builder.h"

namespace sigen {

namespace {

using u8 = std::uint8_t;
using u16 = std::uint16_t;
using u32 = std::uint32_t;
using testing_support::SectionBuilder;

constexpr u16 kPatPid = 0x0000, kCatPid = 0x0001, kNitPid = 0x0010, kSdtBatPid = 0x0011,
              kEitPid = 0x0012, kRstPid = 0x0013;
constexpr u8 kPsiFlags = 0xB;  // syntax bit, private 0, reserved 11
constexpr u8 kSiFlags = 0xF;   // syntax bit, reserved_future_use 1, reserved 11
constexpr size_t kMaxSi = 1024;
constexpr size_t kMaxEit = 4096;

// --- byte helpers ----------------------------------------------------------------

void Put8(Bytes& b, u32 v) { b.push_back(static_cast<u8>(v)); }
void Put16(Bytes& b, u32 v) {
  Put8(b, v >> 8);
  Put8(b, v);
}
void Put24(Bytes& b, u32 v) {
  Put8(b, v >> 16);
  Put16(b, v);
}
void Put32(Bytes& b, u32 v) {
  Put16(b, v >> 16);
  Put16(b, v);
}
void PutText(Bytes& b, const std::string& s) { b.insert(b.end(), s.begin(), s.end()); }
void PutBytes(Bytes& b, const Bytes& more) { b.insert(b.end(), more.begin(), more.end()); }
// A text preceded by its length byte.
void PutPrefixed(Bytes& b, const std::string& s) {
  Put8(b, static_cast<u32>(s.size()));
  PutText(b, s);
}
u8 Bcd(int v) { return static_cast<u8>((v / 10 % 10) << 4 | v % 10); }
// `value` as `digits` BCD digits (even), most significant first.
void PutBcd(Bytes& b, u32 value, int digits) {
  Bytes tmp(static_cast<size_t>(digits / 2));
  for (int i = digits / 2 - 1; i >= 0; --i) {
    tmp[static_cast<size_t>(i)] = Bcd(static_cast<int>(value % 100));
    value /= 100;
  }
  PutBytes(b, tmp);
}

Bytes D(u8 tag, const Bytes& payload) {
  Bytes d{tag, static_cast<u8>(payload.size())};
  PutBytes(d, payload);
  return d;
}
Bytes TextD(u8 tag, const std::string& s) { return D(tag, Bytes(s.begin(), s.end())); }

// A 12-bit length field with the four reserved bits set, then the bytes.
void PutLoop(Bytes& b, const Bytes& loop) {
  Put16(b, 0xF000 | (loop.size() & 0x0FFF));
  PutBytes(b, loop);
}

// A small deterministic generator.
class Rng {
 public:
  explicit Rng(u32 seed) : s_(seed * 2654435761u + 1) {}
  u32 Next() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 17;
    s_ ^= s_ << 5;
    return s_;
  }
  u32 Below(u32 n) { return Next() % n; }

 private:
  u32 s_;
};

// --- time ----------------------------------------------------------------------------

// Days since 1970-01-01 of a civil date.
long DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

struct Instant {
  long mjd;
  int hour, minute, second;
};

Instant At(const Config& c, long seconds) {
  long total = (DaysFromCivil(c.year, c.month, c.day) + 40587) * 86400 + c.hour * 3600L +
               c.minute * 60L + c.second + seconds;
  Instant t;
  t.mjd = total / 86400;
  long rest = total % 86400;
  t.hour = static_cast<int>(rest / 3600);
  t.minute = static_cast<int>(rest / 60 % 60);
  t.second = static_cast<int>(rest % 60);
  return t;
}

void PutTime(Bytes& b, const Instant& t) {
  Put16(b, static_cast<u32>(t.mjd));
  Put8(b, Bcd(t.hour));
  Put8(b, Bcd(t.minute));
  Put8(b, Bcd(t.second));
}

void PutDuration(Bytes& b, long seconds) {
  Put8(b, Bcd(static_cast<int>(seconds / 3600 % 100)));
  Put8(b, Bcd(static_cast<int>(seconds / 60 % 60)));
  Put8(b, Bcd(static_cast<int>(seconds % 60)));
}

// --- sections -------------------------------------------------------------------------

// The long sections of one table.  `head(section_number, last_section_number)`
// gives the bytes that every body starts with; with `loopLength` a 12-bit
// loop length field precedes the items of each section.  Items are spread
// over as many sections as it takes to keep each within `maxSize` bytes.
std::vector<Bytes> LongTable(u8 table_id, u16 ext, u8 version, u8 flags,
                             const std::function<Bytes(int, int)>& head, bool loopLength,
                             const std::vector<Bytes>& items, size_t maxSize) {
  const size_t overhead = 8 + head(0, 0).size() + (loopLength ? 2 : 0) + 4;
  std::vector<std::vector<const Bytes*>> groups(1);
  size_t size = overhead;
  for (const Bytes& item : items) {
    if (size + item.size() > maxSize && !groups.back().empty()) {
      groups.emplace_back();
      size = overhead;
    }
    groups.back().push_back(&item);
    size += item.size();
  }
  const int last = static_cast<int>(groups.size()) - 1;
  std::vector<Bytes> sections;
  for (int i = 0; i <= last; ++i) {
    SectionBuilder s = SectionBuilder::Long(table_id, ext, version, static_cast<u8>(i),
                                            static_cast<u8>(last), flags);
    s.Raw(head(i, last));
    if (loopLength) s.BeginLoop();
    for (const Bytes* item : groups[static_cast<size_t>(i)]) s.Raw(*item);
    if (loopLength) s.EndLoop();
    sections.push_back(s.Build());
  }
  return sections;
}

std::function<Bytes(int, int)> Fixed(const Bytes& head) {
  return [head](int, int) { return head; };
}

// --- the multiplex's model ---------------------------------------------------------------

struct Service {
  u16 id = 0;
  u8 type = 1;
  std::string provider, name;
  bool scrambled = false;
  u16 pmtPid = 0, videoPid = 0;
};

struct Stream {
  u16 tsid = 0;
  int kind = 0;  // 0 satellite, 1 cable, 2 terrestrial
  std::vector<Service> services;
};

const u8 kServiceTypes[] = {0x01, 0x02, 0x19, 0x0C, 0x01, 0x04, 0x05, 0x16, 0x02, 0x0A};

std::vector<Stream> Model(const Config& c) {
  std::vector<Stream> streams;
  for (int k = 0; k <= c.otherTransportStreams; ++k) {
    Stream st;
    st.tsid = static_cast<u16>(c.transport_stream_id + k);
    st.kind = k % 3;
    const int n = k == 0 ? c.services : c.servicesPerOtherStream;
    for (int i = 0; i < n; ++i) {
      Service s;
      s.id = static_cast<u16>((k == 0 ? 0x1000 : 0x2000 + k * 0x100) + i);
      s.type = kServiceTypes[static_cast<size_t>(i) % sizeof(kServiceTypes)];
      s.provider = i % 2 ? "Orbit Media" : "\x05Kanal Grupp";  // with a character-table byte
      s.name = "Service " + std::to_string(k) + "." + std::to_string(i);
      s.scrambled = i % 3 == 1;
      s.pmtPid = static_cast<u16>(0x0100 + i);
      s.videoPid = static_cast<u16>(0x0200 + i * 0x10);
      st.services.push_back(s);
    }
    streams.push_back(st);
  }
  return streams;
}

// --- descriptors ----------------------------------------------------------------------

Bytes SatelliteDelivery(int k) {
  Bytes p;
  PutBcd(p, 1174300 + 2000 * static_cast<u32>(k), 8);  // 11.74300 GHz
  PutBcd(p, 192, 4);                                   // 19.2
  Put8(p, 0x80 | (k & 1) << 5 | 0x01);                 // east, H or V, QPSK
  PutBcd(p, 275000 * 10 + 3, 8);                       // 027.5000 Msym/s, FEC 3/4
  return D(0x43, p);
}

Bytes CableDelivery(int k) {
  Bytes p;
  PutBcd(p, 3460000 + 80000 * static_cast<u32>(k), 8);  // 346.0000 MHz
  Put16(p, 0xFFF2);                                     // FEC outer RS
  Put8(p, 0x03);                                        // 64-QAM
  PutBcd(p, 69000 * 10, 8);                             // 006.9000 Msym/s ...
  p.back() |= 0x0F;                                     // ... no inner FEC
  return D(0x44, p);
}

Bytes TerrestrialDelivery(int k) {
  Bytes p;
  Put32(p, 47400000 + 800000 * static_cast<u32>(k));  // 474 MHz in 10 Hz units
  Put8(p, 0x1F);                                      // 8 MHz
  Put8(p, 0x92);                                      // 64-QAM, non-hierarchical, HP 2/3
  Put8(p, 0x4A);                                      // LP 2/3, guard 1/8, 8k, no other frequency
  Put32(p, 0xFFFFFFFF);
  return D(0x5A, p);
}

Bytes ServiceList(const Stream& st) {
  Bytes p;
  for (const Service& s : st.services) {
    Put16(p, s.id);
    Put8(p, s.type);
  }
  return D(0x41, p);
}

Bytes Lcn(const Stream& st, int base) {
  Bytes p;
  int n = base;
  for (const Service& s : st.services) {
    Put16(p, s.id);
    Put16(p, 0xFC00 | static_cast<u32>(n++));
  }
  return D(0x83, p);
}

Bytes CellList() {
  Bytes p;
  Put16(p, 0x0001);                 // cell_id
  Put16(p, 0x2000);                 // latitude
  Put16(p, 0x0400);                 // longitude
  Put24(p, 0x010020);               // extents
  Bytes sub;
  Put8(sub, 0x01);
  Put16(sub, 0x2001);
  Put16(sub, 0x0401);
  Put24(sub, 0x001001);
  Put8(p, static_cast<u32>(sub.size()));
  PutBytes(p, sub);
  return D(0x6C, p);
}

Bytes CellFrequencyLink(int k) {
  Bytes p;
  Put16(p, 0x0001);
  Put32(p, 47400000 + 800000 * static_cast<u32>(k));
  Bytes sub;
  Put8(sub, 0x01);
  Put32(sub, 48200000);
  Put8(p, static_cast<u32>(sub.size()));
  PutBytes(p, sub);
  return D(0x6D, p);
}

Bytes FrequencyList(int k) {
  Bytes p{0xFF};  // reserved, coding_type 3 (terrestrial)
  for (u32 f = 0; f < 3; ++f) Put32(p, 47400000 + 800000 * static_cast<u32>(k) + 8000000 * f);
  return D(0x62, p);
}

Bytes MultilingualNames(u8 tag, const std::string& name) {
  Bytes p;
  for (const char* lang : {"eng", "deu"}) {
    PutText(p, lang);
    PutPrefixed(p, name + " (" + lang + ")");
  }
  return D(tag, p);
}

Bytes Linkage(u16 tsid, u16 onid, u16 sid, u8 type, const Bytes& priv = {}) {
  Bytes p;
  Put16(p, tsid);
  Put16(p, onid);
  Put16(p, sid);
  Put8(p, type);
  PutBytes(p, priv);
  return D(0x4A, p);
}

Bytes Ca(u16 system, u16 pid, const Bytes& priv = {}) {
  Bytes p;
  Put16(p, system);
  Put16(p, 0xE000 | pid);
  PutBytes(p, priv);
  return D(0x09, p);
}

Bytes PrivateDataSpecifier() {
  Bytes p;
  Put32(p, 0x00000028);
  return D(0x5F, p);
}

Bytes CountryAvailability(bool available) {
  Bytes p{static_cast<u8>(available ? 0xFF : 0x7F)};
  PutText(p, "DNKSWENOR");
  return D(0x49, p);
}

// --- PSI -------------------------------------------------------------------------------

Table Pat(const Config& c, const Stream& st) {
  Bytes body;
  Put16(body, 0x0000);
  Put16(body, 0xE000 | kNitPid);
  for (const Service& s : st.services) {
    Put16(body, s.id);
    Put16(body, 0xE000 | s.pmtPid);
  }
  Table t{"PAT", kPatPid, {}};
  t.sections.push_back(
      SectionBuilder::Long(0x00, c.transport_stream_id, 3, 0, 0, kPsiFlags).Raw(body).Build());
  return t;
}

Table Cat() {
  Bytes loop;
  PutBytes(loop, Ca(0x0604, 0x1600));
  PutBytes(loop, Ca(0x0500, 0x1601, {0x01, 0x02, 0x03, 0x04, 0x05}));
  Table t{"CAT", kCatPid, {}};
  t.sections.push_back(SectionBuilder::Long(0x01, 0xFFFF, 1, 0, 0, kPsiFlags).Raw(loop).Build());
  return t;
}

// The MPEG-2 descriptors of one program's streams, spread over the programs
// so that every kind turns up.
Bytes ProgramInfo(const Service& s, int i) {
  Bytes loop;
  if (s.scrambled) PutBytes(loop, Ca(0x0604, static_cast<u16>(0x1500 + i), {0xAB}));
  Bytes mb;
  Put24(mb, 0xC00000 | 15000);  // maximum_bitrate, 50 bytes/s units
  PutBytes(loop, D(0x0E, mb));
  switch (i % 6) {
    case 0: {
      Bytes r;
      PutText(r, "HDMV");
      Put8(r, 0xFF);
      PutBytes(loop, D(0x05, r));  // registration
      break;
    }
    case 1: {
      Bytes m;
      Put16(m, 0x8000 | 0x0100);  // bound_valid, LTW offset lower bound
      Put16(m, 0x8000 | 0x0200);
      PutBytes(loop, D(0x0C, m));  // multiplex buffer utilization
      break;
    }
    case 2:
      PutBytes(loop, D(0x0B, {0x85, 0x42}));  // system clock
      break;
    case 3: {
      Bytes sb;
      Put24(sb, 0xC00000 | 1000);
      Put24(sb, 0xC00000 | 2000);
      PutBytes(loop, D(0x10, sb));  // smoothing buffer
      break;
    }
    case 4: {
      Bytes cp;
      PutText(cp, "CPRT");
      Put8(cp, 0x01);
      PutBytes(loop, D(0x0D, cp));  // copyright
      break;
    }
    default: {
      Bytes pd;
      Put32(pd, 0x12345678);
      PutBytes(loop, D(0x0F, pd));  // private data indicator
      break;
    }
  }
  return loop;
}

struct Es {
  u8 type;
  u16 pid;
  Bytes descriptors;
};

std::vector<Es> Streams(const Service& s, int i, bool withAit) {
  std::vector<Es> es;
  const u8 tag = static_cast<u8>(i * 8);
  // Video: MPEG-2 with its MPEG descriptors.
  Bytes v;
  PutBytes(v, D(0x02, {0x1A, 0x48, 0x5F}));        // frame rate 3, not MPEG-1 only: three bytes
  PutBytes(v, D(0x52, {tag}));                     // stream identifier
  PutBytes(v, D(0x04, {0xF1, 0xC0, 0xC1, 0xC0}));  // hierarchy
  PutBytes(v, D(0x06, {0x02}));                    // data stream alignment
  PutBytes(v, D(0x07, {0x0B, 0x42, 0xD0, 0x03}));  // target background grid
  PutBytes(v, D(0x08, {0x00, 0x10, 0x00, 0x21}));  // video window
  PutBytes(v, D(0x11, {0xFF}));                    // STD
  PutBytes(v, D(0x12, {0x80, 0x0C}));              // IBP
  PutBytes(v, D(0x70, {0x01}));                    // adaptation field data
  es.push_back({0x02, s.videoPid, v});
  // MPEG audio in two languages.
  Bytes a;
  PutBytes(a, D(0x03, {0x58}));
  PutBytes(a, D(0x0A, {'d', 'a', 'n', 0x00, 'e', 'n', 'g', 0x03}));
  PutBytes(a, D(0x52, {static_cast<u8>(tag + 1)}));
  PutBytes(a, D(0x6B, {0x01}));  // ancillary data
  es.push_back({0x03, static_cast<u16>(s.videoPid + 1), a});
  // AC-3 audio.
  Bytes ac3;
  PutBytes(ac3, D(0x6A, {0xC0, 0x42, 0x05}));  // component type and bsid
  PutBytes(ac3, D(0x0A, {'e', 'n', 'g', 0x00}));
  es.push_back({0x06, static_cast<u16>(s.videoPid + 2), ac3});
  // Teletext with VBI data.
  Bytes tt;
  PutBytes(tt, D(0x56, {'d', 'a', 'n', 0x09, 0x00, 'e', 'n', 'g', 0x11, 0x88}));
  PutBytes(tt, D(0x46, {'d', 'a', 'n', 0x09, 0x00}));
  PutBytes(tt, D(0x45, {0x02, 0x02, 0xF7, 0xD7, 0x07, 0x01, 0xFF}));
  es.push_back({0x06, static_cast<u16>(s.videoPid + 3), tt});
  // DVB subtitles.
  Bytes sub;
  PutBytes(sub, D(0x59, {'d', 'a', 'n', 0x10, 0x00, 0x01, 0x00, 0x02,  //
                         'f', 'i', 'n', 0x20, 0x00, 0x03, 0x00, 0x03}));
  es.push_back({0x06, static_cast<u16>(s.videoPid + 4), sub});
  // A data carousel, and tags without a class of their own.
  Bytes data;
  PutBytes(data, D(0x66, {0x00, 0x06, 0x01, 0x02}));
  PutBytes(data, D(0x52, {static_cast<u8>(tag + 5)}));
  PutBytes(data, D(0x20, {0x01, 0x02}));
  PutBytes(data, D(0xE0, {0x03}));
  es.push_back({0x0B, static_cast<u16>(s.videoPid + 5), data});
  if (withAit) {
    Bytes ait;
    PutBytes(ait, D(0x6F, {0x00, 0x10, 0xE1, 0x00, 0x01, 0xE1}));  // application signalling
    es.push_back({0x05, static_cast<u16>(s.videoPid + 6), ait});
  }
  return es;
}

Table Pmt(const Service& s, int i) {
  Bytes body;
  Put16(body, 0xE000 | s.videoPid);
  PutLoop(body, ProgramInfo(s, i));
  for (const Es& e : Streams(s, i, i == 0)) {
    Put8(body, e.type);
    Put16(body, 0xE000 | e.pid);
    PutLoop(body, e.descriptors);
  }
  Table t{"PMT " + std::to_string(s.id), s.pmtPid, {}};
  t.sections.push_back(SectionBuilder::Long(0x02, s.id, 1, 0, 0, kPsiFlags).Raw(body).Build());
  return t;
}

// --- NIT and BAT ------------------------------------------------------------------

Bytes TransportDescriptors(const Stream& st, int k, bool forNit) {
  Bytes d;
  if (forNit) {
    if (st.kind == 0) PutBytes(d, SatelliteDelivery(k));
    if (st.kind == 1) PutBytes(d, CableDelivery(k));
    if (st.kind == 2) {
      PutBytes(d, TerrestrialDelivery(k));
      PutBytes(d, FrequencyList(k));
      PutBytes(d, CellList());
      PutBytes(d, CellFrequencyLink(k));
    }
  }
  PutBytes(d, ServiceList(st));
  PutBytes(d, PrivateDataSpecifier());
  PutBytes(d, Lcn(st, 1 + 10 * k));
  if (k == 1) PutBytes(d, Ca(0x0604, 0x1610));  // a CA descriptor in an entry: the entry's own list
  if (k == 0 && forNit) PutBytes(d, TextD(0x67, "DVB"));
  return d;
}

std::vector<Bytes> TransportItems(const Config& c, const std::vector<Stream>& streams, bool forNit) {
  std::vector<Bytes> items;
  for (size_t k = 0; k < streams.size(); ++k) {
    Bytes e;
    Put16(e, streams[k].tsid);
    Put16(e, c.original_network_id);
    PutLoop(e, TransportDescriptors(streams[k], static_cast<int>(k), forNit));
    items.push_back(e);
  }
  return items;
}

std::vector<Table> Nits(const Config& c, const std::vector<Stream>& streams) {
  Bytes net;
  PutBytes(net, TextD(0x40, "Orbit Network"));
  PutBytes(net, MultilingualNames(0x5B, "Orbit Network"));
  PutBytes(net, Linkage(c.transport_stream_id, c.original_network_id, 0x0000, 0x04));
  PutBytes(net, Linkage(c.transport_stream_id, c.original_network_id, 0x1000, 0x01));
  PutBytes(net, PrivateDataSpecifier());
  PutBytes(net, Ca(0x0500, 0x1620));  // kept apart from the network's descriptor set
  PutBytes(net, D(0x90, {0x01, 0x02, 0x03}));
  Bytes head;
  PutLoop(head, net);
  std::vector<Table> tables;
  tables.push_back({"NIT actual", kNitPid,
                    LongTable(0x40, c.network_id, 2, kSiFlags, Fixed(head), true,
                              TransportItems(c, streams, true), kMaxSi)});

  // Another network with one stream of its own.
  Bytes otherNet;
  PutBytes(otherNet, TextD(0x40, "\x10\x00\x05" "Fremd Netz"));
  Bytes otherHead;
  PutLoop(otherHead, otherNet);
  Stream foreign;
  foreign.tsid = 0x0700;
  foreign.kind = 0;
  Service fs;
  fs.id = 0x3001;
  foreign.services.push_back(fs);
  Bytes e;
  Put16(e, foreign.tsid);
  Put16(e, 0x0002);
  PutLoop(e, TransportDescriptors(foreign, 5, true));
  tables.push_back({"NIT other", kNitPid,
                    LongTable(0x41, static_cast<u16>(c.network_id + 1), 7, kSiFlags,
                              Fixed(otherHead), true, {e}, kMaxSi)});
  return tables;
}

std::vector<Table> Bats(const Config& c, const std::vector<Stream>& streams) {
  std::vector<Table> tables;
  for (u16 b = 0; b < 2; ++b) {
    Bytes loop;
    PutBytes(loop, TextD(0x47, "Bouquet " + std::to_string(b)));
    PutBytes(loop, MultilingualNames(0x5C, "Bouquet " + std::to_string(b)));
    PutBytes(loop, CountryAvailability(b == 0));
    PutBytes(loop, Ca(0x0604, 0x1630));
    PutBytes(loop, Linkage(c.transport_stream_id, c.original_network_id, 0x1001, 0x02));
    Bytes head;
    PutLoop(head, loop);
    tables.push_back({"BAT " + std::to_string(b), kSdtBatPid,
                      LongTable(0x4A, static_cast<u16>(0x1001 + b), 4, kSiFlags, Fixed(head), true,
                                TransportItems(c, streams, false), kMaxSi)});
  }
  return tables;
}

// --- SDT ------------------------------------------------------------------------------

Bytes ServiceDescriptors(const Config& c, const Stream& st, const Service& s, int i) {
  Bytes d;
  Bytes svc;
  Put8(svc, s.type);
  PutPrefixed(svc, s.provider);
  PutPrefixed(svc, s.name);
  PutBytes(d, D(0x48, svc));
  PutBytes(d, PrivateDataSpecifier());
  if (s.scrambled) PutBytes(d, D(0x53, {0x06, 0x04, 0x05, 0x00}));  // CA identifier
  switch (i % 8) {
    case 0:
      PutBytes(d, [&] {
        Bytes p;
        for (const char* lang : {"eng", "fra"}) {
          PutText(p, lang);
          PutPrefixed(p, s.provider);
          PutPrefixed(p, s.name + " " + lang);
        }
        return D(0x5D, p);  // multilingual service name
      }());
      PutBytes(d, TextD(0x71, "dvb://1.44d.1000"));  // service identifier
      break;
    case 1:
      PutBytes(d, CountryAvailability(true));
      PutBytes(d, D(0x72, {0x80, 0x00, 0x01, 0x00, 0x02}));  // service availability
      break;
    case 2: {
      Bytes ann;
      Put16(ann, 0x0003);
      Put8(ann, 0x08);  // emergency, in the service's usual audio
      Put8(ann, 0x19);  // road traffic flash, in another service
      Put16(ann, c.original_network_id);
      Put16(ann, st.tsid);
      Put16(ann, static_cast<u32>(s.id + 1));
      Put8(ann, 0x05);
      PutBytes(d, D(0x6E, ann));  // announcement support
      break;
    }
    case 3: {
      Bytes db;
      Put16(db, 0x0006);  // data carousel
      Put8(db, 0x05);     // component tag
      Put8(db, 0x02);
      PutBytes(db, {0x01, 0x02});
      PutText(db, "eng");
      PutPrefixed(db, "carousel");
      PutBytes(d, D(0x64, db));  // data broadcast
      PutBytes(d, D(0x66, {0x00, 0x06}));
      break;
    }
    case 5: {
      Bytes nvod;
      for (u16 k = 0; k < 2; ++k) {
        Put16(nvod, st.tsid);
        Put16(nvod, c.original_network_id);
        Put16(nvod, static_cast<u32>(s.id + 1 + k));
      }
      PutBytes(d, D(0x4B, nvod));  // NVOD reference
      break;
    }
    case 6: {
      Bytes ts;
      Put16(ts, static_cast<u32>(s.id - 1));
      PutBytes(d, D(0x4C, ts));  // time-shifted service
      Bytes mv;
      Put16(mv, c.original_network_id);
      Put16(mv, 0x0701);
      Put16(mv, s.id);
      PutBytes(d, D(0x60, mv));  // service move
      break;
    }
    case 7: {
      // Telephone: foreign available, connection type 3; country prefix
      // "45", national area code "3", core number "1234".
      Bytes tel{0x23, 0x40, 0x14};
      PutText(tel, "4531234");
      PutBytes(d, D(0x57, tel));
      // Mosaic: 2x2, one cell linked to a service.
      Bytes mos{0x80 | 0x10 | 0x01};
      Put16(mos, 0x00 << 10 | 0x0001);  // logical cell 0, presentation 1
      Put8(mos, 0x02);
      PutBytes(mos, {0x00, 0x01});
      Put8(mos, 0x02);  // linked to a service
      Put16(mos, c.original_network_id);
      Put16(mos, st.tsid);
      Put16(mos, static_cast<u32>(s.id - 1));
      PutBytes(d, D(0x51, mos));
      PutBytes(d, D(0x42, {0xFF, 0xFF, 0xFF}));  // stuffing
      PutBytes(d, D(0x61, {0x4A, 0x00}));        // short smoothing buffer
      break;
    }
    default:
      PutBytes(d, D(0x81, {0x00}));
      break;
  }
  return d;
}

Table Sdt(const Config& c, const Stream& st, bool actual) {
  std::vector<Bytes> items;
  int i = 0;
  for (const Service& s : st.services) {
    Bytes e;
    Put16(e, s.id);
    Put8(e, 0xFC | (i % 2 ? 0x02 : 0x00) | 0x01);  // EIT schedule on every other, p/f always
    Put16(e, (u32(i % 5 == 4 ? 2 : 4) << 13) | (s.scrambled ? 0x1000 : 0) |
                 0);  // running status, free_CA_mode; loop length patched below
    Bytes desc = ServiceDescriptors(c, st, s, i);
    e[3] = static_cast<u8>((e[3] & 0xF0) | (desc.size() >> 8 & 0x0F));
    e[4] = static_cast<u8>(desc.size());
    PutBytes(e, desc);
    items.push_back(e);
    ++i;
  }
  Bytes head;
  Put16(head, c.original_network_id);
  Put8(head, 0xFF);
  return {actual ? "SDT actual" : "SDT other " + std::to_string(st.tsid), kSdtBatPid,
          LongTable(actual ? 0x42 : 0x46, st.tsid, 5, kSiFlags, Fixed(head), false, items, kMaxSi)};
}

// --- EIT ------------------------------------------------------------------------------

const char* const kTitles[] = {"News",    "Weather", "Film: The Long Orbit", "Quiz", "Sport",
                               "Cartoon", "Music",   "Documentary"};

Bytes EventDescriptors(const Config& c, const Stream& st, const Service& s, int n, Rng& rng) {
  Bytes d;
  const std::string title = kTitles[(static_cast<size_t>(n) + s.id) % 8];
  Bytes se;
  PutText(se, n % 4 == 3 ? "dan" : "eng");
  PutPrefixed(se, title);
  PutPrefixed(se, "About " + title + ", episode " + std::to_string(n));
  PutBytes(d, D(0x4D, se));  // short event
  if (n % 2 == 0) {
    for (u8 part = 0; part < 2; ++part) {
      Bytes ee{static_cast<u8>(part << 4 | 1)};
      PutText(ee, "eng");
      Bytes items;
      PutPrefixed(items, "Director");
      PutPrefixed(items, "A. Person");
      PutPrefixed(items, "Year");
      PutPrefixed(items, "2024");
      Put8(ee, static_cast<u32>(items.size()));
      PutBytes(ee, items);
      PutPrefixed(ee, std::string(part ? "second" : "first") + " part of the long text");
      PutBytes(d, D(0x4E, ee));  // extended event
    }
  }
  PutBytes(d, [&] {
    Bytes comp{0xF1, 0x03, 0x00};  // MPEG-2 video 16:9, tag 0
    PutText(comp, "eng");
    PutText(comp, "Video");
    return D(0x50, comp);
  }());
  PutBytes(d, [&] {
    Bytes comp{0xF2, 0x03, 0x01};  // MPEG-1 layer 2 stereo, tag 1
    PutText(comp, "dan");
    return D(0x50, comp);
  }());
  PutBytes(d, D(0x54, {static_cast<u8>(0x10 + rng.Below(0xB0)), 0x00, 0x23, 0x45}));  // content
  PutBytes(d, D(0x55, {'D', 'N', 'K', static_cast<u8>(rng.Below(16)), 'G', 'B', 'R', 0x0C}));
  switch (n % 5) {
    case 0:
      PutBytes(d, D(0x69, {0xF4, 0x56, 0x78}));  // PDC
      break;
    case 1:
      PutBytes(d, [&] {
        Bytes mc{0x00};  // component tag
        for (const char* lang : {"eng", "ger"}) {
          PutText(mc, lang);
          PutPrefixed(mc, std::string("Audio ") + lang);
        }
        return D(0x5E, mc);  // multilingual component
      }());
      break;
    case 2:
      PutBytes(d, Linkage(st.tsid, c.original_network_id, s.id, 0x05));
      PutBytes(d, D(0x53, {0x06, 0x04}));
      break;
    case 3: {
      Bytes tse;
      Put16(tse, static_cast<u32>(s.id - 1));
      Put16(tse, static_cast<u32>(n));
      PutBytes(d, D(0x4F, tse));  // time-shifted event
      break;
    }
    default:
      PutBytes(d, PrivateDataSpecifier());
      PutBytes(d, D(0xA0, {0x01, 0x02, 0x03}));
      break;
  }
  return d;
}

Bytes Event(const Config& c, const Stream& st, const Service& s, int n, long start, long duration,
            u8 running, Rng& rng) {
  Bytes e;
  Put16(e, static_cast<u32>(n + 1));
  PutTime(e, At(c, start));
  PutDuration(e, duration);
  Bytes desc = EventDescriptors(c, st, s, n, rng);
  Put16(e, u32(running) << 13 | (s.scrambled ? 0x1000 : 0) | (desc.size() & 0x0FFF));
  PutBytes(e, desc);
  return e;
}

std::vector<Table> Eits(const Config& c, const std::vector<Stream>& streams) {
  std::vector<Table> tables;
  Rng rng(c.seed);
  const long kSlot = 30 * 60;
  for (size_t k = 0; k < streams.size(); ++k) {
    const Stream& st = streams[k];
    const bool actual = k == 0;
    Table pf{actual ? "EIT p/f actual" : "EIT p/f other", kEitPid, {}};
    Table sched{actual ? "EIT schedule actual" : "EIT schedule other", kEitPid, {}};
    const u8 pfId = actual ? 0x4E : 0x4F;
    const u8 schedId = actual ? 0x50 : 0x60;
    for (const Service& s : st.services) {
      // Present (section 0) and following (section 1).
      for (int sec = 0; sec < 2; ++sec) {
        SectionBuilder b = SectionBuilder::Long(pfId, s.id, 3, static_cast<u8>(sec), 1, kSiFlags);
        b.U16(st.tsid).U16(c.original_network_id).U8(1).U8(pfId);
        b.Raw(Event(c, st, s, sec, sec * kSlot, kSlot, sec == 0 ? 4 : 1, rng));
        pf.sections.push_back(b.Build());
      }
      // The schedule: a second table id once the first holds 64 events.
      std::vector<Bytes> events[2];
      for (int n = 0; n < c.scheduleEvents; ++n)
        events[n < 64 ? 0 : 1].push_back(Event(c, st, s, n, n * kSlot, kSlot, 0, rng));
      const u8 lastTable = static_cast<u8>(schedId + (events[1].empty() ? 0 : 1));
      for (int t = 0; t < 2; ++t) {
        if (t == 1 && events[1].empty()) break;
        auto head = [&](int, int last) {
          Bytes h;
          Put16(h, st.tsid);
          Put16(h, c.original_network_id);
          Put8(h, static_cast<u32>(last));
          Put8(h, lastTable);
          return h;
        };
        for (Bytes& sec : LongTable(static_cast<u8>(schedId + t), s.id, 9, kSiFlags, head, false,
                                    events[t], kMaxEit))
          sched.sections.push_back(std::move(sec));
      }
    }
    tables.push_back(std::move(pf));
    tables.push_back(std::move(sched));
  }
  return tables;
}

// --- RST and AIT -----------------------------------------------------------------

Table Rst(const Config& c, const Stream& st) {
  SectionBuilder b = SectionBuilder::Short(0x71);
  int n = 0;
  for (const Service& s : st.services) {
    b.U16(st.tsid).U16(c.original_network_id).U16(s.id).U16(1).U8(0xF8 | (n++ % 5));
  }
  return {"RST", kRstPid, {b.Build()}};
}

Table Ait(u16 pid) {
  Bytes common;
  PutBytes(common, D(0x02, {0x00, 0x01, 0x0A, 0x80, 0x00, 0x01, 0x04, 0x4D, 0x10, 0x00, 0x05}));
  PutBytes(common, D(0x0D, {0x0A, 0x00, 0x01, 0x00, 0x02}));
  PutBytes(common, D(0x40, {0x01}));
  PutBytes(common, D(0xF0, {0x02}));

  // A DVB-J application.
  Bytes j;
  PutBytes(j, D(0x00, {0x05, 0x00, 0x01, 0x01, 0x00, 0x02, 0xC0, 0x05, 0x0A}));
  PutBytes(j, D(0x01, {'e', 'n', 'g', 0x05, 'Q', 'u', 'i', 'z', '!', 'd', 'a', 'n', 0x00}));
  PutBytes(j, D(0x03, {0x03, 'a', '=', '1', 0x00}));
  PutBytes(j, [] {
    Bytes p;
    PutPrefixed(p, "/apps/quiz");
    PutPrefixed(p, "lib/");
    PutText(p, "org.orbit.Quiz");
    return D(0x04, p);
  }());
  PutBytes(j, D(0x0B, {0x05, 'i', 'c', 'o', 'n', '/', 0x00, 0x03, 0xFF}));
  PutBytes(j, D(0x0C, {0x0A, 0x04, 'm', 'a', 'i', 'n', 0x40, 0x03, 'l', 'i', 'b', 0x10}));
  PutBytes(j, D(0x05, {0x00, 0x00, 0x00, 0x17, 0x00, 0x20, 0x05}));
  PutBytes(j, D(0x06, {0x01, 0xC0, 0xA8, 0x00, 0x01, 0x1F, 0x90, 0xFF, 0xFF, 0xFF, 0x00}));
  PutBytes(j, [] {
    Bytes p{0x02};
    for (int i = 0; i < 16; ++i) Put8(p, static_cast<u32>(i == 0 ? 0x20 : i));
    Put16(p, 0x1F90);
    for (int i = 0; i < 16; ++i) Put8(p, 0xFF);
    return D(0x07, p);
  }());
  // A DVB-HTML application over IP.
  Bytes h;
  PutBytes(h, D(0x00, {0x05, 0x00, 0x02, 0x01, 0x00, 0x00, 0xA0, 0x01, 0x0B}));
  PutBytes(h, D(0x02, {0x00, 0x02, 0x0B, 0x00, 0x80, 0x03, 'u', 'r', 'l'}));
  PutBytes(h, D(0x08, {0x02, 0x00, 0x21, 'm', 'o', 'd', 'e', '=', '1'}));
  PutBytes(h, [] {
    Bytes p;
    PutPrefixed(p, "/html");
    PutText(p, "index.html");
    return D(0x09, p);
  }());
  PutBytes(h, [] {
    Bytes p;
    PutPrefixed(p, "lbl");
    PutText(p, "^http://.*");
    return D(0x0A, p);
  }());

  SectionBuilder b = SectionBuilder::Long(0x74, 0x0010, 6, 0, 0, kSiFlags);
  b.BeginLoop().Raw(common).EndLoop();
  b.BeginLoop();
  b.U32(0x00000017).U16(0x0001).U8(0x01).BeginLoop().Raw(j).EndLoop();
  b.U32(0x00000017).U16(0x0002).U8(0x02).BeginLoop().Raw(h).EndLoop();
  b.EndLoop();
  return {"AIT", pid, {b.Build()}};
}

}  // namespace

void EncodeMjdUtc(int year, int month, int day, int hour, int minute, int second, u8 out[5]) {
  const long mjd = DaysFromCivil(year, month, day) + 40587;
  out[0] = static_cast<u8>(mjd >> 8);
  out[1] = static_cast<u8>(mjd);
  out[2] = Bcd(hour);
  out[3] = Bcd(minute);
  out[4] = Bcd(second);
}

Bytes MakeTdt(const Config& c, long seconds) {
  Bytes t;
  PutTime(t, At(c, seconds));
  return SectionBuilder::Short(0x70).Raw(t).Build();
}

Bytes MakeTot(const Config& c, long seconds) {
  Bytes body;
  PutTime(body, At(c, seconds));
  Bytes lto;
  for (const char* country : {"DNK", "GBR"}) {
    PutText(lto, country);
    Put8(lto, 0x02);  // region 0, polarity +
    Put8(lto, Bcd(country[0] == 'D' ? 1 : 0));
    Put8(lto, 0x00);
    PutTime(lto, At(c, 86400L * 30));
    Put8(lto, Bcd(country[0] == 'D' ? 2 : 1));
    Put8(lto, 0x00);
  }
  PutLoop(body, D(0x58, lto));
  // The TOT ends with a CRC_32 over the whole section (counted in its length).
  Bytes s = SectionBuilder::Short(0x73, 0x7).Raw(body).Build(4);
  Put32(s, lib13818::Crc32Mpeg(s.data(), s.size()));
  return s;
}

Multiplex GenerateMultiplex(const Config& c) {
  const std::vector<Stream> streams = Model(c);
  const Stream& actual = streams.front();
  Multiplex m;
  m.tables.push_back(Pat(c, actual));
  m.tables.push_back(Cat());
  for (size_t i = 0; i < actual.services.size(); ++i) {
    m.tables.push_back(Pmt(actual.services[i], static_cast<int>(i)));
    m.videoPids.push_back(actual.services[i].videoPid);
  }
  for (Table& t : Nits(c, streams)) m.tables.push_back(std::move(t));
  m.tables.push_back(Sdt(c, actual, true));
  for (size_t k = 1; k < streams.size(); ++k) m.tables.push_back(Sdt(c, streams[k], false));
  for (Table& t : Bats(c, streams)) m.tables.push_back(std::move(t));
  for (Table& t : Eits(c, streams)) m.tables.push_back(std::move(t));
  m.tables.push_back(Rst(c, actual));
  if (!actual.services.empty()) m.tables.push_back(Ait(static_cast<u16>(actual.services[0].videoPid + 6)));
  m.tdt = MakeTdt(c, 0);
  m.tot = MakeTot(c, 0);
  return m;
}

std::vector<Bytes> AllSections(const Multiplex& mux) {
  std::vector<Bytes> all;
  for (const Table& t : mux.tables) all.insert(all.end(), t.sections.begin(), t.sections.end());
  all.push_back(mux.tdt);
  all.push_back(mux.tot);
  return all;
}

}  // namespace sigen
