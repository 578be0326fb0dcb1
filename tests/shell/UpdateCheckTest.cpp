// The update check against a stand-in updater: a small shell script written
// into the working directory under the updater's name, started for real. The
// ten-second wait is driven by a hand-set clock and a hand-fired timer.
#include "shell/UpdateCheck.h"
#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/Version.h"
#include "core/WorkDir.h"
#include "platform/ProcessRunner.h"
#include "support/FakeTimer.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

using namespace qv;
using namespace qv::test;
namespace fs = std::filesystem;

namespace {

struct EndSteps final : Steps {
    int ends = 0;
    void endProgram() override { ++ends; }
};

const std::string kRunning = std::to_string(version::QVVERSION);

struct UpdateRig {
    TempDir tmp;
    FakeClock clock;
    FakeUi ui;
    FakeTimer timer;
    EndSteps steps;
    QtProcessRunner runner;
    Station st;
    WorkDir dir{tmp.path()};
    ErrorLog log{dir, clock};
    Context ctx{st, dir, log, ui, clock, steps};
    UpdateCheck check{ctx};

    UpdateRig() {
        ctx.process = &runner;
        ctx.timerUpdate = &timer;
        clock.t = {2026, 12, 7, 14, 0, 0};
    }

    // An updater that notes how it was started in started.txt and, asked to
    // check only, answers with `answer` (CR LF lines).
    void updater(const std::string& answer, const std::string& name = kUpdater) const {
        const fs::path p = tmp.path() / name;
        tmp.write(name, "#!/bin/sh\n"
                        "echo \"$(pwd) [$*]\" >> started.txt\n"
                        "[ \"$1\" = quorvelupdatecheckonly ] || exit 0\n"
                        "printf '" +
                            answer + "' > answer.tmp && mv answer.tmp trenvoxinstructions.txt\n");
        fs::permissions(p, fs::perms::owner_all, fs::perm_options::add);
    }

    // The updater runs on its own; give it the time a real one would have.
    bool waitFor(const std::string& name, const std::string& content = "") const {
        for (int i = 0; i < 500; ++i) {
            if (fs::exists(tmp.path() / name) && tmp.read(name).find(content) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    void after(int seconds) {
        clock.t.second += seconds; // within the minute in these tests
        timer.fire();
    }
};

} // namespace

TEST(UpdateCheck, AnswersOfTheUpdater) {
    struct Case {
        const char* name;
        std::string answer;
        Answer reply;        // to the "update available" question
        const char* message; // the one message box expected, or nullptr
        std::string status;  // the status field afterwards
        bool fullStart;      // updater started again without arguments
    };
    const int newer = version::QVVERSION + 1;
    const Case cases[] = {
        {"newer", "header\\r\\n;QUORVEL VERSION:" + std::to_string(newer) + "\\r\\nmore\\r\\n", Answer::Ok,
         kUpdateAvailable, "", true},
        {"newer, cancelled", ";QUORVEL VERSION:" + std::to_string(newer) + "\\r\\n", Answer::Cancel, kUpdateAvailable,
         "", false},
        {"equal", "x\\r\\n;QUORVEL VERSION:" + kRunning + "\\r\\n", Answer::Ok, nullptr,
         "No Update needed.  RunningVer>" + kRunning + " PostedVer>" + kRunning, false},
        {"older, marker in lower case", ";quorvel version:10000\\n", Answer::Ok, nullptr,
         "No Update needed.  RunningVer>" + kRunning + " PostedVer>10000", false},
        {"no version line", "nothing here\\r\\n", Answer::Ok, kUpdateNoVersion,
         "No Update needed.  RunningVer>" + kRunning + " PostedVer>0", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UpdateRig rig;
        rig.updater(c.answer);
        rig.ui.answers.push_back(c.reply);
        rig.check.checkforupdates_Click();
        ASSERT_TRUE(rig.check.checking());
        EXPECT_TRUE(rig.timer.isEnabled());
        EXPECT_EQ(rig.st.marks.PGMmessage, "10.sec. Checking for available updates");
        EXPECT_EQ(rig.st.display.PGMmessageFontSize, 18);
        EXPECT_EQ(rig.st.display.PGMmessageWidth, 9150);
        ASSERT_TRUE(rig.waitFor(kUpdaterAnswer));

        rig.after(4);
        EXPECT_EQ(rig.st.marks.PGMmessage, "6.sec. Checking for available updates");
        EXPECT_TRUE(rig.ui.messages.empty()) << "the answer is read only after the wait";
        rig.after(6);
        EXPECT_FALSE(rig.check.checking());
        EXPECT_FALSE(rig.timer.isEnabled());
        EXPECT_EQ(rig.st.display.PGMmessageFontSize, 8);
        EXPECT_EQ(rig.st.display.PGMmessageHeight, 285);
        EXPECT_EQ(rig.st.display.PGMmessageWidth, 4575);

        if (c.message) {
            ASSERT_EQ(rig.ui.messages.size(), 1u);
            EXPECT_EQ(rig.ui.messages[0].text, c.message);
            if (c.message == std::string(kUpdateAvailable)) {
                EXPECT_EQ(rig.ui.messages[0].title, kUpdateAvailableTitle);
                EXPECT_EQ(rig.ui.messages[0].buttons, Buttons::OkCancel);
            }
        } else {
            EXPECT_TRUE(rig.ui.messages.empty());
        }
        if (!c.status.empty()) {
            EXPECT_EQ(rig.st.marks.PGMmessage, c.status);
        }
        EXPECT_EQ(rig.steps.ends, c.fullStart ? 1 : 0);
        const std::string where = fs::canonical(rig.tmp.path()).string();
        if (c.fullStart) {
            ASSERT_TRUE(rig.waitFor("started.txt", where + " []"));
        }
        const std::string started = rig.tmp.read("started.txt");
        EXPECT_EQ(started.find(where + " [quorvelupdatecheckonly]\n"), 0u) << started;
        EXPECT_EQ(started.find(" []") != std::string::npos, c.fullStart) << started;
        EXPECT_EQ(rig.tmp.read(kErrorFile), "");
    }
}

TEST(UpdateCheck, FailuresEndTheCommandWithAMessage) {
    const std::string tail = kUpdateFailedTail;
    {
        SCOPED_TRACE("no updater at all");
        UpdateRig rig;
        rig.check.checkforupdates_Click();
        EXPECT_FALSE(rig.check.checking());
        EXPECT_FALSE(rig.timer.isEnabled());
        ASSERT_EQ(rig.ui.messages.size(), 1u);
        EXPECT_EQ(rig.ui.messages[0].title, kUpdateFailedTitle);
        EXPECT_EQ(rig.ui.messages[0].text, "ERR53" + tail);
        EXPECT_NE(rig.tmp.read(kErrorFile).find(" 53File not found in SUB CHECKFORUPDATES_CLICK "), std::string::npos)
            << rig.tmp.read(kErrorFile);
    }
    {
        SCOPED_TRACE("updater leaves no answer");
        UpdateRig rig;
        rig.tmp.write(kUpdater, "#!/bin/sh\nexit 0\n");
        fs::permissions(rig.tmp.path() / kUpdater, fs::perms::owner_all, fs::perm_options::add);
        rig.check.checkforupdates_Click();
        ASSERT_TRUE(rig.check.checking());
        rig.after(10);
        ASSERT_EQ(rig.ui.messages.size(), 1u);
        EXPECT_EQ(rig.ui.messages[0].text, "ERR53" + tail);
        EXPECT_EQ(rig.st.display.PGMmessageFontSize, 8);
    }
    {
        SCOPED_TRACE("updater cannot be run");
        UpdateRig rig;
        rig.tmp.write(kUpdater, "not a program");
        rig.check.checkforupdates_Click();
        ASSERT_EQ(rig.ui.messages.size(), 1u);
        EXPECT_EQ(rig.ui.messages[0].text, "75" + tail);
    }
}

TEST(UpdateCheck, NewerUpdaterCopyReplacesTheOldOne) {
    UpdateRig rig;
    rig.updater(";QUORVEL VERSION:1\\r\\n");
    rig.updater(";QUORVEL VERSION:" + kRunning + "\\r\\n", kUpdaterNewCopy);
    rig.tmp.write(kUpdaterAnswer, ";QUORVEL VERSION:99999999\r\n"); // stale: must go first
    rig.check.checkforupdates_Click();
    EXPECT_FALSE(fs::exists(rig.tmp.path() / kUpdaterNewCopy));
    ASSERT_TRUE(rig.waitFor(kUpdaterAnswer, kRunning));
    rig.after(10);
    EXPECT_EQ(rig.st.marks.PGMmessage, "No Update needed.  RunningVer>" + kRunning + " PostedVer>" + kRunning);
}

TEST(UpdateCheck, WaitRunsAcrossMidnightAndIgnoresASecondClick) {
    UpdateRig rig;
    rig.updater(";QUORVEL VERSION:" + kRunning + "\\r\\n");
    rig.clock.t = {2026, 12, 31, 23, 59, 55};
    rig.check.checkforupdates_Click();
    rig.check.checkforupdates_Click();
    ASSERT_TRUE(rig.waitFor(kUpdaterAnswer));
    rig.clock.t = {2027, 1, 1, 0, 0, 3};
    rig.timer.fire();
    EXPECT_EQ(rig.st.marks.PGMmessage, "2.sec. Checking for available updates");
    rig.clock.t = {2027, 1, 1, 0, 0, 5};
    rig.timer.fire();
    EXPECT_FALSE(rig.check.checking());
    EXPECT_EQ(rig.st.marks.PGMmessage.rfind("No Update needed.", 0), 0u);
    EXPECT_EQ(rig.tmp.read("started.txt").find("quorvelupdatecheckonly"),
              rig.tmp.read("started.txt").rfind("quorvelupdatecheckonly"))
        << "the updater was started once";
}
