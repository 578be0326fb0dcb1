// Station lookup in the Street Atlas now file and the location keystrokes.
#include "posting/FindStation.h"

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Failure.h"
#include "core/Fields.h"
#include "core/Station.h"
#include "core/Text.h"
#include "core/WorkDir.h"
#include "platform/Ui.h"
#include "platform/WindowKeys.h"
#include "posting/KeystrokeScript.h"

#include <vector>

namespace qv {

void FindStation::findstaSA5_Click() {
    Station& st = ctx_.st;
    if (!text::iequals(text::right(st.map.importPathStreetAtlas, 17), "quorvelSA5now.txt")) {
        ctx_.ui.message(
            "The FIND option is only available if you are posting the Street Atlas  quorvelSA5now.txt  data "
            "file to your map.");
        return;
    }
    const std::string call =
        ctx_.ui.input("Enter the full Callsign of the station to locate", "Street Atlas FIND STATION", "");
    if (call.empty()) return;

    std::vector<std::string> record;
    bool found = false;
    try {
        const std::string text = ctx_.dir.readText("quorvelSA5now.txt");
        FieldReader in(text);
        while (!found && !in.atEnd()) {
            record.clear();
            for (int i = 0; i < 6 && !in.atEnd(); ++i)
                record.push_back(in.next());
            found = record.size() >= 3 && text::iequals(record[2], call);
        }
    } catch (...) {
        // A missing or short file simply holds no such station.
    }
    if (!found) {
        ctx_.ui.message("Station Callsign NOT FOUND");
        return;
    }

    // Typing goes to whatever window is active, so the receive path waits.
    const std::string before = st.marks.commTag;
    st.marks.commTag = kStopComm;
    try {
        const auto location = keys::parse("%SL");
        const std::vector<std::vector<KeyEvent>> position{keys::parse(keys::literal(record[0])), keys::parse("{TAB}"),
                                                          keys::parse(keys::literal(record[1])),
                                                          keys::parse("{ENTER}")};
        if (!ctx_.windows) throw Failure(err::InvalidCall);
        ctx_.windows->activate("untitled");
        ctx_.ui.refresh();
        ctx_.windows->send(location);
        ctx_.ui.refresh();
        for (const auto& k : position)
            ctx_.windows->send(k);
    } catch (const Failure& f) {
        ctx_.ui.beep();
        st.marks.PGMmessage = "<< Warning >> STREET ATLAS NOT LOADED!! Can't Import";
        if (f.number() != err::InvalidCall) ctx_.log.entry(f, " in SUB FINDSTASA5CLICK ");
    } catch (const std::exception&) {
        ctx_.ui.beep();
        st.marks.PGMmessage = "<< Warning >> STREET ATLAS NOT LOADED!! Can't Import";
    }
    st.marks.commTag = before;
}

} // namespace qv
