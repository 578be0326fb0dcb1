// Arbitrary bytes from a KISS or AGWPE TNC. Whatever arrives, and however the
// network or the serial driver cuts it into chunks, the same lines and counts
// come out; every line is one line of the form the classifier reads; a UI
// frame survives being encoded again; and the bytes as a TNC setting parse.
#include "links/Ax25.h"
#include "links/FrameLink.h"
#include "links/Kiss.h"
#include "links/TncSpec.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Result {
    std::vector<std::string> lines;
    qv::FrameLink::Counts counts;
    bool outOfStep = false;
};

// The bytes in chunks whose sizes cycle through `cuts` (whole when empty).
Result run(qv::TncKind kind, std::string_view bytes, std::string_view cuts) {
    qv::FrameLink link(kind);
    Result r;
    std::size_t at = 0, turn = 0;
    while (at < bytes.size()) {
        std::size_t n = bytes.size() - at;
        if (!cuts.empty()) n = 1 + static_cast<unsigned char>(cuts[turn++ % cuts.size()]) % 64;
        link.receive(bytes.substr(at, n), r.lines);
        (void)link.requests();
        at += n;
    }
    r.counts = link.counts();
    r.outOfStep = link.outOfStep();
    return r;
}

[[noreturn]] void fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
    std::abort();
}

void checkFrame(std::string_view data) {
    const qv::ax25::Decoded d = qv::ax25::decode(data);
    if (d.kind != qv::ax25::Kind::Ui) return;
    const auto& p = d.packet;
    const std::string again = qv::ax25::encodeUi(p.source, p.dest, p.digis, p.info);
    const qv::ax25::Decoded back = qv::ax25::decode(again);
    if (back.kind != qv::ax25::Kind::Ui || back.packet.source != p.source || back.packet.dest != p.dest ||
        back.packet.digis != p.digis || back.packet.info != p.info)
        fail("a UI frame changed on encoding it again", qv::ax25::monitorLine(p));
    // KISS framing gives back exactly what it was given, up to the longest
    // frame a deframer takes (with its command byte); a longer one is
    // reported broken, never cut short.
    std::vector<qv::kiss::Frame> frames;
    qv::kiss::Deframer deframer;
    deframer.feed(qv::kiss::encode(again), frames);
    const bool tooLong = again.size() + 1 > qv::kiss::Deframer::kMaxFrame;
    if (frames.size() != 1 || frames[0].broken != tooLong || (!tooLong && frames[0].data != again))
        fail("KISS framing lost bytes", "");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first bytes choose the chunk sizes, the rest is what the TNC sent.
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::size_t nCuts = all.empty() ? 0 : static_cast<unsigned char>(all[0]) % 8;
    const std::string_view cuts = all.substr(all.empty() ? 0 : 1, nCuts);
    const std::string_view bytes = all.substr(std::min(all.size(), 1 + nCuts));

    for (const qv::TncKind kind : {qv::TncKind::KissTcp, qv::TncKind::Agw}) {
        const Result whole = run(kind, bytes, {});
        const Result cut = run(kind, bytes, cuts);
        if (whole.lines != cut.lines || !(whole.counts == cut.counts) || whole.outOfStep != cut.outOfStep)
            fail("chunks changed what came out", kind == qv::TncKind::Agw ? "AGWPE" : "KISS");
        if (whole.counts.frames != whole.lines.size()) fail("a line for every UI frame", "");
        for (const std::string& line : whole.lines) {
            if (line.find_first_of("\r\n") != std::string::npos) fail("a frame made more than one line", line);
            const std::size_t gt = line.find('>'), colon = line.find(':');
            if (gt == std::string::npos || colon == std::string::npos || gt > colon) fail("no monitor line", line);
        }
    }
    checkFrame(bytes);
    (void)qv::parseTncSpec(bytes);
    return 0;
}
