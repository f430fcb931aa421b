#pragma once
// The one place where the library leans on the platform: the three CJK
// character tables of DVB texts (0x12 KS X 1001, 0x13 GB 2312, 0x14 Big5).
// iconv on POSIX systems, MultiByteToWideChar (code pages 949, 936, 950) on
// Windows.
#include <cstddef>
#include <string>

#include "lib13818/types.h"

namespace lib13818::detail {

// Appends `n` bytes of text in the CJK table `selector` (0x12, 0x13 or 0x14)
// to `out` as UTF-8.  The bytes hold whole characters only, no control codes.
// Returns false, leaving `out` as it was, when the platform cannot convert
// every byte.
bool ConvertCjk(u8 selector, const u8* p, size_t n, std::string& out);

// UTF-8 of one code point (U+FFFD for a surrogate or a value past U+10FFFF).
void AppendUtf8(std::string& out, char32_t c);

}  // namespace lib13818::detail
