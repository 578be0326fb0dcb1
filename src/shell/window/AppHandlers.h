// The handlers of the running program: each user action of the window goes to
// the subsystem that owns it. Actions whose subsystem has not arrived yet fall
// through to `pending` and do nothing.
#pragma once

#include "shell/window/Handlers.h"

namespace qv {

class App;
struct Standin;

class AppHandlers final : public Handlers {
public:
    AppHandlers(App& app, Standin& standin) : app_(app), s_(standin) {}

    void openportcmd_Click() override;
    void closeportcmd_Click() override;
    void comportmenu_Click() override;
    void Sendkey_Click() override;
    void DisplaySend_Click() override;
    void hidesend_Click() override;
    void incomingdata_DblClick() override;
    void sendtext_GotFocus() override;

    void TelnetActivate_Click() override;
    void stoptelnetconnection_Click() override;
    void TelnetActiveLabel_DblClick() override;
    void telnetsetup_Click() override;

    void CallsignID_Change(int n) override;
    void CallsignID_DblClick(int n) override;
    void Callsign_DblClick() override;
    void clearstationsmenu_Click() override;
    void Teamname_Change(int n) override;
    void Teamname_dblclick(int n) override;
    void cleartacticalsmenu_Click() override;
    void callsigntrack_Click(int n) override;
    void autoassigncheckbox_Click() override;
    void CheckMapTacticalNames_Click() override;
    void LabelCallidLetter_DblClick(int n) override;
    void soundon_Click() override;
    void overdue_Change() override;
    void CheckTrackOnlyMoving_Click() override;
    void Timer2_Timer() override;
    void captureallON_Click() override;
    void captureallOFF_Click() override;

    void preventdupes_Click() override;
    void menumapsallON_Click() override;
    void menuspeedup_Click() override;
    void menucreate_Click(const char* name) override;
    void ODFcheckbox_Click() override;

    void configreset_Click() override;
    void toggledebuglog_Click() override;
    void exit_Click() override;
    void exitbutton_Click() override;

private:
    App& app_;
    Standin& s_;
};

} // namespace qv
