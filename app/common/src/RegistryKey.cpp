#include "orb_common/RegistryKey.h"

#include <cstring>

CRegistryKey::~CRegistryKey() { Close(); }

BOOL CRegistryKey::Open(HKEY root, const char* subKey) {
  Close();
  if (::RegOpenKeyExA(root, subKey, 0, KEY_ALL_ACCESS, &m_key) != ERROR_SUCCESS) {
    m_key = nullptr;
    return FALSE;
  }
  return TRUE;
}

BOOL CRegistryKey::Create(HKEY root, const char* subKey) {
  Close();
  if (::RegCreateKeyExA(root, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key, nullptr) !=
      ERROR_SUCCESS) {
    m_key = nullptr;
    return FALSE;
  }
  return TRUE;
}

LONG CRegistryKey::Close() {
  if (!m_key) return ERROR_INVALID_HANDLE;
  const LONG rc = ::RegCloseKey(m_key);
  m_key = nullptr;
  return rc;
}

BOOL CRegistryKey::SetString(const char* name, const char* text) {
  if (!m_key || !text) return FALSE;
  const DWORD size = static_cast<DWORD>(std::strlen(text) + 1);
  if (::RegSetValueExA(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size) !=
      ERROR_SUCCESS)
    return FALSE;
  ::RegFlushKey(m_key);
  return TRUE;
}

BOOL CRegistryKey::SetDWORD(const char* name, DWORD value) {
  if (!m_key) return FALSE;
  if (::RegSetValueExA(m_key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value) != ERROR_SUCCESS)
    return FALSE;
  ::RegFlushKey(m_key);
  return TRUE;
}

BOOL CRegistryKey::QueryDWORD(const char* name, DWORD& value) {
  value = 0;
  if (!m_key) return FALSE;
  DWORD read = 0;
  DWORD size = sizeof read;
  if (::RegQueryValueExA(m_key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&read), &size) !=
      ERROR_SUCCESS)
    return FALSE;
  value = read;
  return TRUE;
}

BOOL CRegistryKey::QueryString(const char* name, std::string& text) {
  text.clear();
  if (!m_key) return FALSE;
  // One byte more than the read may fill, so that a value stored without its
  // terminating zero still ends in one.
  char buffer[kMaxString + 2] = {};
  DWORD size = kMaxString + 1;
  if (::RegQueryValueExA(m_key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) !=
      ERROR_SUCCESS)
    return FALSE;
  text = buffer;
  return TRUE;
}

BOOL CRegistryKey::DeleteValue(const char* name) {
  if (!m_key) return FALSE;
  return ::RegDeleteValueA(m_key, name) == ERROR_SUCCESS;
}
