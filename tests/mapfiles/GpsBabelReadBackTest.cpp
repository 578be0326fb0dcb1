// The files read back by a real reader of the formats: GPSBabel must find the
// positions and names we wrote in the Ozi waypoint and track files and the
// MapTech marker file.
#include "MapFilesRig.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace qv;
using namespace qv::test;

namespace {

bool haveGpsBabel() { return std::system("gpsbabel -V >/dev/null 2>&1") == 0; }

std::string run(const std::string& cmd) {
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> p(popen(cmd.c_str(), "r"), pclose);
    if (!p) return out;
    std::array<char, 4096> buf;
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), p.get())) > 0)
        out.append(buf.data(), n);
    return out;
}

} // namespace

TEST(GpsBabelReadBack, OziAndMapTechFilesReadBackWithPositionsAndNames) {
    if (!haveGpsBabel()) GTEST_SKIP() << "gpsbabel not installed";
    Rig rig;
    rig.st.map.menucreatemaptechfiles = true;
    rig.slotReport(1, "N0CALL", "45.5123", "-122.6", 9, 5);
    rig.writer.savefiles();
    rig.slotReport(1, "N0CALL", "45.52", "-122.61", 9, 6);
    rig.writer.savefiles();
    const std::string d = rig.tmp.path().string() + "/";

    const std::string wpt = run("gpsbabel -i ozi -f '" + d + "quorvel.wpt' -o unicsv -F - 2>&1");
    EXPECT_NE(wpt.find("45.512300,-122.600000,\"09:05\",\"N0CALL @ 12/7/2026 09:05\""), std::string::npos) << wpt;
    EXPECT_NE(wpt.find("45.520000,-122.610000,\"09:06\""), std::string::npos) << wpt;

    const std::string plt = run("gpsbabel -t -i ozi -f '" + d + "quorvelID1.plt' -o gpx -F - 2>&1");
    EXPECT_NE(plt.find("<name>N0CALL</name>"), std::string::npos) << plt;
    EXPECT_NE(plt.find("lat=\"45.512300000\" lon=\"-122.600000000\""), std::string::npos) << plt;
    EXPECT_NE(plt.find("lat=\"45.520000000\" lon=\"-122.610000000\""), std::string::npos) << plt;

    const std::string mxf = run("gpsbabel -i mxf -f '" + d + "quorvel.mxf' -o unicsv -F - 2>&1");
    EXPECT_NE(mxf.find("45.512300,-122.600000,\"12/7/2026 09:05\",\"A:09:05\""), std::string::npos) << mxf;
    EXPECT_NE(mxf.find("45.520000,-122.610000,\"12/7/2026 09:06\",\"A:09:06\""), std::string::npos) << mxf;
}
