// The SOCKS 4 exchange: any eight (or fewer, or more) reply bytes judged and described,
// and the request built for any address, port and user ID.
#include <cstdint>
#include <cstring>

#include "FuzzKit.h"
#include "net/Socks4.h"

using namespace zavuv;
using namespace zavuv::net;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  Ipv4Address address{in.Byte(), in.Byte(), in.Byte(), in.Byte()};
  const std::uint16_t port = static_cast<std::uint16_t>(in.Byte() << 8 | in.Byte());
  const std::size_t replyBytes = in.Byte() % 12;  // mostly the eight of a reply, sometimes fewer or more
  const std::string_view rest = in.Rest();
  const std::string_view reply = rest.substr(0, replyBytes);
  const std::string_view userId = rest.substr(reply.size());
  const std::string request = Socks4ConnectRequest(address, port, userId);
  const std::size_t idBytes = userId.substr(0, userId.find('\0')).size();
  if (request.size() != 9 + idBytes) fuzz::Broken("a request of the wrong length");
  if (request[0] != 4 || request[1] != 1 || request.back() != '\0') fuzz::Broken("a request of the wrong shape");
  if (std::memcmp(request.data() + 4, address.data(), 4) != 0) fuzz::Broken("the address not in the request");
  const bool granted = Socks4Granted(reply);
  if (granted && (reply.size() < 2 || static_cast<std::uint8_t>(reply[1]) != kSocks4Granted))
    fuzz::Broken("a reply granted without the granted code");
  const std::string text = Socks4ReplyText(reply);
  if (!granted && text.empty()) fuzz::Broken("a refusal without a reason");
  return 0;
}
