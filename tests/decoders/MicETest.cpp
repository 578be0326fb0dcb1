// The Mic-E decoder on real packet shapes: destination digits and flags,
// longitude offsets and folds, and what a rejected report leaves behind.
#include "decoders/MicE.h"
#include "DecoderHarness.h"

#include <gtest/gtest.h>

using namespace qv;
using qv::test::DecoderHarness;

namespace {

struct Decoded {
    std::string latitude, northsouth, longitude, eastwest;
};

Decoded decode(DecoderHarness& h, const std::string& line) {
    h.st.report.micedata = line;
    h.st.report.incomingdata = line;
    MicE(h.ctx).micencoded();
    const auto& r = h.st.report;
    return {r.latitude, r.northsouth, r.longitude, r.eastwest};
}

} // namespace

TEST(MicE, DecodesPositionsAcrossHemispheresAndOffsets) {
    struct Case {
        const char* what;
        std::string line;
        Decoded want;
    } cases[] = {
        {"grave identifier", "N0CALL>S32UVT:`(#f", {"33.4273", "N", "112.129", "W"}},
        {"apostrophe identifier", "N0CALL>S32UVT:'(#f", {"33.4273", "N", "112.129", "W"}},
        {"minutes char past 60 folds", "N0CALL>S32UVT:`(_fn\"Oj/", {"33.4273", "N", "112.129", "W"}},
        {"path, digipeated, comment",
         "KF7ABC-9>SWTVXX,K7XYZ-3*,WIDE2-1:`25-l\"Ok/]\"4T}Mobile=",
         {"37.7813", "N", "122.4195", "W"}},
        {"south and east, 100 offset",
         "VK2XYZ-9>3352Q3,WIDE1-1,WIDE2-1:`O(Tl \x1c>/]\"4V}",
         {"33.8688", "S", "151.209333333333", "E"}},
        {"south and east, below 100", "5Z4ABC>010550,WIDE2-2:`@Lxl!Mv/", {"1.0917", "S", "36.8153333333333", "E"}},
        {"west under 100 degrees", "TF3XYZ-7>VTPX1P:`1TDl0x>/", {"64.1350", "N", "21.94", "W"}},
        {"longitude 0-9 with offset", "G4ABC-9>UQSPTT,WIDE2-1:'v__ \x1c>/", {"51.5073", "N", "0.127833333333333", "W"}},
        {"custom message digits A-J",
         "JA1XYZ>DFEQRR,WIDE1-1:`qT=l\x1c\x1c>/",
         {"35.6870", "N", "105.938833333333", "W"}},
        {"destination with SSID", "W1AW-9>TRRP0P-2,WIDE1-1:`c[Nl \x1c[/", {"42.3333", "N", "71.0583333333333", "W"}},
        {"ambiguity cuts the minutes", "N0CALL>S3KU6T:`(#f", {"33.0000", "N", "12.129", "W"}},
        {"ambiguity in the last digit", "N0CALL>S32UVZ:`(#f", {"33.4267", "N", "112.129", "W"}},
    };
    for (const auto& c : cases) {
        DecoderHarness h;
        const Decoded got = decode(h, c.line);
        EXPECT_EQ(got.latitude, c.want.latitude) << c.what;
        EXPECT_EQ(got.northsouth, c.want.northsouth) << c.what;
        EXPECT_EQ(got.longitude, c.want.longitude) << c.what;
        EXPECT_EQ(got.eastwest, c.want.eastwest) << c.what;
        EXPECT_EQ(h.st.report.rawgpsdata, c.line) << c.what;
        EXPECT_EQ(h.errors(), "") << c.what;
    }
}

TEST(MicE, LongitudeFoldsAtTheEdgesOfTheOffsetRanges) {
    struct Case {
        char degreeChar, minuteChar;
        const char* longitude;
    } cases[] = {
        {'v', '#', "0.129"},            // 118 - 28 + 100 = 190, folded to 0
        {'l', '#', "100.129"},          // 180, folded to 100
        {'u', '#', "109.129"},          // 189, the top of the first fold
        {'\x7f', '#', "9.129"},         // 199, the top of the second fold
        {'(', 'X', "112.012333333333"}, // minutes code 88 folds to 0
        {'(', 'a', "112.162333333333"}, // code 97 folds to 9
    };
    for (const auto& c : cases) {
        DecoderHarness h;
        const std::string line = std::string("N0CALL>S32UVT:`") + c.degreeChar + c.minuteChar + "f";
        EXPECT_EQ(decode(h, line).longitude, c.longitude) << line;
    }
}

TEST(MicE, DestinationDigitsFollowTheMicETable) {
    struct Case {
        char c, digit;
    } cases[] = {{'0', '0'}, {'9', '9'}, {'A', '0'}, {'J', '9'}, {'K', 'B'},
                 {'L', 'C'}, {'P', '0'}, {'Y', '9'}, {'Z', 'A'}, {'a', '1'}};
    for (const auto& c : cases)
        EXPECT_EQ(mice::digitOf(c.c), c.digit) << c.c;
}

TEST(MicE, NonNumericDegreesFailWithTypeMismatch) {
    DecoderHarness h;
    h.stalePosition();
    const std::string line = "N0CALL>SK2U6T:`(#f";
    decode(h, line);
    EXPECT_EQ(h.st.report.rawgpsdata, "ERROR " + line);
    EXPECT_EQ(h.st.report.latitude, "11.1111");
    EXPECT_EQ(h.errors(), DecoderHarness::typeMismatch(" in SUB MICENCODED ", line));
}

// Reports that stop half-way must be dropped: the fields not reached yet still
// hold the previous station's position.
TEST(MicE, IncompleteReportsAreMarkedWithoutTheNonCriticalNote) {
    struct Case {
        const char* what;
        std::string line;
        bool latitudeWritten;
    } cases[] = {
        {"five-character destination", "N0CALL>S32UV:`(#f", false},
        {"five characters then SSID", "N0CALL>S32UV-9,WIDE1-1:`(#f", false},
        {"line ends in the destination", "N0CALL>S32", false},
        {"information field too short", "N0CALL>S32UVT:`(#", true},
        {"no Mic-E identifier", "N0CALL>S32UVT:!(#f", true},
        {"fourth character not a flag", "N0CALL>S32AVT:`(#f", true},
    };
    for (const auto& c : cases) {
        DecoderHarness h;
        h.stalePosition();
        decode(h, c.line);
        EXPECT_EQ(h.st.report.rawgpsdata, "ERROR " + c.line) << c.what;
        EXPECT_EQ(h.st.report.latitude != "11.1111", c.latitudeWritten) << c.what;
        EXPECT_EQ(h.st.report.longitude, "22.2222") << c.what;
        EXPECT_EQ(h.errors(), DecoderHarness::entry(" 5Invalid procedure call or argument", " in SUB MICENCODED "))
            << c.what;
    }
}
