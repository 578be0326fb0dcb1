// The speed dialog Form3: four speeds to choose from, OK and CANCEL. The window
// shows it modal; without a window the preselected speed stands.
#pragma once

#include <array>

namespace qv {

inline constexpr const char* kForm3Caption = "Form3";
inline constexpr const char* kForm3Label = "Select the BAUD rate  to use between Quorvel and your TNC Device";
inline constexpr std::array<const char*, 4> kForm3Options = {"1200, 8, N, 1", "2400, 8, N, 1", "4800, 8, N, 1",
                                                             "9600, 8, N, 1"};

class SpeedDialog {
public:
    virtual ~SpeedDialog() = default;

    // Shows the dialog modal with option `preselected` (0 to 3, -1 for none)
    // selected. Returns the option selected when OK was pressed (-1 if none
    // was), or kCancelled for CANCEL.
    static constexpr int kCancelled = -2;
    virtual int showModal(int preselected) = 0;
};

// Answers as a user pressing OK at once would.
class DefaultSpeedDialog final : public SpeedDialog {
public:
    int showModal(int preselected) override { return preselected; }
};

} // namespace qv
