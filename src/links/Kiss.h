// KISS framing as TNCs speak it over a serial line or TCP: frames between
// FEND bytes, FEND and FESC inside a frame escaped, a command byte first
// (radio port in the high nibble, 0 = data frame in the low one).
// No I/O here: bytes in, frames out.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qv::kiss {

inline constexpr unsigned char FEND = 0xC0;
inline constexpr unsigned char FESC = 0xDB;
inline constexpr unsigned char TFEND = 0xDC;
inline constexpr unsigned char TFESC = 0xDD;

// The command of a frame that carries a packet received or to send.
inline constexpr unsigned kDataFrame = 0;

struct Frame {
    // Not a frame at all: an escape that escapes nothing, a frame longer than
    // kMaxFrame, or bytes that arrived before the first FEND.
    bool broken = false;
    unsigned port = 0;    // high nibble of the command byte
    unsigned command = 0; // low nibble
    std::string data;     // the frame after the command byte, unescaped
};

// Cuts a byte stream into frames; bytes may arrive in any chunks.
class Deframer {
public:
    // Longest frame taken, command byte included: an AX.25 frame with a full
    // digipeater path and far more than the 256 bytes of information a TNC sends.
    static constexpr std::size_t kMaxFrame = 2048;

    // Appends every frame the bytes complete.
    void feed(std::string_view bytes, std::vector<Frame>& out);
    // Forgets a frame in progress (a new connection starts afresh).
    void reset();

private:
    void finish(std::vector<Frame>& out);

    std::string buf_;
    bool synced_ = false;  // a FEND has been seen
    bool escaped_ = false; // the last byte was FESC
    bool broken_ = false;  // the frame in progress is broken
};

// A frame for the TNC: FEND, command byte, the escaped bytes, FEND.
std::string encode(std::string_view data, unsigned port = 0, unsigned command = kDataFrame);

} // namespace qv::kiss
