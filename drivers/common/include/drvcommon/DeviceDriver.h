#pragma once
// CDeviceDriver: the object behind the COM class of a vendor-library
// plug-in.  It holds the card's board and front end objects, the settings
// and the driver state, and carries out every method of the driver
// contract: start-up and settings (DeviceDriver.cpp), section acquisition
// (SectionReader.cpp) and tuning (Tuning.cpp).
//
// Created with its COM object and destroyed with it; Init brings it to the
// ready state.  A failed Init leaves it usable for GetDriverName and release
// only; the other methods then answer E_FAIL.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "contract/driver_contract.h"
#include "drvcommon/DriverFamily.h"
#include "drvcommon/Settings.h"
#include "dvbacc/dvbacc.h"

class CSectionFilter;

class CDeviceDriver {
 public:
  explicit CDeviceDriver(const DriverFamily& family);
  virtual ~CDeviceDriver();
  CDeviceDriver(const CDeviceDriver&) = delete;
  CDeviceDriver& operator=(const CDeviceDriver&) = delete;

  // IDvbDriver
  virtual HRESULT GetDriverName(BSTR* name);
  // IDriverControl
  virtual HRESULT Init(BSTR registryRoot, BSTR allUsersDataDir, BSTR userDataDir);
  virtual HRESULT SaveSettings();
  virtual HRESULT GetDeliveryType(short* type);
  virtual HRESULT SetSatListMgr(ISatListManager* mgr);
  // IDriverDialogs
  virtual HRESULT ShowTuningDialog(HWND parent);
  virtual HRESULT ShowConfiguration(HWND parent);
  virtual HRESULT ShowStreaming(HWND parent);
  // IDriverStatus
  virtual HRESULT GetLockState(BOOL* locked);
  virtual HRESULT StatusReserved1(DWORD);
  virtual HRESULT StatusReserved2(DWORD);
  virtual HRESULT GetSignalText(BSTR* text);
  // ISectionReader (both reserved slots share SectionReserved)
  virtual HRESULT SectionReserved(DWORD, DWORD, DWORD, DWORD);
  virtual HRESULT GetSections(long count, SectionFilterSpec* specs, long timeoutSeconds,
                              SectionResult* results);
  virtual HRESULT CancelSections();
  // ISetTuner
  virtual HRESULT SetSatellite(DWORD caller, LPCWSTR satelliteName, SATDELIVERYDESC* desc);
  virtual HRESULT TuneCable(DWORD caller, CABLEDELIVERYDESC* desc);
  virtual HRESULT TuneTerrestrial(DWORD caller, TERRDELIVERYDESC* desc);
  virtual HRESULT GetSatChannel(BSTR* satelliteName, SATDELIVERYDESC* desc);
  virtual HRESULT GetCableChannel(CABLEDELIVERYDESC* desc);
  virtual HRESULT GetTerrestrialChannel(TERRDELIVERYDESC* desc);
  // Runs at most 32 requests on hardware filters and waits for them.
  virtual HRESULT ReadSectionBatch(long n, SectionFilterSpec* specs, long timeoutSeconds,
                                   SectionResult* results);

  // For the dialogs.
  CSettings& Settings() { return settings_; }
  CDVBFrontend& Frontend() { return frontend_; }
  CDVBBoardControl& Board() { return board_; }
  const DriverFamily& Family() const { return family_; }
  bool Ready() const { return ready_; }
  const std::string& ClassKey() const { return classKey_; }
  const std::string& DeviceKey() const { return deviceKey_; }
  const std::string& PluginDir() const { return pluginDir_; }
  // The satellite the front end was last tuned to through a slot (the name
  // SetSatellite compares against).
  std::wstring& CurrentSatellite() { return currentSatellite_; }
  // Writes the settings into the device key now (dialogs after OK/Apply);
  // false when that failed or the driver is not ready.
  bool StoreSettings();

 protected:
  // Chooses the card (stored index, else ChooseDevice), sets the device key
  // and writes "device" back to the class key.
  void SelectDevice(WORD& index);
  // Without a stored index: no card 0xFFFF, one card 0, else the user picks.
  void ChooseDevice(WORD& index);
  void LoadSettings();
  void WriteSettings();
  // The plug-in's own folder (its file's path without the last "\" part).
  std::string GetModuleDir() const;
  // The family's start-up after OpenDevice; false (after its message) on a failed step.
  bool StartCard();
  // Shows a message box of the plug-in (text as given, OK button).
  void ShowMessage(const char* text) const;

 private:
  // Under pendingLock_: the filters of the batch in progress and the cancel
  // request of the GetSections call in progress.
  CRITICAL_SECTION pendingLock_;
  std::vector<CSectionFilter*> pending_;
  bool cancelled_ = false;

  const DriverFamily& family_;
  CDVBBoardControl board_;
  CDVBFrontend frontend_;
  DWORD deliveryType_ = 0;
  std::string classKey_;
  std::string deviceKey_;
  std::wstring allUsersDir_;
  std::wstring userDir_;
  std::string pluginDir_;
  CSettings settings_;
  std::wstring currentSatellite_;
  orb::com::ComPtr<ISatListManager> satListManager_;
  bool ready_ = false;
};
