#pragma once
// CDriverObject: the COM class of a vendor-library plug-in.  It answers its
// own interface first, then the six contract interfaces (and any further
// interfaces the plug-in lists), owns one CDeviceDriver, created with the
// object and destroyed with it, and forwards each of the 22 contract methods
// to the driver's method of the same name inside the plug-in's module
// state, returning its result unchanged.
//
//   struct CorvaneTraits {
//     static const DriverFamily& Family();
//   };
//   using CCorvan = CDriverObject<CorvaneTraits, Icorvan, ISupportErrorInfo>;
#include <memory>
#include <new>

#include "contract/driver_contract.h"
#include "drvcommon/DeviceDriver.h"
#include "drvcommon/ModuleState.h"
#include "orb_atl/com_object.h"

template <class Traits, class Own, class... Extra>
class CDriverObject final
    : public orb::com::ComClass<CDriverObject<Traits, Own, Extra...>, Own, IDvbDriver,
                                IDriverControl, IDriverDialogs, IDriverStatus, ISectionReader,
                                ISetTuner, Extra...> {
 public:
  HRESULT FinalConstruct() {
    DRIVER_MODULE_STATE();
    try {
      driver_ = std::make_unique<CDeviceDriver>(Traits::Family());
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
    return S_OK;
  }

  // ISupportErrorInfo, for the plug-ins that list it: errors are described
  // for the own interface only.
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) {
    return IsEqualIID(riid, __uuidof(Own)) ? S_OK : S_FALSE;
  }

  // IDvbDriver
  STDMETHODIMP GetDriverName(BSTR* name) override {
    DRIVER_MODULE_STATE();
    return driver_->GetDriverName(name);
  }
  // IDriverControl
  STDMETHODIMP Init(BSTR registryRoot, BSTR allUsersDataDir, BSTR userDataDir) override {
    DRIVER_MODULE_STATE();
    return driver_->Init(registryRoot, allUsersDataDir, userDataDir);
  }
  STDMETHODIMP SaveSettings() override {
    DRIVER_MODULE_STATE();
    return driver_->SaveSettings();
  }
  STDMETHODIMP GetDeliveryType(short* type) override {
    DRIVER_MODULE_STATE();
    return driver_->GetDeliveryType(type);
  }
  STDMETHODIMP SetSatListMgr(ISatListManager* mgr) override {
    DRIVER_MODULE_STATE();
    return driver_->SetSatListMgr(mgr);
  }
  // IDriverDialogs
  STDMETHODIMP ShowTuningDialog(HWND parent) override {
    DRIVER_MODULE_STATE();
    return driver_->ShowTuningDialog(parent);
  }
  STDMETHODIMP ShowConfiguration(HWND parent) override {
    DRIVER_MODULE_STATE();
    return driver_->ShowConfiguration(parent);
  }
  STDMETHODIMP ShowStreaming(HWND parent) override {
    DRIVER_MODULE_STATE();
    return driver_->ShowStreaming(parent);
  }
  // IDriverStatus
  STDMETHODIMP GetLockState(BOOL* locked) override {
    DRIVER_MODULE_STATE();
    return driver_->GetLockState(locked);
  }
  STDMETHODIMP Reserved1(DWORD a) override {
    DRIVER_MODULE_STATE();
    return driver_->StatusReserved1(a);
  }
  STDMETHODIMP Reserved2(DWORD a) override {
    DRIVER_MODULE_STATE();
    return driver_->StatusReserved2(a);
  }
  STDMETHODIMP GetSignalText(BSTR* text) override {
    DRIVER_MODULE_STATE();
    return driver_->GetSignalText(text);
  }
  // ISectionReader
  STDMETHODIMP Reserved1(DWORD a, DWORD b, DWORD c, DWORD d) override {
    DRIVER_MODULE_STATE();
    return driver_->SectionReserved(a, b, c, d);
  }
  STDMETHODIMP GetSections(long count, SectionFilterSpec* specs, long timeoutSeconds,
                           SectionResult* results) override {
    DRIVER_MODULE_STATE();
    return driver_->GetSections(count, specs, timeoutSeconds, results);
  }
  STDMETHODIMP Reserved2(DWORD a, DWORD b, DWORD c, DWORD d) override {
    DRIVER_MODULE_STATE();
    return driver_->SectionReserved(a, b, c, d);
  }
  STDMETHODIMP CancelSections() override {
    DRIVER_MODULE_STATE();
    return driver_->CancelSections();
  }
  // ISetTuner
  STDMETHODIMP SetSatellite(DWORD caller, LPCWSTR satelliteName, SATDELIVERYDESC* desc) override {
    DRIVER_MODULE_STATE();
    return driver_->SetSatellite(caller, satelliteName, desc);
  }
  STDMETHODIMP TuneCable(DWORD caller, CABLEDELIVERYDESC* desc) override {
    DRIVER_MODULE_STATE();
    return driver_->TuneCable(caller, desc);
  }
  STDMETHODIMP TuneTerrestrial(DWORD caller, TERRDELIVERYDESC* desc) override {
    DRIVER_MODULE_STATE();
    return driver_->TuneTerrestrial(caller, desc);
  }
  STDMETHODIMP GetSatChannel(BSTR* satelliteName, SATDELIVERYDESC* desc) override {
    DRIVER_MODULE_STATE();
    return driver_->GetSatChannel(satelliteName, desc);
  }
  STDMETHODIMP GetCableChannel(CABLEDELIVERYDESC* desc) override {
    DRIVER_MODULE_STATE();
    return driver_->GetCableChannel(desc);
  }
  STDMETHODIMP GetTerrestrialChannel(TERRDELIVERYDESC* desc) override {
    DRIVER_MODULE_STATE();
    return driver_->GetTerrestrialChannel(desc);
  }

 private:
  std::unique_ptr<CDeviceDriver> driver_;
};
