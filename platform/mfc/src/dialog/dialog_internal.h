#pragma once
// Pieces shared by the dialog, property sheet and common dialog sources.
#include "afxwin.h"

#include <cstring>
#include <functional>
#include <string>

#ifndef WM_KICKIDLE
#define WM_KICKIDLE 0x036A
#endif

namespace afx_dialog_detail {

void EnsureCommonControls();

// The top-level window that owns a dialog made over pParentWnd (the main
// window when there is no parent); nullptr when there is none.
HWND OwnerFor(CWnd* pParentWnd);

// Disables the owner for the length of a modal dialog; Release gives it back
// its input (and activation) before the dialog window goes.
class ModalOwner {
 public:
  explicit ModalOwner(HWND owner);
  ~ModalOwner();
  ModalOwner(const ModalOwner&) = delete;
  ModalOwner& operator=(const ModalOwner&) = delete;
  void Release(HWND hWndDialog);

 private:
  HWND m_owner;
  bool m_reenable = false;
};

// Pumps the thread's messages, with idle processing, while keepRunning()
// holds and the window exists.  FALSE when WM_QUIT ended it (the quit is
// posted again for the outer loop).
bool RunDialogModalLoop(CWnd* pWnd, HWND owner, const std::function<bool()>& keepRunning);

LPCDLGTEMPLATE LoadDialogTemplate(HINSTANCE hInst, LPCWSTR name);

// The object that the next dialog window created on this thread belongs to.
void PrepareHook(CWnd* pWnd);

}  // namespace afx_dialog_detail
