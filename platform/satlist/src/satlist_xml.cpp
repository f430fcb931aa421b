#include "satlist/satlist_xml.h"

#include <cstdint>
#include <limits>

#include "satlist/xml.h"

namespace orb::satlist {
namespace {

constexpr char kEol[] = "\r\n";

void Attribute(std::string& out, const char* name, std::string_view value) {
  out += ' ';
  out += name;
  out += "=\"";
  out += xml::EscapeAttribute(value);
  out += '"';
}

void Attribute(std::string& out, const char* name, long long value) {
  Attribute(out, name, std::to_string(value));
}

// A decimal integer in [min, max]: an optional '-', then 1 to 19 digits.
bool ParseInteger(const std::string& text, long long min, long long max, long long& value) {
  size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) ++i;
  if (i == text.size() || text.size() - i > 19) return false;
  unsigned long long v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    v = v * 10 + static_cast<unsigned>(text[i] - '0');
    if (v > (1ull << 40)) return false;  // far beyond any field's range
  }
  value = negative ? -static_cast<long long>(v) : static_cast<long long>(v);
  return value >= min && value <= max;
}

class Reader {
 public:
  explicit Reader(std::string& error) : error_(error) {}

  bool Satellite(const xml::Element& e, satlist::Satellite& s) {
    const std::string* name = e.Attribute("name");
    if (!name) return Fail("satellite without a name");
    if (!IsValidSatelliteName(*name)) return Fail("invalid satellite name");
    s.name = *name;
    long long selected = 0, userAdded = 0;
    if (!Number(e, "selected", 0, 1, selected) ||
        !Number(e, "useradded", kMinI32, kMaxI32, userAdded))
      return false;
    s.selected = selected != 0;
    s.userAdded = static_cast<int32_t>(userAdded);
    for (const xml::Element& child : e.children) {
      if (child.name != "transponder") continue;
      Transponder t;
      long long v[7];
      if (!Number(child, "nid", kMinI32, kMaxI32, v[0]) ||
          !Number(child, "tsid", kMinI32, kMaxI32, v[1]) ||
          !Number(child, "primary", kMinI32, kMaxI32, v[2]) ||
          !Number(child, "frequency", 0, kMaxU32, v[3]) ||
          !Number(child, "polarization", kMinI32, kMaxI32, v[4]) ||
          !Number(child, "symbolrate", 0, kMaxU32, v[5]) ||
          !Number(child, "fec", kMinI32, kMaxI32, v[6]))
        return false;
      t.networkId = static_cast<int32_t>(v[0]);
      t.transportStreamId = static_cast<int32_t>(v[1]);
      t.primary = static_cast<int32_t>(v[2]);
      t.frequency = static_cast<uint32_t>(v[3]);
      t.polarization = static_cast<int32_t>(v[4]);
      t.symbolRate = static_cast<uint32_t>(v[5]);
      t.fec = static_cast<int32_t>(v[6]);
      if (s.FindTransponder(t.networkId, t.transportStreamId))
        return Fail("transponder " + std::to_string(t.networkId) + "/" +
                    std::to_string(t.transportStreamId) + " twice in satellite \"" + s.name + "\"");
      s.transponders.push_back(t);
    }
    return true;
  }

  bool Fail(std::string message) {
    error_ = std::move(message);
    return false;
  }

 private:
  static constexpr long long kMinI32 = std::numeric_limits<int32_t>::min();
  static constexpr long long kMaxI32 = std::numeric_limits<int32_t>::max();
  static constexpr long long kMaxU32 = std::numeric_limits<uint32_t>::max();

  bool Number(const xml::Element& e, const char* name, long long min, long long max,
              long long& value) {
    const std::string* text = e.Attribute(name);
    if (!text) return Fail(e.name + " without " + name);
    if (!ParseInteger(*text, min, max, value))
      return Fail(e.name + " " + name + "=\"" + *text + "\" is not a valid number");
    return true;
  }

  std::string& error_;
};

}  // namespace

std::string WriteSatListXml(const SatelliteList& list) {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
  out += kEol;
  out += "<!-- Satellite list: frequency in 10 kHz, symbol rate in 100 symbol/s, "
         "polarization 0 H 1 V 2 L 3 R -->";
  out += kEol;
  out += "<satlist version=\"1\">";
  out += kEol;
  for (const Satellite& s : list.Satellites()) {
    out += "  <satellite";
    Attribute(out, "name", s.name);
    Attribute(out, "selected", s.selected ? 1 : 0);
    Attribute(out, "useradded", s.userAdded);
    if (s.transponders.empty()) {
      out += "/>";
      out += kEol;
      continue;
    }
    out += '>';
    out += kEol;
    for (const Transponder& t : s.transponders) {
      out += "    <transponder";
      Attribute(out, "nid", t.networkId);
      Attribute(out, "tsid", t.transportStreamId);
      Attribute(out, "primary", t.primary);
      Attribute(out, "frequency", t.frequency);
      Attribute(out, "polarization", t.polarization);
      Attribute(out, "symbolrate", t.symbolRate);
      Attribute(out, "fec", t.fec);
      out += "/>";
      out += kEol;
    }
    out += "  </satellite>";
    out += kEol;
  }
  out += "</satlist>";
  out += kEol;
  return out;
}

bool ReadSatListXml(std::string_view document, SatelliteList& list, std::string& error) {
  xml::Element root;
  xml::ParseError parseError;
  if (!xml::Parse(document, root, parseError)) {
    error = parseError.ToString();
    return false;
  }
  Reader reader(error);
  if (root.name != "satlist") return reader.Fail("the root element is not <satlist>");
  const std::string* version = root.Attribute("version");
  long long v = 0;
  if (!version || !ParseInteger(*version, 1, 1000000, v))
    return reader.Fail("<satlist> without a valid version");
  SatelliteList read;
  for (const xml::Element& e : root.children) {
    if (e.name != "satellite") continue;
    Satellite s;
    if (!reader.Satellite(e, s)) return false;
    if (read.Find(s.name)) return reader.Fail("satellite \"" + s.name + "\" twice");
    read.Store(s);
  }
  list = std::move(read);
  return true;
}

}  // namespace orb::satlist
