// orb-tsdump: reads a transport-stream file and reports its PSI/SI.
//
//   orb-tsdump [--dump] [--descriptors] [--strict] [--complete] [--pid N]...
//              [--read-size N] FILE
//
// --dump         each distinct section's dump after the summary's header lines
// --descriptors  with --dump: every descriptor of every loop
// --strict       exit 2 when a section was refused or lost on the way
// --complete     exit 3 unless every table kind was read
// --pid N        read sections on PID N too (decimal or 0x hex)
// --read-size N  read the input N bytes at a time (default 1 MiB); the
//                output does not depend on it (tests cut packets with it)
// FILE "-" reads standard input.  The input goes through one reused buffer,
// so memory does not grow with the length of the file.
//
// Output is UTF-8 with control characters, broken sequences and invisible
// layout characters escaped, and a line break inside a text written "\n",
// so that the texts of a capture can neither drive the terminal nor make
// up lines of the dump.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#if defined(__unix__)
#include <fcntl.h>
#include <unistd.h>
#endif
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "tsdump/escape.h"
#include "tsdump/scanner.h"

namespace {

#if defined(__unix__)
// A file read with read(2), told that it is read from start to end.
class File {
 public:
  explicit File(const std::string& path) : fd_(open(path.c_str(), O_RDONLY)) {
    if (fd_ >= 0) posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
  }
  ~File() {
    if (fd_ >= 0) close(fd_);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  bool is_open() const { return fd_ >= 0; }
  // The errno of a failed read, 0 if none failed.
  int error() const { return error_; }

  size_t Read(tsdump::u8* p, size_t n) {
    for (;;) {
      const ssize_t got = read(fd_, p, n);
      if (got >= 0) return static_cast<size_t>(got);
      if (errno == EINTR) continue;
      error_ = errno;
      return 0;
    }
  }

 private:
  int fd_;
  int error_ = 0;
};
#endif

int Usage() {
  std::cerr << "usage: orb-tsdump [--dump] [--descriptors] [--strict] [--complete] [--pid N]... "
               "[--read-size N] FILE\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  tsdump::Options options;
  bool strict = false, complete = false;
  size_t readSize = tslib::PacketReader::kDefaultChunk;
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
    } else if (a == "--read-size" && i + 1 < argc) {
      const char* arg = argv[++i];
      char* end = nullptr;
      errno = 0;
      const unsigned long long n = std::strtoull(arg, &end, 0);
      if (!end || *end || *arg == '-' || errno || n == 0 || n > (1ull << 30)) return Usage();
      readSize = static_cast<size_t>(n);
    } else if (path.empty() && (a == "-" || a.rfind("--", 0) != 0)) {
      path = a;
    } else {
      return Usage();
    }
  }
  if (path.empty()) return Usage();

  std::unique_ptr<tslib::PacketReader> reader;
#if defined(__unix__)
  std::unique_ptr<File> file;
  if (path != "-") {
    file = std::make_unique<File>(path);
    if (!file->is_open()) {
      std::cerr << "orb-tsdump: cannot open " << path << ": " << std::strerror(errno) << "\n";
      return 1;
    }
    reader = std::make_unique<tslib::PacketReader>(
        [f = file.get()](tsdump::u8* p, size_t n) { return f->Read(p, n); }, readSize);
  }
#else
  std::ifstream file;
  if (path != "-") {
    file.open(path, std::ios::binary);
    if (!file) {
      std::cerr << "orb-tsdump: cannot open " << path << "\n";
      return 1;
    }
    reader = std::make_unique<tslib::PacketReader>(file, readSize);
  }
#endif
  if (!reader) reader = std::make_unique<tslib::PacketReader>(std::cin, readSize);

  tsdump::EscapingStreambuf escaping(std::cout.rdbuf());
  std::ostream out(&escaping);
  tsdump::Scanner scanner(options, &out);
  while (const tsdump::u8* packet = reader->Next()) scanner.Packet(packet);
#if defined(__unix__)
  if (file && file->error()) {
    std::cerr << "orb-tsdump: cannot read " << path << ": " << std::strerror(file->error()) << "\n";
    return 1;
  }
#endif

  out << "input: " << path << std::endl;
  scanner.Report(out, &reader->stats());
  out.flush();
  if (strict && !scanner.Clean()) return 2;
  if (complete && !scanner.Complete()) return 3;
  return 0;
}
