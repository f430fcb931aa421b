// CJK character tables through iconv (glibc's EUC-KR, GB2312 and BIG5).
#include <iconv.h>

#include <cerrno>

#include "cjk_text.h"

namespace lib13818::detail {

namespace {

// One converter per table and thread: an iconv_t carries shift state and is
// not to be shared between threads.
class Converter {
 public:
  explicit Converter(const char* from) : cd_(iconv_open("UTF-8", from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool Convert(const u8* p, size_t n, std::string& out) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return false;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    const size_t start = out.size();
    // A CJK character takes at most 3 UTF-8 bytes for its 2 bytes in; ASCII
    // stays one to one.
    out.resize(start + n * 2 + 4);
    char* in = const_cast<char*>(reinterpret_cast<const char*>(p));
    size_t inLeft = n;
    char* dst = out.data() + start;
    size_t dstLeft = out.size() - start;
    const size_t r = iconv(cd_, &in, &inLeft, &dst, &dstLeft);
    if (r == static_cast<size_t>(-1) || inLeft != 0) {
      out.resize(start);
      return false;
    }
    out.resize(static_cast<size_t>(dst - out.data()));
    return true;
  }

 private:
  iconv_t cd_;
};

}  // namespace

bool ConvertCjk(u8 selector, const u8* p, size_t n, std::string& out) {
  switch (selector) {
    case 0x12: {
      thread_local Converter korean("EUC-KR");
      return korean.Convert(p, n, out);
    }
    case 0x13: {
      thread_local Converter chinese("GB2312");
      return chinese.Convert(p, n, out);
    }
    case 0x14: {
      thread_local Converter big5("BIG5");
      return big5.Convert(p, n, out);
    }
    default:
      return false;
  }
}

}  // namespace lib13818::detail
