#include "objects.h"

namespace orb::satlist {
namespace {

// Private interface ids under which our objects hand out themselves, so that
// the manager can read a satellite or transponder given back to it.
// {F448BED8-F547-4A90-A211-2EE1E54C4061}
constexpr GUID kIidSatelliteObject = {
    0xF448BED8, 0xF547, 0x4A90, {0xA2, 0x11, 0x2E, 0xE1, 0xE5, 0x4C, 0x40, 0x61}};
// {163F55C9-6A4A-4CA6-AC9D-44C649EEB7AB}
constexpr GUID kIidTransponderObject = {
    0x163F55C9, 0x6A4A, 0x4CA6, {0xAC, 0x9D, 0x44, 0xC6, 0x49, 0xEE, 0xB7, 0xAB}};

}  // namespace

bool ToUtf8(BSTR text, std::string& out) {
  out.clear();
  const UINT length = ::SysStringLen(text);
  if (length == 0) return true;
  const int n = ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, static_cast<int>(length),
                                      nullptr, 0, nullptr, nullptr);
  if (n <= 0) return false;
  out.resize(static_cast<size_t>(n));
  ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, static_cast<int>(length), out.data(), n,
                        nullptr, nullptr);
  return true;
}

HRESULT ToBstr(const std::string& utf8, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  const int n = utf8.empty() ? 0
                             : ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(),
                                                     static_cast<int>(utf8.size()), nullptr, 0);
  if (!utf8.empty() && n <= 0) return E_FAIL;
  BSTR b = ::SysAllocStringLen(nullptr, static_cast<UINT>(n));
  if (!b) return E_OUTOFMEMORY;
  if (n > 0) ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), b, n);
  *out = b;
  return S_OK;
}

// --- transponder ------------------------------------------------------------

HRESULT CTransponder::Make(const Transponder& value, ITransponder** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  CTransponder* t = nullptr;
  const HRESULT hr = Create(&t);
  if (FAILED(hr)) return hr;
  t->v_ = value;
  *out = t;
  return S_OK;
}

bool CTransponder::ValueOf(ITransponder* transponder, Transponder& value) {
  void* p = nullptr;
  if (!transponder || FAILED(transponder->QueryInterface(kIidTransponderObject, &p))) return false;
  auto* t = static_cast<CTransponder*>(p);
  {
    std::lock_guard<std::mutex> lock(t->m_);
    value = t->v_;
  }
  t->Release();
  return true;
}

HRESULT CTransponder::QueryExtraInterface(REFIID riid, void** ppv) {
  if (!IsEqualIID(riid, kIidTransponderObject)) return E_NOINTERFACE;
  AddRef();
  *ppv = this;
  return S_OK;
}

template <class Out, class Field>
HRESULT CTransponder::Get(Out* out, Field Transponder::*field) {
  if (!out) return E_POINTER;
  std::lock_guard<std::mutex> lock(m_);
  *out = static_cast<Out>(v_.*field);
  return S_OK;
}

template <class In, class Field>
HRESULT CTransponder::Set(In in, Field Transponder::*field) {
  std::lock_guard<std::mutex> lock(m_);
  v_.*field = static_cast<Field>(in);
  return S_OK;
}

STDMETHODIMP CTransponder::SetPrimary(long primary) { return Set(primary, &Transponder::primary); }
STDMETHODIMP CTransponder::GetPrimary(long* primary) { return Get(primary, &Transponder::primary); }
STDMETHODIMP CTransponder::SetFrequency(ULONG f) { return Set(f, &Transponder::frequency); }
STDMETHODIMP CTransponder::GetFrequency(ULONG* f) { return Get(f, &Transponder::frequency); }
STDMETHODIMP CTransponder::GetTransportStreamId(long* id) {
  return Get(id, &Transponder::transportStreamId);
}
STDMETHODIMP CTransponder::SetPolarization(long p) { return Set(p, &Transponder::polarization); }
STDMETHODIMP CTransponder::GetPolarization(long* p) { return Get(p, &Transponder::polarization); }
STDMETHODIMP CTransponder::SetSymbolRate(ULONG s) { return Set(s, &Transponder::symbolRate); }
STDMETHODIMP CTransponder::GetSymbolRate(ULONG* s) { return Get(s, &Transponder::symbolRate); }
STDMETHODIMP CTransponder::SetFEC(long fec) { return Set(fec, &Transponder::fec); }
STDMETHODIMP CTransponder::GetFEC(long* fec) { return Get(fec, &Transponder::fec); }
STDMETHODIMP CTransponder::GetNetworkId(long* id) { return Get(id, &Transponder::networkId); }

// --- satellite --------------------------------------------------------------

HRESULT CSatellite::Make(const Satellite& value, ISatellite** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  CSatellite* s = nullptr;
  const HRESULT hr = Create(&s);
  if (FAILED(hr)) return hr;
  s->v_ = value;
  *out = s;
  return S_OK;
}

bool CSatellite::ValueOf(ISatellite* satellite, Satellite& value) {
  void* p = nullptr;
  if (!satellite || FAILED(satellite->QueryInterface(kIidSatelliteObject, &p))) return false;
  auto* s = static_cast<CSatellite*>(p);
  {
    std::lock_guard<std::mutex> lock(s->m_);
    value = s->v_;
  }
  s->Release();
  return true;
}

HRESULT CSatellite::QueryExtraInterface(REFIID riid, void** ppv) {
  if (!IsEqualIID(riid, kIidSatelliteObject)) return E_NOINTERFACE;
  AddRef();
  *ppv = this;
  return S_OK;
}

STDMETHODIMP CSatellite::GetName(BSTR* name) {
  std::lock_guard<std::mutex> lock(m_);
  return ToBstr(v_.name, name);
}

STDMETHODIMP CSatellite::EnumTransponders(long which, IEnumTransponders** transponders) {
  if (!transponders) return E_POINTER;
  *transponders = nullptr;
  if (which != 0 && which != 1) return E_INVALIDARG;
  std::vector<Transponder> values;
  {
    std::lock_guard<std::mutex> lock(m_);
    for (const Transponder& t : v_.transponders)
      if (which == 0 || t.primary > 0) values.push_back(t);
  }
  return CEnumTransponders::Make(std::move(values), transponders);
}

STDMETHODIMP CSatellite::SetSelected(BOOL selected) {
  std::lock_guard<std::mutex> lock(m_);
  v_.selected = selected != FALSE;
  return S_OK;
}

STDMETHODIMP CSatellite::GetSelected(BOOL* selected) {
  if (!selected) return E_POINTER;
  std::lock_guard<std::mutex> lock(m_);
  *selected = v_.selected ? TRUE : FALSE;
  return S_OK;
}

STDMETHODIMP CSatellite::SetUserAdded(long userAdded) {
  std::lock_guard<std::mutex> lock(m_);
  v_.userAdded = userAdded;
  return S_OK;
}

STDMETHODIMP CSatellite::AddTransponder(ITransponder* transponder) {
  if (!transponder) return E_POINTER;
  Transponder t;
  if (!CTransponder::ValueOf(transponder, t)) return E_INVALIDARG;
  std::lock_guard<std::mutex> lock(m_);
  v_.AddTransponder(t);
  return S_OK;
}

STDMETHODIMP CSatellite::DeleteTransponder(long networkId, long transportStreamId) {
  std::lock_guard<std::mutex> lock(m_);
  return v_.DeleteTransponder(networkId, transportStreamId) ? S_OK
                                                            : HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
}

STDMETHODIMP CSatellite::CreateTransponder(long networkId, long transportStreamId,
                                           ITransponder** transponder) {
  Transponder t;
  t.networkId = networkId;
  t.transportStreamId = transportStreamId;
  return CTransponder::Make(t, transponder);
}

STDMETHODIMP CSatellite::FindTransponder(long networkId, long transportStreamId,
                                         ITransponder** transponder) {
  if (!transponder) return E_POINTER;
  *transponder = nullptr;
  Transponder t;
  {
    std::lock_guard<std::mutex> lock(m_);
    const Transponder* found = v_.FindTransponder(networkId, transportStreamId);
    if (!found) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    t = *found;
  }
  return CTransponder::Make(t, transponder);
}

STDMETHODIMP CSatellite::GetTransponderCount(long* count) {
  if (!count) return E_POINTER;
  std::lock_guard<std::mutex> lock(m_);
  *count = static_cast<long>(v_.transponders.size());
  return S_OK;
}

}  // namespace orb::satlist
