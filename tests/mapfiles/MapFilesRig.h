// A working directory, the station state and the file writer, with a window
// that remembers every status shown and steps that count the hand-overs.
#pragma once

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Failure.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/WorkDir.h"
#include "mapfiles/FileWriter.h"
#include "support/Fakes.h"

#include <cstdio>
#include <string>
#include <vector>

namespace qv::test {

class StatusUi final : public Ui {
public:
    explicit StatusUi(const Station& st) : st_(st) {}
    std::vector<std::string> shown; // PGMmessage at every refresh
    std::vector<std::string> comm;  // receive-pause mark at every refresh
    int beeps = 0;
    Answer message(const std::string&, const std::string&, Buttons b, Icon, int d) override {
        return defaultAnswer(b, d);
    }
    std::string input(const std::string&, const std::string&, const std::string& p) override { return p; }
    void beep() override { ++beeps; }
    void refresh() override {
        shown.push_back(st_.marks.PGMmessage);
        comm.push_back(st_.marks.commTag);
    }

private:
    const Station& st_;
};

class CountingSteps final : public Steps {
public:
    explicit CountingSteps(const Station& st) : st_(st) {}
    int rotations = 0, livePosts = 0;
    std::string commAtRotation;
    bool failRotation = false, failLive = false;
    void captureallcallsigns() override {
        ++rotations;
        commAtRotation = st_.marks.commTag;
        if (failRotation) throw Failure(err::InvalidCall);
    }
    void oziLivePost() override {
        ++livePosts;
        if (failLive) throw Failure(429, "ActiveX component can't create object");
    }

private:
    const Station& st_;
};

struct Rig {
    TempDir tmp;
    FakeClock clock;
    Station st;
    WorkDir dir{tmp.path()};
    ErrorLog log{dir, clock};
    StatusUi ui{st};
    CountingSteps steps{st};
    Context ctx{st, dir, log, ui, clock, steps};
    FileWriter writer{ctx};

    Rig() {
        for (int n = 1; n <= 8; ++n)
            st.slots[n].track = true;
    }

    // Every family switched on.
    void allFamilies() {
        auto& m = st.map;
        m.menucreatemaptechfiles = m.menucreatestreetatlasfiles = m.menucreatenatgeotopofiles = true;
        m.menucreatenatgeotopoNowCallfile = m.ODFcheckbox = true;
    }

    // Fills the report and its records as the record builder lays them out,
    // for a station in `slot` (0: none) at hh:mm of 7 December 2026.
    void report(const std::string& call, int slot, const std::string& lat, const std::string& lon, int hh = 9,
                int mm = 5, bool tactical = false) {
        static const char* keys[] = {"-2147483643", "ff0000", "ff", "8000", "800080", "0", "800000", "80", "ff00ff"};
        static const char* ozi[] = {"0", "16711680", "255", "32768", "8388736", "65535", "65535", "65535", "65535"};
        static const char* sa4[] = {"12", "12", "12", "12", "12", "16", "46", "47", "14"};
        static const char* sa6[] = {"0", "2", "1", "3", "4", "0", "0", "0", "0"};
        static const char* fireOffset[] = {"0", "-200", "-400", "200", "400", "-600", "-800", "600", "800"};
        const std::string letter = slot ? std::string(1, static_cast<char>('A' + slot - 1)) : "";
        char hm[8], hhmm[8], fire[40];
        std::snprintf(hm, sizeof hm, "%02d:%02d", hh, mm);
        std::snprintf(hhmm, sizeof hhmm, "%02d%02d", hh, mm);
        std::snprintf(fire, sizeof fire, "12/07/2026 %02d:%02d:42.000", hh, mm);
        const std::string date = "12/7/2026 ";
        std::string tac = slot ? st.slots[slot].Teamname : "";
        if (tac.empty()) tac = "Tac" + letter;
        const std::string display = tactical ? tac : call;
        const std::string label = (tactical ? tac + "@" : letter + ":") + hm;
        const std::string topoName = (tactical ? tac : letter) + "-" + hhmm;
        const std::string key = keys[slot], width = "40";
        const std::string q = "\"";

        st.report.callsign = st.report.stationcallsign = st.report.trackname = call;
        st.report.latitude = lat;
        st.report.longitude = lon;
        st.report.incomingdata = call + ">APRS:!" + lat + "/" + lon;
        auto& r = st.rec;
        r.txfstring = lat + ", " + lon + ", " + q + call + q + ", " + key;
        r.mxfstring = lat + ", " + lon + ", " + q + label + q + ", " + q + date + hm + q + ", " + q + "RT:" + call + q +
                      ", " + key + ", " + width;
        r.rxfstring = lat + ", " + lon + ", " + q + label + q + ", " + q + date + hm + q + ", " + q + q + ", " + q +
                      "RT:" + call + q + ", 800000, " + key + ", " + width;
        r.ozicolor = ozi[slot];
        r.wptstring = "-1, " + std::string(hm) + ", " + lat + ", " + lon + ",  , 3, 1, 0, 0, " + r.ozicolor + ", " +
                      display + " @ " + date + hm;
        r.pltstring = lat + ", " + lon + ",0,   -777,, ," + hm;
        r.sa5string = lat + ", " + lon + ", " + display + ", " + sa4[slot] + ", 1, " + sa6[slot];
        r.ngtopostring = lat + ", " + lon + ", " + topoName + ", " + date + hhmm + ", " + call;
        r.ngtopocallstring = lat + ", " + lon + ", " + call + ", " + date + hhmm + ", " + letter + "-" + hhmm;
        const double la = std::atof(lat.c_str()), lo = std::atof(lon.c_str());
        const bool oregon = la <= 46.23 && la >= 42 && lo <= -116.4 && lo >= -124.6;
        char fla[32], flo[32];
        std::snprintf(fla, sizeof fla, "%.5f", la);
        std::snprintf(flo, sizeof flo, "%.5f", lo);
        r.spotfirestring = oregon ? "11111111\t" + std::string(fire) + "\t" + std::to_string(slot) + "\t" + flo + "\t" +
                                        fla + "\t" + fireOffset[slot] + "\tCG"
                                  : "outoforegon";
    }

    // A station placed in a slot and reporting.
    void slotReport(int slot, const std::string& call, const std::string& lat, const std::string& lon, int hh = 9,
                    int mm = 5) {
        st.slots[slot].CallsignID = call;
        report(call, slot, lat, lon, hh, mm);
    }

    std::string file(const std::string& name) const { return tmp.read(name); }
    bool has(const std::string& name) const { return std::filesystem::exists(tmp.path() / name); }
    std::vector<std::string> lines(const std::string& name) const { return dir.readLines(name); }
    std::string errors() const { return tmp.read("quorvel.err"); }
};

} // namespace qv::test
