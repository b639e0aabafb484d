// A small argument reader shared by the commands of zavuv-cli.
#pragma once

#include <nlohmann/json.hpp>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "cli/Commands.h"
#include "shoes/ShoesData.h"

namespace zavuv::cli {

class ArgReader {
 public:
  explicit ArgReader(const Args& args) : args_(args), used_(args.size(), false) {}

  // A flag without a value; true when it was given.
  bool Flag(const std::string& name) {
    bool found = false;
    for (std::size_t i = 0; i < args_.size(); ++i)
      if (!used_[i] && args_[i] == name) used_[i] = found = true;
    return found;
  }

  // An option with one value ("--name VALUE").
  std::optional<std::string> Option(const std::string& name) {
    std::optional<std::string> value;
    for (std::size_t i = 0; i < args_.size(); ++i) {
      if (used_[i] || args_[i] != name) continue;
      if (i + 1 >= args_.size()) throw CliError(name + " needs a value");
      used_[i] = used_[i + 1] = true;
      value = args_[i + 1];
    }
    return value;
  }

  // A whole-number option within limits.
  std::optional<long long> Number(const std::string& name, long long min, long long max) {
    auto text = Option(name);
    if (!text) return std::nullopt;
    std::size_t end = 0;
    long long v = 0;
    try {
      v = std::stoll(*text, &end);
    } catch (const std::exception&) {
      end = 0;
    }
    if (end == 0 || end != text->size()) throw CliError(name + ": \"" + *text + "\" is not a whole number");
    if (v < min || v > max)
      throw CliError(name + ": " + *text + " is out of range (" + std::to_string(min) + " to " +
                     std::to_string(max) + ")");
    return v;
  }

  // A real-number option ("--bankroll 50").
  std::optional<double> Real(const std::string& name) {
    auto text = Option(name);
    if (!text) return std::nullopt;
    std::size_t end = 0;
    double v = 0;
    try {
      v = std::stod(*text, &end);
    } catch (const std::exception&) {
      end = 0;
    }
    if (end == 0 || end != text->size() || !std::isfinite(v))
      throw CliError(name + ": \"" + *text + "\" is not a number");
    return v;
  }

  // The arguments left once the options are taken; exactly `count` are expected.
  std::vector<std::string> Positional(std::size_t count, const std::string& usage) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < args_.size(); ++i) {
      if (used_[i]) continue;
      if (args_[i].size() > 1 && args_[i][0] == '-' && args_[i][1] == '-')
        throw CliError("unknown option " + args_[i] + "\nusage: " + usage);
      out.push_back(args_[i]);
    }
    if (out.size() != count) throw CliError("usage: " + usage);
    return out;
  }

 private:
  const Args& args_;
  std::vector<bool> used_;
};

// Prints a JSON document on standard output; text that is not UTF-8 is replaced.
template <typename Json>
void PrintJson(const Json& doc) {
  std::string text = doc.dump(-1, ' ', false, Json::error_handler_t::replace);
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
}

// True when args ask for help ("--help" or "-h").
inline bool WantsHelp(const Args& args) {
  for (const auto& a : args)
    if (a == "--help" || a == "-h") return true;
  return false;
}

// The extension of a path, upper-cased ("DAT", "JSON", "TXT").
inline std::string Extension(const std::string& path) {
  auto dot = path.find_last_of('.');
  auto slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return ext;
}

// Reads a shoe file by its extension: .DAT (shoe data file) or .json (shoe list).
inline void ReadShoesFile(ShoesData& shoes, const std::string& path) {
  std::string ext = Extension(path);
  if (ext == "DAT")
    shoes.ReadData(path);
  else if (ext == "JSON")
    shoes.ReadJson(path);
  else
    throw CliError(path + ": unknown shoe file type (expected .DAT or .json)");
}

}  // namespace zavuv::cli
