// The screenshot pass: the window after a replay of the sample feed at the
// sizes an operator's screen gives it, its frames and its dialogs, saved as
// pictures for a person to look at. scripts/screens.sh runs it on a private
// X server; the README's pictures (window.png, chooser.png) come from here.
// The situation map draws its grid, or tiles from TILEURL when given (a
// local tile server: never a public one from here).
//
//     quorvel_screens OUTDIR EXAMPLESDIR [TILEURL]
#include "core/MessageState.h"
#include "platform/Clock.h"
#include "platform/QtTileFetcher.h"
#include "shell/App.h"
#include "shell/map/TileStore.h"
#include "shell/window/AppHandlers.h"
#include "shell/window/MainWindow.h"
#include "shell/window/MapPane.h"
#include "shell/window/MessageForm.h"
#include "shell/window/QtUi.h"
#include "shell/window/SpeedForm.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <functional>

using namespace qv;

namespace {

QString out;
QString nextDialog; // the name the next dialog is saved under; "" closes it unseen

void settle() {
    for (int i = 0; i < 4; ++i)
        QApplication::processEvents();
}

// Lets the map's tiles come, for a few seconds at most.
void awaitTiles(MapPane* pane) {
    QElapsedTimer t;
    t.start();
    while (pane->tiles() && t.elapsed() < 8000) {
        std::vector<geo::TileId> shown;
        for (const geo::TilePlace& p : geo::tilesFor(pane->view()))
            shown.push_back(p.tile);
        if (pane->tiles()->settled(shown)) break;
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    settle();
}

void save(QWidget* w, const QString& name) {
    if (!w->grab().save(out + "/" + name + ".png")) std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
}

// Every modal dialog is pictured (when a name waits for it) and closed, so
// the pass runs through without anyone at the keyboard.
void closeDialogs() {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [] {
        QWidget* d = QApplication::activeModalWidget();
        if (!d) return;
        if (!nextDialog.isEmpty()) {
            settle();
            save(d, nextDialog);
            nextDialog.clear();
        }
        d->close();
    });
    poll->start(50);
}

} // namespace

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: quorvel_screens OUTDIR EXAMPLESDIR [TILEURL]\n");
        return 2;
    }
    out = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir work;
    namespace fs = std::filesystem;
    for (const char* name : {"quorvel.cfg", "quorvel.imp"})
        fs::copy_file(fs::path(argv[2]) / name, fs::path(work.path().toStdString()) / name);

    SystemClock clock;
    QtUi ui;
    App app(fs::path(work.path().toStdString()), ui, clock);
    AppHandlers handlers(app);
    MainWindow w(app.st, handlers, ui);
    ui.attach(&w);
    closeDialogs();

    // The window in its normal view as the replay leaves it: the README's picture.
    w.normalviewmenu_Click();
    w.show();
    app.st.map.commandLine = "import";
    app.startup.Form_Load();
    QTemporaryDir tileCache;
    QtTileFetcher fetcher(tileCache.path());
    if (argc == 4) {
        app.st.tracks.pane.tileUrl = argv[3];
        w.attachTiles(&fetcher);
    }
    w.redraw();
    settle();
    w.normalviewmenu_Click();
    settle();
    MapPane* pane = w.mapPane();
    awaitTiles(pane);
    save(&w, "window");

    // The map alone: every station, then following slot D about Portland.
    save(w.findChild<QDockWidget*>("mapDock"), "map-pane");
    auto* follow = pane->findChild<QComboBox*>("mapFollow");
    const int engine = follow->findData(4);
    follow->setCurrentIndex(engine);
    pane->follow(4);
    pane->zoomBy(10 - pane->view().zoom);
    awaitTiles(pane);
    save(w.findChild<QDockWidget*>("mapDock"), "map-pane-follow");
    save(&w, "window-follow");
    pane->fitAllStations();
    // Under the window, as a small screen has it.
    app.st.tracks.pane.place = "bottom";
    w.redraw();
    w.resize(1024, 768);
    settle();
    awaitTiles(pane);
    save(&w, "window-1024-map-under");
    app.st.tracks.pane.place = "right";
    w.redraw();
    w.normalviewmenu_Click();
    settle();

    app.st.map.exportarchiveNoticeVisible = true; // the override button
    for (int width : {1024, 1280, 1600}) {
        w.resize(width, width == 1024 ? 768 : 1024);
        settle();
        save(&w, QString("window-%1").arg(width));
    }
    w.resize(1024, 768);
    settle();
    QScrollBar* bar = w.findChild<QScrollArea*>("panelScroll")->verticalScrollBar();
    bar->setValue(bar->maximum());
    settle();
    save(&w, "window-1024-map-column");
    bar->setValue(0);
    w.compressedviewmenu_Click();
    settle();
    save(&w, "window-compressed");
    w.normalviewmenu_Click();
    app.st.map.exportarchiveNoticeVisible = false;

    // The file chooser, from the MapTech path button.
    for (int width : {1024, 1600}) {
        w.resize(width, width == 1024 ? 768 : 1030);
        w.findChild<QPushButton*>("changeimport")->click();
        settle();
        save(&w, QString("chooser-%1").arg(width));
    }
    save(w.findChild<QWidget*>("FrameFileSelection"), "chooser");
    w.findChild<QPushButton*>("Commandcancelbrowseimportpath")->click();

    // Every wizard page, from its first.
    for (int width : {1024, 1600}) {
        w.resize(width, width == 1024 ? 768 : 1030);
        w.findChild<QAction*>("NewSetupWizard")->trigger();
        for (int back = 0; back < 4; ++back)
            w.findChild<QPushButton*>("CommandNewSetupBACK")->click();
        for (int page = 1; page <= 4; ++page) {
            if (page > 1) w.findChild<QPushButton*>("CommandNewSetupNEXT")->click();
            settle();
            save(&w, QString("wizard-%1-%2").arg(width).arg(page));
        }
        w.findChild<QPushButton*>("CommandNewSetupCLOSE")->click();
    }

    MessageForm form5(&w);
    MessageWindowState msg;
    msg.caption = "N7ODF: open Street Atlas and check the <b>map</b> & the tracks";
    msg.LabelReplySentString = "N7ODF>APRS::QUORVEL  :ack <3 & {12";
    form5.show(msg);
    form5.adjustSize();
    settle();
    save(&form5, "message-window");
    form5.hide();

    SpeedForm form3(&w);
    form3.preselect(3);
    form3.show();
    settle();
    save(&form3, "speed-dialog");
    form3.hide();

    // The program's own questions and notices, as the real dialogs show them.
    const struct {
        const char* name;
        std::function<void()> open;
    } dialogs[] = {
        {"input-maptech-path", [&] { w.findChild<QAction*>("autoimportpath")->trigger(); }},
        {"notice-topo", [&] { w.findChild<QAbstractButton*>("Option6ImportNatGeoTOPO")->click(); }},
        {"notice-streetatlas", [&] { w.findChild<QAbstractButton*>("Option1ImportSA")->click(); }},
        {"notice-othermaps", [&] { w.findChild<QAbstractButton*>("Option4ImporttoOtherMaps")->click(); }},
        {"notice-manual-import", [&] { w.findChild<QPushButton*>("importtomapnow")->click(); }},
        {"notice-ozi-live", [&] { w.findChild<QAbstractButton*>("Option7LivePostOzi")->click(); }},
        {"question-exit", [&] { w.findChild<QPushButton*>("exitbutton")->click(); }},
    };
    for (const auto& d : dialogs) {
        nextDialog = d.name;
        d.open();
        settle();
    }
    w.attachTiles(nullptr);
    ui.attach(nullptr);
    return 0;
}
