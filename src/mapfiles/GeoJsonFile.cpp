// GeoJSON texts and the reading of our own GeoJSON back.
#include "mapfiles/GeoJsonFile.h"

#include "mapfiles/JsonValue.h"
#include "mapfiles/MapText.h"

namespace qv::mapfile {

namespace {

std::string position(const TrackPoint& p) { return "[" + coordText(p.lon) + "," + coordText(p.lat) + "]"; }

bool readPosition(const JsonValue& v, TrackPoint& p) {
    if (v.type != JsonValue::Type::Array || v.items.size() < 2) return false;
    const JsonValue &lon = v.items[0], &lat = v.items[1];
    if (lon.type != JsonValue::Type::Number || lat.type != JsonValue::Type::Number) return false;
    p.lon = lon.number;
    p.lat = lat.number;
    return onGlobe(p.lat, p.lon);
}

} // namespace

GeoJsonFile::GeoJsonFile(Context& ctx) : PaddedDocument(ctx, kGeoJson, kGeoJsonKept, "Saving Files - GeoJSON") {}

std::string GeoJsonFile::block(int slot, int, bool listed) const {
    const SlotTrack& t = slots_[static_cast<std::size_t>(slot)];
    const char letter = static_cast<char>('A' + slot);
    auto add = [](std::string& out, std::string_view key, std::string_view quotedValue) {
        out.append(",\"").append(key).append("\":").append(quotedValue);
    };
    auto names = [&] {
        std::string out;
        add(out, "slot", std::string{'"', letter, '"'});
        add(out, "callsign", jsonQuoted(t.callsign));
        add(out, "tactical", jsonQuoted(t.tactical));
        add(out, "name", jsonQuoted(t.name));
        add(out, "colour", jsonQuoted(rgbHex(slot + 1)));
        return out;
    };
    // Rewritten at every report: the time and position between what the names make.
    const std::string& head = namesText(slot, 0, [&] {
        std::string out = "{\"type\":\"Feature\",\"id\":\"" + std::string(1, letter) +
                          "\",\"properties\":{\"kind\":\"position\"" + names();
        add(out, "time", "\"");
        return out;
    });
    const std::string& middle = namesText(slot, 1, [&] {
        std::string out = "\"";
        add(out, "title", jsonQuoted(t.name));
        add(out, "marker-color", jsonQuoted(rgbHex(slot + 1)));
        add(out, "marker-symbol", std::string{'"', static_cast<char>('a' + slot), '"'});
        out += "},\"geometry\":{\"type\":\"Point\",\"coordinates\":";
        return out;
    });
    const std::string& track = namesText(slot, 2, [&] {
        std::string out = ",\r\n{\"type\":\"Feature\",\"id\":\"" + std::string(1, letter) +
                          "-track\",\"properties\":{\"kind\":\"track\"" + names();
        add(out, "stroke", jsonQuoted(rgbHex(slot + 1)));
        add(out, "stroke-width", "3");
        out += "},\"geometry\":{\"type\":\"LineString\",\"coordinates\":[";
        return out;
    });
    const TrackPoint& p = t.points.back();
    std::string out;
    out.reserve(head.size() + middle.size() + track.size() + 64);
    out.append(head).append(isoTime(p.time)).append(middle).append(position(p)).append("}}");
    if (listed) out.append(track);
    return out;
}

std::string GeoJsonFile::pointText(const TrackPoint& p, bool first) const {
    return (first ? "\r\n" : ",\r\n") + position(p);
}

void GeoJsonFile::compose(Composer& c) const {
    c.text("{\"type\":\"FeatureCollection\",\"generator\":\"Quorvel\",\"name\":\"quorvel\",\"features\":[\r\n");
    int last = -1;
    for (int s = 0; s < 8; ++s)
        if (!slots_[static_cast<std::size_t>(s)].points.empty()) last = s;
    for (int s = 0; s < 8; ++s) {
        if (slots_[static_cast<std::size_t>(s)].points.empty()) continue;
        c.block(s, 0);
        c.track(s);
        c.text(s == last ? "\r\n" : ",\r\n");
    }
    c.text("]}\r\n");
}

bool GeoJsonFile::read(std::string_view doc, SlotTracks& out) const {
    const auto root = parseJson(doc);
    if (!root || root->text("type") != "FeatureCollection" || root->text("generator") != "Quorvel") return false;
    const JsonValue* features = root->get("features");
    if (!features || features->type != JsonValue::Type::Array) return false;
    std::array<bool, 8> headSeen{};
    std::array<std::vector<TrackPoint>, 8> lines;
    std::array<std::int64_t, 8> times{};
    for (const JsonValue& f : features->items) {
        const JsonValue* props = f.get("properties");
        const JsonValue* geometry = f.get("geometry");
        if (!props || !geometry || f.text("type") != "Feature") return false;
        const int n = slotOfLetter(props->text("slot"));
        const JsonValue* coords = geometry->get("coordinates");
        if (n == 0 || !coords) return false;
        const auto s = static_cast<std::size_t>(n - 1);
        const std::string kind = props->text("kind");
        if (kind == "position" && geometry->text("type") == "Point" && !headSeen[s]) {
            headSeen[s] = true;
            SlotTrack& t = out[s];
            t.callsign = props->text("callsign");
            t.tactical = props->text("tactical");
            t.name = props->text("name");
            times[s] = parseIsoTime(props->text("time")).value_or(0);
            TrackPoint p;
            if (t.callsign.empty() || !readPosition(*coords, p)) return false;
            t.points = {p};
        } else if (kind == "track" && geometry->text("type") == "LineString" && lines[s].empty() &&
                   coords->type == JsonValue::Type::Array) {
            for (const JsonValue& c : coords->items) {
                TrackPoint p;
                if (!readPosition(c, p)) return false;
                lines[s].push_back(p);
            }
        } else {
            return false;
        }
    }
    for (std::size_t s = 0; s < 8; ++s) {
        if (!headSeen[s]) {
            if (!lines[s].empty()) return false;
            continue;
        }
        if (lines[s].size() >= 2) out[s].points = std::move(lines[s]);
        out[s].points.back().time = times[s];
    }
    return true;
}

} // namespace qv::mapfile
