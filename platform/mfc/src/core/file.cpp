// CFile over a Win32 file handle.
#include <afx.h>

IMPLEMENT_DYNAMIC(CFile, CObject)

CFile::~CFile() {
  if (m_bCloseOnDelete) Close();
}

BOOL CFile::Open(CStrArg lpszFileName, UINT nOpenFlags) {
  if (IsOpen() || lpszFileName.IsNull()) return FALSE;
  DWORD access = 0;
  switch (nOpenFlags & 3) {
    case modeRead: access = GENERIC_READ; break;
    case modeWrite: access = GENERIC_WRITE; break;
    case modeReadWrite: access = GENERIC_READ | GENERIC_WRITE; break;
    default: return FALSE;
  }
  DWORD share = 0;
  switch (nOpenFlags & 0x70) {
    case shareCompat:
    case shareExclusive: share = 0; break;
    case shareDenyWrite: share = FILE_SHARE_READ; break;
    case shareDenyRead: share = FILE_SHARE_WRITE; break;
    case shareDenyNone: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default: return FALSE;
  }
  DWORD disposition = OPEN_EXISTING;
  if (nOpenFlags & modeCreate) disposition = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, (nOpenFlags & modeNoInherit) ? FALSE : TRUE};
  HANDLE h = ::CreateFileW(lpszFileName, access, share, &sa, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return FALSE;
  m_hFile = h;
  m_bCloseOnDelete = TRUE;
  m_strFileName = lpszFileName.get();
  return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
  if (!IsOpen() || nCount == 0) return 0;
  DWORD read = 0;
  if (!::ReadFile(m_hFile, lpBuf, nCount, &read, nullptr)) return 0;
  return read;
}

BOOL CFile::Write(const void* lpBuf, UINT nCount) {
  if (!IsOpen()) return FALSE;
  if (nCount == 0) return TRUE;
  DWORD written = 0;
  return ::WriteFile(m_hFile, lpBuf, nCount, &written, nullptr) && written == nCount;
}

LONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom) {
  if (!IsOpen() || nFrom > end) return -1;
  LARGE_INTEGER distance;
  distance.QuadPart = lOff;
  LARGE_INTEGER position;
  if (!::SetFilePointerEx(m_hFile, distance, &position, nFrom)) return -1;
  return position.QuadPart;
}

ULONGLONG CFile::GetPosition() const {
  LARGE_INTEGER zero{};
  LARGE_INTEGER position{};
  if (!IsOpen() || !::SetFilePointerEx(m_hFile, zero, &position, FILE_CURRENT)) return 0;
  return static_cast<ULONGLONG>(position.QuadPart);
}

ULONGLONG CFile::GetLength() const {
  LARGE_INTEGER size{};
  if (!IsOpen() || !::GetFileSizeEx(m_hFile, &size)) return 0;
  return static_cast<ULONGLONG>(size.QuadPart);
}

BOOL CFile::SetLength(ULONGLONG dwNewLen) {
  if (!IsOpen()) return FALSE;
  const LONGLONG keep = static_cast<LONGLONG>(GetPosition());
  if (Seek(static_cast<LONGLONG>(dwNewLen), begin) < 0) return FALSE;
  const BOOL ok = ::SetEndOfFile(m_hFile);
  Seek(keep, begin);
  return ok;
}

BOOL CFile::Flush() { return IsOpen() && ::FlushFileBuffers(m_hFile); }

void CFile::Close() {
  if (IsOpen()) ::CloseHandle(m_hFile);
  m_hFile = INVALID_HANDLE_VALUE;
  m_strFileName.Empty();
}
