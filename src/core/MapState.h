// What the map-file writer reads besides the report: the chosen map program,
// the family switches of the File menu, capture-all mode, the command line and
// the buttons the writer shows when new data is on disk.
#pragma once

#include <string>

namespace qv {

inline constexpr const char* kMapStreetAtlas = "streetatlas50";
inline constexpr const char* kMapMapTechStd = "maptechSTD";
inline constexpr const char* kMapMapTechPro = "maptechPRO";
inline constexpr const char* kMapDelormeTopo = "DelormeTOPOusa";
inline constexpr const char* kMapNatGeoTopo = "NatGeoTOPO";
inline constexpr const char* kMapOther = "OtherMaps";
inline constexpr const char* kMapOziLive = "OziLive";

// The map program option buttons; exactly one is selected. The numbers are
// those of the option names (Option1ImportSA .. Option7LivePostOzi).
enum class MapOption {
    None = 0,
    Option1ImportSA = 1,
    Option2ImportMapTech = 2,
    Option3ImportMapTechPRO = 3,
    Option4ImporttoOtherMaps = 4,
    Option5ImportDelormeTOPO = 5,
    Option6ImportNatGeoTOPO = 6,
    Option7LivePostOzi = 7,
};

struct MapState {
    std::string mapType;    // one of the kMap* words
    std::string importMode; // "Stdimport" or "PROimport"
    MapOption option = MapOption::None;
    bool Option7LivePostOzi() const { return option == MapOption::Option7LivePostOzi; }

    // Family switches (menu check marks) and the SPOTFIRES check box.
    bool menucreatestreetatlasfiles = false;
    bool menucreatemaptechfiles = false;
    bool menucreatenatgeotopofiles = false;
    bool menucreateozifiles = false; // shown only; the Ozi files are written regardless
    bool menucreatenatgeotopoNowCallfile = false;
    bool ODFcheckbox = false;
    bool preventdupes = true; // checked at start, never saved

    // Capture-all mode: exactly one of the two menu items is checked.
    bool captureallON = false;
    bool captureallOFF = true;
    bool CaptureAllLabel = false; // "Tracking ALL incoming stations"

    // The program's command line; "import" replays quorvel.imp and makes the
    // writer leave the "now" files alone.
    std::string commandLine;
    bool importRun() const { return commandLine == "import"; }

    // Buttons the writer shows after a pass (the new-data mark itself is
    // Marks::exportarchiveVisible).
    std::string exportarchiveCaption = "ARCHIVE Current Data files";
    bool exportarchiveNoticeVisible = false;
    bool importtomapnowVisible = true;
};

} // namespace qv
