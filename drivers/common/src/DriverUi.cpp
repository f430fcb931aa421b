#include "drvcommon/DriverUi.h"

#include <cstdio>

#include "drvcommon/DriverLog.h"
#include "drvcommon/Text.h"
#include "drvcommon/resource.h"
#include "drvcore/settings.h"
#include "orb_atl/module.h"
#include "satlistmgr.h"

namespace {

std::string Caption() {
  char path[MAX_PATH] = {};
  if (::GetModuleFileNameA(orb::com::ThisModule(), path, MAX_PATH) == 0) return "Driver";
  std::string name(path);
  const size_t slash = name.find_last_of('\\');
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name.resize(dot);
  return name;
}

}  // namespace

int DriverMessageBox(const char* text, UINT type) {
  return ::MessageBoxA(nullptr, text ? text : "", Caption().c_str(), type | MB_SETFOREGROUND);
}

int DriverMessageBoxOver(HWND owner, const char* text, UINT type, const char* caption) {
  const std::string title = caption ? std::string(caption) : Caption();
  return ::MessageBoxA(owner, text ? text : "", title.c_str(), type | MB_SETFOREGROUND);
}

std::string DriverString(UINT id) {
  char buffer[1024] = {};
  const int n = ::LoadStringA(orb::com::ThisModule(), id, buffer, static_cast<int>(sizeof buffer));
  return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

std::optional<drvcore::SlotChoice> ChooseSatelliteSlot(const drvcore::Settings& settings, const std::wstring& name,
                                                       ISatListManager* satListManager,
                                                       const std::wstring& currentSatellite) {
  const std::string narrow = drvtext::Narrow(name);
  const drvcore::SlotChoice choice = drvcore::ChooseSlot(settings.disqmode, narrow, settings.slots);
  if (choice.status == drvcore::SlotChoice::BadMode) {
    DriverLog().Log(1, "invalid disq mode: %d", static_cast<int>(settings.disqmode));
    return std::nullopt;
  }
  if (choice.status == drvcore::SlotChoice::NoMatch) {
    DriverLog().Log(1, "failed to map satellite to disq");
    return std::nullopt;
  }
  if (!choice.motorCheck) return choice;
  if (!satListManager) {
    DriverLog().Log(2, "no satellite list manager: no motor check");
    return choice;
  }
  long satellites = 0;
  const HRESULT hr = satListManager->GetSatelliteCount(&satellites);
  if (FAILED(hr)) {
    DriverLog().Log(1, "failed to get satellite count: %#lX", static_cast<unsigned long>(hr));
    return std::nullopt;
  }
  if (drvcore::NeedsMotorPrompt(satellites, name, currentSatellite)) {
    // The prompt names the satellite where its text has "%S".
    std::string text = DriverString(IDS_MOTOR_PROMPT);
    const size_t at = text.find("%S");
    if (at != std::string::npos) text.replace(at, 2, narrow);
    if (DriverMessageBox(text.c_str(), MB_OKCANCEL) != IDOK) {
      DriverLog().Log(1, "user cancelled satellite motor adjustment");
      return std::nullopt;
    }
  }
  return choice;
}

CSelectDeviceDlg::CSelectDeviceDlg(const DriverFamily& family, int deviceCount)
    : family_(family), deviceCount_(deviceCount) {}

INT_PTR CSelectDeviceDlg::DoModal() {
  const INT_PTR r = ::DialogBoxParamA(orb::com::ThisModule(),
                                      MAKEINTRESOURCEA(family_.selectDeviceDialogId), nullptr,
                                      &CSelectDeviceDlg::DialogProc, reinterpret_cast<LPARAM>(this));
  if (r == -1) DriverLog().Log(1, "failed to show the device selection: %lu", ::GetLastError());
  return r;
}

INT_PTR CALLBACK CSelectDeviceDlg::DialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<CSelectDeviceDlg*>(::GetWindowLongPtrA(dlg, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG:
      self = reinterpret_cast<CSelectDeviceDlg*>(lp);
      ::SetWindowLongPtrA(dlg, DWLP_USER, lp);
      return self->OnInitDialog(dlg);
    case WM_COMMAND:
      if (!self) break;
      if (LOWORD(wp) == IDOK) {
        self->OnOK(dlg);
        return TRUE;
      }
      if (LOWORD(wp) == IDCANCEL) {
        self->selected_ = 0;
        ::EndDialog(dlg, IDCANCEL);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

BOOL CSelectDeviceDlg::OnInitDialog(HWND dlg) {
  HWND list = ::GetDlgItem(dlg, IDC_DEVICE_LIST);
  for (int i = 0; i < deviceCount_; ++i) {
    char text[64];
    std::snprintf(text, sizeof text, "Card %d", i + 1);
    ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  ::SendMessageA(list, CB_SETCURSEL, 0, 0);
  return TRUE;
}

void CSelectDeviceDlg::OnOK(HWND dlg) {
  const LRESULT sel = ::SendDlgItemMessageA(dlg, IDC_DEVICE_LIST, CB_GETCURSEL, 0, 0);
  selected_ = static_cast<WORD>(drvcore::PickedDevice(static_cast<int>(sel), deviceCount_));
  ::EndDialog(dlg, IDOK);
}
