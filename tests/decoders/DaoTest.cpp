// The !DAO! extension: the reader on its own (the examples of the published
// format and of public parser test suites), and its extra digit through the
// plain and Mic-E decoders, against what decode_aprs prints for each packet.
#include "decoders/Dao.h"
#include "DecoderHarness.h"
#include "decoders/AprsPosition.h"
#include "decoders/MicE.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace qv;
using qv::test::DecoderHarness;

TEST(Dao, FindsTheFirstExtensionAndItsDigits) {
    struct Case {
        const char* comment;
        bool found;
        char datum;
        int latDigit, lonDigit;
        double latMinutes, lonMinutes;
    } cases[] = {
        {"!W36!", true, 'W', 3, 6, 0.003, 0.006},
        {" 12.3V 21C !W33!", true, 'W', 3, 3, 0.003, 0.003},
        {"!W  !", true, 'W', -1, -1, 0, 0},                    // datum only
        {"!W 9! x", true, 'W', -1, 9, 0, 0.009},               // a blank adds nothing
        {"!R12! x", true, 'R', 1, 2, 0.001, 0.002},            // any datum letter
        {"!w?\?!", true, 'w', 3, 3, 30 / 9100.0, 30 / 9100.0}, // base 91: 30 of 91 hundredths
        {"!w!!!", true, 'w', 0, 0, 0, 0},
        {"!w{{!", true, 'w', 9, 9, 90 / 9100.0, 90 / 9100.0},
        {"Foo !w66!Bar", true, 'w', 2, 2, 21 / 9100.0, 21 / 9100.0},
        {"aaa!W12!bbb!W23!ccc", true, 'W', 1, 2, 0.001, 0.002}, // the first one counts
        {"!W1x! !Wab! !1AB! !w|!! no", false, 0, -1, -1, 0, 0},
        {"!W12", false, 0, -1, -1, 0, 0},
        {"", false, 0, -1, -1, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.comment);
        const dao::Extension x = dao::find(c.comment);
        EXPECT_EQ(x.found, c.found);
        EXPECT_EQ(x.datum, c.datum);
        EXPECT_EQ(x.latDigit, c.latDigit);
        EXPECT_EQ(x.lonDigit, c.lonDigit);
        EXPECT_NEAR(x.latMinutes, c.latMinutes, 1e-12);
        EXPECT_NEAR(x.lonMinutes, c.lonMinutes, 1e-12);
    }
    // The minutes lie away from the equator and Greenwich on every side.
    const dao::Point p = dao::apply(dao::find("!W36!"), -1, -2);
    EXPECT_NEAR(p.latitude, -1.00005, 1e-12);
    EXPECT_NEAR(p.longitude, -2.0001, 1e-12);
}

namespace {

// Minutes of a decimal-degree text, to four decimals as decode_aprs prints them.
std::string minutesOf(const std::string& degrees) {
    const double v = std::fabs(std::stod(degrees));
    char buf[16];
    std::snprintf(buf, sizeof buf, "%07.4f", (v - std::floor(v)) * 60);
    return buf;
}

} // namespace

// The latitude field is rounded to four decimal degrees, which hides the
// extra digit; the longitude keeps it, so the longitude minutes are compared
// digit for digit with decode_aprs.
TEST(Dao, PlainAndMicEPositionsTakeTheExtraDigit) {
    struct Case {
        const char* line;
        const char* latitude;   // the report field
        const char* lonMinutes; // decode_aprs, "W 072 01.7520" -> "01.7520"
    } cases[] = {
        {"N0CALL>APRS:!4903.50N/07201.75W-Test !W12!", "49.0584", "01.7520"},
        {"N0CALL>APRS:!4903.50N/07201.75W-!W12! test", "49.0584", "01.7520"},
        {"N0CALL>APRS:=4903.50N/07201.75W- Fixed !wZ(!", "49.0584", "01.7508"},
        {"N0CALL>APRS:!4903.50S/07201.75E-!W99! x", "49.0585", "01.7590"},
        {"K0ELR-15>APOT02,WIDE1-1:/102033h4133.03NX09029.49Wv204/000!W33! 12.3V 21C/A=000665", "41.5506", "29.4930"},
        {"N0CALL>APRS:@092345z4903.50N/07201.75W>088/036 moving !W95!", "49.0585", "01.7550"},
        {"KF7ABC-9>SWTVXX:`25-l\"Ok/]\"4T}x!W59!", "37.7814", "25.1790"},
        {"KF7ABC-9>SWTVXX:`25-l\"Ok/]\"4T}Mobile !W47! x", "37.7814", "25.1770"},
        {"KF7ABC-9>SWTVXX:`25-l\"Ok/]\"4T}!wAB! x", "37.7814", "25.1736"},
        {"OH2JCQ-9>VP1U88,TRACE2-2:'5'9\"^Rj/]\"4-}Foo !w66!Bar", "60.2647", "11.2923"},
        // Without one nothing changes.
        {"N0CALL>APRS:!4903.50N/07201.75W-Test !W12", "49.0583", "01.7500"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        DecoderHarness h;
        const std::string line = c.line;
        const std::string info = line.substr(line.find(':') + 1);
        h.st.report.incomingdata = line;
        if (info[0] == '`' || info[0] == '\'') {
            h.st.report.micedata = line;
            MicE(h.ctx).micencoded();
        } else if (info[0] == '@' || info[0] == '/') {
            h.st.report.movingdata = info;
            AprsPosition(h.ctx).APRSmoving();
        } else {
            h.st.report.rawgpsdata = info;
            AprsPosition(h.ctx).APRSfixed();
        }
        EXPECT_EQ(h.st.report.latitude, c.latitude);
        EXPECT_EQ(minutesOf(h.st.report.longitude), c.lonMinutes);
        EXPECT_EQ(h.errors(), "");
    }
}
