#include "tsdump/escape.h"

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
    int len = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
      len = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
      len = 3;
      if (b == 0xE0) lo = 0xA0;
      if (b == 0xED) hi = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      len = 4;
      if (b == 0xF0) lo = 0x90;
      if (b == 0xF4) hi = 0x8F;
    }
    size_t k = 1;
    if (len) {
      for (; k < static_cast<size_t>(len) && i + k < n; ++k) {
        const unsigned char t = static_cast<unsigned char>(in[i + k]);
        if (k == 1 ? (t < lo || t > hi) : (t < 0x80 || t > 0xBF)) break;
      }
      if (k < static_cast<size_t>(len) && i + k == n && !final) return n - i;  // wait for the rest
    }
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
