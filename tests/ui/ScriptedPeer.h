// Loopback peers for the connection tests: a scripted server that answers each line
// it receives through a callback, a tiny SOCKS 4 proxy that checks the request and
// relays both ways, and a proxy that accepts and stays silent. Both listen on 127.0.0.1 with a port the system picks and live in
// the test's own event loop.
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <functional>
#include <string>
#include <vector>

namespace zavuv::testkit {

class ScriptedPeer : public QObject {
 public:
  // Called with each received line (without CR LF); answers through Send.
  std::function<void(const std::string& line)> onLine;

  ScriptedPeer() {
    server_.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&server_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* s = server_.nextPendingConnection()) {
        client_ = s;
        ++connections;
        QObject::connect(s, &QTcpSocket::readyRead, this, [this, s] {
          buffer_ += s->readAll();
          int lf;
          while ((lf = buffer_.indexOf('\n')) >= 0) {
            std::string line = buffer_.left(lf).toStdString();
            buffer_.remove(0, lf + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            received.push_back(line);
            if (onLine) onLine(line);
          }
        });
      }
    });
  }
  quint16 Port() const { return server_.serverPort(); }
  // Sends raw bytes; Say adds CR LF.
  void Send(const QByteArray& bytes) {
    if (client_) {
      client_->write(bytes);
      client_->flush();
    }
  }
  void Say(const std::string& line) { Send(QByteArray::fromStdString(line + "\r\n")); }
  void Drop() {
    if (client_) client_->disconnectFromHost();
  }
  // Bytes written by Send that the client has not taken off the connection yet.
  qint64 Unsent() const { return client_ ? client_->bytesToWrite() : 0; }

  std::vector<std::string> received;
  int connections = 0;

 private:
  QTcpServer server_;
  QTcpSocket* client_ = nullptr;
  QByteArray buffer_;
};

// A proxy that takes every connection and never says a word.
class SilentProxy : public QObject {
 public:
  SilentProxy() {
    server_.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&server_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* s = server_.nextPendingConnection()) held_.push_back(s);
    });
  }
  quint16 Port() const { return server_.serverPort(); }
  int Connections() const { return static_cast<int>(held_.size()); }
  void DropAll() {
    for (QTcpSocket* s : held_) s->abort();
  }

 private:
  QTcpServer server_;
  std::vector<QTcpSocket*> held_;
};

class Socks4Proxy : public QObject {
 public:
  bool grant = true;
  QByteArray lastRequest;

  Socks4Proxy() {
    server_.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&server_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* in = server_.nextPendingConnection()) Serve(in);
    });
  }
  quint16 Port() const { return server_.serverPort(); }

 private:
  void Serve(QTcpSocket* in) {
    auto* buffer = new QByteArray;
    QObject::connect(in, &QObject::destroyed, [buffer] { delete buffer; });
    QObject::connect(in, &QTcpSocket::readyRead, this, [this, in, buffer] {
      if (in->property("relaying").toBool()) return;
      *buffer += in->readAll();
      int nul = buffer->indexOf('\0', 8);
      if (buffer->size() < 9 || nul < 0) return;
      lastRequest = buffer->left(nul + 1);
      QByteArray rest = buffer->mid(nul + 1);
      const auto* b = reinterpret_cast<const unsigned char*>(lastRequest.constData());
      bool ok = grant && b[0] == 4 && b[1] == 1;
      if (!ok) {
        in->write(QByteArray("\x00\x5B\x00\x00\x00\x00\x00\x00", 8));
        in->disconnectFromHost();
        return;
      }
      quint16 port = static_cast<quint16>(b[2] << 8 | b[3]);
      QHostAddress to(static_cast<quint32>(b[4] << 24 | b[5] << 16 | b[6] << 8 | b[7]));
      auto* out = new QTcpSocket(in);
      in->setProperty("relaying", true);
      QObject::connect(out, &QTcpSocket::connected, in, [in, out, rest] {
        in->write(QByteArray("\x00\x5A\x00\x00\x00\x00\x00\x00", 8));
        if (!rest.isEmpty()) out->write(rest);
        QObject::connect(in, &QTcpSocket::readyRead, out, [in, out] { out->write(in->readAll()); });
        QObject::connect(out, &QTcpSocket::readyRead, in, [in, out] { in->write(out->readAll()); });
        QObject::connect(out, &QTcpSocket::disconnected, in, [in] { in->disconnectFromHost(); });
        QObject::connect(in, &QTcpSocket::disconnected, out, [out] { out->disconnectFromHost(); });
        if (in->bytesAvailable()) out->write(in->readAll());
      });
      out->connectToHost(to, port);
    });
  }

  QTcpServer server_;
};

}  // namespace zavuv::testkit
