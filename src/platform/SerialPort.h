// Serial port to the TNC. The real one wraps QSerialPort; tests use a fake
// that is fed bytes by hand.
#pragma once

#include "core/Failure.h"

#include <cstdint>
#include <functional>
#include <string>

namespace qv {

class SerialPort {
public:
    enum class Event { None = 0, Send = 1, Receive = 2, Error = 3 };

    virtual ~SerialPort() = default;

    // "1".."n" (COM number n is /dev/ttyS<n-1>) or a device path such as /dev/ttyUSB0.
    virtual void setPort(const std::string& port) = 0;
    virtual std::string port() const = 0;
    virtual void setSettings(const std::string& settings) = 0; // "9600,N,8,1"
    virtual std::string settings() const = 0;

    // Failure 8002 when the port does not exist, 8005 when it is in use.
    virtual void open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Characters received and not yet read.
    virtual int inBufferCount() const = 0;
    // Reads one character; Failure 62 when nothing is buffered.
    virtual char readChar() = 0;
    // Writes text unchanged.
    virtual void write(const std::string& text) = 0;
    // Kind of the last communication event.
    virtual Event lastEvent() const = 0;

    // Called for every communication event (the receive handler).
    std::function<void()> onEvent;

    // A TNC that sends AX.25 frames (KISS, AGWPE) rather than text: what came
    // in, as passed on (one line per UI frame) and as left out.
    struct FrameCounts {
        std::uint64_t frames = 0, other = 0, broken = 0;
    };
    virtual bool carriesFrames() const { return false; }
    virtual FrameCounts frameCounts() const { return {}; }
    // A network TNC is open while it connects; it takes packets once connected.
    virtual bool connected() const { return isOpen(); }
    // What closed the port at its last Error event ("" for the usual: the device went away).
    virtual std::string lostReason() const { return {}; }
    // The station's callsign, which an AGWPE TNC is told when connecting.
    virtual void setStationCallsign(const std::string& call) { (void)call; }
    // One APRS packet as a UI frame; Failure 8018 unless connected to a TNC that carries frames.
    virtual void sendUi(const std::string& source, const std::string& dest, const std::string& info) {
        (void)source, (void)dest, (void)info;
        throw Failure(8018);
    }
    // Told when connected() or the frame counts change.
    std::function<void()> onStatus;
};

} // namespace qv
