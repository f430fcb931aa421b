#include "ui_win/OutputBar.h"

#include <string>

#include "ui_core/sizing_bar.h"

namespace {
constexpr UINT kTabsId = 101;
constexpr UINT kListId = 102;
constexpr UINT kDataViewId = 103;
}  // namespace

// ---------------------------------------------------------------------------
// COutputListBox

void COutputListBox::AddLine(const char* text) {
  if (!m_hWnd) return;
  // The lines are UTF-8 (names and texts read from the broadcast among them).
  std::wstring wide;
  const int n = text && *text ? ::MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0) : 0;
  if (n > 1) {
    wide.resize(static_cast<size_t>(n));
    ::MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), n);
    wide.resize(static_cast<size_t>(n - 1));
  }
  ::SendMessageW(m_hWnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  const LRESULT count = ::SendMessageW(m_hWnd, LB_GETCOUNT, 0, 0);
  ::SendMessageW(m_hWnd, LB_SETTOPINDEX, static_cast<WPARAM>(count - 1), 0);
}

void COutputListBox::Clear() {
  if (m_hWnd) ::SendMessageA(m_hWnd, LB_RESETCONTENT, 0, 0);
}

BOOL COutputListBox::PreCreateWindow(CREATESTRUCT& cs) {
  cs.style |= LBS_NOSEL;
  cs.dwExStyle |= WS_EX_CLIENTEDGE;
  return CListBox::PreCreateWindow(cs);
}

// ---------------------------------------------------------------------------
// COutputBar

BEGIN_MESSAGE_MAP(COutputBar, CSizingControlBarG)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_NOTIFY(TCN_SELCHANGE, kTabsId, &COutputBar::OnTabSelChange)
END_MESSAGE_MAP()

int COutputBar::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CSizingControlBarG::OnCreate(lpCreateStruct) == -1) return -1;
  SetSCBStyle((GetSCBStyle() & ~SCBS_EDGEALL) | SCBS_SHOWEDGES | SCBS_SIZECHILD);

  if (!m_list.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, CRect(0, 0, 0, 0), this,
                     kListId))
    return -1;
  m_list.ModifyStyleEx(0, WS_EX_CLIENTEDGE);

  HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  if (font) {
    m_font.Attach(font);
  } else if (!m_font.CreatePointFont(80, "MS Sans Serif")) {
    return -1;
  }
  ::SendMessage(m_list.m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.m_hObject), TRUE);

  if (!m_tabs.Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, CRect(0, 0, 0, 0), this, kTabsId))
    return -1;
  if (!m_dataView.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this,
                         kDataViewId))
    return -1;

  m_tabs.InsertItem(TCIF_TEXT, 0, "OUTPUT", 0, 0);
  m_tabs.InsertItem(TCIF_TEXT, 1, "VALUE", 0, 0);
  m_tabs.SetCurSel(0);
  ShowTab(0);
  return 0;
}

void COutputBar::OnSize(UINT nType, int cx, int cy) {
  CSizingControlBarG::OnSize(nType, cx, cy);
  CRect client;
  GetClientRect(&client);
  const ui_core::OutputBarLayout layout =
      ui_core::LayOutOutputBar({client.left, client.top, client.right, client.bottom});
  if (m_tabs.m_hWnd)
    m_tabs.MoveWindow(layout.tabs.left, layout.tabs.top, layout.tabs.Width(), layout.tabs.Height());
  if (m_dataView.m_hWnd)
    m_dataView.MoveWindow(layout.content.left, layout.content.top, layout.content.Width(),
                          layout.content.Height());
  if (m_list.m_hWnd)
    m_list.MoveWindow(layout.content.left, layout.content.top, layout.content.Width(),
                      layout.content.Height());
}

void COutputBar::ShowData(const std::vector<unsigned char>* bytes) {
  if (bytes && !bytes->empty())
    m_dataView.SetData(bytes->data(), static_cast<unsigned>(bytes->size()));
  else
    m_dataView.SetData(nullptr, 0);
}

void COutputBar::ShowTab(int index) {
  CWnd* show = nullptr;
  CWnd* hide = nullptr;
  if (index == 0) {
    show = &m_list;
    hide = &m_dataView;
  } else if (index == 1) {
    show = &m_dataView;
    hide = &m_list;
  } else {
    return;
  }
  if (hide->m_hWnd) {
    hide->ShowWindow(SW_HIDE);
    hide->EnableWindow(FALSE);
  }
  if (show->m_hWnd) {
    show->ShowWindow(SW_SHOW);
    show->EnableWindow(TRUE);
    show->SetActiveWindow();
  }
}

void COutputBar::OnTabSelChange(NMHDR* pNMHDR, LRESULT* pResult) {
  const int index =
      static_cast<int>(::SendMessage(pNMHDR->hwndFrom, TCM_GETCURSEL, 0, 0));
  ShowTab(index);
  if (pResult) *pResult = 0;
}
