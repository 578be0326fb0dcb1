// What the map-file writer reads besides the report: the chosen map program,
// the family switches of the File menu, capture-all mode, the command line and
// the buttons the writer shows when new data is on disk.
#pragma once

#include <array>
#include <string>
#include <vector>

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

// The display-type options of the map posting frame; at most one is selected.
enum class DisplayOption {
    None = 0,
    OptionMapPostbyTRACK = 1,
    OptionMapPostbyTRACKwLines = 2,
    OptionMapPostOnlyCurrent = 3,
    OptionMapPostOnlyCurrentWithCallsigns = 4,
    OptionMapPostOTHER = 5,
};

inline constexpr const char* kNoticeNotSeen = "Notice Not Seen";
inline constexpr const char* kNoticeSeen = "Notice Seen";
inline constexpr const char* kFromMapButton = "Filter filenames available. Selection made from Map specific button.";

// The file chooser frame "Select a File for Map Posting": a folder list and
// the files of the chosen folder matching the filter.
struct FileChooser {
    bool visible = false;  // FrameFileSelection
    std::string folder;    // Dir1 (and File1's folder)
    std::string pattern;   // File1's filter
    std::string selected;  // File1's selected name, "" when none
    std::string browseTag; // tag of the browse menu item: kFromMapButton while a path button asks
    // What the two lists show, read when the chooser opens or changes folder.
    std::vector<std::string> folders; // Dir1: the folder's sub-folders
    std::vector<std::string> files;   // File1: its files matching the filter
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
    bool menucreategpxfile = true, menucreatekmlfiles = true, menucreategeojsonfile = true; // open formats
    bool preventdupes = true; // checked at start, never saved

    // Capture-all mode: exactly one of the two menu items is checked.
    bool captureallON = false;
    bool captureallOFF = true;
    bool CaptureAllLabel = false; // "Tracking ALL incoming stations"

    // Import files (full paths) and the MapTech import keystrokes derived
    // from the MapTech path by its extension and the import mode.
    std::string importPathMapTech;
    std::string importPathStreetAtlas;
    std::string importPathNatGeoTopo;
    std::string designatedNgTopoMap;
    std::string importKeys = "%mi";

    // Display-type options: the selected one, and which of the five
    // (byTRACK, byTRACKwLines, OnlyCurrent, OnlyCurrentWithCallsigns, OTHER)
    // are enabled.
    DisplayOption display = DisplayOption::None;
    std::array<bool, 5> displayEnabled{true, true, true, true, true};
    int FrameMapPostOptionsHeight = 2775; // twips

    // Posting controls the map options switch.
    bool timedautoimport = false; // "Turn on timed AUTO-Import. "
    bool timedautoimportEnabled = true;
    std::string timedautoimportTag = kNoticeNotSeen;
    bool importtomapnowEnabled = true;
    bool changeimportVisible = true;       // MapTech path button
    bool changeimportSAVisible = true;     // Street Atlas path button
    bool changeimportNGTOPOVisible = true; // TOPO! path button
    FileChooser chooser;

    // The button laid over the configuration boxes: tag "Covered"/"Un-Covered".
    std::string CoverConfigCmdBoxTag = "Un-Covered";
    std::string CoverConfigCmdBoxCaption = "Click to Cover the Configuration boxes";

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
