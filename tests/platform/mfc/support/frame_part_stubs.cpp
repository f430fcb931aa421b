// Members of the core classes that the frame part defines; linked into the
// framework's tests only while that part is not in the tree.
#include <afxwin.h>

CFrameWnd* CWnd::GetParentFrame() const { return nullptr; }

void CWnd::RepositionBars(UINT, UINT, UINT, UINT, LPRECT, LPCRECT, BOOL) {}

void CWinApp::OnFileNew() {}
