// Property sheets with two pages: activation and deactivation of pages with
// their data exchange, Apply, OK and Cancel, the sheet's result.
#include <afxdlgs.h>
#include <gtest/gtest.h>

#include <string>

#include "dlg_test_ids.h"
#include "dlg_test_support.h"

namespace {

using dlgtest::MessageBoxRecorder;
using dlgtest::Scripted;

struct PageLog {
  int init = 0;
  int setActive = 0;
  int killActive = 0;
  int apply = 0;
  int ok = 0;
  int cancel = 0;
};

// A page that counts its activations, Apply, OK and Cancel.
class CLoggedPage : public CPropertyPage {
 public:
  using CPropertyPage::CPropertyPage;
  PageLog log;

  BOOL OnSetActive() override {
    ++log.setActive;
    return CPropertyPage::OnSetActive();
  }
  BOOL OnKillActive() override {
    ++log.killActive;
    return CPropertyPage::OnKillActive();
  }
  BOOL OnApply() override {
    ++log.apply;
    return CPropertyPage::OnApply();
  }
  void OnOK() override { ++log.ok; }
  void OnCancel() override { ++log.cancel; }
};

class CPageOne : public CLoggedPage {
 public:
  CPageOne() : CLoggedPage(IDD_DLG_PAGE_ONE, IDS_DLG_PAGE_ONE) {}
  CString m_name = "first";
  int m_flag = 1;
  int pressed = 0;

  BOOL OnInitDialog() override {
    ++log.init;
    return CLoggedPage::OnInitDialog();
  }
  BOOL OnSetActive() override {
    // The first activation starts the test's script on the sheet.
    if (log.setActive == 0) ::PostMessageW(::GetParent(m_hWnd), dlgtest::kStepMessage, 0, 0);
    return CLoggedPage::OnSetActive();
  }

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, IDC_DLG_TEXT, m_name);
    DDX_Check(pDX, IDC_DLG_CHECK, m_flag);
  }
  afx_msg void OnPress() { ++pressed; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPageOne, CLoggedPage)
  ON_BN_CLICKED(IDC_DLG_PRESS, &ThisClass::OnPress)
END_MESSAGE_MAP()

class CPageTwo : public CLoggedPage {
 public:
  CPageTwo() : CLoggedPage(IDD_DLG_PAGE_TWO) {}
  int m_value = 10;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, IDC_DLG_INT, m_value);
    DDV_MinMaxInt(pDX, m_value, 0, 100);
  }
};

class CTestSheet : public Scripted<CPropertySheet> {
 public:
  CTestSheet() : Scripted<CPropertySheet>("Settings") {
    AddPage(&one);
    AddPage(&two);
  }
  CPageOne one;
  CPageTwo two;

  HWND PageItem(CPropertyPage& page, int id) { return ::GetDlgItem(page.m_hWnd, id); }
  void SetPageText(CPropertyPage& page, int id, const wchar_t* text) {
    ::SetWindowTextW(PageItem(page, id), text);
  }
};

TEST(PropertySheets, OkCollectsTheDataOfBothPages) {
  CTestSheet sheet;
  int activeAfterSwitch = -1;
  bool pageTwoKnowsItsSheet = false;
  sheet.steps.push_back([&](auto&) {
    EXPECT_EQ(sheet.GetActivePage(), &sheet.one);
    EXPECT_EQ(sheet.GetPageCount(), 2);
    sheet.SetPageText(sheet.one, IDC_DLG_TEXT, L"alpha");
    ::CheckDlgButton(sheet.one.m_hWnd, IDC_DLG_CHECK, BST_UNCHECKED);
    EXPECT_TRUE(sheet.SetActivePage(1));
  });
  sheet.steps.push_back([&](auto&) {
    activeAfterSwitch = sheet.GetActiveIndex();
    pageTwoKnowsItsSheet = ::GetParent(sheet.two.m_hWnd) == sheet.m_hWnd &&
                           CWnd::FromHandlePermanent(sheet.two.m_hWnd) == &sheet.two;
    // Leaving page one saved its data.
    EXPECT_EQ(sheet.one.m_name, CString("alpha"));
    EXPECT_EQ(sheet.one.m_flag, 0);
    sheet.SetPageText(sheet.two, IDC_DLG_INT, L"55");
    sheet.PressButton(PSBTN_OK);
  });
  EXPECT_EQ(sheet.DoModal(), IDOK);
  EXPECT_EQ(activeAfterSwitch, 1);
  EXPECT_TRUE(pageTwoKnowsItsSheet);
  EXPECT_EQ(sheet.one.m_name, CString("alpha"));
  EXPECT_EQ(sheet.two.m_value, 55);
  EXPECT_EQ(sheet.one.log.init, 1);
  EXPECT_EQ(sheet.one.log.killActive, 1);
  EXPECT_GE(sheet.two.log.killActive, 1);
  EXPECT_EQ(sheet.one.log.apply, 1);
  EXPECT_EQ(sheet.two.log.apply, 1);
  // OnApply's default calls OnOK.
  EXPECT_EQ(sheet.one.log.ok, 1);
  EXPECT_EQ(sheet.two.log.ok, 1);
  EXPECT_EQ(sheet.m_hWnd, nullptr);
  EXPECT_EQ(sheet.one.m_hWnd, nullptr);
}

TEST(PropertySheets, CancelKeepsTheMembersAndResetsThePages) {
  CTestSheet sheet;
  sheet.steps.push_back([&](auto&) {
    sheet.SetPageText(sheet.one, IDC_DLG_TEXT, L"dropped");
    sheet.PressButton(PSBTN_CANCEL);
  });
  EXPECT_EQ(sheet.DoModal(), IDCANCEL);
  EXPECT_EQ(sheet.one.m_name, CString("first"));
  EXPECT_EQ(sheet.one.log.cancel, 1);
  EXPECT_EQ(sheet.one.log.apply, 0);
  // Page two was never shown, so it had no window to reset.
  EXPECT_EQ(sheet.two.log.setActive, 0);
}

TEST(PropertySheets, InvalidPageCannotBeLeft) {
  MessageBoxRecorder boxes;
  CTestSheet sheet;
  int activeAfterTry = -1;
  sheet.steps.push_back([&](auto&) { sheet.SetActivePage(1); });
  sheet.steps.push_back([&](auto&) {
    sheet.SetPageText(sheet.two, IDC_DLG_INT, L"500");
    sheet.SetActivePage(0);
  });
  sheet.steps.push_back([&](auto&) {
    activeAfterTry = sheet.GetActiveIndex();
    sheet.SetPageText(sheet.two, IDC_DLG_INT, L"5");
    sheet.PressButton(PSBTN_OK);
  });
  EXPECT_EQ(sheet.DoModal(), IDOK);
  EXPECT_EQ(activeAfterTry, 1);
  EXPECT_EQ(boxes.texts.size(), 1u);
  EXPECT_EQ(sheet.two.m_value, 5);
}

TEST(PropertySheets, ApplyRunsWhileTheSheetStaysOpen) {
  CTestSheet sheet;
  bool applyEnabledBefore = true;
  bool applyEnabledAfterChange = false;
  bool openAfterApply = false;
  sheet.steps.push_back([&](auto&) {
    HWND apply = ::GetDlgItem(sheet.m_hWnd, 0x3021);  // the sheet's Apply button
    applyEnabledBefore = apply && ::IsWindowEnabled(apply);
    sheet.SetPageText(sheet.one, IDC_DLG_TEXT, L"applied");
    sheet.one.SetModified(TRUE);
    applyEnabledAfterChange = apply && ::IsWindowEnabled(apply);
    sheet.PressButton(PSBTN_APPLYNOW);
  });
  sheet.steps.push_back([&](auto&) {
    openAfterApply = ::IsWindow(sheet.m_hWnd) && sheet.GetActivePage() == &sheet.one;
    sheet.PressButton(PSBTN_CANCEL);
  });
  EXPECT_EQ(sheet.DoModal(), IDCANCEL);
  EXPECT_FALSE(applyEnabledBefore);
  EXPECT_TRUE(applyEnabledAfterChange);
  EXPECT_TRUE(openAfterApply);
  EXPECT_EQ(sheet.one.log.apply, 1);
  EXPECT_EQ(sheet.one.m_name, CString("applied"));
}

TEST(PropertySheets, ReturningToAPageReloadsItsControls) {
  CTestSheet sheet;
  std::wstring shownAgain;
  sheet.steps.push_back([&](auto&) { sheet.SetActivePage(1); });
  sheet.steps.push_back([&](auto&) {
    sheet.one.m_name = "from member";
    sheet.SetActivePage(0);
  });
  sheet.steps.push_back([&](auto&) {
    wchar_t text[64] = L"";
    ::GetWindowTextW(sheet.PageItem(sheet.one, IDC_DLG_TEXT), text, 64);
    shownAgain = text;
    // The page's own message map answers its buttons.
    ::SendMessageW(sheet.PageItem(sheet.one, IDC_DLG_PRESS), BM_CLICK, 0, 0);
    sheet.PressButton(PSBTN_CANCEL);
  });
  EXPECT_EQ(sheet.DoModal(), IDCANCEL);
  EXPECT_EQ(shownAgain, L"from member");
  EXPECT_EQ(sheet.one.log.setActive, 2);
  EXPECT_EQ(sheet.two.log.setActive, 1);
  EXPECT_EQ(sheet.one.pressed, 1);
}

TEST(PropertySheets, TabTitlesComeFromTheCaptionStringOrTheTemplate) {
  CTestSheet sheet;
  std::wstring first;
  std::wstring second;
  sheet.steps.push_back([&](auto&) {
    CTabCtrl* tabs = sheet.GetTabControl();
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->GetItemCount(), 2);
    wchar_t text[64] = L"";
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    tabs->GetItem(0, &item);
    first = text;
    tabs->GetItem(1, &item);
    second = text;
    sheet.PressButton(PSBTN_CANCEL);
  });
  EXPECT_EQ(sheet.DoModal(), IDCANCEL);
  EXPECT_EQ(first, L"Names");
  EXPECT_EQ(second, L"Second");
}

TEST(PropertySheets, EmptySheetFails) {
  CPropertySheet sheet("Nothing");
  EXPECT_EQ(sheet.DoModal(), -1);
}

TEST(PropertySheets, ModelessSheet) {
  CPropertySheet sheet("Modeless");
  CPageOne one;
  CPageTwo two;
  sheet.AddPage(&one);
  sheet.AddPage(&two);
  ASSERT_TRUE(sheet.Create());
  EXPECT_NE(sheet.m_hWnd, nullptr);
  EXPECT_EQ(sheet.GetActivePage(), &one);
  EXPECT_EQ(one.log.init, 1);
  EXPECT_TRUE(sheet.SetActivePage(&two));
  EXPECT_EQ(sheet.GetActiveIndex(), 1);
  EXPECT_EQ(one.log.killActive, 1);
  sheet.DestroyWindow();
  EXPECT_EQ(sheet.m_hWnd, nullptr);
  EXPECT_EQ(one.m_hWnd, nullptr);
  // Drain what the modeless sheet left in the queue (the script message).
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

}  // namespace
