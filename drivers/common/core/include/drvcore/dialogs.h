#pragma once
// The rules behind the plug-ins' dialogs and streaming pages, free of any
// window: slot selector contents, the capability text, frequency entry and
// cable channel names, signal quality, the section filter of the
// "SI/private sections" page, hexadecimal fields, A/V recording formats and
// the ".info" side file of a transport-stream recording.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drvcore/tuning.h"

namespace drvcore {

using u64 = std::uint64_t;

// ---- LNB/DiSEqC page and tuning dialog ---------------------------------------

// Entries of the slot selector ("Disq" list) for a DiSEqC mode: none for 0,
// "A", "B" for 1, "A/A", "A/B", "B/A", "B/B" for 2 and any other value.
std::vector<const char*> SlotSelectorEntries(u32 disqmode);
// The slot (0..3) a selector index stands for: no selection (-1) and 0 are
// slot 0; 1..3 slots 1..3; anything else none.
std::optional<int> SlotFromSelection(int index);

// The LNB oscillator and band switch values the configuration accepts, kHz.
inline constexpr u32 kMaxLnbFrequencyKhz = 30000000;
// A whole decimal number in 0..kMaxLnbFrequencyKhz (blanks around it
// allowed); nothing else.
std::optional<u32> ParseLnbFrequency(std::string_view text);

// "FEC auto: yes\nSI Auto: no\n..." for capability bits 0, 4, 8, 12, 16.
std::string CapabilityText(u32 capabilities);

// Frequency window of a satellite slot, kHz (inclusive):
// [min(lof1, lof2) + 950000, max(lof1, lof2) + 2150000].
struct FrequencyRange {
  u32 low = 0;
  u32 high = 0;
  bool Contains(u64 f) const { return f >= low && f <= high; }
};
FrequencyRange SatelliteRange(u32 lof1, u32 lof2);
inline constexpr FrequencyRange kCableRange{45000, 860000};
inline constexpr FrequencyRange kTerrestrialRange{470000, 860000};
// "Please insert a valid frequency!\n(%u kHz - %u kHz)".
std::string FrequencyRangeMessage(const FrequencyRange& range);

// Centre frequency (kHz) of a cable channel name ("E21", "s41", "Z+1"...):
// upper-cased, one leading "E" dropped; 0 for an unknown name.
u32 CableChannelKhz(std::string_view name);
// The cable/terrestrial frequency field: more than three characters are a
// decimal number (strtoul: leading digits, 0 when none, saturated), else a
// channel name.
u32 CableFrequencyFromText(std::string_view text);
// A decimal number as strtoul reads it (leading blanks and "+", digits up
// to the first other character; 0 when none; saturated).
u32 UnsignedFromText(std::string_view text);
// The satellite frequency field: a signed decimal (atoi: leading blanks,
// sign and digits; 0 when none).  The result is 64-bit so that nothing out
// of range wraps into the window.
long long SatelliteFrequencyFromText(std::string_view text);

// Quality bar of the tuning dialog: 75/50/25/0 by bit error rate below
// 0.001/0.01/0.1, +25 when locked; 0 when not locked.
int SignalQuality(bool locked, double bitErrorRate);

// One line of the transponder list: "%04X %04X %c %lu %c" (network id,
// transport stream id, "P" for the primary transponder, frequency in kHz,
// polarisation letter H V L R).
std::string TransponderLine(u32 networkId, u32 transportStreamId, bool primary,
                            u32 frequencyKhz, long polarization);
// The network and transport stream ids at the start of such a line.
bool ParseTransponderLine(std::string_view line, u32& networkId, u32& transportStreamId);

// ---- hexadecimal fields ------------------------------------------------------

// The value of a hexadecimal field as "%x" reads it: blanks, an optional
// sign, an optional "0x", then hex digits (stopping at the first other
// character).  Nothing when no digit is there.
std::optional<u32> ParseHexField(std::string_view text);

// ---- the "SI/private sections" page ------------------------------------------

inline constexpr std::size_t kSectionFilterLength = 16;

// What the page's fields give: each optional field with its "enabled" state
// as the page computes it from the check boxes.
struct SectionFilterFields {
  u32 tableId = 0;
  u32 tableIdMask = 0xFF;
  bool syntaxEnabled = false;  // 1102 enabled (syntax box checked)
  u32 syntax = 0;
  bool privateEnabled = false;
  u32 privateIndicator = 0;
  bool extensionEnabled = false;
  u32 extension = 0;
  bool versionEnabled = false;
  u32 version = 0;
  bool currentNextEnabled = false;
  u32 currentNext = 0;
  bool sectionEnabled = false;
  u32 sectionNumber = 0;
  bool lastSectionEnabled = false;
  u32 lastSectionNumber = 0;
  bool dataEnabled = false;
  std::string data;  // hex text, two digits a byte
  std::string dataMask;
};

struct SectionFilterBytes {
  std::array<u8, kSectionFilterLength> value{};
  std::array<u8, kSectionFilterLength> mask{};
};

// Enabled states of the page's optional controls from its check boxes.
struct SectionFilterChecks {
  bool syntax = false, privateIndicator = false, extension = false, version = false,
       currentNext = false, section = false, lastSection = false, data = false;
};
struct SectionFilterEnables {
  bool privateValue = false;       // 1103
  bool syntaxValue = false;        // 1102
  bool headerChecks = false;       // 1096..1100
  bool extension = false, version = false, currentNext = false, section = false,
       lastSection = false;        // 1104..1108
  bool dataCheck = false;          // 1101
  bool data = false;               // 1110, 1114
};
SectionFilterEnables SectionFilterEnabledStates(const SectionFilterChecks& checks, u32 syntaxValue);

// Builds the 16-byte pattern and mask.  The data and mask texts must hold
// hexadecimal digits only (an odd data text gets a "0", a short mask "0"s);
// any other character fails the whole filter (nullopt).
std::optional<SectionFilterBytes> BuildSectionFilter(const SectionFilterFields& f);

// ---- A/V recording -------------------------------------------------------------

// Radio index (0..3) → file extension ("mp2", "psv", "pva", "mpg"); any
// other index "ukn".
const char* RecordingExtension(int formatIndex);
// Format value passed to the recorder: the index 0..3, 3 for none.
int RecordingFormatValue(int formatIndex);
// Radio index for a file extension (case-insensitive, without the dot); -1
// when it names none.
int RecordingFormatFromExtension(std::string_view extension);

// ---- transport-stream recording ----------------------------------------------

inline constexpr u32 kLostBlockBytes = 96256;
inline constexpr int kDriverStatusWords = 17;
inline constexpr int kLostBlocksWord = 16;

// The two lines of the ".info" side file:
// "Time (s): %u, Length (Byte): %u, DataRate (Byte/s): %u\r\n"
// "Lost Blocks: %u, Lost Bytes: %u\r\n"
// seconds = duration / 1000, at least 1; rate = length / seconds.  Every
// count is 64-bit (recordings pass 4 GB).
std::string RecordingInfoText(u64 durationMs, u64 length, u64 lostBlocks);

}  // namespace drvcore
