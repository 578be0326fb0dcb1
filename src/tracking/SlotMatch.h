// Which slot a report belongs to: its CALL ID equals the key as a whole text,
// letter case ignored, and the lowest-numbered such slot wins.
#pragma once

#include "core/SlotState.h"

#include <string_view>

namespace qv {

// Slot 1..8 of the first equal CALL ID; 0 when none.
int matchSlot(const SlotState& slots, std::string_view key);
// The same, counting only slots whose tracking switch is on.
int matchTrackedSlot(const SlotState& slots, std::string_view key);
// A slot is free while its CALL ID is empty or its own placeholder.
bool isFree(const SlotState& slots, int n);

} // namespace qv
