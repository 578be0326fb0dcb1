// The plain APRS decoders on the documented examples and on real packet shapes.
#include "decoders/AprsPosition.h"
#include "decoders/DecoderHarness.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

struct Expect {
    const char* info;
    const char* lat;
    const char* ns;
    const char* lon;
    const char* ew;
    const char* status; // "" when accepted
};

class AprsDecoders : public ::testing::Test, public DecoderHarness {
protected:
    AprsPosition dec{ctx};

    void fixed(const std::string& info) {
        st.report.rawgpsdata = info;
        st.report.incomingdata = "N0CALL>APRS:" + info;
        dec.APRSfixed();
    }
    void moving(const std::string& info) {
        st.report.movingdata = info;
        st.report.incomingdata = "N0CALL>APRS:" + info;
        dec.APRSmoving();
    }
    void check(const Expect& e) {
        EXPECT_EQ(st.report.latitude, e.lat) << e.info;
        EXPECT_EQ(st.report.northsouth, e.ns) << e.info;
        EXPECT_EQ(st.report.longitude, e.lon) << e.info;
        EXPECT_EQ(st.report.eastwest, e.ew) << e.info;
        EXPECT_EQ(st.report.rawgpsdata, e.info) << e.info;
        EXPECT_EQ(st.marks.PGMmessage, e.status) << e.info;
        EXPECT_EQ(errors(), "") << e.info;
    }
};

} // namespace

TEST_F(AprsDecoders, FixedReportsWithoutTimeStamp) {
    const Expect cases[] = {
        {"!4903.50N/07201.75W-", "49.0583", "N", "72.0291666666667", "W", ""},
        {"=4903.50N/07201.75W-", "49.0583", "N", "72.0291666666667", "W", ""},
        {"!4903.50n/07201.75w-", "49.0583", "n", "72.0291666666667", "w", ""},
        {"=3356.65S\\15112.34E#PHG5132 Sydney digi", "33.9442", "S", "151.205666666667", "E", ""},
        {"!4237.14N/07120.83W_220/004g005t077r000p000P000h50b09900wRSW", "42.6190", "N", "71.3471666666667", "W", ""},
        {"=4903.50N/07201.75W-Comment with / slashes and [brackets]", "49.0583", "N", "72.0291666666667", "W", ""},
        {"!4903.50X/07201.75W-", "49.0583333333333", "X", "72.0291666666667", "W",
         "BAD GPS DATA LINE (Lat)... skipping"},
        {"!4903.50N/07201.75Q-", "49.0583333333333", "N", "72.0291666666667", "Q",
         "BAD GPS DATA LINE (Long.)... skipping"},
    };
    for (const auto& c : cases) {
        st.marks.PGMmessage.clear();
        fixed(c.info);
        check(c);
    }
}

TEST_F(AprsDecoders, MovingReportsWithTimeStamp) {
    const Expect cases[] = {
        {"@092345z4903.50N/07201.75W>", "49.0583", "N", "72.0291666666667", "W", ""},
        {"/092345z4903.50N/07201.75W>088/036/A=001234 Mobile", "49.0583", "N", "72.0291666666667", "W", ""},
        {"@234517h4529.96s/12241.32e>", "45.4993", "s", "122.688666666667", "e", ""},
        {"/301530/4903.50N/07201.75W$", "49.0583", "N", "72.0291666666667", "W", ""},
        {"@092345z4903.50N/07201.75Z>", "49.0583333333333", "N", "72.0291666666667", "Z",
         "BAD GPS DATA LINE (Long.)... skipping"},
    };
    for (const auto& c : cases) {
        st.marks.PGMmessage.clear();
        st.report.rawgpsdata = "left over";
        moving(c.info);
        check(c);
    }
}

TEST_F(AprsDecoders, UnreadableNumbersEndInTheFailureRoutine) {
    struct Case {
        const char* info;
        bool isMoving;
        const char* marker;
    } cases[] = {
        {"!4903.50N", false, " in SUB APRSfixed "}, {"=49O3.50N/07201.75W-", false, " in SUB APRSfixed "},
        {"!", false, " in SUB APRSfixed "},         {"@092345z/5L!!<*e7>7P[", true, " in SUB APRSmoving"},
        {"/092345z", true, " in SUB APRSmoving"},
    };
    for (const auto& c : cases) {
        tmp.write(kErrorFile, "");
        if (c.isMoving)
            moving(c.info);
        else
            fixed(c.info);
        EXPECT_EQ(st.report.rawgpsdata, std::string("ERROR ") + c.info) << c.info;
        EXPECT_EQ(errors(), typeMismatch(c.marker, std::string("N0CALL>APRS:") + c.info)) << c.info;
    }
}

TEST_F(AprsDecoders, FailureLeavesWhatWasAlreadyWritten) {
    stalePosition();
    fixed("!4903.50N");
    EXPECT_EQ(st.report.latitude, "49.0583333333333");
    EXPECT_EQ(st.report.northsouth, "N");
    EXPECT_EQ(st.report.rawgpsdata, "ERROR !4903.50N");
}

TEST_F(AprsDecoders, CompressedEqualsReportIsDroppedSilently) {
    for (const char* info : {"=b4'Ax5/>F-_>S1", "=B4'AX5/>F-_>S1"}) {
        fixed(info);
        EXPECT_EQ(st.report.rawgpsdata, std::string("ERROR ") + info);
        EXPECT_EQ(errors(), "");
    }
}
