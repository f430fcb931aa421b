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

}  // namespace

size_t AppendEscaped(std::string& out, std::string_view in, bool final) {
  size_t i = 0;
  const size_t n = in.size();
  while (i < n) {
    const unsigned char b = static_cast<unsigned char>(in[i]);
    if (b < 0x80) {
      if ((b < 0x20 && b != '\n' && b != '\t') || b == 0x7F)
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
    if (len == 2 && b == 0xC2 && static_cast<unsigned char>(in[i + 1]) < 0xA0) {
      const unsigned c = static_cast<unsigned char>(in[i + 1]);  // C1 control
      out += "\\u00";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out.append(in.data() + i, static_cast<size_t>(len));
    }
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
  if (in_.size() >= 8192) Flush(false);
  return c;
}

std::streamsize EscapingStreambuf::xsputn(const char* s, std::streamsize n) {
  in_.append(s, static_cast<size_t>(n));
  if (in_.size() >= 8192) Flush(false);
  return n;
}

int EscapingStreambuf::sync() {
  Flush(false);
  return target_->pubsync();
}

void EscapingStreambuf::Flush(bool final) {
  if (in_.empty()) return;
  out_.clear();
  const size_t keep = AppendEscaped(out_, in_, final);
  target_->sputn(out_.data(), static_cast<std::streamsize>(out_.size()));
  in_.erase(0, in_.size() - keep);
}

}  // namespace tsdump
