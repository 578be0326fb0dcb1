// The packets of tests/data/decoders/decode-aprs.txt through the whole
// receive path, against Debian's decode_aprs (package direwolf) on the same
// file: every position within 0.0001 degree, and where the comment carries a
// !DAO!, the longitude minutes show the same extra digit. (The latitude field
// is rounded to four decimal degrees, which hides its extra digit; the
// decoders' own tests check that one.)
#include "DecoderHarness.h"
#include "decoders/Dao.h"
#include "shell/App.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

using namespace qv;

namespace {

const std::string kVectors = std::string(QUORVEL_TEST_DATA) + "/decoders/decode-aprs.txt";

struct Printed {
    double latitude = 0, longitude = 0;
    std::string lonMinutes; // as printed, "01.7520"
};

// decode_aprs echoes each packet, then describes it; the first line of the
// form "N 49 03.5000, W 072 01.7500" is its position.
std::map<std::string, Printed> decodeAprs(const std::vector<std::string>& packets) {
    std::map<std::string, Printed> out;
    FILE* p = ::popen(("decode_aprs < " + kVectors + " 2>&1").c_str(), "r");
    if (!p) return out;
    std::string text;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;)
        text.append(buf, n);
    ::pclose(p);
    text = std::regex_replace(text, std::regex("\x1b\\[[0-9;]*[A-Za-z]"), "");
    const std::regex position("^([NS]) (\\d+) (\\d+\\.\\d+), ([EW]) (\\d+) (\\d+\\.\\d+)");
    std::string current;
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t end = text.find('\n', from);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(from, end - from);
        from = end + 1;
        if (std::find(packets.begin(), packets.end(), line) != packets.end()) {
            current = line;
            continue;
        }
        std::smatch m;
        if (current.empty() || out.count(current) || !std::regex_search(line, m, position)) continue;
        Printed d;
        d.latitude = (std::stod(m[2]) + std::stod(m[3]) / 60) * (m[1] == "S" ? -1 : 1);
        d.longitude = (std::stod(m[5]) + std::stod(m[6]) / 60) * (m[4] == "W" ? -1 : 1);
        d.lonMinutes = m[6];
        out[current] = d;
    }
    return out;
}

bool haveDecodeAprs() { return std::system("command -v decode_aprs >/dev/null 2>&1") == 0; }

} // namespace

TEST(DecodeAprsAgreement, EveryNewKindDecodesWhereDecodeAprsPutsIt) {
    if (!haveDecodeAprs()) GTEST_SKIP() << "decode_aprs (package direwolf) not installed";
    std::vector<std::string> packets;
    std::ifstream in(kVectors);
    for (std::string l; std::getline(in, l);)
        if (!l.empty()) packets.push_back(l);
    ASSERT_GT(packets.size(), 30u);
    const auto printed = decodeAprs(packets);

    test::TempDir tmp;
    test::FakeUi ui;
    test::FakeClock clock;
    App app(tmp.path(), ui, clock);
    app.st.tracking.autoassigncheckbox = false;
    for (const auto& packet : packets) {
        SCOPED_TRACE(packet);
        const auto it = printed.find(packet);
        ASSERT_NE(it, printed.end()) << "decode_aprs printed no position";
        auto& r = app.st.report;
        r.dataline = r.incomingdata = packet;
        app.inspectdataline();
        ASSERT_FALSE(r.stationcallsign.empty()) << "dropped: " << tmp.read(kErrorFile);
        const double lat = std::stod(r.latitude), lon = std::stod(r.longitude);
        EXPECT_NEAR(lat, it->second.latitude, 1e-4);
        EXPECT_NEAR(lon, it->second.longitude, 1e-4);

        // Printed as decode_aprs prints them, the minutes show the same
        // thousandths digit.
        const dao::Extension x = dao::find(packet.substr(packet.find(':') + 1));
        if (x.found && x.lonDigit >= 0) {
            char mine[16];
            std::snprintf(mine, sizeof mine, "%07.4f", (std::fabs(lon) - std::floor(std::fabs(lon))) * 60);
            EXPECT_EQ(mine[5], it->second.lonMinutes[5]) << mine << " " << it->second.lonMinutes;
        }
        r.dataline.clear();
    }
    EXPECT_EQ(tmp.read(kErrorFile), "");
}
