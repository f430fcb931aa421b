// Windows: creation through the hook, message maps (chained and overridden
// entries), subclassing, the handle map, commands with their update
// handlers, notifications and their reflection.
#include <afxwin.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT kPing = WM_APP + 1;
constexpr UINT kPong = WM_APP + 2;
const UINT kRegistered = ::RegisterWindowMessageW(L"OrbMfcWindowTestMessage");

class CBaseWnd : public CWnd {
 public:
  std::vector<std::string> log;
  LPVOID createParam = nullptr;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
    log.push_back("create");
    createParam = lpCreateStruct->lpCreateParams;
    return CWnd::OnCreate(lpCreateStruct);
  }
  afx_msg LRESULT OnNcCreate(WPARAM, LPARAM) {
    log.push_back("nccreate");
    return Default();
  }
  afx_msg void OnSize(UINT, int cx, int cy) { log.push_back("base-size " + std::to_string(cx) + "x" + std::to_string(cy)); }
  afx_msg LRESULT OnPing(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam) + lParam; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
  ON_WM_CREATE()
  ON_MESSAGE(WM_NCCREATE, &CBaseWnd::OnNcCreate)
  ON_WM_SIZE()
  ON_MESSAGE(kPing, &CBaseWnd::OnPing)
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd {
 public:
  CPoint hitPoint;
  std::string section;

 protected:
  afx_msg void OnSize(UINT nType, int cx, int cy) {
    log.push_back("derived-size");
    CBaseWnd::OnSize(nType, cx, cy);
  }
  afx_msg LRESULT OnPong(WPARAM, LPARAM) { return 77; }
  afx_msg LRESULT OnRegistered(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam) * 2; }
  afx_msg LRESULT OnNcHitTest(CPoint point) {
    hitPoint = point;
    return HTCAPTION;
  }
  afx_msg void OnSettingChange(UINT, const char* lpszSection) { section = lpszSection ? lpszSection : "(null)"; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
  ON_WM_SIZE()
  ON_MESSAGE(kPong, &CDerivedWnd::OnPong)
  ON_REGISTERED_MESSAGE(kRegistered, &CDerivedWnd::OnRegistered)
  ON_WM_NCHITTEST()
  ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

BOOL CreateHidden(CWnd& wnd, LPVOID param = nullptr) {
  return wnd.CreateEx(0, nullptr, L"test", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, param);
}

TEST(Window, CreationMessagesReachTheMap) {
  CBaseWnd wnd;
  int marker = 0;
  ASSERT_TRUE(CreateHidden(wnd, &marker));
  ASSERT_NE(wnd.m_hWnd, nullptr);
  ASSERT_GE(wnd.log.size(), 2u);
  EXPECT_EQ(wnd.log[0], "nccreate");
  EXPECT_NE(std::find(wnd.log.begin(), wnd.log.end(), "create"), wnd.log.end());
  EXPECT_EQ(wnd.createParam, &marker);
  EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
  EXPECT_EQ(::SendMessageW(wnd.m_hWnd, WM_QUERYAFXWNDPROC, 0, 0), 1);
  // The default handling still runs: the caption is there.
  CString text;
  wnd.GetWindowText(text);
  EXPECT_STREQ(text, L"test");
  HWND hWnd = wnd.m_hWnd;
  EXPECT_TRUE(wnd.DestroyWindow());
  EXPECT_EQ(wnd.m_hWnd, nullptr);
  EXPECT_FALSE(::IsWindow(hWnd));
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

class CRefusingWnd : public CWnd {
 protected:
  afx_msg int OnCreate(LPCREATESTRUCT) { return -1; }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CRefusingWnd, CWnd)
  ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(Window, RefusedCreationLeavesNoWindow) {
  CRefusingWnd wnd;
  EXPECT_FALSE(CreateHidden(wnd));
  EXPECT_EQ(wnd.m_hWnd, nullptr);
}

TEST(MessageMap, DerivedEntriesOverrideAndBaseEntriesStay) {
  CDerivedWnd wnd;
  ASSERT_TRUE(CreateHidden(wnd));
  wnd.log.clear();
  ::SendMessageW(wnd.m_hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(30, 40));
  ASSERT_EQ(wnd.log.size(), 2u);
  EXPECT_EQ(wnd.log[0], "derived-size");
  EXPECT_EQ(wnd.log[1], "base-size 30x40");
  // The base class's entry through the derived object, the derived one's own.
  EXPECT_EQ(::SendMessageW(wnd.m_hWnd, kPing, 5, 6), 11);
  EXPECT_EQ(::SendMessageW(wnd.m_hWnd, kPong, 0, 0), 77);
  EXPECT_EQ(::SendMessageW(wnd.m_hWnd, kRegistered, 21, 0), 42);
  // Screen coordinates left of the primary monitor stay negative.
  EXPECT_EQ(::SendMessageW(wnd.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(-5, 10)), HTCAPTION);
  EXPECT_EQ(wnd.hitPoint, CPoint(-5, 10));
  ::SendMessageW(wnd.m_hWnd, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
  EXPECT_EQ(wnd.section, "intl");
  wnd.DestroyWindow();

  // A base-class object has no derived entries: default handling (0).
  CBaseWnd base;
  ASSERT_TRUE(CreateHidden(base));
  EXPECT_EQ(::SendMessageW(base.m_hWnd, kPong, 0, 0), 0);
  EXPECT_EQ(::SendMessageW(base.m_hWnd, kPing, 1, 1), 2);
  base.DestroyWindow();
}

// A control run through the map: its own window procedure handles the rest.
class CTextSpy : public CWnd {
 public:
  std::vector<std::wstring> texts;

 protected:
  afx_msg LRESULT OnSetText(WPARAM, LPARAM lParam) {
    texts.push_back(reinterpret_cast<LPCWSTR>(lParam));
    return Default();
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTextSpy, CWnd)
  ON_MESSAGE(WM_SETTEXT, &CTextSpy::OnSetText)
END_MESSAGE_MAP()

TEST(Window, SubclassedControlKeepsItsBehaviour) {
  CBaseWnd parent;
  ASSERT_TRUE(CreateHidden(parent));
  HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 50, 20, parent.m_hWnd,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(42)), nullptr, nullptr);
  ASSERT_NE(edit, nullptr);
  CTextSpy spy;
  ASSERT_TRUE(spy.SubclassDlgItem(42, &parent));
  EXPECT_EQ(spy.m_hWnd, edit);
  EXPECT_NE(spy.m_pfnSuper, nullptr);
  spy.SetWindowText("first");
  ASSERT_EQ(spy.texts.size(), 1u);
  EXPECT_EQ(spy.texts[0], L"first");
  CString text;
  spy.GetWindowText(text);
  EXPECT_STREQ(text, L"first");  // the edit control stored it

  EXPECT_EQ(spy.UnsubclassWindow(), edit);
  ::SetWindowTextW(edit, L"second");
  EXPECT_EQ(spy.texts.size(), 1u);
  EXPECT_EQ(CWnd::FromHandlePermanent(edit), nullptr);
  wchar_t buffer[16] = {};
  ::GetWindowTextW(edit, buffer, 16);
  EXPECT_STREQ(buffer, L"second");
  parent.DestroyWindow();
}

TEST(Window, CreatingAControlClassSubclassesIt) {
  CBaseWnd parent;
  ASSERT_TRUE(CreateHidden(parent));
  CTextSpy button;
  ASSERT_TRUE(button.Create(L"BUTTON", "caption", WS_CHILD | BS_PUSHBUTTON, CRect(0, 0, 40, 20), &parent, 7));
  EXPECT_EQ(button.GetDlgCtrlID(), 7);
  EXPECT_NE(button.m_pfnSuper, nullptr);
  EXPECT_EQ(button.GetParent(), &parent);
  button.SetWindowText(L"other");
  EXPECT_EQ(button.texts.size(), 1u);
  EXPECT_EQ(::SendMessageW(button.m_hWnd, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON, DLGC_BUTTON);
  // Child windows go with their parent; their objects are detached.
  parent.DestroyWindow();
  EXPECT_EQ(button.m_hWnd, nullptr);
}

TEST(HandleMap, ForeignWindowsGetTemporaryWrappers) {
  HWND foreign = ::CreateWindowExW(0, L"STATIC", L"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(foreign, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(foreign), nullptr);
  CWnd* temp = CWnd::FromHandle(foreign);
  ASSERT_NE(temp, nullptr);
  EXPECT_EQ(temp->m_hWnd, foreign);
  EXPECT_EQ(CWnd::FromHandle(foreign), temp);
  EXPECT_TRUE(temp->m_nFlags & WF_TEMPORARY);
  AfxDeleteTempMaps();
  EXPECT_TRUE(::IsWindow(foreign));  // deleting the wrapper leaves the window
  EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);

  CWnd attached;
  ASSERT_TRUE(attached.Attach(foreign));
  EXPECT_EQ(CWnd::FromHandle(foreign), &attached);
  CWnd second;
  EXPECT_FALSE(second.Attach(foreign));
  EXPECT_EQ(attached.Detach(), foreign);
  EXPECT_EQ(CWnd::FromHandlePermanent(foreign), nullptr);
  ::DestroyWindow(foreign);
}

class CSelfDeleting : public CWnd {
 public:
  explicit CSelfDeleting(bool* deleted) : m_deleted(deleted) {}
  ~CSelfDeleting() override { *m_deleted = true; }

 protected:
  void PostNcDestroy() override { delete this; }

 private:
  bool* m_deleted;
};

TEST(Window, PostNcDestroyRunsLastAndMayDeleteTheObject) {
  bool deleted = false;
  auto* wnd = new CSelfDeleting(&deleted);
  ASSERT_TRUE(CreateHidden(*wnd));
  HWND hWnd = wnd->m_hWnd;
  ::DestroyWindow(hWnd);
  EXPECT_TRUE(deleted);
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(Window, ObjectDestroyedFirstTakesItsWindow) {
  HWND hWnd;
  {
    CBaseWnd wnd;
    ASSERT_TRUE(CreateHidden(wnd));
    hWnd = wnd.m_hWnd;
  }
  EXPECT_FALSE(::IsWindow(hWnd));
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

// ---------------------------------------------------------------------------
// Commands

constexpr UINT kCmdGuarded = 40001;
constexpr UINT kCmdFree = 40002;
constexpr UINT kCmdNoHandler = 40003;
constexpr UINT kCmdRangeFirst = 40010;
constexpr UINT kCmdRangeLast = 40012;

class CCommandWnd : public CWnd {
 public:
  bool guardedEnabled = true;
  int guardedRuns = 0;
  int freeRuns = 0;
  std::vector<UINT> rangeRuns;

 protected:
  afx_msg void OnGuarded() { ++guardedRuns; }
  afx_msg void OnUpdateGuarded(CCmdUI* pCmdUI) { pCmdUI->Enable(guardedEnabled); }
  afx_msg void OnFree() { ++freeRuns; }
  afx_msg void OnRange(UINT nID) { rangeRuns.push_back(nID); }
  afx_msg void OnUpdateRange(CCmdUI* pCmdUI) { pCmdUI->Enable(pCmdUI->m_nID != kCmdRangeLast); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCommandWnd, CWnd)
  ON_COMMAND(kCmdGuarded, &CCommandWnd::OnGuarded)
  ON_UPDATE_COMMAND_UI(kCmdGuarded, &CCommandWnd::OnUpdateGuarded)
  ON_COMMAND(kCmdFree, &CCommandWnd::OnFree)
  ON_COMMAND_RANGE(kCmdRangeFirst, kCmdRangeLast, &CCommandWnd::OnRange)
  ON_UPDATE_COMMAND_UI_RANGE(kCmdRangeFirst, kCmdRangeLast, &CCommandWnd::OnUpdateRange)
END_MESSAGE_MAP()

// Records what an update did.
class CRecordingCmdUI : public CCmdUI {
 public:
  int enabled = -1;
  int checked = -1;
  CString text;
  void Enable(BOOL bOn) override {
    enabled = bOn ? 1 : 0;
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int nCheck) override { checked = nCheck; }
  void SetText(CStrArg lpszText) override { text = lpszText.get(); }
};

TEST(Commands, DisabledCommandIsNotRun) {
  CCommandWnd wnd;
  ASSERT_TRUE(CreateHidden(wnd));
  ::SendMessageW(wnd.m_hWnd, WM_COMMAND, MAKEWPARAM(kCmdGuarded, 0), 0);
  EXPECT_EQ(wnd.guardedRuns, 1);
  wnd.guardedEnabled = false;
  ::SendMessageW(wnd.m_hWnd, WM_COMMAND, MAKEWPARAM(kCmdGuarded, 0), 0);
  ::SendMessageW(wnd.m_hWnd, WM_COMMAND, MAKEWPARAM(kCmdGuarded, 1), 0);  // accelerator
  EXPECT_EQ(wnd.guardedRuns, 1);
  // Without an update handler a command runs.
  ::SendMessageW(wnd.m_hWnd, WM_COMMAND, MAKEWPARAM(kCmdFree, 0), 0);
  EXPECT_EQ(wnd.freeRuns, 1);
  // Ranges: the id is passed; the last one is disabled by its update handler.
  for (UINT id = kCmdRangeFirst; id <= kCmdRangeLast + 1; ++id)
    ::SendMessageW(wnd.m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
  EXPECT_EQ(wnd.rangeRuns, (std::vector<UINT>{kCmdRangeFirst, kCmdRangeFirst + 1}));
  wnd.DestroyWindow();
}

TEST(Commands, UpdatesDisableItemsWithoutHandler) {
  CCommandWnd wnd;
  CRecordingCmdUI ui;
  ui.m_nID = kCmdGuarded;
  wnd.guardedEnabled = false;
  EXPECT_TRUE(ui.DoUpdate(&wnd, TRUE));
  EXPECT_EQ(ui.enabled, 0);

  CRecordingCmdUI free;
  free.m_nID = kCmdFree;  // a command handler, no update handler
  EXPECT_FALSE(free.DoUpdate(&wnd, TRUE));
  EXPECT_EQ(free.enabled, 1);

  CRecordingCmdUI orphan;
  orphan.m_nID = kCmdNoHandler;
  EXPECT_FALSE(orphan.DoUpdate(&wnd, TRUE));
  EXPECT_EQ(orphan.enabled, 0);
  CRecordingCmdUI untouched;
  untouched.m_nID = kCmdNoHandler;
  untouched.DoUpdate(&wnd, FALSE);
  EXPECT_EQ(untouched.enabled, -1);

  AFX_CMDHANDLERINFO info{nullptr, nullptr};
  EXPECT_TRUE(wnd.OnCmdMsg(kCmdFree, CN_COMMAND, nullptr, &info));
  EXPECT_EQ(info.pTarget, &wnd);
  EXPECT_EQ(wnd.freeRuns, 0);  // asking does not run it
  EXPECT_FALSE(wnd.OnCmdMsg(kCmdNoHandler, CN_COMMAND, nullptr, &info));
}

TEST(Commands, UpdateOfAMenuItem) {
  CCommandWnd wnd;
  CMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  ASSERT_TRUE(menu.AppendMenu(MF_STRING, kCmdGuarded, "Guarded"));
  ASSERT_TRUE(menu.AppendMenu(MF_STRING, kCmdNoHandler, L"Orphan"));
  EXPECT_EQ(menu.GetMenuItemCount(), 2);
  EXPECT_EQ(menu.GetMenuItemID(1), kCmdNoHandler);
  CCmdUI ui;
  ui.m_pMenu = &menu;
  ui.m_nIndexMax = 2;
  wnd.guardedEnabled = false;
  for (ui.m_nIndex = 0; ui.m_nIndex < ui.m_nIndexMax; ++ui.m_nIndex) {
    ui.m_nID = menu.GetMenuItemID(static_cast<int>(ui.m_nIndex));
    ui.DoUpdate(&wnd, TRUE);
  }
  EXPECT_TRUE(menu.GetMenuState(0, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_TRUE(menu.GetMenuState(1, MF_BYPOSITION) & MF_GRAYED);
  ui.m_nIndex = 0;
  ui.m_nID = kCmdGuarded;
  ui.SetCheck(1);
  ui.SetText("Renamed");
  EXPECT_TRUE(menu.GetMenuState(kCmdGuarded, MF_BYCOMMAND) & MF_CHECKED);
  CString text;
  menu.GetMenuString(kCmdGuarded, text, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"Renamed");
}

// ---------------------------------------------------------------------------
// Notifications

constexpr UINT kChildId = 300;
constexpr UINT kOtherChildId = 301;
constexpr UINT kCustomNotify = 0U - 2000U;

class CNotifyChild : public CWnd {
 public:
  int reflected = 0;
  int reflectedEx = 0;
  int clicked = 0;

 protected:
  afx_msg void OnReflectedDblClk(NMHDR*, LRESULT* pResult) {
    ++reflected;
    *pResult = 5;
  }
  afx_msg BOOL OnReflectedCustom(NMHDR*, LRESULT*) {
    ++reflectedEx;
    return FALSE;  // the parent handles it too
  }
  afx_msg void OnReflectedClicked() { ++clicked; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNotifyChild, CWnd)
  ON_NOTIFY_REFLECT(NM_DBLCLK, &CNotifyChild::OnReflectedDblClk)
  ON_NOTIFY_REFLECT_EX(kCustomNotify, &CNotifyChild::OnReflectedCustom)
  ON_CONTROL_REFLECT(BN_CLICKED, &CNotifyChild::OnReflectedClicked)
END_MESSAGE_MAP()

class CNotifyParent : public CWnd {
 public:
  std::vector<std::string> log;

 protected:
  afx_msg void OnChildClick(NMHDR* pNMHDR, LRESULT* pResult) {
    log.push_back("click " + std::to_string(pNMHDR->idFrom));
    *pResult = 9;
  }
  afx_msg void OnChildDblClk(NMHDR*, LRESULT*) { log.push_back("parent dblclk"); }
  afx_msg void OnCustom(NMHDR*, LRESULT*) { log.push_back("parent custom"); }
  afx_msg void OnRangeNotify(UINT id, NMHDR*, LRESULT*) { log.push_back("range " + std::to_string(id)); }
  afx_msg void OnChildClicked() { log.push_back("parent clicked"); }
  afx_msg void OnOtherClicked() { log.push_back("other clicked"); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNotifyParent, CWnd)
  ON_NOTIFY(NM_CLICK, kChildId, &CNotifyParent::OnChildClick)
  ON_NOTIFY(NM_DBLCLK, kChildId, &CNotifyParent::OnChildDblClk)
  ON_NOTIFY(kCustomNotify, kChildId, &CNotifyParent::OnCustom)
  ON_NOTIFY_RANGE(NM_RCLICK, kChildId, kOtherChildId, &CNotifyParent::OnRangeNotify)
  ON_BN_CLICKED(kChildId, &CNotifyParent::OnChildClicked)
  ON_BN_CLICKED(kOtherChildId, &CNotifyParent::OnOtherClicked)
END_MESSAGE_MAP()

LRESULT Notify(HWND parent, HWND child, UINT id, UINT code) {
  NMHDR header{};
  header.hwndFrom = child;
  header.idFrom = id;
  header.code = code;
  return ::SendMessageW(parent, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header));
}

TEST(Notifications, ReachParentOrReflectToChild) {
  CNotifyParent parent;
  ASSERT_TRUE(CreateHidden(parent));
  CNotifyChild child;
  ASSERT_TRUE(child.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), &parent, kChildId));
  HWND other = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, parent.m_hWnd,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kOtherChildId)), nullptr, nullptr);

  EXPECT_EQ(Notify(parent.m_hWnd, child.m_hWnd, kChildId, NM_CLICK), 9);
  // Handled by the child's reflection entry: the parent's entry is not run.
  EXPECT_EQ(Notify(parent.m_hWnd, child.m_hWnd, kChildId, NM_DBLCLK), 5);
  EXPECT_EQ(child.reflected, 1);
  // A reflection handler that declines lets the parent handle it too.
  Notify(parent.m_hWnd, child.m_hWnd, kChildId, kCustomNotify);
  EXPECT_EQ(child.reflectedEx, 1);
  // Ranges pass the id; a window without an object reflects nothing.
  Notify(parent.m_hWnd, other, kOtherChildId, NM_RCLICK);
  // Control notifications through WM_COMMAND.
  ::SendMessageW(parent.m_hWnd, WM_COMMAND, MAKEWPARAM(kChildId, BN_CLICKED), reinterpret_cast<LPARAM>(child.m_hWnd));
  ::SendMessageW(parent.m_hWnd, WM_COMMAND, MAKEWPARAM(kOtherChildId, BN_CLICKED), reinterpret_cast<LPARAM>(other));
  EXPECT_EQ(child.clicked, 1);
  // Unknown notifications are left alone.
  EXPECT_EQ(Notify(parent.m_hWnd, other, kOtherChildId, NM_RETURN), 0);

  EXPECT_EQ(parent.log, (std::vector<std::string>{"click 300", "parent custom", "range 301", "other clicked"}));
  parent.DestroyWindow();
}

// ---------------------------------------------------------------------------
// Scroll and colour messages about controls; dialog control updates

class CScrollSpy : public CWnd {
 public:
  int reflectedScrolls = 0;

 protected:
  afx_msg LRESULT OnReflectedHScroll(WPARAM, LPARAM) {
    ++reflectedScrolls;
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CScrollSpy, CWnd)
  ON_MESSAGE(WM_REFLECT_BASE + WM_HSCROLL, &CScrollSpy::OnReflectedHScroll)
END_MESSAGE_MAP()

constexpr UINT kGuardedButton = 1001;
constexpr UINT kOrphanButton = 1002;
constexpr UINT kHandledButton = 1003;
constexpr UINT kOrphanCheckBox = 1004;

class CControlParent : public CWnd {
 public:
  std::vector<HWND> scrollBars;
  std::vector<UINT> scrollCodes;
  UINT lastCtlColor = 0xFFFF;

 protected:
  afx_msg void OnHScroll(UINT nSBCode, UINT, CWnd* pScrollBar) {
    scrollCodes.push_back(nSBCode);
    scrollBars.push_back(pScrollBar ? pScrollBar->m_hWnd : nullptr);
  }
  afx_msg HBRUSH OnCtlColor(CDC*, CWnd*, UINT nCtlColor) {
    lastCtlColor = nCtlColor;
    return static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
  }
  afx_msg void OnUpdateGuarded(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
  afx_msg void OnHandled() {}
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CControlParent, CWnd)
  ON_WM_HSCROLL()
  ON_WM_CTLCOLOR()
  ON_UPDATE_COMMAND_UI(kGuardedButton, &CControlParent::OnUpdateGuarded)
  ON_BN_CLICKED(kHandledButton, &CControlParent::OnHandled)
END_MESSAGE_MAP()

HWND Child(HWND parent, LPCWSTR cls, DWORD style, UINT id) {
  return ::CreateWindowExW(0, cls, L"", WS_CHILD | style, 0, 0, 20, 20, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
}

TEST(Reflection, ScrollAndColourMessagesGoToTheControlFirst) {
  CControlParent parent;
  ASSERT_TRUE(CreateHidden(parent));
  CScrollSpy spy;
  ASSERT_TRUE(spy.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), &parent, 1));
  HWND foreign = Child(parent.m_hWnd, L"SCROLLBAR", SBS_HORZ, 2);
  ::SendMessageW(parent.m_hWnd, WM_HSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(spy.m_hWnd));
  EXPECT_EQ(spy.reflectedScrolls, 1);
  ::SendMessageW(parent.m_hWnd, WM_HSCROLL, SB_PAGEUP, reinterpret_cast<LPARAM>(foreign));
  ::SendMessageW(parent.m_hWnd, WM_HSCROLL, SB_TOP, 0);
  EXPECT_EQ(parent.scrollCodes, (std::vector<UINT>{SB_PAGEUP, SB_TOP}));
  EXPECT_EQ(parent.scrollBars, (std::vector<HWND>{foreign, nullptr}));

  HDC dc = ::GetDC(parent.m_hWnd);
  const LRESULT brush = ::SendMessageW(parent.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(foreign));
  ::ReleaseDC(parent.m_hWnd, dc);
  EXPECT_EQ(brush, reinterpret_cast<LRESULT>(::GetStockObject(GRAY_BRUSH)));
  EXPECT_EQ(parent.lastCtlColor, static_cast<UINT>(CTLCOLOR_STATIC));
  parent.DestroyWindow();
}

TEST(Commands, DialogControlsFollowTheirUpdates) {
  CControlParent parent;
  ASSERT_TRUE(CreateHidden(parent));
  HWND guarded = Child(parent.m_hWnd, L"BUTTON", BS_PUSHBUTTON, kGuardedButton);
  HWND orphan = Child(parent.m_hWnd, L"BUTTON", BS_PUSHBUTTON, kOrphanButton);
  HWND handled = Child(parent.m_hWnd, L"BUTTON", BS_DEFPUSHBUTTON, kHandledButton);
  HWND check = Child(parent.m_hWnd, L"BUTTON", BS_AUTOCHECKBOX, kOrphanCheckBox);
  parent.UpdateDialogControls(&parent, TRUE);
  EXPECT_FALSE(::IsWindowEnabled(guarded));
  EXPECT_FALSE(::IsWindowEnabled(orphan));
  EXPECT_TRUE(::IsWindowEnabled(handled));
  EXPECT_TRUE(::IsWindowEnabled(check));  // only push buttons go without a handler
  ::EnableWindow(orphan, TRUE);
  parent.UpdateDialogControls(&parent, FALSE);
  EXPECT_TRUE(::IsWindowEnabled(orphan));
  EXPECT_FALSE(::IsWindowEnabled(guarded));
  parent.DestroyWindow();
}

// ---------------------------------------------------------------------------
// Services

TEST(Window, StyleTextAndGeometryServices) {
  CBaseWnd wnd;
  ASSERT_TRUE(CreateHidden(wnd));
  EXPECT_TRUE(wnd.ModifyStyle(WS_MAXIMIZEBOX, 0));
  EXPECT_FALSE(wnd.GetStyle() & WS_MAXIMIZEBOX);
  EXPECT_FALSE(wnd.ModifyStyle(WS_MAXIMIZEBOX, 0));  // nothing to change
  EXPECT_TRUE(wnd.ModifyStyleEx(0, WS_EX_TOOLWINDOW));
  EXPECT_TRUE(wnd.GetExStyle() & WS_EX_TOOLWINDOW);
  wnd.MoveWindow(10, 20, 150, 90);
  CRect rect;
  wnd.GetWindowRect(&rect);
  EXPECT_EQ(rect, CRect(10, 20, 160, 110));
  CRect client;
  wnd.GetClientRect(&client);
  CPoint origin(0, 0);
  wnd.ClientToScreen(&origin);
  CRect screen = client;
  wnd.ClientToScreen(&screen);
  EXPECT_EQ(screen.TopLeft(), origin);
  wnd.ScreenToClient(&screen);
  EXPECT_EQ(screen, client);
  CRect calc = client;
  wnd.CalcWindowRect(&calc);
  EXPECT_EQ(calc.Width(), rect.Width());
  EXPECT_EQ(calc.Height(), rect.Height());
  wnd.DestroyWindow();
}

}  // namespace
