// Tuning on the vendor front end: satellite transponders through the LNB
// slots and DiSEqC modes of the settings, cable and terrestrial channels,
// and the channel the front end is locked on.  A tune succeeds only when
// the front end reports lock right after SetChannel (which returns once the
// demodulator has had time to lock).
#include <cstring>

#include "drvcommon/DeviceDriver.h"
#include "drvcommon/DriverLog.h"
#include "drvcommon/DriverUi.h"
#include "drvcommon/Text.h"

namespace {

bool IsLocked(CDVBFrontend& fe) {
  BOOL locked = FALSE;
  return fe.GetState(locked, nullptr, nullptr) == 0 && locked;
}

}  // namespace

HRESULT CDeviceDriver::SetSatellite(DWORD caller, LPCWSTR satelliteName, SATDELIVERYDESC* desc) {
  const std::wstring name = satelliteName ? satelliteName : L"";
  DriverLog().Log(4, "SetSatellite(%#lx,%ls,SATDELIVERYDESC*)", caller, name.c_str());
  if (!desc) return E_POINTER;
  if (!ready_ || deliveryType_ != DELIVERY_SATELLITE) return E_FAIL;

  // The slot of the satellite.
  const std::optional<drvcore::SlotChoice> chosen =
      ChooseSatelliteSlot(settings_, name, satListManager_.Get(), currentSatellite_);
  if (!chosen) return E_FAIL;
  const drvcore::SlotChoice& choice = *chosen;

  // Frequency window and band.
  const drvcore::LnbSlot& slot = settings_.slots[static_cast<size_t>(choice.slot)];
  const drvcore::SatellitePlan plan =
      drvcore::PlanSatellite(desc->frequency, desc->polarization, desc->symbol_rate, slot);
  settings_.frequency = plan.frequencyKhz;
  if (!plan.valid) {
    DriverLog().Log(1, "invalid frequency");
    return E_FAIL;
  }

  // Switch.
  for (const drvcore::DiseqcSend& send :
       drvcore::DiseqcSequence(settings_.disqmode, choice.slot, plan.vertical, plan.high)) {
    BYTE message[4];
    std::memcpy(message, send.message, sizeof message);
    if (frontend_.SendDiSEqCMsg(message, send.length, send.burst) != 0)
      DriverLog().Log(1, "failed to send DiSEqC message");
    if (send.pauseMs) ::Sleep(send.pauseMs);
  }
  ::Sleep(drvcore::kSwitchSettleMs);

  // Tune.
  CHANNEL_TYPE channel{};
  channel.dwFreq = plan.frequencyKhz;
  channel.Inversion = drvcore::kInversionAuto;
  channel.dwSymbRate = plan.symbolRate;
  channel.dwLOF = plan.lof;
  channel.bF22kHz = plan.tone22kHz;
  channel.LNB_Power = plan.voltage;
  channel.Viterbi = 0;
  DriverLog().Log(4, "dwFreq=%lu Inversion=%d dwSymbRate=%lu dwLOF=%lu bF22kHz=%d LNB_Power=%d Viterbi=%d",
                  channel.dwFreq, static_cast<int>(channel.Inversion), channel.dwSymbRate,
                  channel.dwLOF, static_cast<int>(channel.bF22kHz),
                  static_cast<int>(channel.LNB_Power), static_cast<int>(channel.Viterbi));
  if (frontend_.SetChannel(channel, 0) != 0) {
    DriverLog().Log(1, "failed to set channel");
    return E_FAIL;
  }
  if (!IsLocked(frontend_)) return E_FAIL;
  currentSatellite_ = name;
  return S_OK;
}

HRESULT CDeviceDriver::TuneCable(DWORD, CABLEDELIVERYDESC* desc) {
  if (!desc) return E_POINTER;
  if (!ready_ || deliveryType_ != DELIVERY_CABLE) return E_FAIL;
  CHANNEL_TYPE channel{};
  channel.dwFreq = drvcore::CableFrequencyKhz(desc->frequency);
  channel.Inversion = drvcore::kInversionAuto;
  channel.dwSymbRate = drvcore::SymbolRateFromRecord(desc->symbol_rate);
  channel.Qam = drvcore::QamCodeFromModulation(desc->modulation);
  channel.BandWidth = drvcore::kBandwidthAutoCode;
  DriverLog().Log(4, "dwFreq=%lu Inversion=%d dwSymbRate=%lu Qam=%lu BandWidth=%d", channel.dwFreq,
                  static_cast<int>(channel.Inversion), channel.dwSymbRate, channel.Qam,
                  static_cast<int>(channel.BandWidth));
  if (frontend_.SetChannel(channel, 0) != 0) {
    DriverLog().Log(1, "failed to set channel");
    return E_FAIL;
  }
  return IsLocked(frontend_) ? S_OK : E_FAIL;
}

HRESULT CDeviceDriver::TuneTerrestrial(DWORD, TERRDELIVERYDESC* desc) {
  if (!desc) return E_POINTER;
  if (!ready_ || deliveryType_ != DELIVERY_TERRESTRIAL) return E_FAIL;
  const bool autoBandwidth = (frontend_.GetCapabilities() & FE_CAP_AUTO_BANDWIDTH) != 0;
  DWORD minimum = 0, maximum = 0;
  const bool rangeKnown = !autoBandwidth && frontend_.GetBandwidthRange(minimum, maximum) == 0;
  CHANNEL_TYPE channel{};
  channel.dwFreq = drvcore::TerrestrialFrequencyKhz(desc->centre_frequency);
  channel.Inversion = drvcore::kInversionAuto;
  channel.bScan = 0;
  channel.BandWidth =
      drvcore::TerrestrialBandwidthCode(autoBandwidth, rangeKnown, minimum, maximum, desc->bandwidth);
  DriverLog().Log(4, "dwFreq=%lu Inversion=%d bScan=%lu BandWidth=%d", channel.dwFreq,
                  static_cast<int>(channel.Inversion), channel.bScan,
                  static_cast<int>(channel.BandWidth));
  if (frontend_.SetChannel(channel, 0) != 0) {
    DriverLog().Log(1, "failed to set channel");
    return E_FAIL;
  }
  return IsLocked(frontend_) ? S_OK : E_FAIL;
}

HRESULT CDeviceDriver::GetSatChannel(BSTR* satelliteName, SATDELIVERYDESC* desc) {
  if (!satelliteName || !desc) return E_POINTER;
  if (!ready_ || deliveryType_ != DELIVERY_SATELLITE) return E_FAIL;
  if (!IsLocked(frontend_)) {
    DriverLog().Log(2, "tuner not locked");
    return E_FAIL;
  }
  CHANNEL_TYPE channel{};
  if (frontend_.GetChannel(channel) != 0) return E_FAIL;
  BSTR name = ::SysAllocStringLen(currentSatellite_.data(), static_cast<UINT>(currentSatellite_.size()));
  if (!name) return E_OUTOFMEMORY;
  desc->frequency = drvcore::SatelliteFrequencyToRecord(channel.dwFreq);
  desc->polarization = drvcore::PolarizationFromVoltage(channel.LNB_Power);
  desc->symbol_rate = drvcore::SymbolRateToRecord(channel.dwSymbRate);
  desc->fec_inner = 0;
  *satelliteName = name;
  return S_OK;
}

HRESULT CDeviceDriver::GetCableChannel(CABLEDELIVERYDESC* desc) {
  if (!desc) return E_POINTER;
  if (!ready_ || deliveryType_ != DELIVERY_CABLE) return E_FAIL;
  if (!IsLocked(frontend_)) {
    DriverLog().Log(2, "tuner not locked");
    return E_FAIL;
  }
  CHANNEL_TYPE channel{};
  if (frontend_.GetChannel(channel) != 0) return E_FAIL;
  desc->frequency = drvcore::CableFrequencyToRecord(channel.dwFreq);
  desc->modulation = drvcore::ModulationFromQamCode(channel.Qam);
  desc->symbol_rate = drvcore::SymbolRateToRecord(channel.dwSymbRate);
  desc->fec_inner = 0;  // the whole word at offset 12
  std::memset(desc->reserved2, 0, sizeof desc->reserved2);
  return S_OK;
}

HRESULT CDeviceDriver::GetTerrestrialChannel(TERRDELIVERYDESC* desc) {
  if (!desc) return E_POINTER;
  if (!ready_ || deliveryType_ != DELIVERY_TERRESTRIAL) return E_FAIL;
  if (!IsLocked(frontend_)) {
    DriverLog().Log(2, "tuner not locked");
    return E_FAIL;
  }
  CHANNEL_TYPE channel{};
  if (frontend_.GetChannel(channel) != 0) return E_FAIL;
  desc->centre_frequency = drvcore::TerrestrialFrequencyToRecord(channel.dwFreq);
  desc->bandwidth = drvcore::BandwidthFromCode(channel.BandWidth);
  return S_OK;
}
