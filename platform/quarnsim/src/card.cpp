#include "card.h"

#include "drvcore/tuning.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace qsim {

namespace {

std::string Env(const char* name) {
  char buffer[1024];
  const DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

vsim::UtcInstant SystemUtc() {
  SYSTEMTIME st;
  GetSystemTime(&st);
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

}  // namespace

Card& Card::Get() {
  static Card card;
  return card;
}

Card::Card() { Reset(); }

void Card::Reset() {
  std::lock_guard<std::recursive_mutex> lock(mutex);
  const std::string t = Env("ORB_QSIM_TUNER");
  tunerType = t == "cable" ? 1 : t == "terr" ? 2 : 0;
  world = vsim::DefaultWorld();
  const std::string wf = Env("ORB_VSIM_WORLD");
  if (!wf.empty()) {
    std::ifstream in(wf, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    if (in) SetWorld(text.str());
  }
  rate = 10000;
  const std::string r = Env("ORB_VSIM_RATE");
  if (!r.empty() && std::strtoul(r.c_str(), nullptr, 10) > 0) rate = std::strtoul(r.c_str(), nullptr, 10);
  failures.clear();
  std::stringstream f(Env("ORB_QSIM_FAIL"));
  std::string item;
  while (std::getline(f, item, ',')) {
    const size_t colon = item.find(':');
    if (colon == std::string::npos) failures[item] = -1;
    else failures[item.substr(0, colon)] = std::atoi(item.c_str() + colon + 1);
  }
  pending = TuneValues{};
  applied = TuneValues{};
  tuned = false;
  sw = vsim::SwitchState{};
  locked = nullptr;
  tunes.clear();
  ++generation;
}

bool Card::SetWorld(const std::string& text) {
  std::lock_guard<std::recursive_mutex> lock(mutex);
  vsim::World w;
  std::string error;
  if (!vsim::ParseWorld(text, w, &error)) return false;
  world = std::move(w);
  locked = nullptr;
  ++generation;
  return true;
}

bool Card::Fails(const char* call) {
  std::lock_guard<std::recursive_mutex> lock(mutex);
  auto it = failures.find(call);
  if (it == failures.end() || it->second == 0) return false;
  if (it->second > 0) --it->second;
  return true;
}

void Card::Apply() {
  std::lock_guard<std::recursive_mutex> lock(mutex);
  applied = pending;
  tuned = true;
  locked = nullptr;
  const TuneValues& v = applied;
  if (tunerType == 0) {
    const bool vertical = v.polarity == 1;
    if (v.diseqc == 1 || v.diseqc == 2) {
      vsim::ApplyDiseqc(sw, nullptr, 0, v.diseqc == 1 ? vsim::kBurstA : vsim::kBurstB);
    } else if (v.diseqc >= 3 && v.diseqc <= 6) {
      // Inputs A/A, A/B, B/A, B/B: the option bit for the second letter,
      // the position bit for the first, as a committed switch takes them.
      const vsim::u8 data = drvcore::Diseqc10Data(static_cast<int>(v.diseqc - 3), vertical, v.tone != 0);
      const vsim::u8 msg[4] = {0xE0, 0x10, 0x38, data};
      vsim::ApplyDiseqc(sw, msg, 4, vsim::kBurstNone);
    }
    vsim::SatelliteTune t;
    t.frequency_khz = v.frequencyKhz;
    t.inversion = 2;
    t.symbol_rate = v.symbolRateKsps * 1000;
    t.lof_khz = v.lnbMhz * 1000;
    t.tone_22khz = v.tone != 0;
    t.lnb_voltage = v.polarity == 1 ? 13 : v.polarity == 0 ? 18 : 0;
    vsim::FrontendCaps caps;
    caps.auto_inversion = true;
    locked = vsim::LockSatellite(world, sw, t, caps);
  } else if (tunerType == 1) {
    vsim::CableTune t;
    t.frequency_khz = v.frequencyKhz;
    t.inversion = 2;
    t.symbol_rate = v.symbolRateKsps * 1000;
    if (v.modulation >= 3 && v.modulation <= 7) {
      t.qam = v.modulation - 3;
      vsim::FrontendCaps caps;
      caps.auto_inversion = true;
      locked = vsim::LockCable(world, t, caps);
    }
  } else {
    vsim::TerrestrialTune t;
    t.frequency_khz = v.frequencyKhz;
    t.inversion = 2;
    t.bandwidth = 3;
    vsim::FrontendCaps caps;
    caps.auto_inversion = true;
    caps.auto_bandwidth = true;
    locked = vsim::LockTerrestrial(world, t, caps);
  }
  QSIM_TUNE rec{v.frequencyKhz, v.symbolRateKsps, v.lnbMhz, v.tone, v.polarity, v.fec, v.diseqc, v.modulation,
                v.guard, locked != nullptr, static_cast<WORD>(locked ? locked->transport_stream_id : 0)};
  tunes.push_back(rec);
  ++generation;
}

std::unique_ptr<vsim::Multiplex> Card::OpenStream() {
  std::lock_guard<std::recursive_mutex> lock(mutex);
  if (!locked) return nullptr;
  if (!locked->ts_file.empty()) {
    std::string error;
    return vsim::Multiplex::FromFile(locked->ts_file, &error);
  }
  return vsim::Multiplex::Generate(world, *locked, SystemUtc);
}

}  // namespace qsim
