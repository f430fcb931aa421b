#pragma once
// Bstr: an owning BSTR (SysAllocString / SysFreeString).  A null BSTR is the
// empty string, as COM treats it.
#include <oleauto.h>
#include <windows.h>

#include <string>
#include <string_view>
#include <utility>

namespace orb::com {

class Bstr {
 public:
  Bstr() noexcept = default;
  explicit Bstr(const wchar_t* s) : s_(s ? ::SysAllocString(s) : nullptr) {}
  explicit Bstr(std::wstring_view s) : s_(Alloc(s)) {}
  Bstr(const Bstr& o) : s_(o.s_ ? ::SysAllocStringLen(o.s_, o.Length()) : nullptr) {}
  Bstr(Bstr&& o) noexcept : s_(std::exchange(o.s_, nullptr)) {}
  ~Bstr() { ::SysFreeString(s_); }

  Bstr& operator=(const Bstr& o) {
    if (this != &o) Attach(o.s_ ? ::SysAllocStringLen(o.s_, o.Length()) : nullptr);
    return *this;
  }
  Bstr& operator=(Bstr&& o) noexcept {
    if (this != &o) Attach(std::exchange(o.s_, nullptr));
    return *this;
  }
  Bstr& operator=(std::wstring_view s) {
    Attach(Alloc(s));
    return *this;
  }
  Bstr& operator=(const wchar_t* s) {
    Attach(s ? ::SysAllocString(s) : nullptr);
    return *this;
  }

  // Text in a narrow code page (CP_ACP, CP_UTF8, ...).
  static Bstr FromNarrow(std::string_view s, UINT codePage = CP_ACP);

  BSTR Get() const noexcept { return s_; }
  operator BSTR() const noexcept { return s_; }
  UINT Length() const noexcept { return ::SysStringLen(s_); }
  bool Empty() const noexcept { return Length() == 0; }
  std::wstring_view View() const noexcept { return {s_ ? s_ : L"", Length()}; }
  std::wstring Str() const { return std::wstring(View()); }
  // Narrow text; characters the code page lacks become its default character.
  std::string ToNarrow(UINT codePage = CP_ACP) const;

  // For out-parameters: frees what is held and hands out the slot.
  BSTR* Put() noexcept {
    Attach(nullptr);
    return &s_;
  }
  void Attach(BSTR s) noexcept {
    if (s != s_) ::SysFreeString(s_);
    s_ = s;
  }
  BSTR Detach() noexcept { return std::exchange(s_, nullptr); }

  // A copy for an out-parameter: E_POINTER for a null slot, E_OUTOFMEMORY
  // when a non-empty text cannot be copied.
  HRESULT CopyTo(BSTR* out) const noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!s_) return S_OK;
    *out = ::SysAllocStringLen(s_, Length());
    return *out ? S_OK : E_OUTOFMEMORY;
  }

  void Append(std::wstring_view tail) {
    std::wstring all(View());
    all.append(tail);
    Attach(Alloc(all));
  }

  friend bool operator==(const Bstr& a, const Bstr& b) noexcept { return a.View() == b.View(); }
  friend bool operator==(const Bstr& a, std::wstring_view b) noexcept { return a.View() == b; }

 private:
  static BSTR Alloc(std::wstring_view s) {
    return ::SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
  }
  BSTR s_ = nullptr;
};

inline Bstr Bstr::FromNarrow(std::string_view s, UINT codePage) {
  Bstr out;
  if (s.empty()) return Bstr(std::wstring_view(L"", 0));
  const int n = ::MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  if (n <= 0) return out;
  BSTR b = ::SysAllocStringLen(nullptr, static_cast<UINT>(n));
  if (!b) return out;
  ::MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), b, n);
  out.Attach(b);
  return out;
}

inline std::string Bstr::ToNarrow(UINT codePage) const {
  const std::wstring_view v = View();
  if (v.empty()) return {};
  const int n = ::WideCharToMultiByte(codePage, 0, v.data(), static_cast<int>(v.size()), nullptr, 0,
                                      nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(codePage, 0, v.data(), static_cast<int>(v.size()), out.data(), n, nullptr,
                        nullptr);
  return out;
}

}  // namespace orb::com
