// The record texts built for each report and written unchanged by the file writer.
#pragma once

#include <string>

namespace qv {

struct RecordState {
    std::string mxfstring, rxfstring, txfstring, wptstring, pltstring, sa5string;
    std::string ngtopostring, ngtopocallstring, spotfirestring, ozicolor;
};

} // namespace qv
