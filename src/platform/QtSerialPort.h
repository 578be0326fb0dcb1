// The serial port to the TNC on QSerialPort. Received characters are announced
// through onEvent from Qt's event loop; characters the receive handler left in
// the port (while the receive-pause mark held it back, or while a line was
// being classified) are announced again shortly, since Qt signals only new data.
// No Qt header here: Qt's "slots" keyword would clash with the station state.
#pragma once

#include "platform/SerialPort.h"

#include <memory>

namespace qv {

class QtSerialPort final : public SerialPort {
public:
    QtSerialPort();
    ~QtSerialPort() override;
    QtSerialPort(const QtSerialPort&) = delete;
    QtSerialPort& operator=(const QtSerialPort&) = delete;

    void setPort(const std::string& port) override;
    std::string port() const override;
    void setSettings(const std::string& settings) override;
    std::string settings() const override;
    void open() override;
    void close() override;
    bool isOpen() const override;
    int inBufferCount() const override;
    char readChar() override;
    void write(const std::string& text) override;
    Event lastEvent() const override;

    // How soon characters left in the port are announced again.
    static constexpr int kRetryMs = 20;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

} // namespace qv
