// CDocument, CDocTemplate, CSingleDocTemplate and the application's
// document-template services (AddDocTemplate, OnFileNew).
#include <afxwin.h>

#include <algorithm>

#include "frame_internal.h"

// ---------------------------------------------------------------------------
// CDocument

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

CDocument::CDocument() = default;

CDocument::~CDocument() {
  // Views still attached lose their document.
  for (CView* view : m_viewList) view->m_pDocument = nullptr;
  m_viewList.clear();
  if (m_pDocTemplate) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(CStrArg lpszTitle) {
  m_strTitle = lpszTitle.get() ? CString(lpszTitle.get()) : CString();
  UpdateFrameCounts();
}

void CDocument::SetPathName(CStrArg lpszPathName, BOOL /*bAddToMRU*/) {
  m_strPathName = lpszPathName.get() ? CString(lpszPathName.get()) : CString();
  // The title is the file name without its folder.
  const int slash = std::max(m_strPathName.ReverseFind(L'\\'), m_strPathName.ReverseFind(L'/'));
  SetTitle(m_strPathName.Mid(slash + 1));
}

POSITION CDocument::GetFirstViewPosition() const {
  return m_viewList.empty() ? nullptr : afx_frame::ToPosition(0);
}

CView* CDocument::GetNextView(POSITION& rPosition) const {
  const size_t index = afx_frame::FromPosition(rPosition);
  if (rPosition == nullptr || index >= m_viewList.size()) {
    rPosition = nullptr;
    return nullptr;
  }
  CView* view = m_viewList[index];
  rPosition = index + 1 < m_viewList.size() ? afx_frame::ToPosition(index + 1) : nullptr;
  return view;
}

void CDocument::AddView(CView* pView) {
  if (!pView || std::find(m_viewList.begin(), m_viewList.end(), pView) != m_viewList.end())
    return;
  if (pView->m_pDocument && pView->m_pDocument != this) pView->m_pDocument->RemoveView(pView);
  m_viewList.push_back(pView);
  pView->m_pDocument = this;
  OnChangedViewList();
}

void CDocument::RemoveView(CView* pView) {
  auto it = std::find(m_viewList.begin(), m_viewList.end(), pView);
  if (it == m_viewList.end()) return;
  m_viewList.erase(it);
  pView->m_pDocument = nullptr;
  OnChangedViewList();
}

void CDocument::OnChangedViewList() {
  // The last view gone takes an auto-deleting document with it.
  if (m_viewList.empty() && m_bAutoDelete) {
    OnCloseDocument();
    return;
  }
  UpdateFrameCounts();
}

void CDocument::UpdateFrameCounts() {
  std::vector<CFrameWnd*> frames;
  for (CView* view : m_viewList) {
    CFrameWnd* frame = view->GetParentFrame();
    if (frame && std::find(frames.begin(), frames.end(), frame) == frames.end())
      frames.push_back(frame);
  }
  for (CFrameWnd* frame : frames)
    if (frame->m_hWnd) frame->OnUpdateFrameTitle(TRUE);
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
  const std::vector<CView*> views = m_viewList;
  for (CView* view : views)
    if (view != pSender) view->OnUpdate(pSender, lHint, pHint);
}

void CDocument::DeleteContents() {}

BOOL CDocument::OnNewDocument() {
  DeleteContents();
  m_strPathName.Empty();
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::OnOpenDocument(CStrArg /*lpszPathName*/) {
  // Documents keep no files of their own; a derived document that reads one
  // overrides this.
  DeleteContents();
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::OnSaveDocument(CStrArg /*lpszPathName*/) {
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::SaveModified() {
  if (!IsModified()) return TRUE;
  CString name = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
  if (name.IsEmpty()) name = L"Untitled";
  const CString prompt = CString(L"Save changes to ") + name + L"?";
  switch (AfxMessageBox(prompt, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL:
      return FALSE;
    case IDYES:
      return OnSaveDocument(m_strPathName);
    default:
      return TRUE;
  }
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrame) {
  // Another frame still showing the document lets this one go.
  for (CView* view : m_viewList) {
    CFrameWnd* frame = view->GetParentFrame();
    if (frame && frame != pFrame) return TRUE;
  }
  return SaveModified();
}

void CDocument::PreCloseFrame(CFrameWnd* /*pFrame*/) {}

void CDocument::OnCloseDocument() {
  // The frames go first; the document must outlive their views.
  const BOOL autoDelete = m_bAutoDelete;
  m_bAutoDelete = FALSE;
  while (!m_viewList.empty()) {
    CView* view = m_viewList.front();
    CFrameWnd* frame = view->GetParentFrame();
    if (frame && frame->m_hWnd) {
      PreCloseFrame(frame);
      frame->DestroyWindow();
    } else if (view->m_hWnd) {
      view->DestroyWindow();
    }
    // A view whose window did not go is let go here.
    if (!m_viewList.empty() && m_viewList.front() == view) RemoveView(view);
  }
  m_bAutoDelete = autoDelete;
  DeleteContents();
  if (m_bAutoDelete) delete this;
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---------------------------------------------------------------------------
// CDocTemplate

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource),
      m_pDocClass(pDocClass),
      m_pFrameClass(pFrameClass),
      m_pViewClass(pViewClass) {
  LoadTemplate();
}

CDocTemplate::~CDocTemplate() = default;

void CDocTemplate::LoadTemplate() {
  if (m_strDocStrings.IsEmpty()) m_strDocStrings.LoadString(m_nIDResource);
}

BOOL CDocTemplate::GetDocString(CString& rString, enum DocStringIndex index) const {
  rString = afx_frame::SubString(m_strDocStrings, static_cast<int>(index));
  return !rString.IsEmpty();
}

void CDocTemplate::AddDocument(CDocument* pDoc) {
  if (pDoc) pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc) {
  if (pDoc && pDoc->m_pDocTemplate == this) pDoc->m_pDocTemplate = nullptr;
}

void CDocTemplate::CloseAllDocuments(BOOL /*bEndSession*/) {
  POSITION pos = GetFirstDocPosition();
  while (pos) {
    CDocument* doc = GetNextDoc(pos);
    if (doc) doc->OnCloseDocument();
    pos = GetFirstDocPosition();  // the list changed
  }
}

BOOL CDocTemplate::SaveAllModified() {
  POSITION pos = GetFirstDocPosition();
  while (pos) {
    CDocument* doc = GetNextDoc(pos);
    if (doc && !doc->SaveModified()) return FALSE;
  }
  return TRUE;
}

CDocument* CDocTemplate::CreateNewDocument() {
  if (!m_pDocClass) return nullptr;
  CObject* object = m_pDocClass->CreateObject();
  CDocument* doc = object && object->IsKindOf(RUNTIME_CLASS(CDocument))
                       ? static_cast<CDocument*>(object)
                       : nullptr;
  if (!doc) {
    delete object;
    return nullptr;
  }
  AddDocument(doc);
  return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
  if (!m_pFrameClass) return nullptr;
  CCreateContext context;
  context.m_pCurrentFrame = pOther;
  context.m_pCurrentDoc = pDoc;
  context.m_pNewViewClass = m_pViewClass;
  context.m_pNewDocTemplate = this;

  CObject* object = m_pFrameClass->CreateObject();
  CFrameWnd* frame = object && object->IsKindOf(RUNTIME_CLASS(CFrameWnd))
                         ? static_cast<CFrameWnd*>(object)
                         : nullptr;
  if (!frame) {
    delete object;
    return nullptr;
  }
  if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr,
                        &context)) {
    // A window that was created and destroyed again has deleted its object.
    if (!afx_frame::WasDeleted(frame)) delete frame;
    return nullptr;
  }
  return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
  if (pFrame) pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

// ---------------------------------------------------------------------------
// CSingleDocTemplate

IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass,
                                       CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}

CSingleDocTemplate::~CSingleDocTemplate() {
  if (m_pOnlyDoc) {
    CDocument* doc = m_pOnlyDoc;
    m_pOnlyDoc = nullptr;
    doc->m_pDocTemplate = nullptr;
  }
}

POSITION CSingleDocTemplate::GetFirstDocPosition() const {
  return m_pOnlyDoc ? afx_frame::ToPosition(0) : nullptr;
}

CDocument* CSingleDocTemplate::GetNextDoc(POSITION& rPos) const {
  CDocument* doc = rPos ? m_pOnlyDoc : nullptr;
  rPos = nullptr;
  return doc;
}

void CSingleDocTemplate::AddDocument(CDocument* pDoc) {
  CDocTemplate::AddDocument(pDoc);
  m_pOnlyDoc = pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc) {
  CDocTemplate::RemoveDocument(pDoc);
  if (m_pOnlyDoc == pDoc) m_pOnlyDoc = nullptr;
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* pDocument) {
  CString name;
  if (!GetDocString(name, docName) || name.IsEmpty()) {
    if (!name.LoadString(AFX_IDS_UNTITLED) || name.IsEmpty()) name = L"Untitled";
  }
  pDocument->SetTitle(name);
}

CDocument* CSingleDocTemplate::OpenDocumentFile(CStrArg lpszPathName, BOOL bMakeVisible) {
  CDocument* doc = nullptr;
  CFrameWnd* frame = nullptr;
  BOOL created = FALSE;

  if (m_pOnlyDoc) {
    // The one document is reused: it keeps its frame.
    doc = m_pOnlyDoc;
    if (!doc->SaveModified()) return nullptr;
    POSITION pos = doc->GetFirstViewPosition();
    if (CView* view = doc->GetNextView(pos)) frame = view->GetParentFrame();
  } else {
    doc = CreateNewDocument();
    created = TRUE;
  }
  if (!doc) return nullptr;

  if (!frame) {
    // The document must survive a frame that fails half-way.
    const BOOL autoDelete = doc->m_bAutoDelete;
    doc->m_bAutoDelete = FALSE;
    frame = CreateNewFrame(doc, nullptr);
    doc->m_bAutoDelete = autoDelete;
    if (!frame) {
      if (created) delete doc;
      return nullptr;
    }
  }

  if (lpszPathName.IsNull()) {
    SetDefaultTitle(doc);
    if (!bMakeVisible) doc->m_bEmbedded = TRUE;
    if (!doc->OnNewDocument()) {
      if (created) frame->DestroyWindow();
      return nullptr;
    }
  } else {
    if (!doc->OnOpenDocument(lpszPathName)) {
      if (created) frame->DestroyWindow();
      return nullptr;
    }
    doc->SetPathName(lpszPathName);
  }

  CWinThread* thread = AfxGetThread();
  if (created && thread && !thread->m_pMainWnd) thread->m_pMainWnd = frame;
  InitialUpdateFrame(frame, doc, bMakeVisible);
  return doc;
}

// ---------------------------------------------------------------------------
// The application's templates (AddDocTemplate keeps them in m_templateList).

void CWinApp::OnFileNew() {
  // With several templates the first one is used.
  if (!m_templateList.empty()) m_templateList.front()->OpenDocumentFile(nullptr);
}
