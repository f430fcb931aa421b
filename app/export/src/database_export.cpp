// ExportDatabase: schema and rows into a temporary file beside the target,
// which then replaces the target; errors reported once.
#include <cstdio>
#include <random>

#include "lib13818/text_time.h"
#include "orb_export/database_export.h"

namespace orb::app {

using orb::ado::ProviderError;

namespace {

// Windows-1252 bytes 0x80-0x9F as Unicode (the five unassigned bytes map to
// the C1 controls of the same value, as the system's conversion does).
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Whole, well-formed UTF-8 (overlong forms, surrogates and values above
// U+10FFFF are not).
bool IsUtf8(std::string_view text) {
  const auto* p = reinterpret_cast<const lib13818::u8*>(text.data());
  for (size_t i = 0; i < text.size();) {
    if (p[i] < 0x80) {
      ++i;
      continue;
    }
    size_t present = 0;
    const int n = lib13818::Utf8Sequence(p + i, text.size() - i, &present);
    if (n == 0 || present != static_cast<size_t>(n)) return false;
    i += present;
  }
  return true;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// A temporary name beside `target`, unlikely to be taken.
std::string TemporaryPath(const std::string& target, std::mt19937& random) {
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
  return target + suffix;
}

}  // namespace

std::string DatabaseText(std::string_view text, std::size_t maxChars) {
  std::string utf8;
  if (IsUtf8(text)) {
    utf8.assign(text);
  } else {
    utf8.reserve(text.size() * 2);
    for (char ch : text) {
      const unsigned char b = static_cast<unsigned char>(ch);
      AppendUtf8(utf8, b >= 0x80 && b <= 0x9F ? kCp1252High[b - 0x80] : b);
    }
  }
  // Cut after `maxChars` characters: every character starts with a byte that
  // is not a continuation byte.
  size_t chars = 0;
  for (size_t i = 0; i < utf8.size(); ++i) {
    if ((static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) continue;
    if (chars == maxChars) {
      utf8.resize(i);
      break;
    }
    ++chars;
  }
  return utf8;
}

std::string FormatErrorMessage(const ProviderError& error) {
  char code[16];
  std::snprintf(code, sizeof code, "%#x", static_cast<unsigned>(error.Error()));
  return std::string("Error: ") + code + "\nDesc: " + error.Description() + "\nSource: " + error.Source();
}

int ExportDatabase(const lib13818::NetworkMap* networks, const std::string& path, const ErrorSink& report) {
  std::string temporary;
  bool created = false;
  try {
    // An empty target has no place beside it: the schema step refuses the
    // empty data source and nothing is created.
    if (path.empty()) {
      CreateDatabaseSchema(path);
    } else {
      std::random_device seed;
      std::mt19937 random(seed());
      for (int attempt = 0;; ++attempt) {
        temporary = TemporaryPath(path, random);
        try {
          CreateDatabaseSchema(temporary);
          created = true;
          break;
        } catch (const ProviderError& e) {
          // A file that was there already is someone else's and stays (a
          // new name is tried); any other failure leaves a file of ours.
          if (e.Error() != orb::ado::hr::kFileExists) created = true;
          if (created || attempt == 7) throw;
        }
      }
    }
    const int result = FillDatabase(networks, temporary);
    if (result < 0)
      throw ProviderError(result, "The rows could not be written", "orb.app.DatabaseExport");
    orb::ado::ReplaceDatabaseFile(temporary, path);
  } catch (const ProviderError& error) {
    if (created) orb::ado::RemoveDatabaseFile(temporary);
    if (report) report(FormatErrorMessage(error));
  } catch (const std::bad_alloc&) {
    if (created) orb::ado::RemoveDatabaseFile(temporary);
    if (report)
      report(FormatErrorMessage(ProviderError(orb::ado::hr::kOutOfMemory, "Out of memory", "orb.app.DatabaseExport")));
  }
  return 0;
}

}  // namespace orb::app
