// The codecs of the KISS and AGWPE links, from real frames: KISS framing,
// AX.25 addresses and UI frames, AGWPE headers, and the TNC setting's forms.
#include "links/Agw.h"
#include "links/Ax25.h"
#include "links/FrameLink.h"
#include "links/Kiss.h"
#include "links/LinkBytes.h"
#include "links/TncSpec.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

std::string frameText(const kiss::Frame& f) {
    if (f.broken) return "broken";
    return "port " + std::to_string(f.port) + " cmd " + std::to_string(f.command) + ": " + f.data;
}

TEST(Kiss, DeframesWhatTncsSendInAnyChunks) {
    const std::string big(2100, 'A');
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> frames;
    };
    const std::vector<Case> cases = {
        {"direwolf's frame", kKissN0call, {"port 0 cmd 0: " + kFrameN0call}},
        {"two frames back to back",
         kKissN0call + kKissW1aw,
         {"port 0 cmd 0: " + kFrameN0call, "port 0 cmd 0: " + kFrameW1aw}},
        {"shared and doubled FENDs", hex("c0 c0 00 41 c0 00 42 c0 c0"), {"port 0 cmd 0: A", "port 0 cmd 0: B"}},
        {"escaped FEND and FESC", hex("c0 00 01 db dc 02 db dd 03 c0"), {"port 0 cmd 0: " + hex("01 c0 02 db 03")}},
        {"radio port in the high nibble", hex("c0 30 41 c0"), {"port 3 cmd 0: A"}},
        {"a command other than data", hex("c0 01 19 c0"), {"port 0 cmd 1: " + hex("19")}},
        {"text before the first FEND", "cmd:KISS ON\r" + hex("c0 00 41 c0"), {"broken", "port 0 cmd 0: A"}},
        {"escape of nothing", hex("c0 00 41 db 41 42 c0 00 43 c0"), {"broken", "port 0 cmd 0: C"}},
        {"escape cut by FEND", hex("c0 00 41 db c0"), {"broken"}},
        {"longer than any frame", "\xc0" + big + "\xc0" + hex("00 44 c0"), {"broken", "port 0 cmd 0: D"}},
        {"frame not ended yet", hex("c0 00 41 42"), {}},
    };
    for (const auto& c : cases) {
        for (const std::size_t chunk : {std::size_t(1), std::size_t(3), c.bytes.size()}) {
            SCOPED_TRACE(std::string(c.name) + ", chunks of " + std::to_string(chunk));
            kiss::Deframer d;
            std::vector<kiss::Frame> got;
            for (std::size_t at = 0; at < c.bytes.size(); at += chunk)
                d.feed(std::string_view(c.bytes).substr(at, chunk), got);
            std::vector<std::string> texts;
            for (const auto& f : got)
                texts.push_back(frameText(f));
            EXPECT_EQ(texts, c.frames);
        }
    }
}

TEST(Kiss, EncodingEscapesEveryFendAndFescAndDecodesBack) {
    EXPECT_EQ(kiss::encode(hex("c0 db 41")), hex("c0 00 db dc db dd 41 c0"));
    EXPECT_EQ(kiss::encode("A", 2), hex("c0 20 41 c0"));
    // Port 12 makes the command byte itself a FEND.
    EXPECT_EQ(kiss::encode("A", 12), hex("c0 db dc 41 c0"));
    EXPECT_EQ(kiss::encode(kFrameN0call), kKissN0call);
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    kiss::Deframer d;
    std::vector<kiss::Frame> got;
    d.feed(kiss::encode(all, 5), got);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(frameText(got[0]), "port 5 cmd 0: " + all);
}

TEST(Ax25, FramesBecomeTheLinesATextTncPrints) {
    const std::string aprs = hex("82a0a4a64040e0");
    const std::string n0call = hex("9c6086829898e0"), n0callLast = hex("9c608682989861");
    const std::string ui = hex("03 f0");
    struct Case {
        const char* name;
        std::string frame;
        ax25::Kind kind;
        std::string line;
    };
    using K = ax25::Kind;
    const std::vector<Case> cases = {
        {"digipeaters, none repeated", kFrameN0call, K::Ui, "N0CALL>APRS,WIDE1-1,WIDE2-1:!4903.50N/07201.75W-Test 1"},
        {"SSIDs and one repeated", kFrameW1aw, K::Ui, "W1AW-9>APRS,K1ABC-3*,WIDE2-1:=4145.00N/07230.00W>mobile"},
        {"both repeated: the star on the last", aprs + n0call + hex("ae92888a6240e2 ae92888a6440e3") + ui + "x", K::Ui,
         "N0CALL>APRS,WIDE1-1,WIDE2-1*:x"},
        {"no digipeaters", aprs + n0callLast + ui + "!4903.50N/07201.75W-", K::Ui, "N0CALL>APRS:!4903.50N/07201.75W-"},
        {"line ends dropped, one inside made a blank", aprs + n0callLast + ui + "a\rb\r\n", K::Ui, "N0CALL>APRS:a b"},
        {"empty information", aprs + n0callLast + ui, K::Ui, "N0CALL>APRS:"},
        {"poll bit set", aprs + n0callLast + hex("13 f0") + "x", K::Ui, "N0CALL>APRS:x"},
        {"information frame", aprs + n0callLast + hex("00 f0") + "x", K::Other, ""},
        {"connect request", aprs + n0callLast + hex("3f"), K::Other, ""},
        {"NET/ROM broadcast", aprs + n0callLast + hex("03 cf") + "x", K::Other, ""},
        {"UI frame without its protocol id", aprs + n0callLast + hex("03"), K::Broken, ""},
        {"no control byte", aprs + n0callLast, K::Broken, ""},
        {"one address only", hex("82a0a4a64040e1") + ui, K::Broken, ""},
        {"lower-case letter", aprs + hex("dc6086829898e1") + ui, K::Broken, ""},
        {"blank before the call", aprs + hex("409c60868298e1") + ui, K::Broken, ""},
        {"extension bit inside the call", aprs + hex("9d6086829898e1") + ui, K::Broken, ""},
        {"eleven addresses", aprs + n0call + std::string(8 * 7, '\x82') + hex("82828282828260") + ui, K::Broken, ""},
        {"cut inside an address", aprs + hex("9c6086"), K::Broken, ""},
        {"nothing", "", K::Broken, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ax25::Decoded d = ax25::decode(c.frame);
        EXPECT_EQ(d.kind, c.kind);
        if (d.kind == ax25::Kind::Ui) {
            EXPECT_EQ(ax25::monitorLine(d.packet), c.line);
        }
    }
}

TEST(Ax25, CallsignsAsTyped) {
    struct Case {
        const char* text;
        const char* shown; // "" when refused
    };
    const Case cases[] = {
        {"N0CALL", "N0CALL"},
        {"n0call-7", "N0CALL-7"},
        {"W1AW-15", "W1AW-15"},
        {"W1AW-09", "W1AW-9"},
        {"W1AW-0", "W1AW"},
        {"W1AW-16", ""},
        {"W1AW-", ""},
        {"TOOLONG1", ""},
        {"", ""},
        {"N0 CAL", ""},
        {"-3", ""},
        {"N0CALL-1X", ""},
    };
    for (const auto& c : cases) {
        const auto a = ax25::parseAddress(c.text);
        EXPECT_EQ(a ? ax25::addressText(*a) : "", c.shown) << c.text;
    }
}

TEST(Ax25, ReplyFrameByteForByte) {
    const std::string info = "$GPWMS,QUORVEL,hi,00097E,01,01,0F,261207,090542,000000*3D";
    const auto source = *ax25::parseAddress("N0QRV-5");
    const auto dest = *ax25::parseAddress("APRS");
    // APRS with the command bit, N0QRV-5 as the last address, UI, no layer 3.
    EXPECT_EQ(ax25::encodeUi(source, dest, {}, info), hex("82a0a4a64040e0 9c60a2a4ac406b 03f0") + info);
    auto wide = *ax25::parseAddress("WIDE2-1");
    EXPECT_EQ(ax25::encodeUi(source, dest, {wide}, "x"), hex("82a0a4a64040e0 9c60a2a4ac406a ae92888a644063 03f0 78"));
    wide.repeated = true;
    const ax25::Decoded back = ax25::decode(ax25::encodeUi(source, dest, {wide}, info));
    ASSERT_EQ(back.kind, ax25::Kind::Ui);
    EXPECT_EQ(back.packet.source, source);
    EXPECT_EQ(back.packet.dest, dest);
    EXPECT_EQ(back.packet.digis, std::vector<ax25::Address>{wide});
    EXPECT_EQ(back.packet.info, info);
}

TEST(Agw, MessagesInAnyChunks) {
    const std::string x = hex("00000000 58 00 00 00") + std::string("N0QRV-5\0\0\0", 10) + std::string(10, '\0') +
                          hex("01000000 00000000 01");
    const std::string stream = x + kAgwN0call;
    for (const std::size_t chunk : {std::size_t(1), std::size_t(7), std::size_t(36), stream.size()}) {
        SCOPED_TRACE("chunks of " + std::to_string(chunk));
        agw::Reader r;
        std::vector<agw::Message> got;
        for (std::size_t at = 0; at < stream.size(); at += chunk)
            r.feed(std::string_view(stream).substr(at, chunk), got);
        ASSERT_EQ(got.size(), 2u);
        EXPECT_EQ(got[0].header.kind, 'X');
        EXPECT_EQ(got[0].header.callFrom, "N0QRV-5");
        EXPECT_EQ(got[0].data, hex("01"));
        EXPECT_EQ(got[1].header.kind, 'K');
        EXPECT_EQ(got[1].header.port, 0u);
        EXPECT_EQ(got[1].header.callFrom, "N0CALL");
        EXPECT_EQ(got[1].header.callTo, "APRS");
        EXPECT_EQ(got[1].header.dataLen, 58u);
        EXPECT_EQ(got[1].data, std::string(1, '\0') + kFrameN0call);
        EXPECT_FALSE(r.outOfStep());
    }
}

TEST(Agw, RequestsByteForByteAndAnImpossibleLengthStopsTheStream) {
    EXPECT_EQ(agw::registerCall("N0QRV-5"), hex("00000000 58 00 00 00") + std::string("N0QRV-5\0\0\0", 10) +
                                                std::string(10, '\0') + hex("00000000 00000000"));
    EXPECT_EQ(agw::rawMonitoring(), hex("00000000 6b 00 00 00") + std::string(20, '\0') + hex("00000000 00000000"));
    EXPECT_EQ(agw::rawFrame(0, kFrameN0call, "N0CALL", "APRS"), kAgwN0call);
    // A callsign field holds nine characters and its NUL.
    EXPECT_EQ(agw::decodeHeader(agw::registerCall("ABCDEFGHIJKL")).callFrom, "ABCDEFGHI");

    agw::Reader r;
    std::vector<agw::Message> got;
    r.feed(hex("00000000 4b 00 00 00") + std::string(20, '\0') + hex("ffffff7f 00000000") + kAgwN0call, got);
    EXPECT_TRUE(r.outOfStep());
    r.feed(kAgwN0call, got);
    EXPECT_TRUE(got.empty());
    r.reset();
    r.feed(kAgwN0call, got);
    EXPECT_EQ(got.size(), 1u);
}

TEST(FrameLink, LinesForUiFramesAndCountsForTheRest) {
    struct Case {
        const char* name;
        TncKind kind;
        std::string bytes;
        std::vector<std::string> lines;
        FrameLink::Counts counts;
    };
    const std::string agwReply = agw::registerCall("N0QRV") + hex("01"); // length 0: no data follows
    const std::string agwMonitorText =
        hex("00000000 55 00 00 00") + std::string(20, '\0') + hex("02000000 00000000") + "hi";
    const std::string agwEmptyK = hex("00000000 4b 00 00 00") + std::string(20, '\0') + hex("00000000 00000000");
    const std::vector<Case> cases = {
        {"KISS: frames, a command, a connected-mode frame, noise",
         TncKind::KissTcp,
         kKissN0call + hex("c0 01 19 c0") + hex("c0 00 82a0a4a64040e0 9c608682989861 00 f0 41 c0") +
             "no\xdb"
             "ise" +
             kKissW1aw,
         {"N0CALL>APRS,WIDE1-1,WIDE2-1:!4903.50N/07201.75W-Test 1",
          "W1AW-9>APRS,K1ABC-3*,WIDE2-1:=4145.00N/07230.00W>mobile"},
         {2, 2, 1}},
        {"KISS over a serial device: the same",
         TncKind::Kiss,
         kKissW1aw,
         {"W1AW-9>APRS,K1ABC-3*,WIDE2-1:=4145.00N/07230.00W>mobile"},
         {1, 0, 0}},
        {"AGWPE: answers pass, text monitoring and empty frames counted",
         TncKind::Agw,
         agwReply.substr(0, agw::kHeaderSize) + kAgwN0call + agwMonitorText + agwEmptyK,
         {"N0CALL>APRS,WIDE1-1,WIDE2-1:!4903.50N/07201.75W-Test 1"},
         {1, 1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FrameLink link(c.kind);
        std::vector<std::string> lines;
        link.receive(c.bytes, lines);
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(link.counts().frames, c.counts.frames);
        EXPECT_EQ(link.counts().other, c.counts.other);
        EXPECT_EQ(link.counts().broken, c.counts.broken);
    }
}

TEST(FrameLink, HelloAndReplyFramesOfEachProtocol) {
    const auto source = *ax25::parseAddress("N0QRV-5");
    const auto dest = *ax25::parseAddress("APRS");
    const std::string ax25 = ax25::encodeUi(source, dest, {}, "hi");
    FrameLink kissLink(TncKind::KissTcp), agwLink(TncKind::Agw);
    EXPECT_EQ(kissLink.hello("N0QRV-5"), "");
    EXPECT_EQ(kissLink.uiFrame(source, dest, "hi"), std::string("\xc0\x00", 2) + ax25 + "\xc0");
    EXPECT_EQ(agwLink.hello("n0qrv-5"), agw::registerCall("N0QRV-5") + agw::versionRequest());
    // No callsign to register: the version all the same.
    EXPECT_EQ(agwLink.hello("none of it"), agw::versionRequest());
    // The version's answer asks for raw monitoring, once a connection: the
    // request is a toggle.
    std::vector<std::string> lines;
    agwLink.receive(kAgwVersion.substr(0, 40), lines);
    EXPECT_EQ(agwLink.requests(), "");
    agwLink.receive(kAgwVersion.substr(40) + kAgwVersion, lines);
    EXPECT_EQ(agwLink.requests(), agw::rawMonitoring());
    EXPECT_EQ(agwLink.requests(), "");
    agwLink.reset();
    agwLink.receive(kAgwVersion, lines);
    EXPECT_EQ(agwLink.requests(), agw::rawMonitoring());
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(agwLink.uiFrame(source, dest, "hi"), agw::rawFrame(0, ax25, "N0QRV-5", "APRS"));
}

TEST(TncSpec, FormsOfTheSetting) {
    struct Case {
        const char* text;
        TncKind kind;
        const char* target; // device, or host:port
        bool error;
    };
    using K = TncKind;
    const Case cases[] = {
        {"3", K::Text, "/dev/ttyS2", false},
        {"COM1", K::Text, "/dev/ttyS0", false},
        {"/dev/ttyUSB0", K::Text, "/dev/ttyUSB0", false},
        {"0", K::None, "", false},
        {"", K::None, "", false},
        {"kiss:/dev/rfcomm0", K::Kiss, "/dev/rfcomm0", false},
        {" KISS:4 ", K::Kiss, "/dev/ttyS3", false},
        {"kiss:", K::None, "", true},
        {"kiss-tcp:127.0.0.1:8001", K::KissTcp, "127.0.0.1:8001", false},
        {"kiss-tcp:localhost", K::KissTcp, "localhost:8001", false},
        {"agw:radio.local:8010", K::Agw, "radio.local:8010", false},
        {"AGW:127.0.0.1", K::Agw, "127.0.0.1:8000", false},
        {"agw:[::1]:8000", K::Agw, "::1:8000", false},
        {"agw:[::1", K::None, "", true},
        {"kiss-tcp::8001", K::None, "", true},
        {"kiss-tcp:host:", K::None, "", true},
        {"kiss-tcp:host:70000", K::None, "", true},
        {"agw:host:80a", K::None, "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const TncSpec s = parseTncSpec(c.text);
        EXPECT_EQ(s.kind, c.kind);
        EXPECT_EQ(!s.error.empty(), c.error) << s.error;
        const std::string target = overTcp(s.kind) ? s.host + ":" + std::to_string(s.port) : s.device;
        EXPECT_EQ(target, c.target);
        EXPECT_EQ(isLinkForm(c.text), c.error || carriesFrames(s.kind));
    }
}

} // namespace
} // namespace qv::test
