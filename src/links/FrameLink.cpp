// KISS and AGWPE frames to monitor lines and back.
#include "links/FrameLink.h"

namespace qv {

void FrameLink::frame(std::string_view ax25, std::vector<std::string>& lines) {
    const ax25::Decoded d = ax25::decode(ax25);
    switch (d.kind) {
    case ax25::Kind::Ui:
        ++counts_.frames;
        lines.push_back(ax25::monitorLine(d.packet));
        break;
    case ax25::Kind::Other: ++counts_.other; break;
    case ax25::Kind::Broken: ++counts_.broken; break;
    }
}

void FrameLink::receive(std::string_view bytes, std::vector<std::string>& lines) {
    if (!agw_) {
        kissFrames_.clear();
        deframer_.feed(bytes, kissFrames_);
        for (const kiss::Frame& f : kissFrames_) {
            if (f.broken)
                ++counts_.broken;
            else if (f.command != kiss::kDataFrame)
                ++counts_.other;
            else
                frame(f.data, lines); // from any radio port
        }
        return;
    }
    const bool wasInStep = !agwReader_.outOfStep();
    agwMessages_.clear();
    agwReader_.feed(bytes, agwMessages_);
    for (const agw::Message& m : agwMessages_) {
        switch (m.header.kind) {
        case 'K':
            // One byte of port and command first, as in KISS.
            if (m.data.empty())
                ++counts_.broken;
            else
                frame(std::string_view(m.data).substr(1), lines);
            break;
        // Monitored frames as text, and frames of connections: not asked
        // for, and not what the classifier reads.
        case 'U':
        case 'I':
        case 'S':
        case 'T':
        case 'D': ++counts_.other; break;
        case 'R':
            if (!monitoring_) {
                monitoring_ = true;
                requests_ += agw::rawMonitoring();
            }
            break;
        default: break; // answers to our requests
        }
    }
    if (wasInStep && agwReader_.outOfStep()) ++counts_.broken;
}

void FrameLink::reset() {
    deframer_.reset();
    agwReader_.reset();
    monitoring_ = false;
    requests_.clear();
}

std::string FrameLink::hello(std::string_view callsign) const {
    if (!agw_) return {};
    std::string out;
    if (const auto call = ax25::parseAddress(callsign)) out += agw::registerCall(ax25::addressText(*call));
    out += agw::versionRequest();
    return out;
}

std::string FrameLink::uiFrame(const ax25::Address& source, const ax25::Address& dest, std::string_view info) const {
    const std::string ax25 = ax25::encodeUi(source, dest, {}, info);
    if (agw_) return agw::rawFrame(0, ax25, ax25::addressText(source), ax25::addressText(dest));
    return kiss::encode(ax25);
}

} // namespace qv
