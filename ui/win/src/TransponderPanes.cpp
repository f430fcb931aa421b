#include "ui_win/TransponderPanes.h"

IMPLEMENT_DYNCREATE(CTransponderTableListPaneWnd, CTreeView)

BEGIN_MESSAGE_MAP(CTransponderTableListPaneWnd, CTreeView)
END_MESSAGE_MAP()

CTransponderTableListPaneWnd::CTransponderTableListPaneWnd() = default;
CTransponderTableListPaneWnd::~CTransponderTableListPaneWnd() = default;

void CTransponderTableListPaneWnd::ClearTree() {
  if (m_hWnd) ::SendMessage(m_hWnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
}
