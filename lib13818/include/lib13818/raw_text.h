#pragma once
// The bytes of a DVB text field as they are on the wire (character table
// byte included), kept beside the decoded text.  Held like a descriptor's
// entry list, so that while a loop is parsed they come from the set's arena.
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>

#include "lib13818/descriptor_list.h"

namespace lib13818 {

class RawText {
 public:
  RawText() noexcept = default;
  RawText(std::string_view s) { assign(s.data(), s.size()); }  // NOLINT: a text converts
  RawText& operator=(std::string_view s) {
    clear();
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

  friend bool operator==(const RawText& a, const RawText& b) noexcept { return a.view() == b.view(); }
  friend bool operator==(const RawText& a, std::string_view b) noexcept { return a.view() == b; }
  friend bool operator==(const RawText& a, const std::string& b) noexcept { return a.view() == b; }
  friend bool operator==(const RawText& a, const char* b) noexcept { return a.view() == b; }
  friend std::ostream& operator<<(std::ostream& os, const RawText& t) { return os << t.view(); }

 private:
  DescriptorList<char> bytes_;
};

}  // namespace lib13818
