// A feed mixing every report kind, line by line through the whole application:
// the signed position texts of each accepted report, the drop decisions, and
// the error file the rejected ones leave.
#include "DecoderHarness.h"
#include "shell/App.h"

#include <gtest/gtest.h>

using namespace qv;
using qv::test::DecoderHarness;

namespace {

struct Line {
    std::string text;
    bool accepted;
    const char *callsign, *latitude, *longitude;
};

const std::string kShortMicE = "N0CALL-7>S32UV,WIDE1-1:`(#fl\x1c>/";
const std::string kWordyWgt = "$GPWGT,1,forty-five,N,122.6876,W,0,0,0,KD7ABC";

} // namespace

TEST(MixedReplay, EveryReportKindComesOutAsDecodedOrDropped) {
    const Line feed[] = {
        {"KF7ABC-9>SWTVXX,K7XYZ-3*,WIDE2-1:`25-l\"Ok/]\"4T}", true, "KF7ABC-9", "37.7813", "-122.4195"},
        {"N0CALL-1>GPSLK,WIDE1-1:$GPRMC,013244,V,3946.529,N,10458.456,W,000.0,000.0,120312,010.6,E*6F", true,
         "N0CALL-1", "39.7755", "-104.974266666667"},
        {"VK2XYZ>GPS,WIDE2-1:$GPGGA,123519,3351.1280,S,15112.5600,E,1,08,0.9,5.4,M,46.9,M,,*47", true, "VK2XYZ",
         "-33.8521", "151.209333333333"},
        {"VK2XYZ>GPS,WIDE2-1:$GPGGA,123520,,,,,0,00,,,M,,M,,*6B", false, "VK2XYZ", "", ""},
        {"$GPWPL,4807.038,N,01131.000,E,WPTNME*53", true, "WPTNME", "48.1173", "11.5166666666667"},
        {"N0CALL>APRS:$GPWPL,4903.50,N,07201.75,W,N0CALL*2F", true, "N0CALL", "49.0583", "-72.0291666666667"},
        {"$GPWGT,1,45.5123,N,122.6876,W,0,0,0,KD7ABC", true, "KD7ABC", "45.5123", "-122.6876"},
        {kShortMicE, false, "N0CALL-7", "", ""},
        {"W7XYZ>GPS:$gprmc,225446,A,4916.45,n,12311.12,w,000.5,054.7,191194,020.3,e", true, "W7XYZ", "49.2742",
         "-123.185333333333"},
        {"WIDE>APRS,TCPIP*:}VK2XYZ-9>3352Q3,TCPIP,WIDE:`O(Tl \x1c>/]\"4V}", true, "VK2XYZ-9", "-33.8688",
         "151.209333333333"},
        {"W7XYZ>GPS:$GPGGA,123519,4807.038,X,01131.000,E,1,08,0.9,545.4,M,46.9,M,,", false, "W7XYZ", "48.1173",
         "11.5166666666667"},
        {"N0CALL>APRS:!4903.50N/07201.75W-", true, "N0CALL", "49.0583", "-72.0291666666667"},
        {kWordyWgt, false, "KD7ABC", "", ""},
    };

    test::TempDir tmp;
    test::FakeUi ui;
    test::FakeClock clock;
    App app(tmp.path(), ui, clock);
    app.st.tracking.autoassigncheckbox = false;
    for (const auto& l : feed) {
        auto& r = app.st.report;
        r.dataline = r.incomingdata = l.text;
        app.inspectdataline();
        EXPECT_EQ(r.callsign, l.callsign) << l.text;
        EXPECT_EQ(r.latitude, l.latitude) << l.text;
        EXPECT_EQ(r.longitude, l.longitude) << l.text;
        // The drop path clears the station; an accepted report keeps it.
        EXPECT_EQ(r.stationcallsign.empty(), !l.accepted) << l.text;
        r.dataline.clear();
    }
    EXPECT_EQ(tmp.read(kErrorFile),
              DecoderHarness::entry(" 5Invalid procedure call or argument", " in SUB MICENCODED ") +
                  DecoderHarness::typeMismatch(" in SUB GPWGT ", kWordyWgt));
}

// Monitor headers, line ends and station names through the whole application.
// Positions agree with decode_aprs on the same packets.
TEST(MixedReplay, HeadersAndLineEndsNeverReachIntoThePacket) {
    const Line feed[] = {
        // "[" among the Mic-E longitude bytes and a "]" in the comment.
        {"KD7QRV-9>TUSPWT,WIDE1-1,WIDE2-1:`2[I!9>/]\"4T}Engine 7=", true, "KD7QRV-9", "45.5123", "-122.0575"},
        {"KD7QRV-9>TUSPWT,WIDE1-1,WIDE2-1 <UI> [12/07/26 09:05:01]:`2[I!9>/]\"4T}Engine 7=", true, "KD7QRV-9",
         "45.5123", "-122.0575"},
        {"KD7QRV-9>TUSPWT,WIDE1-1,WIDE2-1 [09:05:01]:`2[I!9>/]\"4T}", true, "KD7QRV-9", "45.5123", "-122.0575"},
        // A colon in the comment of a monitor line without time stamp.
        {"N7ODF>APRS,WIDE2-2 <UI>:!4531.25N/12240.75W-net at 19:30", true, "N7ODF", "45.5208", "-122.679166666667"},
        {"N7ODF>APRS,WIDE2-2 <UI C>:!4531.25N/12240.75W-net at 19:30", true, "N7ODF", "45.5208", "-122.679166666667"},
        {"N7ODF>APRS,WIDE2-2 <UI> [09:05]:!4531.25N/12240.75W-", true, "N7ODF", "45.5208", "-122.679166666667"},
        {"N7ODF>APRS,WIDE2-2 <UI R> [12/07/26 09:05:04]:\r!4531.25N/12240.75W-\r", true, "N7ODF", "45.5208",
         "-122.679166666667"},
        // A blank line before the packet in the same chunk.
        {"\r\rN7ODF>APRS:!4531.25N/12240.75W-\r", true, "N7ODF", "45.5208", "-122.679166666667"},
        // The line's own end is no fourth Mic-E byte.
        {"W7MIC-9>S32UVT,WIDE1-1:`(#\r", false, "W7MIC-9", "33.4273333333333", ""},
    };

    test::TempDir tmp;
    test::FakeUi ui;
    test::FakeClock clock;
    App app(tmp.path(), ui, clock);
    app.st.tracking.autoassigncheckbox = false;
    for (const auto& l : feed) {
        auto& r = app.st.report;
        r.dataline = r.incomingdata = l.text;
        app.inspectdataline();
        EXPECT_EQ(r.callsign, l.callsign) << l.text;
        EXPECT_EQ(r.latitude, l.latitude) << l.text;
        EXPECT_EQ(r.longitude, l.longitude) << l.text;
        EXPECT_EQ(r.stationcallsign.empty(), !l.accepted) << l.text;
        r.dataline.clear();
    }
    EXPECT_EQ(tmp.read(kErrorFile),
              DecoderHarness::entry(" 5Invalid procedure call or argument", " in SUB MICENCODED "));
}
