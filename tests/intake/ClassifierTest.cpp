// The classifier's rules, gates, post-decode steps, drop path and bells.
#include "intake/ClassifierHarness.h"

#include "core/Colour.h"
#include "core/StationId.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

using namespace qv;
using namespace qv::test;

namespace {

class Classify : public ::testing::Test, public ClassifierHarness {};

const char* kFixed = "N0CALL>APRS,WIDE2-1:!4903.50N/07201.75W-PHG2360 Test";

} // namespace

TEST_F(Classify, EachReportKindPicksItsRuleIndicatorAndDecoder) {
    struct Case {
        const char* line;
        const char* decoder; // "" when none runs
        const char* caption;
        std::uint32_t rgb;
        const char* callsign;
    } cases[] = {
        {"N0CALL>APRS:!4903.50N/07201.75W-", "APRSfixed", "!DIGI/=Fixed Detected", 0x00FF00, "N0CALL"},
        {"N0CALL-7>APRS:=4903.50N/07201.75W-", "APRSfixed", "!DIGI/=Fixed Detected", 0x00FF00, "N0CALL-7"},
        {"K1ABC-9>APRS:@092345z4903.50N/07201.75W>", "APRSmoving", "@moving Detected", 0x00FF00, "K1ABC-9"},
        {"K1ABC-9>APRS:/092345z4903.50N/07201.75W>", "APRSmoving", "@moving Detected", 0x00FF00, "K1ABC-9"},
        {"W7MIC-9>S32UVT,WIDE1-1:`(#fl!9>/]\"4T}", "micencoded", "Mic-E '` Detected", 0xFFFF00, "W7MIC-9"},
        {"W7MIC>S32UVT:'(#fl!9>/", "micencoded", "Mic-E '` Detected", 0xFFFF00, "W7MIC"},
        {"GPS1>APRS:$GPGGA,123519,4807.0380,N,01131.0000,E,1,08,0.9,545.4,M,46.9,M,,*47", "gpgga", "$GPGGA Detected",
         0xFF8000, "GPS1"},
        {"GPS2>APRS:$gprmc,123519,A,4807.0380,N,01131.0000,E,022.4,084.4,230394,003.1,W*6A", "gprmc", "$GPRMC Detected",
         0xFF8000, "GPS2"},
        {"$GPWGT,123519,4807.038,N,01131.000,E,545.4,0.0,0.0,KB0WGT", "gpwgt", "$GPWGT Detected", 0xFF8000, "KB0WGT"},
        {"$gpwpl,4807.04,N,01131.00,E,WPTNME*53", "gpwpl", "$GPWPL Detected", 0xFF8000, "WPTNME"},
        {"N0CALL>APRS:}W1XYZ>APRS,TCPIP,N0CALL*:!4903.50N/07201.75W-", "APRSfixed", "!DIGI/=Fixed Detected", 0x00FF00,
         "W1XYZ"},
        {"N0CALL>APRS::W1XYZ    :hello{1", "", "APRS Message", 0x00FF00, "N0CALL"},
        {"N0CALL>APRS:=/5L!!<*e7>7P[", "APRScompressed", "!DIGI/=Fixed Compressed", 0x00FFFF, "N0CALL"},
        {"K1ABC-9>APRS:/092345z\\5L!!<*e7>{?!", "APRScompressed", "@moving Compressed", 0x00FFFF, "K1ABC-9"},
        {"N0CALL>APRS:;SRAL HQ  *100927zS0%E/Th4_a  A", "APRSobject", "Object ; Detected", 0xFF80FF, "SRAL HQ"},
        {"N0CALL>APRS:)AID #2!4903.50N/07201.75WA", "APRSobject", "Item ) Detected", 0xC0A0FF, "AID #2"},
        {"N0CALL>APRS:;LEADER   _092345z4903.50N/07201.75W>", "", "Object ; Killed", 0xFFC0C0, "N0CALL"},
        {"GPS1>APRS:$bdgga,123519,4807.0380,N,01131.0000,E,1,08", "gpgga", "$BDGGA Detected", 0xFF8000, "GPS1"},
        {"GPS2>APRS:$GNRMC,123519,A,4807.0380,N,01131.0000,E", "gprmc", "$GNRMC Detected", 0xFF8000, "GPS2"},
        {"$GNWPL,4807.04,N,01131.00,E,WPTNME*53", "gpwpl", "$GNWPL Detected", 0xFF8000, "WPTNME"},
        {"N0CALL>APRS:>status text", "", "Processing not available", 0xC0C0C0, "N0CALL"},
        {"N0CALL>APRS:T#005,199,000,255,073,123,01101001", "", "Processing not available", 0xC0C0C0, "N0CALL"},
    };
    for (const auto& c : cases) {
        st.report.miclabel = {};
        classify(c.line);
        const auto run = decodersRun();
        if (*c.decoder)
            EXPECT_EQ(run, std::vector<std::string>{c.decoder}) << c.line;
        else
            EXPECT_TRUE(run.empty()) << c.line;
        EXPECT_TRUE(st.report.miclabel.visible) << c.line;
        EXPECT_EQ(st.report.miclabel.caption, c.caption) << c.line;
        EXPECT_EQ(st.report.miclabel.back, fromRgb(c.rgb)) << c.line;
        EXPECT_EQ(st.report.callsign, c.callsign) << c.line;
    }
}

// An object or item is its own station: tracked under its name, whoever sent
// it. A killed one, or one whose name would break a record, names none.
TEST_F(Classify, ObjectsAndItemsAreTrackedUnderTheirNames) {
    struct Case {
        const char* line;
        const char* callsign; // "" when the line is dropped before the pipeline
        bool refusedName;     // an "Invalid station ID" entry was written
    } cases[] = {
        {"N0CALL>APRS:;AID 12   *092345z4903.50N/07201.75W>", "AID 12", false},
        {"W1XYZ>APRS:}N0CALL>APRS,TCPIP,W1XYZ*:)AID 1!4903.50N/07201.75WA", "AID 1", false},
        {"N0CALL>APRS:;AID 12   _092345z4903.50N/07201.75W>", "", false},
        {"N0CALL>APRS:;AID,12   *092345z4903.50N/07201.75W>", "", true},
        {"N0CALL>APRS:;  LEADER *092345z4903.50N/07201.75W>", "", true},
        {"N0CALL>APRS:;CALL ID-1*092345z4903.50N/07201.75W>", "", true}, // would pass for a free slot
        // Compressed, while compressed reports are not detected.
        {"N0CALL>APRS:;SRAL HQ  *100927zS0%E/Th4_a  A", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        tmp.write(kErrorFile, "");
        st.sw.detectcompressed = false;
        classify(c.line);
        EXPECT_EQ(pipelineRan(), *c.callsign != '\0');
        EXPECT_EQ(st.report.stationcallsign, c.callsign);
        if (*c.callsign) {
            EXPECT_EQ(st.report.callsign, c.callsign);
        }
        EXPECT_EQ(tmp.read(kErrorFile).find("Invalid station ID") != std::string::npos, c.refusedName);
    }
}

TEST_F(Classify, LinesWithoutStationAreIgnoredUntouched) {
    const char* lines[] = {
        "$GPGGA,123519,4807.0380,N,01131.0000,E,1,08,0.9,545.4,M,46.9,M,,*47", // bare sentence, no header
        "$GPRMC,123519,A,4807.0380,N,01131.0000,E,022.4,084.4,230394,003.1,W*6A",
        "TOOLONGCALL>APRS:!4903.50N/07201.75W-", // identifier of ten characters
        ">APRS:!4903.50N/07201.75W-",            // no identifier at all
        "$GPWMS,N0CALL,hello*00",                // a reply sentence is no station
        "cmd:",
        "",
    };
    for (const char* line : lines) {
        st.report.miclabel = {};
        st.report.callsign = "BEFORE";
        st.report.lastpayload = "kept";
        classify(line);
        EXPECT_TRUE(steps.calls.empty()) << line;
        EXPECT_FALSE(st.report.miclabel.visible) << line;
        EXPECT_EQ(st.report.callsign, "BEFORE") << line;
        EXPECT_EQ(st.report.lastpayload, "kept") << line;
        EXPECT_EQ(st.marks.PGMmessage, "InspectingDataLine") << line;
        EXPECT_EQ(st.report.incomingdata, line) << line;
    }
}

TEST_F(Classify, SwitchesGateBeforeTheIndicatorOrBeforeTheDecoder) {
    struct Case {
        const char* line;
        bool Switches::*sw;
        bool indicatorShown; // the first gate lets the indicator show before the second drops
    } cases[] = {
        {"W7MIC>S32UVT:`(#fl!9>/", &Switches::detectmice, true},
        {"GPS1>APRS:$GPGGA,123519,4807.0380,N,01131.0000,E,1,08", &Switches::detectmice, false},
        {"$GPWGT,1,4807.038,N,01131.000,E,1,0,0,KB0WGT", &Switches::detectmice, false},
        {"$GPWPL,4807.04,N,01131.00,E,WPTNME*53", &Switches::detectmice, false},
        {"$GPWPL,4807.04,N,01131.00,E,WPTNME*53", &Switches::detectnmea, true},
        {"GPS2>APRS:$GPRMC,123519,A,4807.0380,N,01131.0000,E", &Switches::detectnmea, true},
        {"K1ABC>APRS:@092345z4903.50N/07201.75W>", &Switches::detectmoving, true},
        {"N0CALL>APRS:!4903.50N/07201.75W-", &Switches::detectfixed, true},
    };
    for (const auto& c : cases) {
        st.sw = Switches{};
        st.sw.*c.sw = false;
        st.report.miclabel = {};
        classify(c.line);
        EXPECT_TRUE(decodersRun().empty()) << c.line;
        EXPECT_FALSE(pipelineRan()) << c.line;
        EXPECT_EQ(st.report.miclabel.visible, c.indicatorShown) << c.line;
        EXPECT_EQ(st.report.dataline, "") << c.line;
        EXPECT_EQ(st.report.stationcallsign, "") << c.line;
    }
    // GGA is governed by the Mic-E switch, not by the NMEA one.
    st.sw = Switches{};
    st.sw.detectnmea = false;
    classify("GPS1>APRS:$GPGGA,123519,4807.0380,N,01131.0000,E,1,08");
    EXPECT_EQ(decodersRun(), std::vector<std::string>{"gpgga"});
}

TEST_F(Classify, DigipeatedDoubleBangIsDroppedWithoutIndicator) {
    classify("N0CALL>APRS:!!0000009B02C4027C03D6----0390----026B0002");
    EXPECT_TRUE(steps.calls.empty());
    EXPECT_FALSE(st.report.miclabel.visible);
    EXPECT_EQ(st.report.stationcallsign, "");
}

TEST_F(Classify, HandOverFillsTheDecoderInputs) {
    const std::string longComment(120, 'c');
    classify("K1ABC>APRS,WIDE1-1*:@092345z4903.50N/07201.75W>" + longComment);
    const std::string payload = "@092345z4903.50N/07201.75W>" + longComment;
    EXPECT_EQ(st.report.movingdata, payload.substr(0, 80));
    EXPECT_EQ(st.report.rawgpsdata, payload.substr(0, 80));
    EXPECT_EQ(st.report.lastpayload, payload.substr(0, 80));

    classify("$GPWGT,123519,4807.038,N,01131.000,E,545.4,0.0,0.0,KB0WGT");
    EXPECT_EQ(st.report.gpwgtdata, "$GPWGT,123519,4807.038,N,01131.000,E,545.4,0.0,0.0,KB0WGT");
    EXPECT_EQ(st.report.rawgpsdata, st.report.gpwgtdata);

    classify("W7MIC>S32UVT:`(#fl!9>/");
    EXPECT_EQ(st.report.micedata, "W7MIC>S32UVT:`(#fl!9>/");
}

TEST_F(Classify, AcceptedReportRunsPipelineInOrderWithSignedCoordinates) {
    struct Case {
        const char* ns;
        const char* ew;
        const char* lat;
        const char* lon;
    } cases[] = {
        {"N", "E", "45.5", "72.0291666666667"},
        {"S", "E", "-45.5", "72.0291666666667"},
        {"s", "w", "-45.5", "-72.0291666666667"},
        {"n", "W", "45.5", "-72.0291666666667"},
    };
    for (const auto& c : cases) {
        steps.hooks["APRSfixed"] = [&] { decoded("45.5", c.ns, "72.0291666666667", c.ew); };
        classify(kFixed);
        EXPECT_EQ(st.report.latitude, c.lat) << c.ns << c.ew;
        EXPECT_EQ(st.report.longitude, c.lon) << c.ns << c.ew;
        const std::vector<std::string> expected = {"APRSfixed",  "autoassign",  "assigncolor",
                                                   "assigntime", "makestrings", "assigncoords"};
        EXPECT_EQ(steps.calls, expected);
        // The accepted path keeps what the drop path would clear.
        EXPECT_EQ(st.report.stationcallsign, "N0CALL");
        EXPECT_EQ(st.report.lastpayload, "!4903.50N/07201.75W-PHG2360 Test");
    }
}

TEST_F(Classify, RefusedOrUnreadablePositionsNeverReachThePipeline) {
    struct Case {
        const char* name;
        std::function<void()> decoder;
        bool errorEntry;
    } cases[] = {
        {"ERROR mark", [&] { st.report.rawgpsdata = "ERROR " + st.report.rawgpsdata; }, false},
        {"lower-case error mark", [&] { st.report.rawgpsdata = "error " + st.report.rawgpsdata; }, false},
        {"bad latitude letter", [&] { decoded("49.0583333333333", "X", "72.03", "W"); }, false},
        {"bad longitude letter", [&] { decoded("49.0583", "N", "72.03", "Q"); }, false},
        {"decoder wrote nothing", [] {}, false},
        {"southern latitude not a number", [&] { decoded("4A.5", "S", "72.03", "E"); }, true},
        {"western longitude not a number", [&] { decoded("45.5", "N", "", "W"); }, true},
    };
    for (const auto& c : cases) {
        // What a previous report left must not pass for this one.
        decoded("11.1111", "N", "22.2222", "E");
        tmp.write(kErrorFile, "");
        steps.hooks["APRSfixed"] = c.decoder;
        classify(kFixed);
        EXPECT_FALSE(pipelineRan()) << c.name;
        EXPECT_EQ(st.report.stationcallsign, "") << c.name;
        EXPECT_EQ(st.report.lastpayload, "") << c.name;
        EXPECT_EQ(tmp.read(kErrorFile).find("ERROR  13Type mismatch in SUB INSPECTDATALINE ") != std::string::npos,
                  c.errorEntry)
            << c.name;
    }
}

TEST_F(Classify, SaveDecisionFollowsSlotTrackingAndMovement) {
    struct Case {
        bool inSlot, tracked, moved, onlyMoving;
        bool saved, markLeft;
    } cases[] = {
        {false, true, false, false, false, false}, {true, true, false, false, true, false},
        {true, false, false, false, false, false}, {true, true, false, true, false, false},
        {true, true, true, true, true, false},     {true, true, true, false, true, false},
        {true, false, true, false, false, true},
    };
    for (const auto& c : cases) {
        st.slots[3].CallsignID = c.inSlot ? "n0call" : "CALL ID-3";
        st.sw.CheckTrackOnlyMoving = c.onlyMoving;
        st.marks.movingTag.clear();
        steps.hooks["assigncolor"] = [&] { st.report.stationtracked = c.tracked ? "YES" : "NO"; };
        steps.hooks["assigncoords"] = [&] {
            if (c.moved) st.marks.movingTag = kMovingTag;
        };
        classify(kFixed);
        EXPECT_EQ(steps.called("savefiles"), c.saved) << c.inSlot << c.tracked << c.moved << c.onlyMoving;
        EXPECT_EQ(st.marks.movingTag == kMovingTag, c.markLeft) << c.inSlot << c.tracked << c.moved << c.onlyMoving;
    }
}

TEST_F(Classify, BellsRingWhereTheyShould) {
    struct Case {
        const char* line;
        bool sound;
        bool inSlot;
        int beeps;
    } cases[] = {
        {kFixed, false, false, 0},
        {kFixed, true, false, 2},                  // station marker + no slot
        {kFixed, true, true, 1},                   // station marker only
        {"W7MIC>S32UVT:`(#fl!9>/", true, true, 2}, // marker + after the Mic-E decoder
        {"$GPWGT,1,4807.038,N,01131.000,E,1,0,0,N0CALL", true, true, 1},
        {"N0CALL>APRS:/092345z/5L!!<*e7>7P[", false, true, 1}, // compressed, refused: always
        {"AB\r>APRS:!4903.50N/07201.75W-", false, true, 1},    // identifier ending in CR: always
    };
    for (const auto& c : cases) {
        st.sw.soundon = c.sound;
        st.slots[1].CallsignID = c.inSlot ? "N0CALL" : "CALL ID-1";
        st.slots[2].CallsignID = c.inSlot ? "W7MIC" : "CALL ID-2";
        st.slots[4].CallsignID = c.inSlot ? "AB\r" : "CALL ID-4";
        if (std::string(c.line).find("/5L") != std::string::npos)
            steps.hooks["APRScompressed"] = [&] { st.report.rawgpsdata = "ERROR " + st.report.rawgpsdata; };
        ui.beeps = 0;
        classify(c.line);
        EXPECT_EQ(ui.beeps, c.beeps) << c.line;
    }
}

TEST_F(Classify, CompressedReportRefusedByItsDecoderIsKept) {
    steps.hooks["APRScompressed"] = [&] { st.report.rawgpsdata = "ERROR " + st.report.rawgpsdata; };
    classify("N0CALL>APRS:/092345z/5L!!<*e7>7P[");
    EXPECT_EQ(tmp.read(kCompressedFile), "/092345z/5L!!<*e7>7P[\r\n");

    // Accepted, it is not logged; but its payload stays for the next line
    // that reaches the drop path.
    steps.hooks["APRScompressed"] = [&] { decoded("49.0583", "N", "72.03", "W"); };
    classify("N0CALL>APRS:/092345z/5L!!<*e7>7P[");
    EXPECT_EQ(tmp.read(kCompressedFile), "/092345z/5L!!<*e7>7P[\r\n");
    EXPECT_EQ(st.report.lastpayload, "/092345z/5L!!<*e7>7P[");
    classify("N0CALL>APRS:>status");
    EXPECT_EQ(tmp.read(kCompressedFile), "/092345z/5L!!<*e7>7P[\r\n/092345z/5L!!<*e7>7P[\r\n");
    EXPECT_EQ(st.report.lastpayload, "");

    // A plain time-stamped report that fails is no compressed one.
    steps.hooks["APRSmoving"] = [&] { st.report.rawgpsdata = "ERROR " + st.report.rawgpsdata; };
    classify("N0CALL>APRS:/092345z4903.50X/07201.75W>");
    EXPECT_EQ(tmp.read(kCompressedFile), "/092345z/5L!!<*e7>7P[\r\n/092345z/5L!!<*e7>7P[\r\n");
}

TEST_F(Classify, MessageIsLoggedShownAndEndsTheLine) {
    decoded("11.1111", "N", "22.2222", "E");
    st.report.rawgpsdata = "!1106.67N/02213.33E-";
    classify("W1XYZ>APRS,TCPIP*::N0CALL   :Meet at the trailhead{12\r");
    EXPECT_EQ(tmp.read(kMessagesFile), "W1XYZ>APRS,TCPIP*::N0CALL   :Meet at the trailhead{12\r\n");
    ASSERT_EQ(steps.captions.size(), 1u);
    EXPECT_EQ(steps.captions[0], "12/7/2026 9:05:42 AM Message from :N0CALL   :Meet at the trailhead{12");
    EXPECT_FALSE(pipelineRan());
    EXPECT_EQ(st.report.miclabel.caption, "APRS Message");

    // Not a message: the addressee field is not nine characters.
    classify("W1XYZ>APRS::N0CALL:short");
    EXPECT_EQ(steps.captions.size(), 1u);
    EXPECT_EQ(st.report.miclabel.caption, "Processing not available");
}

TEST_F(Classify, MonitorHeadersStampsAndSplitLinesAreNormalised) {
    struct Case {
        const char* line;
        const char* rawgpsdata;
    } cases[] = {
        {"N0CALL>APRS,WIDE2-2 <UI> [12:34:56]:!4903.50N/07201.75W-", "!4903.50N/07201.75W-"},
        {"N0CALL>APRS,WIDE2-2 <ui R> [12/07/26 12:34:56]:!4903.50N/07201.75W-", "!4903.50N/07201.75W-"},
        {"N0CALL>APRS,WIDE2-2 [12:34:56]:=4903.50N/07201.75W-", "=4903.50N/07201.75W-"},
        {"N0CALL>APRS,WIDE2-2:\r!4903.50N/07201.75W-\r", "!4903.50N/07201.75W-\r"},
        {"N0CALL>APRS:!4903.50N/07201.75W-[unclosed", "!4903.50N/07201.75W-[unclosed"},
        {"N0CALL>APRS:!4903.50N/07201.75W-]x[", "!4903.50N/07201.75W-]x["},
        // The cuts end at the colon that opens the information field.
        {"N0CALL>APRS:!4903.50N/07201.75W-PHG [2360] x]", "!4903.50N/07201.75W-PHG [2360] x]"},
        {"N0CALL>APRS,WIDE2-2 <UI>:!4903.50N/07201.75W-net at 19:30", "!4903.50N/07201.75W-net at 19:30"},
        {"N0CALL>APRS,WIDE2-2 <UI> [12:34]:!4903.50N/07201.75W-at [19:30]", "!4903.50N/07201.75W-at [19:30]"},
        {"N0CALL>APRS,WIDE2-2 [12/07/26] [12:34:56]:!4903.50N/07201.75W-", "!4903.50N/07201.75W-"},
        {"N0CALL>APRS,WIDE2-2 [12:34:56] <UI>:!4903.50N/07201.75W-", "!4903.50N/07201.75W-"},
        {"N0CALL>APRS:}W1XYZ>APRS,TCPIP*:!4903.50N/07201.75W-[a:b]", "!4903.50N/07201.75W-[a:b]"},
    };
    for (const auto& c : cases) {
        classify(c.line);
        EXPECT_EQ(decodersRun(), std::vector<std::string>{"APRSfixed"}) << c.line;
        EXPECT_EQ(st.report.rawgpsdata, c.rawgpsdata) << c.line;
        EXPECT_EQ(st.report.callsign, c.line[12] == '}' ? "W1XYZ" : "N0CALL") << c.line;
    }
    // A Mic-E longitude byte "[" with a "]" later in the comment.
    const std::string mice = "KD7QRV-9>TUSPWT,WIDE1-1,WIDE2-1:`2[I!9>/]\"4T}Engine 7=";
    classify(mice);
    EXPECT_EQ(st.report.micedata, mice);
}

TEST_F(Classify, StationsThatCannotBeNamedAreDroppedAndLogged) {
    const std::string lines[] = {
        "N0\rCALL>APRS:!4903.50N/07201.75W-",
        "N0,CAL>APRS:!4903.50N/07201.75W-",
        "N0\"CAL>APRS:!4903.50N/07201.75W-",
        "N0 CALL>APRS:!4903.50N/07201.75W-",
        "N0CALL\x1b>APRS:!4903.50N/07201.75W-",
        "N0CALL>APRS:}W1\"XY>APRS,TCPIP*:!4903.50N/07201.75W-",
        "$GPWGT,1,4807.038,N,01131.000,E,1,0,0,\"KB,0WGT\"",
        "$GPWGT,1,4807.038,N,01131.000,E,1,0,0," + std::string(kMaxStationName + 1, 'W'),
        "$GPWPL,4807.04,N,01131.00,E,*53",
        "$GPWPL,4807.04,N,01131.00,E,WPT\x01NME*53", // last: its entry is read below
    };
    st.slots[1].CallsignID = "N0CALL";
    for (const auto& line : lines) {
        tmp.write(kErrorFile, "");
        classify(line);
        EXPECT_TRUE(steps.calls.empty()) << line;
        EXPECT_EQ(st.report.callsign, "") << line;
        EXPECT_EQ(st.report.stationcallsign, "") << line;
        EXPECT_EQ(st.marks.PGMmessage, "BAD STATION ID... skipping") << line;
        const std::string err = tmp.read(kErrorFile);
        EXPECT_NE(err.find("ERROR  5Invalid station ID, line dropped in SUB INSPECTDATALINE "), std::string::npos)
            << line;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\r'), 3) << line; // two lines and the empty one
        EXPECT_FALSE(std::filesystem::exists(tmp.path() / kGpwgtScratch)) << line;
        EXPECT_FALSE(std::filesystem::exists(tmp.path() / kGpwplScratch)) << line;
    }
    EXPECT_NE(tmp.read(kErrorFile).find(" line began: $GPWPL,4807.04,N,01131.00,E,WPT<1>NME*53\r\n"),
              std::string::npos);
}

TEST_F(Classify, BlankLineAfterMonitorHeaderDoesNotRepeatThePreviousPacket) {
    classify("N0CALL>APRS,WIDE2-2 <UI> [12:34:56]:!4903.50N/07201.75W-");
    ASSERT_TRUE(pipelineRan());
    // The display still shows the packet; the lone CR that follows is not it.
    st.report.dataline = "\r";
    steps.calls.clear();
    classifier.inspectdataline();
    EXPECT_TRUE(steps.calls.empty());
    EXPECT_EQ(st.report.incomingdata, "N0CALL>APRS,WIDE2-2 <UI> :!4903.50N/07201.75W-");
}

TEST_F(Classify, WaypointSentencesNameTheStationThroughTheirScratchFiles) {
    classify("$GPWGT,123519,4807.038,N,01131.000,E,545.4,0.0,0.0,\"KB0WGT\"");
    EXPECT_EQ(st.report.callsign, "KB0WGT");
    EXPECT_EQ(st.report.callsignWidth, 1815);
    EXPECT_EQ(st.marks.PGMmessage, "STATION ID MARKER FOUND (GPWGT)");
    EXPECT_EQ(tmp.read(kGpwgtScratch), "$GPWGT,123519,4807.038,N,01131.000,E,545.4,0.0,0.0,\"KB0WGT\"\r\n");

    st.report.callsignWidth = 0;
    classify("$GPWPL,4807.04,N,01131.00,E,WPTNME*53");
    EXPECT_EQ(st.report.callsign, "WPTNME");
    EXPECT_EQ(st.report.callsignWidth, 0);
    EXPECT_EQ(tmp.read(kGpwplScratch), "$GPWPL,4807.04,N,01131.00,E,WPTNME*53\r\n");

    // Without a checksum the whole field names it, not the previous station.
    classify("$GPWPL,4807.04,N,01131.00,E,CAMP2");
    EXPECT_EQ(st.report.callsign, "CAMP2");

    // Too few fields: one entry, and the missing name is empty.
    classify("$GPWGT,123519,4807.038,N");
    EXPECT_EQ(st.report.callsign, "");
    EXPECT_NE(tmp.read(kErrorFile).find("ERROR  62Input past end of file in SUB INSPECTDATALINE "), std::string::npos);

    // A sentence inside a packet: the decoder still reads this line from the file.
    classify("N0CALL>APRS:$GPWPL,4700.00,N,01000.00,E,HUT*11");
    EXPECT_EQ(st.report.callsign, "N0CALL");
    EXPECT_EQ(decodersRun(), std::vector<std::string>{"gpwpl"});
    EXPECT_EQ(tmp.read(kGpwplScratch), "N0CALL>APRS:$GPWPL,4700.00,N,01000.00,E,HUT*11\r\n");
}

TEST_F(Classify, StationWithLeadingCommaIsTrackedWithoutIt) {
    classify(",K1ABC>APRS:!4903.50N/07201.75W-");
    EXPECT_EQ(st.report.callsign, ",K1ABC");
    EXPECT_EQ(st.report.stationcallsign, "K1ABC");
}

TEST_F(Classify, ScratchFileThatCannotBeWrittenDropsTheWaypoint) {
    std::filesystem::create_directory(tmp.path() / kGpwplScratch); // a directory in its place
    classify("$GPWPL,4807.04,N,01131.00,E,WPTNME*53");
    EXPECT_TRUE(decodersRun().empty());
    EXPECT_EQ(st.report.callsign, "WPTNME");
    EXPECT_NE(tmp.read(kErrorFile).find("ERROR  75"), std::string::npos);
}

TEST_F(Classify, AnyBytesAtAllAreClassifiedWithoutHarm) {
    std::mt19937 rng(2026);
    static const char kAlphabet[] = "N0CALL>APRS:!@/=`'$GPWGTLz[]<UI>},\r\n\0\x01\xff\x80 0123456789.";
    const std::string alphabet(kAlphabet, sizeof kAlphabet - 1);
    for (int i = 0; i < 3000; ++i) {
        std::string line;
        const int len = static_cast<int>(rng() % 200);
        for (int k = 0; k < len; ++k)
            line.push_back(i % 3 ? alphabet[rng() % alphabet.size()] : static_cast<char>(rng() % 256));
        classify(line);
    }
    classify(std::string(100000, ':'));
    classify(std::string(100000, '['));
    classify("N0CALL>APRS:" + std::string(5000, '!'));
    SUCCEED();
}
