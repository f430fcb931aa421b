// The dump filter: one input pin taking any media type; while the graph
// runs (from pause on) it writes every byte that reaches the pin to the
// file named through IFileSinkFilter, created afresh at each start.
#include <memory>
#include <mutex>
#include <string>

#include "card.h"
#include "filters.h"
#include "orb_dshow/filter_base.h"
#include "orb_dshow/guids.h"

namespace qsim {

namespace {

class CDumpFilter;

class CDumpInput final : public orb::ds::CInputPin {
 public:
  CDumpInput(orb::ds::CBaseFilter* f, CDumpFilter* owner) : CInputPin(f, L"Input"), owner_(owner) {}
  HRESULT CheckMediaType(const AM_MEDIA_TYPE*) override { return S_OK; }

 protected:
  HRESULT OnReceive(const BYTE* data, long size) override;

 private:
  CDumpFilter* owner_;
};

class CDumpFilter final : public orb::ds::CBaseFilter, public IFileSinkFilter {
 public:
  CDumpFilter() : CBaseFilter(orb::ds::kClsidDumpFilter) { in_ = std::make_unique<CDumpInput>(this, this); }
  ~CDumpFilter() override { Close(); }

  ORB_DS_FILTER_IUNKNOWN

  STDMETHODIMP SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE*) override {
    if (!name) return E_POINTER;
    if (Card::Get().Fails("SetFileName")) return E_FAIL;
    std::lock_guard<std::mutex> lock(fileLock_);
    name_ = name;
    return S_OK;
  }
  STDMETHODIMP GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* mt) override {
    if (!name) return E_POINTER;
    std::lock_guard<std::mutex> lock(fileLock_);
    *name = nullptr;
    if (mt) *mt = AM_MEDIA_TYPE{};
    if (name_.empty()) return S_FALSE;
    const size_t bytes = (name_.size() + 1) * sizeof(wchar_t);
    *name = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (!*name) return E_OUTOFMEMORY;
    memcpy(*name, name_.c_str(), bytes);
    return S_OK;
  }

  STDMETHODIMP Pause() override {
    if (State() == State_Stopped) {
      const HRESULT hr = Open();
      if (FAILED(hr)) return hr;
    }
    return CBaseFilter::Pause();
  }
  STDMETHODIMP Run(REFERENCE_TIME start) override {
    if (State() == State_Stopped) {
      const HRESULT hr = Open();
      if (FAILED(hr)) return hr;
    }
    return CBaseFilter::Run(start);
  }

  HRESULT Write(const BYTE* data, long size) {
    std::lock_guard<std::mutex> lock(fileLock_);
    if (file_ == INVALID_HANDLE_VALUE) return S_FALSE;
    DWORD written = 0;
    if (!WriteFile(file_, data, static_cast<DWORD>(size), &written, nullptr) ||
        written != static_cast<DWORD>(size))
      return HRESULT_FROM_WIN32(GetLastError());
    return S_OK;
  }

 protected:
  HRESULT QueryOther(REFIID riid, void** ppv) override {
    if (!IsEqualIID(riid, IID_IFileSinkFilter)) return E_NOINTERFACE;
    *ppv = static_cast<IFileSinkFilter*>(this);
    CBaseFilter::AddRef();
    return S_OK;
  }
  int PinCount() override { return 1; }
  orb::ds::CBasePin* PinAt(int i) override { return i == 0 ? in_.get() : nullptr; }
  void OnStateChanged(FILTER_STATE, FILTER_STATE to) override {
    if (to == State_Stopped) Close();
  }

 private:
  HRESULT Open() {
    std::lock_guard<std::mutex> lock(fileLock_);
    if (file_ != INVALID_HANDLE_VALUE) return S_OK;
    if (name_.empty()) return E_UNEXPECTED;
    file_ = CreateFileW(name_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    return file_ == INVALID_HANDLE_VALUE ? HRESULT_FROM_WIN32(GetLastError()) : S_OK;
  }
  void Close() {
    std::lock_guard<std::mutex> lock(fileLock_);
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
  }

  std::unique_ptr<CDumpInput> in_;
  std::mutex fileLock_;
  std::wstring name_;
  HANDLE file_ = INVALID_HANDLE_VALUE;
};

HRESULT CDumpInput::OnReceive(const BYTE* data, long size) { return owner_->Write(data, size); }

}  // namespace

HRESULT CreateDumpFilter(IUnknown* outer, REFIID riid, void** ppv) {
  return orb::ds::CreateFilterInstance<CDumpFilter>(outer, riid, ppv);
}

}  // namespace qsim
