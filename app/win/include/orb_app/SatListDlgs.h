#pragma once
// The satellite list dialogs: CSatListManagerDlg (dialog 134) sorts the
// satellites of the satellite list manager into available and selected ones,
// adds and deletes satellites and opens CTransponderListDlg (dialog 135) for
// one of them, which lists, adds and deletes its transponders.  Every change
// is committed to the manager at once; Cancel undoes nothing.
#include <string>
#include <vector>

#include "orb_app/mfc.h"
#include "satlistmgr.h"

class CSatListManagerDlg : public CDialog {
 public:
  enum { IDD = 134 };
  CSatListManagerDlg(ISatListManager*& manager, CWnd* parent = nullptr);

  void FillLists();

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  afx_msg void OnAddSatellite();
  afx_msg void OnDeleteSatellite();
  afx_msg void OnSelectSatellites();
  afx_msg void OnDeselectSatellites();
  afx_msg void OnDblClkAvailable();
  DECLARE_MESSAGE_MAP()

 private:
  // The texts of the marked lines of a list box.
  static std::vector<std::wstring> MarkedLines(CListBox& list);
  void SetSelected(CListBox& list, BOOL selected);

  CEdit m_name;          // 1017
  CListBox m_selected;   // 1014
  CListBox m_available;  // 1013
  ISatListManager*& m_manager;
};

class CTransponderListDlg : public CDialog {
 public:
  enum { IDD = 135 };
  CTransponderListDlg(ISatellite*& satellite, ISatListManager*& manager, CWnd* parent = nullptr);

  void FillTransponderList();

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  afx_msg void OnDelete();
  afx_msg void OnAdd();
  afx_msg void OnNitUpdate();
  DECLARE_MESSAGE_MAP()

 private:
  CListBox m_transponders;  // 1020
  ISatellite*& m_satellite;
  ISatListManager*& m_manager;
};
