// The program-wide services that reach the main frame through the
// application's main window: Output window lines, clearing them, the panes.
#include <gtest/gtest.h>

#include <string>

#include "orb_app/Orbisect3App.h"
#include "ui_win/MainFrm.h"
#include "ui_win/TransponderPanes.h"

namespace {

int Lines(CMainFrame* frame) {
  return static_cast<int>(
      ::SendMessageW(frame->GetOutputBar().GetList().m_hWnd, LB_GETCOUNT, 0, 0));
}

std::string Line(CMainFrame* frame, int index) {
  HWND list = frame->GetOutputBar().GetList().m_hWnd;
  const LRESULT n = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n <= 0) return {};
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(n));
  return std::string(text.begin(), text.end());  // ASCII lines only
}

}  // namespace

TEST(ProgramServices, ReachTheMainFramesOutputWindowAndPanes) {
  CWinApp* app = AfxGetApp();
  ASSERT_TRUE(app);
  // No main window yet: nothing happens.
  app->m_pMainWnd = nullptr;
  OutputMessage("lost %d", 1);
  ClearOutputWindow();
  EXPECT_EQ(GetTreePaneWnd(), nullptr);
  EXPECT_EQ(GetValuePaneWnd(), nullptr);

  auto* frame = static_cast<CMainFrame*>(RUNTIME_CLASS(CMainFrame)->CreateObject());
  CCreateContext context;
  ASSERT_TRUE(frame->LoadFrame(128, WS_OVERLAPPEDWINDOW, nullptr, &context));
  app->m_pMainWnd = frame;

  OutputMessage("Scanning %s: %d of %d", "Astra 19E", 3, 7);
  OutputMessage("%s", std::string(3000, 'x').c_str());
  OutputMessage("Scanning %s", "Hotbird 13\xC2\xB0" "E");  // UTF-8
  ASSERT_EQ(Lines(frame), 3);
  {
    wchar_t text[64] = {};
    ::SendMessageW(frame->GetOutputBar().GetList().m_hWnd, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(std::wstring(text), L"Scanning Hotbird 13\u00B0E");
  }
  EXPECT_EQ(Line(frame, 0), "Scanning Astra 19E: 3 of 7");
  const std::string cut = Line(frame, 1);  // cut to its buffer
  EXPECT_EQ(cut.size(), 2047u);
  EXPECT_EQ(cut.find_first_not_of('x'), std::string::npos);
  EXPECT_EQ(GetTreePaneWnd(), frame->GetTreePane());
  EXPECT_EQ(GetValuePaneWnd(), frame->GetValuePane());
  EXPECT_TRUE(GetTreePaneWnd());
  ClearOutputWindow();
  EXPECT_EQ(Lines(frame), 0);

  app->m_pMainWnd = nullptr;
  frame->DestroyWindow();
}
