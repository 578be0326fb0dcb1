// Settings text and port names of the serial link.
#include "platform/SerialSettings.h"

#include "core/Failure.h"
#include "core/Text.h"
#include "links/TncSpec.h"

#include <cstdlib>
#include <vector>

namespace qv {

namespace {

[[noreturn]] void invalid() { throw Failure(380, "Invalid property value"); }

bool digitsOnly(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

int smallNumber(const std::string& s) {
    if (!digitsOnly(s) || s.size() > 7) invalid();
    return std::atoi(s.c_str());
}

} // namespace

SerialSettings parseSerialSettings(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t comma = text.find(',', start);
        parts.push_back(text::trim(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (parts.size() != 4) invalid();
    SerialSettings s;
    s.baud = smallNumber(parts[0]);
    if (s.baud < 50) invalid();
    if (parts[1].size() != 1) invalid();
    s.parity = text::upper(parts[1][0]);
    if (std::string("NEOMS").find(s.parity) == std::string::npos) invalid();
    s.dataBits = smallNumber(parts[2]);
    if (s.dataBits < 5 || s.dataBits > 8) invalid();
    if (parts[3] == "1.5") {
        s.stopBits = 3;
    } else {
        s.stopBits = smallNumber(parts[3]);
        if (s.stopBits != 1 && s.stopBits != 2) invalid();
    }
    return s;
}

std::string serialDevice(const std::string& port) {
    std::string p = text::trim(port);
    if (p.empty()) return {};
    if (p.find('/') != std::string::npos) return p;
    if (text::istartsWith(p, "COM")) p = p.substr(3);
    if (!digitsOnly(p) || p.size() > 6) return {};
    const int n = std::atoi(p.c_str());
    if (n <= 0) return {};
    return "/dev/ttyS" + std::to_string(n - 1);
}

bool portGiven(const std::string& port) { return !serialDevice(port).empty() || isLinkForm(port); }

} // namespace qv
