// TOPO! allows one waypoint name per minute and slot, so a record whose name
// is already in the cumulative file only updates the "now" files.
#include "mapfiles/TopoFiles.h"

#include "core/Text.h"
#include "core/WorkDir.h"
#include "mapfiles/MapFileIo.h"
#include "mapfiles/NowFileRebuild.h"

namespace qv::mapfile {

namespace {

// Whether a line was written for slot n (1..8): its waypoint name is the slot
// letter, the slot's tactical name, or the stand-in name "Tac" + letter an
// unnamed slot gets when tactical names are posted, followed by "-" and the
// time. The whole name decides: "Engine 1" does not take the lines of
// "Engine 12", nor a name the lines whose callsign or date holds it.
bool ofSlot(const std::string& line, int n, const SlotState& slots) {
    const std::string name = thirdField(line);
    const std::size_t dash = name.rfind('-');
    if (dash == std::string::npos || name.size() - dash - 1 != 4) return false;
    for (std::size_t i = dash + 1; i < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9') return false;
    const std::string_view who = std::string_view(name).substr(0, dash);
    const std::string letter(1, static_cast<char>('A' + n - 1));
    if (text::iequals(who, letter)) return true;
    const std::string& tactical = slots[n].Teamname;
    return text::iequals(who, tactical.empty() ? "Tac" + letter : text::trim(tactical));
}

} // namespace

std::vector<std::string> TopoFiles::slotLines(const std::vector<std::string>& lines, const std::string& record,
                                              const SlotState& slots, int& unmatched) {
    std::array<std::string, 8> slot;
    unmatched = 0;
    auto take = [&](const std::string& line) {
        for (int n = 1; n <= 8; ++n) {
            if (ofSlot(line, n, slots)) {
                slot[static_cast<std::size_t>(n - 1)] = ofSlot(record, n, slots) ? record : line;
                return;
            }
        }
        if (!line.empty()) ++unmatched;
    };
    for (const auto& line : lines)
        take(line);
    take(record);
    std::vector<std::string> out;
    for (const auto& s : slot)
        if (!s.empty()) out.push_back(s);
    return out;
}

void TopoFiles::topoStep() {
    show("Saving Files - NGTOPO");
    const std::string& record = st().rec.ngtopostring;
    bool known = false;
    // A missing file has no names: the refresh finds it absent.
    guarded([&] {
        names_.refresh(dir(), kTopo);
        known = names_.nameIn(record);
    });
    if (known) {
        if (st().sw.soundon) ctx_.ui.beep();
        show("NGTOPO....DUPLICATE TIMESTAMP WAYPOINT NAME");
    } else if (guarded([&] { appendLines(dir(), kTopo, {record}); })) {
        names_.appended(dir(), kTopo, record);
    }
    nowStep(record);
}

void TopoFiles::nowStep(const std::string& record) {
    std::vector<std::string> old;
    if (const auto* known = dir().linesAsReplaced(kTopoNow)) {
        old = *known;
    } else if (dir().exists(kTopoNow) && !guarded([&] { old = dir().readLines(kTopoNow); })) {
        // Unreadable: add the record rather than rebuild the file without its lines.
        guarded([&] { appendLines(dir(), kTopoNow, {record}); });
        return;
    }
    int unmatched = 0;
    const auto lines = slotLines(old, record, st().slots, unmatched);
    for (int i = 0; i < unmatched; ++i)
        ctx_.ui.beep();
    ReplaceOptions remember;
    remember.remember = true;
    guarded([&] { dir().replaceLinesAtomically(kTopoNow, lines, remember); });
}

void TopoFiles::nowCallStep() {
    show("Saving Files - Nat.Geo.TOPO! NowCall");
    NowFileRebuild(ctx_).rebuild(kTopoNowCall, kTopoNowCallTmp, st().rec.ngtopocallstring, st().report.callsign);
}

void TopoFiles::spotfiresStep() {
    show("Saving Files - SPOTFIRES");
    const std::string& record = st().rec.spotfirestring;
    if (text::iequals(record, kOutOfOregon)) return;
    guarded([&] { appendLines(dir(), kSpotfires, {record}); });
}

} // namespace qv::mapfile
