#include "drvcommon/DialogSupport.h"

#include <vector>

#include "drvcommon/DriverUi.h"
#include "drvcommon/Text.h"
#include "drvcore/dialogs.h"
#include "orb_atl/bstr.h"
#include "orb_atl/com_ptr.h"

BEGIN_MESSAGE_MAP(CHexEdit, CEdit)
  ON_WM_CHAR()
END_MESSAGE_MAP()

DWORD CHexEdit::GetValue() const { return TryGetValue().value_or(0); }

std::optional<DWORD> CHexEdit::TryGetValue() const {
  const auto v = drvcore::ParseHexField(WindowTextNarrow(this));
  if (!v) return std::nullopt;
  return static_cast<DWORD>(*v);
}

void CHexEdit::OnChar(UINT, UINT, UINT) { Default(); }

std::string WindowTextNarrow(const CWnd* wnd) {
  if (!wnd || !wnd->GetSafeHwnd()) return std::string();
  CString text;
  wnd->GetWindowText(text);
  return NarrowFromCString(text);
}

std::string DlgItemTextNarrow(const CWnd* dlg, int id) {
  if (!dlg || !dlg->GetSafeHwnd()) return std::string();
  CString text;
  dlg->GetDlgItemText(id, text);
  return NarrowFromCString(text);
}

CString WideFromNarrow(const std::string& text) { return CString(drvtext::Wide(text).c_str()); }

std::string NarrowFromCString(const CString& text) {
  return drvtext::Narrow(std::wstring_view(text.GetString(), static_cast<size_t>(text.GetLength())));
}

int DialogMessageBox(const CWnd* from, const char* text, UINT type, const char* caption) {
  HWND owner = from ? from->GetSafeHwnd() : nullptr;
  if (owner) owner = ::GetAncestor(owner, GA_ROOT);
  return DriverMessageBoxOver(owner, text, type, caption);
}

void AddSatelliteNames(ISatListManager* manager, CComboBox& list) {
  if (!manager || !list.GetSafeHwnd()) return;
  orb::com::ComPtr<IEnumSatellites> satellites;
  if (FAILED(manager->EnumSatellites(1, 1, satellites.Put())) || !satellites) return;
  for (;;) {
    orb::com::ComPtr<ISatellite> satellite;
    ULONG fetched = 0;
    if (satellites->Next(1, satellite.Put(), &fetched) != S_OK || !satellite) break;
    orb::com::Bstr name;
    if (SUCCEEDED(satellite->GetName(name.Put())))
      list.AddString(WideFromNarrow(drvtext::Narrow(static_cast<const wchar_t*>(name.Get()))));
  }
}
