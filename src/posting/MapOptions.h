// The map program options, the display-type options, the map-file family
// switches of the File menu, the choice of each map program's import file and
// the MapTech import keystrokes derived from it.
#pragma once

#include "core/MapState.h"

#include <string>
#include <vector>

namespace qv {

struct Context;

class MapOptions {
public:
    explicit MapOptions(Context& ctx) : ctx_(ctx) {}

    // Map program options.
    void Option1ImportSA_Click();
    void Option2ImportMapTech_Click();
    void Option3ImportMapTechPRO_Click();
    void Option4ImporttoOtherMaps_Click();
    void Option5ImportDelormeTOPO_Click();
    void Option6ImportNatGeoTOPO_Click();
    void Option7LivePostOzi_Click();
    // Selecting an option button from code: runs its click handler when the
    // selection changes, as a click would.
    void selectMapOption(MapOption option);
    // The settings loader has set the option button named ("Option2ImportMapTech" ...);
    // runs its click handler.
    void selectMapOption(const std::string& optionName);

    // Display-type options.
    void OptionMapPostbyTRACK_Click();
    void OptionMapPostbyTRACKwLines_Click();
    void OptionMapPostOnlyCurrent_Click();
    void OptionMapPostOnlyCurrentWithCallsigns_Click();
    void OptionMapPostOTHER_Click();
    void selectMapDataFormat(const std::string& optionName);
    void selectDisplay(DisplayOption option);
    static const char* displayName(DisplayOption option);

    void selectmapdatadisplaytype();
    void checkimportfilename();

    // Map-file families (File menu) and the SPOTFIRES check box.
    void menumapsallON_Click();
    void menuspeedup_Click();
    void menucreatestreetatlasfiles_Click();
    void menucreatemaptechfiles_Click();
    void menucreatenatgeotopofiles_Click();
    void menucreateozifiles_Click();
    void menucreatenatgeotopoNowCallfile_Click();
    // The open formats, outside the choice of a map program.
    void menucreategpxfile_Click();
    void menucreatekmlfiles_Click();
    void menucreategeojsonfile_Click();
    void ODFcheckbox_Click();

    // The file chooser.
    void autoimportbrowse_Click();
    void changeimport_Click();
    void changeimportSA_Click();
    void changeimportNGTOPO_Click();
    void Dir1_Change(const std::string& folder);
    void File1_Click(const std::string& name); // selects a name of the list
    void File1_DblClick();
    void Commandyesbrowseimportpath_Click();
    void Commandcancelbrowseimportpath_Click();
    // The names File1 lists: files of the chosen folder matching the filter.
    std::vector<std::string> File1Names() const;
    // The names Dir1 lists: sub-folders of the chosen folder.
    std::vector<std::string> Dir1Names() const;

    void autoimportpath_Click();
    void CreateBogusNGTOPOnowFile_Click();
    void CoverConfigCmdBox_Click();

    // The extension that decides the MapTech import keys: the import file's
    // name from its first "." on ("" without one).
    static std::string importExtension(const std::string& path);

    // What a map program option switches (one row of the option table).
    struct Row;

private:
    void applyMapOption(const Row& row);
    void desktopFamiliesOff();
    void notice(const std::string& text);
    std::string inWorkDir(const char* file) const;
    bool pathsFollowDisplay() const;
    void setTimedPosting(bool on);
    void listChooser();
    void displayChosen(bool tacticalNames, int frameHeight);

    Context& ctx_;
    bool oziMissingTold_ = false; // the missing OziExplorer library is told once a run
};

} // namespace qv
