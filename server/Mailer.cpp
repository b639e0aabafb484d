#include "Mailer.h"

#include <sodium.h>
#include <sys/wait.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "HashPool.h"

namespace zavuv::server {

bool ValidEmail(const std::string& a) {
  if (a.size() < 2 || a.size() > 100) return false;
  std::size_t at = a.find('@');
  if (at == std::string::npos || at == 0) return false;
  for (unsigned char c : a)
    if (c <= 32 || c >= 127 || c == '<' || c == '>' || c == ',' || c == ';' || c == '"' || c == '(' ||
        c == ')' || c == '\\' || c == ':')
      return false;
  return true;
}

static std::string Base64(const std::string& text) {
  std::string out(sodium_base64_encoded_len(text.size(), sodium_base64_VARIANT_ORIGINAL), '\0');
  sodium_bin2base64(out.data(), out.size(), reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                    sodium_base64_VARIANT_ORIGINAL);
  out.resize(out.find('\0'));
  return out;
}

std::string ComposeMail(const MailMessage& m, std::int64_t unixTime) {
  std::time_t t = static_cast<std::time_t>(unixTime);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char date[64];
  std::strftime(date, sizeof date, "%a, %d %b %Y %H:%M:%S +0000", &tm);
  std::string host = "localhost";
  if (std::size_t at = m.from.rfind('@'); at != std::string::npos) {
    host = m.from.substr(at + 1);
    if (!host.empty() && host.back() == '>') host.pop_back();
  }
  std::string text;
  text += "Date: " + std::string(date) + "\r\n";
  text += "From: " + m.from + "\r\n";
  text += "To: <" + m.to + ">\r\n";
  text += "Subject: =?UTF-8?B?" + Base64(m.subject) + "?=\r\n";
  text += "Message-ID: <" + std::to_string(unixTime) + "." + RandomText(16, "0123456789abcdef") + "@" + host + ">\r\n";
  text += "MIME-Version: 1.0\r\n";
  text += "Content-Type: text/plain; charset=UTF-8\r\n";
  text += "Content-Transfer-Encoding: 8bit\r\n";
  text += "\r\n";
  for (char c : m.body) {
    if (c == '\n') text += "\r\n";
    else if (c != '\r') text += c;
  }
  if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) text += "\r\n";
  return text;
}

std::string WriteToOutbox(const std::string& folder, const std::string& text) {
  namespace fs = std::filesystem;
  fs::create_directories(folder);
  std::string name = std::to_string(std::time(nullptr)) + "-" + RandomText(12, "0123456789abcdefghijklmnopqrstuvwxyz");
  fs::path tmp = fs::path(folder) / ("." + name + ".tmp");
  fs::path final = fs::path(folder) / (name + ".eml");
  {
    std::ofstream out(tmp, std::ios::binary);
    out << text;
    out.flush();
    if (!out) {
      std::error_code ec;
      fs::remove(tmp, ec);
      throw std::runtime_error("cannot write mail into " + folder);
    }
  }
  fs::rename(tmp, final);
  return final.string();
}

bool PipeToSendmail(const std::string& program, const std::string& text) {
  std::string command = "'";
  for (char c : program) command += c == '\'' ? std::string("'\\''") : std::string(1, c);
  command += "' -t -i";
  FILE* pipe = popen(command.c_str(), "w");
  if (!pipe) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), pipe) == text.size();
  int status = pclose(pipe);
  return ok && status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace zavuv::server
