// Sentence names of every GNSS talker, as receivers of today send them.
#include "decoders/NmeaTalker.h"

#include <gtest/gtest.h>

#include <string>

using namespace qv;

TEST(NmeaTalker, EveryConstellationsSentenceNameIsKnown) {
    struct Case {
        const char* text;
        const char* sentence;
        bool is;
        const char* talker;
    } cases[] = {
        {"$GPGGA,123519,4807.038,N", "GGA", true, "GP"},
        {"$GNRMC,123519,A,4807.038", "RMC", true, "GN"},
        {"$GLGGA,", "GGA", true, "GL"},
        {"$GAWPL,", "WPL", true, "GA"},
        {"$GBRMC,", "RMC", true, "GB"},
        {"$BDGGA,", "GGA", true, "BD"},
        {"$gnrmc,", "RMC", true, "GN"}, // letter case is ignored
        {"$GNGGA", "GGA", true, "GN"},  // the name alone
        {"$GNRMC,", "GGA", false, "GN"},
        {"$GQRMC,", "RMC", false, ""}, // a talker not read here
        {"$IIRMC,", "RMC", false, ""},
        {"GNRMC,", "RMC", false, ""},
        {"$GNRM", "RMC", false, "GN"},
        {"$G", "RMC", false, ""},
        {"", "RMC", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(nmea::isSentence(c.text, c.sentence), c.is);
        EXPECT_EQ(nmea::talkerOf(c.text), c.talker);
    }
}

TEST(NmeaTalker, FindsTheFirstSentenceOfAKindAnywhere) {
    const std::string npos = "npos";
    struct Case {
        const char* text;
        std::size_t at;
    } cases[] = {
        {"$GNWPL,4807.04,N,01131.00,E,WPTNME", 0},
        {"N0CALL>APRS:$GNWPL,4903.50,N", 12},
        {"N0CALL>APRS:$GPWPX $BDWPL,", 19},
        {"N0CALL>APRS:$$GAWPL,", 13},
        {"N0CALL>APRS:GNWPL and $GNWP", std::string::npos},
        {"", std::string::npos},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nmea::findSentence(c.text, "WPL"), c.at) << c.text;
}
