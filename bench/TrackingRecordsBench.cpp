// Cost of the per-report tracking and record steps: slot assignment, colour,
// time, the nine record strings and the position step, for a full table.
#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/WorkDir.h"
#include "platform/Clock.h"
#include "platform/Ui.h"
#include "records/ColourStamp.h"
#include "records/RecordBuilder.h"
#include "records/SlotMarks.h"
#include "tracking/MovementMonitor.h"
#include "tracking/SlotTable.h"

#include "QuietUi.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

using namespace qv;
using bench::QuietUi;

class StillClock final : public Clock {
public:
    DateTime now() override { return {2026, 12, 7, 9, 5, 42}; }
};

class Pipeline final : public Steps {
public:
    StillClock clock;
    QuietUi ui;
    Station st;
    WorkDir dir{std::filesystem::temp_directory_path()};
    ErrorLog log{dir, clock};
    Context ctx{st, dir, log, ui, clock, *this};
    SlotTable table{ctx};
    MovementMonitor monitor{ctx};
    ColourStamp colourStamp{ctx};
    RecordBuilder records{ctx};
    SlotMarks marks{ctx};

    void Timer2_Timer() override { monitor.Timer2_Timer(); }
    void checkmovement(const std::string& p, const std::string& c, std::string& r) override {
        monitor.checkmovement(p, c, r);
    }
};

void BM_ReportThroughSlotsAndRecords(benchmark::State& state) {
    Pipeline p;
    p.st.tracking.autoassigncheckbox = true;
    p.st.tracking.CheckMapTacticalNames.checked = true;
    for (int n = 1; n <= 8; ++n) {
        p.st.slots[n].CallsignID = "K1AB" + std::to_string(n);
        p.st.slots[n].track = true;
    }
    p.st.report.callsign = p.st.report.stationcallsign = "k1ab8"; // the last slot: the longest scans
    p.st.report.latitude = "45.5123";
    p.st.report.longitude = "-122.6789012345";
    p.st.report.incomingdata = "K1AB8>APRS:!4530.74N/12240.73W>";
    for (auto _ : state) {
        p.table.autoassign();
        p.colourStamp.assigncolor();
        p.colourStamp.assigntime();
        p.records.makestrings();
        p.marks.assigncoords();
        benchmark::DoNotOptimize(p.st.rec.spotfirestring.data());
    }
}
BENCHMARK(BM_ReportThroughSlotsAndRecords);

} // namespace
