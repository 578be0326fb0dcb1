// The posting subsystem over fakes: a desktop of windows, a recording
// OziExplorer library, a hand-fired Timer1, and steps that count the saves
// and run the real archive command.
#pragma once

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/WorkDir.h"
#include "mapfiles/Archive.h"
#include "posting/FindStation.h"
#include "posting/MapAutomation.h"
#include "posting/MapOptions.h"
#include "posting/OziLive.h"
#include "support/FakeOziApi.h"
#include "support/FakeTimer.h"
#include "support/FakeWindowKeys.h"
#include "support/Fakes.h"

#include <chrono>

namespace qv::test {

struct PostingRig : Steps {
    TempDir tmp;
    FakeClock clock;
    FakeUi ui;
    FakeWindowKeys windows;
    FakeOziApi ozi;
    FakeTimer timer1;
    Station st;
    WorkDir dir{tmp.path()};
    ErrorLog log{dir, clock};
    Context ctx{st, dir, log, ui, clock, *this};
    Archive archive{ctx};
    MapOptions options{ctx};
    MapAutomation automation{ctx, options};
    OziLive oziLive{ctx};
    FindStation find{ctx};
    int saves = 0;
    int archives = 0;

    PostingRig() {
        ctx.windows = &windows;
        ctx.ozi = &ozi;
        ctx.timer1 = &timer1;
        automation.attach();
        automation.setMapTechWait(std::chrono::milliseconds(0));
    }
    void savesettings() override {
        if (!st.marks.loading()) ++saves;
    }
    void exportarchive_Click() override {
        ++archives;
        archive.exportarchive_Click();
    }
    void captureallOFF_Click() override {
        st.map.captureallON = false;
        st.map.captureallOFF = true;
        st.map.CaptureAllLabel = false;
        st.tracking.CheckMapTacticalNames.enabled = true;
    }
    void timedautoimport_Click() override { automation.timedautoimport_Click(); }
    void changeimportSA_Click() override { options.changeimportSA_Click(); }
    void changeimportNGTOPO_Click() override { options.changeimportNGTOPO_Click(); }

    std::string path(const char* file) const { return (tmp.path() / file).string(); }
};

} // namespace qv::test
