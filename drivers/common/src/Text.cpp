#include "drvcommon/Text.h"

#include <cwchar>

namespace drvtext {

std::string Narrow(const wchar_t* text) {
  return text ? Narrow(std::wstring_view(text, std::wcslen(text))) : std::string();
}

std::string Narrow(std::wstring_view text) {
  if (text.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
  return out;
}

std::wstring Wide(const wchar_t* text) { return text ? std::wstring(text) : std::wstring(); }

std::wstring Wide(std::string_view text) {
  if (text.empty()) return {};
  const int n =
      ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string ReplaceExtension(std::string_view path, std::string_view extension) {
  std::string out(path);
  const size_t cut = out.find_last_of(".\\/");
  if (cut != std::string::npos && out[cut] == '.') out.resize(cut);
  out += '.';
  out += extension;
  return out;
}

}  // namespace drvtext
