#pragma once
// The plug-in's own user interface outside its dialogs: message boxes and
// the "Select device" dialog.  Resources come from the plug-in's module.
#include <windows.h>

#include <string>

#include "drvcommon/DriverFamily.h"

// A message box of the plug-in, captioned with the plug-in's name; returns
// the button chosen (IDOK, IDCANCEL, ...).
int DriverMessageBox(const char* text, UINT type);
// The same over an owner window (null: none), with a caption of its own
// (null: the plug-in's name).
int DriverMessageBoxOver(HWND owner, const char* text, UINT type, const char* caption = nullptr);

// A string resource of the plug-in (empty when missing).
std::string DriverString(UINT id);

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
