// The maker's MPEG-2 source filter, simulated: the card's tuner, data and
// A/V controls, and six output pins.  While the graph runs, a push thread
// plays the multiplex the tuner is locked on at the card's packet rate:
// "Data 0".."Data 3" carry the transport packets of the PIDs added to them,
// "Audio" and "Video" the PES bytes of the chosen audio and video PIDs.
#include <array>
#include <bitset>
#include <cmath>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

#include "card.h"
#include "filters.h"
#include "orb_dshow/filter_base.h"
#include "orb_dshow/guids.h"
#include "quarnctrl.h"

namespace qsim {

// {7EAB059D-6715-4FA4-9AFD-0A2B9A57D501}
const GUID kSubtypeQuarnData = {0x7eab059d, 0x6715, 0x4fa4, {0x9a, 0xfd, 0x0a, 0x2b, 0x9a, 0x57, 0xd5, 0x01}};

namespace {

using orb::ds::MediaType;

const CLSID kClsidSource = {0xe82536a0, 0x94da, 0x11d2, {0xa4, 0x63, 0x00, 0xa0, 0xc9, 0x5d, 0x30, 0x8d}};
constexpr int kDataPins = 4;
constexpr int kAudioPin = 4;
constexpr int kVideoPin = 5;

class CSourcePin final : public orb::ds::COutputPin {
 public:
  CSourcePin(orb::ds::CBaseFilter* f, const wchar_t* name, const GUID& major, const GUID& sub)
      : COutputPin(f, name), type_(major, sub) {}
  HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override {
    return IsEqualGUID(mt->majortype, type_.majortype) && IsEqualGUID(mt->subtype, type_.subtype) ? S_OK
                                                                                                    : S_FALSE;
  }
  HRESULT GetMediaType(int i, MediaType* mt) override {
    if (i != 0) return VFW_S_NO_MORE_ITEMS;
    mt->Set(type_);
    return S_OK;
  }

 protected:
  void BufferProps(long& count, long& size) const override {
    count = 8;
    size = 188 * 512;
  }

 private:
  MediaType type_;
};

class CSourceFilter final : public orb::ds::CBaseFilter,
                            public IQuarnMPEG2TunerCtrl2,
                            public IQuarnMPEG2DataCtrl3,
                            public IQuarnMPEG2AVCtrl {
 public:
  CSourceFilter() : CBaseFilter(kClsidSource) {
    static const wchar_t* const kNames[kDataPins] = {L"Data 0", L"Data 1", L"Data 2", L"Data 3"};
    for (int i = 0; i < kDataPins; ++i)
      pins_.push_back(std::make_unique<CSourcePin>(this, kNames[i], orb::ds::kMediaTypeStream, kSubtypeQuarnData));
    pins_.push_back(std::make_unique<CSourcePin>(this, L"Audio", orb::ds::kMediaTypeAudio,
                                                 orb::ds::kSubtypeMpeg2Audio));
    pins_.push_back(std::make_unique<CSourcePin>(this, L"Video", orb::ds::kMediaTypeVideo,
                                                 orb::ds::kSubtypeMpeg2Video));
    stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  }
  ~CSourceFilter() override {
    StopThread();
    pins_.clear();
    if (stop_) CloseHandle(stop_);
  }

  ORB_DS_FILTER_IUNKNOWN

  // IQuarnMPEG2TunerCtrl2
  STDMETHODIMP Initialize() override {
    if (Card::Get().Fails("Initialize")) return E_FAIL;
    initialised_ = true;
    return S_OK;
  }
  STDMETHODIMP CheckLock() override {
    Card& c = Card::Get();
    if (c.Fails("CheckLock")) return E_FAIL;
    std::lock_guard<std::recursive_mutex> lock(c.mutex);
    return c.locked ? S_OK : QUARN_E_NOT_LOCKED;
  }
  STDMETHODIMP GetTunerCapabilities(QuarnTunerCaps* caps) override {
    if (!caps) return E_POINTER;
    Card& c = Card::Get();
    if (c.Fails("GetTunerCapabilities")) return E_FAIL;
    std::lock_guard<std::recursive_mutex> lock(c.mutex);
    *caps = QuarnTunerCaps{};
    caps->tunerType = static_cast<ULONG>(c.tunerType);
    caps->fecs = 0x3F;
    caps->performance = 1u << 5 | 1u << 6;
    if (c.tunerType == 0) {
      caps->constellations = 0x1;
      caps->minTransponderFrequency = 10700000;
      caps->maxTransponderFrequency = 12750000;
      caps->minTunerFrequency = 950000;
      caps->maxTunerFrequency = 2150000;
      caps->minSymbolRate = 1000000;
      caps->maxSymbolRate = 45000000;
    } else if (c.tunerType == 1) {
      caps->constellations = 0x3E;
      caps->minTransponderFrequency = caps->minTunerFrequency = 47000;
      caps->maxTransponderFrequency = caps->maxTunerFrequency = 862000;
      caps->minSymbolRate = 1000000;
      caps->maxSymbolRate = 7000000;
    } else {
      caps->constellations = 0x0E;
      caps->minTransponderFrequency = caps->minTunerFrequency = 174000;
      caps->maxTransponderFrequency = caps->maxTunerFrequency = 862000;
    }
    caps->autoSymbolRate = 0;
    return S_OK;
  }
  STDMETHODIMP SetFrequency(ULONG v) override { return Set(&TuneValues::frequencyKhz, v); }
  STDMETHODIMP SetSymbolRate(ULONG v) override { return Set(&TuneValues::symbolRateKsps, v); }
  STDMETHODIMP SetLnbFrequency(ULONG v) override { return Set(&TuneValues::lnbMhz, v); }
  STDMETHODIMP SetTone(ULONG v) override { return Set(&TuneValues::tone, v ? 1 : 0); }
  STDMETHODIMP SetPolarity(ULONG v) override { return Set(&TuneValues::polarity, v); }
  STDMETHODIMP SetFec(ULONG v) override { return v >= 1 && v <= 6 ? Set(&TuneValues::fec, v) : E_INVALIDARG; }
  STDMETHODIMP SetDiseqc(ULONG v) override { return v <= 6 ? Set(&TuneValues::diseqc, v) : E_INVALIDARG; }
  STDMETHODIMP SetModulation(ULONG v) override {
    return v >= 2 && v <= 7 ? Set(&TuneValues::modulation, v) : E_INVALIDARG;
  }
  STDMETHODIMP SetGuardInterval(ULONG v) override { return v <= 4 ? Set(&TuneValues::guard, v) : E_INVALIDARG; }
  STDMETHODIMP ApplyTuning() override {
    if (!initialised_) return E_UNEXPECTED;
    Card& c = Card::Get();
    if (c.Fails("ApplyTuning")) return E_FAIL;
    c.Apply();
    return S_OK;
  }
  STDMETHODIMP GetFrequency(double* mhz) override {
    if (!mhz) return E_POINTER;
    return Get([&](const TuneValues& v) { *mhz = v.frequencyKhz / 1000.0; });
  }
  STDMETHODIMP GetSymbolRate(ULONG* v) override { return GetField(&TuneValues::symbolRateKsps, v); }
  STDMETHODIMP GetModulation(ULONG* v) override { return GetField(&TuneValues::modulation, v); }
  STDMETHODIMP GetGuardInterval(ULONG* v) override { return GetField(&TuneValues::guard, v); }
  STDMETHODIMP GetFec(ULONG* v) override { return GetField(&TuneValues::fec, v); }
  STDMETHODIMP GetPolarity(ULONG* v) override { return GetField(&TuneValues::polarity, v); }
  STDMETHODIMP GetDiseqc(ULONG* v) override { return GetField(&TuneValues::diseqc, v); }
  STDMETHODIMP GetSignalStrength(ULONG* level) override { return Level(level, 78, 12); }
  STDMETHODIMP GetSignalQuality(ULONG* level) override { return Level(level, 91, 0); }

  // IQuarnMPEG2DataCtrl3
  STDMETHODIMP AddPIDs(ULONG* count, ULONG* pids, ULONG pin) override {
    if (!count || (*count && !pids)) return E_POINTER;
    if (pin >= kDataPins) return QUARN_E_BAD_PIN;
    if (Card::Get().Fails("AddPIDs")) return E_FAIL;
    std::lock_guard<std::mutex> lock(pidLock_);
    for (ULONG i = 0; i < *count; ++i) {
      if (pids[i] > 0x1FFF) return E_INVALIDARG;
    }
    for (ULONG i = 0; i < *count; ++i) pidSets_[pin].insert(static_cast<WORD>(pids[i]));
    *count = static_cast<ULONG>(pidSets_[pin].size());
    return S_OK;
  }
  STDMETHODIMP RemovePIDs(ULONG count, ULONG* pids, ULONG pin) override {
    if (count && !pids) return E_POINTER;
    if (pin >= kDataPins) return QUARN_E_BAD_PIN;
    if (Card::Get().Fails("RemovePIDs")) return E_FAIL;
    std::lock_guard<std::mutex> lock(pidLock_);
    for (ULONG i = 0; i < count; ++i) pidSets_[pin].erase(static_cast<WORD>(pids[i] & 0xFFFF));
    return S_OK;
  }
  STDMETHODIMP GetPIDs(ULONG pin, ULONG* count, ULONG* pids) override {
    if (!count) return E_POINTER;
    if (pin >= kDataPins) return QUARN_E_BAD_PIN;
    std::lock_guard<std::mutex> lock(pidLock_);
    const ULONG room = *count;
    ULONG n = 0;
    for (WORD p : pidSets_[pin]) {
      if (pids && n < room) pids[n] = p;
      ++n;
    }
    *count = n;
    return pids && n > room ? S_FALSE : S_OK;
  }

  // IQuarnMPEG2AVCtrl
  STDMETHODIMP SetAudioVideoPIDs(ULONG audio, ULONG video) override {
    if (audio > 0x1FFF || video > 0x1FFF) return E_INVALIDARG;
    if (Card::Get().Fails("SetAudioVideoPIDs")) return E_FAIL;
    std::lock_guard<std::mutex> lock(pidLock_);
    audioPid_ = static_cast<WORD>(audio);
    videoPid_ = static_cast<WORD>(video);
    return S_OK;
  }
  STDMETHODIMP GetAudioVideoPIDs(ULONG* audio, ULONG* video) override {
    if (!audio || !video) return E_POINTER;
    std::lock_guard<std::mutex> lock(pidLock_);
    *audio = audioPid_;
    *video = videoPid_;
    return S_OK;
  }

 protected:
  HRESULT QueryOther(REFIID riid, void** ppv) override {
    if (IsEqualIID(riid, __uuidof(IQuarnMPEG2TunerCtrl2))) *ppv = static_cast<IQuarnMPEG2TunerCtrl2*>(this);
    else if (IsEqualIID(riid, __uuidof(IQuarnMPEG2DataCtrl3))) *ppv = static_cast<IQuarnMPEG2DataCtrl3*>(this);
    else if (IsEqualIID(riid, __uuidof(IQuarnMPEG2AVCtrl))) *ppv = static_cast<IQuarnMPEG2AVCtrl*>(this);
    else return E_NOINTERFACE;
    CBaseFilter::AddRef();
    return S_OK;
  }
  int PinCount() override { return static_cast<int>(pins_.size()); }
  orb::ds::CBasePin* PinAt(int i) override {
    return i >= 0 && i < PinCount() ? pins_[static_cast<size_t>(i)].get() : nullptr;
  }
  // A live source: nothing is cued while paused.
  HRESULT PausedStateResult() override { return VFW_S_CANT_CUE; }
  void BeforeStop() override { StopThread(); }
  void OnStateChanged(FILTER_STATE from, FILTER_STATE) override {
    if (from == State_Stopped) StartThread();
  }

 private:
  HRESULT Set(ULONG TuneValues::*field, ULONG v) {
    Card& c = Card::Get();
    std::lock_guard<std::recursive_mutex> lock(c.mutex);
    c.pending.*field = v;
    return S_OK;
  }
  template <class F>
  HRESULT Get(F&& f) {
    Card& c = Card::Get();
    std::lock_guard<std::recursive_mutex> lock(c.mutex);
    if (!c.tuned) return QUARN_E_NO_TUNE;
    f(c.applied);
    return S_OK;
  }
  HRESULT GetField(ULONG TuneValues::*field, ULONG* out) {
    if (!out) return E_POINTER;
    return Get([&](const TuneValues& v) { *out = v.*field; });
  }
  HRESULT Level(ULONG* level, ULONG lockedLevel, ULONG idleLevel) {
    if (!level) return E_POINTER;
    Card& c = Card::Get();
    std::lock_guard<std::recursive_mutex> lock(c.mutex);
    *level = c.locked ? lockedLevel : idleLevel;
    return S_OK;
  }

  void StartThread() {
    if (thread_) return;
    ResetEvent(stop_);
    // The filter outlives the thread: its stop and its destructor join it.
    ++Card::Get().runningStreams;  // counted from now until the thread ends
    thread_ = CreateThread(nullptr, 0, &CSourceFilter::ThreadMain, this, 0, nullptr);
    if (!thread_) --Card::Get().runningStreams;
  }
  void StopThread() {
    if (!thread_) return;
    SetEvent(stop_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
  }
  static DWORD WINAPI ThreadMain(void* arg) {
    auto* self = static_cast<CSourceFilter*>(arg);
    self->Push();
    --Card::Get().runningStreams;
    return 0;
  }

  void Push() {
    Card& card = Card::Get();
    unsigned generation = card.generation.load() - 1;
    std::unique_ptr<vsim::Multiplex> mux;
    std::array<std::vector<BYTE>, 6> out;
    std::array<std::bitset<8192>, kDataPins> sets;
    ULONGLONG last = GetTickCount64();
    double owed = 0;
    BYTE packet[vsim::kPacketSize];
    while (WaitForSingleObject(stop_, 10) == WAIT_TIMEOUT) {
      if (card.generation.load() != generation) {
        generation = card.generation.load();
        mux = card.OpenStream();
      }
      const ULONGLONG now = GetTickCount64();
      unsigned rate;
      {
        std::lock_guard<std::recursive_mutex> lock(card.mutex);
        rate = card.rate;
      }
      owed += static_cast<double>(now - last) * rate / 1000.0;
      last = now;
      if (owed > rate / 5.0) owed = rate / 5.0;  // after a stall, no flood
      if (State() != State_Running || !mux) {
        owed = 0;
        continue;
      }
      WORD audio, video;
      {
        std::lock_guard<std::mutex> lock(pidLock_);
        for (int i = 0; i < kDataPins; ++i) {
          sets[i].reset();
          for (WORD p : pidSets_[i]) sets[i].set(p);
        }
        audio = audioPid_;
        video = videoPid_;
      }
      for (auto& o : out) o.clear();
      const long n = static_cast<long>(std::floor(owed));
      owed -= static_cast<double>(n);
      for (long k = 0; k < n; ++k) {
        mux->Next(packet);
        const WORD pid = vsim::PacketPid(packet);
        for (int i = 0; i < kDataPins; ++i)
          if (sets[i].test(pid)) out[i].insert(out[i].end(), packet, packet + vsim::kPacketSize);
        if ((pid == audio || pid == video) && pid != vsim::kNullPid && vsim::PacketHasPayload(packet)) {
          size_t at = 4;
          if (packet[3] & 0x20) at += 1u + packet[4];
          if (at < vsim::kPacketSize) {
            auto& o = out[pid == video ? kVideoPin : kAudioPin];
            o.insert(o.end(), packet + at, packet + vsim::kPacketSize);
          }
        }
      }
      for (size_t i = 0; i < out.size(); ++i)
        if (!out[i].empty()) pins_[i]->Deliver(out[i].data(), out[i].size());
    }
  }

  std::vector<std::unique_ptr<CSourcePin>> pins_;
  bool initialised_ = false;
  HANDLE stop_ = nullptr;
  HANDLE thread_ = nullptr;
  std::mutex pidLock_;
  std::array<std::set<WORD>, kDataPins> pidSets_;
  WORD audioPid_ = 0x1FFF, videoPid_ = 0x1FFF;
};

}  // namespace

HRESULT CreateSourceFilter(IUnknown* outer, REFIID riid, void** ppv) {
  return orb::ds::CreateFilterInstance<CSourceFilter>(outer, riid, ppv);
}

}  // namespace qsim
