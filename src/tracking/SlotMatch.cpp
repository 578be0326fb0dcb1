// Slot matching.
#include "tracking/SlotMatch.h"

#include "core/Text.h"

namespace qv {

int matchSlot(const SlotState& slots, std::string_view key) {
    for (int n = 1; n <= 8; ++n)
        if (text::iequals(slots[n].CallsignID, key)) return n;
    return 0;
}

int matchTrackedSlot(const SlotState& slots, std::string_view key) {
    for (int n = 1; n <= 8; ++n)
        if (slots[n].track && text::iequals(slots[n].CallsignID, key)) return n;
    return 0;
}

bool isFree(const SlotState& slots, int n) {
    const std::string& id = slots[n].CallsignID;
    return id.empty() || text::iequals(id, SlotState::placeholder(n));
}

} // namespace qv
