// What a TNC speaking KISS or AGWPE sends and takes, without the I/O:
// received bytes become monitor lines, one per AX.25 UI frame, and every
// other or broken frame is counted; packets to send become the bytes of
// that protocol.
#pragma once

#include "links/Agw.h"
#include "links/Ax25.h"
#include "links/Kiss.h"
#include "links/TncSpec.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qv {

class FrameLink {
public:
    struct Counts {
        std::uint64_t frames = 0; // UI frames, each passed on as a line
        std::uint64_t other = 0;  // frames of other kinds, and KISS commands other than data
        std::uint64_t broken = 0; // bytes that made no frame
        bool operator==(const Counts&) const = default;
    };

    // Kiss and KissTcp speak KISS, Agw speaks AGWPE.
    explicit FrameLink(TncKind kind) : agw_(kind == TncKind::Agw) {}

    // Appends the monitor line of every UI frame the bytes complete.
    void receive(std::string_view bytes, std::vector<std::string>& lines);
    // An AGWPE stream that announced an impossible length cannot be read on;
    // the connection has to start afresh.
    bool outOfStep() const { return agw_ && agwReader_.outOfStep(); }
    // A new connection: a frame in progress is forgotten, the counts stay.
    void reset();
    const Counts& counts() const { return counts_; }

    // What to send once connected: nothing for KISS; for AGWPE, the station's
    // callsign to register (left out when it is no callsign) and a version
    // request. Raw monitoring of every radio port is asked for when the
    // version arrives (see requests()): a request sent at once can be undone
    // by a TNC still setting the new connection up, and it is a toggle.
    std::string hello(std::string_view callsign) const;
    // The TNC reads what this connection sends: for AGWPE, once the version
    // has been answered (a TNC may take a while to serve a new client, and
    // frames it hears meanwhile are not passed on); for KISS, always.
    bool answered() const { return !agw_ || monitoring_; }
    // Requests that received bytes call for, to be sent now; taken once.
    std::string requests() { return std::exchange(requests_, {}); }
    // One UI frame from `source` to `dest` on radio port 0.
    std::string uiFrame(const ax25::Address& source, const ax25::Address& dest, std::string_view info) const;

private:
    void frame(std::string_view ax25, std::vector<std::string>& lines);

    bool agw_;
    kiss::Deframer deframer_;
    agw::Reader agwReader_;
    Counts counts_;
    bool monitoring_ = false; // raw monitoring asked for on this connection
    std::string requests_;
    std::vector<kiss::Frame> kissFrames_;
    std::vector<agw::Message> agwMessages_;
};

} // namespace qv
