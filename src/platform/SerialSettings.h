// The serial control's settings text ("9600,N,8,1": speed, parity, data bits,
// stop bits) taken apart, and the device a port text names on this system.
#pragma once

#include <string>

namespace qv {

struct SerialSettings {
    int baud = 9600;
    char parity = 'N'; // N, E, O, M or S
    int dataBits = 8;  // 5 to 8
    int stopBits = 1;  // 1, or 2; "1.5" is kept as 3
};

// Failure 380 (Invalid property value) when the text is not a settings text.
SerialSettings parseSerialSettings(const std::string& text);

// "3" is COM3, the device /dev/ttyS2; a path ("/dev/ttyUSB0", "./pty") is
// taken as given; "COM3" reads as "3". "" when the text names no port (empty, 0, not a number).
std::string serialDevice(const std::string& port);

// Whether the port text names a TNC at all (counts as a port above 0): a
// serial port, or one of the link forms such as "kiss-tcp:HOST:PORT".
bool portGiven(const std::string& port);

} // namespace qv
