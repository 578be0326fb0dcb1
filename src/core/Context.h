// What every subsystem is given: the station state, the working directory, the
// error log, the ports, and the steps of the other subsystems.
#pragma once

namespace qv {

struct Station;
class WorkDir;
class ErrorLog;
class Ui;
class Clock;
class Steps;
class SerialPort;
class TcpSocket;
class WindowKeys;
class OziApi;
class ProcessRunner;
class Timer;
class MessageWindow;

struct Context {
    Station& st;
    const WorkDir& dir;
    ErrorLog& log;
    Ui& ui;
    Clock& clock;
    Steps& steps;
    SerialPort* serial = nullptr;
    TcpSocket* socket = nullptr;
    WindowKeys* windows = nullptr;
    OziApi* ozi = nullptr;
    ProcessRunner* process = nullptr;
    Timer* timer1 = nullptr;                // timed map posting
    Timer* timer2 = nullptr;                // overdue monitor
    Timer* timer3 = nullptr;                // APRS-IS connect time-out
    MessageWindow* messageWindow = nullptr; // APRS message reply window
    Timer* timerUpdate = nullptr;           // update-check countdown
    Timer* timerTnc = nullptr;              // reopens a TNC that went away
};

} // namespace qv
