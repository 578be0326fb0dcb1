// The configuration file quorvel.cfg: written whole on every settings change,
// read once at start-up. A numbered legacy section comes first so that older
// versions still find their lines; the key/value section follows the marker.
#pragma once

#include <string>
#include <vector>

namespace qv {

struct Context;
struct Station;

inline constexpr const char* kConfigFile = "quorvel.cfg";
inline constexpr const char* kConfigHeader =
    "QUORVEL CONFIGURATION SETTINGS. Do not change unless you know what you are doing!";
inline constexpr const char* kNewConfigMarker = "NEW_CONFIG_FORMAT_BELOW";

// The whole file for the current state, lines ended by CR LF.
std::string configText(const Station& st);

class Settings {
public:
    explicit Settings(Context& ctx) : ctx_(ctx) {}

    enum class Loaded { Done, Restarted, Ended };

    void savesettings();
    // Restarted: the outdated file was deleted and start-up ran again;
    // Ended: the user declined to go on and the program ends.
    Loaded getsettings();
    void configreset_Click();

private:
    void setCallsignID(int n, const std::string& value);
    void applyLegacyLine(int number, const std::string& line);
    void applyKey(const std::string& key, const std::string& value, int& sound);

    Context& ctx_;
    std::vector<int> unsafeNames_; // slots whose tactical name was made safe while loading
};

} // namespace qv
