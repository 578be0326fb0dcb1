// The byte stream to a network TNC (KISS over TCP, AGWPE) on QTcpSocket,
// behind the serial-port interface so that one TNC port can run over either.
// Connecting never waits: open() starts it, onStatus tells when it is done,
// and a refused or dropped connection arrives as an Error event with the
// port closed, always from the event loop, never from inside a call.
#pragma once

#include "platform/SerialPort.h"

#include <QTcpSocket>

#include <memory>

namespace qv {

// The byte ports a TNC port runs over in the program: a TCP stream to a
// network TNC, or a serial device (QtSerialPort).
std::unique_ptr<SerialPort> makeTncBytePort(bool tcp);

class QtTcpStreamPort final : public SerialPort {
public:
    QtTcpStreamPort();
    ~QtTcpStreamPort() override;
    QtTcpStreamPort(const QtTcpStreamPort&) = delete;
    QtTcpStreamPort& operator=(const QtTcpStreamPort&) = delete;

    // "HOST:PORT" or "[IPv6]:PORT".
    void setPort(const std::string& port) override { target_ = port; }
    std::string port() const override { return target_; }
    void setSettings(const std::string&) override {}
    std::string settings() const override { return {}; }
    // Failure 8002 for a target that is no HOST:PORT, 8005 while open.
    void open() override;
    void close() override;
    bool isOpen() const override;
    bool connected() const override;
    int inBufferCount() const override;
    char readChar() override;
    void write(const std::string& bytes) override;
    Event lastEvent() const override { return last_; }
    std::string lostReason() const override { return reason_; }

    // Most bytes Qt holds received and unread; beyond that TCP holds the TNC back.
    static constexpr qint64 kReadBuffer = 64 * 1024;

private:
    void lost(const std::string& reason);

    QTcpSocket sock_;
    std::string target_;
    Event last_ = Event::None;
    std::string reason_;
    bool closing_ = false;
    unsigned generation_ = 0; // close() and open() cancel a loss still on its way
};

} // namespace qv
