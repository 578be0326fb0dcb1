// The serial devices present on this machine, as the port chooser offers
// them: the stable /dev/serial/by-id names first (a USB TNC keeps its name
// whatever order the adapters were plugged in), then the other devices not
// already named that way.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qv {

struct SerialDeviceName {
    std::string name;   // as offered: a by-id link or a device path
    std::string target; // the device it stands for
};

// Orders the names: by-id links first, each device once.
std::vector<std::string> orderSerialDevices(std::vector<SerialDeviceName> byId, std::vector<std::string> devices);

// Looks under `dev` (normally /dev) for serial/by-id links and for the
// devices of USB adapters, Bluetooth links and on-board ports that exist.
std::vector<std::string> serialDevicesPresent(const std::filesystem::path& dev = "/dev");

} // namespace qv
