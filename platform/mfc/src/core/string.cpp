// CString and CStrArg.
#include <afxwin.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <cwctype>

std::wstring AfxWide(LPCSTR psz) {
  if (!psz || !*psz) return std::wstring();
  const int n = ::MultiByteToWideChar(CP_ACP, 0, psz, -1, nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring out(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, psz, -1, out.data(), n);
  out.resize(static_cast<size_t>(n - 1));
  return out;
}

namespace {

std::wstring WideN(LPCSTR pch, int nLength) {
  if (!pch || nLength <= 0) return std::wstring();
  const int n = ::MultiByteToWideChar(CP_ACP, 0, pch, nLength, nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring out(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, pch, nLength, out.data(), n);
  return out;
}

}  // namespace

std::string AfxNarrow(LPCWSTR psz) {
  if (!psz || !*psz) return std::string();
  const int n = ::WideCharToMultiByte(CP_ACP, 0, psz, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, psz, -1, out.data(), n, nullptr, nullptr);
  out.resize(static_cast<size_t>(n - 1));
  return out;
}

// ---------------------------------------------------------------------------
// CStrArg

CStrArg::CStrArg(LPCSTR psz) {
  if (!psz) return;
  if (IS_INTRESOURCE(psz)) {
    m_p = reinterpret_cast<LPCWSTR>(psz);
    return;
  }
  m_buf = AfxWide(psz);
  m_p = m_buf.c_str();
}

CStrArg::CStrArg(const CStrArg& other) : m_buf(other.m_buf), m_p(other.m_p) {
  if (other.m_p && other.m_p == other.m_buf.c_str()) m_p = m_buf.c_str();
}

// ---------------------------------------------------------------------------
// CString

CString::CString(LPCSTR psz) : m_s(AfxWide(psz)) {}
CString::CString(LPCWSTR psz) : m_s(psz ? psz : L"") {}
CString::CString(LPCSTR pch, int nLength) : m_s(WideN(pch, nLength)) {}
CString::CString(LPCWSTR pch, int nLength) {
  if (pch && nLength > 0) m_s.assign(pch, static_cast<size_t>(nLength));
}
CString::CString(WCHAR ch, int nRepeat) {
  if (nRepeat > 0) m_s.assign(static_cast<size_t>(nRepeat), ch);
}
CString::CString(const std::string& s) : m_s(WideN(s.data(), static_cast<int>(s.size()))) {}

CString& CString::operator=(LPCSTR psz) {
  m_s = AfxWide(psz);
  return *this;
}
CString& CString::operator=(LPCWSTR psz) {
  m_s = psz ? psz : L"";
  return *this;
}
CString& CString::operator=(WCHAR ch) {
  m_s.assign(1, ch);
  return *this;
}

std::string CString::ToNarrow() const { return AfxNarrow(m_s.c_str()); }

CString& CString::operator+=(const CString& s) {
  m_s += s.m_s;
  return *this;
}
CString& CString::operator+=(LPCSTR psz) {
  m_s += AfxWide(psz);
  return *this;
}
CString& CString::operator+=(LPCWSTR psz) {
  if (psz) m_s += psz;
  return *this;
}
CString& CString::operator+=(WCHAR ch) {
  m_s += ch;
  return *this;
}

CString operator+(const CString& a, const CString& b) { return CString(a.m_s + b.m_s); }
CString operator+(const CString& a, LPCSTR b) { return CString(a.m_s + AfxWide(b)); }
CString operator+(const CString& a, LPCWSTR b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(LPCSTR a, const CString& b) { return CString(AfxWide(a) + b.m_s); }
CString operator+(LPCWSTR a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(const CString& a, WCHAR b) {
  CString r(a);
  r += b;
  return r;
}

int CString::Compare(LPCWSTR psz) const { return std::wcscmp(m_s.c_str(), psz ? psz : L""); }
int CString::CompareNoCase(LPCWSTR psz) const {
  return ::lstrcmpiW(m_s.c_str(), psz ? psz : L"");
}

CString CString::Left(int nCount) const {
  nCount = std::clamp(nCount, 0, GetLength());
  return CString(m_s.substr(0, static_cast<size_t>(nCount)));
}

CString CString::Right(int nCount) const {
  nCount = std::clamp(nCount, 0, GetLength());
  return CString(m_s.substr(static_cast<size_t>(GetLength() - nCount)));
}

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength()); }

CString CString::Mid(int nFirst, int nCount) const {
  nFirst = std::clamp(nFirst, 0, GetLength());
  nCount = std::clamp(nCount, 0, GetLength() - nFirst);
  return CString(m_s.substr(static_cast<size_t>(nFirst), static_cast<size_t>(nCount)));
}

int CString::Find(WCHAR ch, int nStart) const {
  if (nStart < 0 || nStart >= GetLength()) return -1;
  const size_t at = m_s.find(ch, static_cast<size_t>(nStart));
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::Find(LPCWSTR pszSub, int nStart) const {
  if (!pszSub || nStart < 0 || nStart > GetLength()) return -1;
  const size_t at = m_s.find(pszSub, static_cast<size_t>(nStart));
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::Find(LPCSTR pszSub, int nStart) const {
  if (!pszSub) return -1;
  return Find(AfxWide(pszSub).c_str(), nStart);
}

int CString::ReverseFind(WCHAR ch) const {
  const size_t at = m_s.rfind(ch);
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::FindOneOf(LPCWSTR pszCharSet) const {
  if (!pszCharSet) return -1;
  const size_t at = m_s.find_first_of(pszCharSet);
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::Replace(LPCWSTR pszOld, LPCWSTR pszNew) {
  if (!pszOld || !*pszOld) return 0;
  const std::wstring from(pszOld);
  const std::wstring to(pszNew ? pszNew : L"");
  int count = 0;
  size_t at = 0;
  while ((at = m_s.find(from, at)) != std::wstring::npos) {
    m_s.replace(at, from.size(), to);
    at += to.size();
    ++count;
  }
  return count;
}

int CString::Replace(WCHAR chOld, WCHAR chNew) {
  int count = 0;
  for (WCHAR& c : m_s)
    if (c == chOld) {
      c = chNew;
      ++count;
    }
  return count;
}

int CString::Remove(WCHAR ch) {
  const size_t before = m_s.size();
  m_s.erase(std::remove(m_s.begin(), m_s.end(), ch), m_s.end());
  return static_cast<int>(before - m_s.size());
}

int CString::Insert(int nIndex, LPCWSTR psz) {
  nIndex = std::clamp(nIndex, 0, GetLength());
  if (psz) m_s.insert(static_cast<size_t>(nIndex), psz);
  return GetLength();
}

int CString::Delete(int nIndex, int nCount) {
  if (nIndex < 0) nIndex = 0;
  if (nIndex < GetLength() && nCount > 0)
    m_s.erase(static_cast<size_t>(nIndex), static_cast<size_t>(nCount));
  return GetLength();
}

CString& CString::MakeUpper() {
  if (!m_s.empty()) ::CharUpperBuffW(m_s.data(), static_cast<DWORD>(m_s.size()));
  return *this;
}

CString& CString::MakeLower() {
  if (!m_s.empty()) ::CharLowerBuffW(m_s.data(), static_cast<DWORD>(m_s.size()));
  return *this;
}

CString& CString::MakeReverse() {
  std::reverse(m_s.begin(), m_s.end());
  return *this;
}

CString& CString::TrimLeft() {
  size_t i = 0;
  while (i < m_s.size() && std::iswspace(m_s[i])) ++i;
  m_s.erase(0, i);
  return *this;
}

CString& CString::TrimRight() {
  size_t n = m_s.size();
  while (n > 0 && std::iswspace(m_s[n - 1])) --n;
  m_s.resize(n);
  return *this;
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }

CString& CString::TrimLeft(WCHAR chTarget) {
  const WCHAR set[2] = {chTarget, 0};
  return TrimLeft(set);
}

CString& CString::TrimRight(WCHAR chTarget) {
  const WCHAR set[2] = {chTarget, 0};
  return TrimRight(set);
}

CString& CString::TrimLeft(LPCWSTR pszTargets) {
  if (!pszTargets) return *this;
  const size_t at = m_s.find_first_not_of(pszTargets);
  m_s.erase(0, at == std::wstring::npos ? m_s.size() : at);
  return *this;
}

CString& CString::TrimRight(LPCWSTR pszTargets) {
  if (!pszTargets) return *this;
  const size_t at = m_s.find_last_not_of(pszTargets);
  m_s.resize(at == std::wstring::npos ? 0 : at + 1);
  return *this;
}

void CString::FormatV(LPCSTR pszFormat, va_list args) {
  if (!pszFormat) {
    m_s.clear();
    return;
  }
  va_list probe;
  va_copy(probe, args);
  const int n = std::vsnprintf(nullptr, 0, pszFormat, probe);
  va_end(probe);
  if (n < 0) {
    m_s.clear();
    return;
  }
  std::string text(static_cast<size_t>(n) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), pszFormat, args);
  text.resize(static_cast<size_t>(n));
  m_s = AfxWide(text.c_str());
}

namespace {

// A wide format takes wide %s and %c arguments (narrow ones with %S/%C and
// %hs/%hc), as wide formats do on this platform; the C library reads %s as
// narrow there, so the format is rewritten for it.
std::wstring WideFormatForC(LPCWSTR format) {
  std::wstring out;
  for (const wchar_t* p = format; *p;) {
    if (*p != L'%') {
      out += *p++;
      continue;
    }
    out += *p++;
    if (*p == L'%') {
      out += *p++;
      continue;
    }
    while (*p && std::wcschr(L"-+ #0123456789.*", *p)) out += *p++;
    bool length = false;
    bool narrow = false;
    while (*p && std::wcschr(L"hlLqjztI", *p)) {
      if (*p == L'h') narrow = true;
      length = true;
      out += *p++;
    }
    if (!*p) break;
    const wchar_t conversion = *p++;
    if ((conversion == L's' || conversion == L'c') && !length) {
      out += L'l';
      out += conversion;
    } else if (conversion == L'S' || conversion == L'C') {
      out += conversion == L'S' ? L's' : L'c';
    } else if ((conversion == L's' || conversion == L'c') && narrow) {
      // %hs / %hc: drop the h the C library may not take.
      out.erase(out.rfind(L'h'), 1);
      out += conversion;
    } else {
      out += conversion;
    }
  }
  return out;
}

}  // namespace

void CString::FormatV(LPCWSTR pszFormat, va_list args) {
  if (!pszFormat) {
    m_s.clear();
    return;
  }
  const std::wstring format = WideFormatForC(pszFormat);
  // vswprintf gives no length for a short buffer: grow until it fits.
  std::wstring buf(256, L'\0');
  for (;;) {
    va_list attempt;
    va_copy(attempt, args);
    const int n = std::vswprintf(buf.data(), buf.size(), format.c_str(), attempt);
    va_end(attempt);
    if (n >= 0 && static_cast<size_t>(n) < buf.size()) {
      buf.resize(static_cast<size_t>(n));
      break;
    }
    if (buf.size() >= (1u << 24)) {
      buf.clear();
      break;
    }
    buf.resize(buf.size() * 4);
  }
  m_s = std::move(buf);
}

void CString::Format(LPCSTR pszFormat, ...) {
  va_list args;
  va_start(args, pszFormat);
  FormatV(pszFormat, args);
  va_end(args);
}

void CString::Format(LPCWSTR pszFormat, ...) {
  va_list args;
  va_start(args, pszFormat);
  FormatV(pszFormat, args);
  va_end(args);
}

void CString::Format(UINT nFormatID, ...) {
  CString format;
  if (!format.LoadString(nFormatID)) {
    m_s.clear();
    return;
  }
  va_list args;
  va_start(args, nFormatID);
  FormatV(static_cast<LPCWSTR>(format), args);
  va_end(args);
}

void CString::AppendFormat(LPCSTR pszFormat, ...) {
  CString more;
  va_list args;
  va_start(args, pszFormat);
  more.FormatV(pszFormat, args);
  va_end(args);
  m_s += more.m_s;
}

BOOL CString::LoadString(UINT nID) { return LoadString(AfxGetResourceHandle(), nID); }

BOOL CString::LoadString(HINSTANCE hInstance, UINT nID) {
  m_s.clear();
  // With a zero buffer size the call gives a read-only pointer to the
  // resource text (not terminated) and returns its length.
  LPCWSTR text = nullptr;
  const int n = ::LoadStringW(hInstance, nID, reinterpret_cast<LPWSTR>(&text), 0);
  if (n <= 0 || !text) return FALSE;
  m_s.assign(text, static_cast<size_t>(n));
  return TRUE;
}

LPWSTR CString::GetBuffer(int nMinBufLength) {
  if (nMinBufLength > GetLength()) m_s.resize(static_cast<size_t>(nMinBufLength));
  return m_s.data();
}

LPWSTR CString::GetBufferSetLength(int nNewLength) {
  m_s.resize(static_cast<size_t>(std::max(0, nNewLength)));
  return m_s.data();
}

void CString::ReleaseBuffer(int nNewLength) {
  if (nNewLength < 0) {
    m_s.resize(std::wcslen(m_s.c_str()));
  } else {
    m_s.resize(std::min(static_cast<size_t>(nNewLength), m_s.size()));
  }
}
