// The packets of tests/data/decoders/decode-aprs.txt (from APRS 1.01, public
// parser test suites and made up for the new kinds) through the whole receive
// path, against Debian's decode_aprs (package direwolf) on the same file:
// every position within 0.0001 degree, and where the comment carries a !DAO!,
// the longitude minutes show the same extra digit. (The latitude field is
// rounded to four decimal degrees, which hides its digit.)
#include "DecoderHarness.h"
#include "decoders/Dao.h"
#include "shell/App.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

using namespace qv;

namespace {

struct Printed {
    double latitude, longitude;
    std::string lonMinutes; // "01.7520"
};

// decode_aprs echoes each packet, then describes it; the first line of the
// form "N 49 03.5000, W 072 01.7500" after it is its position.
std::map<std::string, Printed> decodeAprs(const std::string& file) {
    std::string text;
    if (FILE* p = ::popen(("decode_aprs < " + file + " 2>&1").c_str(), "r")) {
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;)
            text.append(buf, n);
        ::pclose(p);
    }
    std::istringstream in(std::regex_replace(text, std::regex("\x1b\\[[0-9;]*[A-Za-z]"), ""));
    const std::regex position("^([NS]) (\\d+) (\\d+\\.\\d+), ([EW]) (\\d+) (\\d+\\.\\d+)");
    std::map<std::string, Printed> out;
    std::string packet;
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        if (line.find('>') != std::string::npos && line.find(':') != std::string::npos)
            packet = line;
        else if (!packet.empty() && !out.count(packet) && std::regex_search(line, m, position))
            out[packet] = {(std::stod(m[2]) + std::stod(m[3]) / 60) * (m[1] == "S" ? -1 : 1),
                           (std::stod(m[5]) + std::stod(m[6]) / 60) * (m[4] == "W" ? -1 : 1), m[6]};
    }
    return out;
}

} // namespace

TEST(DecodeAprsAgreement, EveryNewKindDecodesWhereDecodeAprsPutsIt) {
    if (std::system("command -v decode_aprs >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "decode_aprs (package direwolf) not installed";
    const std::string file = std::string(QUORVEL_TEST_DATA) + "/decoders/decode-aprs.txt";
    const auto printed = decodeAprs(file);
    test::TempDir tmp;
    test::FakeUi ui;
    test::FakeClock clock;
    App app(tmp.path(), ui, clock);
    std::ifstream in(file);
    int packets = 0;
    for (std::string packet; std::getline(in, packet); ++packets) {
        SCOPED_TRACE(packet);
        const auto it = printed.find(packet);
        ASSERT_NE(it, printed.end()) << "decode_aprs printed no position";
        auto& r = app.st.report;
        r.dataline = r.incomingdata = packet;
        app.inspectdataline();
        ASSERT_FALSE(r.stationcallsign.empty()) << "dropped: " << tmp.read(kErrorFile);
        const double lon = std::stod(r.longitude);
        EXPECT_NEAR(std::stod(r.latitude), it->second.latitude, 1e-4);
        EXPECT_NEAR(lon, it->second.longitude, 1e-4);
        if (dao::find(packet.substr(packet.find(':'))).lonDigit >= 0) {
            char mine[16];
            std::snprintf(mine, sizeof mine, "%07.4f", (std::fabs(lon) - std::floor(std::fabs(lon))) * 60);
            EXPECT_EQ(mine[5], it->second.lonMinutes[5]) << mine << " against " << it->second.lonMinutes;
        }
    }
    EXPECT_GT(packets, 30);
    EXPECT_EQ(tmp.read(kErrorFile), "");
}
