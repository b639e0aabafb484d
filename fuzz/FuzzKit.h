// Helpers shared by the fuzzing harnesses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zavuv::fuzz {

// A private folder for the run (under $TMPDIR, removed at exit).
const std::string& ScratchDir();
// Writes the bytes to a file of that name in the scratch folder; returns its path.
std::string WriteScratch(const std::string& name, std::string_view bytes);

// The table container ends in a CRC-32 of everything before it, which random
// mutations almost never get right. Returns the bytes with that checksum put
// right, so that the fuzzer reaches the rows; inputs shorter than the checksum
// come back unchanged.
std::string WithValidCrc(std::string_view bytes);

// Takes bytes off the front of the input.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}
  std::uint8_t Byte() {
    if (rest_.empty()) return 0;
    auto b = static_cast<std::uint8_t>(rest_[0]);
    rest_.remove_prefix(1);
    return b;
  }
  // Text up to the next NUL (or the end).
  std::string_view Field() {
    auto n = rest_.find('\0');
    std::string_view f = rest_.substr(0, n);
    rest_.remove_prefix(n == std::string_view::npos ? rest_.size() : n + 1);
    return f;
  }
  std::string_view Rest() const { return rest_; }

 private:
  std::string_view rest_;
};

// Stops the run with a message (an invariant broken: the fuzzer reports it as a crash).
[[noreturn]] void Broken(const std::string& what);

}  // namespace zavuv::fuzz
