// The file-writing pass: every accepted report of a tracked station goes to
// each enabled map file family in a fixed order, then the capture-all
// rotation runs and serial input is let through again.
#pragma once

#include "core/Context.h"
#include "mapfiles/MapDocuments.h"
#include "mapfiles/TopoNameIndex.h"

#include <array>
#include <string>

namespace qv {

class FileWriter {
public:
    explicit FileWriter(Context& ctx) : ctx_(ctx), docs_(ctx) {}

    void savefiles();

    // Whether the report's marker record (capture-all: Street Atlas record)
    // repeats the last line of the key file; false when the check is off.
    bool duplicate();

    // The GPX, KML and GeoJSON documents, written last.
    const mapfile::MapDocuments& documents() const { return docs_; }

private:
    bool zeroPosition() const;
    void writeNormal(bool isDuplicate);
    void writeCaptureAll(bool isDuplicate);
    void waypoint(bool isDuplicate);
    void complete();
    void handOver();

    Context& ctx_;
    mapfile::TopoNameIndex topoNames_;
    mapfile::MapDocuments docs_;
    std::array<std::string, 9> pltOwners_;
};

} // namespace qv
