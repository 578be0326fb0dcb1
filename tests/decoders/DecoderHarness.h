// A station with a temporary working directory, a standing clock and a
// recording user interface, for running one decoder at a time.
#pragma once

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/WorkDir.h"
#include "support/Fakes.h"

#include <string>

namespace qv::test {

struct DecoderHarness {
    TempDir tmp;
    FakeClock clock;
    FakeUi ui;
    Steps steps;
    Station st;
    WorkDir dir{tmp.path()};
    ErrorLog log{dir, clock};
    Context ctx{st, dir, log, ui, clock, steps};

    // Position fields as a previous report would have left them.
    void stalePosition() {
        st.report.latitude = "11.1111";
        st.report.northsouth = "N";
        st.report.longitude = "22.2222";
        st.report.eastwest = "E";
    }

    std::string errors() const { return tmp.read(kErrorFile); }

    // The error-file text one failure leaves, with the fixed clock's stamp.
    static std::string entry(const std::string& codeAndText, const std::string& marker) {
        return "\r\nERROR " + codeAndText + marker + kStamp + "\r\n";
    }
    static std::string typeMismatch(const std::string& marker, const std::string& incoming) {
        return entry(" 13Type mismatch", marker) + "Non-Critical Quorvel error 13 in rawgpsdata string below..." +
               kStamp + "\r\n" + incoming + "\r\n";
    }

    static constexpr const char* kStamp = "12/7/2026 9:05:42 AM";
};

} // namespace qv::test
