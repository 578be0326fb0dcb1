// Received lines per second through the classifier and whichever decoder each
// line needs, with the slot, record and coordinate steps of every accepted
// report; no station is tracked, so no map file is written. The lines come
// from the file named by QUORVEL_BENCH_FEED (bench/genfeed.py writes one), or
// from a small built-in mix.
#include "platform/Clock.h"
#include "platform/Ui.h"
#include "shell/App.h"

#include "QuietUi.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace qv;
using bench::QuietUi;

std::vector<std::string> feed() {
    std::vector<std::string> lines;
    if (const char* path = std::getenv("QUORVEL_BENCH_FEED")) {
        std::ifstream in(path, std::ios::binary);
        for (std::string l; std::getline(in, l);) {
            if (!l.empty() && l.back() == '\r') l.pop_back();
            lines.push_back(l);
        }
    }
    if (lines.empty())
        lines = {
            "N0Q0>APRS,WIDE2-1:!4456.95N/12218.90W-Fixed station",
            "N0Q11>APRS,WIDE1-1:=4541.09N/12102.23W>PHG5132",
            "N0Q8>APDR15,WIDE1-1*:@000018z4407.06N/12238.26W>088/036/A=000210",
            "N0Q16>APRS,WIDE2-2:/000023h4416.21N/12137.50W>090/040",
            "N0Q783>TURWVP,WIDE1-1,WIDE2-1:`2LOl\"Ok/]Mobile=",
            "N0Q13>GPSLK,WIDE1-1:$GPGGA,000007,4501.0711,N,12110.9174,W,1,07,1.2,45.1,M,-19.6,M,,*4F",
            "N0Q19>GPSLK,WIDE1-1:$GPRMC,000008,A,4420.5457,N,12237.8837,W,022.4,084.4,071226,015.1,E*65",
            "N0Q14>APRS,WIDE2-1:$GPWPL,4558.46,N,12253.61,W,N0Q14*7D",
            "N0Q16>APRS,WIDE2-1:>Digi on Larch Mtn, 146.52 simplex watch",
            "N0Q18>APRS,WIDE2-1:!4523.62N/12106.16W_220/004g005t051r000p000P000h83b10165",
        };
    return lines;
}

// Argument 0 turns "Detect compressed" and "Detect objects/items" off, so
// those reports take the roads they took before the two existed.
void BM_ClassifierOnFeed(benchmark::State& state) {
    const auto lines = feed();
    const auto root = std::filesystem::temp_directory_path() / "quorvel-bench-feed";
    std::filesystem::create_directories(root);
    {
        SystemClock clock;
        QuietUi ui;
        App app(root, ui, clock);
        app.st.tracking.autoassigncheckbox = false;
        app.st.marks.windowVisible = false;
        app.st.sw.detectcompressed = app.st.sw.detectobjects = state.range(0) != 0;
        std::size_t i = 0;
        for (auto _ : state) {
            app.receive.replayLine(lines[i]);
            if (++i == lines.size()) i = 0;
        }
        state.SetItemsProcessed(state.iterations());
        state.counters["lines_in_feed"] = static_cast<double>(lines.size());
    }
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_ClassifierOnFeed)->Arg(1)->Arg(0);

} // namespace
