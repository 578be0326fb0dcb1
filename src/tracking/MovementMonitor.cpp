// Movement test and overdue monitor.
#include "tracking/MovementMonitor.h"

#include "core/Context.h"
#include "core/NumberText.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "platform/Clock.h"
#include "platform/Timer.h"
#include "tracking/MinuteStamp.h"

namespace qv {

namespace {
// 0.001 degree of latitude is about 364 feet: less is GPS jitter.
constexpr double kMovedDegrees = 0.001;

bool movedApart(double a, double b) { return a - b >= kMovedDegrees || b - a >= kMovedDegrees; }
} // namespace

void MovementMonitor::start() {
    if (!ctx_.timer2) return;
    ctx_.timer2->setInterval(kTimer2Interval);
    ctx_.timer2->onTimeout = [this] { Timer2_Timer(); };
    ctx_.timer2->setEnabled(true);
}

void MovementMonitor::checkmovement(const std::string& previous, const std::string& current,
                                    std::string& result) const {
    (void)current; // the report fields are the current position
    if (previous == "0") {
        result = "YES";
        return;
    }
    const std::size_t c = previous.find(',');
    if (c == std::string::npos) return;
    const double prevLat = num::leading(std::string_view(previous).substr(0, c));
    const double prevLon = num::leading(std::string_view(previous).substr(c + 1));
    const ReportState& r = ctx_.st.report;
    if (!num::isNumeric(r.latitude)) return;
    if (movedApart(prevLat, num::strict(r.latitude))) {
        result = "YES";
        return;
    }
    if (!num::isNumeric(r.longitude)) return;
    if (movedApart(prevLon, num::strict(r.longitude))) result = "YES";
}

void MovementMonitor::Timer2_Timer() {
    SlotState& slots = ctx_.st.slots;
    for (Slot& s : slots.slot)
        if (s.lastHeardBack != slotcolour::LightGreen && s.lastHeardBack != slotcolour::Red)
            s.lastHeardBack = slotcolour::ButtonFace;
    const double now = minuteStamp(ctx_.clock.now());
    const double limit = num::leading(ctx_.st.tracking.overdue);
    for (Slot& s : slots.slot)
        if (s.track && now - s.LastHeardStamp >= limit) s.lastHeardBack = slotcolour::Yellow;
}

void MovementMonitor::setOverdue(const std::string& text) {
    if (ctx_.st.tracking.overdue == text) return;
    ctx_.st.tracking.overdue = text;
    overdue_Change();
}

void MovementMonitor::overdue_Change() { ctx_.steps.savesettings(); }

void MovementMonitor::setCheckTrackOnlyMoving(bool on) {
    if (ctx_.st.sw.CheckTrackOnlyMoving == on) return;
    ctx_.st.sw.CheckTrackOnlyMoving = on;
    CheckTrackOnlyMoving_Click();
}

void MovementMonitor::CheckTrackOnlyMoving_Click() {
    ctx_.st.tracking.LabelTrackMovingONVisible = ctx_.st.sw.CheckTrackOnlyMoving;
    ctx_.steps.savesettings();
}

} // namespace qv
