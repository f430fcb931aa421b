#include "tsdump/escape.h"

#include "lib13818/text_time.h"

namespace tsdump {

namespace {

const char kHex[] = "0123456789abcdef";

void EscapeByte(std::string& out, unsigned char b) {
  out += "\\x";
  out += kHex[b >> 4];
  out += kHex[b & 15];
}

void EscapeCodePoint(std::string& out, char32_t c) {
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(c >> shift) & 15];
}

// Characters that show nothing themselves but change how a terminal lays
// out the rest of the line: zero-width ones, direction marks, embeddings,
// overrides and isolates, the Unicode line and paragraph separators, and the
// byte order mark.
bool IsLayoutControl(char32_t c) {
  return (c >= 0x200B && c <= 0x200F) || (c >= 0x2028 && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}

}  // namespace

size_t AppendEscaped(std::string& out, std::string_view in, bool final) {
  size_t i = 0;
  const size_t n = in.size();
  while (i < n) {
    const unsigned char b = static_cast<unsigned char>(in[i]);
    if (b < 0x80) {
      if (b == '\n')
        out += "\\n";
      else if (b == '\\')
        out += "\\\\";
      else if ((b < 0x20 && b != '\t') || b == 0x7F)
        EscapeByte(out, b);
      else
        out += static_cast<char>(b);
      ++i;
      continue;
    }
    size_t k = 0;
    const int len = lib13818::Utf8Sequence(reinterpret_cast<const lib13818::u8*>(in.data()) + i, n - i, &k);
    if (len && k < static_cast<size_t>(len) && i + k == n && !final) return n - i;  // wait for the rest
    if (len == 0 || k != static_cast<size_t>(len)) {
      EscapeByte(out, b);  // not well-formed: the first byte, then go on
      ++i;
      continue;
    }
    char32_t c = b & (0x7F >> len);
    for (int j = 1; j < len; ++j) c = (c << 6) | (static_cast<unsigned char>(in[i + j]) & 0x3F);
    if (c < 0xA0 || IsLayoutControl(c))  // C1 controls from 2-byte sequences
      EscapeCodePoint(out, c);
    else
      out.append(in.data() + i, static_cast<size_t>(len));
    i += static_cast<size_t>(len);
  }
  return 0;
}

std::string Escaped(std::string_view in) {
  std::string out;
  AppendEscaped(out, in, true);
  return out;
}

EscapingStreambuf::int_type EscapingStreambuf::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  in_ += traits_type::to_char_type(c);
  if (in_.size() >= 8192) Flush(Pending::Keep);
  return c;
}

std::streamsize EscapingStreambuf::xsputn(const char* s, std::streamsize n) {
  in_.append(s, static_cast<size_t>(n));
  if (in_.size() >= 8192) Flush(Pending::Keep);
  return n;
}

int EscapingStreambuf::sync() {
  Flush(Pending::LineEnd);
  return target_->pubsync();
}

void EscapingStreambuf::Flush(Pending pending) {
  if (in_.empty()) return;
  out_.clear();
  size_t keep = 0;
  const bool newline = in_.back() == '\n';
  if (newline && pending == Pending::Keep) {
    // It may be the end of the line (std::endl writes it, then syncs) or a
    // line break inside a text: the next call tells.
    keep = 1;
    AppendEscaped(out_, std::string_view(in_).substr(0, in_.size() - 1), true);
  } else if (newline) {
    AppendEscaped(out_, std::string_view(in_).substr(0, in_.size() - 1), true);
    out_ += '\n';
  } else {
    keep = AppendEscaped(out_, in_, pending == Pending::Final);
  }
  target_->sputn(out_.data(), static_cast<std::streamsize>(out_.size()));
  in_.erase(0, in_.size() - keep);
}

}  // namespace tsdump
