// Objects and items: packets from the test suites of public APRS parsers and
// APRS 1.01, with the names and positions decode_aprs prints for them.
#include "decoders/ObjectItem.h"

#include <gtest/gtest.h>

#include <string>

using namespace qv;
using objectitem::Kind;

namespace {

double dm(int degrees, double minutes) { return degrees + minutes / 60; }
constexpr double kPrinted = 1e-6; // minutes printed to four decimals

} // namespace

TEST(ObjectItem, PublishedObjectsAndItemsDecodeAsDecodeAprsPrintsThem) {
    struct Case {
        std::string info;
        Kind kind;
        const char* name;
        bool alive, compressed;
        double lat, lon;
        int daoLat, daoLon;
    } cases[] = {
        {";LEADER   *092345z4903.50N/07201.75W>088/036", Kind::Object, "LEADER", true, false, dm(49, 3.5),
         -dm(72, 1.75), -1, -1},
        {";LEADER   _092345z4903.50N/07201.75W>088/036", Kind::Object, "LEADER", false, false, dm(49, 3.5),
         -dm(72, 1.75), -1, -1},
        // Compressed, with a blank inside the name and two after it.
        {";SRAL HQ  *100927zS0%E/Th4_a  AKaupinmaenpolku9,open M-Th12-17,F12-14 lcl", Kind::Object, "SRAL HQ", true,
         true, dm(60, 13.8296), dm(24, 52.7381), -1, -1},
        {")AID #2!4903.50N/07201.75WA", Kind::Item, "AID #2", true, false, dm(49, 3.5), -dm(72, 1.75), -1, -1},
        {")AID #2_4903.50N/07201.75WA", Kind::Item, "AID #2", false, false, dm(49, 3.5), -dm(72, 1.75), -1, -1},
        {")X1Y!4903.50N/07201.75WA", Kind::Item, "X1Y", true, false, dm(49, 3.5), -dm(72, 1.75), -1, -1},
        {")MOBILE!4903.50N/07201.75W>088/036", Kind::Item, "MOBILE", true, false, dm(49, 3.5), -dm(72, 1.75), -1, -1},
        {")ABCDEFGHI!4903.50N/07201.75W>", Kind::Item, "ABCDEFGHI", true, false, dm(49, 3.5), -dm(72, 1.75), -1, -1},
        // An object name may hold the item marks; only its tenth character counts.
        {";FIRE!_1  *092345z4903.50N/07201.75W:", Kind::Object, "FIRE!_1", true, false, dm(49, 3.5), -dm(72, 1.75), -1,
         -1},
        // Ambiguity blanks read as zeros; hemisphere letters in lower case.
        {";LEADER   *092345z4903.  N/07201.  W>", Kind::Object, "LEADER", true, false, dm(49, 3.0), -dm(72, 1.0), -1,
         -1},
        {")AID #2!4903.50s/07201.75eA", Kind::Item, "AID #2", true, false, -dm(49, 3.5), dm(72, 1.75), -1, -1},
        // !DAO! digits on a plain and on a compressed position.
        {";OBJ      *092345z4903.50S/07201.75E-!W12! x", Kind::Object, "OBJ", true, false, -dm(49, 3.501),
         dm(72, 1.752), 1, 2},
        {")AID #2!/5L!!<*e7A   !w11! x", Kind::Item, "AID #2", true, true, dm(49, 30.0018), -dm(72, 45.0020), 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.info);
        const objectitem::Report r = objectitem::decode(c.info);
        ASSERT_EQ(r.fault, PositionFault::None);
        EXPECT_EQ(r.head.kind, c.kind);
        EXPECT_EQ(r.head.name, c.name);
        EXPECT_EQ(r.head.alive, c.alive);
        EXPECT_EQ(r.head.compressed, c.compressed);
        EXPECT_NEAR(r.latitude, c.lat, kPrinted);
        EXPECT_NEAR(r.longitude, c.lon, kPrinted);
        EXPECT_EQ(r.daoLatDigit, c.daoLat);
        EXPECT_EQ(r.daoLonDigit, c.daoLon);
    }
}

TEST(ObjectItem, MalformedObjectsAndItemsSayWhy) {
    struct Case {
        const char* info;
        PositionFault fault;
    } cases[] = {
        // Binary characters lost in a copy: one blank short, the mark lands on the time.
        {";SRAL HQ *110507zS0%E/Th4_a AKaupinmaenpolku9", PositionFault::BadFlag},
        {";SHORT", PositionFault::TooShort},
        {";LEADER   ", PositionFault::TooShort},
        {";LEADER   *092345z", PositionFault::TooShort},
        {";LEADER   *092345z4903.50N/0720", PositionFault::TooShort},
        {";         *092345z4903.50N/07201.75W>", PositionFault::BadName},
        {";LEADER   !092345z4903.50N/07201.75W>", PositionFault::BadFlag},
        {";LEADER   *092345z4903.50X/07201.75W>", PositionFault::BadHemisphere},
        {";LEADER   *092345z4903.50N/07201.75Q>", PositionFault::BadHemisphere},
        {";LEADER   *092345z49O3.50N/07201.75W>", PositionFault::BadCharacter},
        {";LEADER   *092345z4903,50N/07201.75W>", PositionFault::BadCharacter},
        {";LEADER   *092345z4963.50N/07201.75W>", PositionFault::OutOfRange},
        {";LEADER   *092345z9103.50N/07201.75W>", PositionFault::OutOfRange},
        {";LEADER   *092345z4903.50N/18101.75W>", PositionFault::OutOfRange},
        {";LEADER   *092345z/5L!!<*e7>7P", PositionFault::TooShort},
        {";LEADER   *092345z/5L! <*e7>7P[", PositionFault::BadCharacter},
        {")IT!4903.50N/07201.75W-", PositionFault::BadName},  // two characters
        {")A_B!4903.50N/07201.75W-", PositionFault::BadName}, // the first mark ends the name
        {")TOOLONGNAME!4903.50N/07201.75W-", PositionFault::BadName},
        {")NOMARK", PositionFault::TooShort},
        {")NOMARKATALLHERE", PositionFault::BadFlag},
        {")AID #2!", PositionFault::TooShort},
        {"", PositionFault::BadFlag},
        {"!4903.50N/07201.75W-", PositionFault::BadFlag},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.info);
        EXPECT_EQ(objectitem::decode(c.info).fault, c.fault);
    }
}
