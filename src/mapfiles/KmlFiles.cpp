// KML texts, the live link and the reading of our own KML back.
#include "mapfiles/KmlFiles.h"

#include "core/Text.h"
#include "core/WorkDir.h"
#include "mapfiles/MapText.h"
#include "mapfiles/XmlScanner.h"

#include <charconv>

namespace qv::mapfile {

namespace {

std::string data(const char* name, std::string_view value) {
    return std::string("<Data name=\"") + name + "\"><value>" + xmlEscaped(value) + "</value></Data>";
}

std::string coordinates(const TrackPoint& p) { return coordText(p.lon) + "," + coordText(p.lat); }

// "lon,lat[,alt]" tuples set apart by blanks.
bool readCoordinates(std::string_view s, std::vector<TrackPoint>& out) {
    std::size_t i = 0;
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (i < s.size()) {
        while (i < s.size() && blank(s[i]))
            ++i;
        if (i >= s.size()) break;
        std::size_t j = i;
        while (j < s.size() && !blank(s[j]))
            ++j;
        const std::string_view tuple = s.substr(i, j - i);
        TrackPoint p;
        const char* b = tuple.data();
        const char* e = b + tuple.size();
        auto r = std::from_chars(b, e, p.lon);
        if (r.ec != std::errc() || r.ptr == e || *r.ptr != ',') return false;
        r = std::from_chars(r.ptr + 1, e, p.lat);
        if (r.ec != std::errc() || (r.ptr != e && *r.ptr != ',') || !onGlobe(p.lat, p.lon)) return false;
        out.push_back(p);
        i = j;
    }
    return true;
}

} // namespace

KmlFiles::KmlFiles(Context& ctx) : PaddedDocument(ctx, kKml, kKmlKept, "Saving Files - KML") {}

std::string KmlFiles::block(int slot, int, bool listed) const {
    const SlotTrack& t = slots_[static_cast<std::size_t>(slot)];
    const char letter = static_cast<char>('A' + slot);
    const TrackPoint& p = t.points.back();
    const std::string when = isoTime(p.time);
    // Rewritten at every report: the time and position between what the names make.
    const std::string& head = namesText(slot, 0, [&] {
        const std::string name = xmlEscaped(t.name);
        return "<Folder id=\"slot" + std::string(1, letter) + "\"><name>" + name + "</name><open>1</open>" +
               "<Placemark id=\"" + letter + "\"><name>" + name + "</name><description>" + xmlEscaped(t.callsign) +
               ", slot " + letter + ", ";
    });
    const std::string& middle = namesText(slot, 1, [&] {
        return "</when></TimeStamp><styleUrl>#colour" + std::string(1, letter) + "</styleUrl><ExtendedData>" +
               data("slot", std::string(1, letter)) + data("callsign", t.callsign) + data("tactical", t.tactical) +
               "</ExtendedData><Point><coordinates>";
    });
    const std::string& track = namesText(slot, 2, [&] {
        return "</coordinates></Point></Placemark><Placemark id=\"" + std::string(1, letter) + "-track\"><name>" +
               xmlEscaped(t.name) + " track</name><styleUrl>#colour" + letter +
               "</styleUrl><LineString><tessellate>1</tessellate><coordinates>";
    });
    std::string out;
    out.reserve(head.size() + middle.size() + track.size() + 96);
    out.append(head).append(when).append("</description><TimeStamp><when>").append(when).append(middle);
    out.append(coordinates(p));
    if (listed)
        out.append(track);
    else
        out.append("</coordinates></Point></Placemark>");
    return out;
}

std::string KmlFiles::pointText(const TrackPoint& p, bool) const { return "\r\n" + coordinates(p); }

std::string KmlFiles::closing(bool listed) const {
    return listed ? "\r\n</coordinates></LineString></Placemark></Folder>" : "</Folder>";
}

void KmlFiles::compose(Composer& c) const {
    c.text("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
           "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\r\n"
           "<Document id=\"quorvel\"><name>Quorvel stations</name><open>1</open>\r\n");
    for (int n = 1; n <= 8; ++n) {
        const std::string letter(1, static_cast<char>('A' + n - 1));
        const std::string colour = kmlColour(n);
        c.text("<Style id=\"colour" + letter + "\"><IconStyle><color>" + colour +
               "</color><Icon><href>http://maps.google.com/mapfiles/kml/shapes/placemark_circle.png</href></Icon>"
               "</IconStyle><LineStyle><color>" +
               colour + "</color><width>3</width></LineStyle></Style>\r\n");
    }
    for (int s = 0; s < 8; ++s) {
        if (slots_[static_cast<std::size_t>(s)].points.empty()) continue;
        c.block(s, 0);
        c.track(s);
        c.text("\r\n");
    }
    c.text("</Document>\r\n</kml>\r\n");
}

bool KmlFiles::read(std::string_view doc, SlotTracks& out) const {
    XmlScanner x(doc);
    std::vector<std::string> path;
    std::string text, dataName;
    SlotTrack cur;
    std::string letter;
    std::vector<TrackPoint> head, line;
    std::int64_t when = 0;
    bool inFolder = false;
    for (;;) {
        const auto ev = x.next();
        if (ev == XmlScanner::Event::Error) return false;
        if (ev == XmlScanner::Event::Done) return true;
        if (ev == XmlScanner::Event::Text) {
            text += x.text();
            continue;
        }
        const std::string& name = x.name();
        if (ev == XmlScanner::Event::Start) {
            if (path.size() == 1 && (name != "Document" || x.attribute("id") != "quorvel")) return false;
            if (path.empty() && name != "kml") return false;
            path.push_back(name);
            text.clear();
            if (name == "Folder" && path.size() == 3) {
                inFolder = true;
                cur = SlotTrack{};
                letter.clear();
                head.clear();
                line.clear();
                when = 0;
            } else if (name == "Data") {
                dataName = x.attribute("name");
            }
            continue;
        }
        const std::string parent = path.size() >= 2 ? path[path.size() - 2] : std::string();
        if (inFolder) {
            if (name == "name" && parent == "Placemark" && path.size() == 5 && cur.name.empty()) {
                cur.name = text;
            } else if (name == "value" && parent == "Data") {
                if (dataName == "slot") letter = text::trim(text);
                if (dataName == "callsign") cur.callsign = text;
                if (dataName == "tactical") cur.tactical = text;
            } else if (name == "when") {
                when = parseIsoTime(text::trim(text)).value_or(0);
            } else if (name == "coordinates" && parent == "Point") {
                if (!readCoordinates(text, head) || head.size() != 1) return false;
            } else if (name == "coordinates" && parent == "LineString") {
                if (!readCoordinates(text, line)) return false;
            } else if (name == "Folder" && path.size() == 3) {
                const int s = slotOfLetter(letter);
                if (s == 0 || cur.callsign.empty() || head.size() != 1 || !out[s - 1].points.empty()) return false;
                cur.points = line.size() >= 2 ? std::move(line) : std::move(head);
                cur.points.back().time = when;
                out[static_cast<std::size_t>(s - 1)] = std::move(cur);
                inFolder = false;
            }
        }
        path.pop_back();
        text.clear();
    }
}

std::string KmlFiles::liveLinkText() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
           "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\r\n"
           "<NetworkLink><name>Quorvel live</name><open>1</open>\r\n"
           "<Link><href>quorvel.kml</href><refreshMode>onInterval</refreshMode>"
           "<refreshInterval>10</refreshInterval></Link>\r\n"
           "</NetworkLink>\r\n"
           "</kml>\r\n";
}

void KmlFiles::liveLink() {
    // Checked on every report, so by its exact name first.
    if (dir().presentAsWritten(kLiveKml) || dir().exists(kLiveKml)) return;
    guarded([&] { dir().writeText(kLiveKml, liveLinkText()); });
}

} // namespace qv::mapfile
