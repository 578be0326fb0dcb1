// The OziExplorer library stand-in for platforms without it.
#include "core/Failure.h"
#include "platform/OziApi.h"

namespace qv {

namespace {
[[noreturn]] void missing() { throw Failure(48, "Error in loading DLL"); }
} // namespace

int MissingOziApi::oziDeleteWpByName(const std::string&) { missing(); }
int MissingOziApi::oziCreateTrackPoint(int, int, double, double, double, double) { missing(); }
int MissingOziApi::oziCreateWP(const std::string&, int, double, double, double, double, int, int, int, int, int, int,
                               const std::string&, int, int, int) {
    missing();
}
int MissingOziApi::oziRefreshMap() { missing(); }
int MissingOziApi::oziSaveWPfile(const std::string&) { missing(); }

} // namespace qv
