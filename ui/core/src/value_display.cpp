#include "ui_core/value_display.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "lib13818/id_names.h"

namespace ui_core {

// ---------------------------------------------------------------------------
// Labels, hex preview, names

namespace {

struct LabelEntry {
  unsigned id;
  const char* labels;
};

constexpr LabelEntry kLabelEntries[] = {
#define ORB_VALUE_LABELS(id, labels) {id, labels},
#include "ui_core/value_labels.def"
#undef ORB_VALUE_LABELS
};

}  // namespace

const char* ValueLabelText(unsigned labelsId) {
  for (const LabelEntry& e : kLabelEntries)
    if (e.id == labelsId) return e.labels;
  return nullptr;
}

void SplitLabels(std::string_view text, std::vector<std::string>& labels) {
  size_t pos = 0;
  while (pos < text.size()) {
    size_t comma = text.find(',', pos);
    if (comma == std::string_view::npos) comma = text.size();
    if (comma > pos) labels.emplace_back(text.substr(pos, comma - pos));
    pos = comma + 1;
  }
}

std::string FormatHexPreview(const std::vector<unsigned char>& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  const size_t n = bytes.size() < kHexPreviewBytes ? bytes.size() : kHexPreviewBytes;
  std::string out;
  if (n == 0) return out;
  out.reserve(n * 3 - 1);
  for (size_t i = 0; i < n; ++i) {
    if (i) out += ' ';
    out += kDigits[bytes[i] >> 4];
    out += kDigits[bytes[i] & 0x0F];
  }
  return out;
}

namespace {

// Length of a valid UTF-8 sequence starting at s[i], 0 when it is not one.
size_t Utf8SequenceLength(std::string_view s, size_t i) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  if (c < 0x80) return 1;
  size_t len;
  unsigned min;
  if ((c & 0xE0) == 0xC0) {
    len = 2;
    min = 0x80;
  } else if ((c & 0xF0) == 0xE0) {
    len = 3;
    min = 0x800;
  } else if ((c & 0xF8) == 0xF0) {
    len = 4;
    min = 0x10000;
  } else {
    return 0;
  }
  if (s.size() - i < len) return 0;
  unsigned cp = c & (0x7F >> len);
  for (size_t k = 1; k < len; ++k) {
    const unsigned char t = static_cast<unsigned char>(s[i + k]);
    if ((t & 0xC0) != 0x80) return 0;
    cp = cp << 6 | (t & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

bool IsValidUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const size_t len = Utf8SequenceLength(s, i);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

void AppendUtf8(std::string& out, unsigned cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | cp >> 6);
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | cp >> 12);
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Windows-1252 0x80-0x9F; the undefined five map to themselves (C1).
constexpr unsigned short kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

std::string NameToUtf8(const char* name) {
  if (!name) return std::string();
  std::string_view s(name);
  if (IsValidUtf8(s)) return std::string(s);
  std::string out;
  out.reserve(s.size() * 2);
  for (char ch : s) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x80)
      out += ch;
    else if (c < 0xA0)
      AppendUtf8(out, kCp1252High[c - 0x80]);
    else
      AppendUtf8(out, c);
  }
  return out;
}

// ---------------------------------------------------------------------------
// TextSink

void TextSink::AddLabelRows(unsigned labelsId) {
  const char* text = ValueLabelText(labelsId);
  if (!text) return;
  std::vector<std::string> labels;
  SplitLabels(text, labels);
  for (std::string& l : labels) {
    Row r;
    r.label = std::move(l);
    rows.push_back(std::move(r));
  }
}

void TextSink::SetValue(int row, std::string_view text) {
  if (row < 0 || static_cast<size_t>(row) >= rows.size()) {
    ++strayWrites;
    return;
  }
  rows[static_cast<size_t>(row)].value.assign(text);
}

void TextSink::AttachPid(int row, std::uint32_t pid) {
  if (row < 0 || static_cast<size_t>(row) >= rows.size()) {
    ++strayWrites;
    return;
  }
  Row& r = rows[static_cast<size_t>(row)];
  r.item = Row::Item::Pid;
  r.pid = pid;
  r.bytes = nullptr;
}

void TextSink::AttachData(int row, const std::vector<unsigned char>& bytes) {
  if (row < 0 || static_cast<size_t>(row) >= rows.size()) {
    ++strayWrites;
    return;
  }
  Row& r = rows[static_cast<size_t>(row)];
  r.item = Row::Item::Data;
  r.pid = 0;
  r.bytes = &bytes;
}

std::string TextSink::Text() const {
  std::string out;
  for (const Row& r : rows) {
    out += r.label;
    out += '=';
    out += r.value;
    if (r.item == Row::Item::Pid) {
      char buf[32];
      std::snprintf(buf, sizeof buf, " [pid 0x%04X]", static_cast<unsigned>(r.pid));
      out += buf;
    } else if (r.item == Row::Item::Data) {
      out += " [bytes " + std::to_string(r.bytes ? r.bytes->size() : 0) + "]";
    }
    out += '\n';
  }
  return out;
}

// ---------------------------------------------------------------------------
// Formatting helpers of the routines

namespace {

using lib13818::u32;

// printf into a string of whatever length the text needs.
#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
std::string Fmt(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  char small[128];
  const int n = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  std::string out;
  if (n < 0) {
    va_end(again);
    return out;
  }
  if (static_cast<size_t>(n) < sizeof small) {
    out.assign(small, static_cast<size_t>(n));
  } else {
    out.resize(static_cast<size_t>(n) + 1);
    std::vsnprintf(out.data(), out.size(), format, again);
    out.resize(static_cast<size_t>(n));
  }
  va_end(again);
  return out;
}

const char kNA[] = "N/A";

// One element's rows: clears the sink and lays out the label rows.
class Rows {
 public:
  Rows(RowSink& sink, unsigned labelsId) : sink_(sink) {
    sink_.Clear();
    sink_.AddLabelRows(labelsId);
  }
  // Appends the rows of a further label list.
  void More(unsigned labelsId) { sink_.AddLabelRows(labelsId); }

  void Text(int row, std::string_view text) { sink_.SetValue(row, text); }
  void NA(int row) { sink_.SetValue(row, kNA); }
  void Dec(int row, u32 v) { sink_.SetValue(row, Fmt("%u", static_cast<unsigned>(v))); }
  void Int(int row, int v) { sink_.SetValue(row, Fmt("%d", v)); }
  // A 16-bit two's complement field (cell coordinates), with its sign.
  void Signed16(int row, u32 v) { Int(row, static_cast<std::int16_t>(static_cast<std::uint16_t>(v & 0xFFFF))); }
  void Hex2(int row, u32 v) { sink_.SetValue(row, Fmt("%02x", static_cast<unsigned>(v))); }
  void Hex2U(int row, u32 v) { sink_.SetValue(row, Fmt("%02X", static_cast<unsigned>(v))); }
  void Hex4(int row, u32 v) { sink_.SetValue(row, Fmt("%04x", static_cast<unsigned>(v))); }
  void Hex4U(int row, u32 v) { sink_.SetValue(row, Fmt("%04X", static_cast<unsigned>(v))); }
  void Hex8(int row, u32 v) { sink_.SetValue(row, Fmt("%08x", static_cast<unsigned>(v))); }
  void Hex8U(int row, u32 v) { sink_.SetValue(row, Fmt("%08X", static_cast<unsigned>(v))); }
  // "%u - name"
  void Coded(int row, u32 v, const char* name) {
    sink_.SetValue(row, Fmt("%u - %s", static_cast<unsigned>(v), NameToUtf8(name).c_str()));
  }
  // "%04x - name" / "%04X - name" of a registered identifier.
  void IdName(int row, u32 v, const char* name, bool upper) {
    sink_.SetValue(row, Fmt(upper ? "%04X - %s" : "%04x - %s", static_cast<unsigned>(v),
                            NameToUtf8(name).c_str()));
  }
  // "%02x : name" of a table id.
  void TableId(int row, u32 v, const char* name) {
    sink_.SetValue(row, Fmt("%02x : %s", static_cast<unsigned>(v), NameToUtf8(name).c_str()));
  }
  // An ISO 639 (or country) code of a fixed char array: up to its first NUL.
  template <size_t N>
  void Code(int row, const char (&code)[N]) {
    size_t n = 0;
    while (n < N && code[n]) ++n;
    sink_.SetValue(row, std::string_view(code, n));
  }
  // A byte run: the preview, and the bytes for the hex view when there are any.
  void Bytes(int row, const std::vector<unsigned char>& bytes) {
    sink_.SetValue(row, FormatHexPreview(bytes));
    if (!bytes.empty()) sink_.AttachData(row, bytes);
  }
  void Pid(int row, u32 pid) { sink_.AttachPid(row, pid); }

  // A field of a descriptor's fixed part that lies within its first `bytes`
  // payload bytes.  A descriptor too short to carry it keeps 0 there: the row
  // shows N/A, and true tells the caller to write nothing more.
  bool Missing(int row, const lib13818::Descriptor& d, u32 bytes) { return Missing(row, row, d, bytes); }
  // The same for the fields of rows `first` to `last`.
  bool Missing(int first, int last, const lib13818::Descriptor& d, u32 bytes) {
    if (d.length >= bytes) return false;
    for (int row = first; row <= last; ++row) NA(row);
    return true;
  }

  // Descriptor tag ("%04x", "%04X" or "%02x") and length in rows 0 and 1.
  enum class Tag { Lower4, Upper4, Lower2 };
  void TagLength(const lib13818::Descriptor& d, Tag tag = Tag::Lower4) {
    switch (tag) {
      case Tag::Lower4:
        Hex4(0, d.tag);
        break;
      case Tag::Upper4:
        Hex4U(0, d.tag);
        break;
      case Tag::Lower2:
        Hex2(0, d.tag);
        break;
    }
    Dec(1, d.length);
  }

 private:
  RowSink& sink_;
};

std::string Time(const lib13818::UtcTime& t, bool padded) {
  return padded ? Fmt("%d/%d/%d %d:%02d:%02d", t.day, t.month, t.year, t.hour, t.minute, t.second)
                : Fmt("%d/%d/%d %d:%d:%d", t.day, t.month, t.year, t.hour, t.minute, t.second);
}

// Label lists.
enum : unsigned {
  kCatLabels = 61204,
  kPmtStreamLabels = 61205,
  kPatLabels = 61206,
  kBatLabels = 61207,
  kNitLabels = 61208,
  kNitTransportStreamLabels = 61209,
  kSdtLabels = 61210,
  kSdtServiceLabels = 61211,
  kEitLabels = 61212,
  kEitEventLabels = 61213,
  kRstLabels = 61214,
  kRstEntryLabels = 61215,
  kTdtLabels = 61216,
  kTotLabels = 61217,
  kSatelliteLabels = 61218,
  kServiceLabels = 61219,
  kTagLengthLabels = 61220,
  kServiceListEntryLabels = 61221,
  kTeletextEntryLabels = 61222,
  kComponentLabels = 61223,
  kExtendedEventLabels = 61224,
  kShortEventLabels = 61226,
  kTimeShiftedEventLabels = 61227,
  kContentEntryLabels = 61228,
  kCopyrightLabels = 61230,
  kCaIdentifierLabels = 61231,
  kAudioStreamLabels = 61233,
  kStdLabels = 61234,
  kPrivateDataIndicatorLabels = 61235,
  kStreamIdentifierLabels = 61236,
  kNameLabels = 61237,
  kStuffingLabels = 61238,
  kCableLabels = 61239,
  kCountryAvailabilityLabels = 61240,
  kLinkageLabels = 61241,
  kNvodReferenceLabels = 61242,
  kNvodReferenceEntryLabels = 61243,
  kTimeShiftedServiceLabels = 61244,
  kMosaicLabels = 61245,
  kParentalRatingLabels = 61246,
  kParentalRatingEntryLabels = 61247,
  kTelephoneLabels = 61248,
  kSubtitlingLabels = 61249,
  kSubtitlingEntryLabels = 61250,
  kMultilingualNetworkNameLabels = 61251,
  kMultilingualBouquetNameLabels = 61252,
  kMultilingualNameEntryLabels = 61253,
  kMultilingualServiceNameLabels = 61254,
  kMultilingualServiceNameEntryLabels = 61255,
  kMultilingualComponentLabels = 61256,
  kPrivateDataSpecifierLabels = 61257,
  kServiceMoveLabels = 61258,
  kShortSmoothingBufferLabels = 61259,
  kVideoStreamLabels = 61260,
  kPatProgramLabels = 61261,
  kCaLabels = 61262,
  kUnknownLabels = 61263,
  kIso639LanguageLabels = 61264,
  kIso639LanguageEntryLabels = 61265,
  kPmtLabels = 61266,
  kVbiDataLabels = 61268,
  kVbiTeletextLabels = 61269,
  kTerrestrialLabels = 61270,
  kFrequencyListLabels = 61271,
  kPartialTransportLabels = 61272,
  kDataBroadcastLabels = 61273,
  kDataBroadcastIdLabels = 61274,
  kTransportStreamLabels = 61275,
  kDsngLabels = 61276,
  kPdcLabels = 61277,
  kAc3Labels = 61278,
  kAncillaryDataLabels = 61279,
  kCellListLabels = 61280,
  kCellFrequencyLinkLabels = 61281,
  kAnnouncementSupportLabels = 61282,
  kApplicationSignallingLabels = 61283,
  kAdaptationFieldDataLabels = 61284,
  kServiceIdentifierLabels = 61285,
  kServiceAvailabilityLabels = 61286,
  kDataServiceEntryLabels = 61287,
  kVbiTeletextEntryLabels = 61288,
  kCellListEntryLabels = 61289,
  kSubcellListEntryLabels = 61290,
  kCellFrequencyLinkEntryLabels = 61291,
  kSubcellFrequencyEntryLabels = 61292,
  kAnnouncementEntryLabels = 61293,
  kApplicationSignallingEntryLabels = 61294,
  kHierarchyLabels = 61299,
  kRegistrationLabels = 61300,
  kDataStreamAlignmentLabels = 61301,
  kTargetBackgroundGridLabels = 61302,
  kVideoWindowLabels = 61303,
  kSystemClockLabels = 61304,
  kMultiplexBufferUtilizationLabels = 61305,
  kMaximumBitrateLabels = 61306,
  kSmoothingBufferLabels = 61307,
  kIbpLabels = 61308,
  kMosaicCellLabels = 61309,
  kMosaicCellBouquetLabels = 61310,
  kMosaicCellServiceLabels = 61311,
  kMosaicCellEventLabels = 61312,
};

// Rows 0-1 of a descriptor that only carries a loop (its entries have
// routines of their own) or keeps nothing beyond tag and length.
void TagLengthOnly(RowSink& sink, unsigned labels, const lib13818::Descriptor& d,
                   Rows::Tag tag = Rows::Tag::Lower4) {
  Rows r(sink, labels);
  r.TagLength(d, tag);
}

}  // namespace

using namespace lib13818;

// ---------------------------------------------------------------------------
// Sections and their loop entries

void ShowCat(RowSink& sink, const ConditionalAccessSection& e) {
  Rows r(sink, kCatLabels);
  r.TableId(0, e.table_id, e.GetName());
  r.Dec(1, e.section_syntax_indicator);
  r.Dec(2, e.section_length);
  r.Dec(3, e.version_number);
  r.Dec(4, e.current_next_indicator);
  r.Dec(5, e.section_number);
  r.Dec(6, e.last_section_number);
  r.Hex8(7, e.CRC_32);
}

void ShowPat(RowSink& sink, const ProgramAssociationSection& e) {
  Rows r(sink, kPatLabels);
  r.TableId(0, e.table_id, e.GetName());
  r.Dec(1, e.section_syntax_indicator);
  r.Dec(2, e.section_length);
  r.Hex4U(3, e.table_id_extension);
  r.Dec(4, e.version_number);
  r.Dec(5, e.current_next_indicator);
  r.Dec(6, e.section_number);
  r.Dec(7, e.last_section_number);
  r.Hex8U(8, e.CRC_32);
}

void ShowPatProgram(RowSink& sink, const ProgramAssociationInfo& e) {
  Rows r(sink, kPatProgramLabels);
  r.Hex4U(0, e.program_number);
  r.Hex4U(1, e.PID);
}

void ShowPmt(RowSink& sink, const ProgramMapSection& e) {
  Rows r(sink, kPmtLabels);
  r.Hex2U(0, e.table_id);
  r.Dec(1, e.section_syntax_indicator);
  r.NA(2);
  r.Dec(3, e.section_length);
  r.Hex4U(4, e.table_id_extension);
  r.NA(5);
  r.Dec(6, e.version_number);
  r.Dec(7, e.current_next_indicator);
  r.Dec(8, e.section_number);
  r.Dec(9, e.last_section_number);
  r.NA(10);
  r.Hex4U(11, e.PCR_PID);
  r.NA(12);  // program_info_length is not kept
  r.Hex8U(13, e.CRC_32);
}

void ShowPmtStream(RowSink& sink, const StreamInfo& e) {
  Rows r(sink, kPmtStreamLabels);
  r.Hex2U(0, e.stream_type);
  r.NA(1);
  r.Hex4U(2, e.elementary_PID);
  r.NA(3);
  r.Dec(4, e.ES_info_length);
}

void ShowBat(RowSink& sink, const BouquetAssociationSection& e) {
  Rows r(sink, kBatLabels);
  r.TableId(0, e.table_id, e.GetName());
  r.Dec(1, e.section_length);
  r.Dec(2, e.table_id_extension);
  r.Dec(3, e.version_number);
  r.Dec(4, e.current_next_indicator);
  r.Dec(5, e.section_number);
  r.Hex8(6, e.CRC_32);
}

void ShowNit(RowSink& sink, const NetworkInformationSection& e) {
  Rows r(sink, kNitLabels);
  r.TableId(0, e.table_id, e.GetName());
  r.Dec(1, e.section_syntax_indicator);
  r.NA(2);
  r.NA(3);
  r.Dec(4, e.section_length);
  r.IdName(5, e.table_id_extension, GetNetworkName(static_cast<int>(e.table_id_extension)), false);
  r.NA(6);
  r.Dec(7, e.version_number);
  r.Dec(8, e.current_next_indicator);
  r.Dec(9, e.section_number);
  r.Dec(10, e.last_section_number);
  r.NA(11);
  r.NA(12);  // network_descriptors_length is not kept
  r.NA(13);
  r.NA(14);  // transport_stream_loop_length is not kept
  r.Hex8(15, e.CRC_32);
}

void ShowNitTransportStream(RowSink& sink, const TransportStreamInfo& e) {
  Rows r(sink, kNitTransportStreamLabels);
  r.Hex4(0, e.transport_stream_id);
  r.Hex4(1, e.original_network_id);
  r.NA(2);
  r.NA(3);  // transport_descriptors_length is not kept
}

void ShowSdt(RowSink& sink, const ServiceDescriptionSection& e) {
  Rows r(sink, kSdtLabels);
  r.TableId(0, e.table_id, e.GetName());
  r.Dec(1, e.section_syntax_indicator);
  r.NA(2);
  r.NA(3);
  r.Dec(4, e.section_length);
  r.Hex4(5, e.table_id_extension);
  r.NA(6);
  r.Dec(7, e.version_number);
  r.Dec(8, e.current_next_indicator);
  r.Dec(9, e.section_number);
  r.Dec(10, e.last_section_number);
  r.Hex4(11, e.original_network_id);
  r.NA(12);
  r.Hex8(13, e.CRC_32);
}

void ShowSdtService(RowSink& sink, const ServiceDescriptionInfo& e) {
  Rows r(sink, kSdtServiceLabels);
  r.Hex4U(0, e.service_id);
  r.NA(1);
  r.Dec(2, e.EIT_schedule_flag);
  r.Dec(3, e.EIT_present_following_flag);
  r.Dec(4, e.running_status);
  r.Dec(5, e.free_CA_mode);
  r.NA(6);  // descriptors_loop_length is not kept
}

void ShowEit(RowSink& sink, const EventInformationSection& e) {
  Rows r(sink, kEitLabels);
  r.TableId(0, e.table_id, e.GetName());
  r.Dec(1, e.section_length);
  r.Hex4(2, e.table_id_extension);
  r.Dec(3, e.version_number);
  r.Dec(4, e.current_next_indicator);
  r.Dec(5, e.section_number);
  r.Dec(6, e.last_section_number);
  r.Hex4(7, e.transport_stream_id);
  r.Hex4(8, e.original_network_id);
  r.Hex4(9, e.last_table_id);
  r.Hex8(10, e.CRC_32);
}

void ShowEitEvent(RowSink& sink, const EventDescriptionInfo& e) {
  Rows r(sink, kEitEventLabels);
  r.Hex4(0, e.event_id);
  r.Text(1, Time(e.start_time, true));
  r.Text(2, Fmt("%d:%02d:%02d", e.duration.hours, e.duration.minutes, e.duration.seconds));
  r.Dec(3, e.running_status);
  r.Dec(4, e.free_CA_mode);
}

void ShowRst(RowSink& sink, const RunningStatusSection& e) {
  Rows r(sink, kRstLabels);
  r.TableId(0, e.table_id, e.GetName());
  r.Dec(1, e.section_length);
}

void ShowRstEntry(RowSink& sink, const RunningStatusInfo& e) {
  Rows r(sink, kRstEntryLabels);
  r.Hex4(0, e.transport_stream_id);
  r.Hex4(1, e.original_network_id);
  r.Hex4(2, e.service_id);
  r.Hex4(3, e.event_id);
  r.Dec(4, e.running_status);
}

void ShowTdt(RowSink& sink, const TimeDateSection& e) {
  Rows r(sink, kTdtLabels);
  r.TableId(0, e.table_id, e.GetName());
  r.Dec(1, e.section_length);
  r.Text(2, Time(e.UTC_time, false));
}

void ShowTot(RowSink& sink, const TimeOffsetSection& e) {
  Rows r(sink, kTotLabels);
  r.TableId(0, e.table_id, e.GetName());
  r.Dec(1, e.section_length);
  r.Text(2, Time(e.UTC_time, false));
  r.Hex8(3, e.CRC_32);
}

// ---------------------------------------------------------------------------
// Descriptors

void ShowCaDescriptor(RowSink& sink, const DescriptorCA& e) {
  Rows r(sink, kCaLabels);
  r.TagLength(e, Rows::Tag::Upper4);
  if (!r.Missing(2, e, 2))
    r.IdName(2, e.CA_system_ID, GetCASystemName(static_cast<int>(e.CA_system_ID)), true);
  if (!r.Missing(3, e, 4)) {
    r.Hex4U(3, e.CA_PID);
    r.Pid(3, e.CA_PID);
  }
  r.Bytes(4, e.private_data_bytes);
}

void ShowUnknownDescriptor(RowSink& sink, const DescriptorUnknown& e) {
  Rows r(sink, kUnknownLabels);
  r.TagLength(e, Rows::Tag::Upper4);
  r.Bytes(2, e.data);
}

void ShowIso639LanguageDescriptor(RowSink& sink, const DescriptorISO639Language& e) {
  TagLengthOnly(sink, kIso639LanguageLabels, e, Rows::Tag::Upper4);
}

void ShowVideoStreamDescriptor(RowSink& sink, const DescriptorVideoStream& e) {
  Rows r(sink, kVideoStreamLabels);
  if (r.Missing(0, 8, e, 1)) return;
  r.Dec(0, e.multiple_frame_rate_flag);
  r.Dec(1, e.frame_rate_code);
  r.Dec(2, e.MPEG_1_only_flag);
  r.Dec(3, e.constrained_parameter_flag);
  r.Dec(4, e.still_picture_flag);
  // Rows 5-8 exist in the descriptor only without the MPEG-1 flag (and when
  // it is long enough to hold them).
  if (!e.MPEG_1_only_flag && e.length >= 3) {
    r.Dec(5, e.profile_and_level_indication);
    r.Dec(6, e.chroma_format);
    r.Dec(7, e.frame_rate_extension_flag);
    r.Dec(8, e.reserved);
  } else {
    for (int row = 5; row <= 8; ++row) r.NA(row);
  }
}

void ShowAudioStreamDescriptor(RowSink& sink, const DescriptorAudioStream& e) {
  Rows r(sink, kAudioStreamLabels);
  r.TagLength(e);
  if (!r.Missing(2, 5, e, 1)) {
    r.Dec(2, e.free_format_flag);
    r.Dec(3, e.ID);
    r.Dec(4, e.layer);
    r.Dec(5, e.variable_rate_audio_indicator);
  }
}

void ShowHierarchyDescriptor(RowSink& sink, const DescriptorHierarchy& e) {
  Rows r(sink, kHierarchyLabels);
  r.TagLength(e);
  if (!r.Missing(2, e, 1)) r.Coded(2, e.hierarchy_type, e.GetHierarchyTypeName());
  if (!r.Missing(3, e, 2)) r.Dec(3, e.hierarchy_layer_index);
  if (!r.Missing(4, e, 3)) r.Dec(4, e.hierarchy_embedded_layer_index);
  if (!r.Missing(5, e, 4)) r.Dec(5, e.hierarchy_channel);
}

void ShowRegistrationDescriptor(RowSink& sink, const DescriptorRegistration& e) {
  Rows r(sink, kRegistrationLabels);
  r.TagLength(e);
  if (!r.Missing(2, e, 4)) r.Dec(2, e.format_identifier);
  r.Bytes(3, e.additional_identification_info);
}

void ShowDataStreamAlignmentDescriptor(RowSink& sink, const DescriptorDataStreamAlignment& e) {
  Rows r(sink, kDataStreamAlignmentLabels);
  r.TagLength(e);
  if (!r.Missing(2, e, 1)) r.Coded(2, e.alignment_type, e.GetAlignmentTypeName());
}

void ShowTargetBackgroundGridDescriptor(RowSink& sink, const DescriptorTargetBackgroundGrid& e) {
  Rows r(sink, kTargetBackgroundGridLabels);
  r.TagLength(e);
  if (r.Missing(2, 4, e, 4)) return;
  r.Dec(2, e.horizontal_size);
  r.Dec(3, e.vertical_size);
  r.Dec(4, e.aspect_ratio_information);
}

void ShowVideoWindowDescriptor(RowSink& sink, const DescriptorVideoWindow& e) {
  Rows r(sink, kVideoWindowLabels);
  r.TagLength(e);
  if (r.Missing(2, 4, e, 4)) return;
  r.Dec(2, e.horizontal_offset);
  r.Dec(3, e.vertical_offset);
  r.Dec(4, e.window_priority);
}

void ShowSystemClockDescriptor(RowSink& sink, const DescriptorSystemClock& e) {
  Rows r(sink, kSystemClockLabels);
  r.TagLength(e);
  if (!r.Missing(2, 3, e, 1)) {
    r.Dec(2, e.external_clock_reference_indicator);
    r.Dec(3, e.clock_accuracy_integer);
  }
  if (!r.Missing(4, e, 2)) r.Dec(4, e.clock_accuracy_exponent);
}

void ShowMultiplexBufferUtilizationDescriptor(RowSink& sink,
                                              const DescriptorMultiplexBufferUtilization& e) {
  Rows r(sink, kMultiplexBufferUtilizationLabels);
  r.TagLength(e);
  if (!r.Missing(2, 3, e, 2)) {
    r.Dec(2, e.bound_valid_flag);
    r.Dec(3, e.LTW_offset_lower_bound);
  }
  if (!r.Missing(4, e, 4)) r.Dec(4, e.LTW_offset_upper_bound);
}

void ShowCopyrightDescriptor(RowSink& sink, const DescriptorCopyright& e) {
  Rows r(sink, kCopyrightLabels);
  r.TagLength(e);
  if (!r.Missing(2, e, 4)) r.Dec(2, e.copyright_identifier);
  r.Bytes(3, e.additional_copyright_info);
}

void ShowMaximumBitrateDescriptor(RowSink& sink, const DescriptorMaximumBitrate& e) {
  Rows r(sink, kMaximumBitrateLabels);
  r.TagLength(e);
  if (!r.Missing(2, e, 3)) r.Dec(2, e.maximum_bitrate);
}

void ShowPrivateDataIndicatorDescriptor(RowSink& sink, const DescriptorPrivateDataIndicator& e) {
  Rows r(sink, kPrivateDataIndicatorLabels);
  r.TagLength(e);
  if (!r.Missing(2, e, 4)) r.Dec(2, e.private_data_indicator);
}

void ShowSmoothingBufferDescriptor(RowSink& sink, const DescriptorSmoothingBuffer& e) {
  Rows r(sink, kSmoothingBufferLabels);
  r.TagLength(e);
  if (!r.Missing(2, e, 3)) r.Dec(2, e.sb_leak_rate);
  if (!r.Missing(3, e, 6)) r.Dec(3, e.sb_size);
}

void ShowStdDescriptor(RowSink& sink, const DescriptorSTD& e) {
  Rows r(sink, kStdLabels);
  r.TagLength(e);
  if (!r.Missing(2, e, 1)) r.Dec(2, e.leak_valid_flag);
}

void ShowIbpDescriptor(RowSink& sink, const DescriptorIBP& e) {
  Rows r(sink, kIbpLabels);
  r.TagLength(e);
  if (r.Missing(2, 4, e, 2)) return;
  r.Dec(2, e.closed_gop_flag);
  r.Dec(3, e.identical_gop_flag);
  r.Dec(4, e.max_gop_length);
}

void ShowNetworkNameDescriptor(RowSink& sink, const DescriptorNetworkName& e) {
  Rows r(sink, kNameLabels);
  r.TagLength(e);
  r.Text(2, e.network_name);
}

void ShowServiceListDescriptor(RowSink& sink, const DescriptorServiceList& e) {
  TagLengthOnly(sink, kTagLengthLabels, e);
}

void ShowStuffingDescriptor(RowSink& sink, const DescriptorStuffing& e) {
  Rows r(sink, kStuffingLabels);
  r.TagLength(e);
  r.Bytes(2, e.stuffing_bytes);
}

void ShowSatelliteDeliverySystemDescriptor(RowSink& sink, const DescriptorSatelliteDeliverySystem& e) {
  Rows r(sink, kSatelliteLabels);
  r.TagLength(e, Rows::Tag::Lower2);
  if (!r.Missing(2, e, 4)) r.Text(2, Fmt("%.2f", e.frequency * 1000.0));
  if (!r.Missing(3, e, 6)) r.Text(3, Fmt("%.1f", e.orbital_position));
  if (!r.Missing(4, 6, e, 7)) {
    r.Coded(4, e.west_east_flag, e.west_east_flag ? "east" : "west");
    r.Coded(5, e.polarization, e.GetPolarizationName());
    r.Coded(6, e.modulation, e.GetModulationName());
  }
  if (!r.Missing(7, 8, e, 11)) {
    r.Text(7, Fmt("%.1f", e.symbol_rate * 1000.0));
    r.Coded(8, e.FEC_inner, e.GetFECInnerName());
  }
}

void ShowCableDeliverySystemDescriptor(RowSink& sink, const DescriptorCableDeliverySystem& e) {
  Rows r(sink, kCableLabels);
  r.TagLength(e);
  if (!r.Missing(2, e, 4)) r.Text(2, Fmt("%f", e.frequency));
  if (!r.Missing(3, e, 6)) r.Dec(3, e.FEC_outer);
  if (!r.Missing(4, e, 7)) r.Dec(4, e.modulation);
  if (!r.Missing(5, 6, e, 11)) {
    r.Text(5, Fmt("%f", e.symbol_rate));
    r.Dec(6, e.FEC_inner);
  }
}

void ShowTerrestrialDeliverySystemDescriptor(RowSink& sink,
                                             const DescriptorTerrestrialDeliverySystem& e) {
  Rows r(sink, kTerrestrialLabels);
  r.TagLength(e);
  if (!r.Missing(2, e, 4)) r.Dec(2, e.centre_frequency);
  if (!r.Missing(3, e, 5)) r.Dec(3, e.bandwidth);
  if (!r.Missing(4, 6, e, 6)) {
    r.Dec(4, e.constellation);
    r.Dec(5, e.hierarchy_information);
    r.Dec(6, e.code_rate_HP_stream);
  }
  if (!r.Missing(7, 10, e, 7)) {
    r.Dec(7, e.code_rate_LP_stream);
    r.Dec(8, e.guard_interval);
    r.Dec(9, e.transmission_mode);
    r.Dec(10, e.other_frequency_flag);
  }
}

void ShowBouquetNameDescriptor(RowSink& sink, const DescriptorBouquetName& e) {
  Rows r(sink, kNameLabels);
  r.TagLength(e);
  r.Text(2, e.bouquet_name);
}

void ShowServiceDescriptor(RowSink& sink, const DescriptorService& e) {
  Rows r(sink, kServiceLabels);
  r.TagLength(e, Rows::Tag::Lower2);
  if (!r.Missing(2, e, 1))
    r.Coded(2, e.service_type, DescriptorService::ServiceTypeName(static_cast<int>(e.service_type)));
  r.NA(3);  // the name lengths are not kept (the names are decoded text)
  r.Text(4, e.service_provider_name);
  r.NA(5);
  r.Text(6, e.service_name);
}

void ShowCountryAvailabilityDescriptor(RowSink& sink, const DescriptorCountryAvailability& e) {
  Rows r(sink, kCountryAvailabilityLabels);
  r.TagLength(e);
  r.Dec(2, e.country_availability_flag);
}

void ShowLinkageDescriptor(RowSink& sink, const DescriptorLinkage& e) {
  Rows r(sink, kLinkageLabels);
  r.TagLength(e);
  if (!r.Missing(2, e, 2)) r.Hex4U(2, e.transport_stream_id);
  if (!r.Missing(3, e, 4)) r.Hex4U(3, e.original_network_id);
  if (!r.Missing(4, e, 6)) r.Hex4U(4, e.service_id);
  if (!r.Missing(5, e, 7)) r.Dec(5, e.linkage_type);
  r.Bytes(6, e.private_data_bytes);
}

void ShowNvodReferenceDescriptor(RowSink& sink, const DescriptorNVODReference& e) {
  TagLengthOnly(sink, kNvodReferenceLabels, e);
}

void ShowTimeShiftedServiceDescriptor(RowSink& sink, const DescriptorTimeShiftedService& e) {
  Rows r(sink, kTimeShiftedServiceLabels);
  r.TagLength(e);
  if (!r.Missing(2, e, 2)) r.Hex4U(2, e.reference_service_id);
}

void ShowShortEventDescriptor(RowSink& sink, const DescriptorShortEvent& e) {
  Rows r(sink, kShortEventLabels);
  r.TagLength(e, Rows::Tag::Lower2);
  r.Code(2, e.ISO_639_language_code);
  r.Text(3, e.event_name);
  r.Text(4, e.text);
}

void ShowExtendedEventDescriptor(RowSink& sink, const DescriptorExtendedEvent& e) {
  Rows r(sink, kExtendedEventLabels);
  r.TagLength(e, Rows::Tag::Lower2);
  r.Dec(2, e.descriptor_number);
  r.Code(3, e.ISO_639_language_code);
  r.Text(4, e.text);
}

void ShowTimeShiftedEventDescriptor(RowSink& sink, const DescriptorTimeShiftedEvent& e) {
  Rows r(sink, kTimeShiftedEventLabels);
  r.TagLength(e, Rows::Tag::Lower2);
  if (!r.Missing(2, e, 2)) r.Dec(2, e.reference_service_id);
  if (!r.Missing(3, e, 4)) r.Dec(3, e.reference_event_id);
}

void ShowComponentDescriptor(RowSink& sink, const DescriptorComponent& e) {
  Rows r(sink, kComponentLabels);
  r.TagLength(e, Rows::Tag::Lower2);
  if (!r.Missing(2, e, 1)) r.Dec(2, e.stream_content);
  if (!r.Missing(3, e, 2)) r.Dec(3, e.component_type);
  if (!r.Missing(4, e, 3)) r.Dec(4, e.component_tag);
  r.Code(5, e.ISO_639_language_code);
  r.Text(6, e.text);
}

void ShowMosaicDescriptor(RowSink& sink, const DescriptorMosiac& e) {
  Rows r(sink, kMosaicLabels);
  r.TagLength(e);
  if (r.Missing(2, 4, e, 1)) return;
  r.Dec(2, e.mosiac_entry_point);
  r.Dec(3, e.number_of_horizontal_elementary_cells);
  r.Dec(4, e.number_of_vertical_elementary_cells);
}

void ShowStreamIdentifierDescriptor(RowSink& sink, const DescriptorStreamIdentifier& e) {
  Rows r(sink, kStreamIdentifierLabels);
  r.TagLength(e);
  if (!r.Missing(2, e, 1)) r.Dec(2, e.component_tag);
}

void ShowContentDescriptor(RowSink& sink, const DescriptorContent& e) {
  TagLengthOnly(sink, kTagLengthLabels, e, Rows::Tag::Lower2);
}

void ShowParentalRatingDescriptor(RowSink& sink, const DescriptorParentalRating& e) {
  TagLengthOnly(sink, kParentalRatingLabels, e);
}

void ShowTeletextDescriptor(RowSink& sink, const DescriptorTeletext& e) {
  TagLengthOnly(sink, kTagLengthLabels, e, Rows::Tag::Lower2);
}

void ShowTelephoneDescriptor(RowSink& sink, const DescriptorTelephone& e) {
  Rows r(sink, kTelephoneLabels);
  r.TagLength(e);
  if (!r.Missing(2, 3, e, 1)) {
    r.Dec(2, e.foreign_availability);
    r.Dec(3, e.connection_type);
  }
  if (!r.Missing(4, 6, e, 2)) {
    r.Dec(4, e.country_prefix_length);
    r.Dec(5, e.international_area_code_length);
    r.Dec(6, e.operator_code_length);
  }
  if (!r.Missing(7, 8, e, 3)) {
    r.Dec(7, e.national_area_code_length);
    r.Dec(8, e.core_number_length);
  }
  r.Text(9, e.country_prefix_char);
  r.Text(10, e.international_area_code_char);
  r.Text(11, e.operator_code_char);
  r.Text(12, e.national_area_code_char);
  r.Text(13, e.core_number_char);
}

void ShowSubtitlingDescriptor(RowSink& sink, const DescriptorSubtitling& e) {
  TagLengthOnly(sink, kSubtitlingLabels, e);
}

void ShowMultilingualNetworkNameDescriptor(RowSink& sink, const DescriptorMultilingualNetworkName& e) {
  TagLengthOnly(sink, kMultilingualNetworkNameLabels, e);
}

void ShowMultilingualBouquetNameDescriptor(RowSink& sink, const DescriptorMultilingualBouquetName& e) {
  TagLengthOnly(sink, kMultilingualBouquetNameLabels, e);
}

void ShowMultilingualServiceNameDescriptor(RowSink& sink, const DescriptorMultilingualServiceName& e) {
  TagLengthOnly(sink, kMultilingualServiceNameLabels, e);
}

void ShowMultilingualComponentDescriptor(RowSink& sink, const DescriptorMultilingualComponentName& e) {
  Rows r(sink, kMultilingualComponentLabels);
  r.TagLength(e);
  r.Dec(2, e.component_tag);
}

void ShowPrivateDataSpecifierDescriptor(RowSink& sink, const DescriptorPrivateDataSpecifier& e) {
  Rows r(sink, kPrivateDataSpecifierLabels);
  r.TagLength(e);
  if (!r.Missing(2, e, 4)) r.Hex8U(2, e.private_data_specifier);
}

void ShowServiceMoveDescriptor(RowSink& sink, const DescriptorServiceMove& e) {
  Rows r(sink, kServiceMoveLabels);
  r.TagLength(e);
  if (!r.Missing(2, e, 2)) r.Hex4U(2, e.new_original_network_id);
  if (!r.Missing(3, e, 4)) r.Hex4U(3, e.new_transport_stream_id);
  if (!r.Missing(4, e, 6)) r.Hex4U(4, e.new_service_id);
}

void ShowShortSmoothingBufferDescriptor(RowSink& sink, const DescriptorShortSmoothingBuffer& e) {
  Rows r(sink, kShortSmoothingBufferLabels);
  r.TagLength(e);
  if (!r.Missing(2, 3, e, 1)) {
    r.Dec(2, e.sb_size);
    r.Dec(3, e.sb_leak_rate);
  }
  r.Bytes(4, e.DVB_reserved);
}

void ShowFrequencyListDescriptor(RowSink& sink, const DescriptorFrequencyList& e) {
  Rows r(sink, kFrequencyListLabels);
  r.TagLength(e);
  r.Coded(2, e.coding_type, e.GetCodingTypeName());
}

void ShowDataBroadcastDescriptor(RowSink& sink, const DescriptorDataBroadcast& e) {
  Rows r(sink, kDataBroadcastLabels);
  r.TagLength(e);
  r.IdName(2, e.data_broadcast_id, GetDataBroadcastName(static_cast<int>(e.data_broadcast_id)), true);
  r.Dec(3, e.component_tag);
  r.Dec(4, e.selector_length);
  r.Bytes(5, e.selector_byte);
  r.Code(6, e.ISO_639_language_code);
  r.Dec(7, e.text_length);
  r.Text(8, e.text);
}

void ShowDataBroadcastIdDescriptor(RowSink& sink, const DescriptorDataBroadcastId& e) {
  Rows r(sink, kDataBroadcastIdLabels);
  r.TagLength(e);
  if (!r.Missing(2, e, 2))
    r.IdName(2, e.data_broadcast_id, GetDataBroadcastName(static_cast<int>(e.data_broadcast_id)), true);
  r.Bytes(3, e.id_selector_byte);
}

void ShowPdcDescriptor(RowSink& sink, const DescriptorPDC& e) {
  Rows r(sink, kPdcLabels);
  r.TagLength(e);
  if (!r.Missing(2, e, 3))
    r.Coded(2, e.programme_identification_label, e.GetProgrammeIdentificationLabelText());
}

void ShowAc3Descriptor(RowSink& sink, const DescriptorAC3& e) {
  Rows r(sink, kAc3Labels);
  r.TagLength(e);
  if (r.Missing(2, 5, e, 1)) {
    for (int row = 6; row <= 9; ++row) r.NA(row);
    return;
  }
  r.Dec(2, e.component_type_flag);
  r.Dec(3, e.bsid_flag);
  r.Dec(4, e.mainid_flag);
  r.Dec(5, e.asvc_flag);
  // A field whose flag is 0 is not in the descriptor, and neither is a
  // flagged one that a short descriptor ends before (the flagged bytes
  // follow the flags byte in flag order).
  const u32 carried = e.length > 0 ? e.length - 1 : 0;
  u32 next = 0;
  auto optional = [&](int row, u32 flag, u32 value) {
    if (flag && next++ < carried)
      r.Dec(row, value);
    else
      r.NA(row);
  };
  optional(6, e.component_type_flag, e.component_type);
  optional(7, e.bsid_flag, e.bsid);
  optional(8, e.mainid_flag, e.mainid);
  optional(9, e.asvc_flag, e.asvc);
  r.Bytes(10, e.additional_info);
}

void ShowAncillaryDataDescriptor(RowSink& sink, const DescriptorAncillaryData& e) {
  Rows r(sink, kAncillaryDataLabels);
  r.TagLength(e);
  if (!r.Missing(2, e, 1)) r.Hex2U(2, e.ancillary_data_identifier);
}

void ShowCellListDescriptor(RowSink& sink, const DescriptorCellList& e) {
  TagLengthOnly(sink, kCellListLabels, e);
}

void ShowCellFrequencyLinkDescriptor(RowSink& sink, const DescriptorCellFrequencyLink& e) {
  TagLengthOnly(sink, kCellFrequencyLinkLabels, e);
}

void ShowAnnouncementSupportDescriptor(RowSink& sink, const DescriptorAnnouncementSupport& e) {
  Rows r(sink, kAnnouncementSupportLabels);
  r.TagLength(e);
  r.Hex2U(2, e.announcement_support_indicator);
}

void ShowApplicationSignallingDescriptor(RowSink& sink, const DescriptorApplicationSignalling& e) {
  TagLengthOnly(sink, kApplicationSignallingLabels, e);
}

void ShowAdaptationFieldDataDescriptor(RowSink& sink, const DescriptorAdaptationField& e) {
  Rows r(sink, kAdaptationFieldDataLabels);
  r.TagLength(e);
  if (!r.Missing(2, e, 1)) r.Hex2U(2, e.adaptation_field_data_identifier);
}

void ShowServiceAvailabilityDescriptor(RowSink& sink, const DescriptorServiceAvailability& e) {
  Rows r(sink, kServiceAvailabilityLabels);
  r.TagLength(e);
  r.Dec(2, e.availability_flag);
  std::string cells;
  for (u32 id : e.cell_id) {
    if (!cells.empty()) cells += ", ";
    cells += Fmt("%u", static_cast<unsigned>(id));
  }
  r.Text(3, cells);
}

void ShowVbiDataDescriptor(RowSink& sink, const DescriptorVBIData& e) {
  TagLengthOnly(sink, kVbiDataLabels, e);
}

void ShowVbiTeletextDescriptor(RowSink& sink, const DescriptorVBITeletext& e) {
  TagLengthOnly(sink, kVbiTeletextLabels, e);
}

void ShowDescriptorEntry61220(RowSink& sink, const DescriptorLocalTimeOffset& e) {
  TagLengthOnly(sink, kTagLengthLabels, e);
}

void ShowDescriptorEntry61231(RowSink& sink, const DescriptorCAIdentifier& e) {
  TagLengthOnly(sink, kCaIdentifierLabels, e);
}

void ShowDescriptorEntry61272(RowSink& sink, const DescriptorPartialTransport& e) {
  TagLengthOnly(sink, kPartialTransportLabels, e);
}

void ShowBytesDescriptorEntry61275(RowSink& sink, const DescriptorTransportStream& e) {
  Rows r(sink, kTransportStreamLabels);
  r.TagLength(e);
  r.Bytes(2, e.bytes);
}

void ShowBytesDescriptorEntry61276(RowSink& sink, const DescriptorDSNG& e) {
  Rows r(sink, kDsngLabels);
  r.TagLength(e);
  r.Bytes(2, e.bytes);
}

void ShowDescriptorEntry61285(RowSink& sink, const DescriptorServiceIdentifier& e) {
  TagLengthOnly(sink, kServiceIdentifierLabels, e);
}

// ---------------------------------------------------------------------------
// Entries of descriptor loops

void ShowIso639LanguageEntry(RowSink& sink, const ISO639LanguageInfo& e) {
  Rows r(sink, kIso639LanguageEntryLabels);
  r.Code(0, e.ISO_639_language_code);
  r.Dec(1, e.audio_type);
}

void ShowServiceListEntry(RowSink& sink, const ServiceListInfo& e) {
  Rows r(sink, kServiceListEntryLabels);
  r.Hex2(0, e.service_id);
  r.Coded(1, e.service_type, DescriptorService::ServiceTypeName(static_cast<int>(e.service_type)));
}

void ShowTeletextEntry(RowSink& sink, const TeletextInfo& e) {
  Rows r(sink, kTeletextEntryLabels);
  r.Code(0, e.ISO_639_language_code);
  r.Text(1, Fmt("%u : %s", static_cast<unsigned>(e.teletext_type),
                NameToUtf8(e.GetTeletextTypeName()).c_str()));
  r.Dec(2, e.teletext_magazine_number);
  r.Dec(3, e.teletext_page_number);
}

void ShowContentEntry(RowSink& sink, const ContentInfo& e) {
  Rows r(sink, kContentEntryLabels);
  r.Coded(0, e.content_nibble_level_1, e.ContentNibbleLevel1Name());
  r.Coded(1, e.content_nibble_level_2, e.ContentNibbleName());
  r.Dec(2, e.user_nibble_1);
  r.Dec(3, e.user_nibble_2);
}

void ShowNvodReferenceEntry(RowSink& sink, const DescriptorNVODReference::service& e) {
  Rows r(sink, kNvodReferenceEntryLabels);
  r.Hex4U(0, e.transport_stream_id);
  r.Hex4U(1, e.original_network_id);
  r.Hex4U(2, e.service_id);
}

void ShowMosaicCell(RowSink& sink, const DescriptorMosiac::CellInfo& e) {
  Rows r(sink, kMosaicCellLabels);
  r.Dec(0, e.logical_cell_id);
  r.Dec(1, e.logical_cell_presentation_info);
  r.Dec(2, e.elementary_cell_field_length);
  r.Bytes(3, e.elementary_cell_ids);
  r.Dec(4, e.cell_linkage_info);
  switch (e.cell_linkage_info) {
    case 1:
      r.More(kMosaicCellBouquetLabels);
      r.Hex4U(5, e.bouquet_info.bouquet_id);
      break;
    case 2:
    case 3: {
      const ServiceInfo& s = e.cell_linkage_info == 2 ? e.service_info : e.mosaic_info;
      r.More(kMosaicCellServiceLabels);
      r.Hex4U(5, s.original_network_id);
      r.Hex4U(6, s.transport_stream_id);
      r.Hex4U(7, s.service_id);
      break;
    }
    case 4:
      r.More(kMosaicCellServiceLabels);
      r.More(kMosaicCellEventLabels);
      r.Hex4U(5, e.event_info.original_network_id);
      r.Hex4U(6, e.event_info.transport_stream_id);
      r.Hex4U(7, e.event_info.service_id);
      r.Hex4U(8, e.event_info.event_id);
      break;
    default:  // undefined linkage: nothing linked
      break;
  }
}

void ShowParentalRatingEntry(RowSink& sink, const DescriptorParentalRating::RatingInfo& e) {
  Rows r(sink, kParentalRatingEntryLabels);
  r.Code(0, e.country_code);
  r.Dec(1, e.rating);
}

void ShowSubtitlingEntry(RowSink& sink, const SubtitlingInfo& e) {
  Rows r(sink, kSubtitlingEntryLabels);
  r.Code(0, e.ISO_639_language_code);
  r.Dec(1, e.subtitling_type);
  r.Dec(2, e.composition_page_id);
  r.Dec(3, e.ancillary_page_id);
}

void ShowMultilingualNameEntry(RowSink& sink, const MultilingualNameInfo& e) {
  Rows r(sink, kMultilingualNameEntryLabels);
  r.Code(0, e.ISO_639_language_code);
  r.Dec(1, e.text_len);
  r.Text(2, e.name);
}

void ShowMultilingualServiceNameEntry(
    RowSink& sink, const DescriptorMultilingualServiceName::MultilingualServiceNameInfo& e) {
  Rows r(sink, kMultilingualServiceNameEntryLabels);
  r.Code(0, e.ISO_639_language_code);
  r.Dec(1, e.provider_len);
  r.Text(2, e.providername);
  r.Dec(3, e.service_len);
  r.Text(4, e.servicename);
}

void ShowDataServiceEntry(RowSink& sink, const VBIDataInfo& e) {
  Rows r(sink, kDataServiceEntryLabels);
  r.Hex2U(0, e.data_service_id);
  r.Dec(1, e.data_service_descriptor_length);
  r.Bytes(2, e.data_service_bytes);
}

void ShowVbiTeletextEntry(RowSink& sink, const TeletextInfo& e) {
  Rows r(sink, kVbiTeletextEntryLabels);
  r.Code(0, e.ISO_639_language_code);
  r.Dec(1, e.teletext_type);
  r.Dec(2, e.teletext_magazine_number);
  r.Dec(3, e.teletext_page_number);
}

void ShowCellListEntry(RowSink& sink, const CellListInfo& e) {
  Rows r(sink, kCellListEntryLabels);
  r.Dec(0, e.cell_id);
  r.Signed16(1, e.cell_latitude);
  r.Signed16(2, e.cell_longitude);
  r.Dec(3, e.cell_extent_of_latitude);
  r.Dec(4, e.cell_extent_of_longitude);
  r.Dec(5, e.subcell_info_loop_length);
}

void ShowSubcellListEntry(RowSink& sink, const SubcellInfo& e) {
  Rows r(sink, kSubcellListEntryLabels);
  r.Dec(0, e.cell_id_extension);
  r.Signed16(1, e.subcell_latitude);
  r.Signed16(2, e.subcell_longitude);
  r.Dec(3, e.subcell_extent_of_latitude);
  r.Dec(4, e.subcell_extent_of_longitude);
}

void ShowCellFrequencyLinkEntry(RowSink& sink, const CellFrequencyLinkInfo& e) {
  Rows r(sink, kCellFrequencyLinkEntryLabels);
  r.Dec(0, e.cell_id);
  r.Dec(1, e.frequency);
  r.Dec(2, e.subcell_info_loop_length);
}

void ShowSubcellFrequencyEntry(RowSink& sink, const SubcellFrequencyInfo& e) {
  Rows r(sink, kSubcellFrequencyEntryLabels);
  r.Dec(0, e.cell_id_extension);
  r.Dec(1, e.transposer_frequency);
}

void ShowAnnouncementEntry(RowSink& sink, const AnnouncementInfo& e) {
  Rows r(sink, kAnnouncementEntryLabels);
  r.Dec(0, e.announcement_type);
  r.Hex2U(1, e.reference_type);
  // Only reference types 1-3 name a service.
  if (e.reference_type >= 1 && e.reference_type <= 3) {
    r.Hex4U(2, e.original_network_id);
    r.Hex4U(3, e.transport_stream_id);
    r.Hex4U(4, e.service_id);
    r.Hex2U(5, e.component_tag);
  } else {
    for (int row = 2; row <= 5; ++row) r.NA(row);
  }
}

void ShowApplicationSignallingEntry(RowSink& sink, const ApplicationSignallingInfo& e) {
  Rows r(sink, kApplicationSignallingEntryLabels);
  r.Coded(0, e.application_type, e.GetApplicationTypeName());
  r.Dec(1, e.AIT_version_number);
}

}  // namespace ui_core
