#include "ui_win/SizingControlBar.h"

#include <algorithm>

using ui_core::BarRect;
using ui_core::DockSide;

namespace {

BarRect ToBar(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
CRect ToCRect(const BarRect& r) { return CRect(r.left, r.top, r.right, r.bottom); }

}  // namespace

IMPLEMENT_DYNAMIC(CSizingControlBar, CControlBar)

BEGIN_MESSAGE_MAP(CSizingControlBar, CControlBar)
  ON_WM_CREATE()
  ON_WM_PAINT()
  ON_WM_NCPAINT()
  ON_WM_NCCALCSIZE()
  ON_WM_WINDOWPOSCHANGING()
  ON_WM_CAPTURECHANGED()
  ON_WM_SETTINGCHANGE()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_NCLBUTTONDOWN()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_RBUTTONDOWN()
  ON_WM_NCMOUSEMOVE()
  ON_WM_NCHITTEST()
  ON_WM_CLOSE()
  ON_WM_SIZE()
  ON_MESSAGE(WM_SETTEXT, &CSizingControlBar::OnSetText)
END_MESSAGE_MAP()

CSizingControlBar::CSizingControlBar()
    : m_dwSCBStyle(0),
      m_htEdge(0),
      m_szHorz(200, 200),
      m_szVert(200, 200),
      m_szFloat(200, 200),
      m_szMinHorz(ui_core::kMinHorzSize.cx, ui_core::kMinHorzSize.cy),
      m_szMinVert(ui_core::kMinVertSize.cx, ui_core::kMinVertSize.cy),
      m_szMinFloat(ui_core::kMinFloatSize.cx, ui_core::kMinFloatSize.cy),
      m_nTrackPosMin(0),
      m_nTrackPosMax(0),
      m_nTrackPosOld(0),
      m_nTrackEdgeOfs(0),
      m_bTracking(FALSE),
      m_rectOldTracker(0, 0, 0, 0),
      m_bDragShowContent(FALSE),
      m_bKeepSize(FALSE),
      m_bParentSizing(FALSE),
      m_nDockBarID(0),
      m_cxEdge(ui_core::kEdgeWidth) {}

CSizingControlBar::~CSizingControlBar() = default;
