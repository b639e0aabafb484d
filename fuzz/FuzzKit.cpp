#include "FuzzKit.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "table/TableFile.h"

namespace zavuv::fuzz {

namespace {

struct Scratch {
  std::string dir;
  Scratch() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/zavuv-fuzz-XXXXXX";
    if (!::mkdtemp(pattern.data())) Broken("cannot make a scratch folder");
    dir = pattern;
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
};

}  // namespace

const std::string& ScratchDir() {
  static Scratch scratch;
  return scratch.dir;
}

std::string WriteScratch(const std::string& name, std::string_view bytes) {
  std::string path = ScratchDir() + "/" + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) Broken("cannot write " + path);
  return path;
}

std::string WithValidCrc(std::string_view bytes) {
  std::string out(bytes);
  if (out.size() < 4) return out;
  std::uint32_t crc = Crc32(std::string_view(out).substr(0, out.size() - 4));
  for (int i = 0; i < 4; ++i) out[out.size() - 4 + i] = static_cast<char>((crc >> (8 * i)) & 0xFF);
  return out;
}

void Broken(const std::string& what) {
  std::fprintf(stderr, "invariant broken: %s\n", what.c_str());
  std::abort();
}

}  // namespace zavuv::fuzz
