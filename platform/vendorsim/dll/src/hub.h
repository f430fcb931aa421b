#pragma once
// The process-wide state behind the access library's classes: the
// configuration, the simulated cards, the open card's front end, the
// running filters, the delivery thread and the test records.
#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dvbacc/dvbacc_sim.h"
#include "vsim/multiplex.h"
#include "vsim/tuning.h"
#include "vsim/world.h"

namespace vsim::dll {

// One filter as the delivery thread sees it.  Shared between the filter
// object and the delivery thread's snapshot, so that a filter reset (or
// destroyed) during a delivery round is never touched after its last call.
struct FilterData {
  CDVBTSFilter* owner = nullptr;
  bool active = false;
  FILTERTYPE type = FILTERTYPE_NONE;
  WORD pid = 0;
  BYTE pattern[DVB_FILTER_MAX_LENGTH] = {};
  BYTE mask[DVB_FILTER_MAX_LENGTH] = {};
  size_t length = 0;
  size_t batch = 0;       // packet filters: bytes handed over per call
  vsim::Bytes pending;    // packet filters: packets not yet handed over
};

}  // namespace vsim::dll

struct CDVBTSFilterState {
  std::shared_ptr<vsim::dll::FilterData> data;
};

namespace vsim::dll {

struct FamilyTraits {
  int family;                 // VSIM_FAMILY_*
  const char* name;           // the library's file name
  FILTERTYPE section_filter;  // the section filter type the cards take
  const char* default_devices;
};
const FamilyTraits& Family();

class Hub {
 public:
  static Hub& Get();

  // Every member below is used under Lock()/Unlock() (recursive).
  void Lock();
  void Unlock();

  struct Guard {
    explicit Guard(Hub& h) : hub(h) { hub.Lock(); }
    ~Guard() { hub.Unlock(); }
    Hub& hub;
  };

  // True (and counted down) when `call` is to fail now.
  bool Fails(const char* call);
  void Trace(const std::string& line);
  void Reset();
  void LoadEnvironment();
  bool SetDevices(const std::string& spec);
  bool SetWorld(const std::string& text);

  // Starts the delivery thread when something consumes data.
  void Wake();
  void StopThread();

  // Card and front end state.
  bool initialised = false;
  std::vector<FRONTEND_TYPE> devices;
  int open_index = -1;
  bool arm_booted = false, board_reset = false, dsp_booted = false, iso_on = false, dma_on = false;
  bool frontend_ready = false;
  vsim::SwitchState sw;
  bool has_channel = false;
  CHANNEL_TYPE channel{};
  const vsim::MuxDef* locked = nullptr;
  std::unique_ptr<vsim::Multiplex> mux;
  vsim::World world;
  unsigned rate = 10000;

  // Consumers of the stream.
  std::vector<std::shared_ptr<FilterData>> filters;
  std::map<WORD, vsim::SectionAssembler> assemblers;
  // While a packet is being handed out the assemblers stay; a retune or
  // reset from inside a callback drops them afterwards.
  int dispatching = 0;
  bool assemblers_stale = false;
  bool capture_on = false;
  vsim::Bytes capture;        // TS capture waiting for TSRecordRead
  unsigned lost_blocks = 0;
  WORD audio_pid = 0x1FFF, video_pid = 0x1FFF, pcr_pid = 0x1FFF;
  HANDLE av_file = nullptr;   // CDVBRecPlayFile recording, or null
  REC_PLAY_FILE_FORMAT av_format = RECFILE_AV_PS;

  // Test records.
  std::vector<VSIM_DISEQC> diseqc;
  std::vector<VSIM_CHANNEL> channels;
  std::string trace;
  std::string trace_file;
  std::string last_error;
  std::map<std::string, int> failures;

  vsim::FrontendCaps Caps() const;
  DWORD CapabilityWord() const;
  FRONTEND_TYPE OpenType() const {
    return open_index >= 0 && open_index < static_cast<int>(devices.size()) ? devices[open_index]
                                                                              : FRONTEND_TYPE_UNKNOWN;
  }
  bool HasConsumers() const;
  bool Flowing() const;
  // Drops the lock: the next SetChannel tunes afresh.
  void LoseLock();
  // Hands one packet of the tuned multiplex to every consumer.
  void Dispatch(const BYTE* packet);

 private:
  Hub();
  static DWORD WINAPI ThreadMain(void* arg);
  void Run();

  CRITICAL_SECTION lock_;
  HANDLE thread_ = nullptr;
  HANDLE stop_ = nullptr;
  bool thread_running_ = false;
};

}  // namespace vsim::dll
