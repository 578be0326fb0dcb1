// The object and item decoder.
#include "decoders/ObjectItem.h"

#include "decoders/CompressedPosition.h"
#include "decoders/Dao.h"
#include "decoders/PlainPosition.h"

namespace qv::objectitem {

namespace {

constexpr std::size_t kObjectName = 9;
constexpr std::size_t kTimeStamp = 7;
constexpr std::size_t kItemNameMin = 3, kItemNameMax = 9;

std::string_view withoutTrailingBlanks(std::string_view s) {
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

Head fail(Head h, PositionFault f) {
    h.fault = f;
    return h;
}

} // namespace

Head head(std::string_view info) {
    Head h;
    std::size_t flag = 0; // where the live/killed mark stands
    if (!info.empty() && info[0] == ';') {
        h.kind = Kind::Object;
        flag = 1 + kObjectName;
        if (info.size() <= flag) return fail(h, PositionFault::TooShort);
        h.positionAt = flag + 1 + kTimeStamp;
    } else if (!info.empty() && info[0] == ')') {
        h.kind = Kind::Item;
        // The name cannot hold either mark, so the first one ends it.
        flag = info.find_first_of("!_", 1);
        if (flag == std::string_view::npos)
            return fail(h, info.size() > kItemNameMax + 1 ? PositionFault::BadFlag : PositionFault::TooShort);
        if (flag - 1 < kItemNameMin || flag - 1 > kItemNameMax) return fail(h, PositionFault::BadName);
        h.positionAt = flag + 1;
    } else {
        return fail(h, PositionFault::BadFlag);
    }
    const char mark = info[flag];
    if (h.kind == Kind::Object ? mark != '*' && mark != '_' : mark != '!' && mark != '_')
        return fail(h, PositionFault::BadFlag);
    h.alive = mark != '_';
    h.name = withoutTrailingBlanks(info.substr(1, flag - 1));
    if (h.name.empty()) return fail(h, PositionFault::BadName);
    if (info.size() <= h.positionAt) return fail(h, PositionFault::TooShort);
    h.compressed = compressed::isSymbolTable(info[h.positionAt]);
    return h;
}

Report decode(std::string_view info) {
    Report r;
    r.head = head(info);
    r.fault = r.head.fault;
    if (r.fault != PositionFault::None) return r;
    const std::string_view at = info.substr(r.head.positionAt);
    std::size_t length = 0;
    if (r.head.compressed) {
        const compressed::Report c = compressed::decode(at);
        r.fault = c.fault;
        r.latitude = c.latitude;
        r.longitude = c.longitude;
        length = compressed::kLength;
    } else {
        const plain::Report p = plain::decode(at);
        r.fault = p.fault;
        r.latitude = p.latitude;
        r.longitude = p.longitude;
        length = plain::kLength;
    }
    if (r.fault != PositionFault::None) return r;
    const dao::Extension x = dao::find(at.substr(length));
    const dao::Point p = dao::apply(x, r.latitude, r.longitude);
    r.latitude = p.latitude;
    r.longitude = p.longitude;
    r.daoLatDigit = x.latDigit;
    r.daoLonDigit = x.lonDigit;
    return r;
}

} // namespace qv::objectitem
