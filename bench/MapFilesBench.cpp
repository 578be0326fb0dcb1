// One tracked report through the file-writing pass with every family on,
// against map files that already hold 0, 1 000, 10 000 and 100 000 lines.
// The cost per report must stay flat as the files grow.
#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/WorkDir.h"
#include "mapfiles/FileWriter.h"
#include "platform/Clock.h"
#include "platform/Ui.h"

#include "QuietUi.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

using namespace qv;
using bench::QuietUi;

namespace {

class StillClock final : public Clock {
public:
    DateTime now() override { return {2026, 12, 7, 9, 5, 42}; }
};

void fill(const std::filesystem::path& p, const std::string& header, long lines, const char* pattern) {
    std::ofstream out(p, std::ios::binary);
    out << header;
    char buf[200];
    for (long i = 0; i < lines; ++i) {
        // Slots C..H over every minute of the day: names the report never carries.
        const int slot = 2 + static_cast<int>(i % 6), minute = static_cast<int>((i / 6) % 1440);
        std::snprintf(buf, sizeof buf, pattern, 44.0 + (i % 1000) * 0.001, -121.0 - (i % 997) * 0.001, 'A' + slot,
                      minute / 60, minute % 60);
        out << buf << "\r\n";
    }
}

void BM_SavefilesOneReport(benchmark::State& state) {
    const long n = state.range(0);
    std::random_device rd;
    const auto root = std::filesystem::temp_directory_path() / ("quorvel-bench-" + std::to_string(rd()));
    std::filesystem::create_directories(root);

    const char* mxf = "%.4f, %.4f, \"%c:%02d:%02d\", \"12/6/2026 09:00\", \"RT:K7OLD\", ff, 40";
    fill(root / "quorvel.mxf", "", n, mxf);
    fill(root / "quorvelhistory.mxf", "", n, mxf);
    const char* rxf = "%.4f, %.4f, \"%c:%02d:%02d\", \"12/6/2026 09:00\", \"\", \"RT:K7OLD\", 800000, ff, 40";
    fill(root / "quorvel.rxf", "", n, rxf);
    fill(root / "quorvelhistory.rxf", "", n, rxf);
    fill(root / "quorvel.txf", "", n, "%.4f, %.4f, \"K7OLD%c\", ff %02d%02d");
    fill(root / "quorvel.wpt",
         "OziExplorer Waypoint File Version 1.1 CREATED BY QUORVEL\r\nWGS 84\r\nReserved 2\r\n"
         "Above lines are created as default by Quorvel\r\n",
         n, "-1, 09:00, %.4f, %.4f,  , 3, 1, 0, 0, 255, K7OLD%c @ 12/6/2026 %02d:%02d");
    fill(root / "quorvelID1.plt",
         "OziExplorer Track Point File Version 2.1 CREATED BY QUORVEL\r\nWGS 84\r\nAltitude is in Feet\r\n"
         "Reserved 3\r\n0,2,16711680,N0CALL              ,0,0,2,8421376\r\n50\r\n",
         n, "%.4f, %.4f,0,   -777,, ,%c%02d:%02d");
    fill(root / "quorvelSA5.txt", "", n, "%.4f, %.4f, K7OLD%c, 12, 1, 1 %02d%02d");
    fill(root / "quorvelNGTOPO.txt", "", n, "%.4f, %.4f, %c-%02d%02d, 12/6/2026 0900, K7OLD");
    fill(root / "quorvel.olt", "", n, "11111111\t12/06/2026 09:00:00.000\t2\t%.5f\t%.5f\t%c%02d%02d\tCG");
    // The "now" files hold one line per station, whatever the history.
    fill(root / "quorvelSA5now.txt", "", 12, "%.4f, %.4f, K7OLD%c, 12, 1, 1 %02d%02d");
    fill(root / "quorvelNGTOPOnow.txt", "", 6, "%.4f, %.4f, %c-%02d%02d, 12/6/2026 0900, K7OLD");
    fill(root / "quorvelNGTOPOnowCall.txt", "", 12, "%.4f, %.4f, K7OLD%c, 12/6/2026 %02d%02d, B-0900");

    {
        Station st;
        WorkDir dir(root);
        StillClock clock;
        ErrorLog log(dir, clock);
        QuietUi ui;
        Steps steps;
        Context ctx{st, dir, log, ui, clock, steps};
        FileWriter writer(ctx);
        auto& m = st.map;
        m.menucreatemaptechfiles = m.menucreatestreetatlasfiles = m.menucreatenatgeotopofiles = true;
        m.menucreatenatgeotopoNowCallfile = m.ODFcheckbox = true;
        st.slots[1].CallsignID = st.report.callsign = st.report.trackname = "N0CALL";
        st.slots[1].track = true;

        // The first pass reads the TOPO! names once; what is measured is every
        // report after it.
        st.report.latitude = "45.0001";
        st.report.longitude = "-122.6";
        st.rec.ngtopostring = "45.0001, -122.6, A-0000, 12/7/2026 0000, N0CALL";
        writer.savefiles();

        long i = 0;
        for (auto _ : state) {
            // A new position each time, so no report is a duplicate.
            const std::string lat = "45." + std::to_string(1000 + i % 9000), lon = "-122.6";
            ++i;
            auto& r = st.rec;
            r.mxfstring = lat + ", " + lon + ", \"A:09:05\", \"12/7/2026 09:05\", \"RT:N0CALL\", ff0000, 40";
            r.rxfstring =
                lat + ", " + lon + ", \"A:09:05\", \"12/7/2026 09:05\", \"\", \"RT:N0CALL\", 800000, ff0000, 40";
            r.txfstring = lat + ", " + lon + ", \"N0CALL\", ff0000";
            r.ozicolor = "16711680";
            r.wptstring = "-1, 09:05, " + lat + ", " + lon + ",  , 3, 1, 0, 0, 16711680, N0CALL @ 12/7/2026 09:05";
            r.pltstring = lat + ", " + lon + ",0,   -777,, ,09:05";
            r.sa5string = lat + ", " + lon + ", N0CALL, 12, 1, 2";
            r.ngtopostring = lat + ", " + lon + ", A-0905, 12/7/2026 0905, N0CALL";
            r.ngtopocallstring = lat + ", " + lon + ", N0CALL, 12/7/2026 0905, A-0905";
            r.spotfirestring = "11111111\t12/07/2026 09:05:42.000\t1\t-122.60000\t" + lat + "0\t-200\tCG";
            st.report.latitude = lat;
            st.report.longitude = lon;
            writer.savefiles();
        }
        if (std::filesystem::exists(root / "quorvel.err")) state.SkipWithError("the pass logged errors");
    }
    std::filesystem::remove_all(root);
}

} // namespace

BENCHMARK(BM_SavefilesOneReport)->Arg(0)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
