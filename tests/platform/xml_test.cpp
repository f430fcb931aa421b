// The XML reader: what it accepts, what it refuses, and escaping round trips.
#include "satlist/xml.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using orb::xml::Element;
using orb::xml::ParseError;

namespace {

Element ParseOk(const std::string& doc) {
  Element root;
  ParseError error;
  EXPECT_TRUE(orb::xml::Parse(doc, root, error)) << doc << "\n" << error.ToString();
  return root;
}

ParseError ParseBad(const std::string& doc) {
  Element root;
  ParseError error;
  EXPECT_FALSE(orb::xml::Parse(doc, root, error)) << doc;
  EXPECT_TRUE(root.name.empty());
  return error;
}

}  // namespace

TEST(XmlReader, ReadsElementsAttributesAndText) {
  const Element root = ParseOk(
      "\xEF\xBB\xBF<?xml version='1.0' encoding=\"UTF-8\" standalone='yes'?>\r\n"
      "<!-- list -->\n<?app hint?>\n"
      "<list a=\"1\" b='two &amp; &lt;three&gt;' c=\"&#65;&#x42;&#x1F600;\" d = \"'\" e='\"'>\n"
      "  <item name=\"x\"/>\n"
      "  <item name=\"y\">text &quot;q&quot; <![CDATA[<raw> & ]]>&apos;</item>\n"
      "  <!-- between --><?pi?>\n"
      "</list >\n<!-- after -->\n");
  EXPECT_EQ(root.name, "list");
  ASSERT_EQ(root.attributes.size(), 5u);
  EXPECT_EQ(*root.Attribute("a"), "1");
  EXPECT_EQ(*root.Attribute("b"), "two & <three>");
  EXPECT_EQ(*root.Attribute("c"), "AB\xF0\x9F\x98\x80");
  EXPECT_EQ(*root.Attribute("d"), "'");
  EXPECT_EQ(*root.Attribute("e"), "\"");
  EXPECT_EQ(root.Attribute("f"), nullptr);
  ASSERT_EQ(root.children.size(), 2u);
  EXPECT_EQ(*root.children[0].Attribute("name"), "x");
  EXPECT_TRUE(root.children[0].children.empty());
  EXPECT_EQ(root.children[1].text, "text \"q\" <raw> & '");
}

TEST(XmlReader, NormalisesLineEndsAndAttributeBlanks) {
  const Element root = ParseOk("<r a=\"x\r\ny\tz\rw\" b=\"&#10;&#9;&#13;\">1\r\n2\r3\n</r>");
  EXPECT_EQ(*root.Attribute("a"), "x y z w");
  EXPECT_EQ(*root.Attribute("b"), "\n\t\r");  // references are not normalised
  EXPECT_EQ(root.text, "1\n2\n3\n");
}

TEST(XmlReader, RefusesWhatIsNotWellFormed) {
  const char* const bad[] = {
      "",
      "   ",
      "text",
      "<a>",
      "<a></b>",
      "<a/><b/>",
      "<a/>text",
      "<a x='1' x='2'/>",
      "<a x=1/>",
      "<a x='1'y='2'/>",
      "<a x='<'/>",
      "<a x='1/>",
      "<a>&unknown;</a>",
      "<a>&amp</a>",
      "<a>&#;</a>",
      "<a>&#x;</a>",
      "<a>&#0;</a>",
      "<a>&#xD800;</a>",
      "<a>&#x110000;</a>",
      "<a>&#99999999999;</a>",
      "<a>]]></a>",
      "<a><!-- a -- b --></a>",
      "<a><!-- open</a>",
      "<a><![CDATA[open</a>",
      "<a><?pi open</a>",
      "<a><!ELEMENT a ANY></a>",
      "<!DOCTYPE a [<!ENTITY x 'y'>]><a>&x;</a>",
      "<?xml version='1.0' encoding='ISO-8859-1'?><a/>",
      "<a/><?xml version='1.0'?>",
      " <?xml version='1.0'?><a/>",
      "<1a/>",
      "< a/>",
      "<a\x01/>",
      "<a>\x01</a>",
      "<a>\xC0\xAF</a>",          // overlong
      "<a>\xED\xA0\x80</a>",      // encoded surrogate
      "<a>\xF4\x90\x80\x80</a>",  // beyond U+10FFFF
      "<a>\xE2\x82</a>",          // truncated
      "<a>\xEF\xBF\xBE</a>",      // U+FFFE
      "<a>\xFF</a>",
      "<a/ >",
  };
  for (const char* doc : bad) ParseBad(doc);
  ParseBad(std::string("<a>\0</a>", 8));
}

TEST(XmlReader, ReportsTheLineOfTheFault) {
  const ParseError e = ParseBad("<a>\n<b>\n</c>\n</a>");
  EXPECT_EQ(e.line, 3u);
  EXPECT_EQ(e.ToString(), "line 3: </c> closes <b>");
  EXPECT_EQ(ParseBad("<a>\n\n\xFF</a>").line, 3u);
}

TEST(XmlReader, LimitsNestingDepth) {
  auto nested = [](size_t depth) {
    std::string doc;
    for (size_t i = 0; i < depth; ++i) doc += "<e>";
    for (size_t i = 0; i < depth; ++i) doc += "</e>";
    return doc;
  };
  ParseOk(nested(orb::xml::kMaxDepth));
  EXPECT_EQ(ParseBad(nested(orb::xml::kMaxDepth + 1)).message, "elements nested too deeply");
  ParseBad(nested(100000));
}

TEST(XmlWriter, EscapedTextReadsBackUnchanged) {
  std::mt19937 random(7);
  const char32_t alphabet[] = {'a', ' ', '\t', '\n', '\r', '&', '<', '>', '"', '\'', ']',
                               0xE9, 0x20AC, 0x1F600};
  for (int round = 0; round < 200; ++round) {
    std::string text;
    const int n = static_cast<int>(random() % 12);
    for (int i = 0; i < n; ++i) {
      const char32_t c = alphabet[random() % (sizeof alphabet / sizeof alphabet[0])];
      if (c < 0x80) {
        text += static_cast<char>(c);
      } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
      } else if (c < 0x10000) {
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
      } else {
        text += static_cast<char>(0xF0 | (c >> 18));
        text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
      }
    }
    ASSERT_TRUE(orb::xml::IsXmlText(text));
    const Element root = ParseOk("<r v=\"" + orb::xml::EscapeAttribute(text) + "\">" +
                                 orb::xml::EscapeText(text) + "</r>");
    ASSERT_EQ(*root.Attribute("v"), text);
    ASSERT_EQ(root.text, text);
  }
}
