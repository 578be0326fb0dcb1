// Lines per second through each position decoder on its own, on realistic
// lines, in a scratch working directory.
#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/WorkDir.h"
#include "decoders/AprsReportSteps.h"
#include "decoders/MicE.h"
#include "decoders/Nmea.h"
#include "decoders/Waypoints.h"
#include "platform/Clock.h"
#include "platform/Ui.h"

#include "QuietUi.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace qv;
using bench::QuietUi;

struct Bench {
    std::filesystem::path root = std::filesystem::temp_directory_path() / "quorvel-bench-decoders";
    SystemClock clock;
    QuietUi ui;
    Steps steps;
    Station st;
    WorkDir dir{(std::filesystem::create_directories(root), root)};
    ErrorLog log{dir, clock};
    Context ctx{st, dir, log, ui, clock, steps};
    ~Bench() {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
};

const std::vector<std::string> kMicE = {
    "KF7ABC-9>SWTVXX,K7XYZ-3*,WIDE2-1:`25-l\"Ok/]\"4T}Mobile=",
    "VK2XYZ-9>3352Q3,WIDE1-1,WIDE2-1:`O(Tl \x1c>/]\"4V}",
    "G4ABC-9>UQSPTT,WIDE2-1:'v__ \x1c>/",
    "W1AW-9>TRRP0P-2,WIDE1-1:`c[Nl \x1c[/",
};

void BM_micencoded(benchmark::State& state) {
    Bench b;
    MicE d(b.ctx);
    std::size_t i = 0;
    for (auto _ : state) {
        b.st.report.micedata = kMicE[i++ % kMicE.size()];
        d.micencoded();
        benchmark::DoNotOptimize(b.st.report.latitude);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_micencoded);

void BM_gpgga_gprmc(benchmark::State& state) {
    Bench b;
    Nmea d(b.ctx);
    std::size_t i = 0;
    for (auto _ : state) {
        if (i++ % 2) {
            b.st.report.ggadata = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";
            d.gpgga();
        } else {
            b.st.report.rawgpsdata = "$GPRMC,013244,A,3946.5290,N,10458.4560,W,000.0,000.0,120312,010.6,E*6F";
            d.gprmc();
        }
        benchmark::DoNotOptimize(b.st.report.latitude);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_gpgga_gprmc);

// Through the scratch files, so bound by the file system.
void BM_gpwpl(benchmark::State& state) {
    Bench b;
    Waypoints d(b.ctx);
    for (auto _ : state) {
        b.st.report.gpwpldata = b.st.report.rawgpsdata = "$GPWPL,4807.04,N,01131.00,E,WPTNME*53";
        d.gpwpl();
        benchmark::DoNotOptimize(b.st.report.latitude);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_gpwpl);

// The compressed, object and item decoders with the step that writes their
// result, on reports as they come from trackers and incident staff.
const std::vector<std::string> kNewKinds = {
    "!/5L!!<*e7>7P[",
    "@092345z/5L!!<*e7>{?!",
    "!I0-X;T_Wv&{-Aigate testing",
    ";AID 12   *092345z4903.50N/07201.75WaAid station !W12!",
    ";SRAL HQ  *100927zS0%E/Th4_a  AKaupinmaenpolku9,open M-Th12-17",
    ")AID #2!4903.50N/07201.75WA",
};

void BM_compressed_objects(benchmark::State& state) {
    Bench b;
    AprsReportSteps d(b.ctx);
    std::size_t i = 0;
    for (auto _ : state) {
        const std::string& info = kNewKinds[i++ % kNewKinds.size()];
        b.st.report.rawgpsdata = info;
        if (info[0] == ';' || info[0] == ')')
            d.APRSobject();
        else
            d.APRScompressed();
        benchmark::DoNotOptimize(b.st.report.latitude);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_compressed_objects);

} // namespace
