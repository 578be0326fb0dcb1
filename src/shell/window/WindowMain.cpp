// Wiring of the window and the Qt ports to the application.
#include "shell/window/WindowMain.h"

#include "platform/Clock.h"
#include "shell/App.h"
#include "shell/window/AppHandlers.h"
#include "shell/window/MainWindow.h"
#include "shell/window/MessageForm.h"
#include "shell/window/QtUi.h"
#include "shell/window/SpeedForm.h"

#include "links/TncPort.h"
#include "platform/QtTcpSocket.h"
#include "platform/QtTcpStreamPort.h"
#include "platform/QtTileFetcher.h"
#include "platform/QtTimer.h"

#include <QApplication>
#include <QMessageBox>
#include <filesystem>

namespace qv {

int runWindowed(const CommandLine& cl) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_directory(cl.workdir, ec)) {
        QMessageBox box(
            QMessageBox::Critical, "Quorvel",
            QString("The working directory %1 does not exist.").arg(QString::fromStdString(cl.workdir.string())));
        box.setTextFormat(Qt::PlainText); // a folder name is no markup
        box.exec();
        return 2;
    }
    SystemClock clock;
    QtUi ui;
    // The TNC port outlives the application, which lets go of it first.
    QtTimer tncLater, tncReopen;
    TncPort serial(makeTncBytePort, tncLater);
    QtTcpSocket socket;
    QtTimer timer1, timer2, timer3;
    QtTimer timerUpdate; // the update check counts down on it

    App app(fs::canonical(cl.workdir, ec), ui, clock);
    app.st.map.commandLine = cl.command;
    app.st.link.tncOverride = cl.tnc;
    AppHandlers handlers(app);
    MainWindow window(app.st, handlers, ui);
    ui.attach(&window);

    QtSpeedDialog form3(&window);
    app.link.form3 = &form3;
    MessageForm form5(&window);
    app.ctx.messageWindow = &form5;
    app.messageReply.attach();
    // The reply window's own actions change what the main window shows.
    auto edited = form5.onEdited;
    form5.onEdited = [&, edited](const std::string& from, const std::string& text) {
        if (edited) edited(from, text);
        window.redraw();
    };
    auto send = form5.onSend;
    form5.onSend = [&, send] {
        if (send) send();
        window.redraw();
    };

    app.attachSerial(&serial, &tncReopen);
    app.ctx.socket = &socket;
    app.attachPosting(&timer1);
    app.ctx.timer2 = &timer2;
    app.ctx.timer3 = &timer3;
    app.ctx.timerUpdate = &timerUpdate;
    app.telnet.attach();
    app.monitor.start();
    app.startup.onEnd = [] { QApplication::quit(); };

    // Start-up shows the window before it loads the settings.
    window.normalviewmenu_Click();
    window.show();
    window.redraw();
    app.startup.Form_Load();
    // Tiles only once the settings said whether and from where.
    QtTileFetcher tileFetcher;
    window.attachTiles(&tileFetcher);
    window.redraw();
    int code = 0;
    if (!app.startup.ended()) {
        if (cl.telnet) {
            app.telnet.TelnetActivate_Click();
            window.redraw();
        }
        code = QApplication::exec();
    }
    socket.close();
    serial.close();
    app.telnet.detach();
    app.messageReply.detach();
    app.ctx.socket = nullptr;
    app.ctx.timer1 = app.ctx.timer2 = app.ctx.timer3 = nullptr;
    app.ctx.timerUpdate = nullptr;
    app.ctx.messageWindow = nullptr;
    app.link.form3 = nullptr;
    app.attachSerial(nullptr);
    window.attachTiles(nullptr);
    ui.attach(nullptr);
    return code;
}

} // namespace qv
