// Serial devices present, for the port chooser.
#include "platform/SerialDevices.h"

#include <algorithm>
#include <array>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace qv {

std::vector<std::string> orderSerialDevices(std::vector<SerialDeviceName> byId, std::vector<std::string> devices) {
    std::sort(byId.begin(), byId.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    std::sort(devices.begin(), devices.end());
    std::vector<std::string> out;
    std::set<std::string> named;
    for (const auto& l : byId) {
        out.push_back(l.name);
        named.insert(l.target);
    }
    for (const auto& d : devices)
        if (!named.count(d)) out.push_back(d);
    return out;
}

std::vector<std::string> serialDevicesPresent(const fs::path& dev) {
    std::error_code ec;
    std::vector<SerialDeviceName> byId;
    for (const auto& e : fs::directory_iterator(dev / "serial" / "by-id", ec)) {
        const fs::path target = fs::weakly_canonical(e.path(), ec);
        byId.push_back({e.path().string(), ec ? e.path().string() : target.string()});
    }
    // USB adapters and USB TNCs, USB modems, Bluetooth serial links, and the
    // serial ports of small boards; the on-board ttyS ports are there on
    // every PC whether wired or not, and are reached by their number.
    constexpr std::array<const char*, 4> kPrefixes = {"ttyUSB", "ttyACM", "rfcomm", "ttyAMA"};
    std::vector<std::string> devices;
    for (const auto& e : fs::directory_iterator(dev, ec)) {
        const std::string name = e.path().filename().string();
        for (const char* p : kPrefixes)
            if (name.rfind(p, 0) == 0) devices.push_back(e.path().string());
    }
    return orderSerialDevices(std::move(byId), std::move(devices));
}

} // namespace qv
