// The handlers of the running program: each user action of the window goes to
// the subsystem that owns it. Actions whose subsystem has not arrived yet fall
// through to `pending` and do nothing.
#pragma once

#include "shell/window/Handlers.h"

namespace qv {

class App;

class AppHandlers final : public Handlers {
public:
    explicit AppHandlers(App& app) : app_(app) {}

    void openportcmd_Click() override;
    void closeportcmd_Click() override;
    void comportmenu_Click() override;
    void Sendkey_Click() override;
    void DisplaySend_Click() override;
    void hidesend_Click() override;
    void incomingdata_DblClick() override;
    void sendtext_GotFocus() override;
    void mycallmenu_Click() override;

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
    void detectcompressed_Click() override;
    void detectobjects_Click() override;
    void overdue_Change() override;
    void CheckTrackOnlyMoving_Click() override;
    void Timer2_Timer() override;
    void captureallON_Click() override;
    void captureallOFF_Click() override;
    void checkforupdates_Click() override;

    void preventdupes_Click() override;
    void exportarchive_Click() override;
    void deleteTXF_Click() override;
    void deleteRXF_Click() override;
    void deleteMXF_Click() override;
    void deleteMXFHISTORY_Click() override;
    void deleteRXFHISTORY_Click() override;
    void deleteWPT_Click() override;
    void deletePLTs_Click() override;
    void deleteAllNGTOPO_Click() override;
    void deleteGPX_Click() override;
    void deleteKML_Click() override;
    void deleteGEOJSON_Click() override;
    void deletealldatafiles_Click() override;
    void killeverything_Click() override;
    void deletefileSA5button_Click() override;
    void deletefileNGTOPObutton_Click() override;
    void view_Click(const char* which) override;
    void CreateBogusNGTOPOnowFile_Click() override;

    void importtomapnow_Click() override;
    void importmenu_Click() override;
    void exportarchiveNotice_Click() override;
    void importSA_Click() override;
    void autoimport_Click() override;
    void ImportDelormeTopo_Click() override;
    void ImportNatGeoTOPO_Click() override;
    void timedautoimport_Click() override;
    void mapOption_Click(const char* name) override;
    void displayOption_Click(const char* name) override;
    void menumapsallON_Click() override;
    void menuspeedup_Click() override;
    void menucreate_Click(const char* name) override;
    void ODFcheckbox_Click() override;
    void autoimportbrowse_Click() override;
    void changeimport_Click() override;
    void changeimportSA_Click() override;
    void changeimportNGTOPO_Click() override;
    void autoimportpath_Click() override;
    void Dir1_Change(const std::string& folder) override;
    void File1_Click(const std::string& name) override;
    void File1_DblClick() override;
    void Commandyesbrowseimportpath_Click() override;
    void Commandcancelbrowseimportpath_Click() override;
    void CoverConfigCmdBox_Click() override;
    void findstaSA5_Click() override;

    void mapPane_Change() override;

    void configreset_Click() override;
    void toggledebuglog_Click() override;
    void exit_Click() override;
    void exitbutton_Click() override;

private:
    App& app_;
};

} // namespace qv
