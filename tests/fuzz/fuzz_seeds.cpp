// Writes the seed corpora of the fuzz targets, one folder per target, from
// the generated multiplex: its sections for the section targets, their
// descriptor loops and descriptors for the descriptor targets, its packets
// for the stream target, and texts in every character table.
//
//   fuzz_seeds DIR
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "sigen/sigen.h"
#include "tslib/ts.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

class Corpus {
 public:
  explicit Corpus(fs::path dir) : dir_(std::move(dir)) {}
  void Add(const std::string& target, const Bytes& bytes, std::uint8_t prefix, bool withPrefix = true) {
    int& n = counts_[target];
    if (n >= 24) return;
    fs::create_directories(dir_ / target);
    std::ofstream out(dir_ / target / ("seed_" + std::to_string(n++)), std::ios::binary);
    if (withPrefix) out.put(static_cast<char>(prefix));
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }

 private:
  fs::path dir_;
  std::map<std::string, int> counts_;
};

std::string TargetOf(std::uint8_t id) {
  switch (id) {
    case 0x00: return "pat";
    case 0x01: return "cat";
    case 0x02: return "pmt";
    case 0x40: case 0x41: return "nit";
    case 0x4A: return "bat";
    case 0x42: case 0x46: return "sdt";
    case 0x70: return "tdt";
    case 0x71: return "rst";
    case 0x73: return "tot";
    case 0x74: return "ait";
    default: return id >= 0x4E && id <= 0x6F ? "eit" : "";
  }
}

size_t Len12(const Bytes& s, size_t at) { return size_t(s[at] & 0x0F) << 8 | s[at + 1]; }

// The descriptor loops of a section, as (offset, size) pairs inside it.
std::vector<std::pair<size_t, size_t>> Loops(const Bytes& s) {
  std::vector<std::pair<size_t, size_t>> loops;
  if (s.size() < 16) return loops;
  const size_t end = s.size() - 4;
  auto add = [&](size_t at, size_t n) {
    if (at + n <= end) loops.emplace_back(at, n);
  };
  const std::uint8_t id = s[0];
  if (id == 0x02) {
    const size_t n = Len12(s, 10);
    add(12, n);
    for (size_t p = 12 + n; p + 5 <= end;) {
      const size_t es = Len12(s, p + 3);
      add(p + 5, es);
      p += 5 + es;
    }
  } else if (id == 0x42 || id == 0x46) {
    for (size_t p = 11; p + 5 <= end;) {
      const size_t n = Len12(s, p + 3);
      add(p + 5, n);
      p += 5 + n;
    }
  } else if (id >= 0x4E && id <= 0x6F) {
    for (size_t p = 14; p + 12 <= end;) {
      const size_t n = Len12(s, p + 10);
      add(p + 12, n);
      p += 12 + n;
    }
  } else if (id == 0x40 || id == 0x41 || id == 0x4A) {
    const size_t n = Len12(s, 8);
    add(10, n);
    for (size_t p = 12 + n; p + 6 <= end;) {
      const size_t ts = Len12(s, p + 4);
      add(p + 6, ts);
      p += 6 + ts;
    }
  }
  return loops;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds DIR\n");
    return 1;
  }
  Corpus corpus(argv[1]);
  sigen::Config config;
  config.services = 3;
  config.scheduleEvents = 3;
  const sigen::Multiplex mux = sigen::GenerateMultiplex(config);
  std::map<std::uint8_t, int> perTag;
  for (const Bytes& s : sigen::AllSections(mux)) {
    const std::string target = TargetOf(s[0]);
    if (!target.empty()) corpus.Add(target, s, 0x00);
    for (const auto& [at, n] : Loops(s)) {
      const Bytes loop(s.begin() + static_cast<long>(at), s.begin() + static_cast<long>(at + n));
      corpus.Add("descriptor_loop", loop, 0, false);
      for (size_t p = 0; p + 2 <= loop.size() && p + 2 + loop[p + 1] <= loop.size(); p += 2 + loop[p + 1]) {
        if (perTag[loop[p]]++ >= 2) continue;
        Bytes one{loop[p]};
        one.insert(one.end(), loop.begin() + static_cast<long>(p + 2),
                   loop.begin() + static_cast<long>(p + 2 + loop[p + 1]));
        corpus.Add("descriptor", one, 0, false);
      }
    }
  }
  // The stream: the multiplex in packets, read from memory and as a stream.
  Bytes packets;
  std::map<std::uint16_t, tslib::SectionPacketiser> packetisers;
  for (const sigen::Table& t : mux.tables)
    packetisers.emplace(t.pid, tslib::SectionPacketiser(t.pid)).first->second.PutPacked(t.sections, packets);
  corpus.Add("tsdump", packets, 0x00);
  corpus.Add("tsdump", packets, 0x02);
  // Texts in every table, each also as a length-prefixed field.
  const std::vector<Bytes> texts = {
      {'C', 'a', 'f', 0xC2, 'e', ' ', 0xA4, 0x8A, 0x86, 'x', 0x87},
      {0x0B, 'F', 'r', 'a', 'n', 'c', 'e', ' ', 0xD4},
      {0x01, 0xC0, 0xDE, 0xE1},
      {0x10, 0x00, 0x02, 0xA3, 0xF3},
      {0x11, 0x04, 0x1F, 0xE0, 0x8A, 0xD8, 0x3D, 0xDE, 0x00},
      {0x12, 0xC7, 0xD1, 0xB1, 0xB9},
      {0x13, 0xD6, 0xD0, 0xE0, 0x8A, 0xCE, 0xC4},
      {0x14, 0xA4, 0xA4, 0xB5, 0xD8},
      {0x15, 0xC3, 0x87, 0xC2, 0x8A, 0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x98, 0x80},
      {0x1F, 0x05, 0x41, 0x42},
  };
  for (const Bytes& t : texts) {
    corpus.Add("text", t, 0, false);
    Bytes prefixed{static_cast<std::uint8_t>(t.size())};
    prefixed.insert(prefixed.end(), t.begin(), t.end());
    corpus.Add("text", prefixed, 0, false);
  }
  return 0;
}
