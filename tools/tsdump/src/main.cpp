// orb-tsdump: reads a transport-stream file and reports its PSI/SI.
//
//   orb-tsdump [--dump] [--descriptors] [--strict] [--complete] [--pid N]... FILE
//
// --dump         each distinct section's dump after the summary's header lines
// --descriptors  with --dump: every descriptor of every loop
// --strict       exit 2 when a section was refused or lost on the way
// --complete     exit 3 unless every table kind was read
// --pid N        read sections on PID N too (decimal or 0x hex)
// FILE "-" reads standard input.
//
// Output is UTF-8 with control characters and broken sequences escaped, so
// that the texts of a capture cannot drive the terminal.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "tsdump/escape.h"
#include "tsdump/scanner.h"

namespace {

int Usage() {
  std::cerr << "usage: orb-tsdump [--dump] [--descriptors] [--strict] [--complete] [--pid N]... FILE\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  tsdump::Options options;
  bool strict = false, complete = false;
  std::string path;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--dump") {
      options.dump = true;
    } else if (a == "--descriptors") {
      options.descriptors = true;
    } else if (a == "--strict") {
      strict = true;
    } else if (a == "--complete") {
      complete = true;
    } else if (a == "--pid" && i + 1 < argc) {
      char* end = nullptr;
      const unsigned long pid = std::strtoul(argv[++i], &end, 0);
      if (!end || *end || pid > 0x1FFF) return Usage();
      options.extraPids.insert(static_cast<tsdump::u16>(pid));
    } else if (path.empty() && (a == "-" || a.rfind("--", 0) != 0)) {
      path = a;
    } else {
      return Usage();
    }
  }
  if (path.empty()) return Usage();

  std::ifstream file;
  std::istream* in = &std::cin;
  if (path != "-") {
    file.open(path, std::ios::binary);
    if (!file) {
      std::cerr << "orb-tsdump: cannot open " << path << "\n";
      return 1;
    }
    in = &file;
  }

  tsdump::EscapingStreambuf escaping(std::cout.rdbuf());
  std::ostream out(&escaping);
  tsdump::Scanner scanner(options, &out);
  tslib::PacketReader reader(*in);
  while (const tsdump::u8* packet = reader.Next()) scanner.Packet(packet);

  out << "input: " << path << "\n";
  scanner.Report(out, &reader.stats());
  out.flush();
  if (strict && !scanner.Clean()) return 2;
  if (complete && !scanner.Complete()) return 3;
  return 0;
}
