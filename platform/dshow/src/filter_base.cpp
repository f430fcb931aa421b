#include "orb_dshow/filter_base.h"

#include <cstring>
#include <new>

#include "orb_atl/module.h"

namespace orb::ds {

namespace {

std::atomic<LONG> g_liveFilters{0};

// CLSID_MemoryAllocator, the system's sample allocator.
const CLSID kMemoryAllocator = {0x1e651cc0, 0xb199, 0x11d0, {0x82, 0x12, 0x00, 0xc0, 0x4f, 0xc3, 0x2c, 0x45}};

LPWSTR CoTaskString(const std::wstring& s) {
  const size_t bytes = (s.size() + 1) * sizeof(wchar_t);
  auto* p = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
  if (p) std::memcpy(p, s.c_str(), bytes);
  return p;
}

class CEnumPins final : public IEnumPins {
 public:
  explicit CEnumPins(std::vector<IPin*> pins) : pins_(std::move(pins)) {}
  ~CEnumPins() {
    for (IPin* p : pins_) p->Release();
  }
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IEnumPins)) {
      *ppv = static_cast<IEnumPins*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++refs_); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG n = --refs_;
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
  }
  STDMETHODIMP Next(ULONG n, IPin** out, ULONG* fetched) override {
    if (!out) return E_POINTER;
    if (n != 1 && !fetched) return E_POINTER;
    ULONG got = 0;
    while (got < n && pos_ < pins_.size()) {
      out[got] = pins_[pos_++];
      out[got]->AddRef();
      ++got;
    }
    if (fetched) *fetched = got;
    return got == n ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG n) override {
    pos_ += n;
    if (pos_ > pins_.size()) {
      pos_ = pins_.size();
      return S_FALSE;
    }
    return S_OK;
  }
  STDMETHODIMP Reset() override {
    pos_ = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(IEnumPins** e) override {
    if (!e) return E_POINTER;
    for (IPin* p : pins_) p->AddRef();
    auto* c = new (std::nothrow) CEnumPins(pins_);
    if (!c) {
      for (IPin* p : pins_) p->Release();
      return E_OUTOFMEMORY;
    }
    c->pos_ = pos_;
    c->AddRef();
    *e = c;
    return S_OK;
  }

 private:
  std::atomic<LONG> refs_{0};
  std::vector<IPin*> pins_;
  size_t pos_ = 0;
};

class CEnumMediaTypes final : public IEnumMediaTypes {
 public:
  explicit CEnumMediaTypes(CBasePin* pin) : pin_(pin) { pin_->AddRef(); }
  ~CEnumMediaTypes() { pin_->Release(); }
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IEnumMediaTypes)) {
      *ppv = static_cast<IEnumMediaTypes*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++refs_); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG n = --refs_;
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
  }
  STDMETHODIMP Next(ULONG n, AM_MEDIA_TYPE** out, ULONG* fetched) override {
    if (!out) return E_POINTER;
    if (n != 1 && !fetched) return E_POINTER;
    ULONG got = 0;
    while (got < n) {
      MediaType mt;
      if (pin_->GetMediaType(pos_, &mt) != S_OK) break;
      AM_MEDIA_TYPE* copy = CreateMediaType(&mt);
      if (!copy) break;
      out[got++] = copy;
      ++pos_;
    }
    if (fetched) *fetched = got;
    return got == n ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG n) override {
    // Only types that exist are skipped: S_FALSE when fewer than n are left.
    for (ULONG i = 0; i < n; ++i) {
      MediaType mt;
      if (pin_->GetMediaType(pos_, &mt) != S_OK) return S_FALSE;
      ++pos_;
    }
    return S_OK;
  }
  STDMETHODIMP Reset() override {
    pos_ = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(IEnumMediaTypes** e) override {
    if (!e) return E_POINTER;
    auto* c = new (std::nothrow) CEnumMediaTypes(pin_);
    if (!c) return E_OUTOFMEMORY;
    c->pos_ = pos_;
    c->AddRef();
    *e = c;
    return S_OK;
  }

 private:
  std::atomic<LONG> refs_{0};
  CBasePin* pin_;
  int pos_ = 0;
};

}  // namespace

LONG LiveFilterCount() { return g_liveFilters.load(); }

// ---- media types ----

void FreeMediaType(AM_MEDIA_TYPE& mt) {
  if (mt.cbFormat && mt.pbFormat) CoTaskMemFree(mt.pbFormat);
  mt.cbFormat = 0;
  mt.pbFormat = nullptr;
  if (mt.pUnk) {
    mt.pUnk->Release();
    mt.pUnk = nullptr;
  }
}

HRESULT CopyMediaType(AM_MEDIA_TYPE* dst, const AM_MEDIA_TYPE* src) {
  if (!dst || !src) return E_POINTER;
  *dst = *src;
  if (src->cbFormat && src->pbFormat) {
    dst->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(src->cbFormat));
    if (!dst->pbFormat) {
      dst->cbFormat = 0;
      dst->pUnk = nullptr;
      return E_OUTOFMEMORY;
    }
    std::memcpy(dst->pbFormat, src->pbFormat, src->cbFormat);
  } else {
    dst->cbFormat = 0;
    dst->pbFormat = nullptr;
  }
  if (dst->pUnk) dst->pUnk->AddRef();
  return S_OK;
}

AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* src) {
  auto* mt = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
  if (!mt) return nullptr;
  if (FAILED(CopyMediaType(mt, src))) {
    CoTaskMemFree(mt);
    return nullptr;
  }
  return mt;
}

void DeleteMediaType(AM_MEDIA_TYPE* mt) {
  if (!mt) return;
  FreeMediaType(*mt);
  CoTaskMemFree(mt);
}

bool MediaTypeMatches(const AM_MEDIA_TYPE& partial, const AM_MEDIA_TYPE& full) {
  if (!IsEqualGUID(partial.majortype, GUID_NULL) && !IsEqualGUID(partial.majortype, full.majortype))
    return false;
  if (!IsEqualGUID(partial.subtype, GUID_NULL) && !IsEqualGUID(partial.subtype, full.subtype)) return false;
  if (!IsEqualGUID(partial.formattype, GUID_NULL) && !IsEqualGUID(partial.formattype, full.formattype))
    return false;
  return true;
}

MediaType::MediaType() : AM_MEDIA_TYPE{} {}

MediaType::MediaType(const GUID& major, const GUID& sub) : AM_MEDIA_TYPE{} {
  majortype = major;
  subtype = sub;
  bFixedSizeSamples = FALSE;
  lSampleSize = 1;
}

MediaType::MediaType(const MediaType& other) : AM_MEDIA_TYPE{} { Set(other); }

MediaType& MediaType::operator=(const MediaType& other) {
  if (this != &other) Set(other);
  return *this;
}

MediaType::~MediaType() { FreeMediaType(*this); }

void MediaType::Set(const AM_MEDIA_TYPE& other) {
  FreeMediaType(*this);
  if (FAILED(CopyMediaType(this, &other))) {
    AM_MEDIA_TYPE& self = *this;
    self = AM_MEDIA_TYPE{};
  }
}

void MediaType::Clear() {
  FreeMediaType(*this);
  AM_MEDIA_TYPE& self = *this;
  self = AM_MEDIA_TYPE{};
}

// ---- CBasePin ----

CBasePin::CBasePin(CBaseFilter* filter, const wchar_t* name, PIN_DIRECTION direction)
    : filter_(filter), name_(name ? name : L""), direction_(direction) {}

CBasePin::~CBasePin() {
  if (peer_) peer_->Release();
}

STDMETHODIMP CBasePin::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPin)) {
    *ppv = static_cast<IPin*>(this);
    AddRef();
    return S_OK;
  }
  return QueryOther(riid, ppv);
}

HRESULT CBasePin::QueryOther(REFIID, void**) { return E_NOINTERFACE; }

STDMETHODIMP_(ULONG) CBasePin::AddRef() { return filter_->AddRef(); }
STDMETHODIMP_(ULONG) CBasePin::Release() { return filter_->Release(); }

STDMETHODIMP CBasePin::Connect(IPin*, const AM_MEDIA_TYPE*) { return E_UNEXPECTED; }
STDMETHODIMP CBasePin::ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) { return E_UNEXPECTED; }

STDMETHODIMP CBasePin::Disconnect() {
  AutoLock lock(filter_->Lock());
  if (filter_->State() != State_Stopped) return VFW_E_NOT_STOPPED;
  if (!peer_) return S_FALSE;
  BreakConnect();
  peer_->Release();
  peer_ = nullptr;
  mt_.Clear();
  return S_OK;
}

STDMETHODIMP CBasePin::ConnectedTo(IPin** pin) {
  if (!pin) return E_POINTER;
  AutoLock lock(filter_->Lock());
  *pin = peer_;
  if (!peer_) return VFW_E_NOT_CONNECTED;
  peer_->AddRef();
  return S_OK;
}

STDMETHODIMP CBasePin::ConnectionMediaType(AM_MEDIA_TYPE* mt) {
  if (!mt) return E_POINTER;
  AutoLock lock(filter_->Lock());
  if (!peer_) {
    *mt = AM_MEDIA_TYPE{};
    return VFW_E_NOT_CONNECTED;
  }
  return CopyMediaType(mt, &mt_);
}

STDMETHODIMP CBasePin::QueryPinInfo(PIN_INFO* info) {
  if (!info) return E_POINTER;
  info->pFilter = filter_;
  filter_->AddRef();
  info->dir = direction_;
  const size_t n = name_.size() < MAX_PIN_NAME - 1 ? name_.size() : MAX_PIN_NAME - 1;
  std::memcpy(info->achName, name_.c_str(), n * sizeof(wchar_t));
  info->achName[n] = 0;
  return S_OK;
}

STDMETHODIMP CBasePin::QueryDirection(PIN_DIRECTION* dir) {
  if (!dir) return E_POINTER;
  *dir = direction_;
  return S_OK;
}

STDMETHODIMP CBasePin::QueryId(LPWSTR* id) {
  if (!id) return E_POINTER;
  *id = CoTaskString(name_);
  return *id ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CBasePin::QueryAccept(const AM_MEDIA_TYPE* mt) {
  if (!mt) return E_POINTER;
  return CheckMediaType(mt) == S_OK ? S_OK : S_FALSE;
}

STDMETHODIMP CBasePin::EnumMediaTypes(IEnumMediaTypes** e) {
  if (!e) return E_POINTER;
  auto* en = new (std::nothrow) CEnumMediaTypes(this);
  if (!en) return E_OUTOFMEMORY;
  en->AddRef();
  *e = en;
  return S_OK;
}

HRESULT CBasePin::GetMediaType(int, MediaType*) { return VFW_S_NO_MORE_ITEMS; }

STDMETHODIMP CBasePin::QueryInternalConnections(IPin**, ULONG*) { return E_NOTIMPL; }
STDMETHODIMP CBasePin::EndOfStream() { return S_OK; }
STDMETHODIMP CBasePin::BeginFlush() { return S_OK; }
STDMETHODIMP CBasePin::EndFlush() { return S_OK; }
STDMETHODIMP CBasePin::NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) { return S_OK; }

// ---- COutputPin ----

COutputPin::~COutputPin() { ReleaseConnection(); }

void COutputPin::ReleaseConnection() {
  if (allocator_) {
    allocator_->Decommit();
    allocator_->Release();
    allocator_ = nullptr;
  }
  committed_ = false;
  if (input_) {
    input_->Release();
    input_ = nullptr;
  }
}

STDMETHODIMP COutputPin::Connect(IPin* receive, const AM_MEDIA_TYPE* mt) {
  if (!receive) return E_POINTER;
  AutoLock lock(filter_->Lock());
  if (peer_) return VFW_E_ALREADY_CONNECTED;
  if (filter_->State() != State_Stopped) return VFW_E_NOT_STOPPED;
  PIN_DIRECTION dir;
  if (FAILED(receive->QueryDirection(&dir)) || dir != PINDIR_INPUT) return VFW_E_INVALID_DIRECTION;

  // A complete type is tried alone.
  if (mt && !IsEqualGUID(mt->majortype, GUID_NULL) && !IsEqualGUID(mt->subtype, GUID_NULL))
    return TryConnect(receive, mt);

  // Our own types first, then the receiver's.
  AM_MEDIA_TYPE any{};
  const AM_MEDIA_TYPE& partial = mt ? *mt : any;
  for (int i = 0;; ++i) {
    MediaType candidate;
    if (GetMediaType(i, &candidate) != S_OK) break;
    if (!MediaTypeMatches(partial, candidate)) continue;
    if (SUCCEEDED(TryConnect(receive, &candidate))) return S_OK;
  }
  IEnumMediaTypes* e = nullptr;
  if (SUCCEEDED(receive->EnumMediaTypes(&e)) && e) {
    AM_MEDIA_TYPE* t = nullptr;
    ULONG got = 0;
    while (e->Next(1, &t, &got) == S_OK && got == 1) {
      const bool ok = MediaTypeMatches(partial, *t) && SUCCEEDED(TryConnect(receive, t));
      DeleteMediaType(t);
      if (ok) {
        e->Release();
        return S_OK;
      }
    }
    e->Release();
  }
  return VFW_E_NO_ACCEPTABLE_TYPES;
}

HRESULT COutputPin::TryConnect(IPin* receive, const AM_MEDIA_TYPE* mt) {
  if (CheckMediaType(mt) != S_OK) return VFW_E_TYPE_NOT_ACCEPTED;
  peer_ = receive;
  peer_->AddRef();
  mt_.Set(*mt);
  HRESULT hr = receive->ReceiveConnection(this, mt);
  if (SUCCEEDED(hr)) {
    hr = DecideAllocator();
    if (SUCCEEDED(hr)) hr = CompleteConnect(receive);
    if (FAILED(hr)) receive->Disconnect();
  }
  if (FAILED(hr)) {
    ReleaseConnection();
    peer_->Release();
    peer_ = nullptr;
    mt_.Clear();
  }
  return hr;
}

HRESULT COutputPin::DecideAllocator() {
  HRESULT hr = peer_->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&input_));
  if (FAILED(hr)) return VFW_E_NO_TRANSPORT;
  ALLOCATOR_PROPERTIES wanted{};
  long count = 0, size = 0;
  BufferProps(count, size);
  input_->GetAllocatorRequirements(&wanted);
  wanted.cBuffers = count > wanted.cBuffers ? count : wanted.cBuffers;
  wanted.cbBuffer = size > wanted.cbBuffer ? size : wanted.cbBuffer;
  if (wanted.cbAlign <= 0) wanted.cbAlign = 1;
  wanted.cbPrefix = 0;

  IMemAllocator* alloc = nullptr;
  ALLOCATOR_PROPERTIES actual{};
  if (SUCCEEDED(input_->GetAllocator(&alloc)) && alloc) {
    if (SUCCEEDED(alloc->SetProperties(&wanted, &actual)) &&
        SUCCEEDED(input_->NotifyAllocator(alloc, FALSE))) {
      allocator_ = alloc;
      return S_OK;
    }
    alloc->Release();
    alloc = nullptr;
  }
  hr = CoCreateInstance(kMemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                        reinterpret_cast<void**>(&alloc));
  if (FAILED(hr)) return hr;
  hr = alloc->SetProperties(&wanted, &actual);
  if (SUCCEEDED(hr)) hr = input_->NotifyAllocator(alloc, FALSE);
  if (FAILED(hr)) {
    alloc->Release();
    return hr;
  }
  allocator_ = alloc;
  return S_OK;
}

STDMETHODIMP COutputPin::ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) { return VFW_E_INVALID_DIRECTION; }

STDMETHODIMP COutputPin::Disconnect() {
  AutoLock lock(filter_->Lock());
  if (filter_->State() != State_Stopped) return VFW_E_NOT_STOPPED;
  if (!peer_) return S_FALSE;
  ReleaseConnection();
  return CBasePin::Disconnect();
}

HRESULT COutputPin::Active() {
  if (!allocator_) return S_OK;
  const HRESULT hr = allocator_->Commit();
  committed_ = SUCCEEDED(hr);
  return hr;
}

HRESULT COutputPin::Inactive() {
  committed_ = false;
  if (allocator_) allocator_->Decommit();
  return S_OK;
}

HRESULT COutputPin::Deliver(const BYTE* data, size_t size) {
  // Set while connected and not stopped; the connection cannot change
  // before the filter stops, and the stop ends every delivering thread
  // (sources) or waits for the delivery in progress (downstream refuses).
  IMemInputPin* input = input_;
  IMemAllocator* alloc = allocator_;
  if (!input || !alloc || !committed_) return S_FALSE;
  while (size > 0) {
    IMediaSample* sample = nullptr;
    HRESULT hr = alloc->GetBuffer(&sample, nullptr, nullptr, 0);
    if (FAILED(hr) || !sample) return S_FALSE;  // decommitted: stopping
    BYTE* buffer = nullptr;
    sample->GetPointer(&buffer);
    const long room = sample->GetSize();
    const size_t n = room > 0 && static_cast<size_t>(room) < size ? static_cast<size_t>(room) : size;
    if (!buffer || room <= 0) {
      sample->Release();
      return E_UNEXPECTED;
    }
    std::memcpy(buffer, data, n);
    sample->SetActualDataLength(static_cast<long>(n));
    sample->SetTime(nullptr, nullptr);
    sample->SetSyncPoint(TRUE);
    hr = input->Receive(sample);
    sample->Release();
    if (hr != S_OK) return FAILED(hr) ? hr : S_FALSE;
    data += n;
    size -= n;
  }
  return S_OK;
}

HRESULT COutputPin::DeliverEndOfStream() {
  IPin* peer = peer_;
  return peer ? peer->EndOfStream() : S_OK;
}
HRESULT COutputPin::DeliverBeginFlush() {
  IPin* peer = peer_;
  return peer ? peer->BeginFlush() : S_OK;
}
HRESULT COutputPin::DeliverEndFlush() {
  IPin* peer = peer_;
  return peer ? peer->EndFlush() : S_OK;
}

// ---- CInputPin ----

CInputPin::~CInputPin() {
  if (allocator_) allocator_->Release();
}

HRESULT CInputPin::QueryOther(REFIID riid, void** ppv) {
  if (IsEqualIID(riid, IID_IMemInputPin)) {
    *ppv = static_cast<IMemInputPin*>(this);
    AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}

STDMETHODIMP CInputPin::Connect(IPin*, const AM_MEDIA_TYPE*) { return VFW_E_INVALID_DIRECTION; }

STDMETHODIMP CInputPin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) {
  if (!connector || !mt) return E_POINTER;
  AutoLock lock(filter_->Lock());
  if (peer_) return VFW_E_ALREADY_CONNECTED;
  if (filter_->State() != State_Stopped) return VFW_E_NOT_STOPPED;
  PIN_DIRECTION dir;
  if (FAILED(connector->QueryDirection(&dir)) || dir != PINDIR_OUTPUT) return VFW_E_INVALID_DIRECTION;
  if (CheckMediaType(mt) != S_OK) return VFW_E_TYPE_NOT_ACCEPTED;
  peer_ = connector;
  peer_->AddRef();
  mt_.Set(*mt);
  const HRESULT hr = CompleteConnect(connector);
  if (FAILED(hr)) {
    peer_->Release();
    peer_ = nullptr;
    mt_.Clear();
  }
  return hr;
}

STDMETHODIMP CInputPin::Disconnect() {
  AutoLock lock(filter_->Lock());
  if (filter_->State() != State_Stopped) return VFW_E_NOT_STOPPED;
  if (!peer_) return S_FALSE;
  if (allocator_) {
    allocator_->Release();
    allocator_ = nullptr;
  }
  return CBasePin::Disconnect();
}

STDMETHODIMP CInputPin::BeginFlush() {
  flushing_ = true;
  OnBeginFlush();
  return S_OK;
}

STDMETHODIMP CInputPin::EndFlush() {
  OnEndFlush();
  flushing_ = false;
  return S_OK;
}

STDMETHODIMP CInputPin::GetAllocator(IMemAllocator** allocator) {
  if (!allocator) return E_POINTER;
  AutoLock lock(filter_->Lock());
  if (!allocator_) {
    const HRESULT hr = CoCreateInstance(kMemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                                        reinterpret_cast<void**>(&allocator_));
    if (FAILED(hr)) {
      *allocator = nullptr;
      return hr;
    }
  }
  *allocator = allocator_;
  allocator_->AddRef();
  return S_OK;
}

STDMETHODIMP CInputPin::NotifyAllocator(IMemAllocator* allocator, BOOL) {
  if (!allocator) return E_POINTER;
  AutoLock lock(filter_->Lock());
  allocator->AddRef();
  if (allocator_) allocator_->Release();
  allocator_ = allocator;
  return S_OK;
}

STDMETHODIMP CInputPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) { return E_NOTIMPL; }

STDMETHODIMP CInputPin::Receive(IMediaSample* sample) {
  if (!sample) return E_POINTER;
  if (flushing_) return S_FALSE;
  if (filter_->State() == State_Stopped) return VFW_E_WRONG_STATE;
  BYTE* data = nullptr;
  if (FAILED(sample->GetPointer(&data)) || !data) return E_POINTER;
  const long size = sample->GetActualDataLength();
  if (size <= 0) return S_OK;
  return OnReceive(data, size);
}

STDMETHODIMP CInputPin::ReceiveMultiple(IMediaSample** samples, long n, long* done) {
  if (!samples || !done) return E_POINTER;
  *done = 0;
  HRESULT hr = S_OK;
  while (*done < n) {
    hr = Receive(samples[*done]);
    if (hr != S_OK) break;
    ++*done;
  }
  return hr;
}

STDMETHODIMP CInputPin::ReceiveCanBlock() { return S_FALSE; }

// ---- CBaseFilter ----

CBaseFilter::CBaseFilter(const CLSID& clsid) : clsid_(clsid) {
  InitializeCriticalSection(&lock_);
  ++g_liveFilters;
  orb::com::ModuleLock();
}

CBaseFilter::~CBaseFilter() {
  if (clock_) clock_->Release();
  DeleteCriticalSection(&lock_);
  --g_liveFilters;
  orb::com::ModuleUnlock();
}

STDMETHODIMP CBaseFilter::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPersist) ||
      IsEqualIID(riid, IID_IMediaFilter) || IsEqualIID(riid, IID_IBaseFilter)) {
    *ppv = static_cast<IBaseFilter*>(this);
    AddRef();
    return S_OK;
  }
  return QueryOther(riid, ppv);
}

HRESULT CBaseFilter::QueryOther(REFIID, void**) { return E_NOINTERFACE; }

STDMETHODIMP_(ULONG) CBaseFilter::AddRef() { return static_cast<ULONG>(++refs_); }

STDMETHODIMP_(ULONG) CBaseFilter::Release() {
  const LONG n = --refs_;
  if (n == 0) delete this;
  return static_cast<ULONG>(n);
}

STDMETHODIMP CBaseFilter::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = clsid_;
  return S_OK;
}

HRESULT CBaseFilter::SetState(FILTER_STATE to) {
  AutoLock lock(lock_);
  const FILTER_STATE from = state_;
  if (from == to) return S_OK;
  HRESULT result = S_OK;
  if (from == State_Stopped) {
    for (int i = 0; i < PinCount(); ++i) {
      CBasePin* p = PinAt(i);
      if (p && p->IsConnected()) {
        const HRESULT hr = p->Active();
        if (FAILED(hr)) result = hr;
      }
    }
    if (FAILED(result)) {
      for (int i = 0; i < PinCount(); ++i)
        if (CBasePin* p = PinAt(i)) p->Inactive();
      return result;
    }
  } else if (to == State_Stopped) {
    for (int i = 0; i < PinCount(); ++i)
      if (CBasePin* p = PinAt(i)) p->Inactive();
  }
  state_ = to;
  OnStateChanged(from, to);
  return S_OK;
}

STDMETHODIMP CBaseFilter::Stop() {
  BeforeStop();
  return SetState(State_Stopped);
}

STDMETHODIMP CBaseFilter::Pause() { return SetState(State_Paused); }

STDMETHODIMP CBaseFilter::Run(REFERENCE_TIME start) {
  {
    AutoLock lock(lock_);
    start_ = start;
  }
  if (state_ == State_Stopped) {
    const HRESULT hr = SetState(State_Paused);
    if (FAILED(hr)) return hr;
  }
  return SetState(State_Running);
}

STDMETHODIMP CBaseFilter::GetState(DWORD, FILTER_STATE* state) {
  if (!state) return E_POINTER;
  *state = state_;
  return *state == State_Paused ? PausedStateResult() : S_OK;
}

STDMETHODIMP CBaseFilter::SetSyncSource(IReferenceClock* clock) {
  AutoLock lock(lock_);
  if (clock) clock->AddRef();
  if (clock_) clock_->Release();
  clock_ = clock;
  return S_OK;
}

STDMETHODIMP CBaseFilter::GetSyncSource(IReferenceClock** clock) {
  if (!clock) return E_POINTER;
  AutoLock lock(lock_);
  *clock = clock_;
  if (clock_) clock_->AddRef();
  return S_OK;
}

std::vector<IPin*> CBaseFilter::PinSnapshot() {
  AutoLock lock(lock_);
  std::vector<IPin*> pins;
  for (int i = 0; i < PinCount(); ++i) {
    if (CBasePin* p = PinAt(i)) {
      p->AddRef();
      pins.push_back(p);
    }
  }
  return pins;
}

STDMETHODIMP CBaseFilter::EnumPins(IEnumPins** e) {
  if (!e) return E_POINTER;
  *e = nullptr;
  std::vector<IPin*> pins = PinSnapshot();
  auto* en = new (std::nothrow) CEnumPins(pins);
  if (!en) {
    for (IPin* p : pins) p->Release();
    return E_OUTOFMEMORY;
  }
  en->AddRef();
  *e = en;
  return S_OK;
}

STDMETHODIMP CBaseFilter::FindPin(LPCWSTR id, IPin** pin) {
  if (!id || !pin) return E_POINTER;
  *pin = nullptr;
  AutoLock lock(lock_);
  for (int i = 0; i < PinCount(); ++i) {
    CBasePin* p = PinAt(i);
    if (p && p->Name() == id) {
      p->AddRef();
      *pin = p;
      return S_OK;
    }
  }
  return VFW_E_NOT_FOUND;
}

STDMETHODIMP CBaseFilter::QueryFilterInfo(FILTER_INFO* info) {
  if (!info) return E_POINTER;
  AutoLock lock(lock_);
  const size_t n = graphName_.size() < MAX_FILTER_NAME - 1 ? graphName_.size() : MAX_FILTER_NAME - 1;
  std::memcpy(info->achName, graphName_.c_str(), n * sizeof(wchar_t));
  info->achName[n] = 0;
  info->pGraph = graph_;
  if (graph_) graph_->AddRef();
  return S_OK;
}

STDMETHODIMP CBaseFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
  AutoLock lock(lock_);
  graph_ = graph;
  graphName_ = name ? name : L"";
  return S_OK;
}

STDMETHODIMP CBaseFilter::QueryVendorInfo(LPWSTR*) { return E_NOTIMPL; }

}  // namespace orb::ds
