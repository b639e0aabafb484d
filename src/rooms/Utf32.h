// Unicode text by characters, for the news line that turns one character a second.
#pragma once

#include <string>
#include <string_view>

namespace zavuv {

// Malformed bytes become U+FFFD.
std::u32string Utf8ToUtf32(std::string_view utf8);
std::string Utf32ToUtf8(std::u32string_view text);

}  // namespace zavuv
