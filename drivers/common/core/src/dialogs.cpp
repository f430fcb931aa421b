#include "drvcore/dialogs.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <limits>

namespace drvcore {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

struct Channel {
  std::string name;
  u32 khz;
};

// The 106 names: "2".."4", "X".."Z+2", "S1".."S10", "5".."12", "S11".."S20"
// in 7 MHz steps, "S21".."S41" and "21".."69" in 8 MHz steps.
std::vector<Channel> BuildChannelTable() {
  std::vector<Channel> t;
  auto run = [&t](const char* prefix, int first, int last, u32 start, u32 step) {
    for (int i = first; i <= last; ++i, start += step) t.push_back({prefix + std::to_string(i), start});
  };
  u32 f = 71500;
  run("", 2, 4, 50500, 7000);
  for (const char* n : {"X", "Y", "Z", "Z+1", "Z+2"}) {
    t.push_back({n, f});
    f += 7000;
  }
  run("S", 1, 10, 107500, 7000);
  run("", 5, 12, 177500, 7000);
  run("S", 11, 20, 233500, 7000);
  run("S", 21, 41, 306000, 8000);
  run("", 21, 69, 474000, 8000);
  return t;
}

const std::vector<Channel>& ChannelTable() {
  static const std::vector<Channel> table = BuildChannelTable();
  return table;
}

}  // namespace

std::vector<const char*> SlotSelectorEntries(u32 disqmode) {
  if (disqmode == kDiseqcNone) return {};
  if (disqmode == kDiseqcToneBurst) return {"A", "B"};
  return {"A/A", "A/B", "B/A", "B/B"};
}

std::optional<int> SlotFromSelection(int index) {
  if (index == -1 || index == 0) return 0;
  if (index >= 1 && index <= 3) return index;
  return std::nullopt;
}

std::optional<u32> ParseLnbFrequency(std::string_view text) {
  text = Trim(text);
  if (text.empty() || text.size() > 10) return std::nullopt;
  u64 v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + static_cast<u64>(c - '0');
  }
  if (v > kMaxLnbFrequencyKhz) return std::nullopt;
  return static_cast<u32>(v);
}

std::string CapabilityText(u32 caps) {
  auto yn = [caps](int bit) { return (caps >> bit) & 1u ? "yes" : "no"; };
  return std::string("FEC auto: ") + yn(0) + "\nSI Auto: " + yn(4) + "\nChannel scan: " + yn(8) +
         "\nBW auto: " + yn(12) + "\nAntenna power: " + yn(16);
}

FrequencyRange SatelliteRange(u32 lof1, u32 lof2) {
  const u64 lo = static_cast<u64>(std::min(lof1, lof2)) + 950000;
  const u64 hi = static_cast<u64>(std::max(lof1, lof2)) + 2150000;
  constexpr u64 top = std::numeric_limits<u32>::max();
  return {static_cast<u32>(std::min(lo, top)), static_cast<u32>(std::min(hi, top))};
}

std::string FrequencyRangeMessage(const FrequencyRange& range) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "Please insert a valid frequency!\n(%u kHz - %u kHz)",
                static_cast<unsigned>(range.low), static_cast<unsigned>(range.high));
  return buffer;
}

u32 CableChannelKhz(std::string_view name) {
  std::string n;
  for (char c : name) n.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  if (!n.empty() && n.front() == 'E') n.erase(0, 1);
  for (const Channel& c : ChannelTable())
    if (n == c.name) return c.khz;
  return 0;
}

u32 CableFrequencyFromText(std::string_view text) {
  if (text.size() <= 3) return CableChannelKhz(text);
  return UnsignedFromText(text);
}

u32 UnsignedFromText(std::string_view text) {
  std::string_view s = text;
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  u64 v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') break;
    v = std::min<u64>(v * 10 + static_cast<u64>(c - '0'), std::numeric_limits<u32>::max());
  }
  return static_cast<u32>(v);
}

long long SatelliteFrequencyFromText(std::string_view text) {
  std::string_view s = text;
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  long long v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') break;
    v = std::min<long long>(v * 10 + (c - '0'), 1LL << 40);
  }
  return negative ? -v : v;
}

int SignalQuality(bool locked, double ber) {
  if (!locked) return 0;
  int q = 0;
  if (ber < 0.001) q = 75;
  else if (ber < 0.01) q = 50;
  else if (ber < 0.1) q = 25;
  return q + 25;
}

std::string TransponderLine(u32 networkId, u32 transportStreamId, bool primary, u32 frequencyKhz,
                            long polarization) {
  const char pol = polarization == 0 ? 'H' : polarization == 1 ? 'V' : polarization == 2 ? 'L' : 'R';
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04X %04X %c %lu %c", static_cast<unsigned>(networkId),
                static_cast<unsigned>(transportStreamId), primary ? 'P' : ' ',
                static_cast<unsigned long>(frequencyKhz), pol);
  return buffer;
}

bool ParseTransponderLine(std::string_view line, u32& networkId, u32& transportStreamId) {
  const std::string s(line);
  unsigned a = 0, b = 0;
  if (std::sscanf(s.c_str(), "%x %x", &a, &b) != 2) return false;
  networkId = a;
  transportStreamId = b;
  return true;
}

std::optional<u32> ParseHexField(std::string_view text) {
  std::string_view s = text;
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.size() >= 3 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X') && HexDigit(s[2]) >= 0)
    s.remove_prefix(2);
  if (s.empty() || HexDigit(s.front()) < 0) return std::nullopt;
  u32 v = 0;
  for (char c : s) {
    const int d = HexDigit(c);
    if (d < 0) break;
    v = (v << 4) | static_cast<u32>(d);  // wraps as "%x" does on overflow
  }
  return negative ? static_cast<u32>(0u - v) : v;
}

SectionFilterEnables SectionFilterEnabledStates(const SectionFilterChecks& c, u32 syntaxValue) {
  SectionFilterEnables e;
  e.privateValue = c.privateIndicator;
  if (!c.syntax) return e;
  e.syntaxValue = true;
  e.dataCheck = true;
  e.data = c.data;
  if (syntaxValue != 0) {
    e.headerChecks = true;
    e.extension = c.extension;
    e.version = c.version;
    e.currentNext = c.currentNext;
    e.section = c.section;
    e.lastSection = c.lastSection;
  }
  return e;
}

std::optional<SectionFilterBytes> BuildSectionFilter(const SectionFilterFields& f) {
  SectionFilterBytes b;
  b.value[0] = static_cast<u8>(f.tableId);
  b.mask[0] = static_cast<u8>(f.tableIdMask);
  if (!f.syntaxEnabled) return b;
  if (f.syntax == 0) b.value[1] &= 0x7F;
  else b.value[1] |= 0x80;
  b.mask[1] |= 0x80;
  if (f.privateEnabled) {
    b.value[1] |= static_cast<u8>((f.privateIndicator & 1) << 6);
    b.mask[1] |= 0x40;
  }
  if (f.syntax != 0) {
    if (f.extensionEnabled) {
      b.value[3] = static_cast<u8>((f.extension >> 8) & 0xFF);
      b.value[4] = static_cast<u8>(f.extension & 0xFF);
      b.mask[3] = b.mask[4] = 0xFF;
    }
    if (f.versionEnabled) {
      b.value[5] |= static_cast<u8>((f.version & 31) << 1);
      b.mask[5] |= 0x3E;
    }
    if (f.currentNextEnabled) {
      b.value[5] |= static_cast<u8>(f.currentNext & 1);
      b.mask[5] |= 0x01;
    }
    if (f.sectionEnabled) {
      b.value[6] = static_cast<u8>(f.sectionNumber);
      b.mask[6] = 0xFF;
    }
    if (f.lastSectionEnabled) {
      b.value[7] = static_cast<u8>(f.lastSectionNumber);
      b.mask[7] = 0xFF;
    }
  }
  if (f.dataEnabled) {
    std::string data(Trim(f.data));
    std::string mask(Trim(f.dataMask));
    if (data.size() % 2) data.push_back('0');
    while (mask.size() < data.size()) mask.push_back('0');
    for (char c : data)
      if (HexDigit(c) < 0) return std::nullopt;
    for (char c : mask)
      if (HexDigit(c) < 0) return std::nullopt;
    const std::size_t start = f.syntax == 0 ? 3 : 8;
    const std::size_t room = kSectionFilterLength - start;
    const std::size_t n = std::min(data.size() / 2, room);
    for (std::size_t i = 0; i < n; ++i) {
      b.value[start + i] = static_cast<u8>(HexDigit(data[2 * i]) << 4 | HexDigit(data[2 * i + 1]));
      b.mask[start + i] = static_cast<u8>(HexDigit(mask[2 * i]) << 4 | HexDigit(mask[2 * i + 1]));
    }
  }
  return b;
}

const char* RecordingExtension(int formatIndex) {
  static const char* const kExt[] = {"mp2", "psv", "pva", "mpg"};
  return formatIndex >= 0 && formatIndex <= 3 ? kExt[formatIndex] : "ukn";
}

int RecordingFormatValue(int formatIndex) { return formatIndex >= 0 && formatIndex <= 3 ? formatIndex : 3; }

int RecordingFormatFromExtension(std::string_view extension) {
  std::string e;
  for (char c : extension) e.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  for (int i = 0; i <= 3; ++i)
    if (e == RecordingExtension(i)) return i;
  return -1;
}

std::string RecordingInfoText(u64 durationMs, u64 length, u64 lostBlocks) {
  u64 seconds = durationMs / 1000;
  if (seconds == 0) seconds = 1;
  char buffer[256];
  std::snprintf(buffer, sizeof buffer,
                "Time (s): %llu, Length (Byte): %llu, DataRate (Byte/s): %llu\r\n"
                "Lost Blocks: %llu, Lost Bytes: %llu\r\n",
                static_cast<unsigned long long>(seconds), static_cast<unsigned long long>(length),
                static_cast<unsigned long long>(length / seconds),
                static_cast<unsigned long long>(lostBlocks),
                static_cast<unsigned long long>(lostBlocks * kLostBlockBytes));
  return buffer;
}

}  // namespace drvcore
