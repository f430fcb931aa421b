// lib13818 against libdvbpsi (Debian's libdvbpsi-dev) on the same distinct
// sections, per table kind and over all of them: for libdvbpsi the CRC check,
// the table decoder into a table kept from section to section, and the
// descriptor decoder of its tag on every descriptor it has one for; for
// lib13818 the section class's Parse (CRC, body, every descriptor decoded)
// into a fresh section object.  The two run in one loop, round by round on
// the same bytes (see BM_Compare); read the counters, not the time.
//
// The corpora: the generated multiplex of sigen at a few seeds ("generated"),
// and the same with long EIT schedules ("eit-heavy").
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>
#include <string>
#include <vector>

extern "C" {
#include <dvbpsi/dvbpsi.h>
#include <dvbpsi/psi.h>
#include <dvbpsi/descriptor.h>
#include <dvbpsi/pat.h>
#include <dvbpsi/cat.h>
#include <dvbpsi/pmt.h>
#include <dvbpsi/nit.h>
#include <dvbpsi/sdt.h>
#include <dvbpsi/bat.h>
#include <dvbpsi/eit.h>
#include <dvbpsi/tot.h>
#include <dvbpsi/dr.h>

// The table decoders behind libdvbpsi's section gathering: exported by the
// library, declared in its private headers.
void dvbpsi_pat_sections_decode(dvbpsi_pat_t* p_pat, dvbpsi_psi_section_t* p_section);
void dvbpsi_cat_sections_decode(dvbpsi_cat_t* p_cat, dvbpsi_psi_section_t* p_section);
void dvbpsi_pmt_sections_decode(dvbpsi_pmt_t* p_pmt, dvbpsi_psi_section_t* p_section);
void dvbpsi_nit_sections_decode(dvbpsi_nit_t* p_nit, dvbpsi_psi_section_t* p_section);
void dvbpsi_sdt_sections_decode(dvbpsi_sdt_t* p_sdt, dvbpsi_psi_section_t* p_section);
void dvbpsi_bat_sections_decode(dvbpsi_bat_t* p_bat, dvbpsi_psi_section_t* p_section);
void dvbpsi_eit_sections_decode(dvbpsi_eit_t* p_eit, dvbpsi_psi_section_t* p_section);
void dvbpsi_tot_sections_decode(dvbpsi_t* p_dvbpsi, dvbpsi_tot_t* p_tot, dvbpsi_psi_section_t* p_section);
}

#include "lib13818/nit_bat.h"
#include "parse_as.h"
#include "lib13818/psi.h"
#include "lib13818/sdt_eit.h"
#include "lib13818/time_tables.h"
#include "sigen/sigen.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

enum Kind { kPat, kCat, kPmt, kNit, kSdt, kBat, kEit, kTdt, kTot, kAll, kKinds };
const char* const kKindNames[] = {"PAT", "CAT", "PMT", "NIT", "SDT", "BAT", "EIT", "TDT", "TOT", "all"};

int KindOf(std::uint8_t id) {
  switch (id) {
    case 0x00: return kPat;
    case 0x01: return kCat;
    case 0x02: return kPmt;
    case 0x40: case 0x41: return kNit;
    case 0x42: case 0x46: return kSdt;
    case 0x4A: return kBat;
    case 0x70: return kTdt;
    case 0x73: return kTot;
    default: return id >= 0x4E && id <= 0x6F ? kEit : -1;
  }
}

struct Corpus {
  std::vector<Bytes> byKind[kKinds];
};

Corpus MakeCorpus(bool eitHeavy) {
  Corpus c;
  for (std::uint32_t seed = 1; seed <= 4; ++seed) {
    sigen::Config config;
    config.seed = seed;
    config.services = 12;
    config.scheduleEvents = eitHeavy ? 400 : 48;
    config.transport_stream_id = static_cast<std::uint16_t>(0x0400 + seed * 0x10);
    const sigen::Multiplex mux = sigen::GenerateMultiplex(config);
    for (Bytes& s : sigen::AllSections(mux)) {
      const int k = KindOf(s[0]);
      if (k < 0) continue;
      c.byKind[k].push_back(s);
      c.byKind[kAll].push_back(std::move(s));
    }
  }
  return c;
}

const Corpus& GetCorpus(int which) {
  static const Corpus generated = MakeCorpus(false);
  static const Corpus eitHeavy = MakeCorpus(true);
  return which == 0 ? generated : eitHeavy;
}

// --- lib13818 ---------------------------------------------------------------

bool Lib13818Parse(const Bytes& b) {
  switch (KindOf(b[0])) {
    case kPat: return ParseAs<lib13818::ProgramAssociationSection>(b);
    case kCat: return ParseAs<lib13818::ConditionalAccessSection>(b);
    case kPmt: return ParseAs<lib13818::ProgramMapSection>(b);
    case kNit: return ParseAs<lib13818::NetworkInformationSection>(b);
    case kSdt: return ParseAs<lib13818::ServiceDescriptionSection>(b);
    case kBat: return ParseAs<lib13818::BouquetAssociationSection>(b);
    case kEit: return ParseAs<lib13818::EventInformationSection>(b);
    case kTdt: return ParseAs<lib13818::TimeDateSection>(b);
    case kTot: return ParseAs<lib13818::TimeOffsetSection>(b);
    default: return false;
  }
}

// --- libdvbpsi --------------------------------------------------------------

// A section as libdvbpsi's reassembly hands it to a table decoder.
struct DvbpsiSection {
  explicit DvbpsiSection(const Bytes& b) : s(dvbpsi_NewPSISection(static_cast<int>(b.size()))) {
    std::memcpy(s->p_data, b.data(), b.size());
    s->i_table_id = b[0];
    s->b_syntax_indicator = (b[1] & 0x80) != 0;
    s->b_private_indicator = (b[1] & 0x40) != 0;
    s->i_length = static_cast<std::uint16_t>((b[1] & 0x0F) << 8 | b[2]);
    if (s->b_syntax_indicator) {
      s->i_extension = static_cast<std::uint16_t>(b[3] << 8 | b[4]);
      s->i_version = (b[5] >> 1) & 0x1F;
      s->b_current_next = b[5] & 1;
      s->i_number = b[6];
      s->i_last_number = b[7];
      s->p_payload_start = s->p_data + 8;
      s->p_payload_end = s->p_data + b.size() - 4;
    } else {
      // TDT and TOT: the TOT's CRC_32 is not payload.
      s->p_payload_start = s->p_data + 3;
      s->p_payload_end = s->p_data + b.size() - (b[0] == 0x73 ? 4 : 0);
    }
    s->p_next = nullptr;
  }
  ~DvbpsiSection() { dvbpsi_DeletePSISections(s); }
  DvbpsiSection(const DvbpsiSection&) = delete;
  DvbpsiSection(DvbpsiSection&& o) noexcept : s(o.s) { o.s = nullptr; }
  dvbpsi_psi_section_t* s;
};

// Every descriptor of a list through the decoder of its tag.
void DecodeDescriptors(dvbpsi_descriptor_t* d) {
  for (; d; d = d->p_next) {
    void* r = nullptr;
    switch (d->i_tag) {
      case 0x02: r = dvbpsi_DecodeVStreamDr(d); break;
      case 0x03: r = dvbpsi_DecodeAStreamDr(d); break;
      case 0x04: r = dvbpsi_DecodeHierarchyDr(d); break;
      case 0x05: r = dvbpsi_DecodeRegistrationDr(d); break;
      case 0x06: r = dvbpsi_DecodeDSAlignmentDr(d); break;
      case 0x07: r = dvbpsi_DecodeTargetBgGridDr(d); break;
      case 0x08: r = dvbpsi_DecodeVWindowDr(d); break;
      case 0x09: r = dvbpsi_DecodeCADr(d); break;
      case 0x0A: r = dvbpsi_DecodeISO639Dr(d); break;
      case 0x0B: r = dvbpsi_DecodeSystemClockDr(d); break;
      case 0x0C: r = dvbpsi_DecodeMxBuffUtilizationDr(d); break;
      case 0x0D: r = dvbpsi_DecodeCopyrightDr(d); break;
      case 0x0E: r = dvbpsi_DecodeMaxBitrateDr(d); break;
      case 0x0F: r = dvbpsi_DecodePrivateDataDr(d); break;
      case 0x10: r = dvbpsi_DecodeSmoothingBufferDr(d); break;
      case 0x11: r = dvbpsi_DecodeSTDDr(d); break;
      case 0x12: r = dvbpsi_DecodeIBPDr(d); break;
      case 0x13: r = dvbpsi_DecodeCarouselIdDr(d); break;
      case 0x14: r = dvbpsi_DecodeAssociationTagDr(d); break;
      case 0x1B: r = dvbpsi_DecodeMPEG4VideoDr(d); break;
      case 0x1C: r = dvbpsi_DecodeMPEG4AudioDr(d); break;
      case 0x40: r = dvbpsi_DecodeNetworkNameDr(d); break;
      case 0x41: r = dvbpsi_DecodeServiceListDr(d); break;
      case 0x42: r = dvbpsi_DecodeStuffingDr(d); break;
      case 0x43: r = dvbpsi_DecodeSatDelivSysDr(d); break;
      case 0x44: r = dvbpsi_DecodeCableDelivSysDr(d); break;
      case 0x45: r = dvbpsi_DecodeVBIDataDr(d); break;
      case 0x46: case 0x56: r = dvbpsi_DecodeTeletextDr(d); break;
      case 0x47: r = dvbpsi_DecodeBouquetNameDr(d); break;
      case 0x48: r = dvbpsi_DecodeServiceDr(d); break;
      case 0x49: r = dvbpsi_DecodeCountryAvailability(d); break;
      case 0x4A: r = dvbpsi_DecodeLinkageDr(d); break;
      case 0x4B: r = dvbpsi_DecodeNVODReferenceDr(d); break;
      case 0x4C: r = dvbpsi_DecodeTimeShiftedServiceDr(d); break;
      case 0x4D: r = dvbpsi_DecodeShortEventDr(d); break;
      case 0x4E: r = dvbpsi_DecodeExtendedEventDr(d); break;
      case 0x4F: r = dvbpsi_DecodeTimeShiftedEventDr(d); break;
      case 0x50: r = dvbpsi_DecodeComponentDr(d); break;
      case 0x52: r = dvbpsi_DecodeStreamIdentifierDr(d); break;
      case 0x53: r = dvbpsi_DecodeCAIdentifierDr(d); break;
      case 0x54: r = dvbpsi_DecodeContentDr(d); break;
      case 0x55: r = dvbpsi_DecodeParentalRatingDr(d); break;
      case 0x58: r = dvbpsi_DecodeLocalTimeOffsetDr(d); break;
      case 0x59: r = dvbpsi_DecodeSubtitlingDr(d); break;
      case 0x5A: r = dvbpsi_DecodeTerrDelivSysDr(d); break;
      case 0x62: r = dvbpsi_DecodeFrequencyListDr(d); break;
      case 0x66: r = dvbpsi_DecodeDataBroadcastIdDr(d); break;
      case 0x69: r = dvbpsi_DecodePDCDr(d); break;
      case 0x73: r = dvbpsi_DecodeDefaultAuthorityDr(d); break;
      case 0x76: r = dvbpsi_DecodeContentIdDr(d); break;
      case 0x7C: r = dvbpsi_DecodeAACDr(d); break;
      default: break;
    }
    benchmark::DoNotOptimize(r);
  }
}

// libdvbpsi's tables kept as its callers keep them: one table of each kind,
// emptied with libdvbpsi's own empty function and initialised from the
// section's header before each section is decoded into it (the tables are
// never allocated per section).
class DvbpsiTables {
 public:
  DvbpsiTables() : handle_(dvbpsi_new(nullptr, DVBPSI_MSG_NONE)) {
    dvbpsi_pat_init(&pat_, 0, 0, false);
    dvbpsi_cat_init(&cat_, 0, false);
    dvbpsi_pmt_init(&pmt_, 0, 0, false, 0);
    dvbpsi_nit_init(&nit_, 0x40, 0, 0, 0, false);
    dvbpsi_sdt_init(&sdt_, 0x42, 0, 0, false, 0);
    dvbpsi_bat_init(&bat_, 0x4A, 0, 0, false);
    dvbpsi_eit_init(&eit_, 0x4E, 0, 0, false, 0, 0, 0, 0);
    dvbpsi_tot_init(&tot_, 0x70, 0, 0, false, 0);
  }
  ~DvbpsiTables() {
    dvbpsi_pat_empty(&pat_);
    dvbpsi_cat_empty(&cat_);
    dvbpsi_pmt_empty(&pmt_);
    dvbpsi_nit_empty(&nit_);
    dvbpsi_sdt_empty(&sdt_);
    dvbpsi_bat_empty(&bat_);
    dvbpsi_eit_empty(&eit_);
    dvbpsi_tot_empty(&tot_);
    dvbpsi_delete(handle_);
  }
  DvbpsiTables(const DvbpsiTables&) = delete;
  DvbpsiTables& operator=(const DvbpsiTables&) = delete;

  // CRC check, table decoder, every descriptor through its decoder.
  bool Decode(dvbpsi_psi_section_t* s) {
    if (s->i_table_id == 0x73) {
      // The TOT carries a CRC_32 without the syntax bit: checked all the same.
      s->b_syntax_indicator = true;
      const bool valid = dvbpsi_ValidPSISection(s);
      s->b_syntax_indicator = false;
      if (!valid) return false;
    } else if (s->b_syntax_indicator && !dvbpsi_ValidPSISection(s)) {
      return false;
    }
    const std::uint8_t* p = s->p_data;
    switch (KindOf(s->i_table_id)) {
      case kPat:
        dvbpsi_pat_empty(&pat_);
        dvbpsi_pat_init(&pat_, s->i_extension, s->i_version, s->b_current_next);
        dvbpsi_pat_sections_decode(&pat_, s);
        benchmark::DoNotOptimize(pat_.p_first_program);
        return true;
      case kCat:
        dvbpsi_cat_empty(&cat_);
        dvbpsi_cat_init(&cat_, s->i_version, s->b_current_next);
        dvbpsi_cat_sections_decode(&cat_, s);
        DecodeDescriptors(cat_.p_first_descriptor);
        return true;
      case kPmt:
        dvbpsi_pmt_empty(&pmt_);
        dvbpsi_pmt_init(&pmt_, s->i_extension, s->i_version, s->b_current_next,
                        static_cast<std::uint16_t>((p[8] & 0x1F) << 8 | p[9]));
        dvbpsi_pmt_sections_decode(&pmt_, s);
        DecodeDescriptors(pmt_.p_first_descriptor);
        for (dvbpsi_pmt_es_t* e = pmt_.p_first_es; e; e = e->p_next) DecodeDescriptors(e->p_first_descriptor);
        return true;
      case kNit:
        dvbpsi_nit_empty(&nit_);
        dvbpsi_nit_init(&nit_, s->i_table_id, s->i_extension, s->i_extension, s->i_version, s->b_current_next);
        dvbpsi_nit_sections_decode(&nit_, s);
        DecodeDescriptors(nit_.p_first_descriptor);
        for (dvbpsi_nit_ts_t* e = nit_.p_first_ts; e; e = e->p_next) DecodeDescriptors(e->p_first_descriptor);
        return true;
      case kSdt:
        dvbpsi_sdt_empty(&sdt_);
        dvbpsi_sdt_init(&sdt_, s->i_table_id, s->i_extension, s->i_version, s->b_current_next,
                        static_cast<std::uint16_t>(p[8] << 8 | p[9]));
        dvbpsi_sdt_sections_decode(&sdt_, s);
        for (dvbpsi_sdt_service_t* e = sdt_.p_first_service; e; e = e->p_next) DecodeDescriptors(e->p_first_descriptor);
        return true;
      case kBat:
        dvbpsi_bat_empty(&bat_);
        dvbpsi_bat_init(&bat_, s->i_table_id, s->i_extension, s->i_version, s->b_current_next);
        dvbpsi_bat_sections_decode(&bat_, s);
        DecodeDescriptors(bat_.p_first_descriptor);
        for (dvbpsi_bat_ts_t* e = bat_.p_first_ts; e; e = e->p_next) DecodeDescriptors(e->p_first_descriptor);
        return true;
      case kEit:
        dvbpsi_eit_empty(&eit_);
        dvbpsi_eit_init(&eit_, s->i_table_id, s->i_extension, s->i_version, s->b_current_next,
                        static_cast<std::uint16_t>(p[8] << 8 | p[9]), static_cast<std::uint16_t>(p[10] << 8 | p[11]),
                        p[12], p[13]);
        dvbpsi_eit_sections_decode(&eit_, s);
        for (dvbpsi_eit_event_t* e = eit_.p_first_event; e; e = e->p_next) DecodeDescriptors(e->p_first_descriptor);
        return true;
      case kTdt:
      case kTot:
        dvbpsi_tot_empty(&tot_);
        dvbpsi_tot_init(&tot_, s->i_table_id, 0, 0, false, 0);
        dvbpsi_tot_sections_decode(handle_, &tot_, s);
        {
          const std::uint64_t utc = tot_.i_utc_time;
          benchmark::DoNotOptimize(utc);
        }
        DecodeDescriptors(tot_.p_first_descriptor);
        return true;
      default:
        return false;
    }
  }

 private:
  dvbpsi_t* handle_;
  dvbpsi_pat_t pat_;
  dvbpsi_cat_t cat_;
  dvbpsi_pmt_t pmt_;
  dvbpsi_nit_t nit_;
  dvbpsi_sdt_t sdt_;
  dvbpsi_bat_t bat_;
  dvbpsi_eit_t eit_;
  dvbpsi_tot_t tot_;
};

// --- the comparison ---------------------------------------------------------

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  const size_t mid = v.size() / 2;
  std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(mid), v.end());
  return v[mid];
}

// Each iteration is one round: both libraries over the same bytes, one after
// the other, the one going first alternating from round to round.  A round
// passes over the kind's sections as often as it takes to hold at least
// kRoundSections sections, so that the clock's own cost stays out of the
// small tables' figures.  Counters, per pass over the sections: each
// library's median and fastest time (µs), and libdvbpsi's time over
// lib13818's, the median of the rounds' ratios and the ratio of the fastest
// times.
constexpr size_t kRoundSections = 512;

void BM_Compare(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(1));
  const std::vector<Bytes>& sections = GetCorpus(static_cast<int>(state.range(0))).byKind[kind];
  state.SetLabel(std::string(state.range(0) ? "eit-heavy " : "generated ") + kKindNames[kind]);
  if (sections.empty()) {
    state.SkipWithError("no sections of this kind");
    return;
  }
  std::vector<DvbpsiSection> prepared;
  prepared.reserve(sections.size());
  for (const Bytes& s : sections) prepared.emplace_back(s);
  const size_t passes = (kRoundSections + sections.size() - 1) / sections.size();
  DvbpsiTables tables;
  bool ok = true;
  const auto runLib13818 = [&] {
    for (size_t r = 0; r < passes; ++r)
      for (const Bytes& s : sections) ok &= Lib13818Parse(s);
  };
  const auto runDvbpsi = [&] {
    for (size_t r = 0; r < passes; ++r)
      for (DvbpsiSection& s : prepared) ok &= tables.Decode(s.s);
  };
  std::vector<double> lib, dvb, ratio;
  for (auto _ : state) {
    const bool libFirst = lib.size() % 2 == 0;
    const auto t0 = Clock::now();
    if (libFirst) runLib13818(); else runDvbpsi();
    const auto t1 = Clock::now();
    if (libFirst) runDvbpsi(); else runLib13818();
    const auto t2 = Clock::now();
    const double first = std::chrono::duration<double, std::micro>(t1 - t0).count() / static_cast<double>(passes);
    const double second = std::chrono::duration<double, std::micro>(t2 - t1).count() / static_cast<double>(passes);
    lib.push_back(libFirst ? first : second);
    dvb.push_back(libFirst ? second : first);
    ratio.push_back(dvb.back() / lib.back());
  }
  if (!ok) state.SkipWithError("a section did not parse or decode");
  size_t bytes = 0;
  for (const Bytes& s : sections) bytes += s.size();
  const auto perRound = static_cast<std::int64_t>(state.iterations() * passes);
  state.SetItemsProcessed(perRound * static_cast<std::int64_t>(sections.size()));
  state.SetBytesProcessed(perRound * static_cast<std::int64_t>(bytes));
  state.counters["sections"] = static_cast<double>(sections.size());
  const double libMin = *std::min_element(lib.begin(), lib.end());
  const double dvbMin = *std::min_element(dvb.begin(), dvb.end());
  state.counters["lib13818_us"] = Median(lib);
  state.counters["lib13818_us_min"] = libMin;
  state.counters["dvbpsi_us"] = Median(dvb);
  state.counters["dvbpsi_us_min"] = dvbMin;
  state.counters["ratio"] = Median(ratio);
  state.counters["ratio_of_min"] = dvbMin / libMin;
}

void Kinds(benchmark::internal::Benchmark* b) {
  for (int kind = 0; kind < kKinds; ++kind) b->Args({0, kind});
  b->Args({1, kEit});
  b->Args({1, kAll});
}

BENCHMARK(BM_Compare)->Apply(Kinds);

}  // namespace

BENCHMARK_MAIN();
