// zavuv-server: one event loop (standalone Asio) serving the line protocol to every
// connection, the six live rooms on timers, and the store. Slow work (password
// hashing, piping mail) runs on a bounded worker pool and comes back to the loop.
//
// Output: every line is framed once into a shared, immutable buffer; a line meant
// for many users is one buffer referenced from each connection's queue. A connection
// whose queue passes the pause mark is not read until it drains; past the disconnect
// mark, or without write progress for the stall time, it is dropped and counted.
#pragma once

#include <asio.hpp>
#include <asio/ssl.hpp>

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <unordered_map>
#include <vector>

#include "Config.h"
#include "Database.h"
#include "HashPool.h"
#include "Mailer.h"
#include "Room.h"

namespace zavuv::server {

using Clock = std::chrono::steady_clock;
using Buffer = std::shared_ptr<const std::string>;

struct ServerStats {
  std::uint64_t accepted = 0, refusedConnections = 0, logins = 0, loginFailures = 0;
  std::uint64_t linesIn = 0, linesOut = 0, bytesOut = 0, overlongLines = 0;
  std::uint64_t slowDisconnects = 0, idleDisconnects = 0;
  std::uint64_t chatMessages = 0, chatRefused = 0, games = 0;
  std::uint64_t storeErrors = 0;   // changes refused because the database could not take them
  std::uint64_t lineErrors = 0;    // lines whose handling failed unexpectedly (answered, logged)
  std::size_t peakConnections = 0;
  double settleWriteSlowestMs = 0;
};

// A token bucket: `burst` tokens, refilled at `rate` per second.
struct TokenBucket {
  double tokens = 0, rate = 1, burst = 1;
  Clock::time_point last{};
  TokenBucket() = default;
  TokenBucket(double r, double b) : tokens(b), rate(r), burst(b) {}
  bool Take(Clock::time_point now, double n = 1);
  bool Full(Clock::time_point now);
};

class Server : public RoomHost {
 public:
  // `pool`: worker threads shared with other servers of the process (tests and the
  // fuzzing harness make one server after another); by default the server has its own.
  Server(asio::io_context& io, Config config, std::ostream& log, std::shared_ptr<HashPool> pool = nullptr);
  ~Server() override;

  // Opens the database and makes the rooms, without listening or starting anything.
  void Open();
  // Opens (as Open) and binds the listening socket; answers the port bound. An
  // error names the address, and for a port below 1024 says that it needs root.
  // With a TLS port set, that one is bound too, with its certificate and key loaded
  // (an error names the file).
  std::uint16_t Listen();
  // The TLS port bound by Listen, or 0 when there is none.
  std::uint16_t TlsPort() const { return tlsPort_; }
  // Starts accepting, the rooms and the housekeeping timer.
  void Start();
  // Stops accepting, finishes the writes under way and closes every connection; the
  // event loop then runs out and returns.
  void Shutdown();

  // One logfmt line on the log: ts, event, then the fields.
  void Log(std::string_view event, std::initializer_list<std::pair<std::string_view, std::string>> fields);

  const ServerStats& Stats() const { return stats_; }
  std::size_t OnlineCount() const { return online_.size(); }

  // Connections without a socket, for tests and the fuzzing harness, on a server that
  // was opened but need not listen. A local connection is admitted like an accepted
  // one (the same limits per address); the bytes given to ReceiveLocal go through the
  // same framer and line handling as bytes read from a socket, and every line the
  // server writes to it is handed, framed, to `write` instead of a socket. Answers the
  // connection's id, or 0 when it was refused.
  std::uint64_t ConnectLocal(const std::string& address, std::function<void(std::string_view)> write);
  void ReceiveLocal(std::uint64_t id, std::string_view bytes);
  // The peer hangs up, as at the end of a socket's input.
  void DisconnectLocal(std::uint64_t id);
  // A job of the worker pool (hashing, mail) is under way for the connection.
  bool Busy(std::uint64_t id) const;
  // One step of a room, as its timer does it; answers the delay to the next step.
  int StepRoom(std::size_t index);
  std::size_t RoomCount() const { return rooms_.size(); }

  // RoomHost.
  void RoomBroadcast(const DualLine& line) override;
  void RoomSend(const std::string& account, const DualLine& line) override;
  void RoomSettled(Room& room, char result, const std::vector<BetOutcome>& outcomes) override;
  void RoomShoeEnded(Room& room, const std::string& result, const std::set<std::string>& players) override;

 private:
  struct Connection;
  using ConnectionPtr = std::shared_ptr<Connection>;

  void Accept(asio::ip::tcp::acceptor& acceptor, bool tls);
  void OnAccept(asio::ip::tcp::socket socket, bool tls);
  std::uint16_t Bind(asio::ip::tcp::acceptor& acceptor, const asio::ip::address& address, std::uint16_t port);
  // A connection made and counted, or null when a connection limit refuses it.
  ConnectionPtr Admit(asio::ip::tcp::socket socket, const std::string& address);
  void StartRead(const ConnectionPtr& c);
  // Bytes that arrived: framed into lines and handled.
  void OnInput(const ConnectionPtr& c, std::string_view bytes);
  void StartWrite(const ConnectionPtr& c);
  void FlushQueued();
  void Enqueue(Connection& c, const Buffer& line);
  void Send(Connection& c, std::string_view text);
  void SendDual(Connection& c, const DualLine& line);
  // A text message in the connection's form: COMMAND:big5 or UTF8COMMAND:utf8.
  void SendText(Connection& c, const char* command, const std::string& utf8);
  void Broadcast(const DualLine& line);
  void Close(Connection& c, const std::string& reason);
  void CloseAfterFlush(Connection& c, const std::string& reason);

  void HandleLine(const ConnectionPtr& c, const std::string& line);
  void OnVersion(Connection& c, const std::string& args);
  void OnLogin(const ConnectionPtr& c, const std::string& args);
  void OnLoginVerified(const ConnectionPtr& c, const std::string& account, bool ok);
  void OnSetNickname(const ConnectionPtr& c, const std::string& args);
  void CompleteLogin(const ConnectionPtr& c, const Account& account, bool sendLoginOk);
  void OnSignUp(const ConnectionPtr& c, const std::string& args);
  void OnChangeInfo(const ConnectionPtr& c, const std::string& args);
  void OnChat(const ConnectionPtr& c, bool utf8, const std::string& args);
  void FlushPendingChat(Connection& c);
  void DeliverChat(Connection& c, std::string utf8Text);
  void OnOnlineList(Connection& c);
  void OnBoard(Connection& c, const std::string& command, const std::string& args);
  void OnPrivateList(Connection& c, const std::string& kind);
  void OnPrivateItem(Connection& c, const std::string& kind, const std::string& args);
  void OnArticleList(Connection& c);
  void OnArticle(Connection& c, const std::string& args);
  void OnShareArticle(Connection& c, const std::string& args);
  void OnRoomLine(Connection& c, Room& room, const std::string& args);
  bool AllowRequest(Connection& c);

  void SendLevel(Connection& c);
  void SendScore(Connection& c, const std::string& roomName);
  MailResult Mail(const std::string& to, const std::string& account, const std::string& password, bool again) const;
  void ScheduleRoom(std::size_t index, int delayMs);
  void Housekeeping();
  void WaitForSignal();
  void ReloadTexts();
  void SendRollingText(Connection& c);
  void CheckSeason();
  std::int64_t Now() const;

  asio::io_context& io_;
  Config config_;
  std::ostream& log_;
  std::unique_ptr<Database> db_;
  asio::ip::tcp::acceptor acceptor_;
  asio::ip::tcp::acceptor tlsAcceptor_;
  std::unique_ptr<asio::ssl::context> tlsContext_;
  std::uint16_t tlsPort_ = 0;
  asio::steady_timer housekeeping_;
  asio::signal_set signals_;
  std::vector<std::unique_ptr<Room>> rooms_;
  std::vector<std::unique_ptr<asio::steady_timer>> roomTimers_;
  std::unique_ptr<asio::steady_timer> shutdownTimer_;

  std::unordered_map<std::uint64_t, ConnectionPtr> connections_;
  std::vector<Connection*> online_;
  std::unordered_map<std::string, Connection*> byAccount_;
  std::unordered_map<std::string, int> perAddress_;
  std::vector<std::weak_ptr<Connection>> pendingChats_;
  std::vector<ConnectionPtr> toFlush_, flushing_;   // connections with lines to write
  std::set<std::string> signupsUnderWay_;   // upper-cased addresses being mailed
  std::unordered_map<std::string, TokenBucket> loginByAddress_, loginByAccount_, signupByAddress_;
  TokenBucket globalChat_;
  Buffer onlineListUtf8_, onlineListBig5_;

  Season season_;
  std::string dummyHash_;
  ServerStats stats_;
  std::uint64_t nextId_ = 1;
  unsigned ticks_ = 0;
  bool stopping_ = false;
  std::shared_ptr<HashPool> pool_;
  bool ownPool_ = true;
};

}  // namespace zavuv::server
