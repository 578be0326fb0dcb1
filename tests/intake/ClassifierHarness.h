// The classifier over recording steps: decoders that, unless told otherwise,
// leave a good position, and a station table the test can arrange.
#pragma once

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Station.h"
#include "core/WorkDir.h"
#include "intake/Classifier.h"
#include "support/Fakes.h"
#include "support/RecordingSteps.h"

#include <string>
#include <vector>

namespace qv::test {

struct ClassifierHarness {
    TempDir tmp;
    FakeClock clock;
    FakeUi ui;
    RecordingSteps steps;
    Station st;
    WorkDir dir{tmp.path()};
    ErrorLog log{dir, clock};
    Context ctx{st, dir, log, ui, clock, steps};
    Classifier classifier{ctx};

    static constexpr const char* kDecoders[] = {"micencoded", "gpgga", "APRSmoving",     "APRSfixed", "gprmc",
                                                "gpwgt",      "gpwpl", "APRScompressed", "APRSobject"};
    static constexpr const char* kPipeline[] = {"autoassign", "assigncolor", "assigntime", "makestrings",
                                                "assigncoords"};

    ClassifierHarness() {
        for (const char* d : kDecoders)
            steps.hooks[d] = [this] { decoded("49.0583", "N", "72.0291666666667", "W"); };
    }

    void decoded(const std::string& lat, const std::string& ns, const std::string& lon, const std::string& ew) {
        st.report.latitude = lat;
        st.report.northsouth = ns;
        st.report.longitude = lon;
        st.report.eastwest = ew;
    }

    // As the receive path hands a line over: in `dataline` and on display.
    void classify(const std::string& line) {
        st.report.dataline = line;
        st.report.incomingdata = line;
        steps.calls.clear();
        classifier.inspectdataline();
    }

    std::vector<std::string> decodersRun() const {
        std::vector<std::string> out;
        for (const auto& c : steps.calls)
            for (const char* d : kDecoders)
                if (c == d) out.push_back(c);
        return out;
    }

    bool pipelineRan() const { return steps.called("autoassign"); }
};

} // namespace qv::test
