#pragma once
// CGraphDriver: the Quarn plug-in's COM class.  It implements the six
// contract interfaces itself, over the plug-in's one source graph
// (CSourceGraph) and the section acquirer (CSectionAcquirer).  Settings live
// in the class key itself (QuarnSettings.h); the tuner capabilities come
// from the source filter at Init.
// The framework's headers first: the system's DirectShow headers define
// window macros that they would otherwise meet.
#include "drvcommon/ModuleState.h"

#include <windows.h>

#include <string>

#include "QuarnTuningDlg.h"
#include "SectionAcquirer.h"
#include "SourceGraph.h"
#include "contract/driver_contract.h"
#include "drvcommon/Settings.h"
#include "orb_atl/com_object.h"
#include "quarn.h"
#include "quarnctrl.h"

class CGraphDriver final
    : public orb::com::ComClass<CGraphDriver, Iquarndev, IDvbDriver, IDriverControl, IDriverDialogs,
                                IDriverStatus, ISectionReader, ISetTuner> {
 public:
  CGraphDriver();
  ~CGraphDriver() override;

  // IDvbDriver
  STDMETHODIMP GetDriverName(BSTR* name) override;
  // IDriverControl
  STDMETHODIMP Init(BSTR registryRoot, BSTR allUsersDataDir, BSTR userDataDir) override;
  STDMETHODIMP SaveSettings() override;
  STDMETHODIMP GetDeliveryType(short* type) override;
  STDMETHODIMP SetSatListMgr(ISatListManager* mgr) override;
  // IDriverDialogs
  STDMETHODIMP ShowTuningDialog(HWND parent) override;
  STDMETHODIMP ShowConfiguration(HWND parent) override;
  STDMETHODIMP ShowStreaming(HWND parent) override;
  // IDriverStatus
  STDMETHODIMP GetLockState(BOOL* locked) override;
  STDMETHODIMP Reserved1(DWORD) override { return E_FAIL; }
  STDMETHODIMP Reserved2(DWORD) override { return E_FAIL; }
  STDMETHODIMP GetSignalText(BSTR* text) override;
  // ISectionReader
  STDMETHODIMP Reserved1(DWORD, DWORD, DWORD, DWORD) override { return E_FAIL; }
  STDMETHODIMP GetSections(long count, SectionFilterSpec* specs, long timeoutSeconds,
                           SectionResult* results) override;
  STDMETHODIMP Reserved2(DWORD, DWORD, DWORD, DWORD) override { return E_FAIL; }
  STDMETHODIMP CancelSections() override;
  // ISetTuner
  STDMETHODIMP SetSatellite(DWORD caller, LPCWSTR satelliteName, SATDELIVERYDESC* desc) override;
  STDMETHODIMP TuneCable(DWORD caller, CABLEDELIVERYDESC* desc) override;
  STDMETHODIMP TuneTerrestrial(DWORD caller, TERRDELIVERYDESC* desc) override;
  STDMETHODIMP GetSatChannel(BSTR* satelliteName, SATDELIVERYDESC* desc) override;
  STDMETHODIMP GetCableChannel(CABLEDELIVERYDESC* desc) override;
  STDMETHODIMP GetTerrestrialChannel(TERRDELIVERYDESC* desc) override;

  // For the dialogs and pages.
  CSettings& Settings() { return settings_; }
  CSourceGraph& Graph() { return graph_; }
  const QuarnTunerCaps& Caps() const { return caps_; }
  short DeliveryType() const;
  // The "Info" page's text: the tuner's capabilities.
  std::string CapabilityText() const;
  // Writes the settings into the class key; false on failure.
  bool StoreSettings();
  const std::wstring& CurrentSatellite() const { return currentSatellite_; }

 private:
  // Applies the values set and answers S_OK when the tuner then locks.
  HRESULT ApplyAndCheck();
  bool Locked();

  CSourceGraph graph_;
  CSectionAcquirer acquirer_{graph_};
  CSettings settings_;
  QuarnTunerCaps caps_{};
  quarn::TunerReadBack readBack_;
  bool ready_ = false;
  std::string classKey_;
  std::wstring allUsersDir_;
  std::wstring userDir_;
  std::wstring currentSatellite_;
  orb::com::ComPtr<ISatListManager> satListManager_;
};
