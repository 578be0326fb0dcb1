// The eight tracked-station slots, lettered A to H, with the design values the
// main window starts from and the colours their labels pass through.
#pragma once

#include "core/Colour.h"

#include <array>
#include <string>

namespace qv {

// Background colours of a slot's last-heard label, as colour numbers.
namespace slotcolour {
inline constexpr Colour LightGray = 12632256;     // never reported (design value)
inline constexpr Colour White = 16777215;         // just heard, movement not judged yet
inline constexpr Colour Red = 255;                // heard at the same position again
inline constexpr Colour LightGreen = 8454016;     // moved, or new
inline constexpr Colour ButtonFace = 0x8000000Fu; // system colour 15 (-2147483633): settled
inline constexpr Colour Yellow = 65535;           // tracked and overdue
} // namespace slotcolour

inline constexpr const char* kNoPosition = "(latitude/longitude)";
inline constexpr const char* kNeverHeard = "00/00/00 00:00:00 AM";
inline constexpr const char* kLetterHelp =
    "This letter designates what displays to map. ALSO...holding mouse over this when a position is displayed will "
    "show the RAW string processed by Quorvel.";

struct Slot {
    std::string CallsignID;              // "CALL ID"; its placeholder or "" marks a free slot
    std::string Teamname;                // tactical name
    bool track = false;                  // tracking switch
    std::string location = kNoPosition;  // last position
    std::string lastHeard = kNeverHeard; // last-heard caption
    Colour lastHeardBack = slotcolour::LightGray;
    std::string letterToolTip = kLetterHelp; // raw line of the slot's last report
    double LastHeardStamp = 0;               // minute stamp of the last report; 0 until then
    Colour back = 0;                         // display colour of the CALL ID, tactical-name and position fields
    Colour fore = 16777215;                  // their text colour (white)
};

struct SlotState {
    std::array<Slot, 8> slot; // slot n is slot[n - 1]

    SlotState() {
        static constexpr std::array<Colour, 8> kBack = {16711680, 192, 32768, 8388736, 0, 8388608, 16512, 16711935};
        for (int n = 1; n <= 8; ++n) {
            Slot& s = (*this)[n];
            s.CallsignID = placeholder(n);
            s.Teamname = "Tac" + std::to_string(n);
            s.back = kBack[static_cast<std::size_t>(n - 1)];
        }
    }

    Slot& operator[](int n) { return slot[static_cast<std::size_t>(n - 1)]; }
    const Slot& operator[](int n) const { return slot[static_cast<std::size_t>(n - 1)]; }

    // "CALL ID-1" .. "CALL ID-8": the design text that marks slot n as free.
    static std::string placeholder(int n) { return "CALL ID-" + std::to_string(n); }
    // "A" .. "H"
    static char letter(int n) { return static_cast<char>('A' + n - 1); }
};

} // namespace qv
