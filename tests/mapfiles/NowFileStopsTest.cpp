// The "now" files against a stop at any moment of their rebuild: the file is
// always in place, and one lost by an older version's stop, or left empty by
// a power loss, comes back from its .tmp with every station.
#include "MapFilesRig.h"
#include "shell/App.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <set>

using namespace qv;
using namespace qv::test;

namespace {

struct NowFile {
    const char* now;
    const char* tmp;
    void (*on)(Station&);
    const std::string& (*record)(const Station&);
};

const NowFile kNowFiles[] = {
    {"quorvelSA5now.txt", "quorvelSA5now.tmp", [](Station& st) { st.map.menucreatestreetatlasfiles = true; },
     [](const Station& st) -> const std::string& { return st.rec.sa5string; }},
    {"quorvelNGTOPOnowCall.txt", "quorvelNGTOPOnowCall.tmp",
     [](Station& st) { st.map.menucreatenatgeotopoNowCallfile = true; },
     [](const Station& st) -> const std::string& { return st.rec.ngtopocallstring; }},
};

const char* kOthers = "45.1, -122.1, OTHER1, 12, 1, 1\r\n45.2, -122.2, OTHER2, 12, 1, 3\r\n";

} // namespace

TEST(NowFileStops, AFileLostBesideItsTmpComesBackWithEveryStation) {
    for (const NowFile& f : kNowFiles) {
        SCOPED_TRACE(f.now);
        for (bool emptied : {false, true}) {
            // At the next report, also when a power loss left the file empty.
            SCOPED_TRACE(emptied ? "empty" : "missing");
            Rig rig;
            f.on(rig.st);
            rig.tmp.write(f.tmp, kOthers);
            if (emptied) rig.tmp.write(f.now, "");
            rig.slotReport(1, "N0CALL", "45.5", "-122.6");
            rig.writer.savefiles();
            EXPECT_EQ(rig.lines(f.now), (std::vector<std::string>{f.record(rig.st), "45.1, -122.1, OTHER1, 12, 1, 1",
                                                                  "45.2, -122.2, OTHER2, 12, 1, 3"}));
        }
        {
            // At start-up, before any report.
            TempDir tmp;
            tmp.write(f.tmp, kOthers);
            FakeClock clock;
            FakeUi ui;
            App app(tmp.path(), ui, clock);
            app.st.link.comport = "0";
            app.startup.Form_Load();
            EXPECT_EQ(tmp.read(f.now), kOthers);
            EXPECT_EQ(tmp.read(f.tmp), kOthers);
        }
    }
}

// Rebuilds run in a child process that is killed at a random moment, over and
// over: whenever it dies, the file is there with every other station whole.
TEST(NowFileStops, AKillAtAnyMomentLeavesTheFileInPlace) {
    std::mt19937 rng(12345);
    for (const NowFile& f : kNowFiles) {
        SCOPED_TRACE(f.now);
        Rig rig;
        f.on(rig.st);
        std::string others;
        std::set<std::string> expected;
        for (int i = 0; i < 300; ++i) {
            const std::string line = "45." + std::to_string(i) + ", -122.1, OTHER" + std::to_string(i) + ", 12, 1, 1";
            others += line + "\r\n";
            expected.insert(line);
        }
        rig.tmp.write(f.now, others);
        for (int round = 0; round < 40; ++round) {
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                for (int i = 0;; ++i) {
                    rig.slotReport(1 + i % 2, i % 2 ? "B2BBB" : "A1AAA", "45.5", "-122.6");
                    rig.writer.savefiles();
                }
            }
            ::usleep(2000 + rng() % 8000);
            ::kill(child, SIGKILL);
            int status = 0;
            ::waitpid(child, &status, 0);
            ASSERT_TRUE(rig.has(f.now)) << "round " << round;
            std::set<std::string> seen;
            for (const auto& line : rig.lines(f.now))
                if (expected.count(line)) seen.insert(line);
            ASSERT_EQ(seen.size(), expected.size()) << "round " << round;
        }
    }
}
