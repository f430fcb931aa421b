#include "satlist/xml.h"

#include <algorithm>

namespace orb::xml {
namespace {

constexpr size_t kMaxElements = size_t{1} << 20;

bool IsXmlChar(char32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// Decodes the UTF-8 sequence at s[i]; its length, or 0 when it is not valid
// (truncated, overlong, a surrogate or beyond U+10FFFF).
size_t DecodeUtf8(std::string_view s, size_t i, char32_t& cp) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[i + k]); };
  const unsigned char b0 = byte(0);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  size_t n;
  char32_t min;
  if ((b0 & 0xE0) == 0xC0) {
    n = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    n = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    n = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (s.size() - i < n) return 0;
  for (size_t k = 1; k < n; ++k) {
    if ((byte(k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(k) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Position of the first byte that is not valid XML text, or npos.
size_t FirstInvalid(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    char32_t c;
    const size_t n = DecodeUtf8(s, i, c);
    if (n == 0 || !IsXmlChar(c)) return i;
    i += n;
  }
  return std::string_view::npos;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
// Names: ASCII letters, '_' and ':' first, then also digits, '-' and '.';
// every non-ASCII character is taken as a name character.
bool IsNameStart(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u == '_' || u == ':' || u >= 0x80;
}
bool IsNameChar(char c) {
  return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

class Parser {
 public:
  explicit Parser(std::string_view s) : s_(s) {}

  bool Run(Element& root, ParseError& error) {
    if (s_.size() > kMaxInput) {
      Fail("document too large");
    } else {
      if (s_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
      const size_t bad = FirstInvalid(s_.substr(pos_));
      if (bad != std::string_view::npos) {
        pos_ += bad;
        Fail("invalid UTF-8 or a character XML does not allow");
      } else {
        Document(root);
      }
    }
    if (message_.empty()) return true;
    error.line = 1 + static_cast<size_t>(std::count(s_.begin(), s_.begin() + failPos_, '\n'));
    error.message = message_;
    return false;
  }

 private:
  bool Fail(std::string message) {
    if (message_.empty()) {
      message_ = std::move(message);
      failPos_ = std::min(pos_, s_.size());
    }
    return false;
  }
  bool AtEnd() const { return pos_ >= s_.size(); }
  char Peek(size_t k = 0) const { return pos_ + k < s_.size() ? s_[pos_ + k] : '\0'; }
  bool Starts(std::string_view t) const { return s_.substr(pos_).starts_with(t); }
  bool SkipSpace() {
    const size_t start = pos_;
    while (!AtEnd() && IsSpace(s_[pos_])) ++pos_;
    return pos_ > start;
  }

  bool Document(Element& root) {
    if (Starts("<?xml") && IsSpace(Peek(5)) && !XmlDeclaration()) return false;
    if (!Misc()) return false;
    if (AtEnd() || Peek() != '<') return Fail("no root element");
    if (!ParseElement(root, 1)) return false;
    if (!Misc()) return false;
    if (!AtEnd()) return Fail("content after the root element");
    return true;
  }

  // Whitespace, comments and processing instructions outside the root.
  bool Misc() {
    for (;;) {
      SkipSpace();
      if (Starts("<!--")) {
        if (!Comment()) return false;
      } else if (Starts("<?")) {
        if (!ProcessingInstruction(nullptr)) return false;
      } else if (Starts("<!DOCTYPE")) {
        return Fail("document type declarations are not supported");
      } else {
        return true;
      }
    }
  }

  bool XmlDeclaration() {
    std::string body;
    if (!ProcessingInstruction(&body)) return false;
    // Pseudo-attributes: version="1.0" encoding="..." standalone="...".
    const size_t at = body.find("encoding");
    if (at == std::string::npos) return true;
    size_t i = body.find_first_of("\"'", at);
    if (i == std::string::npos) return Fail("malformed XML declaration");
    const size_t end = body.find(body[i], i + 1);
    if (end == std::string::npos) return Fail("malformed XML declaration");
    std::string encoding = body.substr(i + 1, end - i - 1);
    for (char& c : encoding) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (encoding != "utf-8" && encoding != "utf8") return Fail("encoding other than UTF-8");
    return true;
  }

  bool Name(std::string& name) {
    if (AtEnd() || !IsNameStart(Peek())) return Fail("expected a name");
    const size_t start = pos_;
    while (!AtEnd() && IsNameChar(Peek())) ++pos_;
    name.assign(s_.substr(start, pos_ - start));
    return true;
  }

  bool Comment() {
    pos_ += 4;
    const size_t end = s_.find("--", pos_);
    if (end == std::string_view::npos) return Fail("unterminated comment");
    pos_ = end;
    if (Peek(2) != '>') return Fail("'--' inside a comment");
    pos_ += 3;
    return true;
  }

  // At "<?"; with `xmlDeclaration` the XML declaration's body is returned.
  bool ProcessingInstruction(std::string* xmlDeclaration) {
    pos_ += 2;
    std::string target;
    if (!Name(target)) return false;
    std::string lower = target;
    for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (lower == "xml" && !xmlDeclaration) return Fail("misplaced XML declaration");
    const size_t end = s_.find("?>", pos_);
    if (end == std::string_view::npos) return Fail("unterminated processing instruction");
    if (end != pos_ && !IsSpace(Peek())) return Fail("malformed processing instruction");
    if (xmlDeclaration) xmlDeclaration->assign(s_.substr(pos_, end - pos_));
    pos_ = end + 2;
    return true;
  }

  bool CData(std::string& out) {
    pos_ += 9;
    const size_t end = s_.find("]]>", pos_);
    if (end == std::string_view::npos) return Fail("unterminated CDATA section");
    for (; pos_ < end; ++pos_) AppendNormalisedEnd(out);
    pos_ = end + 3;
    return true;
  }

  // One character of text with line ends made "\n" (CR LF and lone CR);
  // advances past a CR LF pair's CR, leaving the LF to the caller's step.
  void AppendNormalisedEnd(std::string& out) {
    const char c = s_[pos_];
    if (c == '\r') {
      if (Peek(1) != '\n') out += '\n';
    } else {
      out += c;
    }
  }

  bool Reference(std::string& out) {
    ++pos_;  // '&'
    if (Peek() == '#') {
      ++pos_;
      const bool hex = Peek() == 'x';
      if (hex) ++pos_;
      char32_t value = 0;
      size_t digits = 0;
      for (;; ++pos_, ++digits) {
        const char c = Peek();
        int d;
        if (c >= '0' && c <= '9')
          d = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
          d = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
          d = c - 'A' + 10;
        else
          break;
        value = value * (hex ? 16 : 10) + static_cast<char32_t>(d);
        if (value > 0x10FFFF) return Fail("character reference out of range");
      }
      if (digits == 0 || Peek() != ';') return Fail("malformed character reference");
      ++pos_;
      if (!IsXmlChar(value)) return Fail("character reference to a character XML does not allow");
      AppendUtf8(out, value);
      return true;
    }
    static constexpr std::pair<std::string_view, char> kEntities[] = {
        {"lt;", '<'}, {"gt;", '>'}, {"amp;", '&'}, {"quot;", '"'}, {"apos;", '\''}};
    for (const auto& [name, c] : kEntities) {
      if (Starts(name)) {
        pos_ += name.size();
        out += c;
        return true;
      }
    }
    return Fail("unknown entity reference");
  }

  bool AttributeValue(std::string& out) {
    const char quote = Peek();
    if (quote != '"' && quote != '\'') return Fail("expected a quoted attribute value");
    ++pos_;
    for (;;) {
      if (AtEnd()) return Fail("unterminated attribute value");
      const char c = Peek();
      if (c == quote) {
        ++pos_;
        return true;
      }
      if (c == '<') return Fail("'<' in an attribute value");
      if (c == '&') {
        if (!Reference(out)) return false;
        continue;
      }
      // Attribute-value normalisation: each line end or tab becomes a blank.
      if (c == '\r' && Peek(1) == '\n') ++pos_;
      out += IsSpace(c) ? ' ' : c;
      ++pos_;
    }
  }

  bool ParseElement(Element& e, size_t depth) {
    if (depth > kMaxDepth) return Fail("elements nested too deeply");
    if (++elements_ > kMaxElements) return Fail("too many elements");
    ++pos_;  // '<'
    if (!Name(e.name)) return false;
    for (;;) {
      const bool space = SkipSpace();
      if (AtEnd()) return Fail("unterminated start tag <" + e.name + ">");
      if (Peek() == '/') {
        if (Peek(1) != '>') return Fail("expected '>'");
        pos_ += 2;
        return true;
      }
      if (Peek() == '>') {
        ++pos_;
        break;
      }
      if (!space) return Fail("expected a blank before an attribute");
      std::string name, value;
      if (!Name(name)) return false;
      SkipSpace();
      if (Peek() != '=') return Fail("expected '=' after attribute " + name);
      ++pos_;
      SkipSpace();
      if (!AttributeValue(value)) return false;
      if (e.Attribute(name)) return Fail("duplicate attribute " + name);
      e.attributes.emplace_back(std::move(name), std::move(value));
    }
    for (;;) {
      if (AtEnd()) return Fail("unterminated element <" + e.name + ">");
      const char c = Peek();
      if (c == '<') {
        if (Starts("</")) {
          pos_ += 2;
          std::string end;
          if (!Name(end)) return false;
          if (end != e.name) return Fail("</" + end + "> closes <" + e.name + ">");
          SkipSpace();
          if (Peek() != '>') return Fail("expected '>'");
          ++pos_;
          return true;
        }
        if (Starts("<!--")) {
          if (!Comment()) return false;
        } else if (Starts("<![CDATA[")) {
          if (!CData(e.text)) return false;
        } else if (Starts("<?")) {
          if (!ProcessingInstruction(nullptr)) return false;
        } else if (Starts("<!")) {
          return Fail("unexpected declaration");
        } else {
          e.children.emplace_back();
          if (!ParseElement(e.children.back(), depth + 1)) return false;
        }
        continue;
      }
      if (c == '&') {
        if (!Reference(e.text)) return false;
        continue;
      }
      if (c == ']' && Starts("]]>")) return Fail("']]>' in character data");
      AppendNormalisedEnd(e.text);
      ++pos_;
    }
  }

  std::string_view s_;
  size_t pos_ = 0;
  size_t elements_ = 0;
  std::string message_;
  size_t failPos_ = 0;
};

}  // namespace

const std::string* Element::Attribute(std::string_view attributeName) const {
  for (const auto& [name, value] : attributes)
    if (name == attributeName) return &value;
  return nullptr;
}

std::string ParseError::ToString() const { return "line " + std::to_string(line) + ": " + message; }

bool Parse(std::string_view document, Element& root, ParseError& error) {
  root = Element();
  error = ParseError();
  Parser parser(document);
  if (parser.Run(root, error)) return true;
  root = Element();
  return false;
}

std::string EscapeAttribute(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\t': out += "&#9;"; break;
      case '\n': out += "&#10;"; break;
      case '\r': out += "&#13;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string EscapeText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '\r': out += "&#13;"; break;
      default: out += c;
    }
  }
  return out;
}

bool IsXmlText(std::string_view text) { return FirstInvalid(text) == std::string_view::npos; }

}  // namespace orb::xml
