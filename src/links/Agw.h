// The AGWPE TCP protocol a software TNC serves (usually on port 8000): every
// message is a 36-byte header (radio port, kind letter, protocol id, the two
// callsigns, the data length, little-endian) followed by its data.
// No I/O here: messages to bytes and bytes to messages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv::agw {

inline constexpr std::size_t kHeaderSize = 36;

struct Header {
    unsigned port = 0; // radio port, 0-based
    char kind = 0;     // 'K' raw frame, 'X' register, 'k' raw monitoring, ...
    unsigned pid = 0;
    std::string callFrom, callTo; // at most 9 characters each on the wire
    std::uint32_t dataLen = 0;
    std::uint32_t user = 0;
};

struct Message {
    Header header;
    std::string data;
};

// The header and data as sent; dataLen is taken from the data.
std::string encode(Header h, std::string_view data = {});
// Reads a header from its 36 bytes.
Header decodeHeader(std::string_view bytes);

// Cuts a byte stream into messages; bytes may arrive in any chunks. A header
// announcing more data than kMaxData puts the stream out of step for good:
// there is no way to find the next header.
class Reader {
public:
    static constexpr std::uint32_t kMaxData = 65536;

    void feed(std::string_view bytes, std::vector<Message>& out);
    bool outOfStep() const { return outOfStep_; }
    void reset();

private:
    std::string buf_;
    bool outOfStep_ = false;
};

// Asks to be known under a callsign ('X').
std::string registerCall(std::string_view call);
// Asks for the TNC's version ('R'). Its answer shows that the TNC has taken
// the connection in: a TNC may reset what a client switched on before that.
std::string versionRequest();
// Switches the monitoring of raw frames of every radio port on ('k'); the
// same request switches it off again.
std::string rawMonitoring();
// A raw AX.25 frame to send on a radio port ('K'): the data begins with one
// byte for the port, as in a KISS command byte, then the frame.
std::string rawFrame(unsigned port, std::string_view ax25, std::string_view callFrom = {},
                     std::string_view callTo = {});

} // namespace qv::agw
