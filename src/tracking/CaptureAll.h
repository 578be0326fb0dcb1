// Capture-all mode: the eight slots follow every station heard. New stations
// are placed by auto-assignment; after every written report the next slot in
// rotation is emptied so there is always room for the next one.
#pragma once

namespace qv {

struct Context;
class SlotTable;

inline constexpr const char* kCaptureAllRefusal =
    "The CAPTURE ALL feature does not create files for MapTech or TOPO! at this time. Select another mapping program "
    "before selecting this feature.";
inline constexpr const char* kCaptureAllQuestion =
    "This option will clear all the existing callsign boxes (and write only Street Atlas data) as well as disable "
    "writing TACTICAL Names. Is this OK?";
inline constexpr const char* kCaptureAllTitle = "CAPTURE ALL INCOMING STATIONS";

class CaptureAll {
public:
    CaptureAll(Context& ctx, SlotTable& table) : ctx_(ctx), table_(table) {}

    // Menu "O&N": refused while MapTech or TOPO! is the map program, asks first.
    void captureallON_Click();
    // Menu "O&FF", also run when MapTech or TOPO! is chosen as map program.
    // Leaves the captured stations, their switches and the rotation where they are.
    void captureallOFF_Click();
    // Run by the file writer after each written report while the mode is on.
    void captureallcallsigns();

private:
    Context& ctx_;
    SlotTable& table_;
};

} // namespace qv
