// The one place where window actions meet the subsystems.
#include "shell/window/AppHandlers.h"

#include "platform/Ui.h"
#include "shell/App.h"

#include <cstring>
#include <string>

namespace qv {

namespace {

const char* mapOptionName(MapOption o) {
    switch (o) {
    case MapOption::Option1ImportSA: return "Option1ImportSA";
    case MapOption::Option2ImportMapTech: return "Option2ImportMapTech";
    case MapOption::Option3ImportMapTechPRO: return "Option3ImportMapTechPRO";
    case MapOption::Option4ImporttoOtherMaps: return "Option4ImporttoOtherMaps";
    case MapOption::Option5ImportDelormeTOPO: return "Option5ImportDelormeTOPO";
    case MapOption::Option6ImportNatGeoTOPO: return "Option6ImportNatGeoTOPO";
    case MapOption::Option7LivePostOzi: return "Option7LivePostOzi";
    case MapOption::None: break;
    }
    return "";
}

} // namespace

void AppHandlers::openportcmd_Click() { app_.link.openportcmd_Click(); }
void AppHandlers::closeportcmd_Click() { app_.link.closeportcmd_Click(); }
void AppHandlers::comportmenu_Click() { app_.link.comportmenu_Click(); }
void AppHandlers::Sendkey_Click() { app_.link.Sendkey_Click(); }
void AppHandlers::DisplaySend_Click() { app_.link.DisplaySend_Click(); }
void AppHandlers::hidesend_Click() { app_.link.hidesend_Click(); }
void AppHandlers::incomingdata_DblClick() { app_.link.incomingdata_DblClick(); }
void AppHandlers::sendtext_GotFocus() { app_.link.sendtext_GotFocus(); }
void AppHandlers::mycallmenu_Click() { app_.link.mycallmenu_Click(); }

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
void AppHandlers::detectcompressed_Click() { app_.savesettings(); }
void AppHandlers::detectobjects_Click() { app_.savesettings(); }
void AppHandlers::mapPane_Change() { app_.savesettings(); }
void AppHandlers::overdue_Change() { app_.monitor.overdue_Change(); }
void AppHandlers::CheckTrackOnlyMoving_Click() { app_.monitor.CheckTrackOnlyMoving_Click(); }
void AppHandlers::Timer2_Timer() { app_.monitor.Timer2_Timer(); }

void AppHandlers::captureallON_Click() { app_.captureAll.captureallON_Click(); }
void AppHandlers::captureallOFF_Click() { app_.captureAll.captureallOFF_Click(); }
void AppHandlers::checkforupdates_Click() { app_.updateCheck.checkforupdates_Click(); }

void AppHandlers::preventdupes_Click() { app_.st.map.preventdupes = !app_.st.map.preventdupes; }

void AppHandlers::exportarchive_Click() { app_.archive.exportarchive_Click(); }
void AppHandlers::deleteTXF_Click() { app_.archive.deleteTXF_Click(); }
void AppHandlers::deleteRXF_Click() { app_.archive.deleteRXF_Click(); }
void AppHandlers::deleteMXF_Click() { app_.archive.deleteMXF_Click(); }
void AppHandlers::deleteMXFHISTORY_Click() { app_.archive.deleteMXFHISTORY_Click(); }
void AppHandlers::deleteRXFHISTORY_Click() { app_.archive.deleteRXFHISTORY_Click(); }
void AppHandlers::deleteWPT_Click() { app_.archive.deleteWPT_Click(); }
void AppHandlers::deletePLTs_Click() { app_.archive.deletePLTs_Click(); }
void AppHandlers::deleteAllNGTOPO_Click() { app_.archive.deleteAllNGTOPO_Click(); }
void AppHandlers::deleteGPX_Click() { app_.archive.deleteGPX_Click(); }
void AppHandlers::deleteKML_Click() { app_.archive.deleteKML_Click(); }
void AppHandlers::deleteGEOJSON_Click() { app_.archive.deleteGEOJSON_Click(); }
void AppHandlers::deletealldatafiles_Click() { app_.archive.deletealldatafiles_Click(); }
void AppHandlers::killeverything_Click() { app_.archive.killeverything_Click(); }
void AppHandlers::deletefileSA5button_Click() { app_.archive.deletefileSA5button_Click(); }
void AppHandlers::deletefileNGTOPObutton_Click() { app_.archive.deletefileNGTOPObutton_Click(); }

void AppHandlers::view_Click(const char* which) {
    Archive& a = app_.archive;
    const std::string w = which;
    if (w == "txf")
        a.viewtxf_Click();
    else if (w == "rxf")
        a.viewrxf_Click();
    else if (w == "mxf")
        a.viewmxf_Click();
    else if (w == "wpt")
        a.viewwpt_Click();
    else if (w == "mxfhistory")
        a.viewmxfhistory_Click();
    else if (w == "rxfhistory")
        a.viewrxfhistory_Click();
    else if (w == "SA5")
        a.Command1_Click();
    else if (w == "SA")
        a.ViewSA_Click();
    else if (w == "NGTOPO")
        a.ViewNGTOPO_Click();
    else if (w == "gpx")
        a.viewgpx_Click();
    else if (w == "kml")
        a.viewkml_Click();
    else if (w == "geojson")
        a.viewgeojson_Click();
    else if (w.size() == 4 && w.rfind("plt", 0) == 0)
        a.viewplt_Click(w[3] - '0');
}

void AppHandlers::CreateBogusNGTOPOnowFile_Click() { app_.mapOptions.CreateBogusNGTOPOnowFile_Click(); }

void AppHandlers::importtomapnow_Click() { app_.automation.importtomapnow_Click(); }
void AppHandlers::importmenu_Click() { app_.automation.importmenu_Click(); }
void AppHandlers::exportarchiveNotice_Click() { app_.automation.exportarchiveNotice_Click(); }
void AppHandlers::importSA_Click() { app_.automation.importSA_Click(); }
void AppHandlers::autoimport_Click() { app_.automation.autoimport_Click(); }
void AppHandlers::ImportDelormeTopo_Click() { app_.automation.ImportDelormeTopo_Click(); }
void AppHandlers::ImportNatGeoTOPO_Click() { app_.automation.ImportNatGeoTOPO_Click(); }
void AppHandlers::timedautoimport_Click() { app_.automation.timedautoimport_Click(); }

// An option button already selected does not click again.
void AppHandlers::mapOption_Click(const char* name) {
    for (int i = 1; i <= 7; ++i) {
        const auto option = static_cast<MapOption>(i);
        if (std::strcmp(mapOptionName(option), name) == 0) app_.mapOptions.selectMapOption(option);
    }
}

void AppHandlers::displayOption_Click(const char* name) {
    for (int i = 1; i <= 5; ++i) {
        const auto option = static_cast<DisplayOption>(i);
        if (std::strcmp(MapOptions::displayName(option), name) == 0) app_.mapOptions.selectDisplay(option);
    }
}

void AppHandlers::menumapsallON_Click() { app_.mapOptions.menumapsallON_Click(); }
void AppHandlers::menuspeedup_Click() { app_.mapOptions.menuspeedup_Click(); }

void AppHandlers::menucreate_Click(const char* name) {
    MapOptions& m = app_.mapOptions;
    const std::string n = name;
    if (n == "menucreatestreetatlasfiles")
        m.menucreatestreetatlasfiles_Click();
    else if (n == "menucreatemaptechfiles")
        m.menucreatemaptechfiles_Click();
    else if (n == "menucreatenatgeotopofiles")
        m.menucreatenatgeotopofiles_Click();
    else if (n == "menucreateozifiles")
        m.menucreateozifiles_Click();
    else if (n == "menucreatenatgeotopoNowCallfile")
        m.menucreatenatgeotopoNowCallfile_Click();
    else if (n == "menucreategpxfile")
        m.menucreategpxfile_Click();
    else if (n == "menucreatekmlfiles")
        m.menucreatekmlfiles_Click();
    else if (n == "menucreategeojsonfile")
        m.menucreategeojsonfile_Click();
}

void AppHandlers::ODFcheckbox_Click() { app_.mapOptions.ODFcheckbox_Click(); }
void AppHandlers::autoimportbrowse_Click() { app_.mapOptions.autoimportbrowse_Click(); }
void AppHandlers::changeimport_Click() { app_.mapOptions.changeimport_Click(); }
void AppHandlers::changeimportSA_Click() { app_.mapOptions.changeimportSA_Click(); }
void AppHandlers::changeimportNGTOPO_Click() { app_.mapOptions.changeimportNGTOPO_Click(); }
void AppHandlers::autoimportpath_Click() { app_.mapOptions.autoimportpath_Click(); }
void AppHandlers::Dir1_Change(const std::string& folder) { app_.mapOptions.Dir1_Change(folder); }
void AppHandlers::File1_Click(const std::string& name) { app_.mapOptions.File1_Click(name); }
void AppHandlers::File1_DblClick() { app_.mapOptions.File1_DblClick(); }
void AppHandlers::Commandyesbrowseimportpath_Click() { app_.mapOptions.Commandyesbrowseimportpath_Click(); }
void AppHandlers::Commandcancelbrowseimportpath_Click() { app_.mapOptions.Commandcancelbrowseimportpath_Click(); }
void AppHandlers::CoverConfigCmdBox_Click() { app_.mapOptions.CoverConfigCmdBox_Click(); }
void AppHandlers::findstaSA5_Click() { app_.findStation.findstaSA5_Click(); }

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
