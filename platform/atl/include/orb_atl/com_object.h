#pragma once
// ComClass: the IUnknown half of a COM class.
//
//   class CThing final : public orb::com::ComClass<CThing, IThing, IOther> {
//    public:
//     STDMETHODIMP DoIt() override;  // the interfaces' own methods
//   };
//
// QueryInterface answers IUnknown and every listed interface (and IDispatch
// through the first listed interface derived from it); a class may answer
// more by defining `HRESULT QueryExtraInterface(REFIID, void**)` (the result
// is handed out as is; on success it must carry an added reference).
// Reference counts are interlocked (threading model "Both"); each live object
// holds one module lock.  A class may define `HRESULT FinalConstruct()`,
// run after construction by CreateInstance/Create; a failure destroys the
// object and is returned.
#include <objbase.h>
#include <oaidl.h>

#include <new>
#include <type_traits>

#include "orb_atl/module.h"

namespace orb::com {

template <class Derived, class First, class... Rest>
class ComClass : public First, public Rest... {
 public:
  ComClass() noexcept { ModuleLock(); }
  ComClass(const ComClass&) = delete;
  ComClass& operator=(const ComClass&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IUnknown)) {
      *ppv = static_cast<IUnknown*>(static_cast<First*>(this));
    } else if (!(Match<First>(riid, ppv) || (Match<Rest>(riid, ppv) || ...)) &&
               !MatchDispatch(riid, ppv)) {
      return static_cast<Derived*>(this)->QueryExtraInterface(riid, ppv);
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override {
    return static_cast<ULONG>(::InterlockedIncrement(&refs_));
  }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG n = ::InterlockedDecrement(&refs_);
    if (n == 0) delete static_cast<Derived*>(this);
    return static_cast<ULONG>(n);
  }

  // The default: no further interfaces.
  HRESULT QueryExtraInterface(REFIID, void**) { return E_NOINTERFACE; }

  // A new object handed out as `riid` (the class object's CreateInstance).
  static HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    Derived* obj = nullptr;
    HRESULT hr = Create(&obj);
    if (FAILED(hr)) return hr;
    hr = obj->QueryInterface(riid, ppv);
    obj->Release();
    return hr;
  }

  // A new object with one reference, for the module's own use.
  static HRESULT Create(Derived** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    Derived* obj = new (std::nothrow) Derived();
    if (!obj) return E_OUTOFMEMORY;
    obj->AddRef();
    if constexpr (requires(Derived& d) { d.FinalConstruct(); }) {
      const HRESULT hr = obj->FinalConstruct();
      if (FAILED(hr)) {
        obj->Release();
        return hr;
      }
    }
    *out = obj;
    return S_OK;
  }

 protected:
  virtual ~ComClass() { ModuleUnlock(); }

 private:
  template <class I>
  bool Match(REFIID riid, void** ppv) {
    if (!IsEqualIID(riid, __uuidof(I))) return false;
    *ppv = static_cast<I*>(this);
    return true;
  }
  template <class I>
  bool MatchDispatchOf(void** ppv) {
    if constexpr (std::is_base_of_v<IDispatch, I>) {
      *ppv = static_cast<IDispatch*>(static_cast<I*>(this));
      return true;
    }
    return false;
  }
  bool MatchDispatch(REFIID riid, void** ppv) {
    if (!IsEqualIID(riid, IID_IDispatch)) return false;
    return MatchDispatchOf<First>(ppv) || (MatchDispatchOf<Rest>(ppv) || ...);
  }

  LONG refs_ = 0;
};

}  // namespace orb::com
