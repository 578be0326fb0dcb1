// Without a window the records of a report are built only when the file
// writer needs them: a headless run must write the very files, records and
// error entries a run with the window writes, whatever changes between one
// report and the next (a new position, a tactical name, the clock).
#include "core/WorkDir.h"
#include "shell/App.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>

namespace fs = std::filesystem;
using namespace qv;

namespace {

struct Step {
    const char* line;
    const char* tactical = nullptr; // slot 1's tactical name from this line on
    int minute = 5;
};

const Step kFeed[] = {
    {"N0Q0>APRS,WIDE2-1:!4456.95N/12218.90W-Fixed station"},
    {"N0Q11>APRS,WIDE1-1:=4541.09N/12102.23W>PHG5132"},
    {"N0Q1>APDR15,WIDE1-1*:@000018z4407.06N/12238.26W>088/036/A=000210", nullptr, 6},
    {"N0Q783>TURWVP,WIDE1-1,WIDE2-1:`2LOl\"Ok/]Mobile="},
    {"N0Q0>GPSLK,WIDE1-1:$GPGGA,000007,4501.0711,N,12110.9174,W,1,07,1.2,45.1,M,-19.6,M,,*4F", "Engine 7", 7},
    {"N0Q14>APRS,WIDE2-1:$GPWPL,4558.46,N,12253.61,W,N0Q14*7D"},
    {"N0Q1>GPSLK,WIDE1-1:$GPRMC,000008,A,4420.5457,N,12237.8837,W,022.4,084.4,071226,015.1,E*65", nullptr, 8},
    {"N0Q0>APRS,WIDE2-2:/000023h4416.21N/12137.50W>090/040", "12345678/CG", 9},
    {"N0Q16>APRS,WIDE2-1:>Digi on Larch Mtn, 146.52 simplex watch"},
    // Last, a report nobody tracks: its records are asked for only at the end.
    {"N0Q11>APRS,WIDE1-1:=4541.19N/12102.33W>PHG5132", nullptr, 10},
};

struct Replayed {
    std::map<std::string, std::string> files;
    RecordState rec;
};

Replayed replay(bool window) {
    test::TempDir tmp;
    test::FakeUi ui;
    test::FakeClock clock;
    Replayed run;
    {
        App app(tmp.path(), ui, clock);
        app.st.marks.windowVisible = window;
        app.st.tracking.autoassigncheckbox = false;
        app.st.tracking.CheckMapTacticalNames.checked = true;
        auto& m = app.st.map;
        m.menucreatemaptechfiles = m.menucreatestreetatlasfiles = m.menucreatenatgeotopofiles = true;
        m.menucreatenatgeotopoNowCallfile = m.ODFcheckbox = true;
        for (int n : {1, 2}) {
            app.st.slots[n].CallsignID = n == 1 ? "N0Q0" : "N0Q1";
            app.st.slots[n].track = true;
        }
        for (const Step& s : kFeed) {
            if (s.tactical) app.st.slots[1].Teamname = s.tactical;
            clock.t.minute = s.minute;
            app.receive.replayLine(s.line);
        }
        app.ensurestrings();
        run.rec = app.st.rec;
    }
    for (const auto& e : fs::recursive_directory_iterator(tmp.path()))
        if (e.is_regular_file()) {
            const std::string name = fs::relative(e.path(), tmp.path()).string();
            run.files[name] = tmp.read(name);
        }
    return run;
}

} // namespace

TEST(DeferredRecords, AHeadlessRunWritesWhatARunWithTheWindowWrites) {
    const Replayed shown = replay(true);
    const Replayed headless = replay(false);
    ASSERT_GT(shown.files.count("quorvelhistory.mxf"), 0u);
    EXPECT_EQ(
        std::count(shown.files.at("quorvelhistory.mxf").begin(), shown.files.at("quorvelhistory.mxf").end(), '\n'), 5);
    EXPECT_EQ(headless.files, shown.files);
    for (auto field :
         {&RecordState::txfstring, &RecordState::mxfstring, &RecordState::rxfstring, &RecordState::wptstring,
          &RecordState::pltstring, &RecordState::sa5string, &RecordState::ngtopostring, &RecordState::ngtopocallstring,
          &RecordState::spotfirestring, &RecordState::ozicolor})
        EXPECT_EQ(headless.rec.*field, shown.rec.*field);
}
