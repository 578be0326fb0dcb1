// The operator's panel: status band on top, the incoming line under it, the
// report and switches, the slot table with its monitor legend, and the map
// program column on the right. Every control carries its program name as its
// object name, so tests and the help page can refer to it.
#include "shell/window/MainWindow.h"

#include "core/Station.h"
#include "core/Text.h"
#include "platform/Ui.h"
#include "shell/window/Handlers.h"
#include "shell/window/HelpWindow.h"
#include "shell/window/Look.h"
#include "shell/window/MapDock.h"
#include "shell/window/MapPane.h"
#include "shell/window/SecondaryWindow.h"
#include "shell/window/SlotGrid.h"
#include "shell/window/WrapButton.h"
#include "shell/window/WrapRadio.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <initializer_list>

namespace qv {

using look::qs;
using look::ss;

namespace {

constexpr Colour kGreen = 8454016;
constexpr Colour kGray = 12632256;
constexpr Colour kRed = 255;

// The status field and the activity label beside it at rest; the update
// countdown widens the status field where the window has room.
constexpr int kStatusWidth = 260;
constexpr int kMicWidth = 170;

const char* const kOverdueTip = "Will alert you when a Unit has not been heard from in the time specified here.";

const char* const kWizardPages[4] = {
    "Page 1: Welcome to the Quorvel New user SETUP WIZARD.\r Follow the instructions in this box to setup your copy "
    "of Quorvel\r the first time.\rAt any time you can press NEXT (to skip or continue), BACK (to return to "
    "previous\r instructions), or CLOSE (to exit the Wizard).",
    "Page 2: First you need to decide and SELECT which map\r program you want to use.\rSelect from the available "
    "list by CLICKING on one of the map program\r options to the right.",
    "Page 3: Now you can choose what type of data you want to display to\r the map by SELECTING (to the right) one "
    "of the available data display\r options for your map program.\rNOTE: Hold your *Mouse over* an item at any "
    "time for a popup explaination.",
    "Page 4:  Sorry... This new user help is not yet complete. Press CLOSE button.",
};

struct NamedCaption {
    const char* name;
    const char* caption;
};

struct MapOptionCaption {
    const char* name;
    const char* caption;
    MapOption option;
};

const MapOptionCaption kMapOptions[] = {
    {"Option1ImportSA", "Post to Street Atlas 5.0", MapOption::Option1ImportSA},
    {"Option2ImportMapTech", "MapTech Std. to Ver 5.xx", MapOption::Option2ImportMapTech},
    {"Option3ImportMapTechPRO", "MapTech Ver 6+ or PRO", MapOption::Option3ImportMapTechPRO},
    {"Option5ImportDelormeTOPO", "Post DelormeTOPO USA", MapOption::Option5ImportDelormeTOPO},
    {"Option6ImportNatGeoTOPO", "Post to Nat. Geo. TOPO!", MapOption::Option6ImportNatGeoTOPO},
    {"Option4ImporttoOtherMaps", "Post to OTHER Maps or Manual post above types", MapOption::Option4ImporttoOtherMaps},
    {"Option7LivePostOzi", "OziExplorer \"Live\" Post", MapOption::Option7LivePostOzi},
};

// The four manual import buttons and the map types that show each.
struct ManualImport {
    const char* name;
    const char* caption;
    const char* tip;
    void (Handlers::*click)();
    std::initializer_list<const char*> mapTypes;
};

const ManualImport kManualImports[] = {
    {"importSA", "Manual Street Atlas Import", nullptr, &Handlers::importSA_Click, {kMapStreetAtlas}},
    {"autoimport",
     "IMPORT to MapTech and Archive",
     "Will take control of MapTech and automatically send the Import commands. NOTE: Maptech must be running and the "
     "map displayed.",
     &Handlers::autoimport_Click,
     {kMapMapTechStd, kMapMapTechPro}},
    {"ImportDelormeTopo",
     "Manual Import Delorme TopoUSA",
     nullptr,
     &Handlers::ImportDelormeTopo_Click,
     {kMapDelormeTopo}},
    {"ImportNatGeoTOPO", "Manual Import Nat.Geo. TOPO!", nullptr, &Handlers::ImportNatGeoTOPO_Click, {kMapNatGeoTopo}},
};

const NamedCaption kDisplayOptions[] = {
    {"OptionMapPostbyTRACK", "Leave Tracks of route"},
    {"OptionMapPostbyTRACKwLines", "Tracks w/connecting lines"},
    {"OptionMapPostOnlyCurrent", "Show only current positions"},
    {"OptionMapPostOnlyCurrentWithCallsigns", "Show current with Callsigns"},
    {"OptionMapPostOTHER", "Specify Other data files."},
};

QString latin(const char* s) { return QString::fromLatin1(s); }

QLabel* caption(const char* text, QWidget* parent, bool bold = false) {
    auto* l = new QLabel(latin(text), parent);
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

QLineEdit* field(const char* name, QWidget* parent, bool readOnly = true) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(latin(name));
    e->setReadOnly(readOnly);
    if (readOnly) e->setFocusPolicy(Qt::ClickFocus);
    return e;
}

QLabel* legend(const char* name, const char* text, Colour back, const char* tip, QWidget* parent) {
    auto* l = new QLabel(latin(text), parent);
    l->setObjectName(latin(name));
    l->setToolTip(latin(tip));
    l->setMargin(3);
    look::paint(l, back, 0);
    return l;
}

} // namespace

MainWindow::MainWindow(Station& st, Handlers& handlers, Ui& ui, QWidget* parent)
    : QMainWindow(parent), st_(st), h_(handlers), ui_(ui) {
    setObjectName("MDIForm1");
    setWindowTitle("Quorvel");
    QFont f = font();
    if (f.pointSizeF() < 10.5) f.setPointSizeF(10.5);
    setFont(f);
    build();
    redraw();
}

MainWindow::~MainWindow() = default;

void MainWindow::build() {
    auto* central = new QWidget(this);
    central->setObjectName("Form1");
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(8, 6, 8, 8);
    outer->setSpacing(6);

    // The status band and the incoming line stay in view; the rest scrolls.
    outer->addWidget(buildTopBand());
    incomingBox_ = buildIncoming();
    outer->addWidget(incomingBox_);

    body_ = new QWidget(this);
    body_->setObjectName("panelBody");
    columns_ = new QBoxLayout(QBoxLayout::LeftToRight, body_);
    columns_->setContentsMargins(0, 0, 0, 0);
    columns_->setSpacing(8);
    left_ = new QWidget(body_);
    left_->setObjectName("leftColumn");
    auto* left = new QVBoxLayout(left_);
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(6);
    auto* reportRow = new QHBoxLayout;
    reportRow->addWidget(buildReport(), 1);
    reportRow->addWidget(buildSwitches());
    left->addLayout(reportRow);
    slots_ = new SlotGrid(left_);
    left->addWidget(slots_);
    left->addWidget(buildMonitor());
    left->addWidget(buildRecords());
    left->addStretch(1);
    columns_->addWidget(left_, 1);

    right_ = new QWidget(body_);
    right_->setObjectName("rightColumn");
    rightLayout_ = new QBoxLayout(QBoxLayout::TopToBottom, right_);
    rightLayout_->setContentsMargins(0, 0, 0, 0);
    rightLayout_->setSpacing(6);
    rightLayout_->addWidget(buildMapOptions(), 0, Qt::AlignTop);
    rightLayout_->addWidget(buildFiles(), 0, Qt::AlignTop);
    rightLayout_->addStretch(1);
    columns_->addWidget(right_, 0); // as wide as its captions like, the station columns take the rest

    // On a small screen the body scrolls instead of clipping its lower groups,
    // and the map column moves under the station columns rather than pushing
    // the window wider than the screen.
    scroll_ = new QScrollArea(central);
    scroll_->setObjectName("panelScroll");
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
    // The body's height follows its width (wrapped captions): without this the
    // scroll area would also reserve the height of the narrowest layout.
    body_->setMinimumHeight(1);
    scroll_->setWidget(body_);
    scroll_->viewport()->installEventFilter(this);
    outer->addWidget(scroll_, 1);
    panel_ = central;
    setCentralWidget(central);
    mapDock_ = new MapDock(this);
    mapDock_->onMoved = [this](bool visible, const std::string& place) {
        act([this, visible, place] {
            st_.tracks.pane.visible = visible;
            st_.tracks.pane.place = place;
            h_.mapPane_Change();
        });
    };
    connectSlotGrid();
    buildMenus();
    buildWizard();
    buildChooser();

    // The controls drawing must silence: every named field, button, list and menu item.
    for (QObject* o : findChildren<QObject*>())
        if (!o->objectName().isEmpty() && (qobject_cast<QLineEdit*>(o) || qobject_cast<QAbstractButton*>(o) ||
                                           qobject_cast<QAction*>(o) || qobject_cast<QListWidget*>(o)))
            quiet_.push_back(o);

    form2_ = new SecondaryWindow(this);
    help_ = new HelpWindow(this);
    form4_ = new QDialog(this);
    form4_->setObjectName("Form4Config");
    form4_->setWindowTitle("Form4Config");
    form4_->resize(400, 260);

    // Timers and sockets change the state outside any user action; a steady
    // redraw shows their work without each of them knowing about the window.
    auto* tick = new QTimer(this);
    tick->setObjectName("redrawTimer");
    connect(tick, &QTimer::timeout, this, [this] {
        if (depth_ == 0) redraw();
    });
    tick->start(250);

    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, [this] { help_->showHelp(); });
}

QWidget* MainWindow::buildTopBand() {
    auto* band = new QFrame(this);
    band->setObjectName("topBand");
    band->setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(band);
    row->setContentsMargins(6, 4, 6, 4);
    row->setSpacing(8);

    PGMmessage_ = field("PGMmessage", band);
    PGMmessage_->setMinimumWidth(kStatusWidth);
    QFont big = PGMmessage_->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.1);
    PGMmessage_->setFont(big);
    statusFont_ = big;
    row->addWidget(PGMmessage_, 3);

    miclabel_ = new QLabel(band);
    miclabel_->setObjectName("miclabel");
    miclabel_->setAlignment(Qt::AlignCenter);
    miclabel_->setTextFormat(Qt::PlainText);
    miclabel_->setMinimumWidth(kMicWidth);
    miclabel_->setMargin(4);
    miclabel_->setFont(big);
    row->addWidget(miclabel_, 1);

    auto* port = new QHBoxLayout;
    port->setSpacing(4);
    INcomport_ = new QLabel(band);
    INcomport_->setObjectName("INcomport");
    INcomport_->setTextFormat(Qt::PlainText);
    port->addWidget(INcomport_);
    openportcmd_ = button(
        "openportcmd", "Open Port", [this] { h_.openportcmd_Click(); }, band);
    closeportcmd_ = button(
        "closeportcmd", "Close Port", [this] { h_.closeportcmd_Click(); }, band);
    port->addWidget(openportcmd_);
    port->addWidget(closeportcmd_);
    auto* ctrlC = new QPushButton("ctrl C", band);
    ctrlC->setObjectName("ctrlC");
    ctrlC->setToolTip("Clicking this button will send a CTRL-C to the TNC");
    port->addWidget(ctrlC);
    row->addLayout(port);

    auto* hidden = new QPushButton(band);
    hidden->setObjectName("HiddenButton");
    hidden->setFixedSize(14, 14);
    hidden->setFlat(true);
    connect(hidden, &QPushButton::clicked, this, [this] { act([this] { HiddenButton_Click(); }); });
    row->addWidget(hidden);

    auto* exitb = button(
        "exitbutton", "EXIT", [this] { h_.exitbutton_Click(); }, band);
    row->addWidget(exitb);
    return band;
}

QWidget* MainWindow::buildIncoming() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);

    grid->addWidget(caption("Incoming data:", box, true), 0, 0);
    incomingdata_ = field("incomingdata", box, false);
    incomingdata_->setToolTip("Double click to process this line again (type or paste a line here to test it).");
    QFont mono("Monospace");
    mono.setStyleHint(QFont::TypeWriter);
    mono.setPointSizeF(font().pointSizeF() * 1.05);
    incomingdata_->setFont(mono);
    connect(incomingdata_, &QLineEdit::textEdited, this,
            [this](const QString& t) { act([this, s = ss(t)] { st_.report.incomingdata = s; }); });
    onDoubleClick(incomingdata_, [this] { h_.incomingdata_DblClick(); });
    grid->addWidget(incomingdata_, 0, 1);

    TelnetActiveLabel_ = new QLabel(box);
    TelnetActiveLabel_->setObjectName("TelnetActiveLabel");
    TelnetActiveLabel_->setMargin(3);
    TelnetActiveLabel_->setTextFormat(Qt::PlainText);
    onDoubleClick(TelnetActiveLabel_, [this] { h_.TelnetActiveLabel_DblClick(); });
    grid->addWidget(TelnetActiveLabel_, 0, 2);

    sendtext_ = field("sendtext", box, false);
    sendtext_->setToolTip("Type text here to send commands to TNC");
    connect(sendtext_, &QLineEdit::textEdited, this,
            [this](const QString& t) { act([this, s = ss(t)] { st_.link.sendtext = s; }); });
    connect(sendtext_, &QLineEdit::returnPressed, this, [this] { act([this] { h_.Sendkey_Click(); }); });
    sendtext_->installEventFilter(this);
    Sendkey_ = button(
        "Sendkey", "Send", [this] { h_.Sendkey_Click(); }, box);
    // The debug log notice shares the send row, so the status band keeps its width.
    debuglog_ = new QLabel("DEBUG LOG IS \"ON\" see quorvel.log file", box);
    debuglog_->setObjectName("debuglog");
    debuglog_->setMargin(2);
    look::paint(debuglog_, fromRgb(0xFFFF00), fromRgb(0xC00000));
    auto* sendRow = new QHBoxLayout;
    sendRow->addWidget(sendtext_, 1);
    sendRow->addWidget(Sendkey_);
    sendRow->addWidget(debuglog_);
    grid->addLayout(sendRow, 1, 1);
    grid->setColumnStretch(1, 1);
    return box;
}

QWidget* MainWindow::buildReport() {
    auto* box = new QGroupBox("Station report", this);
    box->setObjectName("reportGroup");
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(6);

    callsign_ = field("callsign", box);
    callsign_->setToolTip("Callsign/ID string reported by the remote TNC. Also... double click to clear all "
                          "Callsign boxes below.");
    QFont big = callsign_->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.25);
    callsign_->setFont(big);
    onDoubleClick(callsign_, [this] { h_.Callsign_DblClick(); });
    trackname_ = field("trackname", box);
    trackname_->setFont(big);
    latitude_ = field("latitude", box);
    northsouth_ = field("northsouth", box);
    longitude_ = field("longitude", box);
    eastwest_ = field("eastwest", box);
    northsouth_->setMaximumWidth(40);
    eastwest_->setMaximumWidth(40);
    // Wide enough for the longest general form a longitude takes
    // ("-122.335833333333"), so a position is read whole, never by its tail.
    const int whole = QFontMetrics(big).horizontalAdvance(QStringLiteral("-000.000000000000")) + 14;
    for (QLineEdit* e : {latitude_, longitude_}) {
        e->setFont(big);
        e->setMinimumWidth(whole);
    }
    rawgpsdata_ = field("rawgpsdata", box);

    // Captions stand above their fields, so the group is as wide as two
    // positions and their hemisphere letters, no wider.
    grid->addWidget(caption("callsign (Station ID)", box), 0, 0, 1, 2);
    grid->addWidget(caption("Tracked as", box), 0, 2, 1, 2);
    grid->addWidget(callsign_, 1, 0, 1, 2);
    grid->addWidget(trackname_, 1, 2, 1, 2);
    grid->addWidget(caption("Latitude", box), 2, 0, 1, 2);
    grid->addWidget(caption("Longitude", box), 2, 2, 1, 2);
    grid->addWidget(latitude_, 3, 0);
    grid->addWidget(northsouth_, 3, 1);
    grid->addWidget(longitude_, 3, 2);
    grid->addWidget(eastwest_, 3, 3);
    grid->addWidget(caption("Raw Incoming GPS Strings", box), 4, 0, 1, 4);
    grid->addWidget(rawgpsdata_, 5, 0, 1, 4);
    grid->setVerticalSpacing(2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    return box;
}

QWidget* MainWindow::buildSwitches() {
    auto* box = new QGroupBox("Detect", this);
    box->setObjectName("detectGroup");
    auto* col = new QGridLayout(box);
    col->setVerticalSpacing(1);
    int cell = 0;
    const NamedCaption sw[] = {
        {"detectmice", "Detect Mic-Encoded"},
        {"detectmoving", "Detect aprs @ "},
        {"detectfixed", "Detect aprs  =  and  ! "},
        {"detectnmea", "Detect GPGGA/RMC/WPL"},
        {"detect3rdparty", "Detect 3rd party } traffic"},
        {"detectGPWGTmic", "Detect gps Mic $GPWGT"},
        {"detectcompressed", "Detect compressed"},
        {"detectobjects", "Detect objects/items"},
        {"soundon", "Sound ON"},
    };
    // One column: beside the station report it costs height, not width.
    for (const auto& s : sw) {
        auto* c = new QCheckBox(latin(s.caption), box);
        c->setObjectName(latin(s.name));
        switches_[s.name] = c;
        col->addWidget(c, cell++, 0);
    }
    switches_["soundon"]->setToolTip("When checked PC will sound anytime valid com data seen.");
    auto bind = [this](const char* name, bool Switches::*member) {
        connect(switches_[name], &QCheckBox::clicked, this,
                [this, member](bool on) { act([this, member, on] { st_.sw.*member = on; }); });
    };
    bind("detectmice", &Switches::detectmice);
    bind("detectmoving", &Switches::detectmoving);
    bind("detectfixed", &Switches::detectfixed);
    bind("detectnmea", &Switches::detectnmea);
    bind("detect3rdparty", &Switches::detect3rdparty);
    bind("detectGPWGTmic", &Switches::detectGPWGTmic);
    // These two are kept in quorvel.cfg; the others are not.
    auto saved = [this](const char* name, bool Switches::*member, void (Handlers::*click)()) {
        connect(switches_[name], &QCheckBox::clicked, this, [this, member, click](bool on) {
            act([this, member, click, on] {
                st_.sw.*member = on;
                (h_.*click)();
            });
        });
    };
    saved("detectcompressed", &Switches::detectcompressed, &Handlers::detectcompressed_Click);
    saved("detectobjects", &Switches::detectobjects, &Handlers::detectobjects_Click);
    connect(switches_["soundon"], &QCheckBox::clicked, this, [this](bool on) {
        act([this, on] {
            st_.sw.soundon = on;
            h_.soundon_Click();
        });
    });
    return box;
}

QWidget* MainWindow::buildMonitor() {
    auto* box = new QGroupBox("Overdue and movement", this);
    box->setObjectName("monitorGroup");
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(8);

    // "Overdue Warning after" + the box + "minutes", the box standing in the label's gap.
    auto* overdueRow = new QHBoxLayout;
    overdueRow->setSpacing(6);
    auto* overdueLabel = new QLabel("Overdue Warning after", box);
    overdueLabel->setObjectName("overdue_label");
    overdueLabel->setToolTip(latin(kOverdueTip));
    overdue_ = field("overdue", box, false);
    overdue_->setToolTip(latin(kOverdueTip));
    overdue_->setMaximumWidth(60);
    overdue_->setAlignment(Qt::AlignCenter);
    connect(overdue_, &QLineEdit::textEdited, this, [this](const QString& t) {
        act([this, s = ss(t)] {
            st_.tracking.overdue = s;
            h_.overdue_Change();
        });
    });
    auto* minutes = new QLabel("minutes", box);
    minutes->setToolTip(latin(kOverdueTip));
    overdueRow->addWidget(overdueLabel);
    overdueRow->addWidget(overdue_);
    overdueRow->addWidget(minutes);
    overdueRow->addStretch(1);
    grid->addLayout(overdueRow, 0, 0, 1, 2);

    grid->addWidget(legend("LabelGREENifMoving", "Green if MOVING or NEW", kGreen,
                           "Will alert you when a Unit is NEW or has MOVED more than 300'-500' from last position.",
                           box),
                    1, 0);
    grid->addWidget(legend("LabelGrayMoving", "Gray if only Minor Movement", kGray,
                           "Will alert you when a Unit is reporting but moving only a small amount of less than "
                           "300'-500' from last position.",
                           box),
                    1, 1);
    grid->addWidget(legend("LabelRedifNotMoved", "Red if Heard but NOT MOVING", kRed,
                           "Will alert you when a Unit has been heard but NOT MOVING.", box),
                    2, 0);
    auto* yellow = legend("LabelYellowOverdue", "Yellow if Overdue", 65535,
                          "Reports Date/Time Unit was last heard. Turns YELLOW if Overdue Warning activated.", box);
    grid->addWidget(yellow, 2, 1);

    autoassign_ = new QCheckBox("Auto-assign incoming stations", box);
    autoassign_->setObjectName("autoassigncheckbox");
    autoassign_->setToolTip("When CHECKED the program will automatically assign incoming stations to any "
                            "\"unused\" color assignment boxes.");
    connect(autoassign_, &QCheckBox::clicked, this, [this](bool on) {
        act([this, on] {
            st_.tracking.autoassigncheckbox = on;
            h_.autoassigncheckbox_Click();
        });
    });
    mapTactical_ = new QCheckBox("Post TACTICAL names to map", box);
    mapTactical_->setObjectName("CheckMapTacticalNames");
    connect(mapTactical_, &QCheckBox::clicked, this, [this](bool on) {
        act([this, on] {
            st_.tracking.CheckMapTacticalNames.checked = on;
            h_.CheckMapTacticalNames_Click();
        });
    });
    trackOnlyMoving_ = new QCheckBox("Track/Map only if Green (Moving)", box);
    trackOnlyMoving_->setObjectName("CheckTrackOnlyMoving");
    trackOnlyMoving_->setToolTip("When CHECKED, only those selected stations that are MOVING (Green last heard) will "
                                 "be saved for posting to the map program.");
    look::paint(trackOnlyMoving_, kGreen, 0);
    connect(trackOnlyMoving_, &QCheckBox::clicked, this, [this](bool on) {
        act([this, on] {
            st_.sw.CheckTrackOnlyMoving = on;
            h_.CheckTrackOnlyMoving_Click();
        });
    });
    trackMovingOn_ = legend("LabelTrackMovingON", "Tracking Moving/New", kGreen,
                            "When background is GREEN the \"track only moving or new stations\" option is ON. See "
                            "check box below.",
                            box);
    CaptureAllLabel_ = new QLabel("Tracking ALL incoming stations", box);
    CaptureAllLabel_->setObjectName("CaptureAllLabel");
    look::paint(CaptureAllLabel_, fromRgb(0xFFFF00), 0);

    // The switches stand in one column beside the legend, so the group is no
    // wider than the slot table above it.
    auto* switchCol = new QVBoxLayout;
    switchCol->setSpacing(3);
    for (QWidget* w :
         std::initializer_list<QWidget*>{trackMovingOn_, trackOnlyMoving_, autoassign_, mapTactical_, CaptureAllLabel_})
        switchCol->addWidget(w, 0, Qt::AlignLeft);
    grid->addLayout(switchCol, 0, 2, 4, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(3, 1);
    return box;
}

QWidget* MainWindow::buildMapOptions() {
    auto* box = new QGroupBox("Map program", this);
    box->setObjectName("mapGroup");
    mapGroup_ = box;
    auto* col = new QVBoxLayout(box);
    col->setSpacing(2);

    // The cover button sits in its own slot at the top of the group; covering
    // lays it over every option of the group so none is changed by accident.
    cover_ = button(
        "CoverConfigCmdBox", "", [this] { h_.CoverConfigCmdBox_Click(); }, box);
    cover_->setToolTip("Cover or un-cover the map program options.");
    // A push button cannot wrap its caption; a label inside it can.
    coverText_ = new QLabel(cover_);
    coverText_->setObjectName("CoverConfigCmdBoxCaption");
    coverText_->setTextFormat(Qt::PlainText);
    coverText_->setWordWrap(true);
    coverText_->setAlignment(Qt::AlignCenter);
    coverText_->setAttribute(Qt::WA_TransparentForMouseEvents);
    coverText_->setFont(font());
    cover_->setMinimumHeight(coverText_->sizeHint().height() + 8);
    auto* coverSlot = new QWidget(box);
    coverSlot->setObjectName("coverSlot");
    coverSlot->setFixedHeight(std::max(cover_->sizeHint().height(), cover_->minimumHeight()));
    col->addWidget(coverSlot);
    box->installEventFilter(this);
    for (const auto& o : kMapOptions) {
        auto* r = new WrapRadio(latin(o.caption), box);
        r->setObjectName(latin(o.name));
        r->setAutoExclusive(false); // the state decides which one is selected
        const char* name = o.name;
        const MapOption option = o.option;
        connect(r, &QRadioButton::clicked, this, [this, name, option] {
            (void)option;
            act([this, name] { h_.mapOption_Click(name); });
        });
        mapOptions_[o.name] = r;
        col->addWidget(r);
    }

    displayFrame_ = new QGroupBox("Map data display type", box);
    displayFrame_->setObjectName("FrameMapPostOptions");
    auto* dcol = new QVBoxLayout(displayFrame_);
    dcol->setSpacing(2);
    for (const auto& o : kDisplayOptions) {
        auto* r = new QRadioButton(latin(o.caption), displayFrame_);
        r->setObjectName(latin(o.name));
        r->setAutoExclusive(false);
        const char* name = o.name;
        connect(r, &QRadioButton::clicked, this, [this, name] { act([this, name] { h_.displayOption_Click(name); }); });
        displayOptions_[o.name] = r;
        dcol->addWidget(r);
    }
    col->addWidget(displayFrame_);

    timedautoimport_ = new QCheckBox("Turn on timed AUTO-Import. ", box);
    timedautoimport_->setObjectName("timedautoimport");
    timedautoimport_->setToolTip("Will AUTOMATICALLY take control of MapTech every minute and automatically send the "
                                 "Import commands. NOTE: Maptech must be running and the map displayed.");
    connect(timedautoimport_, &QCheckBox::clicked, this, [this](bool on) {
        act([this, on] {
            st_.map.timedautoimport = on;
            h_.timedautoimport_Click();
        });
    });
    col->addWidget(timedautoimport_);

    importtomapnow_ = button(
        "importtomapnow", "POST to map NOW", [this] { h_.importtomapnow_Click(); }, box);
    QFont bold = importtomapnow_->font();
    bold.setBold(true);
    importtomapnow_->setFont(bold);
    importtomapnow_->setMinimumHeight(34);
    col->addWidget(importtomapnow_);
    // The manual import of the chosen map program, beside the general POST.
    for (const auto& m : kManualImports) {
        auto* b = new WrapButton(latin(m.caption), box);
        b->setObjectName(latin(m.name));
        if (m.tip) b->setToolTip(latin(m.tip));
        connect(b, &QPushButton::clicked, this, [this, f = m.click] { act([this, f] { (h_.*f)(); }); });
        manualImports_.push_back(b);
        col->addWidget(b);
    }
    exportarchive_ = button(
        "exportarchive", "ARCHIVE Current Data files", [this] { h_.exportarchive_Click(); }, box);
    col->addWidget(exportarchive_);
    auto* notice = new WrapButton(latin("Quorvel does not detect any new positions to post.  Click here to override "
                                        "and attempt posting anyway."),
                                  box, Qt::AlignLeft);
    notice->setObjectName("exportarchiveNotice");
    connect(notice, &QPushButton::clicked, this, [this] { act([this] { h_.exportarchiveNotice_Click(); }); });
    exportarchiveNotice_ = notice;
    col->addWidget(exportarchiveNotice_);

    auto* paths = new QGridLayout;
    paths->addWidget(button(
                         "changeimport", "MapTech file...", [this] { h_.changeimport_Click(); }, box),
                     0, 0);
    paths->addWidget(button(
                         "changeimportSA", "Street Atlas file...", [this] { h_.changeimportSA_Click(); }, box),
                     0, 1);
    paths->addWidget(button(
                         "changeimportNGTOPO", "TOPO! file...", [this] { h_.changeimportNGTOPO_Click(); }, box),
                     1, 0);
    ODFcheckbox_ = new QCheckBox("SPOTFIRES file", box);
    ODFcheckbox_->setObjectName("ODFcheckbox");
    connect(ODFcheckbox_, &QCheckBox::clicked, this, [this](bool on) {
        act([this, on] {
            st_.map.ODFcheckbox = on;
            h_.ODFcheckbox_Click();
        });
    });
    paths->addWidget(ODFcheckbox_, 1, 1);
    col->addLayout(paths);
    return box;
}

QWidget* MainWindow::buildFiles() {
    auto* box = new QGroupBox("Map files", this);
    box->setObjectName("filesGroup");
    // Wrapping captions let the column narrow when the window is small.
    auto* grid = new QGridLayout(box);
    grid->setSpacing(3);
    struct View {
        const char* name;
        const char* caption;
        const char* which;
    };
    const View views[] = {
        {"viewtxf", "VIEW/EDIT Maptech TRACKS format .TXF", "txf"},
        {"viewrxf", "VIEW/EDIT Maptech ROUTE format .RXF", "rxf"},
        {"viewmxf", "VIEW/EDIT Maptech MARKER format .MXF", "mxf"},
        {"viewwpt", "VIEW/EDIT(OZI) WAYPOINT format .WPT", "wpt"},
        {"Command1", "VIEW/EDIT *SA5.txt", "SA5"},
    };
    int line = 0;
    for (const auto& v : views) {
        const char* which = v.which;
        grid->addWidget(wrapping(
                            v.name, v.caption, [this, which] { h_.view_Click(which); }, box),
                        line++, 0, 1, 4);
    }
    grid->addWidget(wrapping(
                        "viewmxfhistory", "History", [this] { h_.view_Click("mxfhistory"); }, box),
                    line, 0, 1, 2);
    grid->addWidget(wrapping(
                        "viewrxfhistory", "History", [this] { h_.view_Click("rxfhistory"); }, box),
                    line++, 2, 1, 2);
    static const char* const kPlt[8] = {"plt1", "plt2", "plt3", "plt4", "plt5", "plt6", "plt7", "plt8"};
    for (int n = 1; n <= 8; ++n) {
        const std::string name = "viewplt" + std::to_string(n);
        const char* which = kPlt[n - 1];
        auto* b = button(
            name.c_str(), "", [this, which] { h_.view_Click(which); }, box);
        b->setText(QString(QChar('A' + n - 1)) + ".plt");
        b->setMinimumWidth(b->fontMetrics().horizontalAdvance(b->text()) + 16); // four to a narrow row
        b->setToolTip(QString("quorvelID%1.plt").arg(n));
        look::paint(b, SlotGrid::slotColour(n), look::kWhite);
        grid->addWidget(b, line + (n - 1) / 4, (n - 1) % 4);
    }
    line += 2;
    grid->addWidget(wrapping(
                        "ViewSA", "VIEW Street Atlas file", [this] { h_.view_Click("SA"); }, box),
                    line, 0, 1, 2);
    grid->addWidget(wrapping(
                        "deletefileSA5button", "< Delete File?", [this] { h_.deletefileSA5button_Click(); }, box),
                    line++, 2, 1, 2);
    grid->addWidget(wrapping(
                        "ViewNGTOPO", "VIEW TOPO! file", [this] { h_.view_Click("NGTOPO"); }, box),
                    line, 0, 1, 2);
    grid->addWidget(
        wrapping(
            "deletefileNGTOPObutton", "Delete TOPO! File?", [this] { h_.deletefileNGTOPObutton_Click(); }, box),
        line++, 2, 1, 2);
    return box;
}

QWidget* MainWindow::buildRecords() {
    auto* box = new QGroupBox("Records of the last report", this);
    box->setObjectName("recordsGroup");
    auto* grid = new QGridLayout(box);
    grid->setVerticalSpacing(2);
    const NamedCaption recs[] = {
        {"txfstring", "MapTech track"}, {"rxfstring", "MapTech route"},   {"mxfstring", "MapTech marker"},
        {"wptstring", "Ozi waypoint"},  {"pltstring", "Ozi track point"},
    };
    int line = 0;
    for (const auto& r : recs) {
        grid->addWidget(caption(r.caption, box), line, 0);
        grid->setVerticalSpacing(1);
        auto* e = field(r.name, box);
        QFont mono("Monospace");
        mono.setStyleHint(QFont::TypeWriter);
        mono.setPointSizeF(font().pointSizeF() * 0.9);
        e->setFont(mono);
        recordFields_[r.name] = e;
        grid->addWidget(e, line++, 1);
    }
    records_ = box;
    return box;
}

void MainWindow::connectSlotGrid() {
    for (int n = 1; n <= 8; ++n) {
        SlotGrid::Row& r = slots_->row(n);
        connect(r.callId, &QLineEdit::textEdited, this, [this, n](const QString& t) {
            act([this, n, s = ss(t)] {
                st_.slots[n].CallsignID = s;
                h_.CallsignID_Change(n);
            });
        });
        onDoubleClick(r.callId, [this, n] { h_.CallsignID_DblClick(n); });
        connect(r.team, &QLineEdit::textEdited, this, [this, n](const QString& t) {
            act([this, n, s = ss(t)] {
                st_.slots[n].Teamname = s;
                h_.Teamname_Change(n);
            });
        });
        onDoubleClick(r.team, [this, n] { h_.Teamname_dblclick(n); });
        connect(r.track, &QCheckBox::clicked, this, [this, n](bool on) {
            act([this, n, on] {
                st_.slots[n].track = on;
                h_.callsigntrack_Click(n);
            });
        });
        onDoubleClick(r.letter, [this, n] { h_.LabelCallidLetter_DblClick(n); });
    }
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    QFont f = bar->font();
    f.setPointSizeF(font().pointSizeF());
    bar->setFont(f);

    QMenu* file = bar->addMenu("&File");
    file->setObjectName("FileMenu");
    QMenu* maps = file->addMenu("&Map file creation On/Off");
    maps->setObjectName("menumaps");
    menuItem(maps, "menumapsallON", "All O&N (Turn on creation of ALL maps. <May slow down processing>)",
             [this] { h_.menumapsallON_Click(); });
    menuItem(maps, "menuspeedup", "All O&FF (Speeds up Quorvel by limiting map file creation)",
             [this] { h_.menuspeedup_Click(); });
    maps->addSeparator();
    const NamedCaption families[] = {
        {"menucreatestreetatlasfiles", "Create &Street Atlas files"},
        {"menucreatemaptechfiles", "Create &MapTech and OziExplorer files"},
        {"menucreatenatgeotopofiles", "Create Nat.Geo.&TOPO! files"},
        {"menucreateozifiles", "Create &OziExplorer files DISABLED"},
        {"menucreatenatgeotopoNowCallfile", "Create New Nat.Geo.&Callsign NOW file."},
        {"menucreategpxfile", "Create &GPX file"},
        {"menucreatekmlfiles", "Create &KML files"},
        {"menucreategeojsonfile", "Create G&eoJSON file"},
    };
    for (const auto& fam : families) {
        const char* name = fam.name;
        menuItem(
            maps, fam.name, fam.caption, [this, name] { h_.menucreate_Click(name); }, true);
    }

    QMenu* data = file->addMenu("&Data file management");
    data->setObjectName("DataMenu");
    menuItem(data, "deleteTXF", "Delete only &TRACKS datafile (quorvel.txf)", [this] { h_.deleteTXF_Click(); });
    menuItem(data, "deleteRXF", "Delete only &ROUTE datafile (quorvel.rxf)", [this] { h_.deleteRXF_Click(); });
    menuItem(data, "deleteMXF", "Delete only &MARKER datafile (quorvel.mxf", [this] { h_.deleteMXF_Click(); });
    menuItem(data, "deleteMXFHISTORY", "Delete the mxf &HISTORY <marker> file",
             [this] { h_.deleteMXFHISTORY_Click(); });
    menuItem(data, "deleteRXFHISTORY", "Delete the rxf &HISTORY <route> file", [this] { h_.deleteRXFHISTORY_Click(); });
    menuItem(data, "deleteAllNGTOPO", "Delete ALL National Geographic &TOPO! data files (quorvelNGTOPO*)",
             [this] { h_.deleteAllNGTOPO_Click(); });
    menuItem(data, "deleteWPT", "Delete only OZI &WAYPOINT datafile (quorvel.wpt)", [this] { h_.deleteWPT_Click(); });
    menuItem(data, "deletePLTs", "Delete all OZI &PLT TRACK datafiles (quorvel*.plt)",
             [this] { h_.deletePLTs_Click(); });
    menuItem(data, "deleteGPX", "Delete the &GPX file (quorvel.gpx)", [this] { h_.deleteGPX_Click(); });
    menuItem(data, "deleteKML", "Delete the &KML files (quorvel.kml, quorvellive.kml)",
             [this] { h_.deleteKML_Click(); });
    menuItem(data, "deleteGEOJSON", "Delete the GeoJSON file (quorvel.geo&json)", [this] { h_.deleteGEOJSON_Click(); });
    menuItem(data, "viewgpx", "&View the GPX file", [this] { h_.view_Click("gpx"); });
    menuItem(data, "viewkml", "View the KML file", [this] { h_.view_Click("kml"); });
    menuItem(data, "viewgeojson", "View the GeoJSON file", [this] { h_.view_Click("geojson"); });
    data->addSeparator();
    menuItem(data, "deletealldatafiles", "Delete &ALL DATAFILES Except Archived files.",
             [this] { h_.deletealldatafiles_Click(); });
    menuItem(data, "killeverything", "&Fresh Start. WARNING! Deletes all data and archive files.",
             [this] { h_.killeverything_Click(); });
    file->addSeparator();
    menuItem(file, "exit", "&Exit", [this] { h_.exit_Click(); });

    QMenu* stations = bar->addMenu("&Stations");
    stations->setObjectName("stationsmenu");
    QMenu* capture = stations->addMenu("Capture &ALL Incoming stations");
    capture->setObjectName("captureall");
    menuItem(
        capture, "captureallON", "O&N", [this] { h_.captureallON_Click(); }, true);
    menuItem(
        capture, "captureallOFF", "O&FF", [this] { h_.captureallOFF_Click(); }, true);
    menuItem(stations, "clearstationsmenu", "&Clear all CallID boxes", [this] { h_.clearstationsmenu_Click(); });
    menuItem(stations, "cleartacticalsmenu", "Clear all &Tactical Names", [this] { h_.cleartacticalsmenu_Click(); });
    menuItem(stations, "findstaSA5", "&Find Station in Street Atlas", [this] { h_.findstaSA5_Click(); });
    menuItem(
        stations, "preventdupes", "Prevent &Duplicate postions (No more than 1 per minute)",
        [this] { h_.preventdupes_Click(); }, true);

    QMenu* ports = bar->addMenu("&Ports");
    ports->setObjectName("Port");
    menuItem(ports, "DisplaySend", "&Display the \"Send to Com Port\" box.", [this] { h_.DisplaySend_Click(); });
    menuItem(ports, "hidesend", "&Hide the \"Send to Com Port\" box", [this] { h_.hidesend_Click(); });
    menuItem(ports, "comportmenu", "Change Com &Port settings", [this] { h_.comportmenu_Click(); });
    menuItem(ports, "mycallmenu", "Set &My callsign (packets sent through a KISS or AGWPE TNC)",
             [this] { h_.mycallmenu_Click(); });
    ports->addSeparator();
    menuItem(ports, "TelnetActivate", "Connect to &TELNET Server", [this] { h_.TelnetActivate_Click(); });
    menuItem(ports, "stoptelnetconnection", "&Stop current telnet connection",
             [this] { h_.stoptelnetconnection_Click(); });

    QMenu* config = bar->addMenu("&Configuration");
    config->setObjectName("configuration");
    menuItem(config, "setconfiguraiton", "&Set General Configuration Options (NOT YET WORKING)",
             [this] { setconfiguraiton_Click(); });
    menuItem(config, "autoimportbrowse", "&Browse for a file to Auto-Import", [this] { h_.autoimportbrowse_Click(); });
    menuItem(config, "autoimportpath", "Manually Set MapTech Auto-Import File &Path",
             [this] { h_.autoimportpath_Click(); });
    menuItem(config, "CreateBogusNGTOPOnowFile", "Create a &Bogus Nat.Geo. TOPO file for TOPO Import Wizard",
             [this] { h_.CreateBogusNGTOPOnowFile_Click(); });
    menuItem(config, "telnetsetup", "Setup &TELNET connection information", [this] { h_.telnetsetup_Click(); });
    config->addSeparator();
    menuItem(config, "configreset", "&Reset All settings to Program Defaults (Delete config file)",
             [this] { h_.configreset_Click(); });

    QMenu* window = bar->addMenu("&Window");
    window->setObjectName("quorvelwindowview");
    menuItem(window, "compressedviewmenu", "&Compressed View", [this] { compressedviewmenu_Click(); });
    menuItem(window, "maxviewmenu", "&Maximized View", [this] { maxviewmenu_Click(); });
    menuItem(window, "normalviewmenu", "&Normal View", [this] { normalviewmenu_Click(); });
    window->addSeparator();
    auto pane = [this](std::function<bool(MapPaneSettings&)> change) {
        return [this, change] {
            if (change(st_.tracks.pane)) h_.mapPane_Change();
        };
    };
    menuItem(window, "mappanemenu", "Situation &Map", pane([](MapPaneSettings& p) {
                 p.visible = !p.visible;
                 return true;
             }),
             true);
    menuItem(window, "maptilesmenu", "Map &Tiles (off: latitude/longitude grid)", pane([](MapPaneSettings& p) {
                 p.tiles = !p.tiles;
                 return true;
             }),
             true);
    menuItem(window, "maptileurlmenu", "Map Tile &Address...",
             pane([this](MapPaneSettings& p) { return MapDock::askTileUrl(ui_, p); }));

    QMenu* help = bar->addMenu("&Help");
    help->setObjectName("helpmenu");
    QAction* pgm = menuItem(help, "pgmhelp", "Quorvel &Help", [this] { pgmhelp_Click(); });
    pgm->setShortcut(QKeySequence(Qt::Key_F1));
    pgm->setShortcutContext(Qt::WidgetShortcut); // F1 itself is the window's own shortcut
    menuItem(help, "NewSetupWizard", "&Setup Wizard (New Users) IN DEVELOPMENT", [this] { NewSetupWizard_Click(); });
    help->addSeparator();
    menuItem(help, "toggledebuglog", "&Toggle Debug Log ON/OFF (quorvel.log)", [this] { h_.toggledebuglog_Click(); });
    help->addSeparator();
    menuItem(help, "checkforupdates", "Check for Quorvel &Updates", [this] { h_.checkforupdates_Click(); });
    menuItem(help, "forceupdates", "Force an Update NOW (even if I have new version)", [] {});

    QAction* post = menuItem(nullptr, "importmenu", "&POST to Map", [this] { h_.importmenu_Click(); });
    bar->addAction(post);
}

void MainWindow::buildWizard() {
    wizard_ = new QFrame(body_);
    wizard_->setObjectName("FrameNewSetup");
    wizard_->setFrameShape(QFrame::Box);
    wizard_->setLineWidth(2);
    wizard_->setAutoFillBackground(true);
    // The frame's own colour only: its buttons keep their usual look.
    wizard_->setStyleSheet("QFrame#FrameNewSetup { background-color: #FFFFE0; border: 2px solid #808080; }");
    auto* col = new QVBoxLayout(wizard_);
    wizardText_ = new QLabel(wizard_);
    wizardText_->setObjectName("LabelNewSetupText");
    wizardText_->setText("Press NEXT to begin the new user setup."); // before page 1, not an empty box
    wizardText_->setTextFormat(Qt::PlainText);
    wizardText_->setWordWrap(true);
    wizardText_->setMinimumHeight(130);
    wizardText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    col->addWidget(wizardText_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button(
        "CommandNewSetupBACK", "BACK", [this] { CommandNewSetupBACK_Click(); }, wizard_));
    buttons->addWidget(button(
        "CommandNewSetupNEXT", "NEXT", [this] { CommandNewSetupNEXT_Click(); }, wizard_));
    buttons->addStretch(1);
    buttons->addWidget(button(
        "CommandNewSetupCLOSE", "CLOSE", [this] { CommandNewSetupCLOSE_Click(); }, wizard_));
    col->addLayout(buttons);
    wizard_->adjustSize();
    wizard_->hide();
}

QAction* MainWindow::menuItem(QMenu* menu, const char* name, const char* cap, std::function<void()> f, bool checkable) {
    auto* a = new QAction(latin(cap), this);
    a->setObjectName(latin(name));
    a->setCheckable(checkable);
    // `triggered` comes from the user only; drawing sets check marks silently.
    connect(a, &QAction::triggered, this, [this, f = std::move(f)] { act(f); });
    if (menu) menu->addAction(a);
    actions_[name] = a;
    return a;
}

QPushButton* MainWindow::button(const char* name, const char* cap, std::function<void()> f, QWidget* parent) {
    auto* b = new QPushButton(latin(cap), parent);
    b->setObjectName(latin(name));
    connect(b, &QPushButton::clicked, this, [this, f = std::move(f)] { act(f); });
    return b;
}

QPushButton* MainWindow::wrapping(const char* name, const char* cap, std::function<void()> f, QWidget* parent) {
    auto* b = new WrapButton(latin(cap), parent);
    b->setObjectName(latin(name));
    connect(b, &QPushButton::clicked, this, [this, f = std::move(f)] { act(f); });
    return b;
}

void MainWindow::onDoubleClick(QWidget* w, std::function<void()> f) {
    dblClick_[w] = std::move(f);
    w->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mapGroup_ && (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest))
        placeCover();
    if (scroll_ && watched == scroll_->viewport() && event->type() == QEvent::Resize) arrangeColumns();
    if (watched == sendtext_ && event->type() == QEvent::FocusIn) act([this] { h_.sendtext_GotFocus(); });
    if (event->type() == QEvent::MouseButtonDblClick) {
        auto it = dblClick_.find(watched);
        if (it != dblClick_.end()) {
            act(it->second);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::act(std::function<void()> f) {
    if (drawing_) return;
    if (depth_ > 0) {
        deferred_.push_back(std::move(f));
        if (!drainQueued_) {
            drainQueued_ = true;
            QTimer::singleShot(0, this, &MainWindow::drainDeferred);
        }
        return;
    }
    ++depth_;
    f();
    --depth_;
    redraw();
    if (!deferred_.empty()) drainDeferred();
}

void MainWindow::drainDeferred() {
    drainQueued_ = false;
    if (deferred_.empty()) return;
    if (depth_ > 0) {
        drainQueued_ = true;
        QTimer::singleShot(20, this, &MainWindow::drainDeferred);
        return;
    }
    auto f = std::move(deferred_.front());
    deferred_.pop_front();
    act(std::move(f)); // act drains the rest
}

void MainWindow::refresh() {
    redraw();
    ++depth_;
    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
    --depth_;
}

void MainWindow::redraw() {
    if (drawing_) return;
    drawing_ = true;
    // Only the controls whose signals reach handlers are silenced: a line
    // edit's inner parts must keep signalling, or it stops repainting.
    std::vector<QObject*> unblock;
    unblock.reserve(quiet_.size());
    for (QObject* o : quiet_)
        if (!o->signalsBlocked()) {
            o->blockSignals(true);
            unblock.push_back(o);
        }

    const ReportState& r = st_.report;
    const Marks& m = st_.marks;

    look::setText(PGMmessage_, m.PGMmessage);
    PGMmessage_->setCursorPosition(0);
    look::paint(PGMmessage_, st_.display.PGMmessageBack, 0);
    {
        // The status field grows while the update check counts down, so the
        // seconds can be read from across the room.
        const DisplayState& d = st_.display;
        QFont f = statusFont_;
        if (d.PGMmessageFontSize > 8) f.setPointSizeF(std::max<qreal>(d.PGMmessageFontSize, f.pointSizeF()));
        if (PGMmessage_->font() != f) PGMmessage_->setFont(f);
        // Grown for the countdown only as far as the band has room: the
        // port buttons and EXIT stay on the screen.
        const int others =
            panel_->findChild<QWidget*>("topBand")->minimumSizeHint().width() - PGMmessage_->minimumWidth();
        const int room = std::max(kStatusWidth, width() - 24 - others);
        const int width = std::clamp(look::px(d.PGMmessageWidth), kStatusWidth, room);
        const int height = std::max(PGMmessage_->sizeHint().height(), look::px(d.PGMmessageHeight));
        if (PGMmessage_->minimumWidth() != width) PGMmessage_->setMinimumWidth(width);
        if (PGMmessage_->minimumHeight() != height) PGMmessage_->setMinimumHeight(height);
    }
    miclabel_->setVisible(r.miclabel.visible);
    if (miclabel_->text() != qs(r.miclabel.caption)) {
        miclabel_->setText(qs(r.miclabel.caption));
        // Never narrower than its caption, never narrower than its usual size.
        miclabel_->setMinimumWidth(std::max(kMicWidth, miclabel_->fontMetrics().horizontalAdvance(miclabel_->text()) +
                                                           2 * miclabel_->margin() + 6));
    }
    look::paint(miclabel_, r.miclabel.back, 0);

    debuglog_->setVisible(m.debugLog);
    const LinkState& link = st_.link;
    // How a TNC link stands (connecting, gone, the frames it sent) beside the port.
    INcomport_->setText(qs(link.tncStatus.empty() ? link.INcomport : link.INcomport + "  (" + link.tncStatus + ")"));
    openportcmd_->setVisible(link.portButtonsVisible);
    closeportcmd_->setVisible(link.portButtonsVisible);
    openportcmd_->setEnabled(link.openportcmdEnabled);
    closeportcmd_->setEnabled(link.closeportcmdEnabled);

    if (!incomingdata_->hasFocus() || incomingdata_->text() != qs(r.incomingdata)) {
        look::setText(incomingdata_, r.incomingdata);
    }
    look::paint(incomingdata_, r.incomingdataBack, 0);
    sendtext_->setVisible(link.sendBoxVisible);
    Sendkey_->setVisible(link.sendBoxVisible);
    look::setText(sendtext_, link.sendtext);
    if (st_.link.sendtextFocus && link.sendBoxVisible) {
        st_.link.sendtextFocus = false; // the request is served once
        sendtext_->setFocus();
    }
    TelnetActiveLabel_->setVisible(st_.telnet.labelVisible);
    TelnetActiveLabel_->setText(qs(st_.telnet.labelCaption));

    look::setText(callsign_, r.callsign);
    look::paint(callsign_, st_.display.callsignBack, 0);
    look::setText(trackname_, r.trackname);
    look::setText(latitude_, r.latitude);
    look::setText(northsouth_, r.northsouth);
    look::setText(longitude_, r.longitude);
    look::setText(eastwest_, r.eastwest);
    look::setText(rawgpsdata_, r.rawgpsdata);
    look::paint(rawgpsdata_, st_.display.rawgpsdataBack, 0);
    // A long text shows its start, where the sign and the degrees are.
    for (QLineEdit* e : {callsign_, trackname_, latitude_, longitude_, rawgpsdata_})
        e->setCursorPosition(0);
    // The report's slot colour (black for a station in no tracked slot).
    const Colour recordBack = st_.rec.recordBack;
    const Colour recordFore = look::readableOn(recordBack);
    look::paint(trackname_, recordBack, recordFore);

    switches_["detectmice"]->setChecked(st_.sw.detectmice);
    switches_["detectmoving"]->setChecked(st_.sw.detectmoving);
    switches_["detectfixed"]->setChecked(st_.sw.detectfixed);
    switches_["detectnmea"]->setChecked(st_.sw.detectnmea);
    switches_["detect3rdparty"]->setChecked(st_.sw.detect3rdparty);
    switches_["detectGPWGTmic"]->setChecked(st_.sw.detectGPWGTmic);
    switches_["detectcompressed"]->setChecked(st_.sw.detectcompressed);
    switches_["detectobjects"]->setChecked(st_.sw.detectobjects);
    switches_["soundon"]->setChecked(st_.sw.soundon);

    slots_->draw(st_.slots, true);

    const TrackingState& t = st_.tracking;
    const MapState& map = st_.map;
    look::setText(overdue_, t.overdue);
    autoassign_->setChecked(t.autoassigncheckbox);
    autoassign_->setVisible(t.autoassigncheckboxVisible);
    mapTactical_->setChecked(t.CheckMapTacticalNames.checked);
    mapTactical_->setEnabled(t.CheckMapTacticalNames.enabled);
    trackOnlyMoving_->setChecked(st_.sw.CheckTrackOnlyMoving);
    trackMovingOn_->setVisible(t.LabelTrackMovingONVisible);
    CaptureAllLabel_->setVisible(map.CaptureAllLabel);

    for (const auto& o : kMapOptions)
        mapOptions_[o.name]->setChecked(map.option == o.option);
    mapOptions_["Option5ImportDelormeTOPO"]->setVisible(advanced_);
    std::size_t i = 0;
    for (const auto& o : kDisplayOptions) {
        QRadioButton* radio = displayOptions_[o.name];
        radio->setChecked(static_cast<std::size_t>(map.display) == i + 1);
        radio->setEnabled(map.displayEnabled[i++]);
    }
    timedautoimport_->setChecked(map.timedautoimport);
    timedautoimport_->setEnabled(map.timedautoimportEnabled);
    importtomapnow_->setVisible(map.importtomapnowVisible);
    importtomapnow_->setEnabled(map.importtomapnowEnabled);
    for (std::size_t k = 0; k < manualImports_.size(); ++k) {
        bool shown = false;
        for (const char* type : kManualImports[k].mapTypes)
            shown = shown || text::iequals(map.mapType, type);
        manualImports_[k]->setVisible(shown);
        manualImports_[k]->setEnabled(map.importtomapnowEnabled);
    }
    findChild<QPushButton*>("changeimport")->setVisible(map.changeimportVisible);
    findChild<QPushButton*>("changeimportSA")->setVisible(map.changeimportSAVisible);
    findChild<QPushButton*>("changeimportNGTOPO")->setVisible(map.changeimportNGTOPOVisible);
    exportarchive_->setVisible(m.exportarchiveVisible);
    exportarchive_->setText(qs(map.exportarchiveCaption));
    exportarchiveNotice_->setVisible(map.exportarchiveNoticeVisible);
    ODFcheckbox_->setChecked(map.ODFcheckbox);
    const QString coverText = qs(map.CoverConfigCmdBoxCaption).replace(QChar('\r'), QChar('\n'));
    if (coverText_->text() != coverText) {
        coverText_->setText(coverText);
        cover_->setAccessibleName(coverText);
        placeCover();
    }
    drawChooser();

    records_->setVisible(advanced_);
    const RecordState& rec = st_.rec;
    look::setText(recordFields_["txfstring"], rec.txfstring);
    look::setText(recordFields_["rxfstring"], rec.rxfstring);
    look::setText(recordFields_["mxfstring"], rec.mxfstring);
    look::setText(recordFields_["wptstring"], rec.wptstring);
    look::setText(recordFields_["pltstring"], rec.pltstring);
    for (auto& [name, e] : recordFields_)
        e->setCursorPosition(0);
    for (const char* name : {"txfstring", "rxfstring", "mxfstring"})
        look::paint(recordFields_[name], recordBack, recordFore);

    actions_["menucreatestreetatlasfiles"]->setChecked(map.menucreatestreetatlasfiles);
    actions_["menucreatemaptechfiles"]->setChecked(map.menucreatemaptechfiles);
    actions_["menucreatenatgeotopofiles"]->setChecked(map.menucreatenatgeotopofiles);
    actions_["menucreateozifiles"]->setChecked(map.menucreateozifiles);
    actions_["menucreatenatgeotopoNowCallfile"]->setChecked(map.menucreatenatgeotopoNowCallfile);
    actions_["menucreategpxfile"]->setChecked(map.menucreategpxfile);
    actions_["menucreatekmlfiles"]->setChecked(map.menucreatekmlfiles);
    actions_["menucreategeojsonfile"]->setChecked(map.menucreategeojsonfile);
    actions_["menucreatenatgeotopoNowCallfile"]->setVisible(advanced_);
    actions_["preventdupes"]->setChecked(map.preventdupes);
    actions_["captureallON"]->setChecked(map.captureallON);
    actions_["captureallOFF"]->setChecked(map.captureallOFF);
    actions_["DisplaySend"]->setEnabled(link.DisplaySendEnabled);
    actions_["hidesend"]->setEnabled(link.hidesendEnabled);
    actions_["toggledebuglog"]->setChecked(m.debugLog);

    actions_["mappanemenu"]->setChecked(st_.tracks.pane.visible);
    actions_["maptilesmenu"]->setChecked(st_.tracks.pane.tiles);
    mapDock_->draw(st_);
    if (form2_) form2_->draw(st_.slots);

    for (QObject* o : unblock)
        o->blockSignals(false);
    drawing_ = false;
}

// ---- the frame's own commands ----

void MainWindow::compressedviewmenu_Click() {
    showNormal();
    // Only the menu bar and the status band stay: the rest is put away, not
    // squeezed, so the band keeps its full height.
    showBody(false);
    const int h = menuBar()->sizeHint().height() + panel_->findChild<QWidget*>("topBand")->sizeHint().height() + 16;
    setMinimumHeight(0);
    resize(width(), h);
    move(0, 0);
}

void MainWindow::showBody(bool shown) {
    incomingBox_->setVisible(shown);
    scroll_->setVisible(shown);
}

void MainWindow::normalviewmenu_Click() {
    showNormal();
    showBody(true);
    // Wide enough for both columns side by side and tall enough for the
    // taller of them without scrolling, where the screen allows.
    const QWidget* files = right_->findChild<QWidget*>("filesGroup");
    const int both = left_->minimumSizeHint().width() + columns_->spacing() +
                     std::max(mapGroup_->minimumSizeHint().width(), files->minimumSizeHint().width());
    const int tall = std::max({left_->sizeHint().height(),
                               mapGroup_->sizeHint().height() + rightLayout_->spacing() + files->sizeHint().height(),
                               beside_ ? body_->sizeHint().height() : 0});
    const int above = menuBar()->sizeHint().height() + panel_->findChild<QWidget*>("topBand")->sizeHint().height() +
                      incomingBox_->sizeHint().height() + 60;
    QSize want = QSize(std::max(both + 60, 1400), std::max(above + tall, 980)) + mapDock_->addsToWindow();
    if (const QScreen* sc = screen()) want = want.boundedTo(sc->availableSize());
    resize(want);
    move(look::px(10), look::px(105));
    // Wrapped captions are only measured once laid out: what still scrolls
    // then is added to the height, as far as the screen allows.
    QTimer::singleShot(0, this, [this] {
        const int more = scroll_->verticalScrollBar()->maximum();
        if (more <= 0 || isMaximized()) return;
        QSize grown(width(), height() + more + 4);
        if (const QScreen* sc = screen()) grown = grown.boundedTo(sc->availableSize());
        resize(grown);
    });
}

void MainWindow::arrangeColumns() {
    if (!columns_) return;
    const int room = scroll_->viewport()->width();
    const QWidget* files = right_->findChild<QWidget*>("filesGroup");
    const int mapLeast = std::max(mapGroup_->minimumSizeHint().width(), files->minimumSizeHint().width());
    const int mapLikes = std::max({mapLeast, mapGroup_->sizeHint().width(), files->sizeHint().width()});
    const int left = left_->minimumSizeHint().width() + columns_->spacing();
    // A little slack against a flip back and forth as a scroll bar comes and goes.
    const bool beside = beside_ ? room >= left + mapLeast : room >= left + mapLeast + 16;
    // Beside, the map column is as wide as its captions like where the
    // station columns leave room for that; they take the rest.
    const int mapWidth = beside ? std::clamp(room - left, mapLeast, mapLikes) : 0;
    if (right_->minimumWidth() != mapWidth) right_->setMinimumWidth(mapWidth);
    if (beside == beside_) return;
    beside_ = beside;
    columns_->setDirection(beside ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    columns_->setStretchFactor(left_, beside ? 1 : 0);
    rightLayout_->setDirection(beside ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
}

void MainWindow::maxviewmenu_Click() {
    showBody(true);
    showMaximized();
}

void MainWindow::pgmhelp_Click() { help_->showHelp(); }

MapPane* MainWindow::mapPane() const { return mapDock_->pane(); }

void MainWindow::attachTiles(TileFetcher* fetcher) {
    mapDock_->pane()->attachTiles(fetcher);
    redraw();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing the frame is the Exit command: at once, no question.
    act([this] { h_.exit_Click(); });
    event->accept();
}

void MainWindow::HiddenButton_Click() {
    advanced_ = !advanced_;
    form2_->setVisible(advanced_);
}

void MainWindow::setconfiguraiton_Click() { form4_->show(); }

void MainWindow::NewSetupWizard_Click() {
    wizard_->show();
    wizard_->raise();
    placeWizard();
}

void MainWindow::CommandNewSetupNEXT_Click() {
    bool ok = false;
    int page = wizardTag_.mid(5).toInt(&ok) + 1;
    // Past either end the wizard stays on its first or last page instead of showing an empty box.
    page = std::clamp(page, 1, 4);
    wizardTag_ = QString("Step %1").arg(page);
    wizardText_->setText(latin(kWizardPages[page - 1]).replace('\r', '\n'));
    placeWizard();
}

void MainWindow::CommandNewSetupBACK_Click() {
    const int page = wizardTag_.mid(5).toInt();
    wizardTag_ = QString("Step %1").arg(page - 2);
    CommandNewSetupNEXT_Click();
}

void MainWindow::CommandNewSetupCLOSE_Click() { wizard_->hide(); }

void MainWindow::placeCover() {
    if (!cover_ || !mapGroup_) return;
    QWidget* slot = mapGroup_->findChild<QWidget*>("coverSlot");
    const bool covered = st_.map.CoverConfigCmdBoxTag == "Covered";
    if (!covered && slot->width() > 40) {
        // A narrow map column wraps the caption: the slot grows with it
        // (the group lays out again and brings us back here).
        const int need = std::max(cover_->sizeHint().height(), coverText_->heightForWidth(slot->width() - 20) + 12);
        if (slot->height() != need) slot->setFixedHeight(need);
    }
    if (covered) {
        // From the slot down to the group's frame: every option goes under it.
        const QRect r = mapGroup_->contentsRect();
        cover_->setGeometry(QRect(QPoint(slot->x(), slot->y()), QPoint(slot->geometry().right(), r.bottom() - 4)));
    } else {
        cover_->setGeometry(slot->geometry());
    }
    if (cover_->property("covered").toBool() != covered) {
        cover_->setProperty("covered", covered);
        cover_->setStyleSheet(covered ? "QPushButton { background: #D6DEE8; border: 2px solid #5A6E86; }" : "");
        QFont f = font();
        f.setBold(covered);
        coverText_->setFont(f);
    }
    coverText_->setGeometry(cover_->rect().adjusted(10, 2, -10, -2));
    cover_->raise();
}

void MainWindow::buildChooser() {
    chooser_ = new QFrame(panel_);
    chooser_->setObjectName("FrameFileSelection");
    chooser_->setFrameShape(QFrame::Box);
    chooser_->setLineWidth(2);
    chooser_->setAutoFillBackground(true);
    chooser_->setStyleSheet("QFrame#FrameFileSelection { background-color: #F4F4F4; border: 2px solid #1F3A5F; }");
    auto* col = new QVBoxLayout(chooser_);
    auto* title = caption("Select a File for Map Posting", chooser_, true);
    title->setObjectName("FrameFileSelectionTitle");
    title->setMargin(4);
    look::paint(title, fromRgb(0x1F3A5F), look::kWhite);
    col->addWidget(title);
    chooserFolder_ = new QLabel(chooser_);
    chooserFolder_->setObjectName("chooserFolder");
    chooserFolder_->setTextFormat(Qt::PlainText);
    chooserFolder_->setWordWrap(true);
    chooserFolder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    col->addWidget(chooserFolder_);

    // Dir1 lists the folder's parent ("..") and sub-folders: double-click or
    // Enter opens one. File1 lists the files the filter lets through.
    auto* lists = new QHBoxLayout;
    Dir1_ = new QListWidget(chooser_);
    Dir1_->setObjectName("Dir1");
    Dir1_->setToolTip("Double-click a folder to open it.");
    Dir1_->setMinimumSize(220, 240);
    File1_ = new QListWidget(chooser_);
    File1_->setObjectName("File1");
    File1_->setToolTip("Highlight the file the map program should import, then choose SAVE (or double-click it).");
    File1_->setMinimumSize(300, 240);
    lists->addWidget(Dir1_, 2);
    lists->addWidget(File1_, 3);
    col->addLayout(lists, 1);
    chooserFilter_ = new QLabel(chooser_);
    chooserFilter_->setObjectName("chooserFilter");
    chooserFilter_->setTextFormat(Qt::PlainText);
    col->addWidget(chooserFilter_);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button(
        "Commandyesbrowseimportpath", "SAVE as Auto-Import path", [this] { h_.Commandyesbrowseimportpath_Click(); },
        chooser_));
    buttons->addStretch(1);
    buttons->addWidget(button(
        "Commandcancelbrowseimportpath", "CANCEL changes to Auto-Import path",
        [this] { h_.Commandcancelbrowseimportpath_Click(); }, chooser_));
    col->addLayout(buttons);

    // Names travel as the bytes the file system gave; only their display is decoded.
    auto bytes = [](const QListWidgetItem* it) { return it->data(Qt::UserRole).toByteArray().toStdString(); };
    // Only a highlighted name counts as chosen: the list's current item moves
    // on focus alone, without anything showing as selected.
    connect(File1_, &QListWidget::itemSelectionChanged, this, [this, bytes] {
        const auto picked = File1_->selectedItems();
        act([this, name = picked.isEmpty() ? std::string() : bytes(picked.front())] { h_.File1_Click(name); });
    });
    // Activation changes the lists the item belongs to, so it runs once the
    // list's own event has finished.
    connect(File1_, &QListWidget::itemActivated, this, [this](QListWidgetItem*) {
        QTimer::singleShot(0, this, [this] { act([this] { h_.File1_DblClick(); }); });
    });
    connect(Dir1_, &QListWidget::itemActivated, this, [this, bytes](QListWidgetItem* it) {
        QTimer::singleShot(0, this, [this, folder = bytes(it)] { act([this, folder] { h_.Dir1_Change(folder); }); });
    });
    chooser_->hide();
}

namespace {

// Refills a list when its names changed; leaves it alone (and its scroll
// position and selection) when they did not.
void fillList(QListWidget* list, const std::vector<std::string>& names, const QIcon& icon) {
    bool same = list->count() == static_cast<int>(names.size());
    for (int i = 0; same && i < list->count(); ++i)
        same = list->item(i)->data(Qt::UserRole).toByteArray().toStdString() == names[static_cast<std::size_t>(i)];
    if (same) return;
    list->clear();
    for (const std::string& n : names) {
        auto* it = new QListWidgetItem(icon, QString::fromLocal8Bit(n.data(), static_cast<qsizetype>(n.size())), list);
        it->setData(Qt::UserRole, QByteArray(n.data(), static_cast<qsizetype>(n.size())));
    }
}

} // namespace

void MainWindow::drawChooser() {
    const FileChooser& c = st_.map.chooser;
    const bool wasShown = chooser_->isVisible();
    chooser_->setVisible(c.visible);
    if (!c.visible) return;
    chooserFolder_->setText(QString::fromLocal8Bit(c.folder.data(), static_cast<qsizetype>(c.folder.size())));
    chooserFilter_->setText("Files of type:  " + qs(c.pattern));

    std::vector<std::string> dirs;
    const std::filesystem::path folder(c.folder);
    const std::string parent = folder.parent_path().string();
    if (!parent.empty() && parent != c.folder) dirs.push_back(parent);
    for (const std::string& d : c.folders)
        dirs.push_back((folder / d).string());
    fillList(Dir1_, dirs, style()->standardIcon(QStyle::SP_DirIcon));
    // Folders show by their own name; the parent as "..".
    for (int i = 0; i < Dir1_->count(); ++i) {
        QListWidgetItem* it = Dir1_->item(i);
        const std::string full = it->data(Qt::UserRole).toByteArray().toStdString();
        const std::string name = full == parent ? std::string("..") : std::filesystem::path(full).filename().string();
        const QString shown = QString::fromLocal8Bit(name.data(), static_cast<qsizetype>(name.size()));
        if (it->text() != shown) it->setText(shown);
    }
    fillList(File1_, c.files, style()->standardIcon(QStyle::SP_FileIcon));
    QListWidgetItem* selected = nullptr;
    for (int i = 0; i < File1_->count() && !c.selected.empty(); ++i)
        if (File1_->item(i)->data(Qt::UserRole).toByteArray().toStdString() == c.selected) selected = File1_->item(i);
    if (File1_->currentItem() != selected) File1_->setCurrentItem(selected);
    if (!selected) File1_->clearSelection();

    if (!wasShown) {
        chooser_->adjustSize();
        const QPoint at(std::max(0, panel_->width() / 2 - chooser_->width() / 2), scroll_->y() + 8);
        chooser_->move(at);
    }
    chooser_->raise();
}

void MainWindow::placeWizard() {
    // Every line of every page on one line of its own where the window has
    // room: the pages are written line by line, and a wrapped line would
    // leave its last word alone. The box keeps one width from page to page.
    const QFontMetrics fm(wizardText_->font());
    int widest = 0;
    for (const QString& line : wizardText_->text().split(QChar('\n')))
        widest = std::max(widest, fm.horizontalAdvance(line));
    for (const char* page : kWizardPages)
        for (const QString& line : latin(page).split(QChar('\r')))
            widest = std::max(widest, fm.horizontalAdvance(line));
    const int frame = wizard_->width() - wizardText_->width();
    const int room = std::max(200, body_->width() - 16 - std::max(frame, 24));
    wizardText_->setFixedWidth(std::min(widest + 4, room));
    wizard_->adjustSize();

    const int page = wizardTag_.mid(5).toInt();
    QPoint at(std::max(0, body_->width() / 2 - wizard_->width() / 2), 30);
    // The pages about the map program and display type stand beside those
    // options: left of them when the map column stands on the right, right
    // of them when it sits under the others.
    QWidget* target = page == 2   ? static_cast<QWidget*>(mapOptions_["Option1ImportSA"]->parentWidget())
                      : page == 3 ? static_cast<QWidget*>(displayFrame_)
                                  : nullptr;
    if (target) {
        const QPoint p = target->mapTo(body_, QPoint(0, 0));
        if (p.x() - wizard_->width() - 8 >= 0)
            at = QPoint(p.x() - wizard_->width() - 8, p.y());
        else
            at = QPoint(std::max(0, std::min(p.x() + target->width() + 8, body_->width() - wizard_->width())), p.y());
        scroll_->ensureWidgetVisible(target, 8, 8);
    }
    wizard_->move(at);
    wizard_->raise();
    scroll_->ensureWidgetVisible(wizard_, 8, 8);
}

} // namespace qv
