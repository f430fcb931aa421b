#pragma once
// A small XML 1.0 reader and the escaping of a writer, for our own data files.
//
// The reader takes UTF-8 (with or without a byte-order mark) and builds an
// element tree.  It accepts elements, attributes, character and entity
// references (the five predefined entities and numeric ones), CDATA sections,
// comments and processing instructions; it refuses anything not well formed,
// invalid UTF-8, characters XML does not allow, a declared encoding other
// than UTF-8, document type declarations (no entity expansion at all),
// nesting deeper than kMaxDepth and inputs larger than kMaxInput.
// Portable C++, no Windows header.
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orb::xml {

struct Element {
  std::string name;
  std::vector<std::pair<std::string, std::string>> attributes;  // in document order
  std::vector<Element> children;                                // elements only
  std::string text;  // the character data directly inside, concatenated

  // The value of an attribute; null when the element has none of that name.
  const std::string* Attribute(std::string_view attributeName) const;
};

constexpr size_t kMaxDepth = 64;
constexpr size_t kMaxInput = 16u << 20;

struct ParseError {
  size_t line = 0;  // 1-based line of the fault
  std::string message;
  std::string ToString() const;  // "line N: message"
};

// Parses a whole document into `root`; false (and `error`) when it is refused.
bool Parse(std::string_view document, Element& root, ParseError& error);

// Text escaped for an attribute value in double quotes (also tab, CR and LF,
// so that they survive attribute-value normalisation) or for character data.
std::string EscapeAttribute(std::string_view text);
std::string EscapeText(std::string_view text);

// True when `text` is valid UTF-8 made only of characters XML 1.0 allows.
bool IsXmlText(std::string_view text);

}  // namespace orb::xml
