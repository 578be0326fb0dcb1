// inspectdataline over a mixed feed of 100 000 lines from stations in no
// slot: every report kind, the full pipeline, no map file written.
#include "core/Station.h"
#include "platform/Clock.h"
#include "platform/Ui.h"
#include "shell/App.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

class QuietUi final : public qv::Ui {
public:
    qv::Answer message(const std::string&, const std::string&, qv::Buttons b, qv::Icon, int d) override {
        return qv::defaultAnswer(b, d);
    }
    std::string input(const std::string&, const std::string&, const std::string& p) override { return p; }
    void beep() override {}
    void refresh() override {}
};

std::vector<std::string> mixedFeed(std::size_t n) {
    static const char* kinds[] = {
        ">APRS,WIDE2-1:!4903.50N/07201.75W-PHG2360 fixed",
        ">APRS,TCPIP*,qAC,T2TEST:=4531.25N/12240.75W-office",
        ">APDR15,WIDE1-1:@092345z4903.50N/07201.75W>088/036/A=001234",
        ">APDR15,WIDE1-1:/092345z4529.96S/12241.32E>",
        ">S32UVT,WIDE1-1,WIDE2-1:`(#fl!9>/]\"4T}mobile",
        ">GPSLK:$GPGGA,123519,4807.0380,N,01131.0000,E,1,08,0.9,545.4,M,46.9,M,,*47",
        ">GPSLK:$GPRMC,123519,A,4807.0380,N,01131.0000,E,022.4,084.4,230394,003.1,W*6A",
        ">APRS:>status text",
        ">APRS,WIDE2-1 <UI> [12/07/26 09:05:04]:!4531.25N/12240.75W-",
        ">APRS,TCPIP*:}W1XYZ>APRS,TCPIP,N0CALL*:!4518.44N/12147.90W[",
        ">APRS:T#005,199,000,255,073,123,01101001",
    };
    std::mt19937 rng(7);
    std::vector<std::string> feed;
    feed.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        std::string call = "K" + std::to_string(rng() % 10) + "S" + std::to_string(1000 + rng() % 500);
        feed.push_back(call + kinds[rng() % std::size(kinds)] + "\r");
    }
    return feed;
}

void BM_InspectDataLine(benchmark::State& state) {
    const auto dir = std::filesystem::temp_directory_path() / "quorvel-bench-classifier";
    std::filesystem::create_directories(dir);
    QuietUi ui;
    qv::SystemClock clock;
    qv::App app(dir, ui, clock);
    app.st.tracking.autoassigncheckbox = false; // every station stays out of the slots
    const auto feed = mixedFeed(100000);
    for (auto _ : state) {
        for (const auto& line : feed) {
            app.st.report.dataline = line;
            app.st.report.incomingdata = line;
            app.classifier.inspectdataline();
            app.st.report.dataline.clear();
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * feed.size()));
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_InspectDataLine)->Unit(benchmark::kMillisecond);

} // namespace
