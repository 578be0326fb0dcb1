// The TNC port the program opens, whatever the TNC setting names: a text-mode
// TNC on a serial device, KISS over a serial device, KISS over TCP or AGWPE.
// Underneath is a plain byte port (a serial device or a TCP stream, made on
// demand); for KISS and AGWPE every UI frame received is offered to the
// receive handler as one line of text ending in CR, one line per
// communication event, exactly as a text-mode TNC prints it.
#pragma once

#include "links/FrameLink.h"
#include "links/TncSpec.h"
#include "platform/SerialPort.h"

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace qv {

class Timer;

class TncPort final : public SerialPort {
public:
    // Makes the byte port a link runs over: a TCP stream when `tcp`, else a
    // serial device. Both take their target through setPort().
    using Maker = std::function<std::unique_ptr<SerialPort>(bool tcp)>;

    // `later` brings back lines and a loss the receive handler could not take
    // at once (the receive-pause mark held it back), and spreads a burst of
    // frames over turns of the event loop.
    TncPort(Maker make, Timer& later);
    ~TncPort() override;
    TncPort(const TncPort&) = delete;
    TncPort& operator=(const TncPort&) = delete;

    // A TNC setting text (see TncSpec); Failure 8005 while open.
    void setPort(const std::string& spec) override;
    std::string port() const override { return spec_; }
    // Checked at once (Failure 380); a serial device takes it, a TCP TNC has no speed.
    void setSettings(const std::string& settings) override;
    std::string settings() const override { return settings_; }

    // Failure 8002 when the setting names no TNC or the device does not
    // exist, 8005 when it is in use. A TCP TNC counts as open from here on
    // while it connects; a refused connection arrives as a loss. An AGWPE
    // TNC counts as connected once it has answered the version request.
    void open() override;
    void close() override;
    bool isOpen() const override;
    int inBufferCount() const override;
    char readChar() override;
    // Text for a text-mode TNC; a KISS or AGWPE TNC takes packets only (Failure 5).
    void write(const std::string& text) override;
    Event lastEvent() const override;

    bool carriesFrames() const override { return frames_.has_value(); }
    FrameCounts frameCounts() const override;
    bool connected() const override;
    std::string lostReason() const override { return lostReason_; }
    void setStationCallsign(const std::string& call) override { callsign_ = call; }
    void sendUi(const std::string& source, const std::string& dest, const std::string& info) override;

    // Frames decoded and waiting for the receive handler, at most; beyond
    // that the bytes stay in the device or the network.
    static constexpr std::size_t kMaxQueued = 256;
    // Lines handed over in one turn of the event loop.
    static constexpr int kLinesPerTurn = 8;
    // How soon lines or a loss held back are offered again.
    static constexpr int kRetryMs = 20;

private:
    void onRawEvent();
    void onRawStatus();
    void take();
    void deliver();
    void later(int ms);
    void lose(const std::string& reason);
    void status();

    Maker make_;
    Timer& later_;
    std::string spec_ = "1";
    std::string settings_ = "9600,n,8,1";
    std::string callsign_;
    std::string openSpec_; // the setting the frame counts belong to

    std::unique_ptr<SerialPort> raw_;
    bool rawTcp_ = false;
    std::optional<FrameLink> frames_; // a KISS or AGWPE link

    std::deque<std::string> lines_; // each ends in CR
    std::size_t pos_ = 0;           // read position in the first line
    std::uint64_t linesRead_ = 0;
    bool lineEnded_ = false; // this event's line is read through
    Event last_ = Event::None;
    bool delivering_ = false;
    bool lostPending_ = false; // a loss the receive handler has not acted on
    bool helloSent_ = false;
    std::string lostReason_;
};

} // namespace qv
