#pragma once
// CHexDumpWnd: a child window showing a byte buffer as a hex dump, 16 bytes a
// row ("00000010h: 41 42 00 ... ; AB."), with a vertical scroll bar and
// keyboard scrolling.  It does not own the bytes it shows.
// CDataViewWnd: the same over a private copy of the bytes.
#include "ui_win/mfc.h"

class CHexDumpWnd : public CWnd {
 public:
  CHexDumpWnd();

  // Shows `length` bytes at `data` (kept by the caller while shown), from the
  // first row.
  void SetBuffer(const unsigned char* data, int length);

  int GetRowCount() const { return m_rowCount; }
  int GetLength() const { return m_length; }
  int GetLineHeight() const { return m_lineHeight; }
  int GetCharWidth() const { return m_charWidth; }
  const unsigned char* GetBuffer() const { return m_buffer; }

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnPaint();
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  DECLARE_MESSAGE_MAP()

 private:
  void UpdateScrollInfo(bool resetPosition);

  int m_rowCount;
  int m_length;
  int m_charWidth;
  int m_lineHeight;
  const unsigned char* m_buffer;
};

class CDataViewWnd : public CHexDumpWnd {
 public:
  CDataViewWnd() = default;
  ~CDataViewWnd() override;
  CDataViewWnd(const CDataViewWnd&) = delete;
  CDataViewWnd& operator=(const CDataViewWnd&) = delete;

  // Shows a copy of `length` bytes; length 0 shows an empty view.
  void SetData(const unsigned char* data, unsigned length);

 private:
  unsigned char* m_copy = nullptr;
};
