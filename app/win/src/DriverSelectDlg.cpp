#include "orb_app/DriverSelectDlg.h"

#include <cstring>

#include "orb_app/driver_binding.h"
#include "resource.h"

CDriverSelectDlg::CDriverSelectDlg(CWnd* parent) : CDialog(IDD, parent) {}

BOOL CDriverSelectDlg::OnInitDialog() {
  orb::app::ProgramLog().Log(2, "driver select init dialog");
  CDialog::OnInitDialog();
  std::vector<orb::app::DriverEntry> drivers;
  const bool listed = orb::app::ListDrivers(
      drivers, [](const std::string& text) { AfxMessageBox(text.c_str()); });
  HWND combo = ::GetDlgItem(m_hWnd, IDC_DRIVER_COMBO);
  for (const orb::app::DriverEntry& d : drivers) {
    // A later class of the same name takes the name over; both lines stay.
    ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(d.name.c_str()));
    m_drivers[d.name] = d.clsid;
  }
  return listed ? TRUE : FALSE;
}

void CDriverSelectDlg::OnOK() {
  HWND combo = ::GetDlgItem(m_hWnd, IDC_DRIVER_COMBO);
  const LRESULT index = ::SendMessageA(combo, CB_GETCURSEL, 0, 0);
  if (index != CB_ERR) {
    const LRESULT length = ::SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length != CB_ERR) {
      std::string name(static_cast<size_t>(length) + 1, '\0');
      ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(name.data()));
      name.resize(std::strlen(name.c_str()));
      auto it = m_drivers.find(name);
      if (it != m_drivers.end()) m_chosenClsid = orb::app::GuidToRegistryString(it->second);
    }
  }
  CDialog::OnOK();
}
