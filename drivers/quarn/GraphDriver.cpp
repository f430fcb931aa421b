// CGraphDriver: start-up, settings and the small contract methods.
#include "GraphDriver.h"

#include "QuarnSettings.h"
#include "drvcommon/DriverLog.h"
#include "drvcommon/Text.h"
#include "orb_atl/module.h"
#include "orb_common/RegistryKey.h"

namespace {

const wchar_t kDriverName[] = L"QUARN,Quarn Sat2,Quarn SatPC,Quarn CablePC,Quarn AirPC";
const char kClassKeyName[] = "{6DD38335-5AA5-4105-84FD-EFDCCE40A41A}";

}  // namespace

CGraphDriver::CGraphDriver() = default;

CGraphDriver::~CGraphDriver() {
  graph_.TearDown();
  satListManager_ = nullptr;
  settings_.satListManager = nullptr;
}

HRESULT CGraphDriver::GetDriverName(BSTR* name) {
  if (!name) return E_POINTER;
  *name = SysAllocString(kDriverName);
  return *name ? S_OK : E_OUTOFMEMORY;
}

HRESULT CGraphDriver::Init(BSTR registryRoot, BSTR allUsersDataDir, BSTR userDataDir) {
  ready_ = false;
  classKey_ = drvcore::ClassKeyPath(drvtext::Narrow(registryRoot), kClassKeyName);
  allUsersDir_ = drvtext::Wide(allUsersDataDir);
  userDir_ = drvtext::Wide(userDataDir);

  char path[MAX_PATH] = {};
  if (GetModuleFileNameA(orb::com::ThisModule(), path, MAX_PATH) > 0 && !DriverLog().IsOpen()) {
    const std::string logPath = drvtext::ReplaceExtension(path, "txt");
    DriverLog().Open(logPath.c_str(), CLog::kFullPath | CLog::kDebugger, 15, 0);
  }
  // The log level is known only from the settings; failures of the build
  // are written at the level stored there, read first.
  {
    CRegistryKey key;
    key.Open(HKEY_LOCAL_MACHINE, classKey_.c_str());
    quarn::LoadSettings(settings_, key);
    DriverLog().SetLevel(static_cast<long>(settings_.loglevel));
  }

  graph_.TearDown();
  graph_.Build();
  if (!graph_.Tuner()) {
    DriverLog().Log(1, "no tuner control: %s, hr=%#lX", graph_.LastErrorText().c_str(),
                    static_cast<unsigned long>(graph_.LastError()));
    return E_FAIL;
  }
  caps_ = QuarnTunerCaps{};
  const HRESULT hr = graph_.Tuner()->GetTunerCapabilities(&caps_);
  if (FAILED(hr)) {
    graph_.Fail(hr, "Get Tuner Capabilities");
    return hr;
  }
  settings_.frontendType = static_cast<drvcore::u32>(DeliveryType());
  settings_.satListManager = satListManager_;
  DriverLog().Log(3, "starting QUARN driver");
  ready_ = true;
  return S_OK;
}

HRESULT CGraphDriver::SaveSettings() {
  if (ready_) StoreSettings();
  graph_.TearDown();
  ready_ = false;
  return S_OK;
}

short CGraphDriver::DeliveryType() const {
  switch (caps_.tunerType) {
    case QUARN_TUNER_SATELLITE:
      return DELIVERY_SATELLITE;
    case QUARN_TUNER_CABLE:
      return DELIVERY_CABLE;
    case QUARN_TUNER_TERRESTRIAL:
      return DELIVERY_TERRESTRIAL;
    default:
      return DELIVERY_UNKNOWN;
  }
}

HRESULT CGraphDriver::GetDeliveryType(short* type) {
  if (!type) return E_POINTER;
  *type = ready_ ? DeliveryType() : static_cast<short>(DELIVERY_UNKNOWN);
  return S_OK;
}

HRESULT CGraphDriver::SetSatListMgr(ISatListManager* mgr) {
  DriverLog().Log(4, "SetSatListMgr(%#llX)", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(mgr)));
  if (!mgr) return E_POINTER;
  satListManager_ = mgr;
  settings_.satListManager = mgr;
  return S_OK;
}



bool CGraphDriver::Locked() {
  orb::com::ComPtr<IQuarnMPEG2TunerCtrl2> tuner = graph_.Tuner();
  return tuner && SUCCEEDED(tuner->CheckLock());
}

HRESULT CGraphDriver::GetLockState(BOOL* locked) {
  if (!locked) return E_POINTER;
  if (!graph_.Tuner()) return E_FAIL;
  *locked = Locked() ? TRUE : FALSE;
  return S_OK;
}

HRESULT CGraphDriver::GetSignalText(BSTR* text) {
  if (!text) return E_POINTER;
  if (!graph_.Tuner()) return E_FAIL;
  *text = SysAllocString(Locked() ? L"Signal locked" : L"Signal NOT locked");
  return *text ? S_OK : E_OUTOFMEMORY;
}

HRESULT CGraphDriver::GetSections(long count, SectionFilterSpec* specs, long timeoutSeconds,
                                  SectionResult* results) {
  return acquirer_.GetSections(count, specs, timeoutSeconds, results);
}

HRESULT CGraphDriver::CancelSections() { return acquirer_.CancelSections(); }
