// Reading the TNC setting.
#include "links/TncSpec.h"

#include "core/Text.h"
#include "platform/SerialSettings.h"

#include <array>

namespace qv {

namespace {

struct Prefix {
    const char* text;
    TncKind kind;
};
// "kiss-tcp:" before "kiss:", which does not match it anyway (the dash).
constexpr std::array<Prefix, 3> kPrefixes = {{
    {"kiss-tcp:", TncKind::KissTcp},
    {"kiss:", TncKind::Kiss},
    {"agw:", TncKind::Agw},
}};

TncSpec failed(std::string why) {
    TncSpec s;
    s.error = std::move(why);
    return s;
}

// "HOST:PORT", "[v6]:PORT" or a host alone.
TncSpec network(TncKind kind, std::string_view rest, int defaultPort) {
    TncSpec s;
    s.kind = kind;
    std::string_view host = rest, port;
    if (!rest.empty() && rest.front() == '[') {
        const std::size_t close = rest.find(']');
        if (close == std::string_view::npos) return failed("the host misses its closing ]");
        host = rest.substr(1, close - 1);
        std::string_view after = rest.substr(close + 1);
        if (!after.empty()) {
            if (after.front() != ':') return failed("a colon must follow the host");
            port = after.substr(1);
            if (port.empty()) return failed("the port is missing after the colon");
        }
    } else if (const std::size_t colon = rest.rfind(':'); colon != std::string_view::npos) {
        host = rest.substr(0, colon);
        port = rest.substr(colon + 1);
        if (port.empty()) return failed("the port is missing after the colon");
    }
    if (host.empty()) return failed("the host is missing");
    s.host = std::string(host);
    s.port = defaultPort;
    if (!port.empty()) {
        if (port.size() > 5) return failed("the port is no number from 1 to 65535");
        int n = 0;
        for (const char c : port) {
            if (c < '0' || c > '9') return failed("the port is no number from 1 to 65535");
            n = n * 10 + (c - '0');
        }
        if (n < 1 || n > 65535) return failed("the port is no number from 1 to 65535");
        s.port = n;
    }
    return s;
}

} // namespace

bool isLinkForm(std::string_view text) {
    const std::string t = text::trim(text);
    for (const auto& p : kPrefixes)
        if (text::istartsWith(t, p.text)) return true;
    return false;
}

TncSpec parseTncSpec(std::string_view text) {
    const std::string t = text::trim(text);
    for (const auto& p : kPrefixes) {
        if (!text::istartsWith(t, p.text)) continue;
        const std::string rest = text::trim(t.substr(std::string_view(p.text).size()));
        if (p.kind == TncKind::Kiss) {
            TncSpec s;
            s.device = serialDevice(rest);
            if (s.device.empty()) return failed("no serial device is named after kiss:");
            s.kind = TncKind::Kiss;
            return s;
        }
        return network(p.kind, rest, p.kind == TncKind::Agw ? kAgwDefaultPort : kKissTcpDefaultPort);
    }
    TncSpec s;
    s.device = serialDevice(t);
    if (!s.device.empty()) s.kind = TncKind::Text;
    return s;
}

} // namespace qv
