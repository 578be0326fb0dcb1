// Garbled copies of real lines through every decoder: none may crash, and none
// may let a report through that still carries the previous report's fields.
#include "DecoderHarness.h"
#include "core/NumberText.h"
#include "decoders/MicE.h"
#include "decoders/Nmea.h"
#include "decoders/Waypoints.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <random>

using namespace qv;
using qv::test::DecoderHarness;

namespace {

struct Decoder {
    const char* name;
    std::string sample;
    std::function<void(DecoderHarness&, const std::string&)> run;
};

std::string garble(std::string s, std::mt19937& rng) {
    std::uniform_int_distribution<int> byte(0, 255);
    const int edits = std::uniform_int_distribution<int>(1, 4)(rng);
    for (int i = 0; i < edits; ++i) {
        const std::size_t at = s.empty() ? 0 : std::uniform_int_distribution<std::size_t>(0, s.size() - 1)(rng);
        switch (std::uniform_int_distribution<int>(0, 3)(rng)) {
        case 0:
            if (!s.empty()) s[at] = static_cast<char>(byte(rng));
            break;
        case 1: s.insert(at, 1, ",:>'`"[std::uniform_int_distribution<int>(0, 4)(rng)]); break;
        case 2:
            if (!s.empty()) s.erase(at, 1);
            break;
        default: s.resize(at); break;
        }
    }
    return s;
}

bool accepted(const ReportState& r) {
    auto is = [](const std::string& v, const char* a, const char* b) {
        return v.size() == 1 && (std::toupper(static_cast<unsigned char>(v[0])) == a[0] ||
                                 std::toupper(static_cast<unsigned char>(v[0])) == b[0]);
    };
    return r.rawgpsdata.rfind("ERROR", 0) != 0 && is(r.northsouth, "N", "S") && is(r.eastwest, "E", "W");
}

const Decoder kDecoders[] = {
    {"micencoded", "KF7ABC-9>SWTVXX,K7XYZ-3*,WIDE2-1:`25-l\"Ok/]\"4T}",
     [](DecoderHarness& h, const std::string& l) {
         h.st.report.micedata = l;
         MicE(h.ctx).micencoded();
     }},
    {"gpgga", "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47",
     [](DecoderHarness& h, const std::string& l) {
         h.st.report.ggadata = l;
         Nmea(h.ctx).gpgga();
     }},
    {"gprmc", "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A",
     [](DecoderHarness& h, const std::string& l) {
         h.st.report.rawgpsdata = l;
         Nmea(h.ctx).gprmc();
     }},
    {"gpwpl", "$GPWPL,4807.04,N,01131.00,E,WPTNME*53",
     [](DecoderHarness& h, const std::string& l) {
         h.st.report.gpwpldata = h.st.report.rawgpsdata = l;
         Waypoints(h.ctx).gpwpl();
     }},
    {"gpwgt", "$GPWGT,1,45.5123,N,122.6876,W,0,0,0,KD7ABC",
     [](DecoderHarness& h, const std::string& l) {
         h.st.report.gpwgtdata = l;
         Waypoints(h.ctx).gpwgt();
     }},
};

} // namespace

TEST(GarbledInput, NoAcceptedReportKeepsAStaleField) {
    std::mt19937 rng(20260107);
    for (const auto& d : kDecoders) {
        DecoderHarness h;
        int acceptedCount = 0;
        for (int i = 0; i < 250; ++i) {
            const std::string line = garble(d.sample, rng);
            h.st.report.latitude = h.st.report.longitude = "STALE";
            h.st.report.northsouth = "N";
            h.st.report.eastwest = "E";
            d.run(h, line);
            if (!accepted(h.st.report)) continue;
            ++acceptedCount;
            EXPECT_NE(h.st.report.latitude, "STALE") << d.name << ": " << line;
            EXPECT_NE(h.st.report.longitude, "STALE") << d.name << ": " << line;
            EXPECT_TRUE(num::isNumeric(h.st.report.latitude)) << d.name << ": " << line;
            EXPECT_TRUE(num::isNumeric(h.st.report.longitude)) << d.name << ": " << line;
        }
        EXPECT_GT(acceptedCount, 0) << d.name; // the garbling leaves some lines intact enough to decode
    }
}

// A line end is never data: a field that ends at one is as short as it looks,
// and what follows it belongs to another line.
TEST(GarbledInput, LineEndsAreNeverData) {
    struct Case {
        const char* decoder;
        std::string line;
    } cases[] = {
        {"micencoded", "N0CALL>S32UVT:`(#\r"},
        {"micencoded", "N0CALL>S32UVT:`(#\n"},
        {"micencoded", "N0CALL>S32UVT:`(#\r\n"},
        {"micencoded", "N0CALL>S32UVT:`(\r#fK1ABC>APRS:!4903.50N/07201.75W-"},
        {"gpgga", "$GPGGA,123519,4807.038,N\r,01131.000,E,1,08"},
        {"gprmc", "$GPRMC,123519,A,4807.038,N\r,01131.000,E,022.4"},
        {"gpwpl", "$GPWPL,4807.04,N\r01131.00,E,WPTNME*53"},
        {"gpwgt", "$GPWGT,1,45.5123,N\r122.6876,W,0,0,0,KD7ABC"},
    };
    for (const auto& c : cases) {
        const Decoder* d = nullptr;
        for (const auto& k : kDecoders)
            if (std::string(k.name) == c.decoder) d = &k;
        ASSERT_NE(d, nullptr);
        DecoderHarness h;
        h.stalePosition();
        d->run(h, c.line);
        EXPECT_TRUE(h.st.report.rawgpsdata.starts_with("ERROR ")) << c.decoder << ": " << c.line;
        if (std::string(c.decoder) == "micencoded") {
            EXPECT_NE(h.errors().find("ERROR  5Invalid procedure call or argument in SUB MICENCODED "),
                      std::string::npos)
                << c.line;
        }
    }
}
