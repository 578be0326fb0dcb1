// A replay of the sample feed through the program, read back by independent
// readers: GPSBabel finds in the GPX and KML files, and GDAL's ogrinfo in the
// GeoJSON file, exactly the positions of the Ozi track files; xmllint finds
// the XML well-formed; a second replay in the same directory carries the
// tracks on, as the Ozi track files do.
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <string>
#include <vector>

using namespace qv::test;
namespace fs = std::filesystem;

namespace {

using Track = std::vector<std::string>; // "lat lon" as the reader printed them

std::string run(const std::string& cmd, int* status = nullptr) {
    std::string out;
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p) return out;
    std::array<char, 4096> buf{};
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0)
        out.append(buf.data(), n);
    const int st = ::pclose(p);
    if (status) *status = st;
    return out;
}

bool have(const char* probe) { return std::system((std::string(probe) + " >/dev/null 2>&1").c_str()) == 0; }

// Tracks by name from GPSBabel's GPX output (its own number format, so that
// two inputs compare as text).
std::map<std::string, Track> babelTracks(const std::string& format, const fs::path& file) {
    const std::string gpx = run("gpsbabel -t -i " + format + " -f '" + file.string() + "' -o gpx -F - 2>&1");
    std::map<std::string, Track> out;
    static const std::regex trk(R"re(<trk>\s*<name>([^<]*)</name>([\s\S]*?)</trk>)re");
    static const std::regex pt(R"re(<trkpt lat="([^"]+)" lon="([^"]+)")re");
    for (std::sregex_iterator t(gpx.begin(), gpx.end(), trk), end; t != end; ++t) {
        const std::string body = (*t)[2];
        Track& track = out[(*t)[1]];
        for (std::sregex_iterator p(body.begin(), body.end(), pt); p != end; ++p)
            track.push_back((*p)[1].str() + " " + (*p)[2].str());
    }
    return out;
}

// Waypoints by name, formatted as the tracks above.
std::map<std::string, std::string> babelWaypoints(const std::string& format, const fs::path& file) {
    const std::string gpx = run("gpsbabel -w -i " + format + " -f '" + file.string() + "' -o gpx -F - 2>&1");
    std::map<std::string, std::string> out;
    static const std::regex wpt(R"re(<wpt lat="([^"]+)" lon="([^"]+)">[\s\S]*?<name>([^<]*)</name>)re");
    for (std::sregex_iterator w(gpx.begin(), gpx.end(), wpt), end; w != end; ++w)
        out[(*w)[3]] = (*w)[1].str() + " " + (*w)[2].str();
    return out;
}

// The Ozi track files: callsign from the fifth header line, points by GPSBabel.
std::map<std::string, Track> pltTracks(const fs::path& dir) {
    std::map<std::string, Track> out;
    for (int n = 1; n <= 8; ++n) {
        const fs::path plt = dir / ("quorvelID" + std::to_string(n) + ".plt");
        if (!fs::exists(plt)) continue;
        const auto tracks = babelTracks("ozi", plt);
        if (tracks.size() == 1) out[tracks.begin()->first] = tracks.begin()->second;
    }
    return out;
}

struct OgrFeature {
    std::string callsign, kind;
    std::vector<std::pair<double, double>> points; // lat, lon
};

std::vector<OgrFeature> ogrFeatures(const fs::path& file) {
    const std::string out = run("ogrinfo -al -q '" + file.string() + "' 2>&1");
    std::vector<OgrFeature> features;
    static const std::regex field(R"re(^\s+(callsign|kind) \(String\) = (.*)$)re");
    static const std::regex geom(R"re(^\s+(POINT|LINESTRING) \((.*)\)$)re");
    std::size_t pos = 0;
    while (pos < out.size()) {
        std::size_t eol = out.find('\n', pos);
        if (eol == std::string::npos) eol = out.size();
        const std::string line = out.substr(pos, eol - pos);
        pos = eol + 1;
        std::smatch m;
        if (line.rfind("OGRFeature", 0) == 0) {
            features.emplace_back();
        } else if (!features.empty() && std::regex_match(line, m, field)) {
            (m[1] == "callsign" ? features.back().callsign : features.back().kind) = m[2];
        } else if (!features.empty() && std::regex_match(line, m, geom)) {
            std::string coords = m[2];
            std::size_t p = 0;
            while (p < coords.size()) {
                std::size_t comma = coords.find(',', p);
                if (comma == std::string::npos) comma = coords.size();
                double lon = 0, lat = 0;
                std::sscanf(coords.substr(p, comma - p).c_str(), "%lf %lf", &lon, &lat);
                features.back().points.emplace_back(lat, lon);
                p = comma + 1;
            }
        }
    }
    return features;
}

// The Ozi track points as numbers, straight from the files' own text.
std::map<std::string, std::vector<std::pair<double, double>>> pltNumbers(const fs::path& dir) {
    std::map<std::string, std::vector<std::pair<double, double>>> out;
    for (int n = 1; n <= 8; ++n) {
        const fs::path plt = dir / ("quorvelID" + std::to_string(n) + ".plt");
        if (!fs::exists(plt)) continue;
        std::ifstream in(plt, std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::vector<std::string> lines;
        std::size_t p = 0;
        while (p < text.size()) {
            std::size_t e = text.find("\r\n", p);
            if (e == std::string::npos) e = text.size();
            lines.push_back(text.substr(p, e - p));
            p = e + 2;
        }
        if (lines.size() < 7) continue;
        std::string call = lines[4].substr(lines[4].find(',', 4) + 1);
        call = call.substr(0, call.find(' '));
        for (std::size_t i = 6; i < lines.size(); ++i)
            out[call].emplace_back(std::strtod(lines[i].c_str(), nullptr),
                                   std::strtod(lines[i].substr(lines[i].find(',') + 1).c_str(), nullptr));
    }
    return out;
}

void replay(const fs::path& dir) {
    int status = -1;
    const std::string out =
        run(std::string(QUORVEL_BINARY) + " --headless --workdir '" + dir.string() + "' import 2>&1", &status);
    ASSERT_EQ(status, 0) << out;
}

void expectTheOziPositions(const fs::path& dir) {
    const auto plt = pltTracks(dir);
    ASSERT_GE(plt.size(), 5u);

    EXPECT_EQ(babelTracks("gpx", dir / "quorvel.gpx"), plt);

    const auto kmlTracks = babelTracks("kml", dir / "quorvel.kml");
    const auto kmlPoints = babelWaypoints("kml", dir / "quorvel.kml");
    std::size_t lines = 0;
    for (const auto& [call, track] : plt) {
        SCOPED_TRACE(call);
        // A single position has no line: its placemark alone shows it.
        if (track.size() >= 2) {
            ++lines;
            EXPECT_EQ(kmlTracks.count(call + " track") ? kmlTracks.at(call + " track") : Track{}, track);
        }
        EXPECT_EQ(kmlPoints.count(call) ? kmlPoints.at(call) : "", track.back());
    }
    EXPECT_EQ(kmlTracks.size(), lines);

    const auto numbers = pltNumbers(dir);
    std::map<std::string, std::vector<std::pair<double, double>>> geoLines, latest;
    for (const auto& f : ogrFeatures(dir / "quorvel.geojson"))
        (f.kind == "track" ? geoLines : latest)[f.callsign] = f.points;
    for (const auto& [call, points] : numbers) {
        SCOPED_TRACE(call);
        if (points.size() >= 2) {
            EXPECT_EQ(geoLines[call], points);
        }
        EXPECT_EQ(latest[call], (std::vector<std::pair<double, double>>{points.back()}));
    }
    EXPECT_EQ(latest.size(), numbers.size());
}

} // namespace

TEST(OpenFormatsReadBack, ReplayGivesTheOziTrackPositionsToIndependentReaders) {
    if (!have("gpsbabel -V") || !have("ogrinfo --version") || !have("xmllint --version"))
        GTEST_SKIP() << "gpsbabel, ogrinfo (gdal-bin) or xmllint (libxml2-utils) missing";
    TempDir tmp;
    for (const auto& e : fs::directory_iterator(std::string(QUORVEL_SOURCE_DIR) + "/examples"))
        fs::copy_file(e.path(), tmp.path() / e.path().filename());
    replay(tmp.path());
    expectTheOziPositions(tmp.path());
    for (const char* f : {"quorvel.gpx", "quorvel.kml", "quorvellive.kml"}) {
        int status = -1;
        const std::string out = run("xmllint --noout '" + (tmp.path() / f).string() + "' 2>&1", &status);
        EXPECT_EQ(status, 0) << f << ": " << out;
    }
    // The switches went into the settings with the slots the replay filled.
    const std::string cfg = tmp.read("quorvel.cfg");
    for (const char* key :
         {"\"CREATEMAPFILEGPX\",#TRUE#", "\"CREATEMAPFILEKML\",#TRUE#", "\"CREATEMAPFILEGEOJSON\",#TRUE#"})
        EXPECT_NE(cfg.find(key), std::string::npos) << key;

    // A second run of the same feed: every track is read back and carried on.
    const auto before = pltTracks(tmp.path());
    replay(tmp.path());
    const auto after = pltTracks(tmp.path());
    for (const auto& [call, track] : before)
        EXPECT_EQ(after.at(call).size(), 2 * track.size()) << call;
    expectTheOziPositions(tmp.path());
}
