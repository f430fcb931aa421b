// CJK character tables through the Windows code pages 949 (Korean), 936
// (simplified Chinese) and 950 (traditional Chinese, Big5).
#include <windows.h>

#include <vector>

#include "cjk_text.h"

namespace lib13818::detail {

bool ConvertCjk(u8 selector, const u8* p, size_t n, std::string& out) {
  UINT codePage = 0;
  switch (selector) {
    case 0x12: codePage = 949; break;
    case 0x13: codePage = 936; break;
    case 0x14: codePage = 950; break;
    default: return false;
  }
  if (n == 0) return true;
  if (n > 0x7FFFFFFF) return false;
  const char* in = reinterpret_cast<const char*>(p);
  const int inLength = static_cast<int>(n);
  const int wide = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in, inLength, nullptr, 0);
  if (wide <= 0) return false;
  std::vector<wchar_t> buffer(static_cast<size_t>(wide));
  if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in, inLength, buffer.data(), wide) != wide)
    return false;
  // UTF-16 to UTF-8, pairing surrogates.
  for (size_t i = 0; i < buffer.size(); ++i) {
    char32_t c = static_cast<char16_t>(buffer[i]);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < buffer.size()) {
      const char32_t low = static_cast<char16_t>(buffer[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    AppendUtf8(out, c);
  }
  return true;
}

}  // namespace lib13818::detail
