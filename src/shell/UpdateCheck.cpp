// The update check: start the updater, count down, read its answer.
#include "shell/UpdateCheck.h"

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Failure.h"
#include "core/NumberText.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/Text.h"
#include "core/Version.h"
#include "core/WorkDir.h"
#include "platform/Clock.h"
#include "platform/ProcessRunner.h"
#include "platform/Timer.h"
#include "platform/Ui.h"

#include <filesystem>

namespace qv {

namespace {

constexpr const char* kMarker = " in SUB CHECKFORUPDATES_CLICK ";

// Days from 0001-01-01 of a proleptic Gregorian date.
long long daysOf(int y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe;
}

// The updater may be spelt in any letter case on disk, as on the system it
// came from.
std::string updaterPath(const WorkDir& dir) {
    if (!dir.exists(kUpdater)) throw Failure(err::FileNotFound);
    return dir.path(kUpdater).string();
}

} // namespace

long long UpdateCheck::secondsOf(const DateTime& t) {
    // In UTC, so that a daylight-saving change cannot stretch or end the wait.
    return daysOf(t.year, t.month, t.day) * 86400LL + t.hour * 3600LL + t.minute * 60LL + t.second -
           t.utcOffsetMinutes * 60LL;
}

void UpdateCheck::enlargeStatus(bool on) {
    DisplayState& d = ctx_.st.display;
    d.PGMmessageFontSize = on ? 18 : 8;
    d.PGMmessageHeight = on ? 570 : 285;
    d.PGMmessageWidth = on ? 9150 : 4575;
}

void UpdateCheck::fail(int number) {
    enlargeStatus(false);
    checking_ = false;
    if (ctx_.timerUpdate) ctx_.timerUpdate->setEnabled(false);
    const std::string text = number == err::FileNotFound ? std::string("ERR53") + kUpdateFailedTail
                                                         : std::to_string(number) + kUpdateFailedTail;
    ctx_.ui.message(text, kUpdateFailedTitle, Buttons::Ok);
}

void UpdateCheck::checkforupdates_Click() {
    // One check at a time: a second click during the countdown would start
    // a second updater writing the same answer file.
    if (checking_) return;
    const WorkDir& dir = ctx_.dir;
    try {
        if (dir.exists(kUpdaterAnswer)) dir.remove(kUpdaterAnswer);
        if (dir.exists(kUpdaterNewCopy)) {
            dir.copy(kUpdaterNewCopy, kUpdater);
            dir.remove(kUpdaterNewCopy);
        }
        if (!ctx_.process) throw Failure(err::FileNotFound);
        const std::string program = updaterPath(dir);
        if (!ctx_.process->startIn(program, {kUpdaterCheckOnly}, dir.root().string(), WindowStyle::MinimizedNoFocus))
            throw Failure(err::PathFileAccess);
    } catch (const Failure& f) {
        ctx_.log.entry(f, kMarker);
        return fail(f.number());
    } catch (const std::exception&) {
        ctx_.log.entry(err::InvalidCall, Failure::describe(err::InvalidCall), kMarker);
        return fail(err::InvalidCall);
    }

    checking_ = true;
    waitEnd_ = secondsOf(ctx_.clock.now()) + kWaitSeconds;
    enlargeStatus(true);
    if (Timer* t = ctx_.timerUpdate) {
        t->onTimeout = [this] { tick(); };
        t->setInterval(kTickMs);
        if (countdown()) {
            t->setEnabled(true);
            ctx_.ui.refresh();
            return;
        }
        t->setEnabled(false);
        return answer();
    }
    // Without a timer the wait lets pending events run in a loop.
    while (countdown())
        ctx_.ui.refresh();
    answer();
}

void UpdateCheck::tick() {
    if (!checking_) return;
    if (countdown()) {
        ctx_.ui.refresh();
        return;
    }
    ctx_.timerUpdate->setEnabled(false);
    answer();
}

bool UpdateCheck::countdown() {
    const long long remaining = waitEnd_ - secondsOf(ctx_.clock.now());
    if (remaining < 1) return false;
    ctx_.st.marks.PGMmessage = std::to_string(remaining) + "." + "sec. Checking for available updates";
    return true;
}

void UpdateCheck::answer() {
    enlargeStatus(false);
    checking_ = false;
    Station& st = ctx_.st;
    const int running = version::QVVERSION;
    double posted = 0;
    try {
        bool found = false;
        for (const std::string& line : ctx_.dir.readLines(kUpdaterAnswer)) {
            if (text::istartsWith(line, kVersionMarker)) {
                posted = num::leading(text::mid(line, 18));
                found = true;
                break;
            }
        }
        if (!found) ctx_.ui.message(kUpdateNoVersion, "Quorvel", Buttons::Ok);

        if (posted - running > 0) {
            if (ctx_.ui.message(kUpdateAvailable, kUpdateAvailableTitle, Buttons::OkCancel) == Answer::Cancel) return;
            const std::string program = updaterPath(ctx_.dir);
            if (!ctx_.process->startIn(program, {}, ctx_.dir.root().string(), WindowStyle::MaximizedFocus))
                throw Failure(err::PathFileAccess);
            ctx_.steps.endProgram();
            return;
        }
        st.marks.PGMmessage =
            "No Update needed.  RunningVer>" + std::to_string(running) + " PostedVer>" + num::general(posted);
        ctx_.ui.refresh();
    } catch (const Failure& f) {
        ctx_.log.entry(f, kMarker);
        fail(f.number());
    } catch (const std::exception&) {
        ctx_.log.entry(err::InvalidCall, Failure::describe(err::InvalidCall), kMarker);
        fail(err::InvalidCall);
    }
}

} // namespace qv
