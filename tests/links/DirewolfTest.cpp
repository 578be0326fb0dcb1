// End to end with a real software TNC: direwolf demodulates the audio
// gen_packets made from text packets and serves them over KISS TCP, AGWPE and
// a KISS pseudo-terminal; `quorvel --headless --tnc ...` tracks every station
// into every map file, and the files equal those of the same packets replayed
// as text. The reply goes to direwolf over KISS and AGWPE, is transmitted as
// audio and decoded back by direwolf's atest, byte for byte.
#include "intake/MessageReply.h"
#include "links/LinkBytes.h"
#include "links/TncPort.h"
#include "platform/QtTcpStreamPort.h"
#include "platform/QtTimer.h"
#include "shell/App.h"
#include "support/Fakes.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QThread>
// Qt's "slots" keyword would swallow the station state's slot table.
#undef slots

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <regex>

namespace fs = std::filesystem;

namespace qv::test {
namespace {

void ensureQtApp() {
    static int argc = 1;
    static char name[] = "test_links";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}

bool runUntil(const std::function<bool()>& done, int ms = 20000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

bool have(const char* program) {
    return QProcess::execute("sh", {"-c", QString("command -v ") + program + " >/dev/null"}) == 0;
}

// A port free on the loopback interface now. Not one the system would choose:
// direwolf takes no port above 49151 and falls back to its usual ones, which
// other runs on this machine may hold.
int freePort() {
    static std::mt19937 pick{std::random_device{}()};
    std::uniform_int_distribution<int> range(20000, 49151);
    for (int attempt = 0; attempt < 50; ++attempt) {
        const int port = range(pick);
        QTcpServer s;
        if (s.listen(QHostAddress::LocalHost, static_cast<quint16>(port))) return port;
    }
    return 0;
}

// The stations heard, one packet each, as a TNC prints them.
const std::vector<std::string> kPackets = {
    "N0CALL>APRS,WIDE1-1,WIDE2-1:!4903.50N/07201.75W-Test 1",
    "W1AW-9>APRS,K1ABC-3*,WIDE2-1:=4145.00N/07230.00W>mobile",
    "KF7ABC-9>SWTVXX,K7XYZ-3*,WIDE2-1:`25-l\"Ok/]\"4T}Mobile=",
    "K7TRK>APRS,WIDE2-1:@092345z4530.00N/12236.00W>with time",
    "N7GPS-7>GPSLK,WIDE1-1:$GPRMC,123519,A,4807.0380,N,01131.0000,E,022.4,084.4,230394,003.1,W*6A",
    "VE7XYZ>APRS:/092345h4900.00N/12300.00W-station",
    "W7ODF>APRS,WIDE2-2:!4403.49N/12118.92W_wx",
    "AB1CD-2>APRS:=4000.00N/10500.00W#digi",
    "W1XYZ>APRS,WIDE2-1::N0CALL   :hello{1",
};
constexpr std::size_t kStations = 8;

// 16-bit mono samples at 44100 per second: a second of silence, the packets
// as gen_packets makes them, and another second so the last one is heard out.
const std::string& audio() {
    static std::string pcm;
    if (!pcm.empty()) return pcm;
    TempDir tmp;
    std::string text;
    for (const auto& p : kPackets)
        text += p + "\n";
    tmp.write("packets.txt", text);
    const QString dir = QString::fromStdString(tmp.path().string());
    if (QProcess::execute("gen_packets", {"-r", "44100", "-o", dir + "/packets.wav", dir + "/packets.txt"}) != 0)
        return pcm;
    const std::string wav = tmp.read("packets.wav");
    const std::size_t data = wav.find("data");
    if (data == std::string::npos) return pcm;
    const std::string silence(88200, '\0');
    pcm = silence + wav.substr(data + 8) + silence;
    return pcm;
}

// direwolf with audio on its standard input, on the loopback interface only.
struct Direwolf {
    TempDir dir;
    QProcess proc;
    std::string output;
    int kissPort = 0, agwPort = 0;
    std::string pty;

    // Transmitted audio goes to tx.raw in its directory when `recordTx`.
    bool start(bool kissTcp, bool agw, bool kissPty, bool recordTx = false) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (proc.state() != QProcess::NotRunning) stop();
            output.clear();
            kissPort = kissTcp ? freePort() : 0;
            agwPort = agw ? freePort() : 0;
            dir.write("dw.conf", std::string("ADEVICE stdin ") + (recordTx ? "file:FILE=tx.raw" : "null") +
                                     "\nARATE 44100\nCHANNEL 0\nMYCALL N0DW\nKISSPORT " + std::to_string(kissPort) +
                                     "\nAGWPORT " + std::to_string(agwPort) + "\n");
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("LD_PRELOAD", QUORVEL_LOOPBACK_BIND);
            env.insert("QUORVEL_KISSTNC_LINK", QString::fromStdString((dir.path() / "kisstnc").string()));
            proc.setProcessEnvironment(env);
            proc.setWorkingDirectory(QString::fromStdString(dir.path().string()));
            proc.setProcessChannelMode(QProcess::MergedChannels);
            QStringList args{"-c", "dw.conf", "-t", "0", "-q", "hd"};
            if (kissPty) args << "-p";
            args << "-";
            proc.start("direwolf", args);
            if (!proc.waitForStarted(10000)) return false;
            const bool ready = runUntil(
                [&] {
                    read();
                    if (proc.state() == QProcess::NotRunning) return true;
                    if (kissTcp && !has("KISS TCP client application 0 on port " + std::to_string(kissPort)))
                        return false;
                    if (agw && !has("AGW client application 0 on port " + std::to_string(agwPort))) return false;
                    if (kissPty) {
                        const std::size_t at = output.find("Virtual KISS TNC is available on ");
                        if (at == std::string::npos) return false;
                        const std::size_t end = output.find('\n', at);
                        if (end == std::string::npos) return false;
                        pty = output.substr(at + 33, end - at - 33);
                        while (!pty.empty() && (pty.back() == '\r' || pty.back() == ' '))
                            pty.pop_back();
                    }
                    return true;
                },
                10000);
            if (ready && proc.state() == QProcess::Running) return true;
            // Most likely a port taken between choosing and binding it: again with others.
        }
        return false;
    }
    void read() { output += proc.readAll().toStdString(); }
    bool has(const std::string& text) const { return output.find(text) != std::string::npos; }
    void feed(const std::string& pcm) {
        proc.write(pcm.data(), static_cast<qint64>(pcm.size()));
        runUntil([&] { return proc.bytesToWrite() == 0; });
    }
    // End of the audio: direwolf finishes what it is doing and exits.
    bool finish() {
        proc.closeWriteChannel();
        return runUntil([&] {
            read();
            return proc.state() == QProcess::NotRunning;
        });
    }
    void stop() {
        if (proc.state() == QProcess::NotRunning) return;
        proc.terminate(); // our own child, by its PID
        if (!proc.waitForFinished(5000)) proc.kill();
        proc.waitForFinished(5000);
    }
    ~Direwolf() { stop(); }
};

// The configuration of the station: every station in a tracked slot, every
// map-file family on.
void writeStation(const fs::path& dir) {
    FakeClock clock;
    FakeUi ui;
    App app(dir, ui, clock);
    app.st.link.comport = "0";
    app.st.tracking.autoassigncheckbox = false;
    for (std::size_t i = 0; i < kStations; ++i) {
        const int n = static_cast<int>(i) + 1;
        app.st.slots[n].CallsignID = kPackets[i].substr(0, kPackets[i].find('>'));
        app.st.slots[n].track = true;
    }
    auto& m = app.st.map;
    m.menucreatemaptechfiles = m.menucreatestreetatlasfiles = m.menucreatenatgeotopofiles = true;
    m.menucreateozifiles = m.menucreatenatgeotopoNowCallfile = m.ODFcheckbox = true;
    app.savesettings();
}

// The files a run wrote, with dates and times masked: the two runs do not
// share a clock.
std::map<std::string, std::string> writtenFiles(const fs::path& dir) {
    static const std::regex date(R"(\d{1,2}/\d{1,2}/\d{4})");
    static const std::regex time(R"(\d{2}:\d{2}(:\d{2}(\.\d+)?)?)");
    static const std::regex compactTime(R"((DATE |\b[A-H]-)\d{4}\b)");
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(dir)) {
        const std::string name = e.path().filename().string();
        if (!e.is_regular_file() || name == "quorvel.cfg" || name == "quorvel.imp" || name == "quorvel.log") continue;
        std::ifstream in(e.path(), std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        text = std::regex_replace(text, date, "DATE");
        text = std::regex_replace(text, time, "TIME");
        text = std::regex_replace(text, compactTime, "$1TIME");
        files[name] = text;
    }
    return files;
}

std::size_t lineCount(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t n = 0;
    for (auto at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
        ++n;
    return n;
}

struct Replay {
    TempDir dir;
    std::map<std::string, std::string> files;
    Replay() {
        writeStation(dir.path());
        std::string imp;
        for (const auto& p : kPackets)
            imp += p + "\r\n";
        dir.write("quorvel.imp", imp);
        QProcess proc;
        proc.start(QUORVEL_BINARY, {"--headless", "--workdir", QString::fromStdString(dir.path().string()), "import"});
        if (proc.waitForFinished(60000) && proc.exitCode() == 0) files = writtenFiles(dir.path());
    }
};

class DirewolfLinks : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ensureQtApp();
        if (!have("direwolf") || !have("gen_packets") || !have("atest")) GTEST_SKIP() << "direwolf is not installed";
        ASSERT_FALSE(audio().empty()) << "gen_packets made no audio";
    }
};

TEST_P(DirewolfLinks, HeadlessTracksEveryStationIntoEveryMapFileAsTheTextReplayDoes) {
    const std::string mode = GetParam();
    static Replay replay; // the same for every link
    ASSERT_FALSE(replay.files.empty()) << "the text replay failed";
    for (const char* f : {"quorvel.mxf", "quorvel.txf", "quorvel.wpt", "quorvelID8.plt", "quorvelSA5.txt",
                          "quorvelNGTOPOnowCall.txt", "quorvel.olt", "quorvelmessages.txt"})
        EXPECT_TRUE(replay.files.count(f)) << f;

    Direwolf tnc;
    ASSERT_TRUE(tnc.start(mode == "kiss-tcp", mode == "agw", mode == "kiss-pty")) << tnc.output;
    const std::string spec = mode == "kiss-tcp" ? "kiss-tcp:127.0.0.1:" + std::to_string(tnc.kissPort)
                             : mode == "agw"    ? "agw:127.0.0.1:" + std::to_string(tnc.agwPort)
                                                : "kiss:" + tnc.pty;
    TempDir station;
    writeStation(station.path());
    QProcess quorvel;
    std::string out;
    quorvel.setProcessChannelMode(QProcess::MergedChannels);
    quorvel.start(QUORVEL_BINARY, {"--headless", "--tnc", QString::fromStdString(spec), "--workdir",
                                   QString::fromStdString(station.path().string())});
    ASSERT_TRUE(quorvel.waitForStarted(10000));
    auto readOut = [&] { out += quorvel.readAll().toStdString(); };
    ASSERT_TRUE(runUntil([&] {
        readOut();
        return out.find("TNC " + spec + " connected") != std::string::npos;
    })) << out;

    tnc.feed(audio());
    const bool all = runUntil([&] {
        readOut();
        tnc.read();
        return lineCount(station.path() / "quorvel.txf") == kStations &&
               fs::exists(station.path() / "quorvelmessages.txt");
    });
    quorvel.terminate(); // SIGTERM to our own child
    ASSERT_TRUE(runUntil([&] {
        readOut();
        return quorvel.state() == QProcess::NotRunning;
    }));
    ASSERT_TRUE(all) << out << "\n--- direwolf:\n" << tnc.output;
    EXPECT_EQ(quorvel.exitCode(), 0) << out;
    EXPECT_NE(out.find("TNC frames: " + std::to_string(kPackets.size()) + " passed on, 0 other, 0 broken"),
              std::string::npos)
        << out;
    // A replay builds up the tracks only and leaves the current-position and
    // TOPO! files alone; heard live, every station is in those too.
    auto heard = writtenFiles(station.path());
    for (const char* f : {"quorvelNGTOPO.txt", "quorvelNGTOPOnow.txt", "quorvelSA5now.txt"}) {
        ASSERT_TRUE(heard.count(f)) << f;
        for (std::size_t i = 0; i < kStations; ++i)
            EXPECT_NE(heard[f].find(kPackets[i].substr(0, kPackets[i].find('>'))), std::string::npos)
                << f << " " << i << "\n"
                << heard[f];
        EXPECT_EQ(lineCount(station.path() / f), kStations) << f;
        heard.erase(f);
    }
    heard.erase("quorvelSA5now.tmp");
    EXPECT_EQ(heard, replay.files);
}

INSTANTIATE_TEST_SUITE_P(Links, DirewolfLinks, ::testing::Values("kiss-tcp", "agw", "kiss-pty"), [](const auto& info) {
    std::string n = info.param;
    n.erase(std::remove(n.begin(), n.end(), '-'), n.end());
    return n;
});

// atest's hex dump of each frame it decoded.
std::vector<std::string> decodedFrames(const std::string& atestOutput) {
    std::vector<std::string> frames;
    static const std::regex row(R"(^\s+[0-9a-f]{3}:\s+((?:[0-9a-f]{2} )+))");
    std::string current;
    bool inDump = false;
    std::size_t at = 0;
    while (at < atestOutput.size()) {
        std::size_t end = atestOutput.find('\n', at);
        if (end == std::string::npos) end = atestOutput.size();
        const std::string line = atestOutput.substr(at, end - at);
        at = end + 1;
        std::smatch m;
        if (std::regex_search(line, m, row)) {
            current += hex(m[1].str());
            inDump = true;
        } else if (inDump) {
            frames.push_back(current);
            current.clear();
            inDump = false;
        }
    }
    if (inDump) frames.push_back(current);
    return frames;
}

TEST(DirewolfReply, SentOverKissAndAgwpeAndDecodedBackFromTheAudioByteForByte) {
    ensureQtApp();
    if (!have("direwolf") || !have("atest")) GTEST_SKIP() << "direwolf is not installed";
    Direwolf tnc;
    ASSERT_TRUE(tnc.start(true, true, false, true)) << tnc.output;

    TempDir tmp;
    FakeClock clock; // 2026-12-07 09:05:42
    FakeUi ui;
    QtTimer later, reopen;
    TncPort port(makeTncBytePort, later);
    App app(tmp.path(), ui, clock);
    app.st.marks.windowVisible = false;
    app.st.link.myCallsign = "N0QRV-5";
    app.attachSerial(&port, &reopen);
    app.messageReply.setFields("QUORVEL", "on my way");
    const std::string body = "$GPWMS,QUORVEL,on my way,00097E,01,01,0F,261207,090542,000000";
    const std::string sentence = body + "*" + MessageReply::nmeaChecksum(body);
    const std::string frame = hex("82a0a4a64040e0 9c60a2a4ac406b 03f0") + sentence;

    for (const std::string& spec :
         {"kiss-tcp:127.0.0.1:" + std::to_string(tnc.kissPort), "agw:127.0.0.1:" + std::to_string(tnc.agwPort)}) {
        SCOPED_TRACE(spec);
        app.st.link.comport = spec;
        app.link.openportcmd_Click();
        ASSERT_TRUE(runUntil([&] { return port.connected(); })) << app.st.link.tncStatus;
        const std::size_t sentBefore = tnc.output.size();
        app.messageReply.CommandMsgSEND_Click();
        EXPECT_EQ(app.st.Form5Message.LabelReplySentString, "Reply SENT>> N0QRV-5>APRS:" + sentence);
        // direwolf shows each frame it transmits.
        ASSERT_TRUE(runUntil([&] {
            tnc.read();
            return tnc.output.find("N0QRV-5>APRS:" + sentence, sentBefore) != std::string::npos;
        })) << tnc.output;
        app.link.closeportcmd_Click();
    }
    // The audio is all written once the file stops growing.
    const fs::path raw = tnc.dir.path() / "tx.raw";
    std::uintmax_t size = 0;
    QElapsedTimer still;
    still.start();
    ASSERT_TRUE(runUntil([&] {
        std::error_code ec;
        const auto now = fs::file_size(raw, ec);
        if (ec || now != size) {
            size = ec ? 0 : now;
            still.restart();
        }
        return size > 0 && still.elapsed() > 500;
    }));
    ASSERT_TRUE(tnc.finish());
    app.attachSerial(nullptr);

    // The recording as a WAV file for atest.
    const std::string pcm = tnc.dir.read("tx.raw");
    auto u32 = [](std::uint32_t v) {
        return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 24)};
    };
    const std::string wav = "RIFF" + u32(static_cast<std::uint32_t>(36 + pcm.size())) + "WAVEfmt " + u32(16) +
                            hex("0100 0100") + u32(44100) + u32(88200) + hex("0200 1000") + "data" +
                            u32(static_cast<std::uint32_t>(pcm.size())) + pcm;
    tnc.dir.write("tx.wav", wav);
    QProcess atest;
    atest.setProcessChannelMode(QProcess::MergedChannels);
    atest.start("atest", {"-h", QString::fromStdString((tnc.dir.path() / "tx.wav").string())});
    ASSERT_TRUE(atest.waitForFinished(30000));
    const std::string decoded = atest.readAll().toStdString();
    EXPECT_NE(decoded.find("N0QRV-5>APRS:" + sentence), std::string::npos) << decoded;
    EXPECT_EQ(decodedFrames(decoded), (std::vector<std::string>{frame, frame})) << decoded;
}

} // namespace
} // namespace qv::test
