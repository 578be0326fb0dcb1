// The main window on Qt's offscreen platform: its controls carry the program's
// texts, user actions reach their handlers once, and drawing reaches none.
#include "WindowFixture.h"

#include "shell/window/Look.h"
#include "shell/window/SecondaryWindow.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

using namespace qv;
using namespace qv::test;

namespace {

void doubleClick(QWidget* w) {
    QMouseEvent press(QEvent::MouseButtonDblClick, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

void typeInto(QWidget* w, const char* text) {
    for (const char* c = text; *c; ++c) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(*c)));
        QApplication::sendEvent(w, &press);
    }
}

} // namespace

TEST_F(WindowTest, MenuItemsCarryTheirCaptionsAndReachTheirHandlers) {
    struct Case {
        const char* name;
        const char* caption;
        const char* call; // recorded handler, "" for the window's own commands
    } cases[] = {
        {"menumapsallON", "All O&N (Turn on creation of ALL maps. <May slow down processing>)", "menumapsallON_Click"},
        {"menuspeedup", "All O&FF (Speeds up Quorvel by limiting map file creation)", "menuspeedup_Click"},
        {"menucreatestreetatlasfiles", "Create &Street Atlas files", "menucreate_Click(menucreatestreetatlasfiles)"},
        {"menucreatemaptechfiles", "Create &MapTech and OziExplorer files", "menucreate_Click(menucreatemaptechfiles)"},
        {"menucreatenatgeotopofiles", "Create Nat.Geo.&TOPO! files", "menucreate_Click(menucreatenatgeotopofiles)"},
        {"menucreateozifiles", "Create &OziExplorer files DISABLED", "menucreate_Click(menucreateozifiles)"},
        {"menucreatenatgeotopoNowCallfile", "Create New Nat.Geo.&Callsign NOW file.",
         "menucreate_Click(menucreatenatgeotopoNowCallfile)"},
        {"menucreategpxfile", "Create &GPX file", "menucreate_Click(menucreategpxfile)"},
        {"menucreatekmlfiles", "Create &KML files", "menucreate_Click(menucreatekmlfiles)"},
        {"menucreategeojsonfile", "Create G&eoJSON file", "menucreate_Click(menucreategeojsonfile)"},
        {"deleteTXF", "Delete only &TRACKS datafile (quorvel.txf)", "deleteTXF_Click"},
        {"deleteRXF", "Delete only &ROUTE datafile (quorvel.rxf)", "deleteRXF_Click"},
        {"deleteMXF", "Delete only &MARKER datafile (quorvel.mxf", "deleteMXF_Click"},
        {"deleteMXFHISTORY", "Delete the mxf &HISTORY <marker> file", "deleteMXFHISTORY_Click"},
        {"deleteRXFHISTORY", "Delete the rxf &HISTORY <route> file", "deleteRXFHISTORY_Click"},
        {"deleteAllNGTOPO", "Delete ALL National Geographic &TOPO! data files (quorvelNGTOPO*)",
         "deleteAllNGTOPO_Click"},
        {"deleteWPT", "Delete only OZI &WAYPOINT datafile (quorvel.wpt)", "deleteWPT_Click"},
        {"deletePLTs", "Delete all OZI &PLT TRACK datafiles (quorvel*.plt)", "deletePLTs_Click"},
        {"deleteGPX", "Delete the &GPX file (quorvel.gpx)", "deleteGPX_Click"},
        {"deleteKML", "Delete the &KML files (quorvel.kml, quorvellive.kml)", "deleteKML_Click"},
        {"deleteGEOJSON", "Delete the GeoJSON file (quorvel.geo&json)", "deleteGEOJSON_Click"},
        {"viewgpx", "&View the GPX file", "view_Click(gpx)"},
        {"viewkml", "View the KML file", "view_Click(kml)"},
        {"viewgeojson", "View the GeoJSON file", "view_Click(geojson)"},
        {"deletealldatafiles", "Delete &ALL DATAFILES Except Archived files.", "deletealldatafiles_Click"},
        {"killeverything", "&Fresh Start. WARNING! Deletes all data and archive files.", "killeverything_Click"},
        {"captureallON", "O&N", "captureallON_Click"},
        {"captureallOFF", "O&FF", "captureallOFF_Click"},
        {"clearstationsmenu", "&Clear all CallID boxes", "clearstationsmenu_Click"},
        {"cleartacticalsmenu", "Clear all &Tactical Names", "cleartacticalsmenu_Click"},
        {"findstaSA5", "&Find Station in Street Atlas", "findstaSA5_Click"},
        {"preventdupes", "Prevent &Duplicate postions (No more than 1 per minute)", "preventdupes_Click"},
        {"DisplaySend", "&Display the \"Send to Com Port\" box.", "DisplaySend_Click"},
        {"hidesend", "&Hide the \"Send to Com Port\" box", "hidesend_Click"},
        {"comportmenu", "Change Com &Port settings", "comportmenu_Click"},
        {"mycallmenu", "Set &My callsign (packets sent through a KISS or AGWPE TNC)", "mycallmenu_Click"},
        {"TelnetActivate", "Connect to &TELNET Server", "TelnetActivate_Click"},
        {"stoptelnetconnection", "&Stop current telnet connection", "stoptelnetconnection_Click"},
        {"autoimportbrowse", "&Browse for a file to Auto-Import", "autoimportbrowse_Click"},
        {"autoimportpath", "Manually Set MapTech Auto-Import File &Path", "autoimportpath_Click"},
        {"CreateBogusNGTOPOnowFile", "Create a &Bogus Nat.Geo. TOPO file for TOPO Import Wizard",
         "CreateBogusNGTOPOnowFile_Click"},
        {"telnetsetup", "Setup &TELNET connection information", "telnetsetup_Click"},
        {"configreset", "&Reset All settings to Program Defaults (Delete config file)", "configreset_Click"},
        {"toggledebuglog", "&Toggle Debug Log ON/OFF (quorvel.log)", "toggledebuglog_Click"},
        {"importmenu", "&POST to Map", "importmenu_Click"},
        {"checkforupdates", "Check for Quorvel &Updates", "checkforupdates_Click"},
        {"setconfiguraiton", "&Set General Configuration Options (NOT YET WORKING)", ""},
        {"compressedviewmenu", "&Compressed View", ""},
        {"maxviewmenu", "&Maximized View", ""},
        {"normalviewmenu", "&Normal View", ""},
        {"mappanemenu", "Situation &Map", "mapPane_Change"},
        {"maptilesmenu", "Map &Tiles (off: latitude/longitude grid)", "mapPane_Change"},
        {"maptileurlmenu", "Map Tile &Address...", ""}, // the address proposed is kept
        {"NewSetupWizard", "&Setup Wizard (New Users) IN DEVELOPMENT", ""},
        {"exit", "&Exit", "exit_Click"},
    };
    for (const auto& c : cases) {
        QAction* a = menu(c.name);
        if (!a) continue;
        EXPECT_EQ(a->text().toStdString(), c.caption) << c.name;
        handlers.calls.clear();
        a->setEnabled(true);
        a->trigger();
        if (*c.call)
            EXPECT_EQ(handlers.calls, std::vector<std::string>{c.call}) << c.name;
        else
            EXPECT_TRUE(handlers.calls.empty()) << c.name;
    }
}

TEST_F(WindowTest, ButtonsReachTheirHandlers) {
    struct Case {
        const char* name;
        const char* call;
    } cases[] = {
        {"openportcmd", "openportcmd_Click"},
        {"closeportcmd", "closeportcmd_Click"},
        {"Sendkey", "Sendkey_Click"},
        {"importtomapnow", "importtomapnow_Click"},
        {"exportarchive", "exportarchive_Click"},
        {"exportarchiveNotice", "exportarchiveNotice_Click"},
        {"changeimport", "changeimport_Click"},
        {"changeimportSA", "changeimportSA_Click"},
        {"changeimportNGTOPO", "changeimportNGTOPO_Click"},
        {"viewtxf", "view_Click(txf)"},
        {"viewmxfhistory", "view_Click(mxfhistory)"},
        {"viewplt3", "view_Click(plt3)"},
        {"Command1", "view_Click(SA5)"},
        {"ViewSA", "view_Click(SA)"},
        {"ViewNGTOPO", "view_Click(NGTOPO)"},
        {"deletefileSA5button", "deletefileSA5button_Click"},
        {"deletefileNGTOPObutton", "deletefileNGTOPObutton_Click"},
        {"exitbutton", "exitbutton_Click"},
        {"ctrlC", nullptr}, // present, sends nothing
    };
    st.link.closeportcmdEnabled = st.link.openportcmdEnabled = true;
    window->redraw();
    for (const auto& c : cases) {
        auto* b = control<QPushButton>(c.name);
        if (!b) continue;
        handlers.calls.clear();
        b->click();
        if (c.call)
            EXPECT_EQ(handlers.calls, std::vector<std::string>{c.call}) << c.name;
        else
            EXPECT_TRUE(handlers.calls.empty()) << c.name;
    }
}

TEST_F(WindowTest, SwitchesSetTheStateAndRunTheirClickOnce) {
    auto* sound = control<QCheckBox>("soundon");
    sound->click();
    EXPECT_TRUE(st.sw.soundon);
    auto* mice = control<QCheckBox>("detectmice");
    mice->click();
    EXPECT_FALSE(st.sw.detectmice);
    auto* moving = control<QCheckBox>("CheckTrackOnlyMoving");
    moving->click();
    EXPECT_TRUE(st.sw.CheckTrackOnlyMoving);
    control<QCheckBox>("callsign4track")->click();
    EXPECT_TRUE(st.slots[4].track);
    control<QRadioButton>("Option2ImportMapTech")->click();
    // The two detect switches kept in quorvel.cfg run their save.
    control<QCheckBox>("detectcompressed")->click();
    EXPECT_FALSE(st.sw.detectcompressed);
    control<QCheckBox>("detectobjects")->click();
    EXPECT_FALSE(st.sw.detectobjects);
    EXPECT_EQ(handlers.calls,
              (std::vector<std::string>{"soundon_Click", "CheckTrackOnlyMoving_Click", "callsigntrack_Click(4)",
                                        "mapOption_Click(Option2ImportMapTech)", "detectcompressed_Click",
                                        "detectobjects_Click"}));
}

TEST_F(WindowTest, TypingACallIdSetsTheSlotAndRunsItsChangeRuleEveryKeystroke) {
    st.slots[3].CallsignID.clear();
    window->redraw();
    auto* id = control<QLineEdit>("CallsignID3");
    id->setFocus();
    typeInto(id, "N0C");
    EXPECT_EQ(st.slots[3].CallsignID, "N0C");
    EXPECT_EQ(handlers.calls,
              (std::vector<std::string>{"CallsignID_Change(3)", "CallsignID_Change(3)", "CallsignID_Change(3)"}));
    EXPECT_EQ(id->cursorPosition(), 3); // redrawing between keystrokes keeps the cursor where the user typed
}

TEST_F(WindowTest, DoubleClicksReachTheirHandlers) {
    struct Case {
        const char* name;
        const char* call;
    } cases[] = {
        {"incomingdata", "incomingdata_DblClick"},
        {"callsign", "Callsign_DblClick"},
        {"CallsignID2", "CallsignID_DblClick(2)"},
        {"Team7name", "Teamname_dblclick(7)"},
        {"LabelCallidLetterE", "LabelCallidLetter_DblClick(5)"},
        {"TelnetActiveLabel", "TelnetActiveLabel_DblClick"},
    };
    for (const auto& c : cases) {
        auto* w = control<QWidget>(c.name);
        if (!w) continue;
        handlers.calls.clear();
        doubleClick(w);
        EXPECT_EQ(handlers.calls, std::vector<std::string>{c.call}) << c.name;
    }
}

TEST_F(WindowTest, RedrawingChangedStateRunsNoHandler) {
    st.sw.soundon = true;
    st.sw.detectnmea = false;
    st.sw.detectobjects = false;
    st.sw.CheckTrackOnlyMoving = true;
    for (int n = 1; n <= 8; ++n) {
        st.slots[n].CallsignID = "K" + std::to_string(n);
        st.slots[n].Teamname = "T";
        st.slots[n].track = true;
    }
    st.report.incomingdata = "N0CALL>APRS:!4903.50N/07201.75W-";
    st.tracking.overdue = "15";
    st.tracking.autoassigncheckbox = true;
    st.map.option = MapOption::Option1ImportSA;
    st.map.display = DisplayOption::OptionMapPostOTHER;
    st.map.captureallON = true;
    st.map.menucreatemaptechfiles = false;
    st.map.timedautoimport = true;
    st.map.ODFcheckbox = true;
    window->redraw();
    EXPECT_TRUE(handlers.calls.empty());
    EXPECT_EQ(control<QLineEdit>("CallsignID8")->text(), "K8");
    EXPECT_TRUE(control<QCheckBox>("callsign8track")->isChecked());
    EXPECT_EQ(control<QLineEdit>("overdue")->text(), "15");
    EXPECT_FALSE(control<QCheckBox>("detectobjects")->isChecked());
    EXPECT_TRUE(control<QCheckBox>("detectcompressed")->isChecked());
}

TEST_F(WindowTest, MenuCheckMarksFollowTheState) {
    struct Case {
        const char* name;
        bool MapState::*flag;
    } cases[] = {
        {"menucreatestreetatlasfiles", &MapState::menucreatestreetatlasfiles},
        {"menucreatemaptechfiles", &MapState::menucreatemaptechfiles},
        {"menucreatenatgeotopofiles", &MapState::menucreatenatgeotopofiles},
        {"menucreateozifiles", &MapState::menucreateozifiles},
        {"menucreatenatgeotopoNowCallfile", &MapState::menucreatenatgeotopoNowCallfile},
        {"menucreategpxfile", &MapState::menucreategpxfile},
        {"menucreatekmlfiles", &MapState::menucreatekmlfiles},
        {"menucreategeojsonfile", &MapState::menucreategeojsonfile},
        {"preventdupes", &MapState::preventdupes},
        {"captureallON", &MapState::captureallON},
    };
    for (bool on : {true, false}) {
        for (const auto& c : cases)
            st.map.*c.flag = on;
        st.map.captureallOFF = !on;
        st.map.CaptureAllLabel = on;
        st.marks.debugLog = on;
        window->redraw();
        for (const auto& c : cases)
            EXPECT_EQ(menu(c.name)->isChecked(), on) << c.name;
        EXPECT_EQ(menu("captureallOFF")->isChecked(), !on);
        EXPECT_EQ(control<QLabel>("CaptureAllLabel")->isHidden(), !on);
        EXPECT_EQ(control<QLabel>("debuglog")->isHidden(), !on);
    }
    EXPECT_TRUE(handlers.calls.empty());
}

TEST_F(WindowTest, SlotRowsShowSlotColoursWithWhiteTextAndTheLastHeardState) {
    const char* const backs[8] = {"#0000ff", "#c00000", "#008000", "#800080",
                                  "#000000", "#000080", "#804000", "#ff00ff"};
    for (int n = 1; n <= 8; ++n) {
        const std::string id = "CallsignID" + std::to_string(n);
        const QString sheet = control<QLineEdit>(id.c_str())->styleSheet();
        EXPECT_TRUE(sheet.contains(backs[n - 1])) << id << " " << sheet.toStdString();
        EXPECT_TRUE(sheet.contains("color: #ffffff")) << id;
    }
    // The overdue pass turns a label yellow; the next redraw shows it.
    st.slots[6].lastHeardBack = 65535;
    st.slots[2].lastHeardBack = 0x8000000Fu;
    window->redraw();
    EXPECT_TRUE(control<QLabel>("CallID6LastHeard")->styleSheet().contains("#ffff00"));
    EXPECT_TRUE(control<QLabel>("CallID2LastHeard")
                    ->styleSheet()
                    .contains(QApplication::palette().color(QPalette::Button).name()));
}

TEST_F(WindowTest, AnActionArrivingDuringARefreshWaitsForTheRunningHandler) {
    st.link.openportcmdEnabled = true;
    window->redraw();
    std::vector<std::string> order;
    handlers.during = [&](const std::string& call) {
        order.push_back("begin " + call);
        if (call == "incomingdata_DblClick") {
            QTimer::singleShot(0, control<QPushButton>("openportcmd"), &QPushButton::click);
            window->refresh(); // lets the click through, but not into a second handler
            window->refresh();
        }
        order.push_back("end " + call);
    };
    doubleClick(control<QWidget>("incomingdata"));
    QApplication::processEvents();
    EXPECT_EQ(order, (std::vector<std::string>{"begin incomingdata_DblClick", "end incomingdata_DblClick",
                                               "begin openportcmd_Click", "end openportcmd_Click"}));
}

TEST_F(WindowTest, AdvancedButtonTogglesTopoUsaRecordsAndSecondWindow) {
    auto* hidden = control<QPushButton>("HiddenButton");
    EXPECT_TRUE(hidden->text().isEmpty());
    auto* topo = control<QRadioButton>("Option5ImportDelormeTOPO");
    auto* txf = control<QLineEdit>("txfstring");
    EXPECT_TRUE(topo->isVisibleTo(window.get()));
    hidden->click();
    EXPECT_FALSE(topo->isVisibleTo(window.get()));
    EXPECT_FALSE(txf->isVisibleTo(window.get()));
    EXPECT_FALSE(menu("menucreatenatgeotopoNowCallfile")->isVisible());
    hidden->click();
    EXPECT_TRUE(topo->isVisibleTo(window.get()));
    EXPECT_TRUE(txf->isVisibleTo(window.get()));
    ASSERT_NE(window->form2(), nullptr);
    EXPECT_TRUE(window->form2()->isVisible());
    // Form2 shows slot 1's position.
    st.slots[1].location = "49.0583, -72.02916";
    window->redraw();
    EXPECT_EQ(window->form2()->findChild<QLineEdit*>("Form2Position1")->text(), "49.0583, -72.02916");
}

TEST_F(WindowTest, SetupWizardStepsThroughItsFourPages) {
    menu("NewSetupWizard")->trigger();
    EXPECT_FALSE(control<QWidget>("FrameNewSetup")->isHidden());
    auto* text = control<QLabel>("LabelNewSetupText");
    auto* next = control<QPushButton>("CommandNewSetupNEXT");
    auto* back = control<QPushButton>("CommandNewSetupBACK");
    struct Step {
        QPushButton* press;
        const char* tag;
        const char* starts;
    } steps[] = {
        {next, "Step 1", "Page 1: Welcome"}, {next, "Step 2", "Page 2:"}, {next, "Step 3", "Page 3:"},
        {back, "Step 2", "Page 2:"},         {next, "Step 3", "Page 3:"}, {next, "Step 4", "Page 4:  Sorry"},
        {next, "Step 4", "Page 4:"},         {back, "Step 3", "Page 3:"}, {back, "Step 2", "Page 2:"},
        {back, "Step 1", "Page 1:"},         {back, "Step 1", "Page 1:"},
    };
    for (const auto& s : steps) {
        s.press->click();
        EXPECT_EQ(window->wizardTag().toStdString(), s.tag);
        EXPECT_TRUE(text->text().startsWith(s.starts)) << text->text().toStdString();
    }
    control<QPushButton>("CommandNewSetupCLOSE")->click();
    EXPECT_TRUE(control<QWidget>("FrameNewSetup")->isHidden());
}

TEST_F(WindowTest, FieldsRepaintWhenTheStateChanges) {
    // Drawing silences the controls, not their inner parts: a field must
    // repaint with its new text, not only hold it.
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) ++paints;
            return false;
        }
    } counter;
    window->resize(1200, 900);
    window->show();
    QApplication::processEvents();
    auto* id = control<QLineEdit>("CallsignID1");
    auto* status = control<QLineEdit>("PGMmessage");
    id->installEventFilter(&counter);
    status->installEventFilter(&counter);
    st.slots[1].CallsignID = "KD7QRV-9";
    st.marks.PGMmessage = "InspectingDataLine";
    window->redraw();
    QApplication::processEvents();
    EXPECT_GE(counter.paints, 2);
    window->hide();
}

TEST_F(WindowTest, FileChooserDrawsItsListsSilentlyAndForwardsChoices) {
    FileChooser& c = st.map.chooser;
    c.visible = true;
    c.folder = "/srv/maps";
    c.pattern = "quorvel*.?xf";
    c.folders = {"archive", "old sets"};
    c.files = {"quorvel.mxf", "quorvel.txf"};
    c.selected = "quorvel.txf";
    window->redraw();
    EXPECT_TRUE(handlers.calls.empty()); // filling the lists and highlighting ran nothing

    auto* frame = control<QWidget>("FrameFileSelection");
    EXPECT_FALSE(frame->isHidden());
    auto* dirs = control<QListWidget>("Dir1");
    auto* files = control<QListWidget>("File1");
    ASSERT_EQ(dirs->count(), 3);
    EXPECT_EQ(dirs->item(0)->text(), "..");
    EXPECT_EQ(dirs->item(2)->text(), "old sets");
    ASSERT_EQ(files->count(), 2);
    EXPECT_EQ(files->currentItem()->text(), "quorvel.txf");
    EXPECT_EQ(control<QLabel>("chooserFilter")->text(), "Files of type:  quorvel*.?xf");

    files->setCurrentRow(0); // the user highlights another name
    Q_EMIT dirs->itemActivated(dirs->item(2));
    Q_EMIT dirs->itemActivated(dirs->item(0));
    QApplication::processEvents(); // folder changes run once the list's event is over
    control<QPushButton>("Commandyesbrowseimportpath")->click();
    control<QPushButton>("Commandcancelbrowseimportpath")->click();
    EXPECT_EQ(handlers.calls, (std::vector<std::string>{"File1_Click(quorvel.mxf)", "Dir1_Change(/srv/maps/old sets)",
                                                        "Dir1_Change(/srv)", "Commandyesbrowseimportpath_Click",
                                                        "Commandcancelbrowseimportpath_Click"}));
    c.visible = false;
    window->redraw();
    EXPECT_TRUE(frame->isHidden());
}

TEST_F(WindowTest, CoverButtonLiesOverTheMapOptionsOnlyWhenCovered) {
    window->resize(1400, 980);
    window->show();
    QApplication::processEvents();
    auto* cover = control<QPushButton>("CoverConfigCmdBox");
    auto* group = control<QWidget>("mapGroup");
    auto area = [group](const char* name) {
        auto* w = group->findChild<QWidget*>(name);
        return QRect(w->mapTo(group, QPoint(0, 0)), w->size());
    };
    EXPECT_FALSE(cover->geometry().intersects(area("Option1ImportSA")));
    auto* caption = control<QLabel>("CoverConfigCmdBoxCaption");
    EXPECT_EQ(caption->text(), "Click to Cover the Configuration boxes");

    st.map.CoverConfigCmdBoxTag = "Covered";
    st.map.CoverConfigCmdBoxCaption = "The boxes are covered.\rClick to Un-Cover the Configuration boxes";
    window->redraw();
    QApplication::processEvents();
    EXPECT_TRUE(cover->geometry().contains(area("Option1ImportSA")));
    EXPECT_TRUE(cover->geometry().contains(area("FrameMapPostOptions")));
    EXPECT_EQ(caption->text(), "The boxes are covered.\nClick to Un-Cover the Configuration boxes");
    cover->click();
    EXPECT_EQ(handlers.calls, std::vector<std::string>{"CoverConfigCmdBox_Click"});
    window->hide();
}

TEST_F(WindowTest, StatusFieldGrowsForTheUpdateCountdownAndReturns) {
    window->resize(1400, 980); // room for the whole countdown width
    auto* status = control<QLineEdit>("PGMmessage");
    const QFont rest = status->font();
    st.display.PGMmessageFontSize = 18;
    st.display.PGMmessageHeight = 570;
    st.display.PGMmessageWidth = 9150;
    window->redraw();
    EXPECT_GE(status->font().pointSizeF(), 18.0);
    EXPECT_EQ(status->minimumWidth(), 610);
    EXPECT_GE(status->minimumHeight(), 38);
    st.display.PGMmessageFontSize = 8;
    st.display.PGMmessageHeight = 285;
    st.display.PGMmessageWidth = 4575;
    window->redraw();
    EXPECT_EQ(status->font(), rest);
    EXPECT_LT(status->minimumWidth(), 610);
}

TEST_F(WindowTest, ManualImportButtonsFollowTheMapProgramAndTellWhatTheyDo) {
    struct Case {
        const char* mapType;
        const char* shown; // the one manual import button in view, "" for none
        const char* caption;
    } cases[] = {
        {"streetatlas50", "importSA", "Manual Street Atlas Import"},
        {"maptechSTD", "autoimport", "IMPORT to MapTech and Archive"},
        {"MAPTECHPRO", "autoimport", "IMPORT to MapTech and Archive"},
        {"DelormeTOPOusa", "ImportDelormeTopo", "Manual Import Delorme TopoUSA"},
        {"NatGeoTOPO", "ImportNatGeoTOPO", "Manual Import Nat.Geo. TOPO!"},
        {"OtherMaps", "", ""},
        {"OziLive", "", ""},
    };
    for (const auto& c : cases) {
        st.map.mapType = c.mapType;
        st.map.importtomapnowEnabled = true;
        window->redraw();
        for (const char* n : {"importSA", "autoimport", "ImportDelormeTopo", "ImportNatGeoTOPO"})
            EXPECT_EQ(!control<QPushButton>(n)->isHidden(), std::string(n) == c.shown) << c.mapType << " " << n;
        if (!*c.shown) continue;
        auto* b = control<QPushButton>(c.shown);
        EXPECT_EQ(b->text(), c.caption);
        handlers.calls.clear();
        b->click();
        EXPECT_EQ(handlers.calls, std::vector<std::string>{std::string(c.shown) + "_Click"}) << c.mapType;
        st.map.importtomapnowEnabled = false; // as the map options switch POST now
        window->redraw();
        EXPECT_FALSE(b->isEnabled()) << c.mapType;
    }
    EXPECT_EQ(control<QPushButton>("autoimport")->toolTip(),
              "Will take control of MapTech and automatically send the Import commands. NOTE: Maptech must be "
              "running and the map displayed.");
    EXPECT_EQ(control<QCheckBox>("timedautoimport")->toolTip(),
              "Will AUTOMATICALLY take control of MapTech every minute and automatically send the Import commands. "
              "NOTE: Maptech must be running and the map displayed.");
}

TEST_F(WindowTest, ReportShowsWholePositionsAndTheSlotColour) {
    window->resize(1024, 768);
    window->show();
    QApplication::processEvents();
    st.report.latitude = "-45.1234567890123";
    st.report.longitude = "-122.335833333333";
    struct Case {
        Colour back;
        const char* backName;
        const char* foreName;
    } cases[] = {
        {8388736, "#800080", "#ffffff"}, // slot D's purple, as CALL ID field 4 shows it
        {65535, "#ffff00", "#000000"},   // a light slot colour keeps dark text
        {0, "#000000", "#ffffff"},       // no tracked slot: black
    };
    for (const auto& c : cases) {
        st.rec.recordBack = c.back;
        window->redraw();
        QApplication::processEvents();
        for (const char* name : {"latitude", "longitude"}) {
            auto* e = control<QLineEdit>(name);
            EXPECT_EQ(e->cursorPosition(), 0) << name;
            EXPECT_LE(e->fontMetrics().horizontalAdvance(e->text()), e->contentsRect().width() - 4) << name;
        }
        for (const char* name : {"trackname", "txfstring", "rxfstring", "mxfstring"}) {
            const QString sheet = control<QLineEdit>(name)->styleSheet();
            EXPECT_TRUE(sheet.contains(QString("background-color: ") + c.backName)) << name << " " << c.backName;
            EXPECT_TRUE(sheet.contains(QString("; color: ") + c.foreName)) << name << " " << c.backName;
        }
    }
    window->hide();
}

TEST_F(WindowTest, EveryWizardLineFitsOnOneLineOfTheBox) {
    window->resize(1024, 768);
    window->show();
    menu("NewSetupWizard")->trigger();
    auto* text = control<QLabel>("LabelNewSetupText");
    for (int page = 1; page <= 4; ++page) {
        control<QPushButton>("CommandNewSetupNEXT")->click();
        QApplication::processEvents();
        for (const QString& line : text->text().split('\n'))
            EXPECT_LE(text->fontMetrics().horizontalAdvance(line), text->contentsRect().width())
                << page << ": " << line.toStdString();
        const QWidget* box = control<QWidget>("FrameNewSetup");
        EXPECT_LE(box->mapTo(window.get(), QPoint(box->width(), 0)).x(), window->width()) << page;
    }
    window->hide();
}
