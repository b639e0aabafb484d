// The line protocol's reading side: bytes cut into lines by the framer (in pieces of
// sizes taken from the input), each line split into its command and arguments and
// its arguments turned into UTF-8; and the sending side for the same text.
#include <cstdint>

#include "FuzzKit.h"
#include "net/Protocol.h"

using namespace zavuv;
using namespace zavuv::net;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  const std::size_t limit = 1 + in.Byte() % 64;  // small limits reach the overlong path
  const std::uint8_t piece = in.Byte();
  std::string_view bytes = in.Rest();
  LineFramer framer(limit);
  std::string line;
  std::size_t lines = 0;
  while (!bytes.empty()) {
    std::size_t n = std::min<std::size_t>(bytes.size(), 1 + piece % 17);
    framer.Feed(bytes.substr(0, n));
    bytes.remove_prefix(n);
    // (one byte of slack for the CR that may stand before the LF)
    if (framer.Pending() > limit + 1) fuzz::Broken("the framer holds more than a line");
    while (framer.Next(line)) {
      ++lines;
      if (line.size() > limit) fuzz::Broken("a line over the limit");
      if (line.find('\n') != std::string::npos) fuzz::Broken("a line holding a line feed");
      CommandLine c = SplitLine(line);
      if (auto colon = line.find(':'); colon != std::string::npos && c.arguments != line.substr(colon + 1))
        fuzz::Broken("the arguments are not what follows the colon");
      if (c.command.find(':') != std::string::npos) fuzz::Broken("a command holding a colon");
      std::string utf8 = ArgumentsToUtf8(c.command, c.arguments);
      if (!IsValidUtf8(utf8)) fuzz::Broken("arguments turned into malformed UTF-8");
      std::string framed = FrameLine(MakeLine(c.command, utf8));
      if (framed.size() < 2 || framed.find('\n') != framed.size() - 1 || framed[framed.size() - 2] != '\r')
        fuzz::Broken("a framed line that is not one line");
    }
  }
  if (lines > size) fuzz::Broken("more lines than bytes");
  const std::string clean = SanitizeUtf8(in.Rest());
  if (!IsValidUtf8(clean)) fuzz::Broken("sanitized text is not UTF-8");
  if (IsValidUtf8(in.Rest()) && clean != in.Rest()) fuzz::Broken("valid UTF-8 changed by sanitizing");
  return 0;
}
