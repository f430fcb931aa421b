#pragma once
// The COM objects of the satellite list manager.  Satellites and transponders
// handed out are values (copies); the list changes only through the manager.
#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "orb_atl/com_object.h"
#include "satlist/model.h"
#include "satlistmgr.h"

class CLog;

namespace orb::satlist {

// The log of the manager's module.
CLog& ManagerLog();

// Text across the interfaces: BSTR <-> UTF-8.  A BSTR that is not valid
// UTF-16 (a lone surrogate) gives false.
bool ToUtf8(BSTR text, std::string& out);
HRESULT ToBstr(const std::string& utf8, BSTR* out);

class CTransponder final : public com::ComClass<CTransponder, ITransponder> {
 public:
  static HRESULT Make(const Transponder& value, ITransponder** out);
  // The value of one of our transponders; false for another implementation.
  static bool ValueOf(ITransponder* transponder, Transponder& value);

  HRESULT QueryExtraInterface(REFIID riid, void** ppv);

  STDMETHODIMP SetPrimary(long primary) override;
  STDMETHODIMP GetPrimary(long* primary) override;
  STDMETHODIMP SetFrequency(ULONG frequency) override;
  STDMETHODIMP GetFrequency(ULONG* frequency) override;
  STDMETHODIMP Reserved7() override { return E_NOTIMPL; }
  STDMETHODIMP GetTransportStreamId(long* transportStreamId) override;
  STDMETHODIMP SetPolarization(long polarization) override;
  STDMETHODIMP GetPolarization(long* polarization) override;
  STDMETHODIMP SetSymbolRate(ULONG symbolRate) override;
  STDMETHODIMP GetSymbolRate(ULONG* symbolRate) override;
  STDMETHODIMP SetFEC(long fec) override;
  STDMETHODIMP GetFEC(long* fec) override;
  STDMETHODIMP Reserved15() override { return E_NOTIMPL; }
  STDMETHODIMP GetNetworkId(long* networkId) override;

 private:
  template <class Out, class Field>
  HRESULT Get(Out* out, Field Transponder::*field);
  template <class In, class Field>
  HRESULT Set(In in, Field Transponder::*field);

  std::mutex m_;
  Transponder v_;
};

class CSatellite final : public com::ComClass<CSatellite, ISatellite> {
 public:
  static HRESULT Make(const Satellite& value, ISatellite** out);
  // The value of one of our satellites; false for another implementation.
  static bool ValueOf(ISatellite* satellite, Satellite& value);

  HRESULT QueryExtraInterface(REFIID riid, void** ppv);

  STDMETHODIMP GetName(BSTR* name) override;
  STDMETHODIMP Reserved4() override { return E_NOTIMPL; }
  STDMETHODIMP EnumTransponders(long which, IEnumTransponders** transponders) override;
  STDMETHODIMP SetSelected(BOOL selected) override;
  STDMETHODIMP GetSelected(BOOL* selected) override;
  STDMETHODIMP SetUserAdded(long userAdded) override;
  STDMETHODIMP Reserved9() override { return E_NOTIMPL; }
  STDMETHODIMP AddTransponder(ITransponder* transponder) override;
  STDMETHODIMP DeleteTransponder(long networkId, long transportStreamId) override;
  STDMETHODIMP CreateTransponder(long networkId, long transportStreamId,
                                 ITransponder** transponder) override;
  STDMETHODIMP FindTransponder(long networkId, long transportStreamId,
                               ITransponder** transponder) override;
  STDMETHODIMP Reserved14() override { return E_NOTIMPL; }
  STDMETHODIMP GetTransponderCount(long* count) override;

 private:
  std::mutex m_;
  Satellite v_;
};

// An enumerator over copies taken when it was made.
template <class EnumInterface, class ItemInterface, class Value, class Maker>
class CValueEnum final
    : public com::ComClass<CValueEnum<EnumInterface, ItemInterface, Value, Maker>, EnumInterface> {
 public:
  static HRESULT Make(std::vector<Value> values, EnumInterface** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    CValueEnum* e = nullptr;
    HRESULT hr = CValueEnum::Create(&e);
    if (FAILED(hr)) return hr;
    e->values_ = std::move(values);
    *out = e;
    return S_OK;
  }

  STDMETHODIMP Next(ULONG count, ItemInterface** items, ULONG* fetched) override {
    if (fetched) *fetched = 0;
    if (!items || (count != 1 && !fetched)) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_);
    ULONG n = 0;
    for (; n < count && next_ < values_.size(); ++n) {
      const HRESULT hr = Maker::Make(values_[next_], &items[n]);
      if (FAILED(hr)) {
        while (n > 0) {
          --n;
          items[n]->Release();
          items[n] = nullptr;
        }
        return hr;
      }
      ++next_;
    }
    if (n < count) items[n] = nullptr;
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }

 private:
  std::mutex m_;
  std::vector<Value> values_;
  size_t next_ = 0;
};

using CEnumTransponders = CValueEnum<IEnumTransponders, ITransponder, Transponder, CTransponder>;
using CEnumSatellites = CValueEnum<IEnumSatellites, ISatellite, Satellite, CSatellite>;

class CSatListManager final : public com::ComClass<CSatListManager, ISatListManager> {
 public:
  STDMETHODIMP EnumSatellites(long flags, long which, IEnumSatellites** satellites) override;
  STDMETHODIMP FindSatellite(BSTR name, ISatellite** satellite) override;
  STDMETHODIMP Save(BSTR path) override;
  STDMETHODIMP Load(BSTR path) override;
  STDMETHODIMP StoreSatellite(ISatellite* satellite) override;
  STDMETHODIMP DeleteSatellite(BSTR name) override;
  STDMETHODIMP CreateSatellite(BSTR name, ISatellite** satellite) override;
  STDMETHODIMP Reserved10() override { return E_NOTIMPL; }
  STDMETHODIMP GetSatelliteCount(long* count) override;

 private:
  std::mutex m_;
  SatelliteList list_;
};

}  // namespace orb::satlist
