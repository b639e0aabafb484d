// Conversion between the 8-bit Big5 text (code page 950) that files and the server
// carry and the UTF-8 that the command-line tool and the views use.
#pragma once

#include <string>
#include <string_view>

namespace zavuv {

// Bytes that are not Big5 become U+FFFD; the conversion never fails.
std::string Big5ToUtf8(std::string_view big5);
// Characters that Big5 cannot hold become "?"; malformed UTF-8 bytes too.
std::string Utf8ToBig5(std::string_view utf8);

}  // namespace zavuv
