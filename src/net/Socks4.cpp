#include "net/Socks4.h"

namespace zavuv::net {

std::string Socks4ConnectRequest(const Ipv4Address& address, std::uint16_t port,
                                 std::string_view userId) {
  userId = userId.substr(0, userId.find('\0'));
  std::string out;
  out.reserve(9 + userId.size());
  out += '\x04';
  out += '\x01';
  out += static_cast<char>(port >> 8);
  out += static_cast<char>(port & 0xFF);
  for (std::uint8_t b : address) out += static_cast<char>(b);
  out.append(userId);
  out += '\0';
  return out;
}

bool Socks4Granted(std::string_view reply) {
  return reply.size() == kSocks4ReplyBytes &&
         static_cast<std::uint8_t>(reply[1]) == kSocks4Granted;
}

std::string Socks4ReplyText(std::string_view reply) {
  if (reply.size() != kSocks4ReplyBytes) return "SOCKS 4 answer of " + std::to_string(reply.size()) + " bytes";
  switch (static_cast<std::uint8_t>(reply[1])) {
    case 90: return "SOCKS 4 request granted";
    case 91: return "SOCKS 4 request rejected or failed";
    case 92: return "SOCKS 4 request rejected: no identd on the client";
    case 93: return "SOCKS 4 request rejected: user ID not confirmed by identd";
    default: return "SOCKS 4 answer code " + std::to_string(static_cast<std::uint8_t>(reply[1]));
  }
}

}  // namespace zavuv::net
