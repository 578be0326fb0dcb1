// A serial port fed by hand: received bytes are queued with feedReceived(),
// written text is collected, and opening can be made to fail.
#pragma once

#include "platform/SerialPort.h"

#include <deque>
#include <string>

namespace qv::test {

class FakeSerialPort final : public SerialPort {
public:
    std::string portName = "1";
    std::string settingsText = "9600,N,8,1";
    bool opened = false;
    int openFailure = 0; // failure number open() throws; 0 = opens
    std::string written;
    Event event = Event::None;
    std::deque<char> buffer;

    // Queues bytes as one receive event; runs the event handler when `fire`.
    void feedReceived(const std::string& bytes, bool fire = true);
    // Raises an event of another kind (send, error) without data.
    void raise(Event e);

    void setPort(const std::string& port) override { portName = port; }
    std::string port() const override { return portName; }
    void setSettings(const std::string& s) override { settingsText = s; }
    std::string settings() const override { return settingsText; }
    void open() override;
    void close() override { opened = false; }
    bool isOpen() const override { return opened; }
    int inBufferCount() const override { return static_cast<int>(buffer.size()); }
    char readChar() override;
    void write(const std::string& text) override { written += text; }
    Event lastEvent() const override { return event; }
};

} // namespace qv::test
