#pragma once
// What the plug-ins' dialogs and pages share: CHexEdit, narrow texts of
// controls, message boxes over a dialog, and the satellite names of the
// satellite list manager.
#include <afxwin.h>
#include <afxdlgs.h>
#include <afxcmn.h>

#include <optional>
#include <string>

#include "satlistmgr.h"

// An edit control holding a hexadecimal number (PIDs, filter bytes); its
// value is its text read as "%x" reads it.  Typed characters are not
// filtered.
class CHexEdit : public CEdit {
 public:
  // The value, 0 when the text holds no hexadecimal number.
  DWORD GetValue() const;
  // The value, or nothing when the text holds no hexadecimal number.
  std::optional<DWORD> TryGetValue() const;

 protected:
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  DECLARE_MESSAGE_MAP()
};

// The text of a window or dialog item in the ANSI code page.
std::string WindowTextNarrow(const CWnd* wnd);
std::string DlgItemTextNarrow(const CWnd* dlg, int id);
CString WideFromNarrow(const std::string& text);
std::string NarrowFromCString(const CString& text);

// A message box owned by the top-level window of `from` (so that it stays
// over the dialog), captioned `caption` or, without one, with the plug-in's
// name.  Returns the button chosen.
int DialogMessageBox(const CWnd* from, const char* text, UINT type = MB_OK,
                     const char* caption = nullptr);

// Adds the names of the list manager's satellites (EnumSatellites(1, 1))
// to a combo box; nothing without a manager or when it fails.
void AddSatelliteNames(ISatListManager* manager, CComboBox& list);
