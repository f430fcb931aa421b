// Tuning through the source filter's tuner control: satellite transponders
// through the LNB slots of the settings, cable and terrestrial channels,
// and the channel the tuner is locked on.
//
// DiSEqC codes of the tuner: 0 none, 1 + slot for a tone-burst switch
// (mode 1, slots 0 and 1), 3 + slot for a DiSEqC 1.0 switch (mode 2).
#include <cmath>
#include <cstring>

#include "GraphDriver.h"
#include "drvcommon/DriverLog.h"
#include "drvcommon/DriverUi.h"
#include "drvcommon/Text.h"
#include "drvcore/tuning.h"

namespace {

constexpr ULONG kFecAuto = 6;
constexpr ULONG kGuardAuto = 4;

ULONG DiseqcCode(drvcore::u32 mode, int slot) {
  if (mode == drvcore::kDiseqcToneBurst) return static_cast<ULONG>(1 + slot);
  if (mode == drvcore::kDiseqc10) return static_cast<ULONG>(3 + slot);
  return 0;
}

// The slot a DiSEqC code read back from the tuner names under `mode`; -1 none.
int SlotOfCode(drvcore::u32 mode, ULONG code) {
  if (mode == drvcore::kDiseqcNone) return 0;
  if (mode == drvcore::kDiseqcToneBurst) return code == 1 || code == 2 ? static_cast<int>(code) - 1 : -1;
  if (mode == drvcore::kDiseqc10) return code >= 3 && code <= 6 ? static_cast<int>(code) - 3 : -1;
  return -1;
}

}  // namespace

HRESULT CGraphDriver::ApplyAndCheck() {
  orb::com::ComPtr<IQuarnMPEG2TunerCtrl2> tuner = graph_.Tuner();
  HRESULT hr = tuner->ApplyTuning();
  if (FAILED(hr)) {
    graph_.Fail(hr, "Apply tuning");
    return E_FAIL;
  }
  hr = tuner->CheckLock();
  if (FAILED(hr)) {
    DriverLog().Log(2, "no lock, hr=%#lX", static_cast<unsigned long>(hr));
    return E_FAIL;
  }
  return S_OK;
}

HRESULT CGraphDriver::SetSatellite(DWORD caller, LPCWSTR satelliteName, SATDELIVERYDESC* desc) {
  const std::wstring name = satelliteName ? satelliteName : L"";
  DriverLog().Log(4, "SetSatellite(%#lx,%ls,SATDELIVERYDESC*)", caller, name.c_str());
  if (!desc) return E_POINTER;
  orb::com::ComPtr<IQuarnMPEG2TunerCtrl2> tuner = graph_.Tuner();
  if (!ready_ || !tuner || DeliveryType() != DELIVERY_SATELLITE) return E_FAIL;

  const std::string narrow = drvtext::Narrow(name);
  const std::optional<drvcore::SlotChoice> chosen =
      ChooseSatelliteSlot(settings_, name, satListManager_.Get(), currentSatellite_);
  if (!chosen) return E_FAIL;
  const drvcore::SlotChoice& choice = *chosen;

  // The LNB values: the first slot that carries the satellite's name.
  const drvcore::LnbSlot* lnb = nullptr;
  for (const drvcore::LnbSlot& s : settings_.slots) {
    if (!s.satellite.empty() && s.satellite == narrow) {
      lnb = &s;
      break;
    }
  }
  if (!lnb) {
    DriverLog().Log(1, "no LNB settings for satellite %s", narrow.c_str());
    return E_FAIL;
  }

  const ULONG f = desc->frequency * 10;  // kHz
  const bool high = f >= lnb->switchFreq;
  const ULONG lof = (high ? lnb->lof2 : lnb->lof1) / 1000;
  const ULONG sr = desc->symbol_rate / 10;
  const ULONG fec = desc->fec_inner >= 1 && desc->fec_inner <= 5 ? desc->fec_inner : kFecAuto;
  const ULONG polarity = desc->polarization == 1 || desc->polarization == 3 ? 1
                         : desc->polarization == 0 || desc->polarization == 2 ? 0
                                                                              : 10;
  const ULONG diseqc = DiseqcCode(settings_.disqmode, choice.slot);
  DriverLog().Log(4, "lof/1000=%lu f22=%lu freq=%lu sr=%lu fec=%lu pol=%lu diseqc=%lu", lof,
                  static_cast<unsigned long>(high), f, sr, fec, polarity, diseqc);
  struct Step {
    HRESULT (STDMETHODCALLTYPE IQuarnMPEG2TunerCtrl2::*set)(ULONG);
    ULONG value;
    const char* text;
  };
  const Step steps[] = {
      {&IQuarnMPEG2TunerCtrl2::SetLnbFrequency, lof, "Set LNB frequency"},
      {&IQuarnMPEG2TunerCtrl2::SetTone, high ? 1ul : 0ul, "Set 22 kHz tone"},
      {&IQuarnMPEG2TunerCtrl2::SetFrequency, f, "Set frequency"},
      {&IQuarnMPEG2TunerCtrl2::SetSymbolRate, sr, "Set symbol rate"},
      {&IQuarnMPEG2TunerCtrl2::SetFec, fec, "Set FEC"},
      {&IQuarnMPEG2TunerCtrl2::SetPolarity, polarity, "Set polarity"},
      {&IQuarnMPEG2TunerCtrl2::SetDiseqc, diseqc, "Set DiSEqC"},
  };
  for (const Step& s : steps) {
    const HRESULT hr = (tuner->*s.set)(s.value);
    if (FAILED(hr)) {
      graph_.Fail(hr, s.text);
      return E_FAIL;
    }
  }
  settings_.frequency = f;
  const HRESULT hr = ApplyAndCheck();
  if (SUCCEEDED(hr)) currentSatellite_ = name;
  return hr;
}

HRESULT CGraphDriver::TuneCable(DWORD, CABLEDELIVERYDESC* desc) {
  if (!desc) return E_POINTER;
  orb::com::ComPtr<IQuarnMPEG2TunerCtrl2> tuner = graph_.Tuner();
  if (!ready_ || !tuner || DeliveryType() != DELIVERY_CABLE) return E_FAIL;
  ULONG modulation = 5;
  switch (desc->modulation) {
    case 1: modulation = 3; break;
    case 2: modulation = 4; break;
    case 4: modulation = 6; break;
    case 5: modulation = 7; break;
    default: modulation = 5; break;
  }
  const ULONG f = desc->frequency / 10;
  const ULONG sr = desc->symbol_rate / 10;
  DriverLog().Log(4, "cable freq=%lu sr=%lu modulation=%lu", f, sr, modulation);
  HRESULT hr = tuner->SetFrequency(f);
  if (SUCCEEDED(hr)) hr = tuner->SetSymbolRate(sr);
  if (SUCCEEDED(hr)) hr = tuner->SetModulation(modulation);
  if (FAILED(hr)) {
    graph_.Fail(hr, "Set cable channel");
    return E_FAIL;
  }
  return ApplyAndCheck();
}

HRESULT CGraphDriver::TuneTerrestrial(DWORD, TERRDELIVERYDESC* desc) {
  if (!desc) return E_POINTER;
  orb::com::ComPtr<IQuarnMPEG2TunerCtrl2> tuner = graph_.Tuner();
  if (!ready_ || !tuner || DeliveryType() != DELIVERY_TERRESTRIAL) return E_FAIL;
  const ULONG f = desc->centre_frequency / 100;
  const ULONG guard = desc->guard_interval <= 3 ? desc->guard_interval : kGuardAuto;
  DriverLog().Log(4, "terrestrial freq=%lu guard=%lu", f, guard);
  HRESULT hr = tuner->SetFrequency(f);
  if (SUCCEEDED(hr)) hr = tuner->SetGuardInterval(guard);
  if (FAILED(hr)) {
    graph_.Fail(hr, "Set terrestrial channel");
    return E_FAIL;
  }
  return ApplyAndCheck();
}

HRESULT CGraphDriver::GetSatChannel(BSTR* satelliteName, SATDELIVERYDESC* desc) {
  if (!satelliteName || !desc) return E_POINTER;
  *satelliteName = nullptr;
  orb::com::ComPtr<IQuarnMPEG2TunerCtrl2> tuner = graph_.Tuner();
  if (!ready_ || !tuner || DeliveryType() != DELIVERY_SATELLITE || !Locked()) return E_FAIL;
  double mhz = 0;
  ULONG sr = 0, polarity = 0, fec = 0, diseqc = 0;
  HRESULT hr = tuner->GetFrequency(&mhz);
  if (SUCCEEDED(hr)) hr = tuner->GetSymbolRate(&sr);
  if (SUCCEEDED(hr)) hr = tuner->GetPolarity(&polarity);
  if (SUCCEEDED(hr)) hr = tuner->GetFec(&fec);
  if (SUCCEEDED(hr)) hr = tuner->GetDiseqc(&diseqc);
  if (FAILED(hr)) {
    graph_.Fail(hr, "Get satellite channel");
    return E_FAIL;
  }
  std::memset(desc, 0, sizeof *desc);
  desc->frequency = static_cast<uint32_t>(std::lround(mhz * 100));
  desc->symbol_rate = sr * 10;
  desc->polarization = polarity ? 1 : 0;
  desc->fec_inner = static_cast<uint8_t>(fec >= 1 && fec <= 5 ? fec : 0);
  const int slot = SlotOfCode(settings_.disqmode, diseqc);
  const std::string name = slot >= 0 ? settings_.slots[static_cast<size_t>(slot)].satellite : std::string();
  const std::wstring wide = drvtext::Wide(name);
  *satelliteName = SysAllocString(wide.c_str());
  if (!*satelliteName) return E_OUTOFMEMORY;
  currentSatellite_ = wide;
  return S_OK;
}

HRESULT CGraphDriver::GetCableChannel(CABLEDELIVERYDESC* desc) {
  if (!desc) return E_POINTER;
  orb::com::ComPtr<IQuarnMPEG2TunerCtrl2> tuner = graph_.Tuner();
  if (!ready_ || !tuner || DeliveryType() != DELIVERY_CABLE || !Locked()) return E_FAIL;
  double mhz = 0;
  ULONG sr = 0, modulation = 0;
  HRESULT hr = tuner->GetFrequency(&mhz);
  if (SUCCEEDED(hr)) hr = tuner->GetSymbolRate(&sr);
  if (SUCCEEDED(hr)) hr = tuner->GetModulation(&modulation);
  if (FAILED(hr)) {
    graph_.Fail(hr, "Get cable channel");
    return E_FAIL;
  }
  std::memset(desc, 0, sizeof *desc);
  desc->frequency = static_cast<uint32_t>(std::lround(mhz * 10000));
  desc->symbol_rate = sr * 10;
  desc->modulation = static_cast<uint8_t>(modulation >= 3 && modulation <= 7 ? modulation - 2 : 0);
  return S_OK;
}

HRESULT CGraphDriver::GetTerrestrialChannel(TERRDELIVERYDESC* desc) {
  if (!desc) return E_POINTER;
  orb::com::ComPtr<IQuarnMPEG2TunerCtrl2> tuner = graph_.Tuner();
  if (!ready_ || !tuner || DeliveryType() != DELIVERY_TERRESTRIAL || !Locked()) return E_FAIL;
  double mhz = 0;
  ULONG guard = 0;
  HRESULT hr = tuner->GetFrequency(&mhz);
  if (SUCCEEDED(hr)) hr = tuner->GetGuardInterval(&guard);
  if (FAILED(hr)) {
    graph_.Fail(hr, "Get terrestrial channel");
    return E_FAIL;
  }
  std::memset(desc, 0, sizeof *desc);
  desc->centre_frequency = static_cast<uint32_t>(std::lround(mhz * 100000));
  desc->bandwidth = 7;  // the tuner does not tell
  desc->guard_interval = static_cast<uint8_t>(guard >= 1 && guard <= 3 ? guard : 0);
  return S_OK;
}
