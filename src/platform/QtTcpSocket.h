// The TCP client port on QTcpSocket. Received bytes are moved into a buffer of
// our own at once, so that they stay readable after the server has gone.
#pragma once

#include "platform/TcpSocket.h"

#include <QTcpSocket>

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
    std::size_t bytesAvailable() const override { return buf_.size() - pos_; }
    char readChar() override;
    void deferDataArrival(int delayMs) override;

    // Qt's description and a number in the usual socket error range.
    static Failure failureFor(QAbstractSocket::SocketError error, const QString& description);

private:
    void takeReceived();

    QTcpSocket sock_;
    std::string host_;
    int port_ = 14580;
    std::string buf_;
    std::size_t pos_ = 0;
    bool closing_ = false;
    bool deferPending_ = false;
    unsigned generation_ = 0; // a close() cancels deferred data events
};

} // namespace qv
