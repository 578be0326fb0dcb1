// The classifier's stages A (normalise), B (station), C (kind and decoder),
// D (accept and pipeline) and E (drop).
#include "intake/Classifier.h"

#include "core/Context.h"
#include "core/DateText.h"
#include "core/ErrorLog.h"
#include "core/Failure.h"
#include "core/Fields.h"
#include "core/NumberText.h"
#include "core/Station.h"
#include "core/StationId.h"
#include "core/Steps.h"
#include "core/Text.h"
#include "core/WorkDir.h"
#include "decoders/CompressedPosition.h"
#include "decoders/NmeaTalker.h"
#include "decoders/ObjectItem.h"
#include "platform/Ui.h"

namespace qv {

namespace {

constexpr const char* kMarker = " in SUB INSPECTDATALINE ";
constexpr int kCallsignWidth = 1815;

// 1-based position of the first ":" (0 when there is none).
std::size_t colonPos(const std::string& s) {
    auto i = s.find(':');
    return i == std::string::npos ? 0 : i + 1;
}

// The information field: everything after the first colon, or the whole line.
std::string payload(const std::string& s) { return text::mid(s, colonPos(s) + 1); }

// 1-based position of the first ">" (0 when there is none).
std::size_t gtPos(const std::string& s) {
    auto i = s.find('>');
    return i == std::string::npos ? 0 : i + 1;
}

bool hasPacketHeader(const std::string& s) {
    const std::size_t g = gtPos(s);
    return g >= 2 && g <= 10;
}

// A TNC monitor header ("CALL>DEST,PATH <UI R> [12/07/26 12:34:56]:info")
// carries time stamps in brackets, colons and all. They are cut from the
// header only, everything up to the colon that opens the information field:
// that field is packet data, and a "[" in it (a Mic-E longitude byte) or a
// colon in a comment must reach the decoder as it came. A line without such
// a colon has no header to cut.
std::string withoutHeaderStamps(const std::string& line) {
    std::string out;
    std::size_t copied = 0; // the text before this is in `out`
    std::size_t i = 0;
    for (;;) {
        i = text::findAny(line, ":[\r\n", i);
        if (i == std::string::npos || line[i] != '[') break;
        const std::size_t close = text::findAny(line, "][\r\n", i + 1);
        if (close == std::string::npos || line[close] != ']') return line; // no stamp
        out.append(line, copied, i - copied);
        copied = i = close + 1;
    }
    if (i == std::string::npos || line[i] != ':') return line;
    if (copied == 0) return line;
    out.append(line, copied);
    return out;
}

// Indicator colours of the report kinds the first table did not have.
constexpr std::uint32_t kCompressedRgb = 0x00FFFF;
constexpr std::uint32_t kObjectRgb = 0xFF80FF;
constexpr std::uint32_t kItemRgb = 0xC0A0FF;
constexpr std::uint32_t kKilledRgb = 0xFFC0C0;

// "$GNRMC Detected": the sentence name as the line spells it, in capitals.
std::string sentenceCaption(std::string_view name, std::string_view sentence) {
    return "$" + std::string(nmea::talkerOf(name)) + std::string(sentence) + " Detected";
}

// Control characters and bytes outside ASCII written as "<13>", so that the
// text of a dropped line cannot split or garble the error file's lines.
std::string visible(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u > 0x7E)
            out += "<" + std::to_string(u) + ">";
        else
            out += c;
    }
    return out;
}

// Files hold one record per line; the line ends a line brought along from the
// receive path would only add empty lines.
std::string withoutLineEnds(std::string_view s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n'))
        s.remove_suffix(1);
    return std::string(s);
}

} // namespace

bool Classifier::guard(auto&& step) { return ctx_.log.guard(kMarker, step); }

void Classifier::bell() { ctx_.ui.beep(); }

void Classifier::bellIfSoundOn() {
    if (ctx_.st.sw.soundon) ctx_.ui.beep();
}

bool Classifier::isAprsMessage(std::string_view dataline) {
    const auto i = dataline.find(':');
    if (i == std::string_view::npos) return false;
    // ":" + addressee (9) + ":" right after the header's colon.
    return i + 11 < dataline.size() && dataline[i + 1] == ':' && dataline[i + 11] == ':';
}

void Classifier::inspectdataline() {
    gpwplWritten_ = false;
    ctx_.st.report.gpwplInScratch = false;
    normalise();
    if (!stationIdentifier()) return;
    reportKind();
}

void Classifier::normalise() {
    auto& r = ctx_.st.report;
    ctx_.st.marks.PGMmessage = "InspectingDataLine";

    // Blank lines that came before a packet in the same chunk are no part of it.
    if (const auto first = r.dataline.find_first_not_of("\r\n"); first != 0 && first != std::string::npos)
        r.dataline.erase(0, first);

    // A2, A3: the stamps of a TNC monitor header.
    r.dataline = withoutHeaderStamps(r.dataline);

    // A4
    if (r.dataline != "\r") r.incomingdata = r.dataline;
    r.stationcallsign = r.dataline;
    ctx_.ui.refresh();

    // A5: a header line ending in ":" and its information line in one chunk.
    {
        const std::size_t p = colonPos(r.dataline);
        if (p && hasPacketHeader(r.stationcallsign) && text::at(r.dataline, p + 1) == '\r')
            r.dataline = text::left(r.dataline, p) + text::mid(r.dataline, p + 2);
    }

    // A6: 3rd-party traffic; the inner packet stands for itself.
    {
        const std::size_t p = colonPos(r.dataline);
        if (p && text::at(r.dataline, p + 1) == '}') {
            r.dataline = text::mid(r.dataline, p + 2, 99);
            r.stationcallsign = r.dataline;
        }
    }
}

// One field of the sentence the line carries, read from its first line only:
// what follows a line end is another line, never more fields of this one.
bool Classifier::sentenceField(std::size_t count, std::string& field) {
    FieldList f = readFields(text::firstLine(ctx_.st.report.dataline), count);
    if (!f.complete) ctx_.log.entry(err::InputPastEnd, Failure::describe(err::InputPastEnd), kMarker);
    field = f[count];
    return f.complete;
}

bool Classifier::writeScratch(const char* file) {
    return guard([&] { ctx_.dir.replaceLines(file, {std::string(text::firstLine(ctx_.st.report.dataline))}); });
}

bool Classifier::stationIdentifier() {
    auto& r = ctx_.st.report;
    auto& m = ctx_.st.marks;
    IdForm form = IdForm::Name;
    bool fieldsRead = true;
    const char* scratch = nullptr;
    if (const std::size_t g = gtPos(r.stationcallsign); g >= 2 && g <= 10) {
        form = IdForm::SourceAddress;
        r.callsignWidth = kCallsignWidth;
        r.callsign = text::left(r.stationcallsign, g - 1);
        r.stationcallsign = r.callsign;
        m.PGMmessage = "STATION ID MARKER FOUND";
        bellIfSoundOn();
    } else if (text::icontains(r.dataline, "$GPWGT")) {
        std::string name;
        fieldsRead = sentenceField(10, name);
        scratch = kGpwgtScratch;
        r.callsignWidth = kCallsignWidth;
        r.callsign = name;
        r.stationcallsign = r.callsign;
        m.PGMmessage = "STATION ID MARKER FOUND (GPWGT)";
        bellIfSoundOn();
    } else if (nmea::findSentence(r.dataline, "WPL") != std::string::npos) {
        std::string name;
        fieldsRead = sentenceField(6, name);
        scratch = kGpwplScratch;
        // The name ends at the checksum; a sentence sent without one is named
        // by its whole sixth field rather than by the previous station.
        if (const auto star = name.find('*'); star != std::string::npos) name.resize(star);
        r.callsign = name;
        r.stationcallsign = r.callsign;
        m.PGMmessage = "STATION ID MARKER FOUND (GPWPL)";
        bellIfSoundOn();
    } else {
        return false; // B4: no station, nothing to do
    }
    // B5
    if (!r.stationcallsign.empty() && r.stationcallsign.front() == ',') r.stationcallsign.erase(0, 1);
    if (!r.stationcallsign.empty() && r.stationcallsign.back() == '\r') bell();

    if (!isValidStationId(r.stationcallsign, form)) {
        badStation(fieldsRead);
        return false;
    }
    if (scratch) {
        const bool written = writeScratch(scratch);
        if (scratch == kGpwplScratch) gpwplWritten_ = written;
    }
    return true;
}

// A line whose station cannot be named in a record, the slot table or the
// configuration (a line end, a comma or a quote in it, a name no station has)
// is no station report. Nothing of it is kept but the entry that tells of it.
void Classifier::badStation(bool fieldsRead) {
    auto& r = ctx_.st.report;
    if (fieldsRead) {
        ctx_.log.entry(err::InvalidCall, "Invalid station ID, line dropped", kMarker);
        guard([&] { ctx_.dir.appendLine(kErrorFile, " line began: " + visible(text::left(r.dataline, 80))); });
    }
    ctx_.st.marks.PGMmessage = "BAD STATION ID... skipping";
    r.callsign.clear();
    r.stationcallsign.clear();
    r.dataline.clear();
}

void Classifier::indicator(std::string_view caption, std::uint32_t rrggbb) {
    auto& ind = ctx_.st.report.miclabel;
    ind.visible = true;
    ind.caption = caption;
    ind.back = fromRgb(rrggbb);
}

// A decoder that cannot read the report must not leave the previous report's
// position to be accepted in its place: it starts from empty fields, which the
// hemisphere test after the decoder refuses.
void Classifier::clearPosition() {
    auto& r = ctx_.st.report;
    r.latitude.clear();
    r.longitude.clear();
    r.northsouth.clear();
    r.eastwest.clear();
}

void Classifier::reportKind() {
    auto& r = ctx_.st.report;
    const auto& sw = ctx_.st.sw;
    auto& steps = ctx_.steps;
    const std::size_t p = colonPos(r.dataline);
    const char c1 = text::at(r.dataline, p + 1);
    const std::string c6 = text::mid(r.dataline, p + 1, 6);
    const std::string info = payload(r.dataline);
    const std::string payload80 = text::left(info, 80);

    if (c1 == '\'' || c1 == '`') { // C1 Mic-E
        indicator("Mic-E '` Detected", 0xFFFF00);
        r.micedata = r.dataline;
        ctx_.ui.refresh();
        if (!sw.detectmice) return drop();
        clearPosition();
        steps.micencoded();
        bellIfSoundOn();
    } else if (nmea::isSentence(c6, "GGA")) { // C2
        if (!sw.detectmice) return drop();
        indicator(sentenceCaption(c6, "GGA"), 0xFF8000);
        r.ggadata = r.rawgpsdata = r.lastpayload = payload80;
        if (!sw.detectmice) return drop();
        clearPosition();
        steps.gpgga();
    } else if (c1 == '@' || c1 == '/') { // C3
        // A compressed position starts with its symbol table where a plain one
        // has a latitude digit.
        const bool packed = sw.detectcompressed && compressed::isSymbolTable(text::at(info, 9));
        if (packed)
            indicator("@moving Compressed", kCompressedRgb);
        else
            indicator("@moving Detected", 0x00FF00);
        r.movingdata = r.rawgpsdata = r.lastpayload = payload80;
        if (!sw.detectmoving) return drop();
        clearPosition();
        if (packed)
            steps.APRScompressed();
        else
            steps.APRSmoving();
    } else if (c1 == '=' || c1 == '!') { // C4
        if (text::left(info, 2) == "!!") return drop();
        const bool packed = sw.detectcompressed && compressed::isSymbolTable(text::at(info, 2));
        if (packed)
            indicator("!DIGI/=Fixed Compressed", kCompressedRgb);
        else
            indicator("!DIGI/=Fixed Detected", 0x00FF00);
        r.rawgpsdata = r.lastpayload = payload80;
        if (!sw.detectfixed) return drop();
        clearPosition();
        if (packed)
            steps.APRScompressed();
        else
            steps.APRSfixed();
    } else if (nmea::isSentence(c6, "RMC")) { // C5
        indicator(sentenceCaption(c6, "RMC"), 0xFF8000);
        r.rawgpsdata = r.lastpayload = payload80;
        if (!sw.detectnmea) return drop();
        clearPosition();
        steps.gprmc();
    } else if (sw.detectobjects && (c1 == ';' || c1 == ')')) { // objects and items
        return objectOrItem(info, payload80);
    } else if (text::icontains(r.dataline, "$GPWGT")) { // C6
        if (!sw.detectmice) return drop();
        indicator("$GPWGT Detected", 0xFF8000);
        r.gpwgtdata = r.rawgpsdata = r.lastpayload = r.dataline;
        if (!sw.detectmice) return drop();
        clearPosition();
        steps.gpwgt();
    } else if (const auto wpl = nmea::findSentence(r.dataline, "WPL"); wpl != std::string::npos) { // C7
        if (!sw.detectmice) return drop();
        indicator(sentenceCaption(std::string_view(r.dataline).substr(wpl), "WPL"), 0xFF8000);
        r.gpwpldata = r.rawgpsdata = r.lastpayload = r.dataline;
        if (!sw.detectnmea) return drop();
        // The decoder reads the scratch file; a packet with a header has not
        // written it yet, and a stale file would decode an older sentence.
        if (!gpwplWritten_) gpwplWritten_ = writeScratch(kGpwplScratch);
        if (!gpwplWritten_) return drop();
        clearPosition();
        r.gpwplInScratch = true;
        steps.gpwpl();
    } else if (isAprsMessage(r.dataline)) { // C8
        indicator("APRS Message", 0x00FF00);
        return message();
    } else { // C9
        indicator("Processing not available", 0xC0C0C0);
        ctx_.ui.refresh();
        return drop();
    }
    postDecode();
}

// An object or an item is tracked under its own name, not its sender's.
void Classifier::objectOrItem(const std::string& info, const std::string& payload80) {
    auto& r = ctx_.st.report;
    const objectitem::Head head = objectitem::head(text::firstLine(info));
    const bool read = head.fault == PositionFault::None;
    const bool object = head.kind == objectitem::Kind::Object;
    if (read && !head.alive)
        indicator(object ? "Object ; Killed" : "Item ) Killed", kKilledRgb);
    else
        indicator(object ? "Object ; Detected" : "Item ) Detected", object ? kObjectRgb : kItemRgb);
    r.rawgpsdata = r.lastpayload = payload80;
    if (read) {
        // A killed object is taken off the map by whoever shows it; here that
        // means nothing is written for it.
        if (!head.alive) {
            ctx_.st.marks.PGMmessage = "KILLED OBJECT/ITEM... skipping";
            return drop();
        }
        if (!isValidStationId(head.name, IdForm::Name)) {
            badStation(true);
            return drop();
        }
        if (head.compressed && !ctx_.st.sw.detectcompressed) return drop();
    }
    const std::string name(head.name);
    clearPosition();
    ctx_.steps.APRSobject();
    if (!text::istartsWith(r.rawgpsdata, "ERROR")) r.callsign = r.stationcallsign = name;
    postDecode();
}

void Classifier::message() {
    auto& r = ctx_.st.report;
    guard([&] { ctx_.dir.appendLine(kMessagesFile, withoutLineEnds(r.dataline)); });
    const std::size_t m = text::ifind(r.dataline, "::");
    std::string caption = generalDate(ctx_.clock.now()) + " Message from " + text::mid(r.dataline, m + 1);
    while (!caption.empty() && (caption.back() == '\r' || caption.back() == '\n'))
        caption.pop_back();
    ctx_.steps.showMessageWindow(caption);
    // A message carries no position: the line ends here instead of sending the
    // previous report's position down the pipeline again.
}

void Classifier::postDecode() {
    auto& r = ctx_.st.report;
    auto& st = ctx_.st;
    // D1, and the hemisphere test no decoder's refusal can be relied on for.
    if (text::istartsWith(r.rawgpsdata, "ERROR")) return drop();
    const bool ns = text::iequals(r.northsouth, "N") || text::iequals(r.northsouth, "S");
    const bool ew = text::iequals(r.eastwest, "E") || text::iequals(r.eastwest, "W");
    if (!ns || !ew) return drop();

    // D2. A position that cannot be signed would be written on the wrong side
    // of the world; such a report is logged and dropped.
    bool signedOk = true;
    if (text::iequals(r.northsouth, "S"))
        signedOk = guard([&] { r.latitude = num::general(-num::strict(r.latitude)); }) && signedOk;
    if (text::iequals(r.eastwest, "W"))
        signedOk = guard([&] { r.longitude = num::general(-num::strict(r.longitude)); }) && signedOk;
    if (!signedOk) return drop();

    // D3
    guard([&] { ctx_.steps.autoassign(); });
    guard([&] { ctx_.steps.assigncolor(); });
    guard([&] { ctx_.steps.assigntime(); });
    guard([&] { ctx_.steps.makestrings(); });
    guard([&] { ctx_.steps.assigncoords(); });

    // D4
    bool matched = false;
    if (!r.callsign.empty())
        for (int n = 1; n <= 8 && !matched; ++n)
            matched = text::iequals(r.callsign, st.slots[n].CallsignID);

    // D5
    const bool tracked = text::iequals(r.stationtracked, "YES");
    if (!matched) {
        bellIfSoundOn();
    } else if (st.marks.movingTag == kMovingTag && tracked) {
        guard([&] { ctx_.steps.savefiles(); });
        st.marks.movingTag.clear();
    } else if (!st.sw.CheckTrackOnlyMoving && tracked) {
        guard([&] { ctx_.steps.savefiles(); });
    }
}

void Classifier::drop() {
    auto& r = ctx_.st.report;
    r.dataline.clear();
    r.stationcallsign.clear();
    // A time-stamped report with a compressed position: kept for later reading.
    if (text::left(r.lastpayload, 1) == "/" && text::iequals(text::mid(r.lastpayload, 8, 2), "z/")) {
        guard([&] { ctx_.dir.appendLine(kCompressedFile, withoutLineEnds(r.lastpayload)); });
        bell();
    }
    r.lastpayload.clear();
}

} // namespace qv
