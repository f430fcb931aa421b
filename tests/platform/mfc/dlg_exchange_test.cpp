// Dialogs from resource templates: data exchange both ways, validation,
// the modal loop and its results, message maps of dialogs and of controls
// attached with DDX_Control, initial list data of the template.
#include <afxwin.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "dlg_test_ids.h"
#include "dlg_test_support.h"

namespace {

using dlgtest::MessageBoxRecorder;

using dlgtest::Scripted;

// An edit control with a message map of its own.
class CCountingEdit : public CEdit {
 public:
  int pings = 0;
  int chars = 0;

 protected:
  afx_msg LRESULT OnPing(WPARAM wParam, LPARAM) {
    ++pings;
    return static_cast<LRESULT>(wParam) + 1;
  }
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    ++chars;
    CEdit::OnChar(nChar, nRepCnt, nFlags);
  }
  DECLARE_MESSAGE_MAP()
};

constexpr UINT kPing = WM_APP + 7;

BEGIN_MESSAGE_MAP(CCountingEdit, CEdit)
  ON_MESSAGE(kPing, &ThisClass::OnPing)
  ON_WM_CHAR()
END_MESSAGE_MAP()

class CExchangeDlg : public CDialog {
 public:
  explicit CExchangeDlg(CWnd* parent = nullptr) : CDialog(IDD_DLG_EXCHANGE, parent) {}

  CString m_text = "hello";
  int m_int = 42;
  UINT m_uint = 7;
  double m_real = 2.5;
  DWORD m_dword = 3000000000u;
  int m_check = 1;
  int m_radio = 1;
  int m_dropIndex = 2;
  CString m_dropText = "typed";
  int m_listIndex = -1;
  CCountingEdit m_edit;

  int initCalls = 0;
  std::wstring textSeenAtInit;
  int pressed = 0;
  int kicks = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_DLG_TEXT, m_text);
    DDV_MaxChars(pDX, m_text, 8);
    DDX_Text(pDX, IDC_DLG_INT, m_int);
    DDV_MinMaxInt(pDX, m_int, 0, 100);
    DDX_Text(pDX, IDC_DLG_UINT, m_uint);
    DDX_Text(pDX, IDC_DLG_REAL, m_real);
    DDX_Text(pDX, IDC_DLG_DWORD, m_dword);
    DDX_Check(pDX, IDC_DLG_CHECK, m_check);
    DDX_Radio(pDX, IDC_DLG_RADIO1, m_radio);
    DDX_CBIndex(pDX, IDC_DLG_DROPLIST, m_dropIndex);
    DDX_CBString(pDX, IDC_DLG_DROPDOWN, m_dropText);
    DDX_LBIndex(pDX, IDC_DLG_LIST, m_listIndex);
    DDX_Control(pDX, IDC_DLG_SUBCLASSED, m_edit);
  }

  BOOL OnInitDialog() override {
    ++initCalls;
    // The list box is filled before the base class loads the members.
    ::SendDlgItemMessageW(m_hWnd, IDC_DLG_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"first"));
    ::SendDlgItemMessageW(m_hWnd, IDC_DLG_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"second"));
    const BOOL result = CDialog::OnInitDialog();
    wchar_t buffer[64] = L"";
    ::GetDlgItemTextW(m_hWnd, IDC_DLG_TEXT, buffer, 64);
    textSeenAtInit = buffer;
    return result;
  }

  afx_msg void OnPress() { ++pressed; }
  afx_msg LRESULT OnKickIdle(WPARAM, LPARAM) {
    ++kicks;
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CExchangeDlg, CDialog)
  ON_BN_CLICKED(IDC_DLG_PRESS, &ThisClass::OnPress)
  ON_MESSAGE(WM_KICKIDLE, &ThisClass::OnKickIdle)
END_MESSAGE_MAP()

// Modal form: starts its script once initialised.
class CModalExchangeDlg : public Scripted<CExchangeDlg> {
 public:
  using Scripted<CExchangeDlg>::Scripted;

 protected:
  BOOL OnInitDialog() override {
    const BOOL result = CExchangeDlg::OnInitDialog();
    StartScript();
    return result;
  }
};

std::wstring ItemText(HWND dlg, int id) {
  wchar_t buffer[256] = L"";
  ::GetDlgItemTextW(dlg, id, buffer, 256);
  return buffer;
}

// ---------------------------------------------------------------------------
// Modeless: exchange both ways

class ModelessExchange : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dlg.Create(IDD_DLG_EXCHANGE)); }
  void TearDown() override {
    if (dlg.m_hWnd) dlg.DestroyWindow();
  }
  // No message box may block a test; those that expect one count them.
  MessageBoxRecorder unexpectedBoxes;
  CExchangeDlg dlg;
};

TEST_F(ModelessExchange, InitialisationLoadsEveryMemberIntoItsControl) {
  EXPECT_EQ(dlg.initCalls, 1);
  EXPECT_EQ(dlg.textSeenAtInit, L"hello");
  HWND h = dlg.m_hWnd;
  EXPECT_EQ(ItemText(h, IDC_DLG_INT), L"42");
  EXPECT_EQ(ItemText(h, IDC_DLG_UINT), L"7");
  EXPECT_EQ(ItemText(h, IDC_DLG_REAL), L"2.5");
  EXPECT_EQ(ItemText(h, IDC_DLG_DWORD), L"3000000000");
  EXPECT_EQ(::IsDlgButtonChecked(h, IDC_DLG_CHECK), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(::IsDlgButtonChecked(h, IDC_DLG_RADIO1), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(::IsDlgButtonChecked(h, IDC_DLG_RADIO2), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(::IsDlgButtonChecked(h, IDC_DLG_RADIO3), static_cast<UINT>(BST_UNCHECKED));
  // The drop-down list got its items from the template's initial data.
  EXPECT_EQ(::SendDlgItemMessageW(h, IDC_DLG_DROPLIST, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(::SendDlgItemMessageW(h, IDC_DLG_DROPLIST, CB_GETCURSEL, 0, 0), 2);
  CComboBox* drop = static_cast<CComboBox*>(dlg.GetDlgItem(IDC_DLG_DROPLIST));
  ASSERT_NE(drop, nullptr);
  CString item;
  drop->GetLBText(0, item);
  EXPECT_EQ(item, CString("Alpha"));
  EXPECT_EQ(ItemText(h, IDC_DLG_DROPDOWN), L"typed");
  EXPECT_EQ(::SendDlgItemMessageW(h, IDC_DLG_LIST, LB_GETCURSEL, 0, 0), LB_ERR);
  // DDV_MaxChars limits the edit while loading.
  EXPECT_EQ(::SendDlgItemMessageW(h, IDC_DLG_TEXT, EM_GETLIMITTEXT, 0, 0), 8);
}

TEST_F(ModelessExchange, SavingReadsEveryControlBack) {
  HWND h = dlg.m_hWnd;
  ::SetDlgItemTextW(h, IDC_DLG_TEXT, L"world");
  ::SetDlgItemTextW(h, IDC_DLG_INT, L" 17 ");
  ::SetDlgItemTextW(h, IDC_DLG_UINT, L"4294967295");
  ::SetDlgItemTextW(h, IDC_DLG_REAL, L"-0.125");
  ::SetDlgItemTextW(h, IDC_DLG_DWORD, L"17");
  ::CheckDlgButton(h, IDC_DLG_CHECK, BST_UNCHECKED);
  ::CheckRadioButton(h, IDC_DLG_RADIO1, IDC_DLG_RADIO3, IDC_DLG_RADIO3);
  ::SendDlgItemMessageW(h, IDC_DLG_DROPLIST, CB_SETCURSEL, 0, 0);
  ::SetDlgItemTextW(h, IDC_DLG_DROPDOWN, L"other text");
  ::SendDlgItemMessageW(h, IDC_DLG_LIST, LB_SETCURSEL, 1, 0);

  ASSERT_TRUE(dlg.UpdateData(TRUE)) << (unexpectedBoxes.texts.empty() ? "" : unexpectedBoxes.texts[0]);
  EXPECT_EQ(dlg.m_text, CString("world"));
  EXPECT_EQ(dlg.m_int, 17);
  EXPECT_EQ(dlg.m_uint, 4294967295u);
  EXPECT_DOUBLE_EQ(dlg.m_real, -0.125);
  EXPECT_EQ(dlg.m_dword, 17u);
  EXPECT_EQ(dlg.m_check, 0);
  EXPECT_EQ(dlg.m_radio, 2);
  EXPECT_EQ(dlg.m_dropIndex, 0);
  EXPECT_EQ(dlg.m_dropText, CString("other text"));
  EXPECT_EQ(dlg.m_listIndex, 1);
}

TEST_F(ModelessExchange, LoadingAgainShowsChangedMembers) {
  dlg.m_text = "again";
  dlg.m_int = 99;
  dlg.m_check = 0;
  dlg.m_radio = -1;  // no button of the group
  dlg.m_dropIndex = -1;
  dlg.m_dropText = "Beta";
  ASSERT_TRUE(dlg.UpdateData(FALSE));
  HWND h = dlg.m_hWnd;
  EXPECT_EQ(ItemText(h, IDC_DLG_TEXT), L"again");
  EXPECT_EQ(ItemText(h, IDC_DLG_INT), L"99");
  EXPECT_EQ(::IsDlgButtonChecked(h, IDC_DLG_CHECK), static_cast<UINT>(BST_UNCHECKED));
  for (int id : {IDC_DLG_RADIO1, IDC_DLG_RADIO2, IDC_DLG_RADIO3})
    EXPECT_EQ(::IsDlgButtonChecked(h, id), static_cast<UINT>(BST_UNCHECKED)) << id;
  EXPECT_EQ(::SendDlgItemMessageW(h, IDC_DLG_DROPLIST, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(ItemText(h, IDC_DLG_DROPDOWN), L"Beta");
}

TEST_F(ModelessExchange, WrongTextFailsWithAMessageAndKeepsTheMember) {
  MessageBoxRecorder boxes;
  HWND h = dlg.m_hWnd;
  for (const wchar_t* bad : {L"abc", L"12x", L"", L"99999999999"}) {
    ::SetDlgItemTextW(h, IDC_DLG_INT, bad);
    EXPECT_FALSE(dlg.UpdateData(TRUE)) << "text " << static_cast<const void*>(bad);
    EXPECT_EQ(dlg.m_int, 42);
  }
  EXPECT_EQ(boxes.texts.size(), 4u);
  // Unsigned fields refuse a sign.
  ::SetDlgItemTextW(h, IDC_DLG_INT, L"5");
  ::SetDlgItemTextW(h, IDC_DLG_UINT, L"-1");
  EXPECT_FALSE(dlg.UpdateData(TRUE));
  EXPECT_EQ(dlg.m_uint, 7u);
}

TEST_F(ModelessExchange, RangeAndLengthValidation) {
  MessageBoxRecorder boxes;
  HWND h = dlg.m_hWnd;
  ::SetDlgItemTextW(h, IDC_DLG_INT, L"101");
  EXPECT_FALSE(dlg.UpdateData(TRUE));
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_NE(boxes.texts[0].find("0 to 100"), std::string::npos) << boxes.texts[0];
  ::SetDlgItemTextW(h, IDC_DLG_INT, L"100");
  EXPECT_TRUE(dlg.UpdateData(TRUE));
  EXPECT_EQ(dlg.m_int, 100);

  // The limit of the edit does not stop text set by the program.
  // (The exchange stores the text before the check refuses it, as the
  // validation follows the exchange of its control.)
  ::SendDlgItemMessageW(h, IDC_DLG_TEXT, EM_LIMITTEXT, 0, 0);
  ::SetDlgItemTextW(h, IDC_DLG_TEXT, L"nine char");
  EXPECT_FALSE(dlg.UpdateData(TRUE));
  EXPECT_EQ(boxes.texts.size(), 2u);
  ::SetDlgItemTextW(h, IDC_DLG_TEXT, L"eight ch");
  EXPECT_TRUE(dlg.UpdateData(TRUE));
  EXPECT_EQ(dlg.m_text, CString("eight ch"));
}

TEST_F(ModelessExchange, AttachedControlRunsItsOwnMessageMap) {
  HWND edit = ::GetDlgItem(dlg.m_hWnd, IDC_DLG_SUBCLASSED);
  ASSERT_EQ(dlg.m_edit.m_hWnd, edit);
  EXPECT_EQ(CWnd::FromHandlePermanent(edit), &dlg.m_edit);
  EXPECT_EQ(::SendMessageW(edit, kPing, 41, 0), 42);
  EXPECT_EQ(dlg.m_edit.pings, 1);
  // Unhandled messages still reach the edit control itself.
  ::SendMessageW(edit, WM_CHAR, 'x', 1);
  EXPECT_EQ(dlg.m_edit.chars, 1);
  EXPECT_EQ(ItemText(dlg.m_hWnd, IDC_DLG_SUBCLASSED), L"x");
  // A second exchange leaves the attachment as it is.
  EXPECT_TRUE(dlg.UpdateData(TRUE));
  EXPECT_EQ(dlg.m_edit.m_hWnd, edit);
}

TEST_F(ModelessExchange, ButtonNotificationReachesTheHandler) {
  ::SendMessageW(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_DLG_PRESS, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dlg.m_hWnd, IDC_DLG_PRESS)));
  // The button's own click sends the same notification.
  ::SendDlgItemMessageW(dlg.m_hWnd, IDC_DLG_PRESS, BM_CLICK, 0, 0);
  EXPECT_EQ(dlg.pressed, 2);
}

// ---------------------------------------------------------------------------
// Control wrappers over the dialog's controls

TEST_F(ModelessExchange, ListAndComboItemDataKeepFullPointerWidth) {
  CListBox list;
  CComboBox combo;
  ASSERT_TRUE(list.SubclassDlgItem(IDC_DLG_LIST, &dlg));
  ASSERT_TRUE(combo.SubclassDlgItem(IDC_DLG_DROPLIST, &dlg));
  const DWORD_PTR big = static_cast<DWORD_PTR>(UINT64_C(0x123456789ABCDEF0));
  int dummy = 0;
  if constexpr (sizeof(DWORD_PTR) == 8) {
    EXPECT_NE(list.SetItemData(0, big), LB_ERR);
    EXPECT_EQ(list.GetItemData(0), big);
    EXPECT_NE(combo.SetItemData(1, big), CB_ERR);
    EXPECT_EQ(combo.GetItemData(1), big);
  }
  EXPECT_NE(list.SetItemDataPtr(1, &dummy), LB_ERR);
  EXPECT_EQ(list.GetItemDataPtr(1), &dummy);
  EXPECT_NE(combo.SetItemDataPtr(2, &dummy), CB_ERR);
  EXPECT_EQ(combo.GetItemDataPtr(2), &dummy);
  list.UnsubclassWindow();
  combo.UnsubclassWindow();
}

TEST_F(ModelessExchange, ListBoxMembers) {
  CListBox list;
  ASSERT_TRUE(list.SubclassDlgItem(IDC_DLG_LIST, &dlg));
  list.ResetContent();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.AddString("one"), 0);
  EXPECT_EQ(list.AddString(L"three"), 1);
  EXPECT_EQ(list.InsertString(1, "two"), 1);
  EXPECT_EQ(list.GetCount(), 3);
  EXPECT_EQ(list.FindStringExact(-1, "TWO"), 1);
  EXPECT_EQ(list.FindString(-1, "th"), 2);
  EXPECT_EQ(list.FindStringExact(-1, "four"), LB_ERR);
  CString text;
  list.GetText(2, text);
  EXPECT_EQ(text, CString("three"));
  char narrow[16] = "";
  EXPECT_EQ(list.GetText(0, narrow), 3);
  EXPECT_STREQ(narrow, "one");
  EXPECT_EQ(list.GetTextLen(1), 3);
  EXPECT_EQ(list.SetCurSel(2), 2);
  EXPECT_EQ(list.GetCurSel(), 2);
  EXPECT_EQ(list.DeleteString(0), 2);
  list.GetText(0, text);
  EXPECT_EQ(text, CString("two"));
  list.SetTopIndex(1);
  list.UnsubclassWindow();
}

TEST_F(ModelessExchange, ComboBoxAndEditMembers) {
  CComboBox combo;
  CEdit edit;
  ASSERT_TRUE(combo.SubclassDlgItem(IDC_DLG_DROPDOWN, &dlg));
  ASSERT_TRUE(edit.SubclassDlgItem(IDC_DLG_UINT, &dlg));
  combo.ResetContent();
  EXPECT_EQ(combo.AddString("H"), 0);
  EXPECT_EQ(combo.AddString("V"), 1);
  EXPECT_EQ(combo.InsertString(0, "L"), 0);
  EXPECT_EQ(combo.GetCount(), 3);
  EXPECT_EQ(combo.FindStringExact(-1, "v"), 2);
  EXPECT_EQ(combo.SetCurSel(2), 2);
  EXPECT_EQ(combo.GetCurSel(), 2);
  char narrow[8] = "";
  EXPECT_EQ(combo.GetLBText(1, narrow), 1);
  EXPECT_STREQ(narrow, "H");
  EXPECT_EQ(combo.GetLBTextLen(0), 1);
  EXPECT_EQ(combo.SelectString(-1, "H"), 1);

  edit.SetWindowText("12345");
  edit.LimitText(4);
  EXPECT_EQ(edit.GetLimitText(), 4u);
  edit.SetSel(1, 3);
  int start = 0;
  int end = 0;
  edit.GetSel(start, end);
  EXPECT_EQ(start, 1);
  EXPECT_EQ(end, 3);
  edit.ReplaceSel("x");
  EXPECT_EQ(ItemText(dlg.m_hWnd, IDC_DLG_UINT), L"1x45");
  combo.UnsubclassWindow();
  edit.UnsubclassWindow();
}

TEST_F(ModelessExchange, ButtonMembers) {
  CButton check;
  ASSERT_TRUE(check.SubclassDlgItem(IDC_DLG_CHECK, &dlg));
  check.SetCheck(BST_UNCHECKED);
  EXPECT_EQ(check.GetCheck(), BST_UNCHECKED);
  check.SetCheck(BST_CHECKED);
  EXPECT_EQ(check.GetCheck(), BST_CHECKED);
  EXPECT_EQ(check.GetButtonStyle(), static_cast<UINT>(BS_AUTOCHECKBOX));
  check.UnsubclassWindow();
}

TEST_F(ModelessExchange, FocusMovesBetweenControls) {
  dlg.ShowWindow(SW_SHOW);
  ::SetActiveWindow(dlg.m_hWnd);
  CWnd* intEdit = dlg.GetDlgItem(IDC_DLG_INT);
  dlg.GotoDlgCtrl(intEdit);
  EXPECT_EQ(::GetFocus(), intEdit->m_hWnd);
  dlg.NextDlgCtrl();
  EXPECT_EQ(::GetFocus(), ::GetDlgItem(dlg.m_hWnd, IDC_DLG_UINT));
  dlg.PrevDlgCtrl();
  EXPECT_EQ(::GetFocus(), intEdit->m_hWnd);
  // A failed validation puts the focus on the control with the wrong value.
  MessageBoxRecorder boxes;
  ::SetDlgItemTextW(dlg.m_hWnd, IDC_DLG_REAL, L"not a number");
  EXPECT_FALSE(dlg.UpdateData(TRUE));
  EXPECT_EQ(::GetFocus(), ::GetDlgItem(dlg.m_hWnd, IDC_DLG_REAL));
}

TEST_F(ModelessExchange, CommonControlWrappers) {
  CTabCtrl tabs;
  CProgressCtrl progress;
  CSliderCtrl slider;
  CSpinButtonCtrl spin;
  ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 30), &dlg, 201));
  ASSERT_TRUE(progress.Create(WS_CHILD | WS_VISIBLE, CRect(0, 40, 200, 50), &dlg, 202));
  ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE, CRect(0, 60, 200, 80), &dlg, 203));
  ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE, CRect(0, 90, 20, 110), &dlg, 204));

  EXPECT_EQ(tabs.InsertItem(0, "OUTPUT"), 0);
  EXPECT_EQ(tabs.InsertItem(TCIF_TEXT | TCIF_PARAM, 1, L"VALUE", 0, 77), 1);
  EXPECT_EQ(tabs.GetItemCount(), 2);
  EXPECT_EQ(tabs.SetCurSel(1), 0);
  EXPECT_EQ(tabs.GetCurSel(), 1);
  TCITEMW item{};
  wchar_t text[16] = L"";
  item.mask = TCIF_TEXT | TCIF_PARAM;
  item.pszText = text;
  item.cchTextMax = 16;
  ASSERT_TRUE(tabs.GetItem(1, &item));
  EXPECT_STREQ(text, L"VALUE");
  EXPECT_EQ(item.lParam, 77);
  EXPECT_TRUE(tabs.DeleteItem(0));
  EXPECT_EQ(tabs.GetItemCount(), 1);

  progress.SetRange32(0, 100000);
  int lo = -1;
  int hi = -1;
  progress.GetRange(lo, hi);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 100000);
  progress.SetPos(70000);
  EXPECT_EQ(progress.GetPos(), 70000);
  progress.SetStep(10000);
  progress.StepIt();
  EXPECT_EQ(progress.GetPos(), 80000);
  EXPECT_EQ(progress.OffsetPos(5), 80000);

  slider.SetRange(-5, 70000);
  EXPECT_EQ(slider.GetRangeMin(), -5);
  EXPECT_EQ(slider.GetRangeMax(), 70000);
  slider.SetPos(1234);
  EXPECT_EQ(slider.GetPos(), 1234);
  // The slider's position travels through DDX_Slider like any other value.
  int pos = 0;
  CDataExchange save(&dlg, TRUE);
  DDX_Slider(&save, 203, pos);
  EXPECT_EQ(pos, 1234);

  spin.SetRange32(-10, 100000);
  int spinLo = 0;
  int spinHi = 0;
  spin.GetRange32(spinLo, spinHi);
  EXPECT_EQ(spinLo, -10);
  EXPECT_EQ(spinHi, 100000);
  spin.SetPos32(99999);
  EXPECT_EQ(spin.GetPos32(), 99999);
}

// Window messages of dialogs go through their maps like those of any window.
class CTimerDlg : public CDialog {
 public:
  CTimerDlg() : CDialog(IDD_DLG_NOFONT) {}
  int timers = 0;
  int destroyed = 0;

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    SetTimer(9, 1, nullptr);
    return TRUE;
  }
  afx_msg void OnTimer(UINT_PTR id) {
    if (id != 9) return;
    KillTimer(9);
    ++timers;
    EndDialog(IDOK);
  }
  afx_msg void OnDestroy() {
    ++destroyed;
    CDialog::OnDestroy();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTimerDlg, CDialog)
  ON_WM_TIMER()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

TEST(DialogMessages, TimerAndDestroyHandlersRun) {
  CTimerDlg dlg;
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.timers, 1);
  EXPECT_EQ(dlg.destroyed, 1);
}

// ---------------------------------------------------------------------------
// Modal

TEST(ModalDialog, OkSavesTheControlsAndEndsWithIdok) {
  CModalExchangeDlg dlg;
  bool visible = false;
  dlg.steps.push_back([&](auto& d) {
    visible = ::IsWindowVisible(d.m_hWnd) != FALSE;
    d.SetText(IDC_DLG_TEXT, L"changed");
    d.SetText(IDC_DLG_INT, L"64");
    ::CheckRadioButton(d.m_hWnd, IDC_DLG_RADIO1, IDC_DLG_RADIO3, IDC_DLG_RADIO1);
    d.Click(IDOK);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_TRUE(visible);
  EXPECT_EQ(dlg.initCalls, 1);
  EXPECT_EQ(dlg.m_text, CString("changed"));
  EXPECT_EQ(dlg.m_int, 64);
  EXPECT_EQ(dlg.m_radio, 0);
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  EXPECT_EQ(dlg.m_edit.m_hWnd, nullptr);
}

TEST(ModalDialog, CancelLeavesTheMembers) {
  CModalExchangeDlg dlg;
  dlg.steps.push_back([](auto& d) {
    d.SetText(IDC_DLG_TEXT, L"changed");
    d.Click(IDCANCEL);
  });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(dlg.m_text, CString("hello"));
}

TEST(ModalDialog, FailedValidationKeepsTheDialogOpenUntilTheValueIsRight) {
  MessageBoxRecorder boxes;
  CModalExchangeDlg dlg;
  bool openAfterFailure = false;
  size_t boxesAfterFailure = 0;
  dlg.steps.push_back([](auto& d) {
    d.SetText(IDC_DLG_INT, L"500");
    d.Click(IDOK);
  });
  dlg.steps.push_back([&](auto& d) {
    openAfterFailure = ::IsWindow(d.m_hWnd) && ::IsWindowVisible(d.m_hWnd);
    boxesAfterFailure = boxes.texts.size();
    d.SetText(IDC_DLG_INT, L"50");
    d.Click(IDOK);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_TRUE(openAfterFailure);
  EXPECT_EQ(boxesAfterFailure, 1u);
  EXPECT_EQ(dlg.m_int, 50);
}

TEST(ModalDialog, KeysNavigateTheDialog) {
  // Escape in a control cancels; Enter presses the default button (OK).
  for (const auto& [key, expected] : {std::pair{VK_ESCAPE, IDCANCEL}, std::pair{VK_RETURN, IDOK}}) {
    CModalExchangeDlg dlg;
    dlg.steps.push_back([key = key](auto& d) {
      HWND edit = ::GetDlgItem(d.m_hWnd, IDC_DLG_TEXT);
      ::SetFocus(edit);
      ::PostMessageW(edit, WM_KEYDOWN, static_cast<WPARAM>(key), 1);
      ::PostMessageW(edit, WM_KEYUP, static_cast<WPARAM>(key), 0xC0000001);
    });
    EXPECT_EQ(dlg.DoModal(), expected) << "key " << key;
  }
}

TEST(ModalDialog, ButtonHandlerRunsAndTheLoopIdles) {
  CModalExchangeDlg dlg;
  dlg.steps.push_back([](auto& d) { d.Click(IDC_DLG_PRESS); });
  dlg.steps.push_back([](auto& d) { ::SendDlgItemMessageW(d.m_hWnd, IDC_DLG_PRESS, BM_CLICK, 0, 0); });
  EXPECT_EQ(dlg.DoModal(), dlgtest::kScriptExhausted);
  EXPECT_EQ(dlg.pressed, 2);
}

// The loop gives idle time: WM_KICKIDLE reaches the dialog when the queue
// is empty.  Here nothing is posted, so only idle time can close it.
class CIdleClosingDlg : public CDialog {
 public:
  CIdleClosingDlg() : CDialog(IDD_DLG_NOFONT) {}
  int kicks = 0;
  int inits = 0;
  int pressed = 0;

 protected:
  BOOL OnInitDialog() override {
    ++inits;
    return CDialog::OnInitDialog();
  }
  afx_msg LRESULT OnKickIdle(WPARAM, LPARAM) {
    if (++kicks == 1) {
      // A template without a font: the object got its window all the same.
      SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DLG_PRESS, BN_CLICKED),
                  reinterpret_cast<LPARAM>(::GetDlgItem(m_hWnd, IDC_DLG_PRESS)));
      EndDialog(77);
    }
    return 0;
  }
  afx_msg void OnPress() { ++pressed; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CIdleClosingDlg, CDialog)
  ON_MESSAGE(WM_KICKIDLE, &ThisClass::OnKickIdle)
  ON_BN_CLICKED(IDC_DLG_PRESS, &ThisClass::OnPress)
END_MESSAGE_MAP()

TEST(ModalDialog, IdleTimeReachesTheDialog) {
  CIdleClosingDlg dlg;
  EXPECT_EQ(dlg.DoModal(), 77);
  EXPECT_EQ(dlg.inits, 1);
  EXPECT_EQ(dlg.kicks, 1);
  EXPECT_EQ(dlg.pressed, 1);
}

// A thread timer (no window) presses Cancel on whatever dialog is up.
CDialog* g_timerTarget = nullptr;
void CALLBACK PressCancel(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  if (g_timerTarget && g_timerTarget->m_hWnd)
    g_timerTarget->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                               reinterpret_cast<LPARAM>(::GetDlgItem(g_timerTarget->m_hWnd, IDCANCEL)));
}

TEST(ModalDialog, TimerOfTheThreadRunsDuringTheModalLoop) {
  CExchangeDlg dlg;
  g_timerTarget = &dlg;
  ASSERT_NE(::SetTimer(nullptr, 0, 10, &PressCancel), 0u);
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  g_timerTarget = nullptr;
}

// The owner is disabled while the dialog runs and hears that it idles.
int g_ownerEnterIdle = 0;
LRESULT CALLBACK OwnerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ENTERIDLE && wp == MSGF_DIALOGBOX) ++g_ownerEnterIdle;
  return ::DefWindowProcW(h, msg, wp, lp);
}

class COwnedDlg : public CDialog {
 public:
  explicit COwnedDlg(CWnd* parent) : CDialog(IDD_DLG_NOFONT, parent) {}
  bool ownerEnabled = true;
  HWND owner = nullptr;
  int enterIdleSeen = 0;

 protected:
  afx_msg LRESULT OnKickIdle(WPARAM, LPARAM) {
    owner = ::GetWindow(m_hWnd, GW_OWNER);
    ownerEnabled = ::IsWindowEnabled(owner) != FALSE;
    enterIdleSeen = g_ownerEnterIdle;
    EndDialog(IDCANCEL);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COwnedDlg, CDialog)
  ON_MESSAGE(WM_KICKIDLE, &ThisClass::OnKickIdle)
END_MESSAGE_MAP()

TEST(ModalDialog, OwnerIsDisabledWhileTheDialogRuns) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = &OwnerProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"OrbDlgTestOwner";
  ::RegisterClassW(&wc);
  HWND owner = ::CreateWindowExW(0, L"OrbDlgTestOwner", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                 100, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(owner, nullptr);
  ::ShowWindow(owner, SW_SHOW);
  {
    COwnedDlg dlg(CWnd::FromHandle(owner));
    g_ownerEnterIdle = 0;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.owner, owner);
    EXPECT_FALSE(dlg.ownerEnabled);
    EXPECT_GE(dlg.enterIdleSeen, 1);
    EXPECT_TRUE(::IsWindowEnabled(owner));
  }
  ::DestroyWindow(owner);
}

TEST(ModalDialog, EndingFromInitDialogSkipsTheLoop) {
  class CQuickDlg : public CDialog {
   public:
    CQuickDlg() : CDialog(IDD_DLG_NOFONT) {}
    BOOL OnInitDialog() override {
      CDialog::OnInitDialog();
      EndDialog(5);
      return TRUE;
    }
  } dlg;
  EXPECT_EQ(dlg.DoModal(), 5);
  EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST(ModalDialog, MissingTemplateFailsCleanly) {
  CDialog dlg(4321);
  EXPECT_EQ(dlg.DoModal(), -1);
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  CDialog named("NO_SUCH_DIALOG");
  EXPECT_EQ(named.DoModal(), -1);
  EXPECT_FALSE(named.Create(4321));
}

TEST(ModalDialog, SameObjectRunsTwice) {
  CModalExchangeDlg dlg;
  dlg.steps.push_back([](auto& d) { d.Click(IDCANCEL); });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  dlg.nextStep = 0;
  dlg.steps[0] = [](auto& d) {
    d.SetText(IDC_DLG_INT, L"3");
    d.Click(IDOK);
  };
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.m_int, 3);
  EXPECT_EQ(dlg.initCalls, 2);
}

}  // namespace
