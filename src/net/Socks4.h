// SOCKS version 4 (not 4A, not 5), the proxy protocol the client may connect through.
// The client resolves the server's host name itself and asks the proxy to connect to
// the resulting IPv4 address; the request always carries a user ID field, empty when
// the user gave none. Only the bytes are here; the transport sends and reads them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zavuv::net {

using Ipv4Address = std::array<std::uint8_t, 4>;

// The bytes of a CONNECT request: version 4, command 1, the port (high byte first),
// the address, the user ID and a NUL. A user ID is cut at a NUL of its own, so that it
// cannot end the request early and leave bytes the proxy would take for data.
std::string Socks4ConnectRequest(const Ipv4Address& address, std::uint16_t port,
                                 std::string_view userId);

inline constexpr std::size_t kSocks4ReplyBytes = 8;
inline constexpr std::uint8_t kSocks4Granted = 90;

// Whether the proxy's answer grants the connection: exactly 8 bytes whose second byte
// is 90. The first byte (0 in the protocol, 4 from some proxies) is not checked; any
// other code (91 refused, 92/93 identification failures) or a short answer fails.
bool Socks4Granted(std::string_view reply);

// The text shown for a refusal code, for the caller's own diagnostics.
std::string Socks4ReplyText(std::string_view reply);

}  // namespace zavuv::net
