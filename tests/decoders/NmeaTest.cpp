// The GGA and RMC decoders on sentences as GPS receivers write them and as
// they arrive inside packets: decimals of every width, void fixes, no fix,
// missing checksums, lower case, sentences cut short.
#include "decoders/Nmea.h"
#include "DecoderHarness.h"

#include <gtest/gtest.h>

using namespace qv;
using qv::test::DecoderHarness;

namespace {

enum class Kind { Gga, Rmc };

void run(DecoderHarness& h, Kind kind, const std::string& sentence) {
    h.st.report.incomingdata = "N0CALL>GPSLK,WIDE1-1:" + sentence;
    if (kind == Kind::Gga)
        h.st.report.ggadata = sentence;
    else
        h.st.report.rawgpsdata = sentence;
    Nmea n(h.ctx);
    kind == Kind::Gga ? n.gpgga() : n.gprmc();
}

} // namespace

TEST(Nmea, AcceptedSentencesGiveTheFourPositionTexts) {
    struct Case {
        Kind kind;
        std::string sentence;
        const char *latitude, *northsouth, *longitude, *eastwest;
    } cases[] = {
        {Kind::Gga, "$GPGGA,123519,4807.0380,N,01131.0000,E,1,08,0.9,545.4,M,46.9,M,,*47", "48.1173", "N",
         "11.5166666666667", "E"},
        {Kind::Rmc, "$GPRMC,123519,A,4807.0380,N,01131.0000,E,022.4,084.4,230394,003.1,W*6A", "48.1173", "N",
         "11.5166666666667", "E"},
        // The status letter is not looked at.
        {Kind::Rmc, "$GPRMC,123519,V,4807.0380,N,01131.0000,E,022.4,084.4,230394,003.1,W*6A", "48.1173", "N",
         "11.5166666666667", "E"},
        // Three decimals, as many receivers write them.
        {Kind::Gga, "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47", "48.1173", "N",
         "11.5166666666667", "E"},
        {Kind::Rmc, "$GPRMC,013244,V,3946.529,N,10458.456,W,000.0,000.0,120312,010.6,E*6F", "39.7755", "N",
         "104.974266666667", "W"},
        // Eight decimals from a survey receiver.
        {Kind::Gga, "$GPGGA,172814.0,3723.46587704,N,12202.26957864,W,2,6,1.2,18.893,M,-25.669,M,2.0,0031*4F",
         "37.3911", "N", "122.037826310667", "W"},
        // No decimals at all.
        {Kind::Rmc, "$GPRMC,225446,A,4916,N,12311,W,000.5,054.7,191194,020.3,E", "49.2667", "N", "123.183333333333",
         "W"},
        // No checksum, sentence ends right after the hemisphere letter.
        {Kind::Rmc, "$GPRMC,123519,A,3351.1280,S,15112.5600,E", "33.8521", "S", "151.209333333333", "E"},
        {Kind::Gga, "$gpgga,123519,3351.1280,s,15112.5600,e,1,08,0.9,5.4,m,46.9,m,,", "33.8521", "s",
         "151.209333333333", "e"},
        {Kind::Gga, "$GPGGA,000001,0000.0000,N,00000.0000,W,1,04,2.1,0.0,M,0.0,M,,*40", "0.0000", "N", "0", "W"},
    };
    for (const auto& c : cases) {
        DecoderHarness h;
        run(h, c.kind, c.sentence);
        const auto& r = h.st.report;
        EXPECT_EQ(r.latitude, c.latitude) << c.sentence;
        EXPECT_EQ(r.northsouth, c.northsouth) << c.sentence;
        EXPECT_EQ(r.longitude, c.longitude) << c.sentence;
        EXPECT_EQ(r.eastwest, c.eastwest) << c.sentence;
        EXPECT_EQ(r.rawgpsdata, c.sentence) << c.sentence;
        EXPECT_EQ(h.errors(), "") << c.sentence;
        EXPECT_EQ(h.st.marks.PGMmessage, "") << c.sentence;
    }
}

TEST(Nmea, GgaMovesItsInputIntoRawgpsdata) {
    DecoderHarness h;
    run(h, Kind::Gga, "$GPGGA,123519,4807.0380,N,01131.0000,E,1,08,0.9,545.4,M,46.9,M,,*47");
    EXPECT_EQ(h.st.report.ggadata, "");
    EXPECT_GE(h.ui.refreshes, 1);
}

TEST(Nmea, SentencesWithoutAFixAreBlankAndLeaveThePositionAlone) {
    struct Case {
        Kind kind;
        std::string sentence;
    } cases[] = {
        {Kind::Gga, "$GPGGA,123519,,,,,0,00,,,M,,M,,*6B"},
        {Kind::Rmc, "$GPRMC,123519,V,,,,,,,230394,,*6A"},
        {Kind::Gga, "$GPGGA"},
        {Kind::Gga, "$GPGGA,123519,4807.0380"},
        {Kind::Rmc, ""},
    };
    for (const auto& c : cases) {
        DecoderHarness h;
        h.stalePosition();
        run(h, c.kind, c.sentence);
        EXPECT_EQ(h.st.marks.PGMmessage, "Blank GPS String") << c.sentence;
        EXPECT_EQ(h.st.report.rawgpsdata, "ERROR " + c.sentence) << c.sentence;
        EXPECT_EQ(h.st.report.latitude, "11.1111") << c.sentence;
        EXPECT_EQ(h.errors(), "") << c.sentence;
    }
}

TEST(Nmea, BadHemisphereLettersAreRefusedWithTheValuesKept) {
    struct Case {
        Kind kind;
        std::string sentence;
        const char *message, *latitude;
    } cases[] = {
        {Kind::Gga, "$GPGGA,123519,4807.0400,X,01131.0000,E,1,08,0.9,545.4,M,46.9,M,,*47",
         "BAD GPS DATA LINE (Lat)... skipping", "48.1173333333333"},
        {Kind::Rmc, "$GPRMC,123519,A,4807.0400,N,01131.0000,,022.4,084.4,230394,003.1,W*6A",
         "BAD GPS DATA LINE (Long.)... skipping", "48.1173333333333"},
        {Kind::Rmc, "$GPRMC,123519,A,4807.0400,N,01131.0000", "BAD GPS DATA LINE (Long.)... skipping",
         "48.1173333333333"},
    };
    for (const auto& c : cases) {
        DecoderHarness h;
        run(h, c.kind, c.sentence);
        EXPECT_EQ(h.st.marks.PGMmessage, c.message) << c.sentence;
        EXPECT_EQ(h.st.report.latitude, c.latitude) << c.sentence;
        EXPECT_EQ(h.st.report.rawgpsdata, c.sentence) << c.sentence;
        EXPECT_EQ(h.errors(), "") << c.sentence;
    }
}

TEST(Nmea, NumbersThatDoNotReadDropTheReportWithTheIncomingLine) {
    struct Case {
        Kind kind;
        std::string sentence;
        const char* marker;
        const char* latitude; // what the field shows when the decoder stops
    } cases[] = {
        {Kind::Gga, "$GPGGA,123519,48A7.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47", " in SUB GPGGA ", "11.1111"},
        {Kind::Gga, "$GPGGA,123519,4,N,01131.000,E,1,08", " in SUB GPGGA ", "11.1111"},
        {Kind::Gga, "$GPGGA,123519,48,N,01131.000,E,1,08", " in SUB GPGGA ", "11.1111"},
        {Kind::Rmc, "$GPRMC,123519,A,4807.040,N,011x1.000,E,0.0,0.0,230394,,", " in SUB GPRMC ", "48.1173333333333"},
        {Kind::Rmc, "$GPRMC,123519,A,4807.040,N,", " in SUB GPRMC ", "48.1173333333333"},
        // A checksum straight after the minutes is no part of the number.
        {Kind::Rmc, "$GPRMC,123519,A,4807.040,N,01131.000*1C", " in SUB GPRMC ", "48.1173333333333"},
    };
    for (const auto& c : cases) {
        DecoderHarness h;
        h.stalePosition();
        run(h, c.kind, c.sentence);
        EXPECT_EQ(h.st.report.rawgpsdata, "ERROR " + c.sentence) << c.sentence;
        EXPECT_EQ(h.st.report.latitude, c.latitude) << c.sentence;
        EXPECT_EQ(h.st.report.longitude, "22.2222") << c.sentence;
        EXPECT_EQ(h.errors(), DecoderHarness::typeMismatch(c.marker, h.st.report.incomingdata)) << c.sentence;
    }
}

TEST(Nmea, CommaWalkStartsOverAfterAMissingComma) {
    const auto k = nmea::commas("$X,a,b");
    EXPECT_EQ(k[1], 3u);
    EXPECT_EQ(k[2], 5u);
    EXPECT_EQ(k[3], 0u);
    EXPECT_EQ(k[4], 3u);
    EXPECT_EQ(k[5], 5u);
}
