// Slot constant lookup.
#include "records/SlotConstants.h"

#include "core/Text.h"

namespace qv {

const SlotRow& slotRow(int n) {
    if (n < 1 || n > 8) return kSlotRows[8];
    return kSlotRows[static_cast<std::size_t>(n - 1)];
}

const SlotRow& slotRowByKey(std::string_view slotcolorhex) {
    for (std::size_t i = 0; i < 8; ++i)
        if (text::iequals(kSlotRows[i].colourKey, slotcolorhex)) return kSlotRows[i];
    return kSlotRows[8];
}

} // namespace qv
