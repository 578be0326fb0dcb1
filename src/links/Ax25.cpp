// AX.25 addresses and UI frames.
#include "links/Ax25.h"

namespace qv::ax25 {

namespace {

constexpr std::size_t kAddressSize = 7;
constexpr unsigned char kLastAddress = 0x01;
constexpr unsigned char kRepeatedOrCommand = 0x80;
constexpr unsigned char kReserved = 0x60;

bool callChar(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// One address field entry; nullopt when its characters are no callsign.
std::optional<Address> readAddress(std::string_view a) {
    Address r;
    bool padding = false;
    for (std::size_t i = 0; i < 6; ++i) {
        const auto byte = static_cast<unsigned char>(a[i]);
        // The extension bit belongs to the SSID byte only.
        if (byte & 0x01) return std::nullopt;
        const char c = static_cast<char>(byte >> 1);
        if (c == ' ') {
            padding = true;
            continue;
        }
        if (padding || !callChar(c)) return std::nullopt;
        r.call.push_back(c);
    }
    if (r.call.empty()) return std::nullopt;
    const auto ssid = static_cast<unsigned char>(a[6]);
    r.ssid = (ssid >> 1) & 0x0F;
    r.repeated = (ssid & kRepeatedOrCommand) != 0;
    return r;
}

void writeAddress(std::string& out, const Address& a, bool topBit, bool last) {
    std::string call = a.call;
    call.resize(6, ' ');
    for (const char c : call)
        out.push_back(static_cast<char>(static_cast<unsigned char>(c) << 1));
    unsigned char ssid = kReserved | static_cast<unsigned char>((a.ssid & 0x0F) << 1);
    if (topBit) ssid |= kRepeatedOrCommand;
    if (last) ssid |= kLastAddress;
    out.push_back(static_cast<char>(ssid));
}

} // namespace

Decoded decode(std::string_view frame) {
    Decoded d;
    std::vector<Address> addresses;
    std::size_t at = 0;
    for (;;) {
        if (frame.size() - at < kAddressSize || addresses.size() == 2 + kMaxDigis) return d;
        const auto a = readAddress(frame.substr(at, kAddressSize));
        if (!a) return d;
        addresses.push_back(*a);
        const bool last = static_cast<unsigned char>(frame[at + 6]) & kLastAddress;
        at += kAddressSize;
        if (last) break;
    }
    // Destination and source at least, then the control byte.
    if (addresses.size() < 2 || at >= frame.size()) return d;
    const auto control = static_cast<unsigned char>(frame[at]);
    // The poll/final bit (0x10) does not change the kind.
    if ((control & ~0x10u) != kControlUi) {
        d.kind = Kind::Other;
        return d;
    }
    if (at + 1 >= frame.size()) return d; // a UI frame without its protocol id
    if (static_cast<unsigned char>(frame[at + 1]) != kPidNoLayer3) {
        d.kind = Kind::Other;
        return d;
    }
    d.kind = Kind::Ui;
    d.packet.dest = addresses[0];
    d.packet.source = addresses[1];
    // The top bits of destination and source say command or response, not repeated.
    d.packet.dest.repeated = d.packet.source.repeated = false;
    d.packet.digis.assign(addresses.begin() + 2, addresses.end());
    d.packet.info.assign(frame.substr(at + 2));
    return d;
}

std::string addressText(const Address& a) { return a.ssid == 0 ? a.call : a.call + "-" + std::to_string(a.ssid); }

std::string monitorLine(const Packet& p) {
    std::string line = addressText(p.source) + ">" + addressText(p.dest);
    std::size_t lastRepeated = p.digis.size();
    for (std::size_t i = 0; i < p.digis.size(); ++i)
        if (p.digis[i].repeated) lastRepeated = i;
    for (std::size_t i = 0; i < p.digis.size(); ++i) {
        line += "," + addressText(p.digis[i]);
        if (i == lastRepeated) line += "*";
    }
    line += ":";
    std::string_view info = p.info;
    while (!info.empty() && (info.back() == '\r' || info.back() == '\n'))
        info.remove_suffix(1);
    for (const char c : info)
        line.push_back(c == '\r' || c == '\n' ? ' ' : c);
    return line;
}

std::optional<Address> parseAddress(std::string_view text) {
    Address a;
    const std::size_t dash = text.find('-');
    const std::string_view call = text.substr(0, dash);
    if (call.empty() || call.size() > 6) return std::nullopt;
    for (char c : call) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (!callChar(c)) return std::nullopt;
        a.call.push_back(c);
    }
    if (dash != std::string_view::npos) {
        const std::string_view ssid = text.substr(dash + 1);
        if (ssid.empty() || ssid.size() > 2) return std::nullopt;
        int n = 0;
        for (const char c : ssid) {
            if (c < '0' || c > '9') return std::nullopt;
            n = n * 10 + (c - '0');
        }
        if (n > 15) return std::nullopt;
        a.ssid = n;
    }
    return a;
}

std::string encodeUi(const Address& source, const Address& dest, const std::vector<Address>& digis,
                     std::string_view info) {
    std::string out;
    out.reserve(kAddressSize * (2 + digis.size()) + 2 + info.size());
    // An AX.25 2.0 command: the top bit set in the destination, clear in the source.
    writeAddress(out, dest, true, false);
    writeAddress(out, source, false, digis.empty());
    for (std::size_t i = 0; i < digis.size(); ++i)
        writeAddress(out, digis[i], digis[i].repeated, i + 1 == digis.size());
    out.push_back(static_cast<char>(kControlUi));
    out.push_back(static_cast<char>(kPidNoLayer3));
    out.append(info);
    return out;
}

} // namespace qv::ax25
