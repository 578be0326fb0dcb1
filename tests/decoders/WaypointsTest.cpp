// The $GPWPL and $GPWGT decoders: fields read back from their scratch files,
// counted from the start of the line, and what a failed line leaves behind.
#include "decoders/Waypoints.h"
#include "DecoderHarness.h"

#include <gtest/gtest.h>

using namespace qv;
using qv::test::DecoderHarness;

namespace {

// The classifier hands the whole line over in the input field and in rawgpsdata.
void runWpl(DecoderHarness& h, const std::string& line) {
    h.st.report.incomingdata = h.st.report.gpwpldata = h.st.report.rawgpsdata = line;
    Waypoints(h.ctx).gpwpl();
}

void runWgt(DecoderHarness& h, const std::string& line) {
    h.st.report.incomingdata = h.st.report.gpwgtdata = line;
    Waypoints(h.ctx).gpwgt();
}

} // namespace

TEST(Waypoints, WplLinesGiveTheFourPositionTexts) {
    struct Case {
        std::string line;
        const char *latitude, *northsouth, *longitude, *eastwest, *message;
    } cases[] = {
        {"$GPWPL,4807.04,N,01131.00,E,WPTNME*53", "48.1173", "N", "11.5166666666667", "E", ""},
        {"$GPWPL,4807.0380,N,01131.0000,E,WPTNME*53", "48.1173", "N", "11.5166666666667", "E", ""},
        {"$GPWPL,4807.038,N,01131.000,E,WPTNME", "48.1173", "N", "11.5166666666667", "E", ""},
        {"$gpwpl,3351.128,s,15112.560,e,SYDNEY*1A", "33.8521", "s", "151.209333333333", "e", ""},
        // A header without a path keeps the fields in line.
        {"N0CALL>APRS:$GPWPL,4903.50,N,07201.75,W,N0CALL*2F", "49.0583", "N", "72.0291666666667", "W", ""},
        {"$GPWPL,4807.04,X,01131.00,E,WPTNME", "48.1173333333333", "X", "11.5166666666667", "E",
         "BAD GPS DATA LINE (Lat)... skipping"},
        {"$GPWPL,4807.04,N,01131.00,Q,WPTNME", "48.1173333333333", "N", "11.5166666666667", "Q",
         "BAD GPS DATA LINE (Long.)... skipping"},
    };
    for (const auto& c : cases) {
        DecoderHarness h;
        runWpl(h, c.line);
        const auto& r = h.st.report;
        EXPECT_EQ(r.latitude, c.latitude) << c.line;
        EXPECT_EQ(r.northsouth, c.northsouth) << c.line;
        EXPECT_EQ(r.longitude, c.longitude) << c.line;
        EXPECT_EQ(r.eastwest, c.eastwest) << c.line;
        EXPECT_EQ(r.rawgpsdata, c.line) << c.line;
        EXPECT_EQ(h.st.marks.PGMmessage, c.message) << c.line;
        EXPECT_EQ(h.errors(), "") << c.line;
        EXPECT_EQ(h.tmp.read(kGpwplFile), c.line + "\r\n") << c.line;
    }
}

// The classifier writes its own copy only for lines without a packet header;
// a headed line must not be decoded from the copy an earlier line left.
TEST(Waypoints, WplReadsTheCurrentLineNotAnOlderScratchFile) {
    DecoderHarness h;
    h.tmp.write(kGpwplFile, "$GPWPL,4807.04,N,01131.00,E,OLDONE*53\r\n");
    runWpl(h, "N0CALL>APRS:$GPWPL,4903.50,N,07201.75,W,N0CALL");
    EXPECT_EQ(h.st.report.latitude, "49.0583");
    EXPECT_EQ(h.st.report.longitude, "72.0291666666667");
}

TEST(Waypoints, WplFailuresDropTheReport) {
    struct Case {
        std::string line;
        int code;
    } cases[] = {
        {"$GPWPL,48A7.04,N,01131.00,E,WPTNME", 13},
        {"$GPWPL,,N,01131.00,E,WPTNME", 13},
        {"$GPWPL,4807.04,N,011,E,WPTNME", 13},
        // A path in the header shifts every field by one per comma.
        {"N0CALL>APRS,WIDE1-1:$GPWPL,4807.04,N,01131.00,E,WPTNME", 13},
        {"$GPWPL,4807.04,N,01131.00,E", 62},
        {"", 62},
    };
    for (const auto& c : cases) {
        DecoderHarness h;
        h.stalePosition();
        runWpl(h, c.line);
        EXPECT_EQ(h.st.report.rawgpsdata, "ERROR " + c.line) << c.line;
        EXPECT_EQ(h.st.report.longitude, "22.2222") << c.line;
        const std::string want = c.code == 13 ? DecoderHarness::typeMismatch(" in SUB GPWPL ", c.line)
                                              : DecoderHarness::entry(" 62Input past end of file", " in SUB GPWPL ");
        EXPECT_EQ(h.errors(), want) << c.line;
    }
}

TEST(Waypoints, WgtTakesFieldsThreeToSixAsWritten) {
    struct Case {
        std::string line;
        const char *latitude, *northsouth, *longitude, *eastwest;
    } cases[] = {
        {"$GPWGT,1,45.5123,N,122.6876,W,0,0,0,KD7ABC", "45.5123", "N", "122.6876", "W"},
        {"$GPWGT,A, 45.5 ,n, 122 ,w,x,y,z,KD7ABC-9,extra,fields", "45.5", "n", "122", "w"},
        {"$GPWGT,1,\"45.5\",N,\"122.5\",W,0,0,0,\"KD7ABC\"", "45.5", "N", "122.5", "W"},
        // No hemisphere test here: the classifier judges the letters.
        {"$GPWGT,1,45.5,X,122.5,Y,0,0,0,KD7ABC", "45.5", "X", "122.5", "Y"},
    };
    for (const auto& c : cases) {
        DecoderHarness h;
        runWgt(h, c.line);
        const auto& r = h.st.report;
        EXPECT_EQ(r.latitude, c.latitude) << c.line;
        EXPECT_EQ(r.northsouth, c.northsouth) << c.line;
        EXPECT_EQ(r.longitude, c.longitude) << c.line;
        EXPECT_EQ(r.eastwest, c.eastwest) << c.line;
        EXPECT_EQ(r.rawgpsdata, c.line) << c.line;
        EXPECT_EQ(h.errors(), "") << c.line;
        EXPECT_EQ(h.tmp.read(kGpwgtFile), c.line + "\r\n") << c.line;
    }
}

TEST(Waypoints, WgtFailuresDropTheReportWithoutWritingAPosition) {
    struct Case {
        std::string line;
        int code;
    } cases[] = {
        {"$GPWGT,1,45.5,N,122.5,W,0,0,0", 62},
        {"$GPWGT", 62},
        {"$GPWGT,1,forty,N,122.5,W,0,0,0,KD7ABC", 13},
        {"$GPWGT,1,45.5,N,,W,0,0,0,KD7ABC", 13},
    };
    for (const auto& c : cases) {
        DecoderHarness h;
        h.stalePosition();
        runWgt(h, c.line);
        EXPECT_EQ(h.st.report.rawgpsdata, "ERROR " + c.line) << c.line;
        EXPECT_EQ(h.st.report.latitude, "11.1111") << c.line;
        EXPECT_EQ(h.st.report.northsouth, "N") << c.line;
        const std::string want = c.code == 13 ? DecoderHarness::typeMismatch(" in SUB GPWGT ", c.line)
                                              : DecoderHarness::entry(" 62Input past end of file", " in SUB GPWGT ");
        EXPECT_EQ(h.errors(), want) << c.line;
    }
}

TEST(Waypoints, UnwritableScratchFileFailsWithTheFileError) {
    DecoderHarness h;
    std::filesystem::create_directory(h.tmp.path() / kGpwgtFile);
    runWgt(h, "$GPWGT,1,45.5,N,122.5,W,0,0,0,KD7ABC");
    EXPECT_EQ(h.st.report.rawgpsdata.rfind("ERROR ", 0), 0u);
    EXPECT_NE(h.errors().find(" in SUB GPWGT "), std::string::npos);
}
