// The station identifier rules.
#include "core/StationId.h"

namespace qv {

namespace {

bool isAlnum(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool isSourceAddress(std::string_view id) {
    if (id.empty() || id.size() > kMaxSourceAddress) return false;
    const std::size_t dash = id.find('-');
    const std::string_view base = id.substr(0, dash);
    if (base.empty()) return false;
    for (char c : base)
        if (!isAlnum(c)) return false;
    if (dash == std::string_view::npos) return true;
    const std::string_view ssid = id.substr(dash + 1);
    if (ssid.empty() || ssid.size() > 2) return false;
    for (char c : ssid)
        if (!isAlnum(c)) return false;
    return true;
}

// "CALL ID-1" .. "CALL ID-8" in any letter case: the text of a free slot.
bool isSlotPlaceholder(std::string_view id) {
    constexpr std::string_view kStem = "CALL ID-";
    if (id.size() != kStem.size() + 1 || id.back() < '1' || id.back() > '8') return false;
    for (std::size_t i = 0; i < kStem.size(); ++i)
        if ((id[i] >= 'a' && id[i] <= 'z' ? id[i] - 'a' + 'A' : id[i]) != kStem[i]) return false;
    return true;
}

bool isName(std::string_view id) {
    if (id.empty() || id.size() > kMaxStationName) return false;
    if (id.front() == ' ' || id.back() == ' ') return false;
    // A station named like a free slot would be written as that slot's.
    if (isSlotPlaceholder(id)) return false;
    for (char c : id) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u > 0x7E || c == ',' || c == '"') return false;
    }
    return true;
}

} // namespace

bool isValidStationId(std::string_view id, IdForm form) {
    return form == IdForm::SourceAddress ? isSourceAddress(id) : isName(id);
}

} // namespace qv
