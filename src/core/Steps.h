// The procedures one subsystem calls in another. The application wires each to
// its subsystem; tests substitute a recorder. A step not wired yet does nothing.
#pragma once

#include <string>

namespace qv {

class Steps {
public:
    virtual ~Steps() = default;

    // intake
    virtual void inspectdataline() {}
    virtual void MSComm1_OnComm() {} // the receive handler, also for telnet lines
    virtual void showMessageWindow(const std::string& caption) { (void)caption; }

    // decoders
    virtual void micencoded() {}
    virtual void gpgga() {}
    virtual void APRSmoving() {}
    virtual void APRSfixed() {}
    virtual void gprmc() {}
    virtual void gpwgt() {}
    virtual void gpwpl() {}
    virtual void APRScompressed() {}
    virtual void APRSobject() {}

    // tracking and records, in the order the classifier runs them
    virtual void autoassign() {}
    virtual void assigncolor() {}
    virtual void assigntime() {}
    virtual void makestrings() {}
    // The records makestrings put off, built before anything reads them.
    virtual void ensurestrings() {}
    virtual void assigncoords() {}
    // the overdue monitor pass, also run by the time-stamping step
    virtual void Timer2_Timer() {}
    // the movement test: sets `result` to "YES" when the station moved or is new
    virtual void checkmovement(const std::string& previous, const std::string& current, std::string& result) {
        (void)previous;
        (void)current;
        (void)result;
    }

    // tracking: the capture-all rotation, run by the file writer last
    virtual void captureallcallsigns() {}

    // map files
    virtual void savefiles() {}
    // the situation map: a written report joins its slot's track; at start
    // the tracks come back from the Ozi track files
    virtual void addtrackpoint() {}
    virtual void loadtracks() {}

    // map posting: the live OziExplorer waypoint step (in place of quorvel.wpt)
    // and the "POST to map NOW" command
    virtual void oziLivePost() {}
    virtual void importtomapnow() {}
    // tracking handlers the settings loader runs when it sets their control
    virtual void CallsignID_Change(int n) { (void)n; }
    virtual void CheckTrackOnlyMoving_Click() {}

    // map options: selecting an option button runs its click handler
    virtual void selectMapOption(const std::string& optionName) { (void)optionName; }
    virtual void selectMapDataFormat(const std::string& optionName) { (void)optionName; }
    virtual void selectmapdatadisplaytype() {}
    virtual void checkimportfilename() {}

    // serial link
    virtual void openport() {}
    virtual void closeportcmd_Click() {}
    // The TNC's device or connection went away under the open port.
    virtual void tncLost() { closeportcmd_Click(); }
    // map posting: the archive command, run after a MapTech posting and a
    // manual import; the file chooser of the Street Atlas and TOPO! paths
    virtual void exportarchive_Click() {}
    virtual void changeimportSA_Click() {}
    virtual void changeimportNGTOPO_Click() {}
    // the timed posting check box changed (the map options clear it)
    virtual void timedautoimport_Click() {}
    // capture-all off, as its menu command does (choosing MapTech or TOPO! runs it)
    virtual void captureallOFF_Click() {}

    // shell
    virtual void savesettings() {}
    virtual void Form_Load() {}
    // Ends the program at once (the user declined to go on).
    virtual void endProgram() {}
};

} // namespace qv
