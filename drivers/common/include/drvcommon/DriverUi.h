#pragma once
// The plug-in's own user interface outside its dialogs: message boxes (the
// motor prompt of satellite tuning among them) and the "Select device"
// dialog.  Resources come from the plug-in's module.
#include <windows.h>

#include <optional>
#include <string>

#include "drvcommon/DriverFamily.h"
#include "drvcore/settings.h"
#include "drvcore/tuning.h"

struct ISatListManager;

// A message box of the plug-in, captioned with the plug-in's name; returns
// the button chosen (IDOK, IDCANCEL, ...).
int DriverMessageBox(const char* text, UINT type);
// The same over an owner window (null: none), with a caption of its own
// (null: the plug-in's name).
int DriverMessageBoxOver(HWND owner, const char* text, UINT type, const char* caption = nullptr);

// A string resource of the plug-in (empty when missing).
std::string DriverString(UINT id);

// The slot satellite `name` is tuned through under `settings`.  Without a
// switch, when the satellite list (`satListManager`; none: no check) holds
// several satellites and `name` is not `currentSatellite`, the user is first
// asked to turn the motor.  Nothing (the reason logged) when no slot fits
// or the user cancelled.
std::optional<drvcore::SlotChoice> ChooseSatelliteSlot(const drvcore::Settings& settings, const std::wstring& name,
                                                       ISatListManager* satListManager,
                                                       const std::wstring& currentSatellite);

// "Select device": a drop-down list of the cards (214) with OK and Cancel,
// shown when two or more cards are present and none is stored.
class CSelectDeviceDlg {
 public:
  CSelectDeviceDlg(const DriverFamily& family, int deviceCount);
  INT_PTR DoModal();
  // The card chosen: an index below the device count; 0 when the dialog was
  // cancelled or could not be shown.
  WORD GetSelectedDevice() const { return selected_; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
  BOOL OnInitDialog(HWND dlg);
  void OnOK(HWND dlg);

  const DriverFamily& family_;
  int deviceCount_;
  WORD selected_ = 0;
};
