// The GPX, KML and GeoJSON documents against tracks of 0 to 100 000 points:
// one report to all three must cost the same however long the tracks are
// (the mean includes the rebuilds that fall into the run, so it is the
// amortised cost; max_us is the longest single report), and the first report
// of a run reads the documents back once.
#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/WorkDir.h"
#include "mapfiles/MapDocuments.h"
#include "platform/Clock.h"

#include "QuietUi.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <random>

using namespace qv;
using namespace qv::mapfile;
using bench::QuietUi;

namespace {

class StillClock final : public Clock {
public:
    DateTime now() override { return {2026, 12, 7, 9, 5, 42}; }
};

struct Station8 {
    explicit Station8(const std::filesystem::path& root) : dir(root), log(dir, clock) {}
    Station st;
    WorkDir dir;
    StillClock clock;
    ErrorLog log;
    QuietUi ui;
    Steps steps;
    Context ctx{st, dir, log, ui, clock, steps};
};

std::filesystem::path scratch() {
    std::random_device rd;
    auto root = std::filesystem::temp_directory_path() / ("quorvel-bench-" + std::to_string(rd()));
    std::filesystem::create_directories(root);
    return root;
}

MapEntry entry(int slot, long i) {
    MapEntry e;
    e.slot = slot;
    e.callsign = slot == 1 ? "N0CALL" : "K7OLD-" + std::to_string(slot);
    e.tactical = "Tac";
    e.name = e.callsign;
    e.point = {44.0 + (i % 100000) * 1e-5, -121.0 - (i % 99991) * 1e-5, 1796634342 + i};
    return e;
}

// Slot A holds `n` points, the seven others 100 each.
void fill(PaddedDocument& doc, long n) {
    for (int s = 2; s <= 8; ++s)
        for (long i = 0; i < 100; ++i)
            doc.write(entry(s, i));
    for (long i = 0; i < n; ++i)
        doc.write(entry(1, i));
}

std::vector<std::unique_ptr<PaddedDocument>> documents(Context& ctx) {
    std::vector<std::unique_ptr<PaddedDocument>> docs;
    docs.push_back(std::make_unique<GpxFile>(ctx));
    docs.push_back(std::make_unique<KmlFiles>(ctx));
    docs.push_back(std::make_unique<GeoJsonFile>(ctx));
    return docs;
}

void BM_MapDocumentsOneReport(benchmark::State& state) {
    const long n = state.range(0);
    const auto root = scratch();
    {
        Station8 s(root);
        auto docs = documents(s.ctx);
        for (auto& d : docs)
            fill(*d, n);
        long i = n;
        double longest = 0;
        long rebuilt = 0;
        for (auto& d : docs)
            rebuilt -= d->rebuilds();
        for (auto _ : state) {
            const auto t0 = std::chrono::steady_clock::now();
            const MapEntry e = entry(1, i++);
            for (auto& d : docs)
                d->write(e);
            longest = std::max(
                longest, std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
        }
        for (auto& d : docs)
            rebuilt += d->rebuilds();
        state.counters["max_us"] = longest;
        state.counters["rebuilds"] = static_cast<double>(rebuilt);
        if (std::filesystem::exists(root / "quorvel.err")) state.SkipWithError("the documents logged errors");
    }
    std::filesystem::remove_all(root);
}

// Start of a run: the three documents of an earlier run are read back and
// written out again with the first report.
void BM_MapDocumentsFirstReport(benchmark::State& state) {
    const long n = state.range(0);
    const auto root = scratch();
    {
        Station8 s(root);
        {
            auto docs = documents(s.ctx);
            for (auto& d : docs)
                fill(*d, n);
        }
        long i = n;
        for (auto _ : state) {
            auto docs = documents(s.ctx);
            const MapEntry e = entry(1, i++);
            for (auto& d : docs)
                d->write(e);
        }
        if (std::filesystem::exists(root / "quorvel.err")) state.SkipWithError("the documents logged errors");
    }
    std::filesystem::remove_all(root);
}

} // namespace

BENCHMARK(BM_MapDocumentsOneReport)->Arg(0)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MapDocumentsFirstReport)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);
