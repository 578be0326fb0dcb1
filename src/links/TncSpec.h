// The TNC setting in its forms: a text-mode TNC on a serial port ("3",
// "COM3", "/dev/ttyUSB0"), "kiss:DEVICE" (KISS over a serial device),
// "kiss-tcp:HOST:PORT" and "agw:HOST:PORT" (a network TNC, such as a
// soundcard modem). "0" or nothing means no TNC.
#pragma once

#include <string>
#include <string_view>

namespace qv {

enum class TncKind { None, Text, Kiss, KissTcp, Agw };

struct TncSpec {
    TncKind kind = TncKind::None;
    std::string device; // Text and Kiss: the device path
    std::string host;   // KissTcp and Agw
    int port = 0;
    std::string error; // why a text that looks like a link form is none ("" otherwise)
};

// The usual ports of a network TNC, taken when the form leaves the port out.
inline constexpr int kKissTcpDefaultPort = 8001;
inline constexpr int kAgwDefaultPort = 8000;

TncSpec parseTncSpec(std::string_view text);

// A link that carries AX.25 frames rather than text lines.
inline bool carriesFrames(TncKind k) { return k == TncKind::Kiss || k == TncKind::KissTcp || k == TncKind::Agw; }
inline bool overTcp(TncKind k) { return k == TncKind::KissTcp || k == TncKind::Agw; }
// Whether the text is one of the link forms (kiss:, kiss-tcp:, agw:), valid or not.
bool isLinkForm(std::string_view text);

} // namespace qv
