#pragma once
// Documents and their templates, frame windows, views and control bars
// (toolbar, status bar, the dock bars around a frame's client area and the
// mini frames that hold floating bars).  Included by afxwin.h.
#include <vector>

class CDocument;
class CDocTemplate;
class CView;
class CFrameWnd;
class CControlBar;
class CDockBar;
class CDockContext;
class CMiniDockFrameWnd;

// A place in a list walk (GetFirstViewPosition / GetNextView and the like);
// nullptr past the end.
struct AFX_POSITION_TAG;
using POSITION = AFX_POSITION_TAG*;

// ---------------------------------------------------------------------------
// Private messages of the framework (values as the framework defines them).

#ifndef WM_SIZEPARENT
#define WM_SIZEPARENT 0x0361
#endif
#ifndef WM_SETMESSAGESTRING
#define WM_SETMESSAGESTRING 0x0362
#endif
#ifndef WM_IDLEUPDATECMDUI
#define WM_IDLEUPDATECMDUI 0x0363
#endif
#ifndef WM_INITIALUPDATE
#define WM_INITIALUPDATE 0x0364
#endif
#ifndef WM_RECALCPARENT
#define WM_RECALCPARENT 0x0368
#endif

// ---------------------------------------------------------------------------
// Styles.

// Frame windows: the document's title joins the window title.
#define FWS_ADDTOTITLE 0x00008000L
#define FWS_PREFIXTITLE 0x00004000L
#define FWS_SNAPTOBARS 0x00002000L

// Mini frames.
#define MFS_SYNCACTIVE 0x00000100L
#define MFS_4THICKFRAME 0x00000200L
#define MFS_THICKFRAME 0x00000400L
#define MFS_MOVEFRAME 0x00000800L
#define MFS_BLOCKSYSMENU 0x00001000L

// Default style of a view.
#define AFX_WS_DEFAULT_VIEW (WS_CHILD | WS_VISIBLE | WS_BORDER)

// Control bars.
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_FLOAT_MULTI 0x0040L
#define CBRS_BORDER_3D 0x0080L
#define CBRS_HIDE_INPLACE 0x0008L
#define CBRS_SIZE_DYNAMIC 0x0004L
#define CBRS_SIZE_FIXED 0x0002L
#define CBRS_FLOATING 0x0001L
#define CBRS_GRIPPER 0x00400000L
#define CBRS_ORIENT_HORZ (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_ORIENT_ANY (CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT)
#define CBRS_ALL 0x0040FFFFL
#define CBRS_NOALIGN 0x00000000L
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// Layout modes of CControlBar::CalcDynamicLayout.
#define LM_STRETCH 0x01
#define LM_HORZ 0x02
#define LM_MRUWIDTH 0x04
#define LM_HORZDOCK 0x08
#define LM_VERTDOCK 0x10
#define LM_LENGTHY 0x20
#define LM_COMMIT 0x40

// Status bar pane styles.
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS SBT_NOBORDERS
#define SBPS_POPOUT SBT_POPOUT
#define SBPS_OWNERDRAW SBT_OWNERDRAW
#define SBPS_DISABLED 0x04000000
#define SBPS_STRETCH 0x08000000

// Toolbar button styles.
#define TBBS_BUTTON MAKELONG(TBSTYLE_BUTTON, 0)
#define TBBS_SEPARATOR MAKELONG(TBSTYLE_SEP, 0)
#define TBBS_CHECKBOX MAKELONG(TBSTYLE_CHECK, 0)
#define TBBS_GROUP MAKELONG(TBSTYLE_GROUP, 0)
#define TBBS_CHECKGROUP MAKELONG(TBSTYLE_CHECKGROUP, 0)
#define TBBS_CHECKED MAKELONG(0, TBSTATE_CHECKED)
#define TBBS_PRESSED MAKELONG(0, TBSTATE_PRESSED)
#define TBBS_DISABLED MAKELONG(0, TBSTATE_ENABLED)
#define TBBS_INDETERMINATE MAKELONG(0, TBSTATE_INDETERMINATE)
#define TBBS_HIDDEN MAKELONG(0, TBSTATE_HIDDEN)
#define TBBS_WRAPPED MAKELONG(0, TBSTATE_WRAP)

// The resource type of toolbar layouts (version, button width and height,
// count, then one command id a button, 0 for a separator; all 16-bit).
#define RT_TOOLBAR MAKEINTRESOURCE(241)

// ---------------------------------------------------------------------------
// CCreateContext: what a frame needs to make its view.

struct CCreateContext {
  CRuntimeClass* m_pNewViewClass = nullptr;
  CDocument* m_pCurrentDoc = nullptr;
  CDocTemplate* m_pNewDocTemplate = nullptr;
  CView* m_pLastView = nullptr;
  CFrameWnd* m_pCurrentFrame = nullptr;
};

// ---------------------------------------------------------------------------
// CDocument

class CDocument : public CCmdTarget {
  DECLARE_DYNAMIC(CDocument)

 public:
  CDocument();
  ~CDocument() override;

  const CString& GetTitle() const { return m_strTitle; }
  // Also renames the frames that show the document.
  virtual void SetTitle(CStrArg lpszTitle);
  const CString& GetPathName() const { return m_strPathName; }
  virtual void SetPathName(CStrArg lpszPathName, BOOL bAddToMRU = TRUE);
  CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

  virtual BOOL IsModified() { return m_bModified; }
  virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

  // Views, in the order they were added.
  virtual POSITION GetFirstViewPosition() const;
  virtual CView* GetNextView(POSITION& rPosition) const;
  int GetViewCount() const { return static_cast<int>(m_viewList.size()); }
  void AddView(CView* pView);
  void RemoveView(CView* pView);
  // Calls OnUpdate of every view except pSender.
  void UpdateAllViews(CView* pSender, LPARAM lHint = 0L, CObject* pHint = nullptr);

  virtual void DeleteContents();
  virtual BOOL OnNewDocument();
  virtual BOOL OnOpenDocument(CStrArg lpszPathName);
  virtual BOOL OnSaveDocument(CStrArg lpszPathName);
  // Destroys the frames of the views and, when auto-deleting, the document.
  virtual void OnCloseDocument();
  virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
  virtual BOOL SaveModified();
  virtual void PreCloseFrame(CFrameWnd* pFrame);
  virtual void OnChangedViewList();
  // Sets the titles of the frames that show the document.
  virtual void UpdateFrameCounts();

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  CString m_strTitle;
  CString m_strPathName;
  CDocTemplate* m_pDocTemplate = nullptr;
  std::vector<CView*> m_viewList;
  BOOL m_bModified = FALSE;
  BOOL m_bAutoDelete = TRUE;
  BOOL m_bEmbedded = FALSE;
};

// ---------------------------------------------------------------------------
// CDocTemplate, CSingleDocTemplate

class CDocTemplate : public CCmdTarget {
  DECLARE_DYNAMIC(CDocTemplate)

 protected:
  CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
               CRuntimeClass* pViewClass);

 public:
  ~CDocTemplate() override;

  // Substrings of the template's string resource, separated by '\n'.
  enum DocStringIndex {
    windowTitle,
    docName,
    fileNewName,
    filterName,
    filterExt,
    regFileTypeId,
    regFileTypeName
  };
  virtual BOOL GetDocString(CString& rString, enum DocStringIndex index) const;
  // Reads the string resource (done once, by CWinApp::AddDocTemplate).
  virtual void LoadTemplate();

  virtual POSITION GetFirstDocPosition() const = 0;
  virtual CDocument* GetNextDoc(POSITION& rPos) const = 0;
  virtual void AddDocument(CDocument* pDoc);
  virtual void RemoveDocument(CDocument* pDoc);
  virtual void CloseAllDocuments(BOOL bEndSession);
  virtual BOOL SaveAllModified();

  virtual CDocument* CreateNewDocument();
  // A new frame for pDoc, created from the frame class with LoadFrame.
  virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
  virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
  virtual CDocument* OpenDocumentFile(CStrArg lpszPathName, BOOL bMakeVisible = TRUE) = 0;
  virtual void SetDefaultTitle(CDocument* pDocument) = 0;

  UINT GetResourceId() const { return m_nIDResource; }

  UINT m_nIDResource;
  CRuntimeClass* m_pDocClass;
  CRuntimeClass* m_pFrameClass;
  CRuntimeClass* m_pViewClass;
  CString m_strDocStrings;
};

class CSingleDocTemplate : public CDocTemplate {
  DECLARE_DYNAMIC(CSingleDocTemplate)

 public:
  CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                     CRuntimeClass* pViewClass);
  ~CSingleDocTemplate() override;

  POSITION GetFirstDocPosition() const override;
  CDocument* GetNextDoc(POSITION& rPos) const override;
  void AddDocument(CDocument* pDoc) override;
  void RemoveDocument(CDocument* pDoc) override;
  // With no path: the one document (created with its frame and view the
  // first time), emptied through OnNewDocument.
  CDocument* OpenDocumentFile(CStrArg lpszPathName, BOOL bMakeVisible = TRUE) override;
  void SetDefaultTitle(CDocument* pDocument) override;

  CDocument* m_pOnlyDoc = nullptr;
};

// ---------------------------------------------------------------------------
// CFrameWnd

// WM_SIZEPARENT's parameter: the area left for the bars not yet placed.
struct AFX_SIZEPARENTPARAMS {
  HDWP hDWP;       // null: measure only
  RECT rect;       // the area still free
  SIZE sizeTotal;  // the size the bars took
  BOOL bStretch;   // bars stretch along their side
};

class CFrameWnd : public CWnd {
  DECLARE_DYNCREATE(CFrameWnd)

 public:
  static const CRect rectDefault;

  CFrameWnd();
  ~CFrameWnd() override;

  virtual BOOL Create(CStrArg lpszClassName, CStrArg lpszWindowName,
                      DWORD dwStyle = WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                      CWnd* pParentWnd = nullptr, CStrArg lpszMenuName = nullptr,
                      DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
  // Menu, accelerators and icon of resource nIDResource; the title is the
  // string resource's text up to its first '\n'.
  virtual BOOL LoadFrame(UINT nIDResource,
                         DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                         CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);

  CView* GetActiveView() const { return m_pViewActive; }
  void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
  virtual CDocument* GetActiveDocument();
  virtual CFrameWnd* GetActiveFrame() { return this; }

  // Places the control bars and the client (pane AFX_IDW_PANE_FIRST).
  virtual void RecalcLayout(BOOL bNotify = TRUE);
  // The same, a little later (posted).
  void DelayRecalcLayout(BOOL bNotify = TRUE);
  virtual void ActivateFrame(int nCmdShow = -1);
  void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
  virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
  void UpdateFrameTitleForDocument(CStrArg lpszDocName);
  CString GetTitle() const { return m_strTitle; }
  void SetTitle(CStrArg lpszTitle) { m_strTitle = lpszTitle.get() ? CString(lpszTitle.get()) : CString(); }

  // Status bar text.
  void SetMessageText(CStrArg lpszText);
  void SetMessageText(UINT nID);
  virtual CWnd* GetMessageBar();
  // The prompt of a command: its string resource up to the first '\n'.
  virtual void GetMessageString(UINT nID, CString& rMessage) const;

  // Docking.
  void EnableDocking(DWORD dwDockStyle);
  void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
  void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
  void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
  void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
  CControlBar* GetControlBar(UINT nID);
  // Bars register themselves when created.
  void AddControlBar(CControlBar* pBar);
  void RemoveControlBar(CControlBar* pBar);
  const std::vector<CControlBar*>& GetControlBars() const { return m_listControlBars; }
  // The dock bar that can take pBar at the screen rectangle, or nullptr.
  CDockBar* CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar = nullptr);

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  BOOL m_bAutoMenuEnable = TRUE;
  CString m_strTitle;
  HACCEL m_hAccelTable = nullptr;
  UINT m_nIDHelp = 0;
  CRuntimeClass* m_pFloatingFrameClass = nullptr;
  std::vector<CControlBar*> m_listControlBars;

 protected:
  virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
  // Creates the view of the context with id nID.
  CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  void PostNcDestroy() override;
  // Updates the control bars' buttons and panes.
  virtual void OnIdleUpdate(BOOL bDisableIfNoHandler);

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnClose();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg LRESULT OnInitMenuPopupMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMenuSelectMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnExitMenuLoopMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDelayedLayout(WPARAM wParam, LPARAM lParam);
  afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
  afx_msg BOOL OnBarCheck(UINT nID);
  afx_msg void OnViewToolBar();
  afx_msg void OnViewStatusBar();
  afx_msg void OnUpdateKeyIndicator(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

  CView* m_pViewActive = nullptr;
  BOOL m_bInRecalcLayout = FALSE;
  BOOL m_bLayoutPending = FALSE;
  BOOL m_bMenuShown = FALSE;
  CString m_strLastMessage;

  friend class CView;
  friend class CDocTemplate;
};

// ---------------------------------------------------------------------------
// CView, CCtrlView

class CView : public CWnd {
  DECLARE_DYNAMIC(CView)

 protected:
  CView();

 public:
  ~CView() override;

  CDocument* GetDocument() const { return m_pDocument; }
  virtual void OnInitialUpdate();
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  virtual void OnDraw(CDC* pDC) = 0;

  // Called by the document (UpdateAllViews) and the frame (activation).
  virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
  virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
  virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd);

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void PostNcDestroy() override;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg LRESULT OnInitialUpdateMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMouseActivateMsg(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  CDocument* m_pDocument = nullptr;

  friend class CDocument;
};

// A view that is a control of a system window class.
class CCtrlView : public CView {
  DECLARE_DYNCREATE(CCtrlView)

 public:
  CCtrlView(CStrArg lpszClass = nullptr, DWORD dwStyle = AFX_WS_DEFAULT_VIEW);

  void OnDraw(CDC* pDC) override;

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

  CString m_strClass;
  DWORD m_dwDefaultStyle;
};

// ---------------------------------------------------------------------------
// CControlBar

class CControlBar : public CWnd {
  DECLARE_DYNAMIC(CControlBar)

 protected:
  CControlBar();

 public:
  ~CControlBar() override;

  // Items of the bar (buttons, panes).
  int GetCount() const { return m_nCount; }
  void SetBarStyle(DWORD dwStyle);
  DWORD GetBarStyle() const { return m_dwStyle; }
  // Lets the bar dock at the sides in dwDockStyle (CBRS_ALIGN_*) and float.
  void EnableDocking(DWORD dwDockStyle);
  // The frame whose dock bars take the bar.
  CFrameWnd* GetDockingFrame() const;
  BOOL IsFloating() const;
  // Whether the bar's own window is shown (the frame may be hidden).
  BOOL IsVisible() const;
  virtual BOOL IsDockBar() const { return FALSE; }

  virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
  virtual CSize CalcDynamicLayout(int nLength, DWORD nMode);
  virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
  virtual void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle);

  // The non-client space of the bar (borders and gripper) for its current
  // place.
  virtual CRect CalcNcInsets() const;
  // The gripper rectangle in window coordinates (empty without one).
  CRect GetGripperRect() const;

  DWORD m_dwStyle = 0;
  DWORD m_dwDockStyle = 0;
  CFrameWnd* m_pDockSite = nullptr;
  CDockBar* m_pDockBar = nullptr;
  CDockContext* m_pDockContext = nullptr;
  BOOL m_bAutoDelete = FALSE;
  int m_nCount = 0;
  int m_cxLeftBorder = 2;
  int m_cxRightBorder = 2;
  int m_cyTopBorder = 2;
  int m_cyBottomBorder = 2;

 protected:
  // Registers the bar with its frame (m_pDockSite); done at creation.
  void AttachToFrame();
  void PostNcDestroy() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNcCalcSizeMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNcPaintMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNcHitTestMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNcLButtonDownMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNcLButtonDblClkMsg(WPARAM wParam, LPARAM lParam);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

  friend class CFrameWnd;
  friend class CDockBar;
  friend class CDockContext;
  friend class CMiniDockFrameWnd;
};

// ---------------------------------------------------------------------------
// CToolBar: a toolbar common control as a control bar.

class CToolBar : public CControlBar {
  DECLARE_DYNAMIC(CToolBar)

 public:
  CToolBar();
  ~CToolBar() override;

  virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                      UINT nID = AFX_IDW_TOOLBAR);
  virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                        CRect rcBorders = CRect(0, 0, 0, 0), UINT nID = AFX_IDW_TOOLBAR);

  // The buttons and bitmap of a toolbar resource (RT_TOOLBAR + BITMAP of the
  // same id).
  BOOL LoadToolBar(UINT nIDResource);
  BOOL LoadToolBar(CStrArg lpszResourceName);
  BOOL LoadBitmap(UINT nIDResource);
  BOOL LoadBitmap(CStrArg lpszResourceName);
  void SetSizes(SIZE sizeButton, SIZE sizeImage);
  // One button a command id; 0 makes a separator.
  BOOL SetButtons(const UINT* lpIDArray, int nIDCount);

  int CommandToIndex(UINT nIDFind) const;
  UINT GetItemID(int nIndex) const;
  void GetItemRect(int nIndex, LPRECT lpRect) const;
  UINT GetButtonStyle(int nIndex) const;
  void SetButtonStyle(int nIndex, UINT nStyle);
  void GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const;
  void SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage);

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;

 protected:
  // Lays the buttons in one row or one column; the size they take.
  CSize LayButtons(BOOL bHorz);

  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

  HBITMAP m_hbmImageWell = nullptr;
  CSize m_sizeButton{23, 22};
  CSize m_sizeImage{16, 15};
};

// ---------------------------------------------------------------------------
// CStatusBar: a status bar common control with indicator panes.

class CStatusBar : public CControlBar {
  DECLARE_DYNAMIC(CStatusBar)

 public:
  CStatusBar();
  ~CStatusBar() override;

  virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                      UINT nID = AFX_IDW_STATUS_BAR);
  virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                        UINT nID = AFX_IDW_STATUS_BAR);
  // One pane an id; ID_SEPARATOR makes a stretching message pane, every
  // other id's string resource is its initial text (FALSE when one is
  // missing).
  BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

  int CommandToIndex(UINT nIDFind) const;
  UINT GetItemID(int nIndex) const;
  void GetItemRect(int nIndex, LPRECT lpRect) const;
  CString GetPaneText(int nIndex) const;
  void GetPaneText(int nIndex, CString& rString) const { rString = GetPaneText(nIndex); }
  BOOL SetPaneText(int nIndex, CStrArg lpszNewText, BOOL bUpdate = TRUE);
  void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
  void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
  UINT GetPaneStyle(int nIndex) const;
  void SetPaneStyle(int nIndex, UINT nStyle);

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  CRect CalcNcInsets() const override { return CRect(0, 0, 0, 0); }

 protected:
  struct Pane {
    UINT nID;
    UINT nStyle;
    int cxText;
    CString strText;
  };
  void UpdateParts();
  void ShowPaneText(int nIndex);

  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnSetTextMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDefaultMsg(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  std::vector<Pane> m_panes;

  friend class CStatusCmdUI;
};

// ---------------------------------------------------------------------------
// CDockBar: the docked bars along one side of a frame (or in a mini frame),
// row by row.  m_arrBars starts with nullptr and has a nullptr after each
// row.

class CDockBar : public CControlBar {
  DECLARE_DYNAMIC(CDockBar)

 public:
  explicit CDockBar(BOOL bFloating = FALSE);
  ~CDockBar() override;

  virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
  BOOL IsDockBar() const override { return TRUE; }

  // Takes pBar (out of its previous dock bar); lpRect, in screen
  // coordinates, picks the row: a new row unless it overlaps one.
  void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
  // Drops pBar from the rows (nothing when it is not here).
  BOOL RemoveControlBar(CControlBar* pBar);
  int GetDockedCount() const;
  int GetDockedVisibleCount() const;
  CControlBar* GetDockedControlBar(int nPos) const;
  int FindBar(CControlBar* pBar) const;

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  CRect CalcNcInsets() const override { return CRect(0, 0, 0, 0); }

  CPtrArray m_arrBars;
  BOOL m_bFloating;
  CRect m_rectLayout;
  BOOL m_bLayoutQuery = FALSE;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()
};

// ---------------------------------------------------------------------------
// CDockContext: dragging a bar with a tracking rectangle, and switching it
// between docked and floating.

class CDockContext {
 public:
  explicit CDockContext(CControlBar* pBar);
  virtual ~CDockContext();
  CDockContext(const CDockContext&) = delete;
  CDockContext& operator=(const CDockContext&) = delete;

  // Runs a modal drag loop from pt (screen coordinates) until the left
  // button is released (dock or float there) or the drag is cancelled
  // (Escape, right button, capture lost).
  virtual void StartDrag(CPoint pt);
  // Floating bars dock where they were last docked, docked ones float where
  // they last floated.
  virtual void ToggleDocking();

  CControlBar* m_pBar;
  CFrameWnd* m_pDockSite;
  DWORD m_dwDockStyle = 0;
  CPoint m_ptMRUFloatPos{-1, -1};
  UINT m_uMRUDockID = 0;
  CRect m_rectMRUDockPos;
  BOOL m_bDragging = FALSE;
  // Last tracking rectangle (screen) and whether it would dock.
  CRect m_rectLast;
  BOOL m_bDockTarget = FALSE;

 protected:
  void DrawTracker(const CRect& rect);
  // The window whose rectangle is dragged: the bar, or its mini frame.
  HWND DragWindow() const;
  // The target of a drag point: the dock bar and the rectangle.
  CDockBar* Target(CPoint pt, CPoint offset, CRect& rect);
};

// ---------------------------------------------------------------------------
// Mini frames.

class CMiniFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMiniFrameWnd)

 public:
  CMiniFrameWnd();
  ~CMiniFrameWnd() override;

  BOOL CreateEx(DWORD dwExStyle, CStrArg lpszClassName, CStrArg lpszWindowName, DWORD dwStyle,
                const RECT& rect, CWnd* pParentWnd = nullptr, UINT nID = 0);
};

class CMiniDockFrameWnd : public CMiniFrameWnd {
  DECLARE_DYNCREATE(CMiniDockFrameWnd)

 public:
  CMiniDockFrameWnd();
  ~CMiniDockFrameWnd() override;

  // A floating frame owned by pParent for bars of style dwBarStyle.
  virtual BOOL Create(CWnd* pParent, DWORD dwBarStyle);
  void RecalcLayout(BOOL bNotify = TRUE) override;
  void OnUpdateFrameTitle(BOOL bAddToTitle) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  // The one bar it holds (nullptr when empty).
  CControlBar* GetBar() const;

  CDockBar m_wndDockBar;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  afx_msg void OnClose();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnNcLButtonDownMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNcLButtonDblClkMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  BOOL m_bSizing = FALSE;
};
