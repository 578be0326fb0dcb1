// AX.25 frames as KISS and AGWPE carry them (without the checksum): the
// address field with its SSIDs and has-been-repeated marks, the UI frames
// APRS travels in, and the monitor line a text-mode TNC prints for one.
// No I/O here.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::ax25 {

struct Address {
    std::string call;      // 1 to 6 upper-case letters and digits
    int ssid = 0;          // 0 to 15
    bool repeated = false; // the has-been-repeated bit of a digipeater
    bool operator==(const Address&) const = default;
};

struct Packet {
    Address dest, source;
    std::vector<Address> digis; // at most 8
    std::string info;
};

enum class Kind {
    Ui,     // an unnumbered information frame without layer 3: the APRS kind
    Other,  // a well-formed frame of another kind (connected mode, NET/ROM, ...)
    Broken, // no AX.25 frame: a bad address field, too short, ...
};

struct Decoded {
    Kind kind = Kind::Broken;
    Packet packet; // filled for Ui
};

// Control byte of a UI frame (poll bit off) and the "no layer 3" protocol id.
inline constexpr unsigned char kControlUi = 0x03;
inline constexpr unsigned char kPidNoLayer3 = 0xF0;
inline constexpr std::size_t kMaxDigis = 8;

Decoded decode(std::string_view frame);

// "SOURCE>DEST,DIGI1,DIGI2*:information": the line a TNC in monitor mode
// prints, as APRS-IS writes it too. The star follows the last digipeater
// that has repeated the packet. Line ends at the end of the information are
// dropped; one inside it becomes a blank, so that one frame is one line.
std::string monitorLine(const Packet& p);

// "N0CALL-7" and back; nullopt for text that is no AX.25 address.
std::optional<Address> parseAddress(std::string_view text);
std::string addressText(const Address& a);

// A UI frame with protocol id F0 (no layer 3) as a command from `source`.
// The addresses must be valid (parseAddress).
std::string encodeUi(const Address& source, const Address& dest, const std::vector<Address>& digis,
                     std::string_view info);

} // namespace qv::ax25
