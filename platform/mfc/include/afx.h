#pragma once
// Foundation of the application framework: run-time class information,
// CObject, CString, CFile, CPoint/CSize/CRect, a pointer array and the
// diagnostic macros.  Failures are reported by return values; nothing here
// throws.
#ifndef _WIN32
#error "the application framework is Windows only"
#endif

#include <windows.h>

#include <cstdarg>
#include <cstddef>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------
// Diagnostics.  ASSERT and TRACE are active in debug builds only; VERIFY
// always evaluates its argument.

void AfxTrace(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(gnu_printf, 1, 2)))
#endif
    ;
void AfxAssertFailed(const char* file, int line);

#ifdef _DEBUG
#define ASSERT(f) ((f) ? (void)0 : AfxAssertFailed(__FILE__, __LINE__))
#define VERIFY(f) ASSERT(f)
#define TRACE(...) AfxTrace(__VA_ARGS__)
#else
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#define TRACE(...) ((void)0)
#endif
#define ASSERT_VALID(p) ((void)(p))
#define afx_msg

class CObject;
class CArchive;
class CDumpContext;
class CString;

// ---------------------------------------------------------------------------
// Run-time class information.

struct CRuntimeClass {
  LPCSTR m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;
  CObject* (*m_pfnCreateObject)();  // nullptr: not dynamically creatable
  CRuntimeClass* m_pBaseClass;

  // A new object of the class (nullptr when it cannot be created that way).
  CObject* CreateObject() const;
  BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
  // The registered class of that name (classes made with IMPLEMENT_DYNAMIC
  // and IMPLEMENT_DYNCREATE register themselves when the program starts).
  static CRuntimeClass* FromName(LPCSTR lpszClassName);
};

// Registers a class for CRuntimeClass::FromName (used by IMPLEMENT_DYNAMIC).
struct AFX_CLASSINIT {
  explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                 \
 public:                                            \
  static CRuntimeClass class##class_name;           \
  CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* CreateObject();

#define IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, pfnNew)                         \
  CRuntimeClass class_name::class##class_name = {#class_name, static_cast<int>(sizeof(class_name)), \
                                                 0xFFFF, pfnNew, RUNTIME_CLASS(base_class_name)}; \
  static const AFX_CLASSINIT afx_init_##class_name(&class_name::class##class_name);        \
  CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
  IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)             \
  CObject* class_name::CreateObject() { return new class_name; }     \
  IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, &class_name::CreateObject)

// Serialisation is not supported; the macros only give the run-time class.
#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)
#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema) \
  IMPLEMENT_DYNCREATE(class_name, base_class_name)

// ---------------------------------------------------------------------------
// CObject

class CDumpContext {
 public:
  CDumpContext& operator<<(const char*) { return *this; }
  CDumpContext& operator<<(int) { return *this; }
};

class CObject {
 public:
  virtual ~CObject() = default;
  CObject(const CObject&) = delete;
  CObject& operator=(const CObject&) = delete;

  virtual CRuntimeClass* GetRuntimeClass() const;
  BOOL IsKindOf(const CRuntimeClass* pClass) const;
  BOOL IsSerializable() const { return FALSE; }
  virtual void AssertValid() const {}
  virtual void Dump(CDumpContext&) const {}

  static CRuntimeClass classCObject;

 protected:
  CObject() = default;
};

// `p` as a `class_name*` when it is one (nullptr otherwise).
template <class T>
T* AfxDynamicDownCast(CRuntimeClass* pClass, CObject* p) {
  return p && p->IsKindOf(pClass) ? static_cast<T*>(p) : nullptr;
}
#define DYNAMIC_DOWNCAST(class_name, object) \
  (AfxDynamicDownCast<class_name>(RUNTIME_CLASS(class_name), (object)))
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))

// ---------------------------------------------------------------------------
// CString: a TCHAR string (wide, as the program is built for Unicode) that
// also takes narrow text, converted through the ANSI code page.

class CString {
 public:
  CString() = default;
  CString(const CString&) = default;
  CString(CString&&) noexcept = default;
  CString(LPCSTR psz);   // NOLINT: implicit, as text is passed around freely
  CString(LPCWSTR psz);  // NOLINT
  CString(LPCSTR pch, int nLength);
  CString(LPCWSTR pch, int nLength);
  CString(WCHAR ch, int nRepeat = 1);
  CString(const std::wstring& s) : m_s(s) {}  // NOLINT
  CString(const std::string& s);              // NOLINT

  CString& operator=(const CString&) = default;
  CString& operator=(CString&&) noexcept = default;
  CString& operator=(LPCSTR psz);
  CString& operator=(LPCWSTR psz);
  CString& operator=(WCHAR ch);

  int GetLength() const { return static_cast<int>(m_s.size()); }
  BOOL IsEmpty() const { return m_s.empty(); }
  void Empty() { m_s.clear(); }
  operator LPCWSTR() const { return m_s.c_str(); }  // NOLINT
  LPCWSTR GetString() const { return m_s.c_str(); }
  WCHAR GetAt(int nIndex) const { return m_s[static_cast<size_t>(nIndex)]; }
  WCHAR operator[](int nIndex) const { return GetAt(nIndex); }
  void SetAt(int nIndex, WCHAR ch) { m_s[static_cast<size_t>(nIndex)] = ch; }
  // The text in the ANSI code page.
  std::string ToNarrow() const;
  const std::wstring& str() const { return m_s; }

  CString& operator+=(const CString& s);
  CString& operator+=(LPCSTR psz);
  CString& operator+=(LPCWSTR psz);
  CString& operator+=(WCHAR ch);
  friend CString operator+(const CString& a, const CString& b);
  friend CString operator+(const CString& a, LPCSTR b);
  friend CString operator+(const CString& a, LPCWSTR b);
  friend CString operator+(LPCSTR a, const CString& b);
  friend CString operator+(LPCWSTR a, const CString& b);
  friend CString operator+(const CString& a, WCHAR b);

  int Compare(LPCWSTR psz) const;
  int CompareNoCase(LPCWSTR psz) const;
  friend bool operator==(const CString& a, const CString& b) { return a.m_s == b.m_s; }
  friend bool operator==(const CString& a, LPCWSTR b) { return a.Compare(b) == 0; }
  friend bool operator==(const CString& a, LPCSTR b) { return a == CString(b); }
  friend bool operator<(const CString& a, const CString& b) { return a.m_s < b.m_s; }
  friend bool operator>(const CString& a, const CString& b) { return b.m_s < a.m_s; }
  friend bool operator<=(const CString& a, const CString& b) { return !(b.m_s < a.m_s); }
  friend bool operator>=(const CString& a, const CString& b) { return !(a.m_s < b.m_s); }

  CString Left(int nCount) const;
  CString Right(int nCount) const;
  CString Mid(int nFirst) const;
  CString Mid(int nFirst, int nCount) const;
  // Index of the first match at or after nStart, -1 when there is none.
  int Find(WCHAR ch, int nStart = 0) const;
  int Find(LPCWSTR pszSub, int nStart = 0) const;
  int Find(LPCSTR pszSub, int nStart = 0) const;
  int ReverseFind(WCHAR ch) const;
  int FindOneOf(LPCWSTR pszCharSet) const;
  int Replace(LPCWSTR pszOld, LPCWSTR pszNew);
  int Replace(WCHAR chOld, WCHAR chNew);
  int Remove(WCHAR ch);
  int Insert(int nIndex, LPCWSTR psz);
  int Delete(int nIndex, int nCount = 1);

  CString& MakeUpper();
  CString& MakeLower();
  CString& MakeReverse();
  CString& TrimLeft();
  CString& TrimRight();
  CString& Trim();
  CString& TrimLeft(WCHAR chTarget);
  CString& TrimRight(WCHAR chTarget);
  CString& TrimLeft(LPCWSTR pszTargets);
  CString& TrimRight(LPCWSTR pszTargets);

  // printf-style; a narrow format takes narrow %s arguments, a wide one wide.
  void Format(LPCSTR pszFormat, ...)
#if defined(__GNUC__)
      __attribute__((format(gnu_printf, 2, 3)))
#endif
      ;
  void Format(LPCWSTR pszFormat, ...);
  void FormatV(LPCSTR pszFormat, va_list args);
  void FormatV(LPCWSTR pszFormat, va_list args);
  // Format with the string resource nFormatID as the (wide) format.
  void Format(UINT nFormatID, ...);
  void AppendFormat(LPCSTR pszFormat, ...)
#if defined(__GNUC__)
      __attribute__((format(gnu_printf, 2, 3)))
#endif
      ;

  // The string resource from the current resource module (AfxGetResourceHandle);
  // FALSE (and an empty string) when there is none.
  BOOL LoadString(UINT nID);
  BOOL LoadString(HINSTANCE hInstance, UINT nID);

  // A writable buffer of at least nMinBufLength characters (plus the
  // terminator); ReleaseBuffer(-1) takes the length up to the first NUL.
  LPWSTR GetBuffer(int nMinBufLength);
  LPWSTR GetBuffer() { return GetBuffer(GetLength()); }
  LPWSTR GetBufferSetLength(int nNewLength);
  void ReleaseBuffer(int nNewLength = -1);

 private:
  std::wstring m_s;
};

// A string argument of the framework's functions: narrow or wide text, a
// CString, nullptr or a MAKEINTRESOURCE value.  It converts to LPCTSTR for as
// long as the call lasts.
class CStrArg {
 public:
  CStrArg(std::nullptr_t) {}                                      // NOLINT
  CStrArg(LPCWSTR psz) : m_p(psz) {}                              // NOLINT
  CStrArg(LPCSTR psz);                                            // NOLINT
  CStrArg(const CString& s) : m_p(static_cast<LPCWSTR>(s)) {}     // NOLINT
  CStrArg(const std::wstring& s) : m_p(s.c_str()) {}              // NOLINT
  CStrArg(const std::string& s) : CStrArg(s.c_str()) {}           // NOLINT
  CStrArg(const CStrArg& other);
  CStrArg& operator=(const CStrArg&) = delete;

  operator LPCWSTR() const { return m_p; }  // NOLINT
  LPCWSTR get() const { return m_p; }
  bool IsNull() const { return m_p == nullptr; }
  bool IsResourceId() const { return m_p && IS_INTRESOURCE(m_p); }

 private:
  std::wstring m_buf;
  LPCWSTR m_p = nullptr;
};

// Narrow (ANSI code page) <-> wide text.
std::wstring AfxWide(LPCSTR psz);
std::string AfxNarrow(LPCWSTR psz);

// ---------------------------------------------------------------------------
// CPoint, CSize, CRect

class CSize;
class CRect;

class CPoint : public tagPOINT {
 public:
  CPoint() { x = 0; y = 0; }
  CPoint(int initX, int initY) { x = initX; y = initY; }
  CPoint(POINT pt) { x = pt.x; y = pt.y; }  // NOLINT
  CPoint(SIZE sz) { x = sz.cx; y = sz.cy; }  // NOLINT
  explicit CPoint(LPARAM dwPoint);

  void Offset(int dx, int dy) { x += dx; y += dy; }
  void Offset(POINT pt) { Offset(pt.x, pt.y); }
  void Offset(SIZE sz) { Offset(sz.cx, sz.cy); }
  void SetPoint(int X, int Y) { x = X; y = Y; }

  bool operator==(POINT pt) const { return x == pt.x && y == pt.y; }
  bool operator!=(POINT pt) const { return !(*this == pt); }
  void operator+=(SIZE sz) { Offset(sz); }
  void operator-=(SIZE sz) { Offset(-sz.cx, -sz.cy); }
  void operator+=(POINT pt) { Offset(pt); }
  void operator-=(POINT pt) { Offset(-pt.x, -pt.y); }
  CPoint operator+(SIZE sz) const { return CPoint(x + sz.cx, y + sz.cy); }
  CPoint operator-(SIZE sz) const { return CPoint(x - sz.cx, y - sz.cy); }
  CPoint operator-() const { return CPoint(-x, -y); }
  CPoint operator+(POINT pt) const { return CPoint(x + pt.x, y + pt.y); }
  CSize operator-(POINT pt) const;
};

class CSize : public tagSIZE {
 public:
  CSize() { cx = 0; cy = 0; }
  CSize(int initCX, int initCY) { cx = initCX; cy = initCY; }
  CSize(SIZE sz) { cx = sz.cx; cy = sz.cy; }    // NOLINT
  CSize(POINT pt) { cx = pt.x; cy = pt.y; }     // NOLINT

  bool operator==(SIZE sz) const { return cx == sz.cx && cy == sz.cy; }
  bool operator!=(SIZE sz) const { return !(*this == sz); }
  void operator+=(SIZE sz) { cx += sz.cx; cy += sz.cy; }
  void operator-=(SIZE sz) { cx -= sz.cx; cy -= sz.cy; }
  void SetSize(int CX, int CY) { cx = CX; cy = CY; }
  CSize operator+(SIZE sz) const { return CSize(cx + sz.cx, cy + sz.cy); }
  CSize operator-(SIZE sz) const { return CSize(cx - sz.cx, cy - sz.cy); }
  CSize operator-() const { return CSize(-cx, -cy); }
};

inline CSize CPoint::operator-(POINT pt) const { return CSize(x - pt.x, y - pt.y); }

class CRect : public tagRECT {
 public:
  CRect() { left = top = right = bottom = 0; }
  CRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
  CRect(const RECT& src) { CopyRect(&src); }  // NOLINT
  CRect(LPCRECT src) { CopyRect(src); }       // NOLINT
  CRect(POINT pt, SIZE sz) { left = pt.x; top = pt.y; right = pt.x + sz.cx; bottom = pt.y + sz.cy; }
  CRect(POINT topLeft, POINT bottomRight) {
    left = topLeft.x; top = topLeft.y; right = bottomRight.x; bottom = bottomRight.y;
  }

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return CSize(Width(), Height()); }
  CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(&left); }
  CPoint& BottomRight() { return *reinterpret_cast<CPoint*>(&right); }
  const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(&left); }
  const CPoint& BottomRight() const { return *reinterpret_cast<const CPoint*>(&right); }
  CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

  operator LPRECT() { return this; }         // NOLINT
  operator LPCRECT() const { return this; }  // NOLINT

  BOOL IsRectEmpty() const { return left >= right || top >= bottom; }
  BOOL IsRectNull() const { return left == 0 && right == 0 && top == 0 && bottom == 0; }
  BOOL PtInRect(POINT pt) const { return pt.x >= left && pt.x < right && pt.y >= top && pt.y < bottom; }

  void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
  void SetRect(POINT topLeft, POINT bottomRight) { SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y); }
  void SetRectEmpty() { left = top = right = bottom = 0; }
  void CopyRect(LPCRECT src) { left = src->left; top = src->top; right = src->right; bottom = src->bottom; }
  BOOL EqualRect(LPCRECT r) const {
    return left == r->left && top == r->top && right == r->right && bottom == r->bottom;
  }

  void InflateRect(int x, int y) { left -= x; top -= y; right += x; bottom += y; }
  void InflateRect(SIZE sz) { InflateRect(sz.cx, sz.cy); }
  void InflateRect(LPCRECT r) { left -= r->left; top -= r->top; right += r->right; bottom += r->bottom; }
  void InflateRect(int l, int t, int r, int b) { left -= l; top -= t; right += r; bottom += b; }
  void DeflateRect(int x, int y) { InflateRect(-x, -y); }
  void DeflateRect(SIZE sz) { InflateRect(-sz.cx, -sz.cy); }
  void DeflateRect(LPCRECT r) { left += r->left; top += r->top; right -= r->right; bottom -= r->bottom; }
  void DeflateRect(int l, int t, int r, int b) { left += l; top += t; right -= r; bottom -= b; }
  void OffsetRect(int x, int y) { left += x; right += x; top += y; bottom += y; }
  void OffsetRect(POINT pt) { OffsetRect(pt.x, pt.y); }
  void OffsetRect(SIZE sz) { OffsetRect(sz.cx, sz.cy); }
  void MoveToX(int x) { right = x + Width(); left = x; }
  void MoveToY(int y) { bottom = y + Height(); top = y; }
  void MoveToXY(int x, int y) { MoveToX(x); MoveToY(y); }
  void MoveToXY(POINT pt) { MoveToXY(pt.x, pt.y); }
  void NormalizeRect();
  // Intersection / union of two rectangles; FALSE (and an empty rectangle)
  // when the result is empty.
  BOOL IntersectRect(LPCRECT a, LPCRECT b);
  BOOL UnionRect(LPCRECT a, LPCRECT b);
  BOOL SubtractRect(LPCRECT a, LPCRECT b);

  CRect& operator=(const RECT& src) { CopyRect(&src); return *this; }
  bool operator==(const RECT& r) const { return EqualRect(&r) != FALSE; }
  bool operator!=(const RECT& r) const { return !(*this == r); }
  void operator+=(POINT pt) { OffsetRect(pt); }
  void operator+=(SIZE sz) { OffsetRect(sz); }
  void operator+=(LPCRECT r) { InflateRect(r); }
  void operator-=(POINT pt) { OffsetRect(-pt.x, -pt.y); }
  void operator-=(SIZE sz) { OffsetRect(-sz.cx, -sz.cy); }
  void operator-=(LPCRECT r) { DeflateRect(r); }
  void operator&=(const RECT& r) { IntersectRect(this, &r); }
  void operator|=(const RECT& r) { UnionRect(this, &r); }
  CRect operator+(POINT pt) const { CRect r(*this); r.OffsetRect(pt); return r; }
  CRect operator-(POINT pt) const { CRect r(*this); r.OffsetRect(-pt.x, -pt.y); return r; }
  CRect operator+(SIZE sz) const { CRect r(*this); r.OffsetRect(sz); return r; }
  CRect operator-(SIZE sz) const { CRect r(*this); r.OffsetRect(-sz.cx, -sz.cy); return r; }
  CRect operator&(const RECT& other) const { CRect r; r.IntersectRect(this, &other); return r; }
  CRect operator|(const RECT& other) const { CRect r; r.UnionRect(this, &other); return r; }
};

// ---------------------------------------------------------------------------
// Collections used by the framework's parts.

// A growable array of pointers.
class CPtrArray : public CObject {
 public:
  int GetSize() const { return static_cast<int>(m_data.size()); }
  int GetCount() const { return GetSize(); }
  int GetUpperBound() const { return GetSize() - 1; }
  BOOL IsEmpty() const { return m_data.empty(); }
  void SetSize(int nNewSize) { m_data.resize(nNewSize > 0 ? static_cast<size_t>(nNewSize) : 0); }
  void* GetAt(int nIndex) const { return m_data[static_cast<size_t>(nIndex)]; }
  void SetAt(int nIndex, void* p) { m_data[static_cast<size_t>(nIndex)] = p; }
  void*& ElementAt(int nIndex) { return m_data[static_cast<size_t>(nIndex)]; }
  void* operator[](int nIndex) const { return GetAt(nIndex); }
  void*& operator[](int nIndex) { return ElementAt(nIndex); }
  void** GetData() { return m_data.data(); }
  // Grows the array when nIndex is past its end.
  void SetAtGrow(int nIndex, void* p);
  int Add(void* p) { m_data.push_back(p); return GetSize() - 1; }
  void InsertAt(int nIndex, void* p, int nCount = 1);
  void RemoveAt(int nIndex, int nCount = 1);
  void RemoveAll() { m_data.clear(); }

 private:
  std::vector<void*> m_data;
};

class CStringArray : public CObject {
 public:
  int GetSize() const { return static_cast<int>(m_data.size()); }
  int GetCount() const { return GetSize(); }
  BOOL IsEmpty() const { return m_data.empty(); }
  const CString& GetAt(int nIndex) const { return m_data[static_cast<size_t>(nIndex)]; }
  void SetAt(int nIndex, const CString& s) { m_data[static_cast<size_t>(nIndex)] = s; }
  const CString& operator[](int nIndex) const { return GetAt(nIndex); }
  CString& operator[](int nIndex) { return m_data[static_cast<size_t>(nIndex)]; }
  int Add(const CString& s) { m_data.push_back(s); return GetSize() - 1; }
  void RemoveAt(int nIndex, int nCount = 1);
  void RemoveAll() { m_data.clear(); }

 private:
  std::vector<CString> m_data;
};

// ---------------------------------------------------------------------------
// CFile: a Win32 file handle.  Open reports failure by FALSE (and the Win32
// error code through GetLastError); nothing throws.

class CFile : public CObject {
  DECLARE_DYNAMIC(CFile)

 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,
    typeBinary = 0x8000,
  };
  enum SeekPosition { begin = 0, current = 1, end = 2 };

  CFile() = default;
  explicit CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}
  ~CFile() override;

  BOOL Open(CStrArg lpszFileName, UINT nOpenFlags);
  // Bytes read (0 at the end or on failure).
  UINT Read(void* lpBuf, UINT nCount);
  // FALSE when not all bytes were written.
  BOOL Write(const void* lpBuf, UINT nCount);
  // The new position, or -1 on failure.
  LONGLONG Seek(LONGLONG lOff, UINT nFrom);
  LONGLONG SeekToEnd() { return Seek(0, end); }
  void SeekToBegin() { Seek(0, begin); }
  ULONGLONG GetPosition() const;
  ULONGLONG GetLength() const;
  BOOL SetLength(ULONGLONG dwNewLen);
  BOOL Flush();
  void Close();
  void Abort() { Close(); }
  CString GetFilePath() const { return m_strFileName; }
  BOOL IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }

  static BOOL Remove(CStrArg lpszFileName) { return ::DeleteFileW(lpszFileName); }
  static BOOL Rename(CStrArg lpszOld, CStrArg lpszNew) { return ::MoveFileW(lpszOld, lpszNew); }

  HANDLE m_hFile = INVALID_HANDLE_VALUE;

 private:
  BOOL m_bCloseOnDelete = TRUE;
  CString m_strFileName;
};
