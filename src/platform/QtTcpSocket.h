// The TCP client port on QTcpSocket. Received bytes are taken in small chunks
// as the lines are read, and Qt buffers only a little more: what the server
// sends beyond that waits in the network, where TCP holds the server back,
// so memory stays flat however fast it sends. What is left when the server
// closes is moved into a buffer of our own, so that it stays readable.
#pragma once

#include "platform/TcpSocket.h"

#include <QTcpSocket>
#include <QTimer>

namespace qv {

class QtTcpSocket final : public TcpSocket {
public:
    QtTcpSocket();
    ~QtTcpSocket() override;
    QtTcpSocket(const QtTcpSocket&) = delete;
    QtTcpSocket& operator=(const QtTcpSocket&) = delete;

    void setRemoteHost(const std::string& host) override { host_ = host; }
    std::string remoteHost() const override { return host_; }
    void setRemotePort(int port) override { port_ = port; }
    int remotePort() const override { return port_; }
    std::string localIP() const override;
    State state() const override;

    void connect() override;
    void close() override;
    void send(const std::string& text) override;
    std::size_t bytesAvailable() const override;
    char readChar() override;
    void deferDataArrival(int delayMs) override;

    // Qt's description and a number in the usual socket error range.
    static Failure failureFor(QAbstractSocket::SocketError error, const QString& description);

    // Most bytes Qt keeps received and unread; a chunk taken at a time.
    static constexpr qint64 kReadBuffer = 64 * 1024;
    static constexpr qint64 kChunk = 4096;

private:
    // Moves up to `limit` received bytes into our buffer.
    void takeReceived(qint64 limit);

    QTcpSocket sock_;
    std::string host_;
    int port_ = 14580;
    std::string buf_;
    std::size_t pos_ = 0;
    bool closing_ = false;
    // The deferred data event: a timer of our own rather than a posted call,
    // which would wake the event loop through a write of its own for every
    // line. A close() stops it.
    QTimer defer_;
};

} // namespace qv
