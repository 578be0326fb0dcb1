// TCP client port for the APRS-IS connection. The real one wraps QTcpSocket;
// every event arrives on the user-interface thread.
#pragma once

#include "core/Failure.h"

#include <cstddef>
#include <functional>
#include <string>

namespace qv {

class TcpSocket {
public:
    // The connection states the program knows; only Connected is tested for.
    enum class State { Closed = 0, ResolvingHost = 4, Connecting = 6, Connected = 7, Closing = 8, Error = 9 };

    virtual ~TcpSocket() = default;

    virtual void setRemoteHost(const std::string& host) = 0;
    virtual std::string remoteHost() const = 0;
    virtual void setRemotePort(int port) = 0;
    virtual int remotePort() const = 0;
    // This machine's address, as shown to the user ("127.0.0.1" when unknown).
    virtual std::string localIP() const = 0;
    virtual State state() const = 0;

    // Starts connecting to the remote host and port; the outcome arrives as
    // onConnected or onError.
    virtual void connect() = 0;
    // Drops the connection and every byte not yet read. Raises no event.
    virtual void close() = 0;
    // Failure 40006 unless connected.
    virtual void send(const std::string& text) = 0;

    // Bytes received and not yet read. They stay readable after the server
    // has closed the connection, until close().
    virtual std::size_t bytesAvailable() const = 0;
    // Reads one byte; Failure 40006 when nothing is buffered.
    virtual char readChar() = 0;

    // Raises onDataArrival again after `delayMs` at a later turn of the event
    // loop (never from inside this call), so a handler that takes one line at
    // a time can come back for the rest.
    virtual void deferDataArrival(int delayMs = 0) = 0;

    std::function<void()> onConnected;
    std::function<void()> onDataArrival;
    // The server closed the connection.
    std::function<void()> onClosed;
    // Connecting or the connection failed; the socket is no longer connected.
    std::function<void(const Failure&)> onError;
};

} // namespace qv
