// Every record string, byte for byte, against a fixed clock.
#include "support/TrackingHarness.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

struct RecordCase {
    const char* name;
    const char* call;
    bool tracked;         // slot 1 holds the station with tracking on
    const char* tactical; // slot 1's tactical name
    bool tacticalOn, tacticalEnabled;
    const char *mxf, *rxf, *txf, *wpt, *plt, *sa5, *ngtopo, *ngtopocall, *spotfire, *ozicolor;
};

const RecordCase kRecordCases[] = {
    {"Slot1Plain", "N0CALL", true, "Tac1", false, true,
     R"(45.5, -122.6, "A:09:05", "12/7/2026 09:05", "RT:N0CALL", ff0000, 40)",
     R"(45.5, -122.6, "A:09:05", "12/7/2026 09:05", "", "RT:N0CALL", 800000, ff0000, 40)",
     R"(45.5, -122.6, "N0CALL", ff0000)", "-1, 09:05, 45.5, -122.6,  , 3, 1, 0, 0, 16711680, N0CALL @ 12/7/2026 09:05",
     "45.5, -122.6,0,   -777,, ,09:05", "45.5, -122.6, N0CALL, 12, 1, 2",
     "45.5, -122.6, A-0905, 12/7/2026 0905, N0CALL", "45.5, -122.6, N0CALL, 12/7/2026 0905, A-0905",
     "11111111\t12/07/2026 09:05:42.000\t1\t-122.60000\t45.50000\t-200\tCG", "16711680"},
    {"Slot1Tactical", "N0CALL", true, "Engine 3", true, true,
     R"(45.5, -122.6, "Engine 3@09:05", "12/7/2026 09:05", "RT:N0CALL", ff0000, 40)",
     R"(45.5, -122.6, "Engine 3@09:05", "12/7/2026 09:05", "", "RT:N0CALL", 800000, ff0000, 40)",
     R"(45.5, -122.6, "N0CALL", ff0000)",
     "-1, 09:05, 45.5, -122.6,  , 3, 1, 0, 0, 16711680, Engine 3 @ 12/7/2026 09:05", "45.5, -122.6,0,   -777,, ,09:05",
     "45.5, -122.6, Engine 3, 12, 1, 2", "45.5, -122.6, Engine 3-0905, 12/7/2026 0905, N0CALL",
     "45.5, -122.6, N0CALL, 12/7/2026 0905, A-0905",
     "11111111\t12/07/2026 09:05:42.000\t1\t-122.60000\t45.50000\t-200\tCG", "16711680"},
    {"TacticalCheckedButDisabled", "N0CALL", true, "Engine 3", true, false,
     R"(45.5, -122.6, "A:09:05", "12/7/2026 09:05", "RT:N0CALL", ff0000, 40)",
     R"(45.5, -122.6, "A:09:05", "12/7/2026 09:05", "", "RT:N0CALL", 800000, ff0000, 40)",
     R"(45.5, -122.6, "N0CALL", ff0000)", "-1, 09:05, 45.5, -122.6,  , 3, 1, 0, 0, 16711680, N0CALL @ 12/7/2026 09:05",
     "45.5, -122.6,0,   -777,, ,09:05", "45.5, -122.6, N0CALL, 12, 1, 2",
     "45.5, -122.6, A-0905, 12/7/2026 0905, N0CALL", "45.5, -122.6, N0CALL, 12/7/2026 0905, A-0905",
     "11111111\t12/07/2026 09:05:42.000\t1\t-122.60000\t45.50000\t-200\tCG", "16711680"},
    {"EmptyTacticalNameIsTacLetter", "N0CALL", true, "", true, true,
     R"(45.5, -122.6, "TacA@09:05", "12/7/2026 09:05", "RT:N0CALL", ff0000, 40)",
     R"(45.5, -122.6, "TacA@09:05", "12/7/2026 09:05", "", "RT:N0CALL", 800000, ff0000, 40)",
     R"(45.5, -122.6, "N0CALL", ff0000)", "-1, 09:05, 45.5, -122.6,  , 3, 1, 0, 0, 16711680, TacA @ 12/7/2026 09:05",
     "45.5, -122.6,0,   -777,, ,09:05", "45.5, -122.6, TacA, 12, 1, 2",
     "45.5, -122.6, TacA-0905, 12/7/2026 0905, N0CALL", "45.5, -122.6, N0CALL, 12/7/2026 0905, A-0905",
     "11111111\t12/07/2026 09:05:42.000\t1\t-122.60000\t45.50000\t-200\tCG", "16711680"},
    {"FireUnitInTacticalName", "N0CALL", true, "12345678/CGX", false, true,
     R"(45.5, -122.6, "A:09:05", "12/7/2026 09:05", "RT:N0CALL", ff0000, 40)",
     R"(45.5, -122.6, "A:09:05", "12/7/2026 09:05", "", "RT:N0CALL", 800000, ff0000, 40)",
     R"(45.5, -122.6, "N0CALL", ff0000)", "-1, 09:05, 45.5, -122.6,  , 3, 1, 0, 0, 16711680, N0CALL @ 12/7/2026 09:05",
     "45.5, -122.6,0,   -777,, ,09:05", "45.5, -122.6, N0CALL, 12, 1, 2",
     "45.5, -122.6, A-0905, 12/7/2026 0905, N0CALL", "45.5, -122.6, N0CALL, 12/7/2026 0905, A-0905",
     "12345678\t12/07/2026 09:05:42.000\t1\t-122.60000\t45.50000\t-200\tCG", "16711680"},
    // Before any tracked report the marker width is still empty.
    {"Untracked", "K1ABC", false, "Tac1", true, true,
     R"(45.5, -122.6, "Tac@09:05", "12/7/2026 09:05", "RT:K1ABC", -2147483643, )",
     R"(45.5, -122.6, "Tac@09:05", "12/7/2026 09:05", "", "RT:K1ABC", 800000, -2147483643, )",
     R"(45.5, -122.6, "K1ABC", -2147483643)", "-1, 09:05, 45.5, -122.6,  , 3, 1, 0, 0, 0, Tac @ 12/7/2026 09:05",
     "45.5, -122.6,0,   -777,, ,09:05", "45.5, -122.6, Tac, 12, 1, 0", "45.5, -122.6, Tac-0905, 12/7/2026 0905, K1ABC",
     "45.5, -122.6, K1ABC, 12/7/2026 0905, -0905", "11111111\t12/07/2026 09:05:42.000\t0\t-122.60000\t45.50000\t0\tCG",
     "0"},
};

class RecordStrings : public ::testing::TestWithParam<RecordCase> {};

TEST_P(RecordStrings, AreExact) {
    const RecordCase& c = GetParam();
    TrackingHarness h;
    if (c.tracked) h.track(1, c.call);
    h.table.setTeamname(1, c.tactical);
    h.st.tracking.CheckMapTacticalNames.enabled = c.tacticalEnabled;
    h.table.setMapTacticalNames(c.tacticalOn);
    h.report(c.call, "45.5", "-122.6");
    const RecordState& r = h.st.rec;
    EXPECT_EQ(r.mxfstring, c.mxf);
    EXPECT_EQ(r.rxfstring, c.rxf);
    EXPECT_EQ(r.txfstring, c.txf);
    EXPECT_EQ(r.wptstring, c.wpt);
    EXPECT_EQ(r.pltstring, c.plt);
    EXPECT_EQ(r.sa5string, c.sa5);
    EXPECT_EQ(r.ngtopostring, c.ngtopo);
    EXPECT_EQ(r.ngtopocallstring, c.ngtopocall);
    EXPECT_EQ(r.spotfirestring, c.spotfire);
    EXPECT_EQ(r.ozicolor, c.ozicolor);
    EXPECT_EQ(h.errors(), "");
}

INSTANTIATE_TEST_SUITE_P(Records, RecordStrings, ::testing::ValuesIn(kRecordCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Each slot's row of codes reaches the records.
TEST(RecordStrings, SlotCodesPerSlot) {
    struct Row {
        int slot;
        const char *hex, *letter, *ozi, *sa5tail, *spotSlot, *spotOffset;
    };
    const Row rows[] = {
        {1, "ff0000", "A", "16711680", "12, 1, 2", "1", "-200"}, {2, "ff", "B", "255", "12, 1, 1", "2", "-400"},
        {3, "8000", "C", "32768", "12, 1, 3", "3", "200"},       {4, "800080", "D", "8388736", "12, 1, 4", "4", "400"},
        {5, "0", "E", "65535", "16, 1, 0", "5", "-600"},         {6, "800000", "F", "65535", "46, 1, 0", "6", "-800"},
        {7, "80", "G", "65535", "47, 1, 0", "7", "600"},         {8, "ff00ff", "H", "65535", "14, 1, 0", "8", "800"},
    };
    for (const Row& row : rows) {
        TrackingHarness h;
        h.track(row.slot, "W7XYZ");
        h.report("W7XYZ", "44.1", "-121.2");
        SCOPED_TRACE(row.slot);
        EXPECT_EQ(h.st.rec.slotcolorhex, row.hex);
        EXPECT_EQ(h.st.rec.ozicolor, row.ozi);
        EXPECT_EQ(h.st.rec.sa5string, std::string("44.1, -121.2, W7XYZ, ") + row.sa5tail);
        EXPECT_EQ(h.st.rec.ngtopocallstring,
                  std::string("44.1, -121.2, W7XYZ, 12/7/2026 0905, ") + row.letter + "-0905");
        EXPECT_EQ(h.st.rec.spotfirestring, std::string("11111111\t12/07/2026 09:05:42.000\t") + row.spotSlot +
                                               "\t-121.20000\t44.10000\t" + row.spotOffset + "\tCG");
    }
}

// The SPOTFIRES record exists only inside the Oregon box; its edges are inside.
TEST(RecordStrings, SpotfiresOregonBox) {
    struct Pos {
        const char *lat, *lon;
        bool inside;
    };
    const Pos cases[] = {
        {"45.5", "-122.6", true},    {"47.0", "-122.6", false},   {"45.5", "-110.0", false},
        {"42", "-116.4", true},      {"46.23", "-124.6", true},   {"41.99999", "-120", false},
        {"46.230004", "-120", true}, {"46.23001", "-120", false}, {"45", "-124.600004", true},
        {"45", "-124.60001", false}, {"45", "-116.39999", false},
    };
    for (const Pos& p : cases) {
        TrackingHarness h;
        h.track(1, "N0CALL");
        h.report("N0CALL", p.lat, p.lon);
        SCOPED_TRACE(std::string(p.lat) + " " + p.lon);
        if (p.inside)
            EXPECT_NE(h.st.rec.spotfirestring, "outoforegon");
        else
            EXPECT_EQ(h.st.rec.spotfirestring, "outoforegon");
    }
}

// A position that is no number cannot be placed: outside the box, with an entry.
TEST(RecordStrings, SpotfiresNonNumericIsOutside) {
    TrackingHarness h;
    h.track(1, "N0CALL");
    h.report("N0CALL", "", "-122.6");
    EXPECT_EQ(h.st.rec.spotfirestring, "outoforegon");
    EXPECT_NE(h.errors().find(" in SUB MAKESTRINGS "), std::string::npos);
}

TEST(RecordStrings, SpotfiresRoundsToFiveDecimals) {
    TrackingHarness h;
    h.track(1, "N0CALL");
    h.report("N0CALL", "45.123456", "-122.0000049");
    EXPECT_EQ(h.st.rec.spotfirestring, "11111111\t12/07/2026 09:05:42.000\t1\t-122.00000\t45.12346\t-200\tCG");
}

TEST(RecordStrings, UnitCodeIsTwoCharactersAfterFirstSlash) {
    struct Tac {
        const char *name, *id, *code;
    };
    const Tac cases[] = {{"12345678/CG", "12345678", "CG"},
                         {"ABC/XY/Z", "ABC", "XY"},
                         {"ABC/X", "ABC", "X"},
                         {"/WF", "", "WF"},
                         {"Engine 3", "11111111", "CG"}};
    for (const Tac& t : cases) {
        TrackingHarness h;
        h.track(1, "N0CALL");
        h.table.setTeamname(1, t.name);
        h.report("N0CALL", "45.5", "-122.6");
        EXPECT_EQ(h.st.rec.spotfirestring,
                  std::string(t.id) + "\t12/07/2026 09:05:42.000\t1\t-122.60000\t45.50000\t-200\t" + t.code)
            << t.name;
    }
}

// Afternoon and midnight hours are two-digit 24-hour values.
TEST(RecordStrings, HoursAreTwentyFourHour) {
    TrackingHarness h;
    h.track(1, "N0CALL");
    h.clock.t = {2026, 3, 4, 14, 7, 9};
    h.report("N0CALL", "45.5", "-122.6");
    EXPECT_EQ(h.st.rec.mxfstring, R"(45.5, -122.6, "A:14:07", "3/4/2026 14:07", "RT:N0CALL", ff0000, 40)");
    EXPECT_EQ(h.st.rec.ngtopostring, "45.5, -122.6, A-1407, 3/4/2026 1407, N0CALL");
    EXPECT_EQ(h.st.rec.spotfirestring, "11111111\t03/04/2026 14:07:09.000\t1\t-122.60000\t45.50000\t-200\tCG");
    EXPECT_EQ(h.st.slots[1].lastHeard, "3/4/2026 2:07:09 PM");
    h.clock.t = {2027, 1, 1, 0, 3, 0};
    h.report("N0CALL", "45.5", "-122.6");
    EXPECT_EQ(h.st.rec.pltstring, "45.5, -122.6,0,   -777,, ,00:03");
    EXPECT_EQ(h.st.slots[1].lastHeard, "1/1/2027 12:03:00 AM");
}

} // namespace
} // namespace qv::test
