// One TNC port over a serial device or TCP, text or frames.
#include "links/TncPort.h"

#include "core/Failure.h"
#include "platform/SerialSettings.h"
#include "platform/Timer.h"

namespace qv {

namespace {
// Bytes taken from the device in one read.
constexpr std::size_t kChunk = 4096;
} // namespace

TncPort::TncPort(Maker make, Timer& later) : make_(std::move(make)), later_(later) {
    later_.setEnabled(false);
    later_.onTimeout = [this] {
        later_.setEnabled(false);
        deliver();
    };
}

TncPort::~TncPort() {
    onEvent = nullptr;
    onStatus = nullptr;
    later_.onTimeout = nullptr;
    later_.setEnabled(false);
    if (raw_) {
        raw_->onEvent = nullptr;
        raw_->onStatus = nullptr;
        raw_->close();
    }
}

void TncPort::setPort(const std::string& spec) {
    if (isOpen()) throw Failure(err::PortInUse);
    spec_ = spec;
}

void TncPort::setSettings(const std::string& settings) {
    parseSerialSettings(settings);
    settings_ = settings;
    if (raw_ && !rawTcp_) raw_->setSettings(settings);
}

void TncPort::open() {
    if (isOpen()) throw Failure(err::PortInUse);
    const TncSpec spec = parseTncSpec(spec_);
    if (spec.kind == TncKind::None)
        throw Failure(err::NoSuchPort, spec.error.empty() ? Failure::describe(err::NoSuchPort)
                                                          : "No TNC in " + spec_ + ": " + spec.error);
    const bool tcp = overTcp(spec.kind);
    if (!raw_ || rawTcp_ != tcp) {
        if (raw_) {
            raw_->onEvent = nullptr;
            raw_->onStatus = nullptr;
        }
        raw_ = make_(tcp);
        rawTcp_ = tcp;
        raw_->onEvent = [this] { onRawEvent(); };
        raw_->onStatus = [this] { onRawStatus(); };
    }
    if (tcp) {
        raw_->setPort(spec.host.find(':') != std::string::npos ? "[" + spec.host + "]:" + std::to_string(spec.port)
                                                               : spec.host + ":" + std::to_string(spec.port));
    } else {
        raw_->setPort(spec.device);
        raw_->setSettings(settings_);
    }
    // The counts go on across reconnects of the same TNC.
    if (!qv::carriesFrames(spec.kind)) {
        frames_.reset();
    } else if (!frames_ || openSpec_ != spec_) {
        frames_.emplace(spec.kind);
    } else {
        frames_->reset();
    }
    openSpec_ = spec_;
    lines_.clear();
    pos_ = 0;
    lostPending_ = helloSent_ = false;
    lostReason_.clear();
    last_ = Event::None;
    raw_->open();
    onRawStatus();
}

void TncPort::close() {
    later_.setEnabled(false);
    lines_.clear();
    pos_ = 0;
    lostPending_ = helloSent_ = false;
    if (raw_ && raw_->isOpen()) raw_->close();
    status();
}

bool TncPort::isOpen() const { return raw_ && raw_->isOpen(); }

bool TncPort::connected() const { return raw_ && raw_->connected() && (!frames_ || frames_->answered()); }

SerialPort::FrameCounts TncPort::frameCounts() const {
    if (!frames_) return {};
    const auto& c = frames_->counts();
    return {c.frames, c.other, c.broken};
}

int TncPort::inBufferCount() const {
    if (!frames_) return raw_ ? raw_->inBufferCount() : 0;
    if (lineEnded_ || lines_.empty()) return 0;
    return static_cast<int>(lines_.front().size() - pos_);
}

char TncPort::readChar() {
    if (!frames_) {
        if (!raw_) throw Failure(err::InputPastEnd);
        return raw_->readChar();
    }
    if (inBufferCount() == 0) throw Failure(err::InputPastEnd);
    const char c = lines_.front()[pos_++];
    if (pos_ == lines_.front().size()) {
        // One line per event: the next one comes with the next event, so that
        // two frames never reach the classifier as one line.
        lines_.pop_front();
        pos_ = 0;
        lineEnded_ = true;
        ++linesRead_;
    }
    return c;
}

void TncPort::write(const std::string& text) {
    if (!raw_ || !raw_->isOpen()) throw Failure(8018);
    if (frames_) throw Failure(err::InvalidCall, "A TNC in KISS or AGWPE mode takes packets, not typed text");
    raw_->write(text);
}

SerialPort::Event TncPort::lastEvent() const {
    if (frames_ || lostPending_) return last_;
    return raw_ ? raw_->lastEvent() : Event::None;
}

void TncPort::sendUi(const std::string& source, const std::string& dest, const std::string& info) {
    if (!frames_ || !connected()) throw Failure(8018);
    const auto from = ax25::parseAddress(source);
    const auto to = ax25::parseAddress(dest);
    if (!from) throw Failure(380, "Invalid property value: \"" + source + "\" is no AX.25 callsign");
    if (!to) throw Failure(380, "Invalid property value: \"" + dest + "\" is no AX.25 callsign");
    raw_->write(frames_->uiFrame(*from, *to, info));
}

void TncPort::status() {
    if (onStatus) onStatus();
}

void TncPort::onRawStatus() {
    if (frames_ && !helloSent_ && raw_ && raw_->connected()) {
        helloSent_ = true;
        const std::string hello = frames_->hello(callsign_);
        if (!hello.empty()) {
            try {
                raw_->write(hello);
            } catch (const Failure& f) {
                lose("the TNC took no request: " + f.description());
                return;
            }
        }
    }
    status();
}

void TncPort::onRawEvent() {
    if (!raw_) return;
    if (raw_->lastEvent() == Event::Error && !raw_->isOpen()) {
        lose(raw_->lostReason());
        return;
    }
    if (!frames_) {
        // A text-mode TNC: its characters are read straight from the device.
        if (onEvent) onEvent();
        return;
    }
    if (raw_->lastEvent() == Event::Receive) deliver();
}

void TncPort::lose(const std::string& reason) {
    if (raw_ && raw_->isOpen()) raw_->close();
    lostReason_ = reason;
    lostPending_ = true;
    helloSent_ = false;
    if (frames_) frames_->reset();
    status();
    deliver();
}

void TncPort::take() {
    if (!frames_ || !raw_ || !raw_->isOpen()) return;
    const FrameLink::Counts before = frames_->counts();
    const bool answeredBefore = frames_->answered();
    std::string bytes;
    std::vector<std::string> got;
    while (lines_.size() < kMaxQueued && raw_->inBufferCount() > 0) {
        bytes.clear();
        while (bytes.size() < kChunk && raw_->inBufferCount() > 0)
            bytes.push_back(raw_->readChar());
        got.clear();
        frames_->receive(bytes, got);
        for (auto& l : got)
            lines_.push_back(std::move(l) + '\r');
        if (const std::string requests = frames_->requests(); !requests.empty()) {
            try {
                raw_->write(requests);
            } catch (const Failure& f) {
                lose("the TNC took no request: " + f.description());
                return;
            }
        }
        if (frames_->outOfStep()) {
            lose("the AGWPE stream is out of step");
            return;
        }
    }
    if (!(frames_->counts() == before) || frames_->answered() != answeredBefore) status();
}

void TncPort::deliver() {
    if (delivering_) return; // the running handler comes back here when done
    for (int turn = 0;; ++turn) {
        if (frames_ && lines_.empty()) take();
        const bool line = frames_ && !lines_.empty();
        if (!line && !lostPending_) return;
        if (!onEvent) return;
        if (turn == kLinesPerTurn) {
            later(0);
            return;
        }
        const std::uint64_t readBefore = linesRead_;
        lineEnded_ = false;
        last_ = line ? Event::Receive : Event::Error;
        delivering_ = true;
        try {
            onEvent();
        } catch (...) {
        }
        delivering_ = false;
        // Nothing taken: the receive path is held; offer it again shortly.
        if (line ? linesRead_ == readBefore : lostPending_) {
            later(kRetryMs);
            return;
        }
    }
}

void TncPort::later(int ms) {
    later_.setInterval(ms);
    later_.setEnabled(true);
}

} // namespace qv
