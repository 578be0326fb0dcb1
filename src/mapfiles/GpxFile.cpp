// GPX texts and the reading of our own GPX back.
#include "mapfiles/GpxFile.h"

#include "core/Text.h"
#include "mapfiles/MapText.h"
#include "mapfiles/XmlScanner.h"

#include <cctype>
#include <charconv>

namespace qv::mapfile {

namespace {

std::string slotExtensions(int slot, const SlotTrack& t) {
    return "<quorvel:slot>" + std::string(1, static_cast<char>('A' + slot)) + "</quorvel:slot><quorvel:callsign>" +
           xmlEscaped(t.callsign) + "</quorvel:callsign><quorvel:tactical>" + xmlEscaped(t.tactical) +
           "</quorvel:tactical>";
}

std::string description(int slot, const SlotTrack& t) {
    return "<desc>" + xmlEscaped(t.callsign) + ", slot " + std::string(1, static_cast<char>('A' + slot)) + "</desc>";
}

bool number(std::string_view s, double& out) {
    auto r = std::from_chars(s.data(), s.data() + s.size(), out);
    return !s.empty() && r.ec == std::errc() && r.ptr == s.data() + s.size();
}

} // namespace

GpxFile::GpxFile(Context& ctx) : PaddedDocument(ctx, kGpx, kGpxKept, "Saving Files - GPX") {}

std::string GpxFile::block(int slot, int which, bool) const {
    const SlotTrack& t = slots_[static_cast<std::size_t>(slot)];
    if (which == 0) {
        // Rewritten at every report: the position and time, then what the names make.
        const TrackPoint& p = t.points.back();
        const std::string& rest = namesText(slot, 0, [&] {
            return "</time><name>" + xmlEscaped(t.name) + "</name>" + description(slot, t) + "<extensions>" +
                   slotExtensions(slot, t) + "</extensions></wpt>";
        });
        std::string out;
        out.reserve(rest.size() + 96);
        out.append("<wpt lat=\"").append(coordText(p.lat)).append("\" lon=\"").append(coordText(p.lon));
        out.append("\"><time>").append(isoTime(p.time)).append(rest);
        return out;
    }
    std::string colour = rgbHex(slot + 1).substr(1);
    for (char& c : colour)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return "<trk><name>" + xmlEscaped(t.name) + "</name>" + description(slot, t) +
           "<extensions><gpx_style:line><gpx_style:color>" + colour +
           "</gpx_style:color></gpx_style:line><gpxx:TrackExtension><gpxx:DisplayColor>" + namedColour(slot + 1) +
           "</gpxx:DisplayColor></gpxx:TrackExtension>" + slotExtensions(slot, t) + "</extensions><trkseg>";
}

std::string GpxFile::pointText(const TrackPoint& p, bool) const {
    std::string out;
    out.reserve(96);
    out.append("\r\n<trkpt lat=\"").append(coordText(p.lat)).append("\" lon=\"").append(coordText(p.lon));
    out.append("\"><time>").append(isoTime(p.time)).append("</time></trkpt>");
    return out;
}

void GpxFile::compose(Composer& c) const {
    c.text("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
           "<gpx version=\"1.1\" creator=\"Quorvel\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
           "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd\" "
           "xmlns:gpx_style=\"http://www.topografix.com/GPX/gpx_style/0/2\" "
           "xmlns:gpxx=\"http://www.garmin.com/xmlschemas/GpxExtensions/v3\" "
           "xmlns:quorvel=\"urn:quorvel:slots\">\r\n"
           "<metadata><name>Quorvel stations</name></metadata>\r\n");
    // GPX wants every waypoint before the first track.
    for (int s = 0; s < 8; ++s) {
        if (slots_[static_cast<std::size_t>(s)].points.empty()) continue;
        c.block(s, 0);
        c.text("\r\n");
    }
    for (int s = 0; s < 8; ++s) {
        if (slots_[static_cast<std::size_t>(s)].points.empty()) continue;
        c.block(s, 1);
        c.track(s);
        c.text("\r\n");
    }
    c.text("</gpx>\r\n");
}

bool GpxFile::read(std::string_view doc, SlotTracks& out) const {
    XmlScanner x(doc);
    std::vector<std::string> path;
    std::string text;
    SlotTrack cur;
    std::string letter;
    TrackPoint pt;
    bool inTrk = false;
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
            if (path.empty() && (name != "gpx" || x.attribute("creator") != "Quorvel")) return false;
            path.push_back(name);
            text.clear();
            if (name == "trk" && path.size() == 2) {
                inTrk = true;
                cur = SlotTrack{};
                letter.clear();
            } else if (name == "trkpt" && inTrk) {
                pt = TrackPoint{};
                if (!number(x.attribute("lat"), pt.lat) || !number(x.attribute("lon"), pt.lon) ||
                    !onGlobe(pt.lat, pt.lon))
                    return false;
            }
            continue;
        }
        // End
        const std::string parent = path.size() >= 2 ? path[path.size() - 2] : std::string();
        if (inTrk) {
            if (name == "name" && parent == "trk") {
                cur.name = text;
            } else if (parent == "extensions" && path.size() == 4) {
                if (name == "slot") letter = text::trim(text);
                if (name == "callsign") cur.callsign = text;
                if (name == "tactical") cur.tactical = text;
            } else if (name == "time" && parent == "trkpt") {
                pt.time = parseIsoTime(text::trim(text)).value_or(0);
            } else if (name == "trkpt") {
                cur.points.push_back(pt);
            } else if (name == "trk") {
                const int s = slotOfLetter(letter);
                if (s == 0 || cur.callsign.empty() || cur.points.empty() || !out[s - 1].points.empty()) return false;
                out[static_cast<std::size_t>(s - 1)] = std::move(cur);
                inTrk = false;
            }
        }
        path.pop_back();
        text.clear();
    }
}

} // namespace qv::mapfile
