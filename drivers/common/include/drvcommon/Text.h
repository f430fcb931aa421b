#pragma once
// Text conversions of the plug-ins: wide (BSTR) to the ANSI code page and
// back, and file name arithmetic.
#include <windows.h>

#include <string>
#include <string_view>

namespace drvtext {

// ANSI code page; characters it lacks become its default character.  A null
// pointer is the empty text.
std::string Narrow(const wchar_t* text);
std::string Narrow(std::wstring_view text);
std::wstring Wide(const wchar_t* text);
std::wstring Wide(std::string_view text);

// path with the extension of its file name replaced (or added): "a\b.dll",
// "txt" -> "a\b.txt".
std::string ReplaceExtension(std::string_view path, std::string_view extension);

}  // namespace drvtext
