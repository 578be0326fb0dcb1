// Arbitrary bytes through the text-to-position decoders on their own: the
// compressed and plain positions, objects and items, the !DAO! reader and the
// talkers' sentence names. Whatever the text, a decoder either names a fault
// or gives a position on the globe, and an object's name is one a station can
// carry; anything else aborts.
#include "decoders/CompressedPosition.h"
#include "decoders/Dao.h"
#include "decoders/NmeaTalker.h"
#include "decoders/ObjectItem.h"
#include "decoders/PlainPosition.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void onGlobe(double lat, double lon) {
    if (!(std::fabs(lat) <= 90.0) || !(std::fabs(lon) <= 180.0)) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    using qv::PositionFault;

    const auto c = qv::compressed::decode(text);
    if (c.fault == PositionFault::None) {
        onGlobe(c.latitude, c.longitude);
        if (!qv::compressed::isSymbolTable(c.symbolTable)) std::abort();
        if (!std::isfinite(c.speedKnots) || !std::isfinite(c.rangeMiles) || !std::isfinite(c.altitudeFeet))
            std::abort();
    }

    const auto p = qv::plain::decode(text);
    if (p.fault == PositionFault::None) onGlobe(p.latitude, p.longitude);

    for (char kind : {';', ')'}) {
        std::string info(1, kind);
        info.append(text);
        const auto o = qv::objectitem::decode(info);
        if (o.fault != PositionFault::None) continue;
        onGlobe(o.latitude, o.longitude);
        const std::string_view name = o.head.name;
        if (name.empty() || name.size() > 9 || name.back() == ' ' || o.head.positionAt >= info.size()) std::abort();
    }

    const auto x = qv::dao::find(text);
    if (x.found) {
        if (x.latDigit > 9 || x.lonDigit > 9 || x.latMinutes < 0 || x.latMinutes >= 0.01 || x.lonMinutes < 0 ||
            x.lonMinutes >= 0.01)
            std::abort();
        const auto q = qv::dao::apply(x, 90.0, -180.0);
        onGlobe(q.latitude, q.longitude);
    }

    for (const char* sentence : {"GGA", "RMC", "WPL"}) {
        const std::size_t at = qv::nmea::findSentence(text, sentence);
        if (at != std::string_view::npos && !qv::nmea::isSentence(text.substr(at), sentence)) std::abort();
        if (qv::nmea::isSentence(text, sentence) && at != 0) std::abort();
    }
    return 0;
}
