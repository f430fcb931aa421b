#pragma once
// A small DirectShow filter and pin base for the filters of our own that
// the system's filter graph manager runs: media type helpers, the filter's
// state machine and pin list, output pins that connect and negotiate an
// allocator, input pins that take samples, and enumerators.
//
// Pins are not COM objects of their own: they count on their filter and
// live as long as it does (a pin the filter removes is kept until the
// filter goes, since a caller may still hold it).  The filter's lock guards
// its state and its pins' connections; samples travel without it.
//
// Streaming: an output pin delivers on whatever thread calls Deliver (a
// source's push thread, or the thread delivering to a pass-through
// filter's input).  Input pins refuse samples while their filter is
// stopped or flushing, so that a filter stopped first (downstream, as the
// graph stops them) never blocks the delivering thread.
#include <windows.h>
#include <dshow.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace orb::ds {

// ---- media types ----

// Frees what the type points to (format block, pUnk) and clears it.
void FreeMediaType(AM_MEDIA_TYPE& mt);
// Deep copy; the destination is overwritten (not freed first).
HRESULT CopyMediaType(AM_MEDIA_TYPE* dst, const AM_MEDIA_TYPE* src);
// A CoTaskMemAlloc'ed deep copy (for IEnumMediaTypes::Next); null on failure.
AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* src);
void DeleteMediaType(AM_MEDIA_TYPE* mt);
// True when `partial` (majortype/subtype/formattype GUID_NULL = any) admits `full`.
bool MediaTypeMatches(const AM_MEDIA_TYPE& partial, const AM_MEDIA_TYPE& full);

// An owned AM_MEDIA_TYPE.
class MediaType : public AM_MEDIA_TYPE {
 public:
  MediaType();
  MediaType(const GUID& major, const GUID& sub);
  MediaType(const MediaType& other);
  MediaType& operator=(const MediaType& other);
  ~MediaType();
  void Set(const AM_MEDIA_TYPE& other);
  void Clear();
};

// ---- filter and pins ----

class CBaseFilter;

class CBasePin : public IPin {
 public:
  CBasePin(CBaseFilter* filter, const wchar_t* name, PIN_DIRECTION direction);
  virtual ~CBasePin();
  CBasePin(const CBasePin&) = delete;
  CBasePin& operator=(const CBasePin&) = delete;

  // IUnknown: the filter's count; QueryInterface answers IPin and QueryOther.
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IPin
  STDMETHODIMP Connect(IPin* receive, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP Disconnect() override;
  STDMETHODIMP ConnectedTo(IPin** pin) override;
  STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
  STDMETHODIMP QueryDirection(PIN_DIRECTION* dir) override;
  STDMETHODIMP QueryId(LPWSTR* id) override;
  STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** e) override;
  STDMETHODIMP QueryInternalConnections(IPin** pins, ULONG* n) override;
  STDMETHODIMP EndOfStream() override;
  STDMETHODIMP BeginFlush() override;
  STDMETHODIMP EndFlush() override;
  STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

  // What the pin takes: S_OK accepts.
  virtual HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) = 0;
  // Preferred type i (S_OK), VFW_S_NO_MORE_ITEMS past the last.
  virtual HRESULT GetMediaType(int i, MediaType* mt);
  // The filter leaves / enters the stopped state (under the filter's lock).
  virtual HRESULT Active() { return S_OK; }
  virtual HRESULT Inactive() { return S_OK; }

  bool IsConnected() const { return peer_ != nullptr; }
  IPin* Peer() const { return peer_; }
  const std::wstring& Name() const { return name_; }
  PIN_DIRECTION Direction() const { return direction_; }
  CBaseFilter* Filter() const { return filter_; }
  const MediaType& ConnectionType() const { return mt_; }

 protected:
  virtual HRESULT QueryOther(REFIID riid, void** ppv);
  // Connection hooks (under the filter's lock).
  virtual HRESULT CompleteConnect(IPin*) { return S_OK; }
  virtual void BreakConnect() {}

  CBaseFilter* filter_;
  std::wstring name_;
  PIN_DIRECTION direction_;
  IPin* peer_ = nullptr;
  MediaType mt_;
};

class COutputPin : public CBasePin {
 public:
  COutputPin(CBaseFilter* filter, const wchar_t* name) : CBasePin(filter, name, PINDIR_OUTPUT) {}
  ~COutputPin() override;

  STDMETHODIMP Connect(IPin* receive, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP Disconnect() override;

  HRESULT Active() override;
  HRESULT Inactive() override;

  // Sends `size` bytes downstream, cut into as many samples as the
  // allocator's buffers need.  S_OK, S_FALSE when downstream refused (it
  // is stopping or flushing), or the failure.  Not connected: S_FALSE.
  HRESULT Deliver(const BYTE* data, size_t size);
  HRESULT DeliverEndOfStream();
  HRESULT DeliverBeginFlush();
  HRESULT DeliverEndFlush();

 protected:
  // The buffers wanted: count and size (defaults 8 x 64 KiB).
  virtual void BufferProps(long& count, long& size) const {
    count = 8;
    size = 65536;
  }
  HRESULT TryConnect(IPin* receive, const AM_MEDIA_TYPE* mt);
  HRESULT DecideAllocator();
  void ReleaseConnection();

  IMemInputPin* input_ = nullptr;
  IMemAllocator* allocator_ = nullptr;
  std::atomic<bool> committed_{false};
};

class CInputPin : public CBasePin, public IMemInputPin {
 public:
  CInputPin(CBaseFilter* filter, const wchar_t* name) : CBasePin(filter, name, PINDIR_INPUT) {}
  ~CInputPin() override;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return CBasePin::QueryInterface(riid, ppv); }
  STDMETHODIMP_(ULONG) AddRef() override { return CBasePin::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return CBasePin::Release(); }

  STDMETHODIMP Connect(IPin* receive, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP Disconnect() override;
  STDMETHODIMP BeginFlush() override;
  STDMETHODIMP EndFlush() override;

  // IMemInputPin
  STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
  STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
  STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override;
  STDMETHODIMP Receive(IMediaSample* sample) override;
  STDMETHODIMP ReceiveMultiple(IMediaSample** samples, long n, long* done) override;
  STDMETHODIMP ReceiveCanBlock() override;

 protected:
  HRESULT QueryOther(REFIID riid, void** ppv) override;
  // One sample's bytes, while the filter is not stopped.  Runs on the
  // delivering thread; S_OK to go on.
  virtual HRESULT OnReceive(const BYTE* data, long size) = 0;
  virtual void OnBeginFlush() {}
  virtual void OnEndFlush() {}

  IMemAllocator* allocator_ = nullptr;
  std::atomic<bool> flushing_{false};
};

class CBaseFilter : public IBaseFilter {
 public:
  explicit CBaseFilter(const CLSID& clsid);
  virtual ~CBaseFilter();
  CBaseFilter(const CBaseFilter&) = delete;
  CBaseFilter& operator=(const CBaseFilter&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IPersist
  STDMETHODIMP GetClassID(CLSID* clsid) override;
  // IMediaFilter
  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;
  STDMETHODIMP Run(REFERENCE_TIME start) override;
  STDMETHODIMP GetState(DWORD ms, FILTER_STATE* state) override;
  STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
  STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;
  // IBaseFilter
  STDMETHODIMP EnumPins(IEnumPins** e) override;
  STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
  STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
  STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
  STDMETHODIMP QueryVendorInfo(LPWSTR* info) override;

  CRITICAL_SECTION& Lock() { return lock_; }
  FILTER_STATE State() const { return state_.load(); }
  // The pins now, each with a reference (the caller releases them).
  std::vector<IPin*> PinSnapshot();

 protected:
  virtual HRESULT QueryOther(REFIID riid, void** ppv);
  // The filter's pins (under the lock).
  virtual int PinCount() = 0;
  virtual CBasePin* PinAt(int i) = 0;
  // Called without the lock before the filter stops (a push thread ends
  // here), and under it after each state change.
  virtual void BeforeStop() {}
  virtual void OnStateChanged(FILTER_STATE /*from*/, FILTER_STATE /*to*/) {}
  // GetState's result for the paused state (live sources: VFW_S_CANT_CUE).
  virtual HRESULT PausedStateResult() { return S_OK; }
  // An answer to a method that is not allowed with the state now.
  HRESULT SetState(FILTER_STATE to);

  CRITICAL_SECTION lock_;
  std::atomic<FILTER_STATE> state_{State_Stopped};
  REFERENCE_TIME start_ = 0;
  IReferenceClock* clock_ = nullptr;
  IFilterGraph* graph_ = nullptr;  // not counted (the graph holds the filter)
  std::wstring graphName_;
  CLSID clsid_;

 private:
  std::atomic<LONG> refs_{0};
};

// The class object's creation function for a filter class T (default
// constructible, derived from CBaseFilter).
template <class T>
HRESULT CreateFilterInstance(IUnknown* outer, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  T* f = new (std::nothrow) T();
  if (!f) return E_OUTOFMEMORY;
  f->AddRef();
  HRESULT hr = f->QueryInterface(riid, ppv);
  f->Release();
  return hr;
}

// For classes that add interfaces to a filter: the IUnknown of the filter.
#define ORB_DS_FILTER_IUNKNOWN                                                              \
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {                          \
    return ::orb::ds::CBaseFilter::QueryInterface(riid, ppv);                              \
  }                                                                                        \
  STDMETHODIMP_(ULONG) AddRef() override { return ::orb::ds::CBaseFilter::AddRef(); }      \
  STDMETHODIMP_(ULONG) Release() override { return ::orb::ds::CBaseFilter::Release(); }

// A scoped hold on a critical section.
class AutoLock {
 public:
  explicit AutoLock(CRITICAL_SECTION& cs) : cs_(cs) { EnterCriticalSection(&cs_); }
  ~AutoLock() { LeaveCriticalSection(&cs_); }
  AutoLock(const AutoLock&) = delete;
  AutoLock& operator=(const AutoLock&) = delete;

 private:
  CRITICAL_SECTION& cs_;
};

// Filters of this module alive now (tests: nothing left behind).
LONG LiveFilterCount();

}  // namespace orb::ds
