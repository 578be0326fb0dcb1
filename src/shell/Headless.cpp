// The headless run: start, replay or wait for a signal, report the files written.
#include "shell/Headless.h"

#include "core/Failure.h"
#include "core/Text.h"
#include "core/WorkDir.h"
#include "intake/ImportReplay.h"
#include "links/TncPort.h"
#include "platform/Clock.h"
#include "platform/HeadlessUi.h"
#include "platform/MessageWindow.h"
#include "shell/App.h"
#include "shell/map/MapSnapshot.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
// Qt's "slots" keyword would swallow the station state's slot table.
#undef slots
// The Qt ports come after the station state for the same reason.
#include "platform/QtSerialPort.h"
#include "platform/QtTcpSocket.h"
#include "platform/QtTcpStreamPort.h"
#include "platform/QtTileFetcher.h"
#include "platform/QtTimer.h"

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <map>
#include <ostream>
#include <set>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace qv {

namespace {

int gSignalPipe[2] = {-1, -1};

constexpr int kFirstRetrySeconds = 5;
constexpr int kLastRetrySeconds = 300;

void onSignal(int) {
    const char c = 1;
    [[maybe_unused]] auto n = ::write(gSignalPipe[1], &c, 1);
}

// The stations of a replay, asked after every line: a table probed in place
// (one short string compared in contiguous memory), sorted once at the end.
class StationsHeard {
public:
    void add(const std::string& call) {
        if (call.empty()) return;
        if ((used_ + 1) * 2 > slots_.size()) grow();
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash(call) & mask;; i = (i + 1) & mask) {
            if (slots_[i].empty()) {
                slots_[i] = call;
                ++used_;
                return;
            }
            if (slots_[i] == call) return;
        }
    }
    std::set<std::string> sorted() const {
        std::set<std::string> out;
        for (const auto& s : slots_)
            if (!s.empty()) out.insert(s);
        return out;
    }

private:
    static std::size_t hash(std::string_view s) {
        std::uint64_t h = 1469598103934665603ULL; // FNV-1a
        for (const char c : s)
            h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        return static_cast<std::size_t>(h ^ (h >> 29));
    }
    void grow() {
        std::vector<std::string> old = std::move(slots_);
        slots_.assign(std::max<std::size_t>(256, 2 * old.size()), std::string());
        used_ = 0;
        for (const auto& s : old)
            add(s);
    }
    std::vector<std::string> slots_;
    std::size_t used_ = 0;
};

struct FileStamp {
    std::uintmax_t size = 0;
    fs::file_time_type time{};
    bool operator==(const FileStamp&) const = default;
};

std::map<std::string, FileStamp> snapshot(const fs::path& dir) {
    std::map<std::string, FileStamp> files;
    std::error_code ec;
    for (const auto& e : fs::recursive_directory_iterator(dir, ec)) {
        if (!e.is_regular_file(ec)) continue;
        // A scratch file of a write in progress is no file of the user's.
        const std::string name = e.path().filename().string();
        if (name.starts_with(".") && name.ends_with(".part")) continue;
        files[fs::relative(e.path(), dir, ec).string()] = {e.file_size(ec), e.last_write_time(ec)};
    }
    return files;
}

void reportFiles(std::ostream& out, const fs::path& dir, const std::map<std::string, FileStamp>& before) {
    const auto after = snapshot(dir);
    std::vector<std::string> written;
    for (const auto& [name, stamp] : after) {
        auto it = before.find(name);
        if (it == before.end() || !(it->second == stamp)) written.push_back(name);
    }
    if (written.empty()) {
        out << "No files written in " << text::printable(dir.string()) << "\n";
        return;
    }
    out << "Files written in " << text::printable(dir.string()) << ":\n";
    for (const auto& name : written)
        out << "  " << text::printable(name) << " (" << after.at(name).size << " bytes"
            << (before.count(name) ? "" : ", new") << ")\n";
}

// The situation map at the end of the run, when asked for.
bool snapshot(const CommandLine& cl, const Station& st, std::ostream& out, std::ostream& err) {
    if (cl.snapshot.empty()) return true;
    QtTileFetcher fetcher;
    return writeSnapshot(st, {cl.snapshot, cl.snapshotWidth, cl.snapshotHeight}, &fetcher, kSnapshotWait, out, err);
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine cl;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--headless") {
            cl.headless = true;
        } else if (a == "--telnet") {
            cl.telnet = true;
        } else if (a == "--workdir") {
            if (i + 1 >= args.size()) {
                cl.error = "--workdir needs a directory";
                return cl;
            }
            cl.workdir = args[++i];
        } else if (a.rfind("--workdir=", 0) == 0) {
            cl.workdir = a.substr(10);
        } else if (a == "--tnc" || a.rfind("--tnc=", 0) == 0) {
            if (a == "--tnc" && i + 1 >= args.size()) {
                cl.error = "--tnc needs a TNC, such as /dev/ttyUSB0, kiss:/dev/ttyUSB0 or kiss-tcp:127.0.0.1:8001";
                return cl;
            }
            cl.tnc = text::trim(a == "--tnc" ? args[++i] : a.substr(6));
            const TncSpec spec = parseTncSpec(cl.tnc);
            // "0": no TNC for this run.
            if (spec.kind == TncKind::None && cl.tnc != "0") {
                cl.error = "--tnc " + cl.tnc + ": " +
                           (spec.error.empty() ? "no serial port, kiss:, kiss-tcp: or agw: TNC" : spec.error);
                return cl;
            }
        } else if (a == "--snapshot" || a.rfind("--snapshot=", 0) == 0) {
            if (a == "--snapshot" && i + 1 >= args.size()) {
                cl.error = "--snapshot needs a file name";
                return cl;
            }
            cl.snapshot = a == "--snapshot" ? args[++i] : a.substr(11);
        } else if (a == "--snapshot-size" || a.rfind("--snapshot-size=", 0) == 0) {
            const std::string size = a == "--snapshot-size" ? (i + 1 < args.size() ? args[++i] : "") : a.substr(16);
            if (!parseSize(size, cl.snapshotWidth, cl.snapshotHeight)) {
                cl.error = "--snapshot-size needs WIDTHxHEIGHT, 16 to 8192 pixels each";
                return cl;
            }
        } else if (text::iequals(a, "import") || text::iequals(a, "t")) {
            cl.command = text::lower(a);
        } else {
            cl.error = "unknown argument: " + a;
            return cl;
        }
    }
    if (!cl.snapshot.empty() && !cl.headless) cl.error = "--snapshot works with --headless only";
    return cl;
}

int runHeadless(const CommandLine& cl, std::ostream& out, std::ostream& err) {
    std::error_code ec;
    if (!fs::is_directory(cl.workdir, ec)) {
        err << "quorvel: working directory " << text::printable(cl.workdir.string()) << " does not exist\n";
        return 2;
    }
    const fs::path dir = fs::canonical(cl.workdir, ec);
    // Nothing the program does would leave a trace; better to say so now
    // than to run and report no files.
    try {
        WorkDir(dir).checkWritable();
    } catch (const Failure& f) {
        err << "quorvel: working directory " << text::printable(dir.string())
            << " cannot be written: " << f.description() << "\n";
        return 1;
    }
    const auto before = snapshot(dir);

    SystemClock clock;
    HeadlessUi ui(err);
    // The TNC port outlives the application, which lets go of it first.
    QtTimer tncLater, tncReopen;
    TncPort serial(makeTncBytePort, tncLater);
    HeadlessMessageWindow messages(out);
    App app(dir, ui, clock);
    app.st.marks.windowVisible = false;
    app.st.map.commandLine = cl.command;
    app.st.link.tncOverride = cl.tnc;
    app.attachSerial(&serial, &tncReopen);
    // What the port indicator would show of a TNC connecting, going away and
    // coming back.
    app.link.statusChanged = [&](const std::string& state) { out << "TNC " << text::printable(state) << std::endl; };
    app.ctx.messageWindow = &messages;
    app.messageReply.attach();
    out << "Quorvel headless in " << text::printable(dir.string()) << "\n";
    if (cl.command == "import" && !app.dir.exists(kReplayFile)) {
        err << "quorvel: no " << kReplayFile << " in " << text::printable(dir.string()) << "\n";
        return 1;
    }
    StationsHeard heard;
    app.startup.afterReplayLine = [&] { heard.add(app.st.report.callsign); };
    app.startup.onEnd = [] { QCoreApplication::quit(); };
    app.startup.Form_Load();
    if (app.startup.ended()) {
        out << "Ended at start-up\n";
        reportFiles(out, dir, before);
        return 0;
    }
    if (serial.isOpen() && !serial.carriesFrames())
        out << "Serial port " << text::printable(app.st.link.comport) << " open at "
            << text::printable(serial.settings()) << std::endl;

    if (cl.command == "import") {
        const bool ok = app.startup.replayOk();
        const std::set<std::string> stations = heard.sorted();
        serial.close();
        out << "Replayed " << app.startup.linesReplayed() << " lines from " << kReplayFile
            << " through the receive path\n";
        out << stations.size() << " stations heard:";
        for (const auto& s : stations)
            out << " " << text::printable(s);
        out << "\n";
        for (int n = 1; n <= 8; ++n) {
            const auto& s = app.st.slots[n];
            if (s.CallsignID.empty() || s.CallsignID == SlotState::placeholder(n)) continue;
            out << "  slot " << n << " " << text::printable(s.CallsignID) << (s.track ? " (tracked)" : "")
                << (s.location.empty() ? "" : " at " + text::printable(s.location)) << "\n";
        }
        reportFiles(out, dir, before);
        const bool pictured = snapshot(cl, app.st, out, err);
        return ok && pictured ? 0 : 1;
    }

    if (cl.command == "t") out << "Telnet start requested\n";
    QtTcpSocket socket;
    QtTimer timer3;
    app.ctx.socket = &socket;
    app.ctx.timer3 = &timer3;
    app.telnet.attach();
    // Nobody watches a headless station to reconnect by hand: a connection
    // asked for by --telnet that failed or that the server closed is tried
    // again, sooner at first and then less often, until it holds.
    QTimer reconnect;
    reconnect.setSingleShot(true);
    int retrySeconds = kFirstRetrySeconds;
    bool stopping = false;
    QObject::connect(&reconnect, &QTimer::timeout, [&] {
        out << "Reconnecting to APRS-IS server " << text::printable(app.st.telnet.address) << std::endl;
        app.telnet.TelnetActivate_Click();
    });
    app.telnet.captionChanged = [&](const std::string& caption) {
        out << "Telnet: " << text::printable(caption) << std::endl;
        if (!cl.telnet || stopping) return;
        const TelnetState& t = app.st.telnet;
        if (caption == telnetOnCaption(t.address, t.loginName)) {
            retrySeconds = kFirstRetrySeconds;
        } else if ((caption == kTelnetClosed || caption == telnetFailedCaption(t.address)) && !reconnect.isActive()) {
            out << "Telnet: trying again in " << retrySeconds << " s" << std::endl;
            reconnect.start(retrySeconds * 1000);
            retrySeconds = std::min(2 * retrySeconds, kLastRetrySeconds);
        }
    };
    struct Detach {
        App& app;
        ~Detach() {
            app.telnet.detach();
            app.telnet.captionChanged = nullptr;
            app.ctx.socket = nullptr;
            app.ctx.timer3 = nullptr;
        }
    } detach{app};
    if (cl.telnet) {
        // The server, login and tracked stations come from quorvel.cfg;
        // loading it again after start-up changes nothing.
        if (app.dir.exists("quorvel.cfg")) app.settings.getsettings();
        const TelnetState& t = app.st.telnet;
        out << "Connecting to APRS-IS server " << text::printable(t.address) << " port " << t.port << " as "
            << text::printable(t.loginName) << std::endl;
        app.telnet.TelnetActivate_Click();
    }
    if (::pipe(gSignalPipe) != 0) {
        err << "quorvel: cannot set up signal handling\n";
        return 1;
    }
    QSocketNotifier notifier(gSignalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, [] { QCoreApplication::quit(); });
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    out << "Running; stop with Ctrl-C (SIGINT) or SIGTERM" << std::endl;
    QCoreApplication::exec();
    stopping = true;
    reconnect.stop();
    socket.close();
    serial.close();
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    ::close(gSignalPipe[0]);
    ::close(gSignalPipe[1]);
    out << "Stopped\n";
    if (serial.carriesFrames()) {
        const auto c = serial.frameCounts();
        out << "TNC frames: " << c.frames << " passed on, " << c.other << " other, " << c.broken << " broken\n";
    }
    app.link.statusChanged = nullptr;
    reportFiles(out, dir, before);
    return snapshot(cl, app.st, out, err) ? 0 : 1;
}

} // namespace qv
