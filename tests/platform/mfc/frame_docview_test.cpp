// Documents, templates, frames and views: dynamic creation through a
// single-document template, command routing (view, document, frame,
// application), update-UI of menus, toolbar buttons and status panes, the
// status bar's prompts and the bar toggles of the View menu.  Everything is
// read back through the windows' own messages.
#include <afxwin.h>
#include <afxext.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame_test_ids.h"
#include "frame_test_support.h"

namespace {

std::vector<std::string> g_handled;

}  // namespace

// ---------------------------------------------------------------------------
// The document, view, frame and application of the tests.

class CTestDoc : public CDocument {
  DECLARE_DYNCREATE(CTestDoc)

 public:
  CTestDoc() { ++s_instances; }
  ~CTestDoc() override { --s_instances; }

  BOOL OnNewDocument() override {
    ++m_newDocumentCalls;
    return CDocument::OnNewDocument();
  }
  void DeleteContents() override { ++m_deleteContentsCalls; }

  afx_msg void OnDoc() { g_handled.push_back("doc"); }
  afx_msg void OnAll() { g_handled.push_back("doc"); }
  afx_msg void OnDocApp() { g_handled.push_back("doc"); }
  afx_msg void OnUpdatePane(CCmdUI* pCmdUI) {
    pCmdUI->Enable(TRUE);
    pCmdUI->SetText(L"doc text");
  }
  DECLARE_MESSAGE_MAP()

 public:
  static int s_instances;
  int m_newDocumentCalls = 0;
  int m_deleteContentsCalls = 0;
};

int CTestDoc::s_instances = 0;

IMPLEMENT_DYNCREATE(CTestDoc, CDocument)

BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
  ON_COMMAND(ID_TEST_DOC, &CTestDoc::OnDoc)
  ON_COMMAND(ID_TEST_ALL, &CTestDoc::OnAll)
  ON_COMMAND(ID_TEST_DOC_APP, &CTestDoc::OnDocApp)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_TEST, &CTestDoc::OnUpdatePane)
END_MESSAGE_MAP()

class CTestView : public CView {
  DECLARE_DYNCREATE(CTestView)

 public:
  void OnDraw(CDC*) override {}
  void OnInitialUpdate() override {
    ++m_initialUpdates;
    CView::OnInitialUpdate();
  }
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override {
    m_updates.push_back(lHint);
    CView::OnUpdate(pSender, lHint, pHint);
  }

  afx_msg void OnView() { g_handled.push_back("view"); }
  afx_msg void OnAll() { g_handled.push_back("view"); }
  afx_msg void OnChecked() { g_handled.push_back("checked"); }
  afx_msg void OnUpdateChecked(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
  DECLARE_MESSAGE_MAP()

 public:
  int m_initialUpdates = 0;
  std::vector<LPARAM> m_updates;
};

IMPLEMENT_DYNCREATE(CTestView, CView)

BEGIN_MESSAGE_MAP(CTestView, CView)
  ON_COMMAND(ID_TEST_VIEW, &CTestView::OnView)
  ON_COMMAND(ID_TEST_ALL, &CTestView::OnAll)
  ON_COMMAND(ID_TEST_CHECKED, &CTestView::OnChecked)
  ON_UPDATE_COMMAND_UI(ID_TEST_CHECKED, &CTestView::OnUpdateChecked)
END_MESSAGE_MAP()

class CTestFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CTestFrame)

 public:
  CToolBar m_wndToolBar;
  CStatusBar m_wndStatusBar;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                               WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS |
                                   CBRS_SIZE_DYNAMIC) ||
        !m_wndToolBar.LoadToolBar(IDR_TESTFRAME))
      return -1;
    static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_TEST, ID_INDICATOR_CAPS};
    if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 3)) return -1;
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    return 0;
  }
  afx_msg void OnFrame() { g_handled.push_back("frame"); }
  afx_msg void OnAll() { g_handled.push_back("frame"); }
  afx_msg void OnFrameApp() { g_handled.push_back("frame"); }
  afx_msg void OnDisabled() { g_handled.push_back("disabled"); }
  afx_msg void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
  DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CTestFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
  ON_WM_CREATE()
  ON_COMMAND(ID_TEST_FRAME, &CTestFrame::OnFrame)
  ON_COMMAND(ID_TEST_ALL, &CTestFrame::OnAll)
  ON_COMMAND(ID_TEST_FRAME_APP, &CTestFrame::OnFrameApp)
  ON_COMMAND(ID_TEST_DISABLED, &CTestFrame::OnDisabled)
  ON_UPDATE_COMMAND_UI(ID_TEST_DISABLED, &CTestFrame::OnUpdateDisabled)
END_MESSAGE_MAP()

class CTestApp : public CWinApp {
 public:
  afx_msg void OnApp() { g_handled.push_back("app"); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
  ON_COMMAND(ID_TEST_APP, &CTestApp::OnApp)
  ON_COMMAND(ID_TEST_ALL, &CTestApp::OnApp)
  ON_COMMAND(ID_TEST_DOC_APP, &CTestApp::OnApp)
  ON_COMMAND(ID_TEST_FRAME_APP, &CTestApp::OnApp)
END_MESSAGE_MAP()

CTestApp theApp;

// ---------------------------------------------------------------------------

namespace {

class DocViewTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    frame_test::InitApp();
    s_template = new CSingleDocTemplate(IDR_TESTFRAME, RUNTIME_CLASS(CTestDoc),
                                        RUNTIME_CLASS(CTestFrame), RUNTIME_CLASS(CTestView));
    theApp.AddDocTemplate(s_template);
  }

  void SetUp() override {
    g_handled.clear();
    theApp.OnFileNew();
    POSITION pos = s_template->GetFirstDocPosition();
    m_doc = static_cast<CTestDoc*>(s_template->GetNextDoc(pos));
    ASSERT_NE(m_doc, nullptr);
    POSITION views = m_doc->GetFirstViewPosition();
    m_view = static_cast<CTestView*>(m_doc->GetNextView(views));
    ASSERT_NE(m_view, nullptr);
    m_frame = static_cast<CTestFrame*>(m_view->GetParentFrame());
    ASSERT_NE(m_frame, nullptr);
    m_hwnd = m_frame->m_hWnd;
    ::MoveWindow(m_hwnd, 20, 20, 640, 480, TRUE);
    frame_test::Pump();
  }

  void TearDown() override {
    if (::IsWindow(m_hwnd)) ::DestroyWindow(m_hwnd);
    frame_test::Pump();
    if (CWinThread* thread = AfxGetThread()) thread->m_pMainWnd = nullptr;
    frame_test::DropQuit();
  }

  LRESULT Command(UINT id) { return ::SendMessageW(m_hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  std::string LastHandler() const { return g_handled.empty() ? "" : g_handled.back(); }

  static CSingleDocTemplate* s_template;
  CTestDoc* m_doc = nullptr;
  CTestView* m_view = nullptr;
  CTestFrame* m_frame = nullptr;
  HWND m_hwnd = nullptr;
};

CSingleDocTemplate* DocViewTest::s_template = nullptr;

TEST_F(DocViewTest, TemplateCreatesDocumentFrameAndViewOfItsClasses) {
  EXPECT_TRUE(m_doc->IsKindOf(RUNTIME_CLASS(CTestDoc)));
  EXPECT_TRUE(m_view->IsKindOf(RUNTIME_CLASS(CTestView)));
  EXPECT_TRUE(m_frame->IsKindOf(RUNTIME_CLASS(CTestFrame)));
  EXPECT_EQ(m_doc->m_newDocumentCalls, 1);
  EXPECT_EQ(m_doc->GetDocTemplate(), s_template);
  EXPECT_EQ(m_view->GetDocument(), m_doc);
  EXPECT_EQ(m_doc->GetViewCount(), 1);
  EXPECT_EQ(m_frame->GetActiveView(), m_view);
  EXPECT_EQ(m_frame->GetActiveDocument(), m_doc);
  EXPECT_EQ(m_view->m_initialUpdates, 1);
  // The view is the frame's client pane; the frame became the main window.
  EXPECT_EQ(::GetDlgCtrlID(m_view->m_hWnd), AFX_IDW_PANE_FIRST);
  EXPECT_EQ(::GetParent(m_view->m_hWnd), m_hwnd);
  EXPECT_EQ(AfxGetMainWnd(), m_frame);
  EXPECT_TRUE(::IsWindowVisible(m_hwnd));
  // Menu and accelerators of the resource.
  HMENU menu = ::GetMenu(m_hwnd);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(::GetMenuItemCount(menu), 2);
  EXPECT_NE(m_frame->m_hAccelTable, nullptr);
}

TEST_F(DocViewTest, TitleJoinsDocumentAndFrameTitles) {
  // No document name in the template string: "Untitled" before the title.
  EXPECT_EQ(frame_test::WindowText(m_hwnd), L"Untitled - Frame Test");
  m_doc->SetTitle(L"Report");
  EXPECT_EQ(frame_test::WindowText(m_hwnd), L"Report - Frame Test");
  CString name;
  EXPECT_TRUE(s_template->GetDocString(name, CDocTemplate::fileNewName));
  EXPECT_EQ(name, CString(L"FrameTest"));
  EXPECT_FALSE(s_template->GetDocString(name, CDocTemplate::docName));
  EXPECT_TRUE(s_template->GetDocString(name, CDocTemplate::regFileTypeName));
  EXPECT_EQ(name, CString(L"FrameTest Document"));
}

TEST_F(DocViewTest, NewDocumentReusesTheOnlyDocumentAndFrame) {
  m_doc->SetTitle(L"Changed");
  theApp.OnFileNew();
  POSITION pos = s_template->GetFirstDocPosition();
  EXPECT_EQ(s_template->GetNextDoc(pos), m_doc);
  EXPECT_EQ(m_doc->m_newDocumentCalls, 2);
  EXPECT_GE(m_doc->m_deleteContentsCalls, 2);
  EXPECT_EQ(m_doc->GetViewCount(), 1);
  EXPECT_EQ(CTestDoc::s_instances, 1);
  EXPECT_EQ(frame_test::WindowText(m_hwnd), L"Untitled - Frame Test");
}

TEST_F(DocViewTest, CommandsGoToViewThenDocumentThenFrameThenApplication) {
  struct Case {
    UINT id;
    const char* handler;
  };
  const Case cases[] = {
      {ID_TEST_ALL, "view"},        {ID_TEST_VIEW, "view"},   {ID_TEST_DOC_APP, "doc"},
      {ID_TEST_DOC, "doc"},         {ID_TEST_FRAME, "frame"}, {ID_TEST_FRAME_APP, "frame"},
      {ID_TEST_APP, "app"},
  };
  for (const Case& c : cases) {
    g_handled.clear();
    Command(c.id);
    ASSERT_EQ(g_handled.size(), 1u) << c.id;
    EXPECT_EQ(g_handled[0], c.handler) << c.id;
  }
  // Without an active view the frame comes first.
  m_frame->SetActiveView(nullptr);
  g_handled.clear();
  Command(ID_TEST_ALL);
  EXPECT_EQ(LastHandler(), "frame");
  g_handled.clear();
  Command(ID_TEST_DOC);
  EXPECT_TRUE(g_handled.empty());
}

TEST_F(DocViewTest, CommandDisabledByItsUpdateHandlerDoesNotRun) {
  Command(ID_TEST_DISABLED);
  EXPECT_TRUE(g_handled.empty());
  // Nor from the toolbar.
  CControlBar* toolbar = m_frame->GetControlBar(AFX_IDW_TOOLBAR);
  ASSERT_NE(toolbar, nullptr);
  ::SendMessageW(m_hwnd, WM_COMMAND, MAKEWPARAM(ID_TEST_DISABLED, BN_CLICKED),
                 reinterpret_cast<LPARAM>(toolbar->m_hWnd));
  EXPECT_TRUE(g_handled.empty());
  // An enabled one runs.
  Command(ID_TEST_CHECKED);
  EXPECT_EQ(LastHandler(), "checked");
}

TEST_F(DocViewTest, AcceleratorsOfTheFrameRunCommands) {
  MSG msg{};
  msg.hwnd = m_view->m_hWnd;
  msg.message = WM_KEYDOWN;
  msg.wParam = VK_F7;
  msg.lParam = 1;
  EXPECT_TRUE(m_frame->PreTranslateMessage(&msg));
  EXPECT_EQ(LastHandler(), "view");
  g_handled.clear();
  msg.wParam = VK_F8;
  EXPECT_FALSE(m_frame->PreTranslateMessage(&msg));
  EXPECT_TRUE(g_handled.empty());
}

TEST_F(DocViewTest, PopupMenuItemsAreUpdatedWhenTheMenuOpens) {
  HMENU menu = ::GetSubMenu(::GetMenu(m_hwnd), 0);
  ASSERT_NE(menu, nullptr);
  ::EnableMenuItem(menu, ID_TEST_DISABLED, MF_BYCOMMAND | MF_ENABLED);
  ::SendMessageW(m_hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, FALSE));
  auto state = [&](UINT id) { return ::GetMenuState(menu, id, MF_BYCOMMAND); };
  EXPECT_FALSE(state(ID_TEST_VIEW) & MF_GRAYED);
  EXPECT_FALSE(state(ID_TEST_DOC) & MF_GRAYED);
  EXPECT_FALSE(state(ID_TEST_FRAME) & MF_GRAYED);
  EXPECT_FALSE(state(ID_TEST_APP) & MF_GRAYED);
  EXPECT_TRUE(state(ID_TEST_NONE) & MF_GRAYED);      // no handler anywhere
  EXPECT_TRUE(state(ID_TEST_DISABLED) & MF_GRAYED);  // its update handler
  EXPECT_TRUE(state(ID_TEST_CHECKED) & MF_CHECKED);
  // A popup is not greyed for lack of a handler of its first item.
  EXPECT_FALSE(::GetMenuState(menu, 8, MF_BYPOSITION) & MF_GRAYED);

  // Without automatic disabling, items without handlers stay enabled.
  m_frame->m_bAutoMenuEnable = FALSE;
  ::EnableMenuItem(menu, ID_TEST_NONE, MF_BYCOMMAND | MF_ENABLED);
  ::SendMessageW(m_hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, FALSE));
  EXPECT_FALSE(state(ID_TEST_NONE) & MF_GRAYED);
  EXPECT_TRUE(state(ID_TEST_DISABLED) & MF_GRAYED);
}

TEST_F(DocViewTest, IdleTimeUpdatesToolbarButtonsAndStatusPanes) {
  CControlBar* toolbar = m_frame->GetControlBar(AFX_IDW_TOOLBAR);
  CControlBar* status = m_frame->GetControlBar(AFX_IDW_STATUS_BAR);
  ASSERT_NE(toolbar, nullptr);
  ASSERT_NE(status, nullptr);
  HWND tb = toolbar->m_hWnd;
  EXPECT_EQ(::SendMessageW(tb, TB_BUTTONCOUNT, 0, 0), 5);
  EXPECT_EQ(toolbar->GetCount(), 5);

  theApp.OnIdle(0);
  auto tbState = [&](UINT id) { return ::SendMessageW(tb, TB_GETSTATE, id, 0); };
  EXPECT_TRUE(tbState(ID_TEST_VIEW) & TBSTATE_ENABLED);
  EXPECT_FALSE(tbState(ID_TEST_NONE) & TBSTATE_ENABLED);
  EXPECT_FALSE(tbState(ID_TEST_DISABLED) & TBSTATE_ENABLED);
  EXPECT_TRUE(tbState(ID_TEST_CHECKED) & TBSTATE_CHECKED);

  // Status panes: the document's handler gives the text; the caps lock
  // pane shows its text only while caps lock is on.
  EXPECT_EQ(frame_test::StatusText(status->m_hWnd, 1), L"doc text");
  const bool caps = (::GetKeyState(VK_CAPITAL) & 1) != 0;
  EXPECT_EQ(frame_test::StatusText(status->m_hWnd, 2), caps ? L"CAP" : L"");
  EXPECT_EQ(::SendMessageW(status->m_hWnd, SB_GETPARTS, 0, 0), 3);
}

TEST_F(DocViewTest, StatusBarShowsCommandPromptsAndTheIdleMessage) {
  CControlBar* status = m_frame->GetControlBar(AFX_IDW_STATUS_BAR);
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(frame_test::StatusText(status->m_hWnd, 0), L"Ready");
  HMENU menu = ::GetSubMenu(::GetMenu(m_hwnd), 0);
  ::SendMessageW(m_hwnd, WM_MENUSELECT, MAKEWPARAM(ID_TEST_VIEW, MF_STRING),
                 reinterpret_cast<LPARAM>(menu));
  EXPECT_EQ(frame_test::StatusText(status->m_hWnd, 0), L"Handled by the view");
  ::SendMessageW(m_hwnd, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  EXPECT_EQ(frame_test::StatusText(status->m_hWnd, 0), L"Ready");
  // A toolbar with CBRS_FLYBY shows the prompt of the button under the mouse.
  CControlBar* toolbar = m_frame->GetControlBar(AFX_IDW_TOOLBAR);
  ASSERT_NE(toolbar, nullptr);
  toolbar->SetBarStyle(toolbar->GetBarStyle() | CBRS_FLYBY);
  NMTBHOTITEM hot{};
  hot.hdr.hwndFrom = toolbar->m_hWnd;
  hot.hdr.idFrom = AFX_IDW_TOOLBAR;
  hot.hdr.code = TBN_HOTITEMCHANGE;
  hot.idNew = ID_TEST_NONE;
  ::SendMessageW(m_hwnd, WM_NOTIFY, AFX_IDW_TOOLBAR, reinterpret_cast<LPARAM>(&hot));
  EXPECT_EQ(frame_test::StatusText(status->m_hWnd, 0), L"Nobody handles this");
  hot.dwFlags = HICF_LEAVING;
  ::SendMessageW(m_hwnd, WM_NOTIFY, AFX_IDW_TOOLBAR, reinterpret_cast<LPARAM>(&hot));
  EXPECT_EQ(frame_test::StatusText(status->m_hWnd, 0), L"Ready");
  m_frame->SetMessageText(L"Working");
  EXPECT_EQ(frame_test::StatusText(status->m_hWnd, 0), L"Working");
  m_frame->SetMessageText(ID_TEST_FRAME);
  EXPECT_EQ(frame_test::StatusText(status->m_hWnd, 0), L"Handled by the frame");
}

TEST_F(DocViewTest, ViewMenuTogglesTheBarsWithCheckMarks) {
  CControlBar* status = m_frame->GetControlBar(AFX_IDW_STATUS_BAR);
  CControlBar* toolbar = m_frame->GetControlBar(AFX_IDW_TOOLBAR);
  ASSERT_NE(status, nullptr);
  ASSERT_NE(toolbar, nullptr);
  HMENU viewMenu = ::GetSubMenu(::GetMenu(m_hwnd), 1);
  auto checked = [&](UINT id) {
    ::SendMessageW(m_hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(viewMenu), MAKELPARAM(1, FALSE));
    return (::GetMenuState(viewMenu, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
  };
  const CRect before = frame_test::ClientRectIn(m_view->m_hWnd, m_hwnd);
  EXPECT_TRUE(checked(ID_VIEW_STATUS_BAR));
  EXPECT_TRUE(checked(ID_VIEW_TOOLBAR));

  Command(ID_VIEW_STATUS_BAR);
  EXPECT_FALSE(::GetWindowLongPtrW(status->m_hWnd, GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(checked(ID_VIEW_STATUS_BAR));
  CRect grown = frame_test::ClientRectIn(m_view->m_hWnd, m_hwnd);
  EXPECT_GT(grown.bottom, before.bottom);

  Command(ID_VIEW_TOOLBAR);
  EXPECT_FALSE(checked(ID_VIEW_TOOLBAR));
  grown = frame_test::ClientRectIn(m_view->m_hWnd, m_hwnd);
  EXPECT_LT(grown.top, before.top);

  Command(ID_VIEW_STATUS_BAR);
  Command(ID_VIEW_TOOLBAR);
  EXPECT_TRUE(checked(ID_VIEW_STATUS_BAR));
  EXPECT_TRUE(checked(ID_VIEW_TOOLBAR));
  EXPECT_EQ(frame_test::ClientRectIn(m_view->m_hWnd, m_hwnd), before);
}

TEST_F(DocViewTest, UpdateAllViewsSkipsTheSender) {
  // A second view of the same document in the same frame.
  CCreateContext context;
  context.m_pCurrentDoc = m_doc;
  CTestView* second = static_cast<CTestView*>(RUNTIME_CLASS(CTestView)->CreateObject());
  ASSERT_TRUE(second->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 50, 50), m_frame,
                             AFX_IDW_PANE_FIRST + 1, &context));
  EXPECT_EQ(m_doc->GetViewCount(), 2);
  POSITION pos = m_doc->GetFirstViewPosition();
  EXPECT_EQ(m_doc->GetNextView(pos), m_view);
  EXPECT_EQ(m_doc->GetNextView(pos), second);
  EXPECT_EQ(pos, nullptr);

  m_view->m_updates.clear();
  m_doc->UpdateAllViews(m_view, 7);
  EXPECT_TRUE(m_view->m_updates.empty());
  ASSERT_EQ(second->m_updates.size(), 1u);
  EXPECT_EQ(second->m_updates[0], 7);

  // A view that goes leaves the document (which stays for the other view).
  ::DestroyWindow(second->m_hWnd);
  EXPECT_EQ(m_doc->GetViewCount(), 1);
  EXPECT_EQ(CTestDoc::s_instances, 1);
}

TEST_F(DocViewTest, ClosingTheMainFrameClosesItsDocument) {
  EXPECT_EQ(CTestDoc::s_instances, 1);
  ::SendMessageW(m_hwnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(m_hwnd));
  EXPECT_EQ(CTestDoc::s_instances, 0);
  EXPECT_EQ(s_template->GetFirstDocPosition(), nullptr);
}

TEST_F(DocViewTest, FrameWithoutContextOrMenu) {
  CFrameWnd* frame = new CFrameWnd;
  ASSERT_TRUE(frame->LoadFrame(IDR_PLAINFRAME, WS_OVERLAPPEDWINDOW, nullptr, nullptr));
  HWND hwnd = frame->m_hWnd;
  EXPECT_EQ(frame_test::WindowText(hwnd), L"Plain Frame");
  EXPECT_EQ(::GetMenu(hwnd), nullptr);
  EXPECT_EQ(frame->GetActiveView(), nullptr);
  EXPECT_EQ(frame->GetActiveDocument(), nullptr);
  ::DestroyWindow(hwnd);  // the frame object goes with its window
  EXPECT_FALSE(::IsWindow(hwnd));
}

}  // namespace
