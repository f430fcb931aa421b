#pragma once
// Core of the application framework: command targets with message maps,
// windows (CWnd) with their handle map, GDI wrappers and device contexts,
// menus, threads and the application object, module state, message boxes.
//
// The document/view and frame classes come from afx_docview.h, the dialogs
// and controls from afx_dialog.h; both are included at the end.
//
// Contract with the frame part (src/frame), which defines these members
// declared here:
//   CWnd::GetParentFrame()        the nearest CFrameWnd ancestor
//   CWnd::RepositionBars(...)     control bar layout
//   CWinApp::OnFileNew()          new document through the first template
// Idle updates: CWinThread::OnIdle(0) sends WM_IDLEUPDATECMDUI (wParam TRUE =
// disable commands without handler) to the main window and, through
// SendMessageToDescendants (permanent windows only), to all its descendants.
// Message boxes: AfxSetMessageBoxHook replaces every AfxMessageBox,
// CWinApp::DoMessageBox and CWnd::MessageBox while set (tests).
// Windows are Unicode windows: WM_SETTEXT and the like carry wide text.
#include "afx.h"
#include "afxres.h"

#include <commctrl.h>
#include <shellapi.h>

#include <functional>
#include <type_traits>
#include <vector>

class CCmdTarget;
class CCmdUI;
class CWnd;
class CDC;
class CMenu;
class CGdiObject;
class CPen;
class CBrush;
class CFont;
class CBitmap;
class CRgn;
class CScrollBar;
class CWinThread;
class CWinApp;
class CCommandLineInfo;
// Declared by the frame part.
class CFrameWnd;
class CDocument;
class CDocTemplate;
class CView;
struct CCreateContext;

// ---------------------------------------------------------------------------
// Framework messages and notification codes.

#define WM_QUERYAFXWNDPROC 0x0360   // answered 1 by every framework window
#define WM_SIZEPARENT 0x0361        // control bar layout (lParam: AFX_SIZEPARENTPARAMS*)
#define WM_SETMESSAGESTRING 0x0362  // status bar text (wParam: string id, or lParam: text)
#define WM_IDLEUPDATECMDUI 0x0363   // idle update of command user interface (wParam: disable without handler)
#define WM_INITIALUPDATE 0x0364     // a view's first update
#define WM_COMMANDHELP 0x0365
#define WM_HELPHITTEST 0x0366
#define WM_EXITHELPMODE 0x0367
#define WM_RECALCPARENT 0x0368      // a frame's layout
#define WM_SIZECHILD 0x0369
#define WM_KICKIDLE 0x036A          // a modal loop is idle (lParam: idle count)
#define WM_QUERYCENTERWND 0x036B
#define WM_DISABLEMODAL 0x036C
#define WM_FLOATSTATUS 0x036D
#define WM_ACTIVATETOPLEVEL 0x036E
#define WM_POPMESSAGESTRING 0x0375

// The WM_CTLCOLOR* messages together, in message maps.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

// Messages reflected from a parent to the control that sent them.
#define WM_REFLECT_BASE 0xBC00

// Command routing codes (the nCode argument of OnCmdMsg).
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI (-1)
// Window messages whose handlers return a value; the flag is ignored here.
#define AFX_CN_THREADMSG 0xFFFFFFFEu

// Window flags (CWnd::m_nFlags).
#define WF_CONTINUEMODAL 0x0001
#define WF_MODALLOOP 0x0002
#define WF_TEMPORARY 0x0004  // a FromHandle wrapper
#define WF_PERMANENT 0x0008  // in the thread's handle map

// RunModalLoop flags.
#define MLF_NOIDLEMSG 0x0001
#define MLF_NOKICKIDLE 0x0002
#define MLF_SHOWONIDLE 0x0004

// ---------------------------------------------------------------------------
// Message maps.

// One dispatch: a window message or a routed command.
struct AFX_MSGCALL {
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  UINT nID = 0;            // command or control id
  void* pExtra = nullptr;  // CCmdUI* for updates, AFX_NOTIFY* for notifications
  LRESULT result = 0;
};

// pExtra of a routed notification.
struct AFX_NOTIFY {
  LRESULT* pResult;
  NMHDR* pNMHDR;
};

// Calls the handler of one entry; FALSE when the handler declined (the _EX
// entries) so that routing goes on.
using AFX_PMSGTHUNK = BOOL (*)(CCmdTarget* pTarget, AFX_MSGCALL& call);

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;            // window message, WM_COMMAND, WM_NOTIFY or WM_REFLECT_BASE + one of them
  UINT nCode;               // control notification code, CN_UPDATE_COMMAND_UI or AFX_CN_THREADMSG
  UINT nID;                 // first command / control id
  UINT nLastID;             // last id of the range
  const UINT* pnMessageVar; // ON_REGISTERED_MESSAGE: the variable holding the message
  AFX_PMSGTHUNK pfn;        // nullptr ends the map
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// Filled by OnCmdMsg when asked whether a handler exists (nothing is called).
struct AFX_CMDHANDLERINFO {
  CCmdTarget* pTarget;
  const AFX_MSGMAP_ENTRY* pEntry;
};

#define DECLARE_MESSAGE_MAP()                      \
 protected:                                        \
  static const AFX_MSGMAP* GetThisMessageMap();    \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                         \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }    \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                                    \
    using ThisClass [[maybe_unused]] = theClass;                                       \
    using TheBaseClass = baseClass;                                                    \
    static const AFX_MSGMAP_ENTRY messageEntries_[] = {

#define END_MESSAGE_MAP()                                                              \
    {0, 0, 0, 0, nullptr, nullptr}};                                                   \
    static const AFX_MSGMAP messageMap_ = {&TheBaseClass::GetThisMessageMap, &messageEntries_[0]}; \
    return &messageMap_;                                                               \
  }

// ---------------------------------------------------------------------------
// CCmdTarget: an object that receives commands through its message map.

class CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)

 public:
  CCmdTarget() = default;

  // Routes a command (nCode CN_COMMAND or a control notification code),
  // an update (CN_UPDATE_COMMAND_UI, pExtra the CCmdUI*) or a notification
  // (MAKELONG(code, WM_NOTIFY), pExtra an AFX_NOTIFY*) to this object's map.
  // With pHandlerInfo, only reports whether a handler exists.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

  void BeginWaitCursor();
  void EndWaitCursor();
  void RestoreWaitCursor();

 protected:
  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;
  // Runs the map's handler of window message `message` (FALSE: none).
  BOOL DispatchWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // The first entry of the map chain handling that command/notification.
  const AFX_MSGMAP_ENTRY* FindCommandEntry(UINT nMessage, UINT nCode, UINT nID) const;
};

// ---------------------------------------------------------------------------
// CCmdUI: the state of one user interface item of a command (menu item,
// toolbar button, status bar pane, dialog control) during an update.

class CCmdUI {
 public:
  CCmdUI() = default;
  virtual ~CCmdUI() = default;

  UINT m_nID = 0;
  UINT m_nIndex = 0;               // menu position, button or pane index
  CMenu* m_pMenu = nullptr;        // the menu of the item (nullptr otherwise)
  CMenu* m_pSubMenu = nullptr;     // the popup of the item, if it opens one
  CMenu* m_pParentMenu = nullptr;  // the menu that opened m_pMenu
  CWnd* m_pOther = nullptr;        // the window of a bar or dialog control
  UINT m_nIndexMax = 0;
  BOOL m_bEnableChanged = FALSE;
  BOOL m_bContinueRouting = FALSE;

  virtual void Enable(BOOL bOn = TRUE);
  virtual void SetCheck(int nCheck = 1);  // 0 unchecked, 1 checked, 2 indeterminate
  virtual void SetRadio(BOOL bOn = TRUE);
  virtual void SetText(CStrArg lpszText);

  // The update handler asks the next target too.
  void ContinueRouting() { m_bContinueRouting = TRUE; }
  // Runs the update through pTarget's routing; with bDisableIfNoHndler, an
  // item no update handler enabled is enabled exactly when a command
  // handler exists.  TRUE when an update handler ran.
  BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};

// ---------------------------------------------------------------------------
// GDI objects.

class CGdiObject : public CObject {
  DECLARE_DYNCREATE(CGdiObject)

 public:
  CGdiObject() = default;
  ~CGdiObject() override;

  HGDIOBJ m_hObject = nullptr;

  operator HGDIOBJ() const { return m_hObject; }  // NOLINT
  HGDIOBJ GetSafeHandle() const { return m_hObject; }
  // A wrapper of the handle: a temporary object, deleted at idle time.
  static CGdiObject* FromHandle(HGDIOBJ hObject);
  BOOL Attach(HGDIOBJ hObject);
  HGDIOBJ Detach();
  BOOL DeleteObject();
  int GetObject(int nCount, LPVOID lpObject) const;
  UINT GetObjectType() const { return static_cast<UINT>(::GetObjectType(m_hObject)); }
  BOOL CreateStockObject(int nIndex);
  BOOL UnrealizeObject() { return ::UnrealizeObject(m_hObject); }
};

class CPen : public CGdiObject {
  DECLARE_DYNAMIC(CPen)

 public:
  CPen() = default;
  CPen(int nPenStyle, int nWidth, COLORREF crColor);
  static CPen* FromHandle(HPEN hPen);
  BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
  BOOL CreatePenIndirect(LPLOGPEN lpLogPen);
  int GetLogPen(LOGPEN* pLogPen) const { return GetObject(sizeof(LOGPEN), pLogPen); }
  operator HPEN() const { return static_cast<HPEN>(m_hObject); }  // NOLINT
};

class CBrush : public CGdiObject {
  DECLARE_DYNAMIC(CBrush)

 public:
  CBrush() = default;
  explicit CBrush(COLORREF crColor);
  CBrush(int nIndex, COLORREF crColor);
  static CBrush* FromHandle(HBRUSH hBrush);
  BOOL CreateSolidBrush(COLORREF crColor);
  BOOL CreateHatchBrush(int nIndex, COLORREF crColor);
  BOOL CreateSysColorBrush(int nIndex);
  BOOL CreatePatternBrush(CBitmap* pBitmap);
  BOOL CreateBrushIndirect(const LOGBRUSH* lpLogBrush);
  int GetLogBrush(LOGBRUSH* pLogBrush) const { return GetObject(sizeof(LOGBRUSH), pLogBrush); }
  operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }  // NOLINT
};

class CFont : public CGdiObject {
  DECLARE_DYNAMIC(CFont)

 public:
  CFont() = default;
  static CFont* FromHandle(HFONT hFont);
  BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
  BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                  BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet,
                  BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality,
                  BYTE nPitchAndFamily, CStrArg lpszFacename);
  // nPointSize in tenths of a point, on pDC (the screen when nullptr).
  BOOL CreatePointFont(int nPointSize, CStrArg lpszFaceName, CDC* pDC = nullptr);
  BOOL CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC = nullptr);
  int GetLogFont(LOGFONT* pLogFont) const { return GetObject(sizeof(LOGFONT), pLogFont); }
  operator HFONT() const { return static_cast<HFONT>(m_hObject); }  // NOLINT
};

class CBitmap : public CGdiObject {
  DECLARE_DYNAMIC(CBitmap)

 public:
  CBitmap() = default;
  static CBitmap* FromHandle(HBITMAP hBitmap);
  // From the current resource module.
  BOOL LoadBitmap(UINT nIDResource);
  BOOL LoadBitmap(CStrArg lpszResourceName);
  BOOL LoadOEMBitmap(UINT nIDBitmap);
  BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits);
  BOOL CreateBitmapIndirect(LPBITMAP lpBitmap);
  BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
  int GetBitmap(BITMAP* pBitMap) const { return GetObject(sizeof(BITMAP), pBitMap); }
  CSize GetBitmapDimension() const;
  operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }  // NOLINT
};

class CRgn : public CGdiObject {
  DECLARE_DYNAMIC(CRgn)

 public:
  CRgn() = default;
  static CRgn* FromHandle(HRGN hRgn);
  BOOL CreateRectRgn(int x1, int y1, int x2, int y2);
  BOOL CreateRectRgnIndirect(LPCRECT lpRect);
  BOOL CreateEllipticRgn(int x1, int y1, int x2, int y2);
  BOOL CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3);
  int CombineRgn(CRgn* pRgn1, CRgn* pRgn2, int nCombineMode);
  int CopyRgn(CRgn* pRgnSrc) { return CombineRgn(pRgnSrc, nullptr, RGN_COPY); }
  BOOL EqualRgn(CRgn* pRgn) const;
  int OffsetRgn(int x, int y) { return ::OffsetRgn(static_cast<HRGN>(m_hObject), x, y); }
  BOOL PtInRegion(int x, int y) const { return ::PtInRegion(static_cast<HRGN>(m_hObject), x, y); }
  BOOL PtInRegion(POINT pt) const { return PtInRegion(pt.x, pt.y); }
  BOOL RectInRegion(LPCRECT lpRect) const { return ::RectInRegion(static_cast<HRGN>(m_hObject), lpRect); }
  int GetRgnBox(LPRECT lpRect) const { return ::GetRgnBox(static_cast<HRGN>(m_hObject), lpRect); }
  BOOL SetRectRgn(int x1, int y1, int x2, int y2) {
    return ::SetRectRgn(static_cast<HRGN>(m_hObject), x1, y1, x2, y2);
  }
  operator HRGN() const { return static_cast<HRGN>(m_hObject); }  // NOLINT
};

// ---------------------------------------------------------------------------
// CDC: a device context.  A CDC deletes the DC it holds when destroyed (use
// Detach to keep it); CPaintDC, CClientDC and CWindowDC release theirs.

class CDC : public CObject {
  DECLARE_DYNCREATE(CDC)

 public:
  CDC() = default;
  ~CDC() override;

  HDC m_hDC = nullptr;
  HDC m_hAttribDC = nullptr;

  operator HDC() const { return m_hDC; }  // NOLINT
  HDC GetSafeHdc() const { return m_hDC; }
  static CDC* FromHandle(HDC hDC);
  BOOL Attach(HDC hDC);
  HDC Detach();
  BOOL DeleteDC();
  BOOL CreateCompatibleDC(CDC* pDC);
  CWnd* GetWindow() const;

  int SaveDC() { return ::SaveDC(m_hDC); }
  BOOL RestoreDC(int nSavedDC) { return ::RestoreDC(m_hDC, nSavedDC); }
  int GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hDC, nIndex); }

  // Selection; each returns the previously selected object (a temporary
  // wrapper) or nullptr on failure.
  CPen* SelectObject(CPen* pPen);
  CBrush* SelectObject(CBrush* pBrush);
  CFont* SelectObject(CFont* pFont);
  CBitmap* SelectObject(CBitmap* pBitmap);
  int SelectObject(CRgn* pRgn);  // region type, or ERROR
  CGdiObject* SelectObject(CGdiObject* pObject);
  CGdiObject* SelectStockObject(int nIndex);
  CPen* GetCurrentPen() const;
  CBrush* GetCurrentBrush() const;
  CFont* GetCurrentFont() const;
  CBitmap* GetCurrentBitmap() const;

  COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
  COLORREF SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor); }
  COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
  COLORREF SetBkColor(COLORREF crColor) { return ::SetBkColor(m_hDC, crColor); }
  int GetBkMode() const { return ::GetBkMode(m_hDC); }
  int SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
  int SetROP2(int nDrawMode) { return ::SetROP2(m_hDC, nDrawMode); }
  int GetROP2() const { return ::GetROP2(m_hDC); }
  UINT SetTextAlign(UINT nFlags) { return ::SetTextAlign(m_hDC, nFlags); }
  int SetMapMode(int nMapMode) { return ::SetMapMode(m_hDC, nMapMode); }
  int GetMapMode() const { return ::GetMapMode(m_hDC); }
  CPoint SetViewportOrg(int x, int y);
  CPoint SetViewportOrg(POINT pt) { return SetViewportOrg(pt.x, pt.y); }
  CPoint GetViewportOrg() const;
  CPoint SetWindowOrg(int x, int y);
  CPoint SetWindowOrg(POINT pt) { return SetWindowOrg(pt.x, pt.y); }
  CPoint GetWindowOrg() const;
  CPoint OffsetViewportOrg(int nWidth, int nHeight);
  void DPtoLP(LPPOINT lpPoints, int nCount = 1) const { ::DPtoLP(m_hDC, lpPoints, nCount); }
  void DPtoLP(LPRECT lpRect) const { ::DPtoLP(m_hDC, reinterpret_cast<LPPOINT>(lpRect), 2); }
  void LPtoDP(LPPOINT lpPoints, int nCount = 1) const { ::LPtoDP(m_hDC, lpPoints, nCount); }
  void LPtoDP(LPRECT lpRect) const { ::LPtoDP(m_hDC, reinterpret_cast<LPPOINT>(lpRect), 2); }

  // Clipping.
  int GetClipBox(LPRECT lpRect) const { return ::GetClipBox(m_hDC, lpRect); }
  int SelectClipRgn(CRgn* pRgn);
  int IntersectClipRect(int x1, int y1, int x2, int y2) { return ::IntersectClipRect(m_hDC, x1, y1, x2, y2); }
  int IntersectClipRect(LPCRECT lpRect) {
    return IntersectClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
  }
  int ExcludeClipRect(int x1, int y1, int x2, int y2) { return ::ExcludeClipRect(m_hDC, x1, y1, x2, y2); }
  int ExcludeClipRect(LPCRECT lpRect) {
    return ExcludeClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
  }
  BOOL PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
  BOOL RectVisible(LPCRECT lpRect) const { return ::RectVisible(m_hDC, lpRect); }

  // Lines and shapes.
  CPoint GetCurrentPosition() const;
  CPoint MoveTo(int x, int y);
  CPoint MoveTo(POINT pt) { return MoveTo(pt.x, pt.y); }
  BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
  BOOL LineTo(POINT pt) { return LineTo(pt.x, pt.y); }
  BOOL Polyline(const POINT* lpPoints, int nCount) { return ::Polyline(m_hDC, lpPoints, nCount); }
  BOOL Polygon(const POINT* lpPoints, int nCount) { return ::Polygon(m_hDC, lpPoints, nCount); }
  BOOL Rectangle(int x1, int y1, int x2, int y2) { return ::Rectangle(m_hDC, x1, y1, x2, y2); }
  BOOL Rectangle(LPCRECT lpRect) { return Rectangle(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
  BOOL RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
    return ::RoundRect(m_hDC, x1, y1, x2, y2, x3, y3);
  }
  BOOL Ellipse(int x1, int y1, int x2, int y2) { return ::Ellipse(m_hDC, x1, y1, x2, y2); }
  BOOL Ellipse(LPCRECT lpRect) { return Ellipse(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
  void FillRect(LPCRECT lpRect, CBrush* pBrush);
  void FrameRect(LPCRECT lpRect, CBrush* pBrush);
  void InvertRect(LPCRECT lpRect) { ::InvertRect(m_hDC, lpRect); }
  void FillSolidRect(LPCRECT lpRect, COLORREF clr);
  void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
  void Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight);
  void Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight);
  BOOL DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags) { return ::DrawEdge(m_hDC, lpRect, nEdge, nFlags); }
  BOOL DrawFrameControl(LPRECT lpRect, UINT nType, UINT nState) {
    return ::DrawFrameControl(m_hDC, lpRect, nType, nState);
  }
  void DrawFocusRect(LPCRECT lpRect) { ::DrawFocusRect(m_hDC, lpRect); }
  BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }
  BOOL DrawIcon(POINT pt, HICON hIcon) { return DrawIcon(pt.x, pt.y, hIcon); }
  COLORREF SetPixel(int x, int y, COLORREF crColor) { return ::SetPixel(m_hDC, x, y, crColor); }
  COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }

  // Bit blocks.
  BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop) {
    return ::PatBlt(m_hDC, x, y, nWidth, nHeight, dwRop);
  }
  BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
  BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                  int nSrcWidth, int nSrcHeight, DWORD dwRop);

  // Text; nCount -1 takes the whole string.
  BOOL TextOut(int x, int y, CStrArg lpszString, int nCount = -1);
  BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, CStrArg lpszString, int nCount = -1,
                  LPINT lpDxWidths = nullptr);
  int DrawText(CStrArg lpszString, int nCount, LPRECT lpRect, UINT nFormat);
  int DrawText(CStrArg lpszString, LPRECT lpRect, UINT nFormat) { return DrawText(lpszString, -1, lpRect, nFormat); }
  CSize GetTextExtent(CStrArg lpszString, int nCount = -1) const;
  CSize GetOutputTextExtent(CStrArg lpszString, int nCount = -1) const { return GetTextExtent(lpszString, nCount); }
  BOOL GetTextMetrics(LPTEXTMETRIC lpMetrics) const { return ::GetTextMetrics(m_hDC, lpMetrics); }
  int GetTextFace(CString& rString) const;
};

class CPaintDC : public CDC {
  DECLARE_DYNAMIC(CPaintDC)

 public:
  explicit CPaintDC(CWnd* pWnd);
  ~CPaintDC() override;
  PAINTSTRUCT m_ps{};

 protected:
  HWND m_hWnd;
};

class CClientDC : public CDC {
  DECLARE_DYNAMIC(CClientDC)

 public:
  explicit CClientDC(CWnd* pWnd);  // nullptr: the screen
  ~CClientDC() override;

 protected:
  HWND m_hWnd;
};

class CWindowDC : public CDC {
  DECLARE_DYNAMIC(CWindowDC)

 public:
  explicit CWindowDC(CWnd* pWnd);  // nullptr: the screen
  ~CWindowDC() override;

 protected:
  HWND m_hWnd;
};

// ---------------------------------------------------------------------------
// CMenu.  A CMenu destroys the menu it holds when destroyed (Detach keeps it).

class CMenu : public CObject {
  DECLARE_DYNCREATE(CMenu)

 public:
  CMenu() = default;
  ~CMenu() override;

  HMENU m_hMenu = nullptr;

  operator HMENU() const { return m_hMenu; }  // NOLINT
  HMENU GetSafeHmenu() const { return m_hMenu; }
  static CMenu* FromHandle(HMENU hMenu);
  BOOL Attach(HMENU hMenu);
  HMENU Detach();
  BOOL CreateMenu();
  BOOL CreatePopupMenu();
  // From the current resource module.
  BOOL LoadMenu(UINT nIDResource);
  BOOL LoadMenu(CStrArg lpszResourceName);
  BOOL DestroyMenu();

  CMenu* GetSubMenu(int nPos) const;
  int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
  UINT GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
  UINT GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }
  int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
  UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
    return static_cast<UINT>(::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck));
  }
  UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
    return static_cast<UINT>(::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable));
  }
  BOOL CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags) {
    return ::CheckMenuRadioItem(m_hMenu, nIDFirst, nIDLast, nIDItem, nFlags);
  }
  BOOL SetDefaultItem(UINT uItem, BOOL fByPos = FALSE) { return ::SetMenuDefaultItem(m_hMenu, uItem, fByPos); }
  BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, CStrArg lpszNewItem = nullptr);
  BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, CStrArg lpszNewItem = nullptr);
  BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, CStrArg lpszNewItem = nullptr);
  BOOL RemoveMenu(UINT nPosition, UINT nFlags) { return ::RemoveMenu(m_hMenu, nPosition, nFlags); }
  BOOL DeleteMenu(UINT nPosition, UINT nFlags) { return ::DeleteMenu(m_hMenu, nPosition, nFlags); }
  // With TPM_RETURNCMD the chosen command id (0 for none).
  BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);
};

// ---------------------------------------------------------------------------
// CWnd: a window.  Windows created through Create/CreateEx, or subclassed,
// are permanent objects of the thread's handle map and run their messages
// through WindowProc -> OnWndMsg -> message map -> DefWindowProc.

class CWnd : public CCmdTarget {
  DECLARE_DYNCREATE(CWnd)

 public:
  CWnd() = default;
  ~CWnd() override;

  HWND m_hWnd = nullptr;
  operator HWND() const { return m_hWnd; }  // NOLINT
  HWND GetSafeHwnd() const { return m_hWnd; }

  // For SetWindowPos.
  static const CWnd wndTop;
  static const CWnd wndBottom;
  static const CWnd wndTopMost;
  static const CWnd wndNoTopMost;

  // The permanent object of the window, or a temporary one (deleted at idle
  // time) for a window the framework does not know.
  static CWnd* FromHandle(HWND hWnd);
  static CWnd* FromHandlePermanent(HWND hWnd);
  BOOL Attach(HWND hWndNew);
  HWND Detach();
  // Makes the window run through this object (its previous window procedure
  // handles what the map does not).
  BOOL SubclassWindow(HWND hWnd);
  BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
  HWND UnsubclassWindow();

  // Creation.  A null class takes the framework's default window class.
  virtual BOOL Create(CStrArg lpszClassName, CStrArg lpszWindowName, DWORD dwStyle, const RECT& rect,
                      CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
  virtual BOOL CreateEx(DWORD dwExStyle, CStrArg lpszClassName, CStrArg lpszWindowName, DWORD dwStyle,
                        int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                        LPVOID lpParam = nullptr);
  BOOL CreateEx(DWORD dwExStyle, CStrArg lpszClassName, CStrArg lpszWindowName, DWORD dwStyle,
                const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
  virtual BOOL DestroyWindow();

  // Overridables.
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
  virtual void PreSubclassWindow() {}
  virtual void PostNcDestroy() {}
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // A notification the parent reflected to this control; TRUE when handled.
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  enum AdjustType { adjustBorder = 0, adjustOutside = 1 };
  virtual void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder);
  virtual CScrollBar* GetScrollBarCtrl(int nBar) const;

  // Default handling of the message being processed.
  LRESULT Default();
  BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // Reflects the current message to the child window hWndChild.
  static BOOL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);
  BOOL SendChildNotifyLastMsg(LRESULT* pResult = nullptr);
  // PreTranslateMessage of the message's window and its parents, up to
  // hWndStop; TRUE when one of them took the message.
  static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);

  // Messages.
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
  }
  // To all child windows (and theirs with bDeep); bOnlyPerm: only windows
  // of the framework, called directly.
  void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                                BOOL bDeep = TRUE, BOOL bOnlyPerm = FALSE);
  static void SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       BOOL bDeep, BOOL bOnlyPerm);

  // Style.
  DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
  DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }
  // Both return FALSE when nothing changed; nFlags adds a SetWindowPos.
  BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  static BOOL ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
  static BOOL ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);

  // Text and font.
  void SetWindowText(CStrArg lpszString) { ::SetWindowTextW(m_hWnd, lpszString); }
  int GetWindowText(LPWSTR lpszStringBuf, int nMaxCount) const {
    return ::GetWindowTextW(m_hWnd, lpszStringBuf, nMaxCount);
  }
  void GetWindowText(CString& rString) const;
  int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
  void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
  CFont* GetFont() const;
  void SetIcon(HICON hIcon, BOOL bBigIcon);
  HICON GetIcon(BOOL bBigIcon) const;

  // Size and position.
  void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
  void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
  void ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
  void ClientToScreen(LPRECT lpRect) const;
  void ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
  void ScreenToClient(LPRECT lpRect) const;
  void MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const;
  void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const;
  void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE) {
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
  }
  void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE) {
    MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint);
  }
  BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
  BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const { return ::GetWindowPlacement(m_hWnd, lpwndpl); }
  BOOL SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl) { return ::SetWindowPlacement(m_hWnd, lpwndpl); }
  // Centres on pAlternateOwner (the owner or parent when nullptr; the work
  // area for top-level windows without one).
  void CenterWindow(CWnd* pAlternateOwner = nullptr);
  void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
  BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
  BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }

  // State.
  BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
  BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
  CWnd* SetFocus();
  static CWnd* GetFocus();
  CWnd* SetActiveWindow();
  static CWnd* GetActiveWindow();
  BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
  static CWnd* GetForegroundWindow();
  CWnd* SetCapture();
  static CWnd* GetCapture();
  static BOOL ReleaseCapture() { return ::ReleaseCapture(); }
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  int SetDlgCtrlID(int nID);

  // Painting.
  void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
  void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
  void InvalidateRgn(CRgn* pRgn, BOOL bErase = TRUE);
  void ValidateRect(LPCRECT lpRect) { ::ValidateRect(m_hWnd, lpRect); }
  void UpdateWindow() { ::UpdateWindow(m_hWnd); }
  void SetRedraw(BOOL bRedraw = TRUE) { ::SendMessageW(m_hWnd, WM_SETREDRAW, bRedraw, 0); }
  BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, CRgn* prgnUpdate = nullptr,
                    UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  BOOL GetUpdateRect(LPRECT lpRect, BOOL bErase = FALSE) { return ::GetUpdateRect(m_hWnd, lpRect, bErase); }
  BOOL LockWindowUpdate() { return ::LockWindowUpdate(m_hWnd); }
  void UnlockWindowUpdate() { ::LockWindowUpdate(nullptr); }
  CDC* GetDC();
  CDC* GetWindowDC();
  int ReleaseDC(CDC* pDC);

  // Scrolling.
  void ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect = nullptr, LPCRECT lpClipRect = nullptr) {
    ::ScrollWindow(m_hWnd, xAmount, yAmount, lpRect, lpClipRect);
  }
  int ScrollWindowEx(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip, CRgn* prgnUpdate,
                     LPRECT lpRectUpdate, UINT flags);
  BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
  BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
  int GetScrollPos(int nBar) const { return ::GetScrollPos(m_hWnd, nBar); }
  int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE) { return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw); }
  void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const {
    ::GetScrollRange(m_hWnd, nBar, lpMinPos, lpMaxPos);
  }
  void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE) {
    ::SetScrollRange(m_hWnd, nBar, nMinPos, nMaxPos, bRedraw);
  }
  int GetScrollLimit(int nBar);
  void ShowScrollBar(UINT nBar, BOOL bShow = TRUE) { ::ShowScrollBar(m_hWnd, static_cast<int>(nBar), bShow); }

  // Timers.
  UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
  }
  BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }

  // Window tree.
  CWnd* GetParent() const;
  CWnd* SetParent(CWnd* pWndNewParent);
  CWnd* GetOwner() const;
  void SetOwner(CWnd* pOwnerWnd);
  BOOL IsChild(const CWnd* pWnd) const { return pWnd && ::IsChild(m_hWnd, pWnd->m_hWnd); }
  CWnd* GetTopLevelParent() const;
  CWnd* GetWindow(UINT nCmd) const;
  CWnd* GetTopWindow() const;
  CWnd* GetDlgItem(int nID) const;
  void GetDlgItem(int nID, HWND* phWnd) const { *phWnd = ::GetDlgItem(m_hWnd, nID); }
  // The descendant window of that id (depth first; bOnlyPerm: framework windows only).
  CWnd* GetDescendantWindow(int nID, BOOL bOnlyPerm = FALSE) const;
  static CWnd* GetDesktopWindow();
  static CWnd* WindowFromPoint(POINT point);
  static CWnd* FindWindow(CStrArg lpszClassName, CStrArg lpszWindowName);
  // The nearest CFrameWnd among the ancestors (nullptr if none).  Defined by
  // the frame part (src/frame).
  CFrameWnd* GetParentFrame() const;
  BOOL IsWindow() const { return ::IsWindow(m_hWnd); }

  // Dialog items.
  LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendDlgItemMessageW(m_hWnd, nID, message, wParam, lParam);
  }
  void SetDlgItemText(int nID, CStrArg lpszString) { ::SetDlgItemTextW(m_hWnd, nID, lpszString); }
  int GetDlgItemText(int nID, CString& rString) const;
  void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE) { ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned); }
  UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const {
    return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned);
  }
  void CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }
  UINT IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }
  void CheckRadioButton(int nIDFirst, int nIDLast, int nIDCheck) {
    ::CheckRadioButton(m_hWnd, nIDFirst, nIDLast, nIDCheck);
  }
  // Runs the update handlers of the child controls through pTarget (a
  // CCmdUI per child, m_pOther the child); defined here.
  void UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

  // Menus.
  CMenu* GetMenu() const;
  BOOL SetMenu(CMenu* pMenu);
  void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }
  CMenu* GetSystemMenu(BOOL bRevert) const;

  int MessageBox(CStrArg lpszText, CStrArg lpszCaption = nullptr, UINT nType = MB_OK);

  // Control bar layout; defined by the frame part (src/frame).
  enum RepositionFlags { reposDefault = 0, reposQuery = 1, reposExtra = 2, reposNoPosLeftOver = 0x8000 };
  void RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag = reposDefault,
                      LPRECT lpRectParam = nullptr, LPCRECT lpRectClient = nullptr, BOOL bStretch = TRUE);

  // Modal loops (dialogs, property sheets).
  int RunModalLoop(DWORD dwFlags = 0);
  virtual BOOL ContinueModal();
  virtual void EndModalLoop(int nResult);

  // Default handling of the messages of the ON_WM_ entries; each passes the
  // current message on (Default()).
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnNcDestroy();
  afx_msg void OnClose();
  afx_msg void OnPaint();
  afx_msg void OnNcPaint();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnMove(int x, int y);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
  afx_msg void OnNcRButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcRButtonUp(UINT nHitTest, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMButtonUp(UINT nFlags, CPoint point);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnSettingChange(UINT uFlags, CStrArg lpszSection);
  afx_msg void OnSysColorChange();
  afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg void OnCancelMode();
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
  afx_msg void OnInitMenu(CMenu* pMenu);
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
  afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  afx_msg BOOL OnQueryEndSession();
  afx_msg void OnEndSession(BOOL bEnding);
  afx_msg void OnDropFiles(HDROP hDropInfo);

  WNDPROC m_pfnSuper = nullptr;  // the window procedure behind a subclassed window
  UINT m_nFlags = 0;             // WF_ flags
  int m_nModalResult = 0;

 protected:
  explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
  static const AFX_MSGMAP* GetThisMessageMap();
  const AFX_MSGMAP* GetMessageMap() const override;

  friend LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
};

// The window procedure of framework windows, and the call of one message
// through a CWnd (records the current message for Default()).
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
WNDPROC AfxGetAfxWndProc();
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
// The message being processed on this thread (an empty MSG outside one).
const MSG* AfxGetCurrentMessage();
// Attaches the next window created on this thread to pWnd (and subclasses
// it) as soon as it exists, so that its first messages reach pWnd's map.
// AfxUnhookWindowCreate returns FALSE when no window was attached.
void AfxHookWindowCreate(CWnd* pWnd);
BOOL AfxUnhookWindowCreate();
// Deletes this thread's temporary wrappers (FromHandle objects).
void AfxDeleteTempMaps();

// Registers (once) a window class with the framework's window procedure;
// returns its name, valid for the program's life.
LPCWSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                            HICON hIcon = nullptr);
BOOL AfxRegisterClass(WNDCLASSW* lpWndClass);

// ---------------------------------------------------------------------------
// Threads.

using AFX_THREADPROC = UINT (*)(LPVOID);

class CWinThread : public CCmdTarget {
  DECLARE_DYNAMIC(CWinThread)

 public:
  CWinThread();
  CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
  ~CWinThread() override;

  // Starts the thread (suspended with CREATE_SUSPENDED).
  BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0,
                    LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

  CWnd* m_pMainWnd = nullptr;
  CWnd* m_pActiveWnd = nullptr;
  BOOL m_bAutoDelete = TRUE;  // the object is deleted when the thread ends
  HANDLE m_hThread = nullptr;
  DWORD m_nThreadID = 0;
  MSG m_msgCur{};
  AFX_THREADPROC m_pfnThreadProc = nullptr;
  LPVOID m_pThreadParams = nullptr;

  operator HANDLE() const { return m_hThread; }  // NOLINT
  int GetThreadPriority() { return ::GetThreadPriority(m_hThread); }
  BOOL SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }
  DWORD SuspendThread() { return ::SuspendThread(m_hThread); }
  DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
  BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostThreadMessageW(m_nThreadID, message, wParam, lParam);
  }

  virtual BOOL InitInstance();
  // The message loop: idle processing while the queue is empty, then
  // PumpMessage; returns ExitInstance()'s code after WM_QUIT.
  virtual int Run();
  // Thread messages go to the ON_THREAD_MESSAGE entries; window messages
  // through PreTranslateMessage of the target window and its parents up to
  // the main window.
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  virtual BOOL PumpMessage();
  // lCount 0: command UI updates of the main window; 1: temporary objects
  // deleted.  TRUE asks for more idle time.
  virtual BOOL OnIdle(LONG lCount);
  virtual BOOL IsIdleMessage(MSG* pMsg);
  virtual int ExitInstance();
  virtual CWnd* GetMainWnd();
  virtual void Delete();
  BOOL DispatchThreadMessageEx(MSG* pMsg);

 protected:
  MSG m_msgLastMouse{};
};

// Starts a worker thread running pfnThreadProc(pParam), or a thread of a
// CWinThread class (InitInstance, Run).  nullptr when it cannot start.
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                           int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                           DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority = THREAD_PRIORITY_NORMAL,
                           UINT nStackSize = 0, DWORD dwCreateFlags = 0,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
// Ends the calling framework thread.
void AfxEndThread(UINT nExitCode, BOOL bDelete = TRUE);
CWinThread* AfxGetThread();
BOOL AfxPumpMessage();
void AfxPostQuitMessage(int nExitCode);

// ---------------------------------------------------------------------------
// The command line.

class CCommandLineInfo : public CObject {
 public:
  CCommandLineInfo() = default;
  // One parameter: bFlag when it started with '-' or '/' (removed).
  virtual void ParseParam(LPCWSTR pszParam, BOOL bFlag, BOOL bLast);

  BOOL m_bShowSplash = TRUE;
  BOOL m_bRunEmbedded = FALSE;
  BOOL m_bRunAutomated = FALSE;
  enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppUnregister, FileNothing = -1 } m_nShellCommand = FileNew;
  CString m_strFileName;
  CString m_strPrinterName;
  CString m_strDriverName;
  CString m_strPortName;
};

// ---------------------------------------------------------------------------
// The application object.

class CWinApp : public CWinThread {
  DECLARE_DYNAMIC(CWinApp)

 public:
  // The name defaults to the AFX_IDS_APP_TITLE string, else the program's
  // file name without extension.
  explicit CWinApp(CStrArg lpszAppName = nullptr);
  ~CWinApp() override;

  HINSTANCE m_hInstance = nullptr;
  LPWSTR m_lpCmdLine = nullptr;
  int m_nCmdShow = SW_SHOWNORMAL;
  LPCWSTR m_pszAppName = nullptr;
  LPCWSTR m_pszRegistryKey = nullptr;  // nullptr: profile in <m_pszProfileName> (an INI file)
  LPCWSTR m_pszProfileName = nullptr;
  LPCWSTR m_pszExeName = nullptr;
  LPCWSTR m_pszHelpFilePath = nullptr;

  virtual BOOL InitApplication();
  BOOL InitInstance() override;
  int ExitInstance() override;
  int Run() override;
  BOOL OnIdle(LONG lCount) override;
  // Shows a message box (or answers through the message box hook).
  virtual int DoMessageBox(LPCWSTR lpszPrompt, UINT nType, UINT nIDPrompt);

  // Resources of the current resource module.
  HICON LoadIcon(UINT nIDResource) const;
  HICON LoadIcon(CStrArg lpszResourceName) const;
  HICON LoadStandardIcon(CStrArg lpszIconName) const;
  HICON LoadOEMIcon(UINT nIDIcon) const;
  HCURSOR LoadCursor(UINT nIDResource) const;
  HCURSOR LoadCursor(CStrArg lpszResourceName) const;
  HCURSOR LoadStandardCursor(CStrArg lpszCursorName) const;
  HCURSOR LoadOEMCursor(UINT nIDCursor) const;

  // Profile: HKEY_CURRENT_USER\Software\<registry key>\<profile name>\<section>.
  void SetRegistryKey(CStrArg lpszRegistryKey);
  void SetRegistryKey(UINT nIDRegistryKey);
  UINT GetProfileInt(CStrArg lpszSection, CStrArg lpszEntry, int nDefault);
  BOOL WriteProfileInt(CStrArg lpszSection, CStrArg lpszEntry, int nValue);
  CString GetProfileString(CStrArg lpszSection, CStrArg lpszEntry, CStrArg lpszDefault = nullptr);
  // A null value deletes the entry, a null entry the section.
  BOOL WriteProfileString(CStrArg lpszSection, CStrArg lpszEntry, CStrArg lpszValue);
  // *ppData is allocated with new[] (the caller deletes it).
  BOOL GetProfileBinary(CStrArg lpszSection, CStrArg lpszEntry, LPBYTE* ppData, UINT* pBytes);
  BOOL WriteProfileBinary(CStrArg lpszSection, CStrArg lpszEntry, LPBYTE pData, UINT nBytes);
  // Open keys (the caller closes them); nullptr without a registry key.
  HKEY GetAppRegistryKey();
  HKEY GetSectionKey(CStrArg lpszSection);
  // Reads the recent file list (up to nMaxMRU names, section "Recent File List").
  void LoadStdProfileSettings(UINT nMaxMRU = 4);
  UINT m_nMaxMRU = 0;
  CStringArray m_recentFiles;

  // Command line.
  void ParseCommandLine(CCommandLineInfo& rCmdInfo);
  // FileNew (and FileOpen, which opens a new document too) runs OnFileNew;
  // FALSE when no main window results.  FileNothing and the others succeed.
  BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);

  // Document templates, owned by the application (deleted with it).
  template <class T>
  void AddDocTemplate(T* pTemplate) {
    m_templateList.push_back(pTemplate);
    m_templateObjects.push_back(static_cast<CObject*>(pTemplate));
  }
  std::vector<CDocTemplate*> m_templateList;
  // A new document through the first template; defined by the frame part
  // (src/frame).
  virtual void OnFileNew();

  afx_msg void OnAppExit();

  DECLARE_MESSAGE_MAP()

 private:
  std::vector<CObject*> m_templateObjects;
  std::wstring m_appName;
  std::wstring m_registryKey;
  std::wstring m_profileName;
  std::wstring m_exeName;
  std::wstring m_cmdLine;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
LPCWSTR AfxGetAppName();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
HINSTANCE AfxFindResourceHandle(LPCWSTR lpszName, LPCWSTR lpszType);
// Sets up the application object's handles and command line.
BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow);
// The program's main: InitInstance, then Run (or ExitInstance when
// InitInstance fails).  The library's WinMain calls it.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow);
void AfxEnableControlContainer();
// Registers the common control classes (ICC_ flags).
BOOL AfxInitCommonControls(DWORD dwICC = ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                         ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES);

// ---------------------------------------------------------------------------
// Message boxes.  The box's owner is the main window; its title the
// application's name.

int AfxMessageBox(CStrArg lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));
// While a hook is set, message boxes are not shown: the hook gets the text
// and the type and its return value is the answer (IDOK, IDYES, ...).
// Returns the previous hook; an empty function removes it.
using AfxMessageBoxHook = std::function<int(const CString& text, UINT type)>;
AfxMessageBoxHook AfxSetMessageBoxHook(AfxMessageBoxHook hook);

// ---------------------------------------------------------------------------
// Module state: the instance and resource handles that resources are loaded
// from.  Each module (program or DLL) linking the library has its own static
// state; AFX_MANAGE_STATE makes one current on the calling thread for a scope.

struct AFX_MODULE_STATE {
  CWinApp* m_pCurrentWinApp = nullptr;
  HINSTANCE m_hCurrentInstanceHandle = nullptr;
  HINSTANCE m_hCurrentResourceHandle = nullptr;
  LPCWSTR m_lpszCurrentAppName = nullptr;
  BOOL m_bDLL = FALSE;
};

// The calling thread's current state (the module's own when none was set).
AFX_MODULE_STATE* AfxGetModuleState();
// This module's own state.
AFX_MODULE_STATE* AfxGetStaticModuleState();
AFX_MODULE_STATE* AfxGetAppModuleState();
// Makes pNewState current; returns the previous one.
AFX_MODULE_STATE* AfxSetModuleState(AFX_MODULE_STATE* pNewState);

class AFX_MAINTAIN_STATE2 {
 public:
  explicit AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* pNewState) : m_pPrevState(AfxSetModuleState(pNewState)) {}
  ~AFX_MAINTAIN_STATE2() { AfxSetModuleState(m_pPrevState); }
  AFX_MAINTAIN_STATE2(const AFX_MAINTAIN_STATE2&) = delete;
  AFX_MAINTAIN_STATE2& operator=(const AFX_MAINTAIN_STATE2&) = delete;

 private:
  AFX_MODULE_STATE* m_pPrevState;
};
#define AFX_MANAGE_STATE(p) AFX_MAINTAIN_STATE2 afxManageState_(p)

// ---------------------------------------------------------------------------
// Message map entries.  Handlers are members of the class of the map (or of
// a base class) with the signatures below; a wrong signature does not
// compile.

namespace afx_detail {

template <class T>
struct Pmf;
template <class C, class R, class... A>
struct Pmf<R (C::*)(A...)> {
  using Class = C;
  using Sig = R(A...);
};

template <class S, class... Sigs>
constexpr bool kOneOf = (std::is_same_v<S, Sigs> || ...);

template <class Crack, auto F>
BOOL Thunk(CCmdTarget* pTarget, AFX_MSGCALL& c) {
  using Traits = Pmf<decltype(F)>;
  static_assert(Crack::template kAccepts<typename Traits::Sig>,
                "message map handler has the wrong signature");
  return Crack::Call(static_cast<typename Traits::Class*>(pTarget), F, c);
}

inline int LoX(LPARAM l) { return static_cast<short>(LOWORD(l)); }
inline int HiY(LPARAM l) { return static_cast<short>(HIWORD(l)); }
inline CPoint PointOf(LPARAM l) { return CPoint(LoX(l), HiY(l)); }
inline CWnd* WndOf(WPARAM w) { return CWnd::FromHandle(reinterpret_cast<HWND>(w)); }
inline CWnd* WndOfL(LPARAM l) { return CWnd::FromHandle(reinterpret_cast<HWND>(l)); }

#define AFX_CRACKER_(name, expr, ...)                                          \
  struct name {                                                                \
    template <class S>                                                         \
    static constexpr bool kAccepts = kOneOf<S, __VA_ARGS__>;                   \
    template <class C, class F>                                                \
    static BOOL Call(C* p, F f, AFX_MSGCALL& c) {                              \
      (void)c;                                                                 \
      expr;                                                                    \
      return TRUE;                                                             \
    }                                                                          \
  };

AFX_CRACKER_(CrackVoid, (p->*f)(), void())
AFX_CRACKER_(CrackCreate, c.result = (p->*f)(reinterpret_cast<LPCREATESTRUCT>(c.lParam)), int(LPCREATESTRUCT))
AFX_CRACKER_(CrackSize, (p->*f)(static_cast<UINT>(c.wParam), LoX(c.lParam), HiY(c.lParam)),
             void(UINT, int, int))
AFX_CRACKER_(CrackMove, (p->*f)(LoX(c.lParam), HiY(c.lParam)), void(int, int))
AFX_CRACKER_(CrackTimer, (p->*f)(c.wParam), void(UINT_PTR), void(UINT))
AFX_CRACKER_(CrackHitTest, c.result = static_cast<LRESULT>((p->*f)(PointOf(c.lParam))), LRESULT(CPoint), UINT(CPoint))
AFX_CRACKER_(CrackNcCalcSize,
             (p->*f)(static_cast<BOOL>(c.wParam), reinterpret_cast<NCCALCSIZE_PARAMS*>(c.lParam)),
             void(BOOL, NCCALCSIZE_PARAMS*))
AFX_CRACKER_(CrackBoolB, c.result = (p->*f)(static_cast<BOOL>(c.wParam)), BOOL(BOOL))
AFX_CRACKER_(CrackVoidB, (p->*f)(static_cast<BOOL>(c.wParam)), void(BOOL))
AFX_CRACKER_(CrackMouse, (p->*f)(static_cast<UINT>(c.wParam), PointOf(c.lParam)), void(UINT, CPoint))
AFX_CRACKER_(CrackWheel,
             c.result = (p->*f)(GET_KEYSTATE_WPARAM(c.wParam), GET_WHEEL_DELTA_WPARAM(c.wParam),
                                PointOf(c.lParam)),
             BOOL(UINT, short, CPoint))
AFX_CRACKER_(CrackMouseActivate,
             c.result = (p->*f)(WndOf(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam)),
             int(CWnd*, UINT, UINT))
AFX_CRACKER_(CrackSetCursor, c.result = (p->*f)(WndOf(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam)),
             BOOL(CWnd*, UINT, UINT))
AFX_CRACKER_(CrackKey,
             (p->*f)(static_cast<UINT>(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam)),
             void(UINT, UINT, UINT))
AFX_CRACKER_(CrackFocus, (p->*f)(WndOf(c.wParam)), void(CWnd*))
AFX_CRACKER_(CrackCaptureChanged, (p->*f)(WndOfL(c.lParam)), void(CWnd*))
AFX_CRACKER_(CrackEraseBkgnd, c.result = (p->*f)(CDC::FromHandle(reinterpret_cast<HDC>(c.wParam))), BOOL(CDC*))
AFX_CRACKER_(CrackWindowPos, (p->*f)(reinterpret_cast<WINDOWPOS*>(c.lParam)), void(WINDOWPOS*))
AFX_CRACKER_(CrackMinMax, (p->*f)(reinterpret_cast<MINMAXINFO*>(c.lParam)), void(MINMAXINFO*))
AFX_CRACKER_(CrackContextMenu, (p->*f)(WndOf(c.wParam), PointOf(c.lParam)), void(CWnd*, CPoint))
AFX_CRACKER_(CrackInitMenu, (p->*f)(CMenu::FromHandle(reinterpret_cast<HMENU>(c.wParam))), void(CMenu*))
AFX_CRACKER_(CrackInitMenuPopup,
             (p->*f)(CMenu::FromHandle(reinterpret_cast<HMENU>(c.wParam)), LOWORD(c.lParam),
                     static_cast<BOOL>(HIWORD(c.lParam))),
             void(CMenu*, UINT, BOOL))
AFX_CRACKER_(CrackMenuSelect,
             (p->*f)(LOWORD(c.wParam), HIWORD(c.wParam), reinterpret_cast<HMENU>(c.lParam)),
             void(UINT, UINT, HMENU))
AFX_CRACKER_(CrackSysCommand, (p->*f)(static_cast<UINT>(c.wParam), c.lParam), void(UINT, LPARAM))
AFX_CRACKER_(CrackShowWindow, (p->*f)(static_cast<BOOL>(c.wParam), static_cast<UINT>(c.lParam)),
             void(BOOL, UINT))
AFX_CRACKER_(CrackActivate,
             (p->*f)(LOWORD(c.wParam), WndOfL(c.lParam), static_cast<BOOL>(HIWORD(c.wParam))),
             void(UINT, CWnd*, BOOL))
AFX_CRACKER_(CrackActivateApp, (p->*f)(static_cast<BOOL>(c.wParam), static_cast<DWORD>(c.lParam)),
             void(BOOL, DWORD))
AFX_CRACKER_(CrackDrawItem,
             (p->*f)(static_cast<int>(c.wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(c.lParam)),
             void(int, LPDRAWITEMSTRUCT))
AFX_CRACKER_(CrackMeasureItem,
             (p->*f)(static_cast<int>(c.wParam), reinterpret_cast<LPMEASUREITEMSTRUCT>(c.lParam)),
             void(int, LPMEASUREITEMSTRUCT))
AFX_CRACKER_(CrackQueryEnd, c.result = (p->*f)(), BOOL())
AFX_CRACKER_(CrackDropFiles, (p->*f)(reinterpret_cast<HDROP>(c.wParam)), void(HDROP))
AFX_CRACKER_(CrackCtlColor,
             c.result = reinterpret_cast<LRESULT>((p->*f)(CDC::FromHandle(reinterpret_cast<HDC>(c.wParam)),
                                                          WndOfL(c.lParam), static_cast<UINT>(c.nID))),
             HBRUSH(CDC*, CWnd*, UINT))
AFX_CRACKER_(CrackMessage, c.result = (p->*f)(c.wParam, c.lParam), LRESULT(WPARAM, LPARAM))
AFX_CRACKER_(CrackThreadMessage, (p->*f)(c.wParam, c.lParam), void(WPARAM, LPARAM))
AFX_CRACKER_(CrackCommandRange, (p->*f)(c.nID), void(UINT))
AFX_CRACKER_(CrackUpdate, (p->*f)(static_cast<CCmdUI*>(c.pExtra)), void(CCmdUI*))
AFX_CRACKER_(CrackNotify,
             (p->*f)(static_cast<AFX_NOTIFY*>(c.pExtra)->pNMHDR, static_cast<AFX_NOTIFY*>(c.pExtra)->pResult),
             void(NMHDR*, LRESULT*))
AFX_CRACKER_(CrackNotifyRange,
             (p->*f)(c.nID, static_cast<AFX_NOTIFY*>(c.pExtra)->pNMHDR,
                     static_cast<AFX_NOTIFY*>(c.pExtra)->pResult),
             void(UINT, NMHDR*, LRESULT*))

// Handlers that decide whether routing goes on.
struct CrackCommandEx {
  template <class S>
  static constexpr bool kAccepts = std::is_same_v<S, BOOL(UINT)>;
  template <class C, class F>
  static BOOL Call(C* p, F f, AFX_MSGCALL& c) { return (p->*f)(c.nID); }
};
struct CrackNotifyEx {
  template <class S>
  static constexpr bool kAccepts = std::is_same_v<S, BOOL(UINT, NMHDR*, LRESULT*)>;
  template <class C, class F>
  static BOOL Call(C* p, F f, AFX_MSGCALL& c) {
    AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(c.pExtra);
    return (p->*f)(c.nID, n->pNMHDR, n->pResult);
  }
};
struct CrackNotifyReflectEx {
  template <class S>
  static constexpr bool kAccepts = std::is_same_v<S, BOOL(NMHDR*, LRESULT*)>;
  template <class C, class F>
  static BOOL Call(C* p, F f, AFX_MSGCALL& c) {
    AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(c.pExtra);
    return (p->*f)(n->pNMHDR, n->pResult);
  }
};
struct CrackControlReflectEx {
  template <class S>
  static constexpr bool kAccepts = std::is_same_v<S, BOOL()>;
  template <class C, class F>
  static BOOL Call(C* p, F f, AFX_MSGCALL&) { return (p->*f)(); }
};

// Scroll messages: the third parameter is the scroll bar control (a
// CScrollBar* or a CWnd*), nullptr for the window's own scroll bars.
template <class T>
struct ScrollArg;
template <class C, class P>
struct ScrollArg<void (C::*)(UINT, UINT, P*)> {
  using Type = P;
};
struct CrackScroll {
  template <class S>
  static constexpr bool kAccepts = kOneOf<S, void(UINT, UINT, CScrollBar*), void(UINT, UINT, CWnd*)>;
  template <class C, class F>
  static BOOL Call(C* p, F f, AFX_MSGCALL& c) {
    using Bar = typename ScrollArg<F>::Type;
    Bar* bar = c.lParam ? static_cast<Bar*>(WndOfL(c.lParam)) : nullptr;
    (p->*f)(LOWORD(c.wParam), static_cast<UINT>(static_cast<short>(HIWORD(c.wParam))), bar);
    return TRUE;
  }
};

// WM_SETTINGCHANGE: the section as narrow text, wide text or CStrArg.
struct CrackSettingChange {
  template <class S>
  static constexpr bool kAccepts = kOneOf<S, void(UINT, LPCSTR), void(UINT, LPCWSTR), void(UINT, CStrArg)>;
  template <class C, class F>
  static BOOL Call(C* p, F f, AFX_MSGCALL& c) {
    const LPCWSTR section = reinterpret_cast<LPCWSTR>(c.lParam);
    if constexpr (std::is_same_v<typename Pmf<F>::Sig, void(UINT, LPCSTR)>) {
      const std::string narrow = section ? AfxNarrow(section) : std::string();
      (p->*f)(static_cast<UINT>(c.wParam), section ? narrow.c_str() : nullptr);
    } else {
      (p->*f)(static_cast<UINT>(c.wParam), section);
    }
    return TRUE;
  }
};

#undef AFX_CRACKER_

constexpr UINT Word(long long v) { return static_cast<UINT>(static_cast<WORD>(v)); }

}  // namespace afx_detail

#define AFX_WM_ENTRY_(msg, crack, fn) \
  {static_cast<UINT>(msg), 0, 0, 0, nullptr, &afx_detail::Thunk<afx_detail::crack, fn>},

#define ON_WM_CREATE() AFX_WM_ENTRY_(WM_CREATE, CrackCreate, &ThisClass::OnCreate)
#define ON_WM_DESTROY() AFX_WM_ENTRY_(WM_DESTROY, CrackVoid, &ThisClass::OnDestroy)
#define ON_WM_NCDESTROY() AFX_WM_ENTRY_(WM_NCDESTROY, CrackVoid, &ThisClass::OnNcDestroy)
#define ON_WM_CLOSE() AFX_WM_ENTRY_(WM_CLOSE, CrackVoid, &ThisClass::OnClose)
#define ON_WM_PAINT() AFX_WM_ENTRY_(WM_PAINT, CrackVoid, &ThisClass::OnPaint)
#define ON_WM_NCPAINT() AFX_WM_ENTRY_(WM_NCPAINT, CrackVoid, &ThisClass::OnNcPaint)
#define ON_WM_SIZE() AFX_WM_ENTRY_(WM_SIZE, CrackSize, &ThisClass::OnSize)
#define ON_WM_MOVE() AFX_WM_ENTRY_(WM_MOVE, CrackMove, &ThisClass::OnMove)
#define ON_WM_TIMER() AFX_WM_ENTRY_(WM_TIMER, CrackTimer, &ThisClass::OnTimer)
#define ON_WM_NCHITTEST() AFX_WM_ENTRY_(WM_NCHITTEST, CrackHitTest, &ThisClass::OnNcHitTest)
#define ON_WM_NCCALCSIZE() AFX_WM_ENTRY_(WM_NCCALCSIZE, CrackNcCalcSize, &ThisClass::OnNcCalcSize)
#define ON_WM_NCACTIVATE() AFX_WM_ENTRY_(WM_NCACTIVATE, CrackBoolB, &ThisClass::OnNcActivate)
#define ON_WM_NCMOUSEMOVE() AFX_WM_ENTRY_(WM_NCMOUSEMOVE, CrackMouse, &ThisClass::OnNcMouseMove)
#define ON_WM_NCLBUTTONDOWN() AFX_WM_ENTRY_(WM_NCLBUTTONDOWN, CrackMouse, &ThisClass::OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() AFX_WM_ENTRY_(WM_NCLBUTTONUP, CrackMouse, &ThisClass::OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() AFX_WM_ENTRY_(WM_NCLBUTTONDBLCLK, CrackMouse, &ThisClass::OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN() AFX_WM_ENTRY_(WM_NCRBUTTONDOWN, CrackMouse, &ThisClass::OnNcRButtonDown)
#define ON_WM_NCRBUTTONUP() AFX_WM_ENTRY_(WM_NCRBUTTONUP, CrackMouse, &ThisClass::OnNcRButtonUp)
#define ON_WM_MOUSEMOVE() AFX_WM_ENTRY_(WM_MOUSEMOVE, CrackMouse, &ThisClass::OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_WM_ENTRY_(WM_LBUTTONDOWN, CrackMouse, &ThisClass::OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_WM_ENTRY_(WM_LBUTTONUP, CrackMouse, &ThisClass::OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_WM_ENTRY_(WM_LBUTTONDBLCLK, CrackMouse, &ThisClass::OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_WM_ENTRY_(WM_RBUTTONDOWN, CrackMouse, &ThisClass::OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_WM_ENTRY_(WM_RBUTTONUP, CrackMouse, &ThisClass::OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_WM_ENTRY_(WM_RBUTTONDBLCLK, CrackMouse, &ThisClass::OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_WM_ENTRY_(WM_MBUTTONDOWN, CrackMouse, &ThisClass::OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_WM_ENTRY_(WM_MBUTTONUP, CrackMouse, &ThisClass::OnMButtonUp)
#define ON_WM_MOUSEWHEEL() AFX_WM_ENTRY_(WM_MOUSEWHEEL, CrackWheel, &ThisClass::OnMouseWheel)
#define ON_WM_MOUSEACTIVATE() AFX_WM_ENTRY_(WM_MOUSEACTIVATE, CrackMouseActivate, &ThisClass::OnMouseActivate)
#define ON_WM_SETCURSOR() AFX_WM_ENTRY_(WM_SETCURSOR, CrackSetCursor, &ThisClass::OnSetCursor)
#define ON_WM_KEYDOWN() AFX_WM_ENTRY_(WM_KEYDOWN, CrackKey, &ThisClass::OnKeyDown)
#define ON_WM_KEYUP() AFX_WM_ENTRY_(WM_KEYUP, CrackKey, &ThisClass::OnKeyUp)
#define ON_WM_CHAR() AFX_WM_ENTRY_(WM_CHAR, CrackKey, &ThisClass::OnChar)
#define ON_WM_SYSKEYDOWN() AFX_WM_ENTRY_(WM_SYSKEYDOWN, CrackKey, &ThisClass::OnSysKeyDown)
#define ON_WM_SYSKEYUP() AFX_WM_ENTRY_(WM_SYSKEYUP, CrackKey, &ThisClass::OnSysKeyUp)
#define ON_WM_VSCROLL() AFX_WM_ENTRY_(WM_VSCROLL, CrackScroll, &ThisClass::OnVScroll)
#define ON_WM_HSCROLL() AFX_WM_ENTRY_(WM_HSCROLL, CrackScroll, &ThisClass::OnHScroll)
#define ON_WM_SETFOCUS() AFX_WM_ENTRY_(WM_SETFOCUS, CrackFocus, &ThisClass::OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_WM_ENTRY_(WM_KILLFOCUS, CrackFocus, &ThisClass::OnKillFocus)
#define ON_WM_ERASEBKGND() AFX_WM_ENTRY_(WM_ERASEBKGND, CrackEraseBkgnd, &ThisClass::OnEraseBkgnd)
#define ON_WM_SETTINGCHANGE() AFX_WM_ENTRY_(WM_SETTINGCHANGE, CrackSettingChange, &ThisClass::OnSettingChange)
#define ON_WM_SYSCOLORCHANGE() AFX_WM_ENTRY_(WM_SYSCOLORCHANGE, CrackVoid, &ThisClass::OnSysColorChange)
#define ON_WM_WINDOWPOSCHANGING() AFX_WM_ENTRY_(WM_WINDOWPOSCHANGING, CrackWindowPos, &ThisClass::OnWindowPosChanging)
#define ON_WM_WINDOWPOSCHANGED() AFX_WM_ENTRY_(WM_WINDOWPOSCHANGED, CrackWindowPos, &ThisClass::OnWindowPosChanged)
#define ON_WM_GETMINMAXINFO() AFX_WM_ENTRY_(WM_GETMINMAXINFO, CrackMinMax, &ThisClass::OnGetMinMaxInfo)
#define ON_WM_CAPTURECHANGED() AFX_WM_ENTRY_(WM_CAPTURECHANGED, CrackCaptureChanged, &ThisClass::OnCaptureChanged)
#define ON_WM_CANCELMODE() AFX_WM_ENTRY_(WM_CANCELMODE, CrackVoid, &ThisClass::OnCancelMode)
#define ON_WM_CONTEXTMENU() AFX_WM_ENTRY_(WM_CONTEXTMENU, CrackContextMenu, &ThisClass::OnContextMenu)
#define ON_WM_INITMENU() AFX_WM_ENTRY_(WM_INITMENU, CrackInitMenu, &ThisClass::OnInitMenu)
#define ON_WM_INITMENUPOPUP() AFX_WM_ENTRY_(WM_INITMENUPOPUP, CrackInitMenuPopup, &ThisClass::OnInitMenuPopup)
#define ON_WM_MENUSELECT() AFX_WM_ENTRY_(WM_MENUSELECT, CrackMenuSelect, &ThisClass::OnMenuSelect)
// All WM_CTLCOLOR* messages; nCtlColor is CTLCOLOR_BTN, CTLCOLOR_EDIT, ...
#define ON_WM_CTLCOLOR() AFX_WM_ENTRY_(WM_CTLCOLOR, CrackCtlColor, &ThisClass::OnCtlColor)
#define ON_WM_SYSCOMMAND() AFX_WM_ENTRY_(WM_SYSCOMMAND, CrackSysCommand, &ThisClass::OnSysCommand)
#define ON_WM_SHOWWINDOW() AFX_WM_ENTRY_(WM_SHOWWINDOW, CrackShowWindow, &ThisClass::OnShowWindow)
#define ON_WM_ACTIVATE() AFX_WM_ENTRY_(WM_ACTIVATE, CrackActivate, &ThisClass::OnActivate)
#define ON_WM_ACTIVATEAPP() AFX_WM_ENTRY_(WM_ACTIVATEAPP, CrackActivateApp, &ThisClass::OnActivateApp)
#define ON_WM_ENABLE() AFX_WM_ENTRY_(WM_ENABLE, CrackVoidB, &ThisClass::OnEnable)
#define ON_WM_DRAWITEM() AFX_WM_ENTRY_(WM_DRAWITEM, CrackDrawItem, &ThisClass::OnDrawItem)
#define ON_WM_MEASUREITEM() AFX_WM_ENTRY_(WM_MEASUREITEM, CrackMeasureItem, &ThisClass::OnMeasureItem)
#define ON_WM_QUERYENDSESSION() AFX_WM_ENTRY_(WM_QUERYENDSESSION, CrackQueryEnd, &ThisClass::OnQueryEndSession)
#define ON_WM_ENDSESSION() AFX_WM_ENTRY_(WM_ENDSESSION, CrackVoidB, &ThisClass::OnEndSession)
#define ON_WM_DROPFILES() AFX_WM_ENTRY_(WM_DROPFILES, CrackDropFiles, &ThisClass::OnDropFiles)

// LRESULT fn(WPARAM, LPARAM)
#define ON_MESSAGE(message, memberFxn) AFX_WM_ENTRY_(message, CrackMessage, memberFxn)
// LRESULT fn(WPARAM, LPARAM); nMessageVariable holds the registered message.
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn) \
  {0, 0, 0, 0, &(nMessageVariable), &afx_detail::Thunk<afx_detail::CrackMessage, memberFxn>},
// void fn(WPARAM, LPARAM), in a CWinThread's map: messages posted to the thread.
#define ON_THREAD_MESSAGE(message, memberFxn) \
  {static_cast<UINT>(message), AFX_CN_THREADMSG, 0, 0, nullptr, &afx_detail::Thunk<afx_detail::CrackThreadMessage, memberFxn>},
#define ON_REGISTERED_THREAD_MESSAGE(nMessageVariable, memberFxn) \
  {0, AFX_CN_THREADMSG, 0, 0, &(nMessageVariable), &afx_detail::Thunk<afx_detail::CrackThreadMessage, memberFxn>},

#define AFX_CMD_ENTRY_(msg, code, id, lastId, crack, fn)                                         \
  {static_cast<UINT>(msg), (code), static_cast<UINT>(id), static_cast<UINT>(lastId), nullptr, \
   &afx_detail::Thunk<afx_detail::crack, fn>},

// void fn()
#define ON_COMMAND(id, memberFxn) AFX_CMD_ENTRY_(WM_COMMAND, CN_COMMAND, id, id, CrackVoid, memberFxn)
// void fn(UINT id)
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
  AFX_CMD_ENTRY_(WM_COMMAND, CN_COMMAND, id, idLast, CrackCommandRange, memberFxn)
// BOOL fn(UINT id); FALSE routes the command on.
#define ON_COMMAND_EX(id, memberFxn) AFX_CMD_ENTRY_(WM_COMMAND, CN_COMMAND, id, id, CrackCommandEx, memberFxn)
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn) \
  AFX_CMD_ENTRY_(WM_COMMAND, CN_COMMAND, id, idLast, CrackCommandEx, memberFxn)
// void fn(CCmdUI*)
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
  AFX_CMD_ENTRY_(WM_COMMAND, static_cast<UINT>(CN_UPDATE_COMMAND_UI), id, id, CrackUpdate, memberFxn)
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn) \
  AFX_CMD_ENTRY_(WM_COMMAND, static_cast<UINT>(CN_UPDATE_COMMAND_UI), id, idLast, CrackUpdate, memberFxn)
// void fn(): WM_COMMAND notification `code` of control `id`.
#define ON_CONTROL(code, id, memberFxn) \
  AFX_CMD_ENTRY_(WM_COMMAND, afx_detail::Word(code), id, id, CrackVoid, memberFxn)
// void fn(UINT id)
#define ON_CONTROL_RANGE(code, id, idLast, memberFxn) \
  AFX_CMD_ENTRY_(WM_COMMAND, afx_detail::Word(code), id, idLast, CrackCommandRange, memberFxn)
// void fn(NMHDR*, LRESULT*)
#define ON_NOTIFY(code, id, memberFxn) AFX_CMD_ENTRY_(WM_NOTIFY, afx_detail::Word(code), id, id, CrackNotify, memberFxn)
// void fn(UINT id, NMHDR*, LRESULT*)
#define ON_NOTIFY_RANGE(code, id, idLast, memberFxn) \
  AFX_CMD_ENTRY_(WM_NOTIFY, afx_detail::Word(code), id, idLast, CrackNotifyRange, memberFxn)
// BOOL fn(UINT id, NMHDR*, LRESULT*); FALSE routes the notification on.
#define ON_NOTIFY_EX(code, id, memberFxn) \
  AFX_CMD_ENTRY_(WM_NOTIFY, afx_detail::Word(code), id, id, CrackNotifyEx, memberFxn)
#define ON_NOTIFY_EX_RANGE(code, id, idLast, memberFxn) \
  AFX_CMD_ENTRY_(WM_NOTIFY, afx_detail::Word(code), id, idLast, CrackNotifyEx, memberFxn)
// In a control's map: its own notification, reflected by the parent.
// void fn(NMHDR*, LRESULT*); the parent's ON_NOTIFY is not called then.
#define ON_NOTIFY_REFLECT(code, memberFxn) \
  AFX_CMD_ENTRY_(WM_REFLECT_BASE + WM_NOTIFY, afx_detail::Word(code), 0, 0, CrackNotify, memberFxn)
// BOOL fn(NMHDR*, LRESULT*); FALSE lets the parent handle it too.
#define ON_NOTIFY_REFLECT_EX(code, memberFxn) \
  AFX_CMD_ENTRY_(WM_REFLECT_BASE + WM_NOTIFY, afx_detail::Word(code), 0, 0, CrackNotifyReflectEx, memberFxn)
// void fn(): a WM_COMMAND notification of the control itself.
#define ON_CONTROL_REFLECT(code, memberFxn) \
  AFX_CMD_ENTRY_(WM_REFLECT_BASE + WM_COMMAND, afx_detail::Word(code), 0, 0, CrackVoid, memberFxn)
#define ON_CONTROL_REFLECT_EX(code, memberFxn) \
  AFX_CMD_ENTRY_(WM_REFLECT_BASE + WM_COMMAND, afx_detail::Word(code), 0, 0, CrackControlReflectEx, memberFxn)

// Control notifications (void fn()).
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SELCANCEL(id, memberFxn) ON_CONTROL(LBN_SELCANCEL, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)

// The other parts of the framework.
#include "afx_docview.h"
#include "afx_dialog.h"
