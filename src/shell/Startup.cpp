// The start-up steps in their order; each traps its own failures and start-up
// carries on with the next.
#include "shell/Startup.h"

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/Text.h"
#include "core/WorkDir.h"
#include "intake/ImportReplay.h"
#include "intake/SerialLink.h"
#include "mapfiles/NowFileRebuild.h"
#include "platform/SerialPort.h"
#include "platform/SerialSettings.h"
#include "platform/TcpSocket.h"
#include "platform/Ui.h"
#include "shell/Settings.h"

#include <filesystem>

namespace qv {

namespace {
constexpr const char* kMarker = " in SUB FORMLOAD ";
}

void Startup::Form_Load() {
    auto& st = ctx_.st;
    auto& log = ctx_.log;
    log.guard(kMarker, [&] {
        if (ctx_.dir.exists("QUORVEL.HLP")) st.cfg.helpFile = ctx_.dir.path("QUORVEL.HLP").string();
    });
    log.errorfileresize();
    // A "now" file lost to a stop in the middle of an older version's
    // rebuild, and the scratch files of a write stopped half way.
    mapfile::NowFileRebuild::restoreAll(ctx_);
    log.guard(kMarker, [&] { ctx_.dir.removeMatching(".quorvel*.part"); });
    ctx_.ui.refresh();

    const bool loading = ctx_.dir.exists(kConfigFile);
    if (loading) {
        // A run of start-up from inside the loader has done every step already.
        if (settings_.getsettings() != Settings::Loaded::Done) return;
    }
    if (ended_) return;

    log.guard(kMarker, [&] {
        std::error_code ec;
        const std::string here = std::filesystem::absolute(ctx_.dir.root(), ec).lexically_normal().string();
        const std::string base = here.empty() || here.back() == '/' ? here : here + "/";
        if (st.map.importPathMapTech.empty()) st.map.importPathMapTech = base + "quorvel.mxf";
        if (st.map.importPathStreetAtlas.empty()) st.map.importPathStreetAtlas = base + "quorvelSA5now.txt";
        if (st.map.importPathNatGeoTopo.empty()) st.map.importPathNatGeoTopo = base + "quorvelNGTOPO.txt";
    });

    // `--tnc` names this run's TNC; the one the file names stays there.
    if (auto& l = st.link; !l.tncOverride.empty()) {
        if (loading || l.comport != l.tncOverride) l.comportSaved = l.comport;
        l.comport = l.tncOverride;
        l.portButtonsVisible = portGiven(l.comport);
    }
    log.guard(kMarker, [&] {
        if (portGiven(st.link.comport)) {
            link_.openport();
        } else {
            link_.closeportcmd_Click();
        }
    });
    if (ended_) return;
    ctx_.ui.refresh();

    if (text::iequals(st.map.commandLine, "t")) st.telnet.startMode = "t";
    if (st.telnet.startMode == "t") {
        st.marks.PGMmessage = "TelnetConnecting";
        st.telnet.labelVisible = true;
        st.telnet.startMode = "NORELOAD";
        ctx_.ui.refresh();
    }

    // The map's tracks as the files left them, before a replay adds to them.
    if (!tracksLoaded_) {
        tracksLoaded_ = true;
        log.guard(kMarker, [&] { ctx_.steps.loadtracks(); });
    }

    // Start-up runs again on every telnet connect; the feed is replayed once.
    if (text::iequals(st.map.commandLine, "import") && !replayed_) {
        replayed_ = true;
        log.guard(kMarker, [&] {
            ImportReplay replay(ctx_, receive_);
            replay.afterLine = afterReplayLine;
            replayOk_ = replay.run();
            linesReplayed_ = replay.linesReplayed();
        });
    }

    log.guard(kMarker, [&] {
        if (ctx_.dir.exists("quorvel.mxf")) st.marks.exportarchiveVisible = true;
    });
}

void Startup::endProgram() {
    if (ended_) return;
    ended_ = true;
    // The port is handed back at once, so another program can have it.
    if (ctx_.serial && ctx_.serial->isOpen()) ctx_.serial->close();
    if (onEnd) onEnd();
}

void Startup::exit_Click() { endProgram(); }

void Startup::exitbutton_Click() {
    if (ctx_.ui.message("Are you sure you want to EXIT THE QUORVEL PROGRAM?", "Quorvel", Buttons::OkCancel) !=
        Answer::Ok)
        return;
    if (ctx_.socket) ctx_.socket->close();
    endProgram();
}

} // namespace qv
