#include "SourceGraph.h"

#include <cstring>

#include "drvcommon/DriverLog.h"

namespace {

using orb::com::ComPtr;

// The card maker's MPEG-2 source filter.
const CLSID kClsidQuarnSource = {0xe82536a0, 0x94da, 0x11d2, {0xa4, 0x63, 0x00, 0xa0, 0xc9, 0x5d, 0x30, 0x8d}};

class Guard {
 public:
  explicit Guard(CRITICAL_SECTION& cs) : cs_(cs) { EnterCriticalSection(&cs_); }
  ~Guard() { LeaveCriticalSection(&cs_); }
  Guard(const Guard&) = delete;
  Guard& operator=(const Guard&) = delete;

 private:
  CRITICAL_SECTION& cs_;
};

// The pin's name in the ANSI code page, at most 128 characters.
std::string PinName(IPin* pin) {
  PIN_INFO info{};
  if (FAILED(pin->QueryPinInfo(&info))) return {};
  if (info.pFilter) info.pFilter->Release();
  char name[129] = {};
  WideCharToMultiByte(CP_ACP, 0, info.achName, -1, name, sizeof name - 1, nullptr, nullptr);
  return name;
}

}  // namespace

CSourceGraph::CSourceGraph() { InitializeCriticalSection(&lock_); }

bool CSourceGraph::Built() const {
  Guard g(lock_);
  return graph_ != nullptr;
}

ComPtr<IGraphBuilder> CSourceGraph::Graph() const {
  Guard g(lock_);
  return graph_;
}

ComPtr<IBaseFilter> CSourceGraph::Source() const {
  Guard g(lock_);
  return source_;
}

ComPtr<IQuarnMPEG2TunerCtrl2> CSourceGraph::Tuner() const {
  Guard g(lock_);
  return tuner_;
}

ComPtr<IQuarnMPEG2DataCtrl3> CSourceGraph::DataControl() const {
  Guard g(lock_);
  return data_;
}

ComPtr<IQuarnMPEG2AVCtrl> CSourceGraph::AVControl() const {
  Guard g(lock_);
  return av_;
}

CSourceGraph::~CSourceGraph() {
  TearDown();
  DeleteCriticalSection(&lock_);
}

void CSourceGraph::Record(HRESULT hr, const char* step) {
  Guard g(lock_);
  lastError_ = hr;
  std::strncpy(lastErrorText_, step ? step : "", sizeof lastErrorText_ - 1);
  lastErrorText_[sizeof lastErrorText_ - 1] = 0;
}

HRESULT CSourceGraph::Fail(HRESULT hr, const char* step) {
  Record(hr, step);
  DriverLog().Log(1, "%s failed, hr=%#lX", step ? step : "", static_cast<unsigned long>(hr));
  return hr;
}

std::string CSourceGraph::LastErrorText() const {
  Guard g(lock_);
  return lastErrorText_;
}

HRESULT CSourceGraph::Build() {
  Guard g(lock_);
  if (graph_) return S_OK;
  HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                graph_.PutVoid());
  if (FAILED(hr)) return Fail(hr, "Create Filter Graph");
  hr = CoCreateInstance(kClsidQuarnSource, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, source_.PutVoid());
  if (FAILED(hr)) {
    TearDown();
    return Fail(hr, "Create QUARN MPEG2 Filter");
  }
  hr = graph_->AddFilter(source_.Get(), L"QUARN MPEG2 Source");
  if (FAILED(hr)) {
    TearDown();
    return Fail(hr, "Add QUARN Filter to Filter Graph");
  }
  hr = source_.As(data_);
  if (FAILED(hr)) Fail(hr, "Query Interface IID_IQuarnMPEG2DataCtrl3");
  hr = source_.As(tuner_);
  if (FAILED(hr)) {
    Fail(hr, "Query Interface IID_IQuarnMPEG2TunerCtrl2");
  } else {
    hr = tuner_->Initialize();
    if (FAILED(hr)) {
      Fail(hr, "Initialize Tuner Control");
      tuner_ = nullptr;
    }
  }
  hr = source_.As(av_);
  if (FAILED(hr)) Fail(hr, "Query Interface IID_IQuarnMPEG2AVCtrl");
  if (!data_ || !tuner_ || !av_) {
    // The failure stays recorded for Init (which answers it) and the log.
    const HRESULT last = lastError_;
    TearDown();
    Fail(kGraphInternalError, "Internal Error, initialize");
    DriverLog().Log(1, "first failure: %#lX", static_cast<unsigned long>(last));
    return kGraphInternalError;
  }
  tuner_->CheckLock();
  return S_OK;
}

void CSourceGraph::TearDown() {
  Guard g(lock_);
  if (mediaControl_) mediaControl_->Stop();
  for (int i = 0; i < kDataPins; ++i) {
    dataPins_[i] = nullptr;
    pinFilters_[i] = nullptr;
    connected_[i] = false;
  }
  audioPin_ = nullptr;
  videoPin_ = nullptr;
  pinsFound_ = false;
  mediaEvent_ = nullptr;
  mediaControl_ = nullptr;
  data_ = nullptr;
  tuner_ = nullptr;
  av_ = nullptr;
  // The graph takes its filters apart when it goes.
  source_ = nullptr;
  graph_ = nullptr;
}

HRESULT CSourceGraph::Reset() {
  TearDown();
  return Build();
}

HRESULT CSourceGraph::EnumeratePins() {
  if (pinsFound_) return S_OK;
  if (!source_) return Fail(kGraphNotBuilt, "Not Initialize, enumerate pins");
  ComPtr<IEnumPins> e;
  HRESULT hr = source_->EnumPins(e.Put());
  if (FAILED(hr)) return Fail(hr, "Enumerate QUARN Filter pins");
  IPin* raw = nullptr;
  while (e->Next(1, &raw, nullptr) == S_OK) {
    ComPtr<IPin> pin;
    pin.Attach(raw);
    PIN_DIRECTION dir;
    if (FAILED(pin->QueryDirection(&dir)) || dir != PINDIR_OUTPUT) continue;
    const std::string name = PinName(pin.Get());
    bool taken = false;
    for (int i = 0; i < kDataPins && !taken; ++i) {
      const char data[] = {'D', 'a', 't', 'a', ' ', static_cast<char>('0' + i), 0};
      if (!dataPins_[i] && name.find(data) != std::string::npos) {
        dataPins_[i] = pin;
        taken = true;
      }
    }
    if (!taken && !audioPin_ && name.find("Audio") != std::string::npos) audioPin_ = pin;
    else if (!taken && !videoPin_ && name.find("Video") != std::string::npos) videoPin_ = pin;
  }
  pinsFound_ = true;
  return S_OK;
}

HRESULT CSourceGraph::GetMediaControl(IMediaControl** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  Guard g(lock_);
  if (!graph_) return Fail(kGraphNotBuilt, "Not Initialize, query Media Control");
  if (!mediaControl_) {
    const HRESULT hr = graph_.As(mediaControl_);
    if (FAILED(hr)) return Fail(hr, "Query Interface IID_IMediaControl");
  }
  return mediaControl_.CopyTo(out);
}

HRESULT CSourceGraph::GetMediaEvent(IMediaEventEx** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  Guard g(lock_);
  if (!graph_) return Fail(kGraphNotBuilt, "Not Initialize, query Media Event");
  if (!mediaEvent_) {
    const HRESULT hr = graph_->QueryInterface(IID_IMediaEventEx, mediaEvent_.PutVoid());
    if (FAILED(hr)) return Fail(hr, "Query Interface IID_IMediaEvent");
  }
  return mediaEvent_.CopyTo(out);
}

HRESULT CSourceGraph::GetAVPins(IPin** audio, IPin** video) {
  if (!audio || !video) return E_POINTER;
  *audio = *video = nullptr;
  Guard g(lock_);
  const HRESULT hr = EnumeratePins();
  if (FAILED(hr)) return hr;
  if (!audioPin_ || !videoPin_) return Fail(VFW_E_NOT_FOUND, "No A/V PIN found, get A/V pins");
  audioPin_.CopyTo(audio);
  videoPin_.CopyTo(video);
  return S_OK;
}

HRESULT CSourceGraph::CreatePinFilter(int pin, REFCLSID clsid, IBaseFilter** out) {
  if (out) *out = nullptr;
  if (pin < 0 || pin >= kDataPins) return Fail(kGraphBadPin, "Invalid PIN, create PIN filter");
  Guard g(lock_);
  if (!graph_) return Fail(kGraphNotBuilt, "Not Initialize, create PIN filter");
  if (!pinFilters_[pin]) {
    ComPtr<IBaseFilter> f;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, f.PutVoid());
    if (FAILED(hr)) return Fail(hr, "Create custom TS PIN filter");
    hr = graph_->AddFilter(f.Get(), nullptr);
    if (FAILED(hr)) return Fail(hr, "Add custom TS PIN filter to Filter Graph");
    pinFilters_[pin] = f;
  }
  return out ? pinFilters_[pin].CopyTo(out) : S_OK;
}

HRESULT CSourceGraph::QueryPinFilter(int pin, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (pin < 0 || pin >= kDataPins) return Fail(kGraphBadPin, "Invalid PIN, query PIN filter");
  Guard g(lock_);
  if (!pinFilters_[pin]) return Fail(kGraphNoPinFilter, "No PIN filter, query PIN filter");
  return pinFilters_[pin]->QueryInterface(iid, out);
}

HRESULT CSourceGraph::ConnectDataPin(int pin, const wchar_t* inputName) {
  if (pin < 0 || pin >= kDataPins) return Fail(kGraphBadPin, "Invalid PIN, connect QUARN Filter Data pins");
  Guard g(lock_);
  HRESULT hr = EnumeratePins();
  if (FAILED(hr)) return hr;
  if (!dataPins_[pin]) return Fail(VFW_E_NOT_FOUND, "No Data PIN found, connect QUARN Filter Data pins");
  if (connected_[pin]) return Fail(kGraphPinConnected, "PIN already connected, connect QUARN Filter Data pins");
  if (!pinFilters_[pin]) return Fail(kGraphNoPinFilter, "No PIN filter, connect QUARN Filter Data pins");
  ComPtr<IEnumPins> e;
  hr = pinFilters_[pin]->EnumPins(e.Put());
  if (FAILED(hr)) return Fail(hr, "Enumerate PIN filter pins");
  ComPtr<IPin> input;
  IPin* raw = nullptr;
  while (!input && e->Next(1, &raw, nullptr) == S_OK) {
    ComPtr<IPin> p;
    p.Attach(raw);
    PIN_DIRECTION dir;
    if (FAILED(p->QueryDirection(&dir)) || dir != PINDIR_INPUT) continue;
    if (inputName) {
      PIN_INFO info{};
      if (FAILED(p->QueryPinInfo(&info))) continue;
      if (info.pFilter) info.pFilter->Release();
      if (!wcsstr(info.achName, inputName)) continue;
    }
    input = p;
  }
  if (!input) return Fail(kGraphNoInputPin, "No Input PIN found, connect QUARN Filter Data pins");
  hr = graph_->ConnectDirect(dataPins_[pin].Get(), input.Get(), nullptr);
  if (FAILED(hr)) return Fail(hr, "Filter Graph ConnectDirect method");
  connected_[pin] = true;
  return S_OK;
}

void CSourceGraph::RemovePinFilter(int pin) {
  if (pin < 0 || pin >= kDataPins) return;
  Guard g(lock_);
  if (!graph_) return;
  if (dataPins_[pin]) {
    ComPtr<IPin> peer;
    if (SUCCEEDED(dataPins_[pin]->ConnectedTo(peer.Put())) && peer) graph_->Disconnect(peer.Get());
    graph_->Disconnect(dataPins_[pin].Get());
  }
  connected_[pin] = false;
  if (pinFilters_[pin]) graph_->RemoveFilter(pinFilters_[pin].Get());
  pinFilters_[pin] = nullptr;
}

void CSourceGraph::RemoveFilter(IBaseFilter* filter) {
  Guard g(lock_);
  if (graph_ && filter) graph_->RemoveFilter(filter);
}

bool CSourceGraph::Claim(const char* user) {
  const char* expected = nullptr;
  if (user_.compare_exchange_strong(expected, user ? user : "")) return true;
  DriverLog().Log(1, "%s: the graph is in use (%s)", user ? user : "", expected);
  return false;
}

void CSourceGraph::Unclaim() { user_ = nullptr; }
