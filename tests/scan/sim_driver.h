#pragma once
// A driver for the scan tests: it tunes the multiplexes of a simulated world
// (vendorsim) and answers section requests from their generated tables as
// the plug-ins collect them (keys and limits of each mode).  It keeps every
// block it hands over on record, so that a test sees a block released twice,
// a block never released, and a foreign pointer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "orb_scan/scanner.h"
#include "vsim/si_gen.h"
#include "vsim/world.h"

namespace scan_test {

using namespace orb::scan;

class SimDriver : public SectionSource, public TunerControl {
 public:
  explicit SimDriver(vsim::World world, std::uint16_t deliveryType = DELIVERY_SATELLITE)
      : world_(std::move(world)), deliveryType_(deliveryType) {}
  ~SimDriver() override { EXPECT_TRUE(live_.empty()) << live_.size() << " blocks never released"; }

  // ---- SectionSource
  HResult GetSections(long count, SectionFilterSpec* specs, long timeout, SectionResult* results) override {
    ++calls_;
    EXPECT_EQ(timeout, 30);
    requests_.emplace_back(specs, specs + count);
    for (long i = 0; i < count; ++i) {
      EXPECT_EQ(results[i].count, 0u) << "results are zeroed before the call";
      EXPECT_EQ(results[i].sections, nullptr) << "results are zeroed before the call";
    }
    if (onRequest) onRequest(calls_);
    if (failCall == calls_) return static_cast<HResult>(0x80004005u);
    for (long i = 0; i < count; ++i) Collect(specs[i], results[i]);
    return kOk;
  }
  void Free(void* block) override {
    if (live_.erase(block) == 0) {
      ADD_FAILURE() << "released a block twice or one never handed over";
      return;
    }
    std::free(block);
  }

  // ---- TunerControl
  HResult GetDeliveryType(std::uint16_t& type) override {
    type = deliveryType_;
    return kOk;
  }
  HResult SetSatellite(const std::string& name, SATDELIVERYDESC& r) override {
    tunes_.push_back(name + ":" + std::to_string(r.frequency) + "/" + "HVLR"[r.polarization & 3]);
    if (onTune) onTune(static_cast<int>(tunes_.size()));
    if (deliveryType_ != DELIVERY_SATELLITE) return kFail;
    for (const vsim::SatelliteDef& s : world_.satellites)
      for (const vsim::MuxDef& m : s.transponders)
        if (Near(m.frequency_khz, r.frequency * 10u, 3000) &&
            m.polarization == "HVLR"[r.polarization & 3] && !Refused(m))
          return Lock(&m, name);
    Lock(nullptr, "");
    return kFail;
  }
  HResult TuneCable(CABLEDELIVERYDESC& r) override {
    tunes_.push_back("cable:" + std::to_string(r.frequency));
    for (const vsim::MuxDef& m : world_.cable)
      if (Near(m.frequency_khz, r.frequency / 10u, 250) && !Refused(m)) return Lock(&m, "");
    Lock(nullptr, "");
    return kFail;
  }
  HResult TuneTerrestrial(TERRDELIVERYDESC& r) override {
    tunes_.push_back("terr:" + std::to_string(r.centre_frequency));
    for (const vsim::MuxDef& m : world_.terrestrial)
      if (Near(m.frequency_khz, r.centre_frequency / 100u, 250) && !Refused(m)) return Lock(&m, "");
    Lock(nullptr, "");
    return kFail;
  }
  HResult GetSatChannel(std::string& name, SATDELIVERYDESC& r) override {
    if (!tuned_ || deliveryType_ != DELIVERY_SATELLITE) return kFail;
    std::memset(&r, 0, sizeof r);
    r.frequency = tuned_->frequency_khz / 10;
    r.polarization = static_cast<std::uint8_t>(std::string("HVLR").find(tuned_->polarization));
    r.symbol_rate = tuned_->symbol_rate / 100;
    name = tunedSatellite_;
    return kOk;
  }
  HResult GetCableChannel(CABLEDELIVERYDESC& r) override {
    if (!tuned_ || deliveryType_ != DELIVERY_CABLE) return kFail;
    std::memset(&r, 0, sizeof r);
    r.frequency = tuned_->frequency_khz * 10;
    r.modulation = tuned_->modulation;
    r.symbol_rate = tuned_->symbol_rate / 100;
    return kOk;
  }
  HResult GetTerrestrialChannel(TERRDELIVERYDESC& r) override {
    if (!tuned_ || deliveryType_ != DELIVERY_TERRESTRIAL) return kFail;
    std::memset(&r, 0, sizeof r);
    r.centre_frequency = tuned_->frequency_khz * 100;
    return kOk;
  }

  // ---- test controls
  // Tunes directly (as the user did before the scan).
  void TuneTo(const vsim::MuxDef& m, const std::string& satellite = "") { Lock(&m, satellite); }
  const vsim::MuxDef* Tuned() const { return tuned_; }
  // The tables of the tuned multiplex; a test may edit them before a scan.
  std::vector<vsim::TableSections>& Tables() { return tables_; }
  const std::vector<std::string>& Tunes() const { return tunes_; }
  const std::vector<std::vector<SectionFilterSpec>>& Requests() const { return requests_; }
  int Calls() const { return calls_; }
  // Multiplexes that never lock (by transport_stream_id).
  std::set<std::uint16_t> unlockable;
  // Called with the number of each GetSections call as it starts.
  std::function<void(int)> onRequest;
  // Called with the number of each satellite tune as it starts.
  std::function<void(int)> onTune;
  int failCall = 0;
  const vsim::World& World() const { return world_; }

 private:
  static bool Near(std::uint32_t a, std::uint32_t b, std::uint32_t within) {
    return (a > b ? a - b : b - a) <= within;
  }
  bool Refused(const vsim::MuxDef& m) const { return unlockable.count(m.transport_stream_id) != 0; }

  HResult Lock(const vsim::MuxDef* m, const std::string& satellite) {
    tuned_ = m;
    tunedSatellite_ = satellite;
    tables_.clear();
    if (!m) return kFail;
    tables_ = vsim::GenerateTables(world_, *m, vsim::UtcInstant{2026, 12, 9, 6, 0, 0});
    vsim::UtcInstant now{2026, 12, 9, 6, 30, 0};
    tables_.push_back({0x0014, {vsim::MakeTdt(now), vsim::MakeTot(now)}});
    return kOk;
  }

  // The sections a plug-in's filter collects for one request.
  void Collect(const SectionFilterSpec& spec, SectionResult& result) {
    std::vector<const vsim::Bytes*> kept;
    std::set<std::tuple<int, int, int, int>> keys;
    const std::size_t limit = spec.mode == SFM_EIT ? 100 : 32;
    for (const vsim::TableSections& t : tables_) {
      if (t.pid != (spec.pid & 0xFFFF)) continue;
      for (const vsim::Bytes& s : t.sections) {
        if (s.size() < 8 || s[0] != spec.table_id) continue;
        const int ext = s[3] << 8 | s[4];
        if (spec.match_extension && ext != spec.table_id_extension) continue;
        std::tuple<int, int, int, int> key{-1, -1, -1, s[6]};
        if (spec.mode == SFM_BY_EXTENSION || spec.mode == SFM_BY_EXTENSION_ONID || spec.mode == SFM_EIT)
          std::get<0>(key) = ext;
        if ((spec.mode == SFM_BY_EXTENSION_ONID || spec.mode == SFM_EIT) && s.size() > 9)
          std::get<1>(key) = s[8] << 8 | s[9];
        if (spec.mode == SFM_EIT && s.size() > 11) std::get<2>(key) = s[10] << 8 | s[11];
        if (!keys.insert(key).second) continue;
        if (spec.mode == SFM_RESERVED1 || spec.mode == SFM_RESERVED2) continue;
        kept.push_back(&s);
        if (kept.size() == limit) break;
        if (spec.mode == SFM_SINGLE && kept.size() == static_cast<std::size_t>(s[7]) + 1) break;
      }
    }
    if (kept.empty()) return;  // count 0, no array
    const std::size_t bufferSize = spec.mode == SFM_EIT ? 4096 : 1024;
    auto** array = static_cast<std::uint8_t**>(Allocate(kept.size() * sizeof(std::uint8_t*)));
    for (std::size_t i = 0; i < kept.size(); ++i) {
      array[i] = static_cast<std::uint8_t*>(Allocate(bufferSize));
      std::memset(array[i], 0xEE, bufferSize);
      std::memcpy(array[i], kept[i]->data(), std::min(bufferSize, kept[i]->size()));
    }
    result.count = static_cast<std::uint32_t>(kept.size());
    result.sections = array;
  }
  void* Allocate(std::size_t n) {
    void* p = std::malloc(n);
    live_.insert(p);
    return p;
  }

  vsim::World world_;
  std::uint16_t deliveryType_;
  const vsim::MuxDef* tuned_ = nullptr;
  std::string tunedSatellite_;
  std::vector<vsim::TableSections> tables_;
  std::vector<std::string> tunes_;
  std::vector<std::vector<SectionFilterSpec>> requests_;
  std::set<void*> live_;
  int calls_ = 0;
};

// Records what a scan reports.
class RecordingHost : public ScanHost {
 public:
  void Output(const std::string& line) override {
    output.push_back(line);
    if (onOutput) onOutput(line);
  }
  void Log(int level, const std::string& line) override {
    log.push_back(std::to_string(level) + " " + line);
  }
  void ClearOutput() override { output.clear(); }
  void SetProgress(int id, const std::string& text) override {
    progress.push_back(std::to_string(id) + "=" + text);
  }
  u32 TableSelection() override { return selection; }
  void Message(const std::string& text) override { messages.push_back(text); }

  bool Said(const std::string& line) const {
    for (const std::string& l : output)
      if (l == line) return true;
    return false;
  }

  u32 selection = kNoSelectionStored;
  std::vector<std::string> output, log, progress, messages;
  // Called with every Output line.
  std::function<void(const std::string&)> onOutput;
};

// A satellite list over names and transponders.
class FakeSatList : public SatelliteSource {
 public:
  struct Sat {
    std::string name;
    bool selected = false;
    std::vector<ListedTransponder> primary;
    long count = 0;
    Listing listing = Listing::kOk;
  };
  bool GetSatelliteCount(long& count) override {
    count = static_cast<long>(sats.size());
    return true;
  }
  bool ListSelectedSatellites(std::vector<std::string>& names) override {
    for (const Sat& s : sats)
      if (s.selected) names.push_back(s.name);
    return true;
  }
  bool FindSatellite(const std::string& name) override { return Find(name) != nullptr; }
  Listing ListPrimaryTransponders(const std::string& name, std::vector<ListedTransponder>& out,
                                  long& count) override {
    const Sat* s = Find(name);
    if (!s) return Listing::kEnumFailed;
    out = s->primary;
    count = s->count;
    return s->listing;
  }
  const Sat* Find(const std::string& name) const {
    for (const Sat& s : sats)
      if (s.name == name) return &s;
    return nullptr;
  }
  std::vector<Sat> sats;
};

inline ListedTransponder Listed(const vsim::MuxDef& m) {
  ListedTransponder t;
  t.frequency = m.frequency_khz / 10;
  t.polarization = static_cast<std::uint32_t>(std::string("HVLR").find(m.polarization));
  t.symbolRate = m.symbol_rate / 100;
  t.fec = m.fec_inner;
  return t;
}

}  // namespace scan_test
