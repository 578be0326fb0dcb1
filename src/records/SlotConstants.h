// The codes each slot puts into the map records, picked by the colour key the
// colour step chose; a key of no slot gets the last, empty-handed row.
#pragma once

#include <array>
#include <string_view>

namespace qv {

struct SlotRow {
    int slot;                    // 1..8; 0 for the row of no slot
    std::string_view colourKey;  // MapTech colour, lower-case hexadecimal
    std::string_view letter;     // map label letter
    std::string_view oziColour;  // OziExplorer colour number
    std::string_view sa4, sa6;   // Street Atlas fields 4 and 6
    std::string_view spotSlot;   // SPOTFIRES slot
    std::string_view spotOffset; // SPOTFIRES offset
};

inline constexpr std::array<SlotRow, 9> kSlotRows = {{
    {1, "ff0000", "A", "16711680", "12", "2", "1", "-200"},
    {2, "ff", "B", "255", "12", "1", "2", "-400"},
    {3, "8000", "C", "32768", "12", "3", "3", "200"},
    {4, "800080", "D", "8388736", "12", "4", "4", "400"},
    {5, "0", "E", "65535", "16", "0", "5", "-600"},
    {6, "800000", "F", "65535", "46", "0", "6", "-800"},
    {7, "80", "G", "65535", "47", "0", "7", "600"},
    {8, "ff00ff", "H", "65535", "14", "0", "8", "800"},
    {0, "", "", "0", "12", "0", "0", "0"},
}};

// The row of slot n (1..8).
const SlotRow& slotRow(int n);
// The first row whose colour key equals `slotcolorhex` ignoring case; the
// row of no slot otherwise.
const SlotRow& slotRowByKey(std::string_view slotcolorhex);

} // namespace qv
