// Lines per second through each position decoder on its own, on realistic
// lines, in a scratch working directory.
#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/WorkDir.h"
#include "decoders/MicE.h"
#include "decoders/Nmea.h"
#include "decoders/Waypoints.h"
#include "platform/Clock.h"
#include "platform/Ui.h"
#include "shell/App.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace qv;

class QuietUi final : public Ui {
public:
    Answer message(const std::string&, const std::string&, Buttons b, Icon, int d) override {
        return defaultAnswer(b, d);
    }
    std::string input(const std::string&, const std::string&, const std::string& p) override { return p; }
    void beep() override {}
    void refresh() override {}
};

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

// A feed of untracked stations in the shares an APRS-IS feed shows: plain
// positions, Mic-E, GPS sentences from trackers, and lines of no kind we decode.
std::vector<std::string> mixedFeed(std::size_t n) {
    static const char* const kMicE[] = {
        "`25-l\"Ok/]\"4T}Mobile",
        "'v__ \x1c>/",
        "`c[Nl \x1c[/]\"3z}",
        "`O(Tl \x1c>/]\"4V}",
    };
    static const char* const kMicEDest[] = {"SWTVXX", "UQSPTT", "TRRP0P-2", "3352Q3"};
    std::vector<std::string> feed;
    feed.reserve(n);
    char call[16];
    for (std::size_t i = 0; i < n; ++i) {
        std::snprintf(call, sizeof call, "K%zuAB-%zu", i % 997, i % 15);
        const std::string head = std::string(call) + ">";
        switch (i % 20) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 4:
        case 5: // 30 % Mic-E
            feed.push_back(head + kMicEDest[i % 4] + ",WIDE1-1,WIDE2-1,qAR,N0GATE:" + kMicE[i % 4]);
            break;
        case 6:
        case 7:
        case 8:
        case 9:
        case 10: // 25 % plain without time
            feed.push_back(head + "APRS,TCPIP*,qAC,T2TEXAS:!4903.50N/07201.75W-PHG2360");
            break;
        case 11:
        case 12:
        case 13: // 15 % plain with time
            feed.push_back(head + "APOT30,WIDE2-1,qAR,N0GATE:@092345z4903.50N/07201.75W>088/036/A=001234");
            break;
        case 14: // 5 % GGA
            feed.push_back(head + "GPSLK,WIDE1-1:$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47");
            break;
        case 15: // 5 % RMC
            feed.push_back(head + "GPSLK,WIDE1-1:$GPRMC,013244,A,3946.529,N,10458.456,W,000.0,000.0,120312,010.6,E*6F");
            break;
        default: // 20 % status, telemetry, weather, objects
            feed.push_back(head + "APRS,TCPIP*,qAC,T2:>Net tonight 1900 on 146.52");
            break;
        }
    }
    return feed;
}

void BM_inspectdataline_mixed(benchmark::State& state) {
    const std::vector<std::string> feed = mixedFeed(100000);
    const auto root = std::filesystem::temp_directory_path() / "quorvel-bench-feed";
    std::filesystem::create_directories(root);
    SystemClock clock;
    QuietUi ui;
    {
        App app(root, ui, clock);
        app.st.tracking.autoassigncheckbox = false;
        for (auto _ : state) {
            for (const auto& line : feed) {
                app.st.report.dataline = line;
                app.inspectdataline();
                app.st.report.dataline.clear();
            }
        }
        state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * feed.size()));
    }
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
}
BENCHMARK(BM_inspectdataline_mixed)->Unit(benchmark::kMillisecond);

} // namespace
