#pragma once
// Output that a hostile capture can neither turn into terminal commands nor
// into lines of its own: UTF-8 as it is, except
// - a line feed, written "\n", and the backslash itself, written "\\";
// - control characters (C0 other than tab, DEL) and bytes that are not
//   well-formed UTF-8, written "\xNN" (one per byte);
// - C1 controls and the invisible characters that reorder or hide text on
//   screen (U+200B-U+200F, U+2028-U+202E, U+2066-U+2069, U+FEFF), written
//   "\u0080"-style.
// The stream buffer below ends a line only where the writer does (a line
// feed followed by a flush, as std::endl writes it), so a line break inside a
// text never starts a line of the output.
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
// A line feed that is the last byte before a flush (std::endl), or the last
// byte of all, ends a line; every other one is written "\n".
class EscapingStreambuf : public std::streambuf {
 public:
  explicit EscapingStreambuf(std::streambuf* target) : target_(target) {}
  ~EscapingStreambuf() override { Flush(Pending::Final); }

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;

 private:
  // What becomes of the bytes at the end of in_: a trailing line feed or
  // the start of a cut-off UTF-8 sequence waits for more (Keep); a trailing
  // line feed ends the line, and a cut-off sequence waits (LineEnd) or is
  // escaped (Final).
  enum class Pending { Keep, LineEnd, Final };
  void Flush(Pending pending);

  std::streambuf* target_;
  std::string in_;
  std::string out_;
};

}  // namespace tsdump
