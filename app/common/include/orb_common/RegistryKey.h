#pragma once
// CRegistryKey: one open registry key, used on the stack: open (or create),
// read or write a few values, close.  Results are 1 (success) or 0, except
// Close, which returns the system's status code.  Names and texts are narrow.
#include <windows.h>

#include <string>

class CRegistryKey {
 public:
  // The longest text QueryString reads (a 256-byte buffer with its zero).
  static constexpr DWORD kMaxString = 255;

  CRegistryKey() = default;
  ~CRegistryKey();
  CRegistryKey(const CRegistryKey&) = delete;
  CRegistryKey& operator=(const CRegistryKey&) = delete;

  // KEY_ALL_ACCESS; on failure the handle is 0.  A key still open is closed first.
  BOOL Open(HKEY root, const char* subKey);
  // Opens the key, creating it when missing.
  BOOL Create(HKEY root, const char* subKey);
  LONG Close();

  // REG_SZ (with its terminating zero), then RegFlushKey.
  BOOL SetString(const char* name, const char* text);
  // REG_DWORD, then RegFlushKey.
  BOOL SetDWORD(const char* name, DWORD value);
  // value := 0, then at most 4 bytes of the value (its type is not examined).
  BOOL QueryDWORD(const char* name, DWORD& value);
  // The text of the value (at most kMaxString characters); empty on failure.
  BOOL QueryString(const char* name, std::string& text);
  // For any string type assignable from const char* (CString and the like).
  template <class String>
  BOOL QueryString(const char* name, String& text) {
    std::string s;
    const BOOL ok = QueryString(name, s);
    text = s.c_str();
    return ok;
  }
  BOOL DeleteValue(const char* name);

  HKEY GetHandle() const { return m_key; }

 private:
  HKEY m_key = nullptr;
};
