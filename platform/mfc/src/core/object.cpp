// Run-time classes, CObject, diagnostics and the small collections.
#include <afx.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace {

struct ClassRegistry {
  std::mutex lock;
  std::vector<CRuntimeClass*> classes;
};

ClassRegistry& Registry() {
  static ClassRegistry registry;
  return registry;
}

}  // namespace

CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr,
                                       nullptr};

CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
  return GetRuntimeClass()->IsDerivedFrom(pClass);
}

CObject* CRuntimeClass::CreateObject() const {
  return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
  for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
    if (c == pBaseClass) return TRUE;
  return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName) {
  if (!lpszClassName) return nullptr;
  ClassRegistry& r = Registry();
  std::lock_guard<std::mutex> guard(r.lock);
  for (CRuntimeClass* c : r.classes)
    if (std::strcmp(c->m_lpszClassName, lpszClassName) == 0) return c;
  return nullptr;
}

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass) {
  ClassRegistry& r = Registry();
  std::lock_guard<std::mutex> guard(r.lock);
  r.classes.push_back(pNewClass);
}

void AfxTrace(const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  ::OutputDebugStringA(text);
}

void AfxAssertFailed(const char* file, int line) {
  char text[512];
  std::snprintf(text, sizeof text, "assertion failed: %s(%d)\n", file, line);
  ::OutputDebugStringA(text);
  std::fputs(text, stderr);
}

// ---------------------------------------------------------------------------

void CPtrArray::SetAtGrow(int nIndex, void* p) {
  if (nIndex < 0) return;
  if (static_cast<size_t>(nIndex) >= m_data.size()) m_data.resize(static_cast<size_t>(nIndex) + 1);
  m_data[static_cast<size_t>(nIndex)] = p;
}

void CPtrArray::InsertAt(int nIndex, void* p, int nCount) {
  if (nIndex < 0 || nCount <= 0) return;
  if (static_cast<size_t>(nIndex) > m_data.size()) m_data.resize(static_cast<size_t>(nIndex));
  m_data.insert(m_data.begin() + nIndex, static_cast<size_t>(nCount), p);
}

void CPtrArray::RemoveAt(int nIndex, int nCount) {
  if (nIndex < 0 || nCount <= 0 || static_cast<size_t>(nIndex) >= m_data.size()) return;
  const size_t last = std::min(m_data.size(), static_cast<size_t>(nIndex) + static_cast<size_t>(nCount));
  m_data.erase(m_data.begin() + nIndex, m_data.begin() + static_cast<std::ptrdiff_t>(last));
}

void CStringArray::RemoveAt(int nIndex, int nCount) {
  if (nIndex < 0 || nCount <= 0 || static_cast<size_t>(nIndex) >= m_data.size()) return;
  const size_t last = std::min(m_data.size(), static_cast<size_t>(nIndex) + static_cast<size_t>(nCount));
  m_data.erase(m_data.begin() + nIndex, m_data.begin() + static_cast<std::ptrdiff_t>(last));
}

// ---------------------------------------------------------------------------

void CRect::NormalizeRect() {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
}

BOOL CRect::IntersectRect(LPCRECT a, LPCRECT b) { return ::IntersectRect(this, a, b); }
BOOL CRect::UnionRect(LPCRECT a, LPCRECT b) { return ::UnionRect(this, a, b); }
BOOL CRect::SubtractRect(LPCRECT a, LPCRECT b) { return ::SubtractRect(this, a, b); }

CPoint::CPoint(LPARAM dwPoint) {
  x = static_cast<short>(LOWORD(dwPoint));
  y = static_cast<short>(HIWORD(dwPoint));
}
