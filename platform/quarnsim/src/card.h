#pragma once
// The simulated card behind the maker's source filter: its tuner (values
// set, the tune applied, lock against the simulated world) and the
// configuration of the simulation.  One per process.
#include <windows.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "quarnsim/quarnsim.h"
#include "vsim/multiplex.h"
#include "vsim/tuning.h"
#include "vsim/world.h"

namespace qsim {

struct TuneValues {
  ULONG frequencyKhz = 0;
  ULONG symbolRateKsps = 0;
  ULONG lnbMhz = 0;
  ULONG tone = 0;
  ULONG polarity = 0;
  ULONG fec = 6;
  ULONG diseqc = 0;
  ULONG modulation = 5;
  ULONG guard = 4;
};

class Card {
 public:
  static Card& Get();

  // Everything below under mutex.
  std::recursive_mutex mutex;

  void Reset();  // configuration from the environment, tuner idle
  bool SetWorld(const std::string& text);
  bool Fails(const char* call);

  // Applies `pending` (DiSEqC first) and decides lock.
  void Apply();
  // A fresh packet stream of the multiplex locked on, or null.
  std::unique_ptr<vsim::Multiplex> OpenStream();

  vsim::World world;
  int tunerType = 0;
  unsigned rate = 10000;
  std::map<std::string, int> failures;
  TuneValues pending;
  TuneValues applied;
  bool tuned = false;
  vsim::SwitchState sw;
  const vsim::MuxDef* locked = nullptr;
  std::vector<QSIM_TUNE> tunes;

  // Bumped at every tune and world change: push threads reopen the stream.
  std::atomic<unsigned> generation{0};
  std::atomic<int> runningStreams{0};

 private:
  Card();
};

}  // namespace qsim
