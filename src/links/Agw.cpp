// AGWPE headers and messages.
#include "links/Agw.h"

namespace qv::agw {

namespace {

constexpr std::size_t kCallSize = 10;

void putU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::uint32_t getU32(std::string_view b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
}

void putCall(std::string& out, std::string_view call) {
    std::string field(call.substr(0, kCallSize - 1));
    field.resize(kCallSize, '\0');
    out += field;
}

std::string getCall(std::string_view b, std::size_t at) {
    std::string_view field = b.substr(at, kCallSize);
    return std::string(field.substr(0, field.find('\0')));
}

} // namespace

std::string encode(Header h, std::string_view data) {
    std::string out;
    out.reserve(kHeaderSize + data.size());
    out.push_back(static_cast<char>(h.port & 0xFF));
    out.append(3, '\0');
    out.push_back(h.kind);
    out.push_back('\0');
    out.push_back(static_cast<char>(h.pid & 0xFF));
    out.push_back('\0');
    putCall(out, h.callFrom);
    putCall(out, h.callTo);
    putU32(out, static_cast<std::uint32_t>(data.size()));
    putU32(out, h.user);
    out.append(data);
    return out;
}

Header decodeHeader(std::string_view b) {
    Header h;
    if (b.size() < kHeaderSize) return h;
    h.port = static_cast<unsigned char>(b[0]);
    h.kind = b[4];
    h.pid = static_cast<unsigned char>(b[6]);
    h.callFrom = getCall(b, 8);
    h.callTo = getCall(b, 18);
    h.dataLen = getU32(b, 28);
    h.user = getU32(b, 32);
    return h;
}

void Reader::reset() {
    buf_.clear();
    outOfStep_ = false;
}

void Reader::feed(std::string_view bytes, std::vector<Message>& out) {
    if (outOfStep_) return;
    buf_.append(bytes);
    std::size_t at = 0;
    while (buf_.size() - at >= kHeaderSize) {
        const Header h = decodeHeader(std::string_view(buf_).substr(at, kHeaderSize));
        if (h.dataLen > kMaxData) {
            outOfStep_ = true;
            buf_.clear();
            return;
        }
        if (buf_.size() - at - kHeaderSize < h.dataLen) break;
        Message m{h, buf_.substr(at + kHeaderSize, h.dataLen)};
        out.push_back(std::move(m));
        at += kHeaderSize + h.dataLen;
    }
    buf_.erase(0, at);
}

std::string registerCall(std::string_view call) {
    Header h;
    h.kind = 'X';
    h.callFrom = std::string(call);
    return encode(h);
}

std::string versionRequest() {
    Header h;
    h.kind = 'R';
    return encode(h);
}

std::string rawMonitoring() {
    Header h;
    h.kind = 'k';
    return encode(h);
}

std::string rawFrame(unsigned port, std::string_view ax25, std::string_view callFrom, std::string_view callTo) {
    Header h;
    h.port = port;
    h.kind = 'K';
    h.callFrom = std::string(callFrom);
    h.callTo = std::string(callTo);
    std::string data(1, static_cast<char>((port & 0x0F) << 4));
    data.append(ax25);
    return encode(h, data);
}

} // namespace qv::agw
