#pragma once
// ComPtr<T>: an owning interface pointer (one reference, released when the
// pointer goes).  Interfaces are identified by __uuidof, which the mingw-w64
// and widl headers declare for every interface.
#include <objbase.h>

#include <cstddef>
#include <utility>

namespace orb::com {

template <class T>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  ComPtr(std::nullptr_t) noexcept {}
  // Takes a reference of its own (the caller keeps his).
  ComPtr(T* p) noexcept : p_(p) {
    if (p_) p_->AddRef();
  }
  ComPtr(const ComPtr& o) noexcept : ComPtr(o.p_) {}
  ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ~ComPtr() { Reset(); }

  ComPtr& operator=(const ComPtr& o) noexcept {
    T* p = o.p_;  // o may be *this
    if (p) p->AddRef();
    Reset();
    p_ = p;
    return *this;
  }
  ComPtr& operator=(ComPtr&& o) noexcept {
    if (this != &o) {
      Reset();
      p_ = std::exchange(o.p_, nullptr);
    }
    return *this;
  }
  ComPtr& operator=(T* p) noexcept { return *this = ComPtr(p); }
  ComPtr& operator=(std::nullptr_t) noexcept {
    Reset();
    return *this;
  }

  T* Get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  operator T*() const noexcept { return p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }

  // For out-parameters: releases what is held and hands out the slot.
  T** Put() noexcept {
    Reset();
    return &p_;
  }
  void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }

  // Takes over a reference the caller owns; hands one over.
  void Attach(T* p) noexcept {
    Reset();
    p_ = p;
  }
  T* Detach() noexcept { return std::exchange(p_, nullptr); }
  void Reset() noexcept {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }

  // Hands an added reference to an out-parameter (E_POINTER when it is null).
  HRESULT CopyTo(T** out) const noexcept {
    if (!out) return E_POINTER;
    *out = p_;
    if (p_) p_->AddRef();
    return S_OK;
  }

  // QueryInterface for another interface of the same object.
  template <class U>
  HRESULT As(ComPtr<U>& out) const noexcept {
    if (!p_) return E_POINTER;
    return p_->QueryInterface(__uuidof(U), out.PutVoid());
  }

  HRESULT CoCreateInstance(REFCLSID clsid, DWORD context = CLSCTX_ALL,
                           IUnknown* outer = nullptr) noexcept {
    return ::CoCreateInstance(clsid, outer, context, __uuidof(T), PutVoid());
  }

 private:
  T* p_ = nullptr;
};

// True when both pointers reach the same COM object (IUnknown identity).
template <class A, class B>
bool SameObject(A* a, B* b) noexcept {
  if (!a || !b) return static_cast<void*>(a) == static_cast<void*>(b);
  ComPtr<IUnknown> ua, ub;
  if (FAILED(a->QueryInterface(IID_IUnknown, ua.PutVoid())) ||
      FAILED(b->QueryInterface(IID_IUnknown, ub.PutVoid())))
    return false;
  return ua.Get() == ub.Get();
}

}  // namespace orb::com
