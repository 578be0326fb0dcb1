// Compressed positions: the examples of APRS 1.01 chapter 9, packets from the
// test suites of public APRS parsers, and what decode_aprs (Debian's direwolf)
// prints for the same packets, in degrees and minutes to four decimals.
#include "decoders/CompressedPosition.h"

#include <gtest/gtest.h>

#include <string>

using namespace qv;
using compressed::Extra;

namespace {

// Degrees and minutes as decode_aprs prints them (negated for S and W below).
double dm(int degrees, double minutes) { return degrees + minutes / 60; }

// decode_aprs prints minutes to four decimals: 0.00005' is under 1e-6 degrees.
constexpr double kPrinted = 1e-6;

} // namespace

TEST(CompressedPosition, PublishedPacketsDecodeAsDecodeAprsPrintsThem) {
    struct Case {
        const char* position; // from the symbol table on
        double lat, lon;
        char table, code;
        Extra extra;
        double value; // course, range or altitude
        double speed;
    } cases[] = {
        // APRS 1.01: course 88, speed 36.2 knots; altitude 10 004 ft; range 20.1 miles.
        {"/5L!!<*e7>7P[", dm(49, 30.0000), -dm(72, 45.0002), '/', '>', Extra::CourseSpeed, 88, 36.23},
        {"/5L!!<*e7OS]S", dm(49, 30.0000), -dm(72, 45.0002), '/', 'O', Extra::Altitude, 10004.5, 0},
        {"/5L!!<*e7>{?!", dm(49, 30.0000), -dm(72, 45.0002), '/', '>', Extra::Range, 20.13, 0},
        // Igate with an overlay and a range of 5 miles.
        {"I0-X;T_Wv&{-Aigate testing", dm(60, 3.1206), dm(24, 30.2704), 'I', '&', Extra::Range, 5.04, 0},
        // Course 0, 58.1 knots (107.57 km/h).
        {"//zPHTfVv>!V_ Tero, Green Volvo 960", dm(60, 21.4941), dm(24, 48.5026), '/', '>', Extra::CourseSpeed, 0,
         58.08},
        // Weather station: the course byte is the wind direction.
        {"/:JF!T/W-_e!bg000t054r000p010", dm(39, 38.6001), dm(22, 25.0301), '/', '_', Extra::CourseSpeed, 272, 0},
        {"/0(yiTc5y>{2O http://aprs.fi/!w11!", dm(60, 9.1621), dm(24, 39.7315), '/', '>', Extra::Range, 7.40, 0},
        {"S0%E/Th4_a  AKaupinmaenpolku9", dm(60, 13.8296), dm(24, 52.7381), 'S', 'a', Extra::None, 0, 0},
        // The corners: 90 N and 180 W are the smallest digits; a blank course byte carries nothing.
        {"/!!!!!!!!>  !", 90, -180, '/', '>', Extra::None, 0, 0},
        // Overlay digits are sent as "a".."j".
        {"a5L!!<*e7#  !", dm(49, 30.0000), -dm(72, 45.0002), 'a', '#', Extra::None, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.position);
        const compressed::Report r = compressed::decode(c.position);
        ASSERT_EQ(r.fault, PositionFault::None);
        EXPECT_NEAR(r.latitude, c.lat, kPrinted);
        EXPECT_NEAR(r.longitude, c.lon, kPrinted);
        EXPECT_EQ(r.symbolTable, c.table);
        EXPECT_EQ(r.symbolCode, c.code);
        EXPECT_EQ(r.extra, c.extra);
        switch (c.extra) {
        case Extra::CourseSpeed:
            EXPECT_EQ(r.course, c.value);
            EXPECT_NEAR(r.speedKnots, c.speed, 0.01);
            break;
        case Extra::Range: EXPECT_NEAR(r.rangeMiles, c.value, 0.01); break;
        case Extra::Altitude: EXPECT_NEAR(r.altitudeFeet, c.value, 0.1); break;
        case Extra::None: break;
        }
    }
}

TEST(CompressedPosition, TextsThatHoldNoPositionSayWhy) {
    struct Case {
        std::string position;
        PositionFault fault;
    } cases[] = {
        {"", PositionFault::TooShort},
        {"/5L!!<*e7>7P", PositionFault::TooShort},
        {"/@@.Y:*lol ", PositionFault::TooShort}, // twelve characters: must not decode
        {"05L!!<*e7>7P[", PositionFault::BadSymbolTable},
        {"k5L!!<*e7>7P[", PositionFault::BadSymbolTable}, // overlays stop at "j"
        {" 5L!!<*e7>7P[", PositionFault::BadSymbolTable},
        {"/5L! <*e7>7P[", PositionFault::BadCharacter}, // blank inside the latitude
        {"/5L!!<*e|>7P[", PositionFault::BadCharacter}, // "|" is past the last base-91 digit
        {"/5L!!<*e\x7f>7P[", PositionFault::BadCharacter},
        {std::string("/5L!!<*e") + '\0' + ">7P[", PositionFault::BadCharacter},
        {"/{{{{!!!!>7P[", PositionFault::OutOfRange}, // past the south pole
        {"/5L!!{{{{>7P[", PositionFault::OutOfRange}, // past the date line
        {"/5L!!<*e7>7P[", PositionFault::None},
        {"/5L!!<*e7>\x7f\x7f[", PositionFault::None}, // unreadable course bytes leave the position
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.position);
        const compressed::Report r = compressed::decode(c.position);
        EXPECT_EQ(r.fault, c.fault);
        if (c.fault == PositionFault::None) {
            EXPECT_NEAR(r.latitude, dm(49, 30.0), kPrinted);
        }
    }
}

TEST(CompressedPosition, OnlySymbolTablesStartACompressedPosition) {
    // A plain position starts with a latitude digit instead.
    for (char c : {'/', '\\', 'A', 'Z', 'a', 'j'})
        EXPECT_TRUE(compressed::isSymbolTable(c)) << c;
    for (char c : {'0', '9', ' ', 'k', 'z', '!', '\0'})
        EXPECT_FALSE(compressed::isSymbolTable(c)) << c;
}
