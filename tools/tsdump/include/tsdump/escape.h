#pragma once
// Output that a hostile capture cannot turn into terminal commands: UTF-8 as
// it is, except control characters (C0 other than line feed and tab, DEL,
// C1) and bytes that are not well-formed UTF-8, which are written as
// "\xNN" (one per byte) and "\u0080"-style escapes.
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

namespace tsdump {

// Appends `in` escaped to `out`.  With `final` false a sequence cut off at the
// end of `in` is left alone and its length returned, so that the caller can
// hand it in again with the bytes that complete it; with `final` true it is
// escaped and 0 returned.
size_t AppendEscaped(std::string& out, std::string_view in, bool final);
std::string Escaped(std::string_view in);

// A stream buffer that escapes everything written through it into `target`.
class EscapingStreambuf : public std::streambuf {
 public:
  explicit EscapingStreambuf(std::streambuf* target) : target_(target) {}
  ~EscapingStreambuf() override { Flush(true); }

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;

 private:
  void Flush(bool final);

  std::streambuf* target_;
  std::string in_;
  std::string out_;
};

}  // namespace tsdump
