// CDeviceDriver: construction, Init for the three card families, the
// settings in the registry, and the small contract methods (name, delivery
// type, satellite list manager, lock state, signal text, dialogs).
#include "drvcommon/DeviceDriver.h"

#include "drvcommon/DriverLog.h"
#include "drvcommon/DriverUi.h"
#include "drvcommon/SectionFilter.h"
#include "drvcommon/Text.h"
#include "orb_atl/bstr.h"
#include "orb_atl/module.h"
#include "orb_common/RegistryKey.h"

CDeviceDriver::CDeviceDriver(const DriverFamily& family) : family_(family) {
  ::InitializeCriticalSection(&pendingLock_);
  pending_.reserve(drvcore::kBatchSize);
}

CDeviceDriver::~CDeviceDriver() {
  satListManager_ = nullptr;
  settings_.satListManager = nullptr;
  ::DeleteCriticalSection(&pendingLock_);
}

HRESULT CDeviceDriver::GetDriverName(BSTR* name) {
  if (!name) return E_POINTER;
  BSTR s = ::SysAllocString(family_.driverName);
  if (!s) return E_OUTOFMEMORY;
  *name = s;
  return S_OK;
}

HRESULT CDeviceDriver::Init(BSTR registryRoot, BSTR allUsersDataDir, BSTR userDataDir) {
  ready_ = false;
  // 1. Keys and folders.
  classKey_ = drvcore::ClassKeyPath(drvtext::Narrow(registryRoot),
                                    drvtext::Narrow(orb::com::GuidToString(*family_.clsid)));
  deviceKey_ = classKey_;
  allUsersDir_ = drvtext::Wide(allUsersDataDir);
  userDir_ = drvtext::Wide(userDataDir);
  // 2. The plug-in's folder.
  pluginDir_ = GetModuleDir();
  // 3. The access library.
  const int initResult = InitDvbApiDll();
  CDVBCommon::GetNumberOfDevices();
  // 4. The card and its settings.
  WORD index = static_cast<WORD>(drvcore::kNoDevice);
  SelectDevice(index);
  LoadSettings();
  // 5. The log, at the level of the settings.
  char path[MAX_PATH] = {};
  if (::GetModuleFileNameA(orb::com::ThisModule(), path, MAX_PATH) > 0) {
    std::string logPath = drvtext::ReplaceExtension(path, "txt");
    DriverLog().Open(logPath.c_str(), CLog::kFullPath | CLog::kDebugger, 15, 0);
  }
  DriverLog().SetLevel(static_cast<long>(settings_.loglevel));
  DriverLog().Log(3, "starting TT driver");
  if (initResult != 0) DriverLog().Log(1, "InitDvbApiDll failed: %d", initResult);
  DriverLog().Log(3, "device %u, settings key %s", index, deviceKey_.c_str());
  // 6. The card.
  if (!CDVBCommon::OpenDevice(index, nullptr, 0)) {
    ShowMessage("CDVBCommon::OpenDevice not successful.");
    return E_FAIL;
  }
  // 7., 8. The family's start-up; the delivery type.
  if (!StartCard()) return E_FAIL;
  ready_ = true;
  return S_OK;
}

bool CDeviceDriver::StartCard() {
  auto initFrontend = [this] {
    if (frontend_.Init() != 0) {
      ShowMessage("Frontend.Init not successful.");
      return false;
    }
    deliveryType_ = static_cast<DWORD>(frontend_.GetType());
    settings_.frontendType = deliveryType_;
    return true;
  };
  switch (family_.kind) {
    case DriverFamily::Premium: {
      const std::string boot = pluginDir_ + "\\Boot\\new\\";
      DriverLog().Log(1, "ARM boot files: %s", boot.c_str());
      if (board_.BootARMnew(boot.c_str()) != 0) {
        ShowMessage("BoardControl.BootARMnew(new) not successful.");
        return false;
      }
      BE_VERSION version{};
      if (board_.GetBEVersion(version) != 0) {
        ShowMessage("Could not get BE-Version!");
        return false;
      }
      DriverLog().Log(3, "firmware %#lx, RTSL %#lx, video decoder %#lx", version.Firmware,
                      version.RTSL, version.VideoDecoder);
      if (!initFrontend()) return false;
      if (board_.EnableDataDMA(1) != 0) {
        ShowMessage("BoardControl.EnableDataDMA not successful.");
        return false;
      }
      return true;
    }
    case DriverFamily::Budget:
      if (board_.ResetInit() != 0) DriverLog().Log(1, "BoardControl.ResetInit not successful.");
      ::Sleep(100);
      if (!initFrontend()) return false;
      if (board_.EnableDataDMA(1) != 0) {
        ShowMessage("BoardControl.EnableDataDMA not successful.");
        return false;
      }
      return true;
    case DriverFamily::Usb: {
      if (board_.ResetInit() != 0) DriverLog().Log(1, "BoardControl.ResetInit not successful.");
      ::Sleep(100);
      if (!initFrontend()) return false;
      const std::string dsp = pluginDir_ + "\\Boot\\dsp_usb.bin";
      DriverLog().Log(1, "DSP boot files: %s", dsp.c_str());
      if (board_.BootDSP(dsp.c_str()) != 0) ShowMessage("BoardControl.BootDSP not successful.");
      ::Sleep(100);
      BANDWIDTH bandwidth = ISO_BANDWIDTH_FULL;
      if (board_.EnableIsoStream(bandwidth, 1, 8) != 0)
        ShowMessage("BoardControl.EnableIsoStream not successful.");
      return true;
    }
  }
  return false;
}

void CDeviceDriver::SelectDevice(WORD& index) {
  index = static_cast<WORD>(drvcore::kNoDevice);
  CRegistryKey key;
  const bool opened = key.Create(HKEY_LOCAL_MACHINE, classKey_.c_str()) != FALSE;
  DWORD stored = 0;
  const bool hasStored = opened && key.QueryDWORD(drvcore::kDeviceValue, stored);
  const int devices = CDVBCommon::GetNumberOfDevices();
  if (std::optional<drvcore::u32> usable = drvcore::UsableStoredDevice(hasStored, stored, devices)) {
    index = static_cast<WORD>(*usable);
  } else {
    if (hasStored)
      DriverLog().Log(2, "stored device %lu is not present (%d devices)", stored, devices);
    ChooseDevice(index);
  }
  deviceKey_ = drvcore::DeviceKeyPath(classKey_, index);
  if (opened) key.SetDWORD(drvcore::kDeviceValue, index);
}

void CDeviceDriver::ChooseDevice(WORD& index) {
  const int devices = CDVBCommon::GetNumberOfDevices();
  if (std::optional<drvcore::u32> automatic = drvcore::AutomaticDeviceChoice(devices)) {
    index = static_cast<WORD>(*automatic);
    return;
  }
  CSelectDeviceDlg dialog(family_, devices);
  dialog.DoModal();
  index = dialog.GetSelectedDevice();
}

void CDeviceDriver::LoadSettings() {
  CRegistryKey key;
  key.Open(HKEY_LOCAL_MACHINE, deviceKey_.c_str());
  settings_.Load(key, &frontend_);
  settings_.satListManager = satListManager_;
}

void CDeviceDriver::WriteSettings() {
  CRegistryKey key;
  if (!key.Create(HKEY_LOCAL_MACHINE, deviceKey_.c_str())) {
    DriverLog().Log(1, "failed to create settings key %s", deviceKey_.c_str());
    return;
  }
  if (!settings_.Write(key)) DriverLog().Log(1, "failed to write settings");
  key.Close();
}

bool CDeviceDriver::StoreSettings() {
  if (!ready_) return false;
  CRegistryKey key;
  if (!key.Create(HKEY_LOCAL_MACHINE, deviceKey_.c_str())) {
    DriverLog().Log(1, "failed to create settings key %s", deviceKey_.c_str());
    return false;
  }
  const bool ok = settings_.Write(key);
  if (!ok) DriverLog().Log(1, "failed to write settings");
  key.Close();
  return ok;
}

std::string CDeviceDriver::GetModuleDir() const {
  char path[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameA(orb::com::ThisModule(), path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  std::string dir(path, n);
  const size_t slash = dir.find_last_of('\\');
  if (slash != std::string::npos) dir.resize(slash);
  return dir;
}

void CDeviceDriver::ShowMessage(const char* text) const {
  DriverLog().Log(1, "%s", text);
  DriverMessageBox(text, MB_OK);
}

HRESULT CDeviceDriver::SaveSettings() {
  // Only a driver whose Init went through has a card and a settings key.
  if (ready_) WriteSettings();
  return S_OK;
}

HRESULT CDeviceDriver::GetDeliveryType(short* type) {
  if (!type) return E_POINTER;
  switch (deliveryType_) {
    case DELIVERY_SATELLITE:
    case DELIVERY_CABLE:
    case DELIVERY_TERRESTRIAL:
      *type = static_cast<short>(deliveryType_);
      break;
    default:
      *type = DELIVERY_UNKNOWN;
      break;
  }
  return S_OK;
}

HRESULT CDeviceDriver::SetSatListMgr(ISatListManager* mgr) {
  if (!mgr) return E_POINTER;
  satListManager_ = mgr;
  settings_.satListManager = mgr;
  return S_OK;
}

HRESULT CDeviceDriver::GetLockState(BOOL* locked) {
  if (!locked) return E_POINTER;
  if (!ready_) return E_FAIL;
  BOOL lock = FALSE;
  if (frontend_.GetState(lock, nullptr, nullptr) != 0) return E_FAIL;
  *locked = lock ? TRUE : FALSE;
  return S_OK;
}

HRESULT CDeviceDriver::StatusReserved1(DWORD) { return E_FAIL; }
HRESULT CDeviceDriver::StatusReserved2(DWORD) { return E_FAIL; }

HRESULT CDeviceDriver::GetSignalText(BSTR* text) {
  if (!text) return E_POINTER;
  if (!ready_) return E_FAIL;
  BOOL lock = FALSE;
  if (frontend_.GetState(lock, nullptr, nullptr) != 0) return E_FAIL;
  BSTR s = ::SysAllocString(lock ? L"SIGNAL LOCKED" : L"NO SIGNAL");
  if (!s) return E_OUTOFMEMORY;
  *text = s;
  return S_OK;
}

HRESULT CDeviceDriver::SectionReserved(DWORD, DWORD, DWORD, DWORD) { return E_FAIL; }
