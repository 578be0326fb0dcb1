// Posting the map files into a running map program: its window is found by
// title, brought to the front and driven through its import dialog with
// synthesised keystrokes; on demand, from the menu and buttons, or once a
// minute from Timer1.
#pragma once

#include "platform/WindowKeys.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace qv {

struct Context;
class MapOptions;

class MapAutomation {
public:
    MapAutomation(Context& ctx, MapOptions& options) : ctx_(ctx), options_(options) {}

    // Sets Timer1 up (60 s, stopped) once ctx.timer1 is there.
    void attach();

    void importtomapnow_Click();
    void importmenu_Click() { importtomapnow_Click(); }
    void exportarchiveNotice_Click();
    void importSA_Click();          // "Manual Street Atlas Import"
    void autoimport_Click();        // "IMPORT to MapTech and Archive"
    void ImportDelormeTopo_Click(); // "Manual Import Delorme TopoUSA"
    void ImportNatGeoTOPO_Click();  // "Manual Import Nat.Geo. TOPO!"
    void timedautoimport_Click();
    void Timer1_Timer();

    // Looks for a window whose title contains the text of PGMmessage; on a
    // match appends " Found" to it and activates that window.
    void importmapfindprogram();

    // The pause of the MapTech posting before its closing key, so the import
    // dialog can finish (a little over two seconds).
    void setMapTechWait(std::chrono::milliseconds wait) { mapTechWait_ = wait; }
    bool posting() const { return busy_; }

    // One step of a posting script.
    struct Step {
        bool events; // let pending window events run instead of typing
        std::vector<KeyEvent> keys;
    };

private:
    bool exclusive(const std::function<void()>& run);
    bool findProgram(const std::string& searchName);
    void perform(const std::vector<Step>& steps);
    void postingFailed(const char* warning, const char* marker);
    void postStreetAtlas();
    void postMapTech();
    void postDelormeTopo();
    void postNatGeoTopo();
    void manualImportNotice();
    bool mapTechFileExists(const std::string& path) const;

    Context& ctx_;
    MapOptions& options_;
    bool busy_ = false;
    std::chrono::milliseconds mapTechWait_{2200};
};

} // namespace qv
