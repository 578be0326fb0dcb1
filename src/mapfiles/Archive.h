// Archiving the MapTech and OziExplorer waypoint files into numbered sets
// under data/, and the File-menu commands that delete or show the map files.
#pragma once

#include <string>

namespace qv {

struct Context;

class Archive {
public:
    explicit Archive(Context& ctx) : ctx_(ctx) {}

    // The archive set name for a number: "./data/quorvel01" .. "./data/quorvel09",
    // then "./data/quorvel10", ...
    static std::string setName(long n);

    void exportarchive_Click();

    void deleteTXF_Click();
    void deleteRXF_Click();
    void deleteMXF_Click();
    void deleteMXFHISTORY_Click();
    void deleteRXFHISTORY_Click();
    void deleteWPT_Click();
    void deletePLTs_Click();
    void deleteAllNGTOPO_Click();
    void deleteGPX_Click();
    void deleteKML_Click(); // the document and its live link
    void deleteGEOJSON_Click();
    void deletefileSA5button_Click();
    void deletefileNGTOPObutton_Click();
    void deletealldatafiles_Click();
    void killeverything_Click();

    void viewtxf_Click();
    void viewrxf_Click();
    void viewmxf_Click();
    void viewwpt_Click();
    void viewmxfhistory_Click();
    void viewrxfhistory_Click();
    void viewplt_Click(int n); // viewplt1 .. viewplt8
    void Command1_Click();     // "VIEW/EDIT *SA5.txt"
    void ViewSA_Click();
    void ViewNGTOPO_Click();
    void viewgpx_Click();
    void viewkml_Click();
    void viewgeojson_Click();

private:
    bool confirmed(const std::string& question);
    void deleteQuietly(const std::string& name);
    void deletePathQuietly(const std::string& path);
    void view(const std::string& name, const std::string& missingText, const char* marker);
    void viewImportPath(const std::string& path, const char* notSelected, bool streetAtlas, const char* marker);
    void openEditor(const std::string& fullPath, const char* marker);
    // The names of those present that could not be archived.
    std::string archiveOpenFormats(const std::string& base);

    Context& ctx_;
};

} // namespace qv
