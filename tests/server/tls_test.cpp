// The TLS port: the same lines inside TLS, with a certificate made here for the test
// (never kept), beside the plain port, which stays as it is.
#include <gtest/gtest.h>
#include <openssl/err.h>
#include <openssl/ssl.h>

#include "ServerHarness.h"

using namespace zavuv::testing;

namespace {

// A self-signed certificate for localhost and 127.0.0.1 and its key, made by openssl.
bool MakeCertificate(const fs::path& dir) {
  std::string command = "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 1 -subj "
                        "/CN=localhost -addext subjectAltName=DNS:localhost,IP:127.0.0.1 -keyout " +
                        (dir / "key.pem").string() + " -out " + (dir / "cert.pem").string() + " 2>/dev/null";
  return std::system(command.c_str()) == 0;
}

// A blocking loopback client that speaks TLS and checks the server's certificate
// against the one given.
class TlsClient {
 public:
  TlsClient(int port, const fs::path& trusted) : plain_(port) {
    ctx_ = SSL_CTX_new(TLS_client_method());
    SSL_CTX_load_verify_locations(ctx_, trusted.c_str(), nullptr);
    SSL_CTX_set_verify(ctx_, SSL_VERIFY_PEER, nullptr);
    ssl_ = SSL_new(ctx_);
    SSL_set1_host(ssl_, "localhost");
    SSL_set_fd(ssl_, plain_.Fd());
    ok_ = SSL_connect(ssl_) == 1;
    int flags = fcntl(plain_.Fd(), F_GETFL);
    fcntl(plain_.Fd(), F_SETFL, flags | O_NONBLOCK);
  }
  ~TlsClient() {
    SSL_free(ssl_);
    SSL_CTX_free(ctx_);
  }
  bool Secured() const { return ok_; }
  std::string Version() const { return SSL_get_version(ssl_); }

  void Send(const std::string& line) {
    std::string bytes = line + "\r\n";
    for (std::size_t done = 0; done < bytes.size();) {
      int n = SSL_write(ssl_, bytes.data() + done, static_cast<int>(bytes.size() - done));
      if (n > 0) {
        done += static_cast<std::size_t>(n);
        continue;
      }
      int e = SSL_get_error(ssl_, n);
      if (e != SSL_ERROR_WANT_READ && e != SSL_ERROR_WANT_WRITE) throw std::runtime_error("SSL_write");
      pollfd p{plain_.Fd(), static_cast<short>(e == SSL_ERROR_WANT_READ ? POLLIN : POLLOUT), 0};
      poll(&p, 1, 1000);
    }
  }
  std::optional<std::string> Read(int ms = 3000) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    std::string line;
    while (!framer_.Next(line)) {
      if (closed_) return std::nullopt;
      char buf[8192];
      int n = SSL_read(ssl_, buf, sizeof buf);
      if (n > 0) {
        framer_.Feed(std::string_view(buf, static_cast<std::size_t>(n)));
        continue;
      }
      int e = SSL_get_error(ssl_, n);
      if (e != SSL_ERROR_WANT_READ && e != SSL_ERROR_WANT_WRITE) {
        closed_ = true;
        continue;
      }
      int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                      deadline - std::chrono::steady_clock::now()).count());
      if (left <= 0) return std::nullopt;
      pollfd p{plain_.Fd(), POLLIN, 0};
      poll(&p, 1, left);
    }
    return line;
  }
  std::optional<std::string> WaitForPrefix(const std::string& prefix, int ms = 5000) {
    return ReadUntil([this](int left) { return Read(left); },
                     [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }, ms);
  }

 private:
  Client plain_;
  SSL_CTX* ctx_ = nullptr;
  SSL* ssl_ = nullptr;
  bool ok_ = false, closed_ = false;
  zavuv::net::LineFramer framer_;
};

TEST(ServerTls, TheTlsPortSpeaksTheSameLinesAndThePlainPortStaysAsItIs) {
  TempDir dir;
  ASSERT_TRUE(MakeCertificate(dir.Path()));
  // The harness reads the plain port from the first line; the TLS port is on the second.
  std::ofstream(dir.Path() / "server.conf") << "tls_cert = " << (dir.Path() / "cert.pem").string() << "\n"
                                            << "tls_key = " << (dir.Path() / "key.pem").string() << "\n";
  ServerProcess server(dir.Path(), {"--config", (dir.Path() / "server.conf").string(), "--tls-port", "0"});
  std::smatch m;
  std::string log = server.Log();
  ASSERT_TRUE(std::regex_search(log, m, std::regex("event=listen host=127.0.0.1 port=(\\d+) tls=on"))) << log;
  const int tlsPort = std::stoi(m[1]);
  ASSERT_NE(tlsPort, server.Port());

  Credentials cr = SignUp(server.Port(), dir.Path() / "outbox", "tls@example.org");
  {
    Client plain(server.Port());
    ASSERT_EQ(Login(plain, cr, "加密"), "SETNICKNAMEOK");
  }
  // Login, chat and a room line over TLS, as on the plain port.
  TlsClient c(tlsPort, dir.Path() / "cert.pem");
  ASSERT_TRUE(c.Secured());
  c.Send("VERSION:1.11");
  EXPECT_EQ(c.Read().value_or(""), "VERSIONOK:");
  c.Send("LOGIN:" + Pad(cr.account, 10) + cr.password);
  EXPECT_EQ(c.Read(5000).value_or(""), "LOGINOK");
  EXPECT_EQ(c.Read(5000).value_or(""), "UTF8NICKNAME:加密");
  c.Send("PUBLICMSG:" + zavuv::Utf8ToBig5("密語"));
  c.Send("UTF8PUBLICMSG:密語");
  EXPECT_EQ(c.WaitForPrefix("UTF8PUBLICMSG:").value_or(""), "UTF8PUBLICMSG:加密: 密語");
  EXPECT_TRUE(c.WaitForPrefix("BATTLE3:GAMESTATUS:GAMESTARTED", 15000).has_value());

  // Plain text on the TLS port is no TLS: that connection goes, the others stay.
  Client confused(tlsPort);
  confused.Send("VERSION:1.11");
  EXPECT_TRUE(confused.ClosedWithin(3000));
  c.Send("GETONLINELIST:");
  EXPECT_EQ(c.WaitForPrefix("UTF8GETONLINELISTOK:").value_or(""), "UTF8GETONLINELISTOK:加密");
  log = server.Log();
  EXPECT_NE(log.find("event=tls id="), std::string::npos);
  EXPECT_NE(log.find("reason=\"tls handshake failed\""), std::string::npos);
  EXPECT_EQ(server.Stop(), 0);
}

TEST(ServerTls, ACertificateOrKeyThatCannotBeUsedStopsTheStartNamingTheFile) {
  TempDir dir;
  ASSERT_TRUE(MakeCertificate(dir.Path()));
  std::string cert = (dir.Path() / "cert.pem").string(), key = (dir.Path() / "key.pem").string();
  std::string out = (dir.Path() / "out.txt").string();
  auto start = [&](const std::string& args) {
    std::string command = std::string(ZAVUV_SERVER) + " --port 0 --host 127.0.0.1 --db " +
                          (dir.Path() / "s.db").string() + " --tls-port 0 " + args + " >" + out + " 2>&1";
    int status = std::system(command.c_str());
    std::ifstream in(out);
    return std::make_pair(WEXITSTATUS(status), std::string(std::istreambuf_iterator<char>(in), {}));
  };
  auto [status, text] = start("--tls-cert " + cert);
  EXPECT_EQ(status, 1);
  EXPECT_NE(text.find("--tls-key"), std::string::npos) << text;
  std::tie(status, text) = start("--tls-cert " + key + " --tls-key " + key);
  EXPECT_EQ(status, 1);
  EXPECT_NE(text.find("certificate " + key), std::string::npos) << text;
}

}  // namespace
