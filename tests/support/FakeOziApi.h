// The OziExplorer library as a recorder: every call with its arguments, in order.
#pragma once

#include "core/Failure.h"
#include "platform/OziApi.h"

#include <sstream>
#include <string>
#include <vector>

namespace qv::test {

class FakeOziApi final : public OziApi {
public:
    std::vector<std::string> calls;
    bool fail = false; // every call fails as with the library missing

    int oziDeleteWpByName(const std::string& name) override { return record("oziDeleteWpByName", name); }
    int oziCreateTrackPoint(int track, int code, double lat, double lon, double alt, double date) override {
        return record("oziCreateTrackPoint", track, code, lat, lon, alt, date);
    }
    int oziCreateWP(const std::string& name, int symbol, double lat, double lon, double alt, double date, int mapFmt,
                    int pointer, int garminFmt, int fore, int back, int proximity, const std::string& desc,
                    int fontSize, int fontStyle, int symbolSize) override {
        return record("oziCreateWP", name, symbol, lat, lon, alt, date, mapFmt, pointer, garminFmt, fore, back,
                      proximity, desc, fontSize, fontStyle, symbolSize);
    }
    int oziRefreshMap() override { return record("oziRefreshMap"); }
    int oziSaveWPfile(const std::string& file) override { return record("oziSaveWPfile", file); }

private:
    template <class... A> int record(const char* fn, const A&... args) {
        std::ostringstream s;
        s << fn << "(";
        [[maybe_unused]] const char* sep = "";
        ((s << sep << args, sep = ", "), ...);
        s << ")";
        calls.push_back(s.str());
        if (fail) throw Failure(48, "Error in loading DLL");
        return 1;
    }
};

} // namespace qv::test
