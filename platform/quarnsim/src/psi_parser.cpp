// The maker's PSI parser filter: input pins taking sections (one PID each,
// set through the pin's IMPEG2PIDMap) and one table filter of up to 32
// section requests.  Each section reaching a pin is offered to the
// requests of that PID whose table_id (and table_id_extension, when asked)
// it carries; the requests keep sections by the driver contract's
// collection modes.  When every request is complete the completion event
// is signalled once.  The results are handed over when the filter stops
// (or a new table filter replaces the armed one, which hands over nothing):
// after that the filter touches neither the records nor the event.
#include <bdaiface.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "card.h"
#include "contract/driver_records.h"
#include "drvcore/sections.h"
#include "filters.h"
#include "orb_dshow/filter_base.h"
#include "orb_dshow/guids.h"
#include "quarnctrl.h"

namespace qsim {

namespace {

using orb::ds::MediaType;

const CLSID kClsidPsi = {0xf094e954, 0xa487, 0x4a7e, {0xb1, 0xfd, 0x6c, 0x37, 0x17, 0xde, 0x6c, 0x5d}};

class CPsiParser;

class CPsiPin final : public orb::ds::CInputPin, public IMPEG2PIDMap {
 public:
  CPsiPin(orb::ds::CBaseFilter* f, CPsiParser* owner, const wchar_t* name) : CInputPin(f, name), owner_(owner) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return CBasePin::QueryInterface(riid, ppv); }
  STDMETHODIMP_(ULONG) AddRef() override { return CBasePin::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return CBasePin::Release(); }

  HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override {
    return IsEqualGUID(mt->majortype, orb::ds::kMediaTypeMpeg2Sections) ? S_OK : S_FALSE;
  }
  HRESULT GetMediaType(int i, MediaType* mt) override {
    if (i != 0) return VFW_S_NO_MORE_ITEMS;
    *mt = MediaType(orb::ds::kMediaTypeMpeg2Sections, orb::ds::kSubtypeNone);
    return S_OK;
  }

  // One PID per pin: a second mapping replaces the first.
  STDMETHODIMP MapPID(ULONG count, ULONG* pids, MEDIA_SAMPLE_CONTENT content) override {
    if (!pids) return E_POINTER;
    if (count != 1 || content != MEDIA_MPEG2_PSI || pids[0] > 0x1FFF) return E_INVALIDARG;
    pid_ = static_cast<LONG>(pids[0]);
    return S_OK;
  }
  STDMETHODIMP UnmapPID(ULONG count, ULONG* pids) override {
    if (count && !pids) return E_POINTER;
    for (ULONG i = 0; i < count; ++i)
      if (static_cast<LONG>(pids[i]) == pid_) pid_ = -1;
    return S_OK;
  }
  STDMETHODIMP EnumPIDMap(IEnumPIDMap**) override { return E_NOTIMPL; }

 protected:
  HRESULT QueryOther(REFIID riid, void** ppv) override {
    if (IsEqualIID(riid, IID_IMPEG2PIDMap)) {
      *ppv = static_cast<IMPEG2PIDMap*>(this);
      AddRef();
      return S_OK;
    }
    return CInputPin::QueryOther(riid, ppv);
  }
  HRESULT OnReceive(const BYTE* data, long size) override;

 private:
  CPsiParser* owner_;
  std::atomic<LONG> pid_{-1};
};

class CPsiParser final : public orb::ds::CBaseFilter, public IQuarnPSIParser {
 public:
  CPsiParser() : CBaseFilter(kClsidPsi) {}
  ~CPsiParser() override { Disarm(false); }

  ORB_DS_FILTER_IUNKNOWN

  STDMETHODIMP CreatePin(LPCWSTR name, IPin** pin) override {
    if (!name || !pin) return E_POINTER;
    *pin = nullptr;
    if (Card::Get().Fails("CreatePin")) return E_FAIL;
    orb::ds::AutoLock lock(lock_);
    if (State() != State_Stopped) return VFW_E_NOT_STOPPED;
    for (auto& p : pins_)
      if (p->Name() == name) return HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
    pins_.push_back(std::make_unique<CPsiPin>(this, this, name));
    *pin = pins_.back().get();
    (*pin)->AddRef();
    return S_OK;
  }

  STDMETHODIMP SetTableFilter(LONG count, void* specs, LONG, HANDLE completion, void* results) override {
    if (count < 0 || count > static_cast<LONG>(drvcore::kBatchSize)) return E_INVALIDARG;
    if (count > 0 && (!specs || !results)) return E_POINTER;
    if (Card::Get().Fails("SetTableFilter")) return E_FAIL;
    std::vector<Request> requests;
    try {
      for (LONG i = 0; i < count; ++i) {
        const auto& spec = static_cast<const SectionFilterSpec*>(specs)[i];
        requests.push_back(Request{spec, std::make_unique<drvcore::SectionCollector>(spec.mode)});
      }
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
    Disarm(false);
    std::lock_guard<std::mutex> lock(tableLock_);
    requests_ = std::move(requests);
    results_ = static_cast<SectionResult*>(results);
    completion_ = completion;
    signalled_ = false;
    return S_OK;
  }

  void Offer(LONG pid, const BYTE* data, long size) {
    if (size < 1) return;
    std::lock_guard<std::mutex> lock(tableLock_);
    if (!results_) return;
    bool allDone = true;
    for (Request& r : requests_) {
      if (!r.collector->Done() && static_cast<LONG>(r.spec.pid & 0x1FFF) == pid && data[0] == r.spec.table_id &&
          (!r.spec.match_extension ||
           (size >= 5 && (data[3] << 8 | data[4]) == r.spec.table_id_extension)))
        r.collector->Offer(data, static_cast<size_t>(size));
      if (!r.collector->Done()) allDone = false;
    }
    if (allDone && !signalled_ && completion_) {
      signalled_ = true;
      SetEvent(completion_);
    }
  }

 protected:
  HRESULT QueryOther(REFIID riid, void** ppv) override {
    if (!IsEqualIID(riid, __uuidof(IQuarnPSIParser))) return E_NOINTERFACE;
    *ppv = static_cast<IQuarnPSIParser*>(this);
    CBaseFilter::AddRef();
    return S_OK;
  }
  int PinCount() override { return static_cast<int>(pins_.size()); }
  orb::ds::CBasePin* PinAt(int i) override {
    return i >= 0 && i < PinCount() ? pins_[static_cast<size_t>(i)].get() : nullptr;
  }
  void OnStateChanged(FILTER_STATE from, FILTER_STATE to) override {
    if (to == State_Stopped && from != State_Stopped) Disarm(true);
  }

 private:
  struct Request {
    SectionFilterSpec spec;
    std::unique_ptr<drvcore::SectionCollector> collector;
  };

  static void* Alloc(size_t n) { return CoTaskMemAlloc(n); }
  static void Free(void* p) { CoTaskMemFree(p); }

  // Ends the armed table filter; with handOver, its results are written.
  void Disarm(bool handOver) {
    std::lock_guard<std::mutex> lock(tableLock_);
    if (results_ && handOver) {
      for (size_t i = 0; i < requests_.size(); ++i) {
        SectionResult& r = results_[i];
        if (r.sections) continue;  // never overwrite what the caller holds
        requests_[i].collector->Finish();
        requests_[i].collector->HandOver(&Alloc, &Free, r.count, r.sections);
      }
    }
    requests_.clear();
    results_ = nullptr;
    completion_ = nullptr;
  }

  std::vector<std::unique_ptr<CPsiPin>> pins_;
  std::mutex tableLock_;
  std::vector<Request> requests_;
  SectionResult* results_ = nullptr;
  HANDLE completion_ = nullptr;
  bool signalled_ = false;
};

HRESULT CPsiPin::OnReceive(const BYTE* data, long size) {
  const LONG pid = pid_;
  if (pid >= 0) owner_->Offer(pid, data, size);
  return S_OK;
}

}  // namespace

HRESULT CreatePsiParser(IUnknown* outer, REFIID riid, void** ppv) {
  return orb::ds::CreateFilterInstance<CPsiParser>(outer, riid, ppv);
}

}  // namespace qsim
