// Every user action the window can raise, named after the control and its
// event. The window only calls these; what they do lives in the subsystems.
// A handler not built yet falls through to `pending`, so each control is
// connected from the start and only this list's implementation needs filling in.
#pragma once

#include <string>

namespace qv {

class Handlers {
public:
    virtual ~Handlers() = default;

    // serial link and receive path
    virtual void openportcmd_Click() { pending("openportcmd_Click"); }
    virtual void closeportcmd_Click() { pending("closeportcmd_Click"); }
    virtual void comportmenu_Click() { pending("comportmenu_Click"); }
    virtual void Sendkey_Click() { pending("Sendkey_Click"); }
    virtual void DisplaySend_Click() { pending("DisplaySend_Click"); }
    virtual void hidesend_Click() { pending("hidesend_Click"); }
    virtual void incomingdata_DblClick() { pending("incomingdata_DblClick"); }
    virtual void sendtext_GotFocus() { pending("sendtext_GotFocus"); }
    virtual void mycallmenu_Click() { pending("mycallmenu_Click"); }

    // APRS-IS
    virtual void TelnetActivate_Click() { pending("TelnetActivate_Click"); }
    virtual void stoptelnetconnection_Click() { pending("stoptelnetconnection_Click"); }
    virtual void TelnetActiveLabel_DblClick() { pending("TelnetActiveLabel_DblClick"); }
    virtual void telnetsetup_Click() { pending("telnetsetup_Click"); }

    // slot table; n is the slot 1..8
    virtual void CallsignID_Change(int n) { pending("CallsignID_Change", n); }
    virtual void CallsignID_DblClick(int n) { pending("CallsignID_DblClick", n); }
    virtual void Callsign_DblClick() { pending("Callsign_DblClick"); }
    virtual void clearstationsmenu_Click() { pending("clearstationsmenu_Click"); }
    virtual void Teamname_Change(int n) { pending("Teamname_Change", n); }
    virtual void Teamname_dblclick(int n) { pending("Teamname_dblclick", n); }
    virtual void cleartacticalsmenu_Click() { pending("cleartacticalsmenu_Click"); }
    virtual void callsigntrack_Click(int n) { pending("callsigntrack_Click", n); }
    virtual void autoassigncheckbox_Click() { pending("autoassigncheckbox_Click"); }
    virtual void CheckMapTacticalNames_Click() { pending("CheckMapTacticalNames_Click"); }
    virtual void LabelCallidLetter_DblClick(int n) { pending("LabelCallidLetter_DblClick", n); }
    virtual void soundon_Click() { pending("soundon_Click"); }
    virtual void detectcompressed_Click() { pending("detectcompressed_Click"); }
    virtual void detectobjects_Click() { pending("detectobjects_Click"); }
    virtual void captureallON_Click() { pending("captureallON_Click"); }
    virtual void captureallOFF_Click() { pending("captureallOFF_Click"); }

    // movement and overdue monitor
    virtual void overdue_Change() { pending("overdue_Change"); }
    virtual void CheckTrackOnlyMoving_Click() { pending("CheckTrackOnlyMoving_Click"); }
    virtual void Timer2_Timer() { pending("Timer2_Timer"); }

    // map files and their maintenance
    virtual void preventdupes_Click() { pending("preventdupes_Click"); }
    virtual void exportarchive_Click() { pending("exportarchive_Click"); }
    virtual void deleteTXF_Click() { pending("deleteTXF_Click"); }
    virtual void deleteRXF_Click() { pending("deleteRXF_Click"); }
    virtual void deleteMXF_Click() { pending("deleteMXF_Click"); }
    virtual void deleteMXFHISTORY_Click() { pending("deleteMXFHISTORY_Click"); }
    virtual void deleteRXFHISTORY_Click() { pending("deleteRXFHISTORY_Click"); }
    virtual void deleteWPT_Click() { pending("deleteWPT_Click"); }
    virtual void deletePLTs_Click() { pending("deletePLTs_Click"); }
    virtual void deleteAllNGTOPO_Click() { pending("deleteAllNGTOPO_Click"); }
    virtual void deleteGPX_Click() { pending("deleteGPX_Click"); }
    virtual void deleteKML_Click() { pending("deleteKML_Click"); }
    virtual void deleteGEOJSON_Click() { pending("deleteGEOJSON_Click"); }
    virtual void deletealldatafiles_Click() { pending("deletealldatafiles_Click"); }
    virtual void killeverything_Click() { pending("killeverything_Click"); }
    virtual void deletefileSA5button_Click() { pending("deletefileSA5button_Click"); }
    virtual void deletefileNGTOPObutton_Click() { pending("deletefileNGTOPObutton_Click"); }
    // The view buttons: "txf", "rxf", "mxf", "wpt", "mxfhistory", "rxfhistory",
    // "plt1".."plt8", "SA5" (Command1), "SA" (ViewSA), "NGTOPO" (ViewNGTOPO);
    // from the File menu "gpx", "kml", "geojson".
    virtual void view_Click(const char* which) { pending("view_Click", 0, which); }
    virtual void CreateBogusNGTOPOnowFile_Click() { pending("CreateBogusNGTOPOnowFile_Click"); }

    // map posting and options
    virtual void importtomapnow_Click() { pending("importtomapnow_Click"); }
    virtual void importmenu_Click() { pending("importmenu_Click"); }
    virtual void exportarchiveNotice_Click() { pending("exportarchiveNotice_Click"); }
    virtual void importSA_Click() { pending("importSA_Click"); }
    virtual void autoimport_Click() { pending("autoimport_Click"); }
    virtual void ImportDelormeTopo_Click() { pending("ImportDelormeTopo_Click"); }
    virtual void ImportNatGeoTOPO_Click() { pending("ImportNatGeoTOPO_Click"); }
    virtual void timedautoimport_Click() { pending("timedautoimport_Click"); }
    // The map program options by name ("Option1ImportSA" .. "Option7LivePostOzi")
    // and the display-type options ("OptionMapPostbyTRACK" ..).
    virtual void mapOption_Click(const char* name) { pending("mapOption_Click", 0, name); }
    virtual void displayOption_Click(const char* name) { pending("displayOption_Click", 0, name); }
    virtual void menumapsallON_Click() { pending("menumapsallON_Click"); }
    virtual void menuspeedup_Click() { pending("menuspeedup_Click"); }
    // The map-file family menu items by name ("menucreatestreetatlasfiles" ..,
    // "menucreategpxfile", "menucreatekmlfiles", "menucreategeojsonfile").
    virtual void menucreate_Click(const char* name) { pending("menucreate_Click", 0, name); }
    virtual void ODFcheckbox_Click() { pending("ODFcheckbox_Click"); }
    virtual void autoimportbrowse_Click() { pending("autoimportbrowse_Click"); }
    virtual void changeimport_Click() { pending("changeimport_Click"); }
    virtual void changeimportSA_Click() { pending("changeimportSA_Click"); }
    virtual void changeimportNGTOPO_Click() { pending("changeimportNGTOPO_Click"); }
    virtual void autoimportpath_Click() { pending("autoimportpath_Click"); }
    // The file chooser frame: Dir1 changes folder, File1 selects and accepts a name.
    virtual void Dir1_Change(const std::string& folder) { pending("Dir1_Change", 0, folder.c_str()); }
    virtual void File1_Click(const std::string& name) { pending("File1_Click", 0, name.c_str()); }
    virtual void File1_DblClick() { pending("File1_DblClick"); }
    virtual void Commandyesbrowseimportpath_Click() { pending("Commandyesbrowseimportpath_Click"); }
    virtual void Commandcancelbrowseimportpath_Click() { pending("Commandcancelbrowseimportpath_Click"); }
    virtual void CoverConfigCmdBox_Click() { pending("CoverConfigCmdBox_Click"); }
    virtual void findstaSA5_Click() { pending("findstaSA5_Click"); }

    // the situation map pane: shown, placed, tiles on or off, tile address
    virtual void mapPane_Change() { pending("mapPane_Change"); }

    // configuration, logs, update check
    virtual void configreset_Click() { pending("configreset_Click"); }
    virtual void toggledebuglog_Click() { pending("toggledebuglog_Click"); }
    virtual void checkforupdates_Click() { pending("checkforupdates_Click"); }
    // ending: at once, or after the question
    virtual void exit_Click() { pending("exit_Click"); }
    virtual void exitbutton_Click() { pending("exitbutton_Click"); }

protected:
    // Where an action lands while its handler is not built.
    virtual void pending(const char* name, int n = 0, const char* which = nullptr) {
        (void)name;
        (void)n;
        (void)which;
    }
};

} // namespace qv
