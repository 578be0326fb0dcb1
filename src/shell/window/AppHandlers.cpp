// The one place where window actions meet the subsystems.
#include "shell/window/AppHandlers.h"

#include "platform/Ui.h"
#include "shell/App.h"
#include "shell/window/Standin.h"

#include <cstring>

namespace qv {

void AppHandlers::incomingdata_DblClick() {
    // Whatever the user typed or pasted is processed as if it had been received.
    app_.st.report.dataline = app_.st.report.incomingdata;
    app_.inspectdataline();
    app_.st.report.dataline.clear();
}

void AppHandlers::DisplaySend_Click() { s_.sendVisible = true; }
void AppHandlers::hidesend_Click() { s_.sendVisible = false; }

void AppHandlers::CallsignID_Change(int n) {
    Slot& s = app_.st.slots[n];
    s.lastHeard = "0";
    s.location = "(latitude/longitude)";
    if (!s_.captureAll) app_.savesettings();
}

void AppHandlers::CallsignID_DblClick(int n) {
    app_.st.slots[n].CallsignID.clear();
    CallsignID_Change(n);
}

void AppHandlers::Callsign_DblClick() { clearstationsmenu_Click(); }

void AppHandlers::clearstationsmenu_Click() {
    app_.st.marks.PGMmessage = "Clearing all Callsigns";
    for (int n = 1; n <= 8; ++n)
        CallsignID_DblClick(n);
}

void AppHandlers::Teamname_Change(int) { app_.savesettings(); }

void AppHandlers::Teamname_dblclick(int n) {
    app_.st.slots[n].Teamname.clear();
    Teamname_Change(n);
}

void AppHandlers::cleartacticalsmenu_Click() {
    for (int n = 1; n <= 8; ++n)
        Teamname_dblclick(n);
}

void AppHandlers::callsigntrack_Click(int) { app_.savesettings(); }
void AppHandlers::autoassigncheckbox_Click() { app_.savesettings(); }

void AppHandlers::LabelCallidLetter_DblClick(int n) { app_.st.report.incomingdata = app_.st.slots[n].letterToolTip; }

void AppHandlers::soundon_Click() { app_.savesettings(); }
void AppHandlers::overdue_Change() { app_.savesettings(); }
void AppHandlers::CheckTrackOnlyMoving_Click() { app_.savesettings(); }

void AppHandlers::preventdupes_Click() { s_.preventdupes = !s_.preventdupes; }

void AppHandlers::menumapsallON_Click() {
    s_.createStreetAtlas = s_.createMapTech = s_.createNatGeo = s_.createOzi = s_.createNatGeoNowCall = true;
    app_.savesettings();
}

void AppHandlers::menuspeedup_Click() {
    s_.createStreetAtlas = s_.createMapTech = s_.createNatGeo = s_.createOzi = s_.createNatGeoNowCall = false;
    app_.savesettings();
}

void AppHandlers::menucreate_Click(const char* name) {
    struct Family {
        const char* name;
        bool Standin::*flag;
    };
    static const Family families[] = {
        {"menucreatestreetatlasfiles", &Standin::createStreetAtlas},
        {"menucreatemaptechfiles", &Standin::createMapTech},
        {"menucreatenatgeotopofiles", &Standin::createNatGeo},
        {"menucreateozifiles", &Standin::createOzi},
        {"menucreatenatgeotopoNowCallfile", &Standin::createNatGeoNowCall},
    };
    for (const auto& f : families)
        if (std::strcmp(f.name, name) == 0) s_.*f.flag = !(s_.*f.flag);
    app_.savesettings();
}

void AppHandlers::ODFcheckbox_Click() { app_.savesettings(); }

void AppHandlers::toggledebuglog_Click() {
    Marks& m = app_.st.marks;
    if (m.debugLog) {
        m.debugLog = false;
        return;
    }
    m.debugLog = true;
    app_.ctx.ui.message("Turning on the DEBUG LOG will store info in the quorvel.log file for assistance to the "
                        "programmer when needed. ",
                        "Quorvel", Buttons::Ok, Icon::Information);
}

} // namespace qv
