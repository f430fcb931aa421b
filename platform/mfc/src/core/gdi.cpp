// GDI objects, device contexts and menus.
#include <cstdlib>

#include "afx_impl.h"

using afx_impl::TempKind;

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)
IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)
IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {

void ReleaseGdi(CObject* object) {
  CGdiObject* gdi = static_cast<CGdiObject*>(object);
  gdi->m_hObject = nullptr;
  delete gdi;
}

template <class T, class H>
void AttachGdi(T* object, H handle) {
  object->m_hObject = handle;
}

template <class T, class H>
T* GdiWrapper(TempKind kind, H handle) {
  return afx_impl::TempWrapper<T, H>(kind, handle, &AttachGdi<T, H>, &ReleaseGdi);
}

void ReleaseDC_(CObject* object) {
  CDC* dc = static_cast<CDC*>(object);
  dc->m_hDC = nullptr;
  dc->m_hAttribDC = nullptr;
  delete dc;
}

void AttachDC(CDC* dc, HDC hDC) {
  dc->m_hDC = hDC;
  dc->m_hAttribDC = hDC;
}

void ReleaseMenu(CObject* object) {
  CMenu* menu = static_cast<CMenu*>(object);
  menu->m_hMenu = nullptr;
  delete menu;
}

void AttachMenu(CMenu* menu, HMENU hMenu) { menu->m_hMenu = hMenu; }

}  // namespace

// ---------------------------------------------------------------------------
// CGdiObject and kinds

CGdiObject::~CGdiObject() { DeleteObject(); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) {
  return GdiWrapper<CGdiObject, HGDIOBJ>(afx_impl::kTempGdi, hObject);
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
  if (!hObject) return FALSE;
  m_hObject = hObject;
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ h = m_hObject;
  m_hObject = nullptr;
  return h;
}

BOOL CGdiObject::DeleteObject() {
  if (!m_hObject) return FALSE;
  return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const {
  return m_hObject ? ::GetObjectW(m_hObject, nCount, lpObject) : 0;
}

BOOL CGdiObject::CreateStockObject(int nIndex) { return Attach(::GetStockObject(nIndex)); }

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) { CreatePen(nPenStyle, nWidth, crColor); }
CPen* CPen::FromHandle(HPEN hPen) { return GdiWrapper<CPen, HPEN>(afx_impl::kTempPen, hPen); }
BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
  return Attach(::CreatePen(nPenStyle, nWidth, crColor));
}
BOOL CPen::CreatePenIndirect(LPLOGPEN lpLogPen) { return Attach(::CreatePenIndirect(lpLogPen)); }

CBrush::CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }
CBrush::CBrush(int nIndex, COLORREF crColor) { CreateHatchBrush(nIndex, crColor); }
CBrush* CBrush::FromHandle(HBRUSH hBrush) { return GdiWrapper<CBrush, HBRUSH>(afx_impl::kTempBrush, hBrush); }
BOOL CBrush::CreateSolidBrush(COLORREF crColor) { return Attach(::CreateSolidBrush(crColor)); }
BOOL CBrush::CreateHatchBrush(int nIndex, COLORREF crColor) { return Attach(::CreateHatchBrush(nIndex, crColor)); }
BOOL CBrush::CreateSysColorBrush(int nIndex) { return Attach(::GetSysColorBrush(nIndex)); }
BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap) {
  return pBitmap ? Attach(::CreatePatternBrush(static_cast<HBITMAP>(pBitmap->m_hObject))) : FALSE;
}
BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* lpLogBrush) { return Attach(::CreateBrushIndirect(lpLogBrush)); }

CFont* CFont::FromHandle(HFONT hFont) { return GdiWrapper<CFont, HFONT>(afx_impl::kTempFont, hFont); }

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) { return Attach(::CreateFontIndirectW(lpLogFont)); }

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                       BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision,
                       BYTE nClipPrecision, BYTE nQuality, BYTE nPitchAndFamily, CStrArg lpszFacename) {
  return Attach(::CreateFontW(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline,
                              cStrikeOut, nCharSet, nOutPrecision, nClipPrecision, nQuality,
                              nPitchAndFamily, lpszFacename));
}

BOOL CFont::CreatePointFont(int nPointSize, CStrArg lpszFaceName, CDC* pDC) {
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfHeight = nPointSize;
  if (!lpszFaceName.IsNull()) ::lstrcpynW(lf.lfFaceName, lpszFaceName, LF_FACESIZE);
  return CreatePointFontIndirect(&lf, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC) {
  HDC dc = pDC ? pDC->m_hAttribDC : ::GetDC(nullptr);
  LOGFONTW lf = *lpLogFont;
  // Tenths of a point to logical units of the DC.
  POINT pt{0, ::MulDiv(::GetDeviceCaps(dc, LOGPIXELSY), lf.lfHeight, 720)};
  ::DPtoLP(dc, &pt, 1);
  POINT origin{0, 0};
  ::DPtoLP(dc, &origin, 1);
  lf.lfHeight = -std::abs(pt.y - origin.y);
  if (!pDC) ::ReleaseDC(nullptr, dc);
  return CreateFontIndirect(&lf);
}

CBitmap* CBitmap::FromHandle(HBITMAP hBitmap) {
  return GdiWrapper<CBitmap, HBITMAP>(afx_impl::kTempBitmap, hBitmap);
}

BOOL CBitmap::LoadBitmap(UINT nIDResource) {
  LPCWSTR name = MAKEINTRESOURCEW(nIDResource);
  return Attach(::LoadBitmapW(AfxFindResourceHandle(name, MAKEINTRESOURCEW(2)), name));
}

BOOL CBitmap::LoadBitmap(CStrArg lpszResourceName) {
  return Attach(::LoadBitmapW(AfxFindResourceHandle(lpszResourceName, MAKEINTRESOURCEW(2)), lpszResourceName));
}

BOOL CBitmap::LoadOEMBitmap(UINT nIDBitmap) { return Attach(::LoadBitmapW(nullptr, MAKEINTRESOURCEW(nIDBitmap))); }

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits) {
  return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}

BOOL CBitmap::CreateBitmapIndirect(LPBITMAP lpBitmap) { return Attach(::CreateBitmapIndirect(lpBitmap)); }

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
  return pDC ? Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight)) : FALSE;
}

CSize CBitmap::GetBitmapDimension() const {
  SIZE size{};
  ::GetBitmapDimensionEx(static_cast<HBITMAP>(m_hObject), &size);
  return size;
}

CRgn* CRgn::FromHandle(HRGN hRgn) { return GdiWrapper<CRgn, HRGN>(afx_impl::kTempRgn, hRgn); }
BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateRectRgn(x1, y1, x2, y2)); }
BOOL CRgn::CreateRectRgnIndirect(LPCRECT lpRect) { return Attach(::CreateRectRgnIndirect(lpRect)); }
BOOL CRgn::CreateEllipticRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateEllipticRgn(x1, y1, x2, y2)); }
BOOL CRgn::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3) {
  return Attach(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
}
int CRgn::CombineRgn(CRgn* pRgn1, CRgn* pRgn2, int nCombineMode) {
  return ::CombineRgn(static_cast<HRGN>(m_hObject), pRgn1 ? static_cast<HRGN>(pRgn1->m_hObject) : nullptr,
                      pRgn2 ? static_cast<HRGN>(pRgn2->m_hObject) : nullptr, nCombineMode);
}
BOOL CRgn::EqualRgn(CRgn* pRgn) const {
  return pRgn ? ::EqualRgn(static_cast<HRGN>(m_hObject), static_cast<HRGN>(pRgn->m_hObject)) : FALSE;
}

// ---------------------------------------------------------------------------
// CDC

CDC::~CDC() {
  if (m_hDC) ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC hDC) {
  return afx_impl::TempWrapper<CDC, HDC>(afx_impl::kTempDC, hDC, &AttachDC, &ReleaseDC_);
}

BOOL CDC::Attach(HDC hDC) {
  if (!hDC) return FALSE;
  m_hDC = m_hAttribDC = hDC;
  return TRUE;
}

HDC CDC::Detach() {
  HDC h = m_hDC;
  m_hDC = m_hAttribDC = nullptr;
  return h;
}

BOOL CDC::DeleteDC() {
  if (!m_hDC) return FALSE;
  return ::DeleteDC(Detach());
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) { return Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr)); }

CWnd* CDC::GetWindow() const { return CWnd::FromHandle(::WindowFromDC(m_hDC)); }

CPen* CDC::SelectObject(CPen* pPen) {
  HGDIOBJ old = ::SelectObject(m_hDC, pPen ? pPen->m_hObject : nullptr);
  return old ? CPen::FromHandle(static_cast<HPEN>(old)) : nullptr;
}

CBrush* CDC::SelectObject(CBrush* pBrush) {
  HGDIOBJ old = ::SelectObject(m_hDC, pBrush ? pBrush->m_hObject : nullptr);
  return old ? CBrush::FromHandle(static_cast<HBRUSH>(old)) : nullptr;
}

CFont* CDC::SelectObject(CFont* pFont) {
  HGDIOBJ old = ::SelectObject(m_hDC, pFont ? pFont->m_hObject : nullptr);
  return old ? CFont::FromHandle(static_cast<HFONT>(old)) : nullptr;
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
  HGDIOBJ old = ::SelectObject(m_hDC, pBitmap ? pBitmap->m_hObject : nullptr);
  return old ? CBitmap::FromHandle(static_cast<HBITMAP>(old)) : nullptr;
}

int CDC::SelectObject(CRgn* pRgn) {
  return ::SelectClipRgn(m_hDC, pRgn ? static_cast<HRGN>(pRgn->m_hObject) : nullptr);
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
  HGDIOBJ old = ::SelectObject(m_hDC, pObject ? pObject->m_hObject : nullptr);
  return old && old != HGDI_ERROR ? CGdiObject::FromHandle(old) : nullptr;
}

CGdiObject* CDC::SelectStockObject(int nIndex) {
  HGDIOBJ old = ::SelectObject(m_hDC, ::GetStockObject(nIndex));
  return old && old != HGDI_ERROR ? CGdiObject::FromHandle(old) : nullptr;
}

CPen* CDC::GetCurrentPen() const { return CPen::FromHandle(static_cast<HPEN>(::GetCurrentObject(m_hDC, OBJ_PEN))); }
CBrush* CDC::GetCurrentBrush() const {
  return CBrush::FromHandle(static_cast<HBRUSH>(::GetCurrentObject(m_hDC, OBJ_BRUSH)));
}
CFont* CDC::GetCurrentFont() const {
  return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT)));
}
CBitmap* CDC::GetCurrentBitmap() const {
  return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}

CPoint CDC::SetViewportOrg(int x, int y) {
  POINT old{};
  ::SetViewportOrgEx(m_hDC, x, y, &old);
  return old;
}

CPoint CDC::GetViewportOrg() const {
  POINT pt{};
  ::GetViewportOrgEx(m_hDC, &pt);
  return pt;
}

CPoint CDC::SetWindowOrg(int x, int y) {
  POINT old{};
  ::SetWindowOrgEx(m_hDC, x, y, &old);
  return old;
}

CPoint CDC::GetWindowOrg() const {
  POINT pt{};
  ::GetWindowOrgEx(m_hDC, &pt);
  return pt;
}

CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight) {
  POINT old{};
  ::OffsetViewportOrgEx(m_hDC, nWidth, nHeight, &old);
  return old;
}

int CDC::SelectClipRgn(CRgn* pRgn) {
  return ::SelectClipRgn(m_hDC, pRgn ? static_cast<HRGN>(pRgn->m_hObject) : nullptr);
}

CPoint CDC::GetCurrentPosition() const {
  POINT pt{};
  ::GetCurrentPositionEx(m_hDC, &pt);
  return pt;
}

CPoint CDC::MoveTo(int x, int y) {
  POINT old{};
  ::MoveToEx(m_hDC, x, y, &old);
  return old;
}

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush) {
  if (pBrush) ::FillRect(m_hDC, lpRect, static_cast<HBRUSH>(pBrush->m_hObject));
}

void CDC::FrameRect(LPCRECT lpRect, CBrush* pBrush) {
  if (pBrush) ::FrameRect(m_hDC, lpRect, static_cast<HBRUSH>(pBrush->m_hObject));
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
  const COLORREF old = ::SetBkColor(m_hDC, clr);
  ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
  ::SetBkColor(m_hDC, old);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
  const RECT r{x, y, x + cx, y + cy};
  FillSolidRect(&r, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
             clrTopLeft, clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  if (cx <= 0 || cy <= 0) return;
  FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
  FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
  FillSolidRect(x + cx - 1, y, 1, cy, clrBottomRight);
  FillSolidRect(x, y + cy - 1, cx, 1, clrBottomRight);
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop) {
  return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, dwRop);
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                     int nSrcHeight, DWORD dwRop) {
  return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, nSrcWidth,
                      nSrcHeight, dwRop);
}

namespace {

int LengthOf(LPCWSTR text, int nCount) {
  if (!text) return 0;
  return nCount < 0 ? ::lstrlenW(text) : nCount;
}

}  // namespace

BOOL CDC::TextOut(int x, int y, CStrArg lpszString, int nCount) {
  LPCWSTR text = lpszString;
  return ::TextOutW(m_hDC, x, y, text ? text : L"", LengthOf(text, nCount));
}

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, CStrArg lpszString, int nCount,
                     LPINT lpDxWidths) {
  LPCWSTR text = lpszString;
  return ::ExtTextOutW(m_hDC, x, y, nOptions, lpRect, text, static_cast<UINT>(LengthOf(text, nCount)),
                       lpDxWidths);
}

int CDC::DrawText(CStrArg lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
  LPCWSTR text = lpszString;
  return ::DrawTextW(m_hDC, text ? text : L"", text ? nCount : 0, lpRect, nFormat);
}

CSize CDC::GetTextExtent(CStrArg lpszString, int nCount) const {
  LPCWSTR text = lpszString;
  SIZE size{};
  ::GetTextExtentPoint32W(m_hDC, text ? text : L"", LengthOf(text, nCount), &size);
  return size;
}

int CDC::GetTextFace(CString& rString) const {
  const int n = ::GetTextFaceW(m_hDC, 0, nullptr);
  if (n <= 0) {
    rString.Empty();
    return 0;
  }
  LPWSTR buffer = rString.GetBuffer(n);
  const int written = ::GetTextFaceW(m_hDC, n, buffer);
  rString.ReleaseBuffer();
  return written;
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
  Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC() {
  ::EndPaint(m_hWnd, &m_ps);
  Detach();
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) { Attach(::GetDC(m_hWnd)); }

CClientDC::~CClientDC() {
  if (m_hDC) ::ReleaseDC(m_hWnd, Detach());
}

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) { Attach(::GetWindowDC(m_hWnd)); }

CWindowDC::~CWindowDC() {
  if (m_hDC) ::ReleaseDC(m_hWnd, Detach());
}

// ---------------------------------------------------------------------------
// CMenu

CMenu::~CMenu() { DestroyMenu(); }

CMenu* CMenu::FromHandle(HMENU hMenu) {
  return afx_impl::TempWrapper<CMenu, HMENU>(afx_impl::kTempMenu, hMenu, &AttachMenu, &ReleaseMenu);
}

BOOL CMenu::Attach(HMENU hMenu) {
  if (!hMenu) return FALSE;
  m_hMenu = hMenu;
  return TRUE;
}

HMENU CMenu::Detach() {
  HMENU h = m_hMenu;
  m_hMenu = nullptr;
  return h;
}

BOOL CMenu::CreateMenu() { return Attach(::CreateMenu()); }
BOOL CMenu::CreatePopupMenu() { return Attach(::CreatePopupMenu()); }

BOOL CMenu::LoadMenu(UINT nIDResource) {
  LPCWSTR name = MAKEINTRESOURCEW(nIDResource);
  return Attach(::LoadMenuW(AfxFindResourceHandle(name, MAKEINTRESOURCEW(4)), name));
}

BOOL CMenu::LoadMenu(CStrArg lpszResourceName) {
  return Attach(::LoadMenuW(AfxFindResourceHandle(lpszResourceName, MAKEINTRESOURCEW(4)), lpszResourceName));
}

BOOL CMenu::DestroyMenu() {
  if (!m_hMenu) return FALSE;
  return ::DestroyMenu(Detach());
}

CMenu* CMenu::GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
  const int n = ::GetMenuStringW(m_hMenu, nIDItem, nullptr, 0, nFlags);
  if (n <= 0) {
    rString.Empty();
    return 0;
  }
  LPWSTR buffer = rString.GetBuffer(n);
  const int written = ::GetMenuStringW(m_hMenu, nIDItem, buffer, n + 1, nFlags);
  rString.ReleaseBuffer();
  return written;
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, CStrArg lpszNewItem) {
  return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, CStrArg lpszNewItem) {
  return ::InsertMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, CStrArg lpszNewItem) {
  return ::ModifyMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
  return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->m_hWnd : nullptr, lpRect);
}
