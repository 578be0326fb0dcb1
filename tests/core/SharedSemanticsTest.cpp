// The shared semantics every subsystem relies on: number forms and readings,
// case-blind search, the field reader, working-directory files, error entries.
#include "core/ErrorLog.h"
#include "core/Failure.h"
#include "core/Fields.h"
#include "core/NumberText.h"
#include "core/Text.h"
#include "core/WorkDir.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(NumberText, GeneralFormIsShortestWithFifteenDigits) {
    struct Case {
        double v;
        const char* text;
    } cases[] = {
        {45.5, "45.5"},
        {-45.5, "-45.5"},
        {0.0, "0"},
        {-0.0, "0"},
        {100.0, "100"},
        {0.1 + 0.2, "0.3"},
        {1e-5, "1E-05"},
        {0.0001, "0.0001"},
        {1e15, "1E+15"},
        {123456789012345.0, "123456789012345"},
        {-122.4194, "-122.4194"},
        {33.123456789012345678, "33.1234567890123"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(num::general(c.v), c.text) << c.v;
}

TEST(NumberText, FixedFormRoundsAndKeepsOneIntegerDigit) {
    EXPECT_EQ(num::rounded4(45.123456), "45.1235");
    EXPECT_EQ(num::rounded4(0.5), "0.5000");
    EXPECT_EQ(num::rounded4(-122.41945), "-122.4195");
    EXPECT_EQ(num::rounded4(-0.00001), "0.0000");
    EXPECT_EQ(num::fixed(1.0 / 3.0, 5), "0.33333");
    struct Case {
        double v;
        int decimals;
        const char* text;
    } cases[] = {
        {0.00005, 4, "0.0001"}, {0.00004, 4, "0.0000"},      {9.99995, 4, "10.0000"},
        {-0.5, 4, "-0.5000"},   {2.00005, 4, "2.0001"},      {1e20, 4, "100000000000000000000.0000"},
        {-7.0, 0, "-7"},        {0.000001234, 5, "0.00000"}, {123.456, 5, "123.45600"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(num::fixed(c.v, c.decimals), c.text) << c.v;
}

TEST(NumberText, LeadingReadingSkipsBlanksAndStopsAtFirstStranger) {
    struct Case {
        const char* text;
        double v;
    } cases[] = {
        {"", 0},     {"abc", 0},    {"  12.5xyz", 12.5}, {"1 2 3", 123}, {"-4.25,77", -4.25},   {"3.", 3},
        {".5", 0.5}, {"1e3", 1000}, {"1e", 1},           {"+7", 7},      {"4807.38N", 4807.38}, {"\t-0.5", -0.5},
        {"--1", 0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(num::leading(c.text), c.v) << c.text;
}

TEST(NumberText, StrictReadingFailsWithTypeMismatch) {
    EXPECT_DOUBLE_EQ(num::strict(" 45.5 "), 45.5);
    EXPECT_DOUBLE_EQ(num::strict("-122"), -122);
    for (const char* bad : {"", " ", "12a", "N", "1.2.3", "--5"}) {
        try {
            num::strict(bad);
            ADD_FAILURE() << "accepted " << bad;
        } catch (const Failure& f) {
            EXPECT_EQ(f.number(), 13);
            EXPECT_EQ(f.description(), "Type mismatch");
        }
    }
    EXPECT_EQ(num::strictInt("2.5"), 2);
    EXPECT_EQ(num::strictInt("3.5"), 4);
    EXPECT_THROW(num::strictInt("1e12"), Failure);
}

TEST(Text, CaseBlindSearchWithOneBasedPositions) {
    EXPECT_EQ(text::ifind("abc$gpgga,1", "$GPGGA"), 4u);
    EXPECT_EQ(text::ifind("abc", "x"), 0u);
    EXPECT_EQ(text::ifind("a:b:c", ":", 3), 4u);
    EXPECT_EQ(text::ifind("", ""), 1u);
    EXPECT_TRUE(text::iequals("n0call-9", "N0CALL-9"));
    EXPECT_FALSE(text::iequals("N0CALL", "N0CALL-9"));
    EXPECT_EQ(text::mid("ABCDEF", 3, 2), "CD");
    EXPECT_EQ(text::mid("ABC", 9), "");
    EXPECT_EQ(text::left("ABC", 80), "ABC");
    EXPECT_EQ(text::right("ABCDEF", 2), "EF");
    EXPECT_EQ(text::at("ABC", 0), '\0');
    EXPECT_EQ(text::at("ABC", 3), 'C');
}

// The scan that stands in for find_first_of must find what it finds.
TEST(Text, FindAnyAgreesWithFindFirstOf) {
    const std::string_view texts[] = {"", "abc", "N0CALL>APRS:!4456.95N", "a[b]c:d\r\n", "\n", "x\r", "[[[]"};
    for (std::string_view t : texts)
        for (std::string_view set : {"\r\n", ":[\r\n", "][\r\n", ",:- \r\n", ""})
            for (std::size_t from = 0; from <= t.size() + 1; ++from)
                EXPECT_EQ(text::findAny(t, set, from), t.find_first_of(set, from)) << t << " " << from;
}

TEST(Fields, QuotesBlanksAndShortLists) {
    auto f = readFields("$GPWGT, 1 ,\"a, b\" ,,x", 5);
    EXPECT_TRUE(f.complete);
    EXPECT_EQ(f[1], "$GPWGT");
    EXPECT_EQ(f[2], "1");
    EXPECT_EQ(f[3], "a, b");
    EXPECT_EQ(f[4], "");
    EXPECT_EQ(f[5], "x");

    auto shortList = readFields("a,b", 6);
    EXPECT_FALSE(shortList.complete);
    ASSERT_EQ(shortList.fields.size(), 6u);
    EXPECT_EQ(shortList[2], "b");
    EXPECT_EQ(shortList[6], "");

    FieldReader r("\"x\",#TRUE#\r\n5\r\n");
    EXPECT_EQ(r.next(), "x");
    EXPECT_EQ(r.next(), "#TRUE#");
    EXPECT_EQ(r.next(), "5");
    try {
        r.next();
        ADD_FAILURE();
    } catch (const Failure& fl) {
        EXPECT_EQ(fl.number(), 62);
    }
}

TEST(WorkDirFiles, CrLfLinesCaseBlindNamesAndPatternDeletes) {
    test::TempDir tmp;
    WorkDir dir(tmp.path());
    dir.appendLine("quorvel.txf", "one");
    dir.appendLine("QUORVEL.TXF", "two");
    EXPECT_EQ(tmp.read("quorvel.txf"), "one\r\ntwo\r\n");
    dir.appendLines("quorvel.txf", {"", "three", ""});
    EXPECT_EQ(dir.lastNonEmptyLine("Quorvel.Txf"), "three");

    tmp.write("quorvel01.TXF", "x");
    tmp.write("quorvel02.txf", "x");
    tmp.write("other.txf", "x");
    EXPECT_EQ(dir.removeMatching("quorvel*.txf"), 3);
    EXPECT_TRUE(dir.exists("other.TXF"));

    try {
        dir.readLines("missing.txt");
        ADD_FAILURE();
    } catch (const Failure& f) {
        EXPECT_EQ(f.number(), 53);
    }
    try {
        dir.appendLine("nodir/x.txt", "a");
        ADD_FAILURE();
    } catch (const Failure& f) {
        EXPECT_EQ(f.number(), 76);
    }
}

TEST(WorkDirFiles, FullDiskIsAFailureNotASuccess) {
    test::TempDir tmp;
    std::filesystem::create_symlink("/dev/full", tmp.path() / "quorvel.mxf");
    WorkDir dir(tmp.path());
    try {
        dir.appendLine("quorvel.mxf", "record");
        ADD_FAILURE() << "write to a full disk passed";
    } catch (const Failure& f) {
        EXPECT_EQ(f.number(), 61);
    }
}

TEST(ErrorLogFile, EntryFormGuardAndTrimming) {
    test::TempDir tmp;
    test::FakeClock clock;
    WorkDir dir(tmp.path());
    ErrorLog log(dir, clock);

    bool ran = log.guard(" in SUB INSPECTDATALINE ", [] { throw Failure(13); });
    EXPECT_FALSE(ran);
    log.entry(-5, "Odd", " in SUB X ");
    EXPECT_EQ(tmp.read("quorvel.err"), "\r\nERROR  13Type mismatch in SUB INSPECTDATALINE 12/7/2026 9:05:42 AM\r\n"
                                       "\r\nERROR -5Odd in SUB X 12/7/2026 9:05:42 AM\r\n");
    EXPECT_TRUE(log.guard("m", [] {}));

    std::string big;
    for (int i = 1; i <= 3000; ++i)
        big += "line" + std::to_string(i) + "\r\n";
    tmp.write("quorvel.err", big);
    log.errorfileresize();
    auto lines = dir.readLines("quorvel.err");
    ASSERT_EQ(lines.size(), 1001u);
    EXPECT_EQ(lines.front(), "line2000");
    EXPECT_EQ(lines.back(), "line3000");
    EXPECT_FALSE(dir.exists("quorvel.rrr"));

    std::string small;
    for (int i = 1; i <= 500; ++i)
        small += "l" + std::to_string(i) + "\r\n";
    tmp.write("quorvel.err", small);
    log.errorfileresize();
    EXPECT_EQ(tmp.read("quorvel.err"), small);
}
