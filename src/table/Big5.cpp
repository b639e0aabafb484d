#include "table/Big5.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace zavuv {

namespace {

// One converter per direction and thread; iconv descriptors keep shift state, so
// they are reset before each conversion.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts text; at a byte that cannot be converted, appends the replacement and
  // skips `skip(rest)` bytes.
  template <typename Skip>
  std::string Run(std::string_view text, std::string_view replacement, Skip skip) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    out.reserve(text.size() * 2);
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char buf[512];
    while (inLeft > 0) {
      char* o = buf;
      std::size_t oLeft = sizeof buf;
      std::size_t r = iconv(cd_, &in, &inLeft, &o, &oLeft);
      out.append(buf, static_cast<std::size_t>(o - buf));
      if (r == static_cast<std::size_t>(-1)) {
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL (a cut-off sequence at the end)
        out.append(replacement);
        std::size_t n = skip(std::string_view(in, inLeft));
        in += n;
        inLeft -= n;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
      }
    }
    return out;
  }

 private:
  iconv_t cd_;
};

std::size_t Utf8SequenceLength(std::string_view rest) {
  auto c = static_cast<unsigned char>(rest[0]);
  std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
  // A malformed sequence is skipped one byte at a time.
  for (std::size_t i = 1; i < n; ++i)
    if (i >= rest.size() || (static_cast<unsigned char>(rest[i]) & 0xC0) != 0x80) return 1;
  return n;
}

}  // namespace

std::string Big5ToUtf8(std::string_view big5) {
  thread_local Converter conv("UTF-8", "CP950");
  return conv.Run(big5, "\xEF\xBF\xBD", [](std::string_view) { return std::size_t{1}; });
}

std::string Utf8ToBig5(std::string_view utf8) {
  thread_local Converter conv("CP950", "UTF-8");
  return conv.Run(utf8, "?", Utf8SequenceLength);
}

}  // namespace zavuv
