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
// Output is UTF-8 with control characters, broken sequences and invisible
// layout characters escaped, and a line break inside a text written "\n",
// so that the texts of a capture can neither drive the terminal nor make
// up lines of the dump.
#include <cstdio>
#include <cstdlib>
#if defined(__unix__)
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "tsdump/escape.h"
#include "tsdump/scanner.h"

namespace {

// A regular file mapped into memory where the system can: read in place,
// without copying it through a stream buffer.
class MappedFile {
 public:
  explicit MappedFile(const std::string& path) {
#if defined(__unix__)
    const int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0) return;
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
      void* p = mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
      if (p != MAP_FAILED) {
        data_ = static_cast<const tsdump::u8*>(p);
        size_ = static_cast<size_t>(st.st_size);
        madvise(p, size_, MADV_SEQUENTIAL);
      }
    }
    close(fd);
#else
    (void)path;
#endif
  }
  ~MappedFile() {
#if defined(__unix__)
    if (data_) munmap(const_cast<tsdump::u8*>(data_), size_);
#endif
  }
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  const tsdump::u8* data() const { return data_; }
  size_t size() const { return size_; }

 private:
  const tsdump::u8* data_ = nullptr;
  size_t size_ = 0;
};

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
  std::unique_ptr<MappedFile> mapped;
  if (path != "-") {
    mapped = std::make_unique<MappedFile>(path);
    if (!mapped->data()) {
      file.open(path, std::ios::binary);
      if (!file) {
        std::cerr << "orb-tsdump: cannot open " << path << "\n";
        return 1;
      }
      in = &file;
    }
  }

  tsdump::EscapingStreambuf escaping(std::cout.rdbuf());
  std::ostream out(&escaping);
  tsdump::Scanner scanner(options, &out);
  tslib::PacketReader reader = mapped && mapped->data() ? tslib::PacketReader(mapped->data(), mapped->size())
                                                        : tslib::PacketReader(*in);
  while (const tsdump::u8* packet = reader.Next()) scanner.Packet(packet);

  out << "input: " << path << std::endl;
  scanner.Report(out, &reader.stats());
  out.flush();
  if (strict && !scanner.Clean()) return 2;
  if (complete && !scanner.Complete()) return 3;
  return 0;
}
