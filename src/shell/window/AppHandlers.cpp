// The one place where window actions meet the subsystems.
#include "shell/window/AppHandlers.h"

#include "platform/Ui.h"
#include "shell/App.h"
#include "shell/window/Standin.h"

#include <cstring>

namespace qv {

void AppHandlers::openportcmd_Click() { app_.link.openportcmd_Click(); }
void AppHandlers::closeportcmd_Click() { app_.link.closeportcmd_Click(); }
void AppHandlers::comportmenu_Click() { app_.link.comportmenu_Click(); }
void AppHandlers::Sendkey_Click() { app_.link.Sendkey_Click(); }
void AppHandlers::DisplaySend_Click() { app_.link.DisplaySend_Click(); }
void AppHandlers::hidesend_Click() { app_.link.hidesend_Click(); }
void AppHandlers::incomingdata_DblClick() { app_.link.incomingdata_DblClick(); }
void AppHandlers::sendtext_GotFocus() { app_.link.sendtext_GotFocus(); }

void AppHandlers::TelnetActivate_Click() { app_.telnet.TelnetActivate_Click(); }
void AppHandlers::stoptelnetconnection_Click() { app_.telnet.stoptelnetconnection_Click(); }
void AppHandlers::TelnetActiveLabel_DblClick() { app_.telnet.TelnetActiveLabel_DblClick(); }
void AppHandlers::telnetsetup_Click() { app_.telnet.telnetsetup_Click(); }

void AppHandlers::CallsignID_Change(int n) { app_.slotTable.CallsignID_Change(n); }
void AppHandlers::CallsignID_DblClick(int n) { app_.slotTable.CallsignID_DblClick(n); }
void AppHandlers::Callsign_DblClick() { app_.slotTable.Callsign_DblClick(); }
void AppHandlers::clearstationsmenu_Click() { app_.slotTable.clearstationsmenu_Click(); }
void AppHandlers::Teamname_Change(int n) { app_.slotTable.Teamname_Change(n); }
void AppHandlers::Teamname_dblclick(int n) { app_.slotTable.Teamname_dblclick(n); }
void AppHandlers::cleartacticalsmenu_Click() { app_.slotTable.cleartacticalsmenu_Click(); }
void AppHandlers::callsigntrack_Click(int n) { app_.slotTable.callsigntrack_Click(n); }
void AppHandlers::autoassigncheckbox_Click() { app_.slotTable.autoassigncheckbox_Click(); }
void AppHandlers::CheckMapTacticalNames_Click() { app_.slotTable.CheckMapTacticalNames_Click(); }
void AppHandlers::LabelCallidLetter_DblClick(int n) { app_.slotTable.LabelCallidLetter_DblClick(n); }

void AppHandlers::soundon_Click() { app_.savesettings(); }
void AppHandlers::overdue_Change() { app_.monitor.overdue_Change(); }
void AppHandlers::CheckTrackOnlyMoving_Click() { app_.monitor.CheckTrackOnlyMoving_Click(); }
void AppHandlers::Timer2_Timer() { app_.monitor.Timer2_Timer(); }

void AppHandlers::captureallON_Click() { app_.captureAll.captureallON_Click(); }
void AppHandlers::captureallOFF_Click() { app_.captureAll.captureallOFF_Click(); }

void AppHandlers::preventdupes_Click() { app_.st.map.preventdupes = !app_.st.map.preventdupes; }

namespace {

struct Family {
    const char* name;
    bool MapState::*flag;
};

const Family kFamilies[] = {
    {"menucreatestreetatlasfiles", &MapState::menucreatestreetatlasfiles},
    {"menucreatemaptechfiles", &MapState::menucreatemaptechfiles},
    {"menucreatenatgeotopofiles", &MapState::menucreatenatgeotopofiles},
    {"menucreateozifiles", &MapState::menucreateozifiles},
    {"menucreatenatgeotopoNowCallfile", &MapState::menucreatenatgeotopoNowCallfile},
};

} // namespace

void AppHandlers::menumapsallON_Click() {
    for (const auto& f : kFamilies)
        app_.st.map.*f.flag = true;
    app_.savesettings();
}

void AppHandlers::menuspeedup_Click() {
    for (const auto& f : kFamilies)
        app_.st.map.*f.flag = false;
    app_.savesettings();
}

void AppHandlers::menucreate_Click(const char* name) {
    for (const auto& f : kFamilies)
        if (std::strcmp(f.name, name) == 0) app_.st.map.*f.flag = !(app_.st.map.*f.flag);
    app_.savesettings();
}

void AppHandlers::ODFcheckbox_Click() { app_.savesettings(); }

void AppHandlers::configreset_Click() { app_.settings.configreset_Click(); }
void AppHandlers::exit_Click() { app_.startup.exit_Click(); }
void AppHandlers::exitbutton_Click() { app_.startup.exitbutton_Click(); }

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
