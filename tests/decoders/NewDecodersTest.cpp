// The decoders of compressed positions, objects and items and the !DAO!
// reader on their own: what APRS 1.01 and public parser test suites publish
// beyond the position, and why a text holds none. Their positions are held
// against decode_aprs by DecodeAprsAgreementTest.
#include "decoders/CompressedPosition.h"
#include "decoders/Dao.h"
#include "decoders/ObjectItem.h"

#include <gtest/gtest.h>

#include <string>

using namespace qv;
using compressed::Extra;

TEST(NewDecoders, CompressedCourseSpeedRangeAndAltitude) {
    struct Case {
        const char* position;
        Extra extra;
        double value, speed; // course, range or altitude; knots
    } cases[] = {
        {"/5L!!<*e7>7P[", Extra::CourseSpeed, 88, 36.23}, // the examples of APRS 1.01
        {"/5L!!<*e7OS]S", Extra::Altitude, 10004.5, 0},
        {"/5L!!<*e7>{?!", Extra::Range, 20.13, 0},
        {"//zPHTfVv>!V_ Tero", Extra::CourseSpeed, 0, 58.08},
        {"a5L!!<*e7#  !", Extra::None, 0, 0}, // overlay digit "a", no course bytes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.position);
        const compressed::Report r = compressed::decode(c.position);
        ASSERT_EQ(r.fault, PositionFault::None);
        EXPECT_EQ(r.extra, c.extra);
        const double got = c.extra == Extra::Range      ? r.rangeMiles
                           : c.extra == Extra::Altitude ? r.altitudeFeet
                                                        : r.course;
        EXPECT_NEAR(got, c.value, 0.1);
        EXPECT_NEAR(r.speedKnots, c.speed, 0.01);
    }
    // The corners: the smallest digits are 90 N, 180 W.
    const compressed::Report corner = compressed::decode("/!!!!!!!!>  !");
    EXPECT_EQ(corner.latitude, 90);
    EXPECT_EQ(corner.longitude, -180);
}

TEST(NewDecoders, ObjectAndItemNamesAndMarks) {
    struct Case {
        const char* info;
        const char* name;
        bool alive, compressed;
    } cases[] = {
        {";LEADER   *092345z4903.50N/07201.75W>088/036", "LEADER", true, false},
        {";LEADER   _092345z4903.50N/07201.75W>088/036", "LEADER", false, false},
        {";SRAL HQ  *100927zS0%E/Th4_a  AKaupinmaenpolku9", "SRAL HQ", true, true},
        {";FIRE!_1  *092345z4903.50N/07201.75W:", "FIRE!_1", true, false}, // only the tenth character marks
        {")AID #2!4903.50N/07201.75WA", "AID #2", true, false},
        {")AID #2_4903.50N/07201.75WA", "AID #2", false, false},
        {")ABCDEFGHI!/5L!!<*e7A   ", "ABCDEFGHI", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.info);
        const objectitem::Report r = objectitem::decode(c.info);
        ASSERT_EQ(r.fault, PositionFault::None);
        EXPECT_EQ(r.head.name, c.name);
        EXPECT_EQ(r.head.alive, c.alive);
        EXPECT_EQ(r.head.compressed, c.compressed);
    }
}

TEST(NewDecoders, TextsWithoutAPositionSayWhy) {
    struct Case {
        std::string text;
        PositionFault fault;
    } compressedCases[] =
        {
            {"/@@.Y:*lol ", PositionFault::TooShort}, // twelve characters must not decode
            {"05L!!<*e7>7P[", PositionFault::BadSymbolTable},
            {"k5L!!<*e7>7P[", PositionFault::BadSymbolTable}, // overlays end at "j"
            {"/5L! <*e7>7P[", PositionFault::BadCharacter},
            {"/5L!!<*e|>7P[", PositionFault::BadCharacter}, // "|" is past base-91 digit 90 ("{")
            {std::string("/5L!!<*e") + '\0' + ">7P[", PositionFault::BadCharacter},
            {"/{{{{!!!!>7P[", PositionFault::OutOfRange}, // beyond the south pole
            {"/5L!!{{{{>7P[", PositionFault::OutOfRange}, // beyond the date line
        },
      objectCases[] = {
          // Binary characters lost in a copy: one blank short, the mark lands on the time.
          {";SRAL HQ *110507zS0%E/Th4_a AKaupinmaenpolku9", PositionFault::BadFlag},
          {";LEADER   *092345z4903.50N/0720", PositionFault::TooShort},
          {";         *092345z4903.50N/07201.75W>", PositionFault::BadName},
          {";LEADER   *092345z4903.50X/07201.75W>", PositionFault::BadHemisphere},
          {";LEADER   *092345z49O3.50N/07201.75W>", PositionFault::BadCharacter},
          {";LEADER   *092345z4963.50N/07201.75W>", PositionFault::OutOfRange},
          {";LEADER   *092345z4903.50N/18101.75W>", PositionFault::OutOfRange},
          {";LEADER   *092345z/5L!!<*e7>7P", PositionFault::TooShort},
          {")IT!4903.50N/07201.75W-", PositionFault::BadName},  // two characters
          {")A_B!4903.50N/07201.75W-", PositionFault::BadName}, // the first mark ends the name
          {")TOOLONGNAME!4903.50N/07201.75W-", PositionFault::BadName},
          {")NOMARKATALLHERE", PositionFault::BadFlag},
          {")AID #2!", PositionFault::TooShort},
      };
    for (const auto& c : compressedCases)
        EXPECT_EQ(compressed::decode(c.text).fault, c.fault) << c.text;
    for (const auto& c : objectCases)
        EXPECT_EQ(objectitem::decode(c.text).fault, c.fault) << c.text;
}

TEST(NewDecoders, DaoDigitsOfTheFirstExtension) {
    struct Case {
        const char* comment;
        bool found;
        int latDigit, lonDigit;
        double latMinutes, lonMinutes;
    } cases[] = {
        {"!W36!", true, 3, 6, 0.003, 0.006},
        {"!W 9! x", true, -1, 9, 0, 0.009},               // a blank adds nothing
        {"!w?\?!", true, 3, 3, 30 / 9100.0, 30 / 9100.0}, // base 91: 30 of 91 parts of a hundredth
        {"!w{{!", true, 9, 9, 90 / 9100.0, 90 / 9100.0},
        {"aaa!W12!bbb!W23!ccc", true, 1, 2, 0.001, 0.002},
        {"!W1x! !Wab! !1AB! !w|!! !W12", false, -1, -1, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.comment);
        const dao::Extension x = dao::find(c.comment);
        EXPECT_EQ(x.found, c.found);
        EXPECT_EQ(x.latDigit, c.latDigit);
        EXPECT_EQ(x.lonDigit, c.lonDigit);
        EXPECT_NEAR(x.latMinutes, c.latMinutes, 1e-12);
        EXPECT_NEAR(x.lonMinutes, c.lonMinutes, 1e-12);
    }
    // Away from the equator and Greenwich on every side, never past a pole.
    const dao::Point p = dao::apply(dao::find("!W36!"), -1, -2);
    EXPECT_NEAR(p.latitude, -1.00005, 1e-12);
    EXPECT_NEAR(p.longitude, -2.0001, 1e-12);
    EXPECT_EQ(dao::apply(dao::find("!W99!"), 90, 180).latitude, 90);
}
