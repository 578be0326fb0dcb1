// The application: owns the station state, the working directory, the error
// log and every subsystem, and wires the steps one subsystem calls in another.
#pragma once

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/WorkDir.h"
#include "decoders/AprsPosition.h"
#include "decoders/AprsReportSteps.h"
#include "decoders/MicE.h"
#include "decoders/Nmea.h"
#include "decoders/Waypoints.h"
#include "intake/Classifier.h"
#include "intake/MessageReply.h"
#include "intake/ReceiveHandler.h"
#include "intake/SerialLink.h"
#include "intake/TelnetClient.h"
#include "mapfiles/Archive.h"
#include "mapfiles/FileWriter.h"
#include "platform/OziApi.h"
#include "platform/ProcessRunner.h"
#include "platform/WindowKeys.h"
#include "posting/FindStation.h"
#include "posting/MapAutomation.h"
#include "posting/MapOptions.h"
#include "posting/OziLive.h"
#include "records/ColourStamp.h"
#include "records/RecordBuilder.h"
#include "records/SlotMarks.h"
#include "shell/Settings.h"
#include "shell/Startup.h"
#include "shell/UpdateCheck.h"
#include "tracking/CaptureAll.h"
#include "tracking/MovementMonitor.h"
#include "tracking/SlotTable.h"
#include "tracking/SlotTracks.h"

#include <filesystem>
#include <memory>

namespace qv {

class App final : public Steps {
public:
    App(const std::filesystem::path& workdir, Ui& ui, Clock& clock);
    ~App() override;
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    Station st;
    WorkDir dir;
    ErrorLog log;
    Context ctx;

    // Intake and the plain APRS decoders.
    Classifier classifier{ctx};
    ReceiveHandler receive{ctx};
    AprsPosition aprsPosition{ctx};

    void inspectdataline() override { classifier.inspectdataline(); }
    void MSComm1_OnComm() override { receive.MSComm1_OnComm(); }
    void APRSmoving() override { aprsPosition.APRSmoving(); }
    void APRSfixed() override { aprsPosition.APRSfixed(); }

    // Tracking and records. Start-up runs monitor.start() once ctx.timer2 is set.
    SlotTable slotTable{ctx};
    MovementMonitor monitor{ctx};
    ColourStamp colourStamp{ctx};
    RecordBuilder recordBuilder{ctx};
    SlotMarks slotMarks{ctx};

    void autoassign() override { slotTable.autoassign(); }
    void assigncolor() override { colourStamp.assigncolor(); }
    void assigntime() override { colourStamp.assigntime(); }
    void makestrings() override { recordBuilder.makestrings(); }
    void ensurestrings() override { recordBuilder.ensurestrings(); }
    void assigncoords() override { slotMarks.assigncoords(); }
    void Timer2_Timer() override { monitor.Timer2_Timer(); }
    void checkmovement(const std::string& previous, const std::string& current, std::string& result) override {
        monitor.checkmovement(previous, current, result);
    }

    // Position decoders.
    MicE mice{ctx};
    Nmea nmea{ctx};
    Waypoints waypoints{ctx};
    AprsReportSteps aprsReports{ctx};

    void micencoded() override { mice.micencoded(); }
    void gpgga() override { nmea.gpgga(); }
    void gprmc() override { nmea.gprmc(); }
    void gpwgt() override { waypoints.gpwgt(); }
    void gpwpl() override { waypoints.gpwpl(); }
    void APRScompressed() override { aprsReports.APRScompressed(); }
    void APRSobject() override { aprsReports.APRSobject(); }

    // APRS-IS client. Start-up runs telnet.attach() once ctx.socket and ctx.timer3 are set.
    TelnetClient telnet{ctx};

    // Map files.
    FileWriter files{ctx};

    void savefiles() override { files.savefiles(); }

    // The situation map's tracks.
    TrackMemory tracks{ctx};

    void addtrackpoint() override { tracks.addtrackpoint(); }
    void loadtracks() override { tracks.loadtracks(); }

    // Configuration file.
    Settings settings{ctx};

    void savesettings() override { settings.savesettings(); }
    void CallsignID_Change(int n) override { slotTable.CallsignID_Change(n); }
    void CheckTrackOnlyMoving_Click() override { monitor.CheckTrackOnlyMoving_Click(); }

    // Capture-all mode.
    CaptureAll captureAll{ctx, slotTable};

    void captureallcallsigns() override { captureAll.captureallcallsigns(); }

    // Serial link and start-up. attachSerial() hands the receive handler the
    // port's events, and the link its status and the timer that reopens a TNC
    // that went away (none: the port stays closed until Open Port).
    SerialLink link{ctx};
    Startup startup{ctx, settings, link, receive};
    void attachSerial(SerialPort* port, Timer* reopen = nullptr);

    void openport() override { link.openport(); }
    void closeportcmd_Click() override { link.closeportcmd_Click(); }
    void tncLost() override { link.tncLost(); }
    void Form_Load() override { startup.Form_Load(); }
    void endProgram() override { startup.endProgram(); }

    // APRS message reply. Start-up runs messageReply.attach() once ctx.messageWindow is set.
    MessageReply messageReply{ctx};

    void showMessageWindow(const std::string& caption) override { messageReply.showMessageWindow(caption); }

    // Archive and data-file maintenance.
    Archive archive{ctx};

    void exportarchive_Click() override { archive.exportarchive_Click(); }

    // Map posting. attachPosting() gives it the desktop's windows and keys (X11),
    // the OziExplorer library stand-in, the program starter and Timer1.
    void attachPosting(Timer* timer1);
    std::unique_ptr<WindowKeys> windowKeys;
    std::unique_ptr<OziApi> oziApi;
    std::unique_ptr<ProcessRunner> processRunner;
    MapOptions mapOptions{ctx};
    MapAutomation automation{ctx, mapOptions};
    OziLive oziLive{ctx};
    FindStation findStation{ctx};

    void oziLivePost() override { oziLive.oziLivePost(); }
    void importtomapnow() override { automation.importtomapnow_Click(); }
    void changeimportSA_Click() override { mapOptions.changeimportSA_Click(); }
    void changeimportNGTOPO_Click() override { mapOptions.changeimportNGTOPO_Click(); }
    void timedautoimport_Click() override { automation.timedautoimport_Click(); }
    void selectMapOption(const std::string& optionName) override { mapOptions.selectMapOption(optionName); }
    void selectMapDataFormat(const std::string& optionName) override { mapOptions.selectMapDataFormat(optionName); }
    void selectmapdatadisplaytype() override { mapOptions.selectmapdatadisplaytype(); }
    void checkimportfilename() override { mapOptions.checkimportfilename(); }
    void captureallOFF_Click() override { captureAll.captureallOFF_Click(); }

    // Update check; needs ctx.process and (for a countdown that lets events run) ctx.timerUpdate.
    UpdateCheck updateCheck{ctx};
};

} // namespace qv
