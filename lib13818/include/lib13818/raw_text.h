#pragma once
// The two forms of a DVB text field: the text decoded to UTF-8 (Utf8Text)
// and its bytes as they are on the wire, character table byte included
// (RawText).  Both are held like a descriptor's entry list, so that while a
// loop is parsed they come from the set's arena.
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>

#include "lib13818/descriptor_list.h"

namespace lib13818 {

namespace detail {

// Comparisons and printing of a text class from its view().
template <class Text>
struct TextComparisons {
  friend bool operator==(const Text& a, const Text& b) noexcept { return a.view() == b.view(); }
  friend bool operator==(const Text& a, std::string_view b) noexcept { return a.view() == b; }
  friend bool operator==(const Text& a, const std::string& b) noexcept { return a.view() == b; }
  friend bool operator==(const Text& a, const char* b) noexcept { return a.view() == b; }
  friend std::ostream& operator<<(std::ostream& os, const Text& t) { return os << t.view(); }
};

}  // namespace detail

class RawText : public detail::TextComparisons<RawText> {
 public:
  RawText() noexcept = default;
  RawText(std::string_view s) { assign(s.data(), s.size()); }  // NOLINT: a text converts
  RawText& operator=(std::string_view s) {
    assign(s.data(), s.size());
    return *this;
  }

  const char* data() const noexcept { return bytes_.data(); }
  size_t size() const noexcept { return bytes_.size(); }
  size_t length() const noexcept { return bytes_.size(); }
  bool empty() const noexcept { return bytes_.empty(); }
  const char* begin() const noexcept { return bytes_.begin(); }
  const char* end() const noexcept { return bytes_.end(); }
  char operator[](size_t i) const noexcept { return bytes_[i]; }
  void clear() noexcept { bytes_.clear(); }

  // Appends `n` bytes.
  void append(const char* p, size_t n) { bytes_.append(p, n); }
  void assign(const char* p, size_t n) {
    clear();
    append(p, n);
  }

  std::string_view view() const noexcept { return {data(), size()}; }
  operator std::string_view() const noexcept { return view(); }  // NOLINT: reads as a text
  std::string str() const { return std::string(view()); }

 private:
  DescriptorList<char> bytes_;
};

// A text decoded to UTF-8: read like a const std::string (c_str, size,
// comparisons), and converts to std::string and std::string_view.
class Utf8Text : public detail::TextComparisons<Utf8Text> {
 public:
  Utf8Text() noexcept = default;
  Utf8Text(std::string_view s) { append(s.data(), s.size()); }  // NOLINT: a text converts
  Utf8Text& operator=(std::string_view s) {
    if (s.data() != data()) {
      clear();
      append(s.data(), s.size());
    }
    return *this;
  }

  const char* c_str() const noexcept { return bytes_.empty() ? "" : bytes_.data(); }
  const char* data() const noexcept { return c_str(); }
  size_t size() const noexcept { return bytes_.empty() ? 0 : bytes_.size() - 1; }
  size_t length() const noexcept { return size(); }
  bool empty() const noexcept { return size() == 0; }
  const char* begin() const noexcept { return c_str(); }
  const char* end() const noexcept { return c_str() + size(); }
  char operator[](size_t i) const noexcept { return c_str()[i]; }
  void clear() noexcept { bytes_.clear(); }

  // Appends `n` bytes (not from this text).
  void append(const char* p, size_t n) {
    if (n == 0) return;
    if (!bytes_.empty()) bytes_.pop_back();  // the terminator
    bytes_.reserve(bytes_.size() + n + 1);
    bytes_.append(p, n);
    bytes_.push_back('\0');
  }

  std::string_view view() const noexcept { return {c_str(), size()}; }
  operator std::string_view() const noexcept { return view(); }  // NOLINT: reads as a text
  operator std::string() const { return std::string(view()); }    // NOLINT: reads as a text
  std::string str() const { return std::string(view()); }

 private:
  DescriptorList<char> bytes_;  // the text and a terminating NUL, or nothing
};

}  // namespace lib13818
