// Byte strings for the link tests: hex text to bytes, and frames as a
// software TNC sent them (captured from direwolf decoding generated audio).
#pragma once

#include <string>
#include <string_view>

namespace qv::test {

// "c0 00 82" (blanks optional) to the bytes.
inline std::string hex(std::string_view text) {
    std::string out;
    int high = -1;
    for (const char c : text) {
        int v;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'a' && c <= 'f')
            v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        else
            continue;
        if (high < 0) {
            high = v;
        } else {
            out.push_back(static_cast<char>(high * 16 + v));
            high = -1;
        }
    }
    return out;
}

// N0CALL>APRS,WIDE1-1,WIDE2-1:!4903.50N/07201.75W-Test 1 and a line feed,
// as the AX.25 frame (no checksum) and as direwolf's KISS frame of it.
inline const std::string kFrameN0call =
    hex("82a0a4a64040e0 9c6086829898e0 ae92888a624062 ae92888a644063 03 f0") + "!4903.50N/07201.75W-Test 1\n";
inline const std::string kKissN0call = std::string("\xc0\x00", 2) + kFrameN0call + "\xc0";
// W1AW-9>APRS,K1ABC-3*,WIDE2-1:=4145.00N/07230.00W>mobile and a line feed.
inline const std::string kFrameW1aw =
    hex("82a0a4a64040e0 ae6282ae4040f2 966282848640e6 ae92888a644063 03 f0") + "=4145.00N/07230.00W>mobile\n";
inline const std::string kKissW1aw = std::string("\xc0\x00", 2) + kFrameW1aw + "\xc0";
// direwolf's AGWPE message of the first frame on radio port 0: header ('K',
// from N0CALL to APRS, 58 bytes of data), then the port byte and the frame.
inline const std::string kAgwN0call = hex("00000000 4b 00 00 00") + std::string("N0CALL\0\0\0\0", 10) +
                                      std::string("APRS\0\0\0\0\0\0", 10) + hex("3a000000 00000000") +
                                      std::string(1, '\0') + kFrameN0call;
// direwolf's answer to a version request: 2005.127.
inline const std::string kAgwVersion =
    hex("00000000 52 00 00 00") + std::string(20, '\0') + hex("08000000 00000000") + hex("d5070000 7f000000");

} // namespace qv::test
