// The window over the real application in a fresh working directory: user
// edits reach the subsystems and come back drawn.
#include "WindowFixture.h"

#include "shell/App.h"
#include "shell/window/AppHandlers.h"
#include "support/FakeWindowKeys.h"

#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <chrono>
#include <filesystem>

using namespace qv;
using namespace qv::test;

namespace {

struct QtFirst {
    QtFirst() { qtApp(); }
};

class AppWindowTest : public ::testing::Test, private QtFirst {
protected:
    TempDir dir;
    FakeClock clock;
    FakeUi ui;
    App app{dir.path(), ui, clock};
    AppHandlers handlers{app};
    MainWindow w{app.st, handlers, ui};

    template <class T> T* control(const char* name) { return w.findChild<T*>(QString::fromLatin1(name)); }
    void doubleClick(QWidget* target) {
        QMouseEvent e(QEvent::MouseButtonDblClick, QPointF(4, 4), target->mapToGlobal(QPointF(4, 4)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    }
};

} // namespace

TEST_F(AppWindowTest, StartsOnAnEmptyWorkingDirectoryWithTheDesignValues) {
    EXPECT_EQ(control<QLineEdit>("CallsignID1")->text(), "CALL ID-1");
    EXPECT_EQ(control<QLineEdit>("Team8name")->text(), "Tac8");
    EXPECT_EQ(control<QLineEdit>("callsign5location")->text(), "(latitude/longitude)");
    EXPECT_EQ(control<QLabel>("CallID3LastHeard")->text(), "00/00/00 00:00:00 AM");
    EXPECT_EQ(control<QLineEdit>("overdue")->text(), "60");
}

TEST_F(AppWindowTest, EditingACallIdResetsItsRow) {
    app.st.slots[2].location = "49.0583, -72.02916";
    app.st.slots[2].lastHeard = "12/07/26 09:05:42 AM";
    w.redraw();
    auto* id = control<QLineEdit>("CallsignID2");
    id->setFocus();
    QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, "X");
    QApplication::sendEvent(id, &key);
    EXPECT_EQ(app.st.slots[2].CallsignID, "CALL ID-2X");
    EXPECT_EQ(control<QLineEdit>("callsign2location")->text(), "(latitude/longitude)");
    EXPECT_EQ(control<QLabel>("CallID2LastHeard")->text(), "0");
    EXPECT_NE(dir.read("quorvel.cfg").find("CALL ID-2X"), std::string::npos);
}

TEST_F(AppWindowTest, ACommaOrQuoteTypedIntoATacticalNameBecomesABlank) {
    auto* team = control<QLineEdit>("Team4name");
    team->setFocus();
    team->end(false);
    for (const char* typed : {",", "7", "\""}) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, typed);
        QApplication::sendEvent(team, &key);
    }
    EXPECT_EQ(app.st.slots[4].Teamname, "Tac4 7 ");
    EXPECT_EQ(team->text(), "Tac4 7 ");
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_NE(dir.read("quorvel.cfg").find("\"TACTICALTEAM4\",\"Tac4 7 \""), std::string::npos);
}

TEST_F(AppWindowTest, DetectSwitchesAreSavedAndReadBack) {
    control<QCheckBox>("detectcompressed")->click();
    EXPECT_NE(dir.read("quorvel.cfg").find("\"DETECTCOMPRESSED\",#FALSE#\r\n\"DETECTOBJECTS\",#TRUE#"),
              std::string::npos);
    control<QCheckBox>("detectobjects")->click();
    App again{dir.path(), ui, clock};
    again.settings.getsettings();
    EXPECT_FALSE(again.st.sw.detectcompressed);
    EXPECT_FALSE(again.st.sw.detectobjects);
}

TEST_F(AppWindowTest, DoubleClickingCallsignClearsEveryCallId) {
    doubleClick(control<QLineEdit>("callsign"));
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(app.st.slots[n].CallsignID, "") << n;
        EXPECT_EQ(control<QLineEdit>(("CallsignID" + std::to_string(n)).c_str())->text(), "") << n;
    }
}

TEST_F(AppWindowTest, LetterDoubleClickShowsTheSlotsLastRawLine) {
    app.st.slots[4].letterToolTip = "N0CALL-4>APRS:=4903.50N/07201.75W-";
    w.redraw();
    EXPECT_EQ(control<QLabel>("LabelCallidLetterD")->toolTip(), "N0CALL-4>APRS:=4903.50N/07201.75W-");
    doubleClick(control<QLabel>("LabelCallidLetterD"));
    EXPECT_EQ(control<QLineEdit>("incomingdata")->text(), "N0CALL-4>APRS:=4903.50N/07201.75W-");
}

TEST_F(AppWindowTest, ExitButtonAsksAndHonoursCancel) {
    int ends = 0;
    app.startup.onEnd = [&] { ++ends; };
    ui.answers = {Answer::Cancel};
    control<QPushButton>("exitbutton")->click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Are you sure you want to EXIT THE QUORVEL PROGRAM?");
    EXPECT_EQ(ui.messages[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(ends, 0);

    ui.answers = {Answer::Ok};
    control<QPushButton>("exitbutton")->click();
    EXPECT_EQ(ends, 1);
}

TEST_F(AppWindowTest, ExitMenuEndsAtOnceWithoutAQuestion) {
    int ends = 0;
    app.startup.onEnd = [&] { ++ends; };
    w.findChild<QAction*>("exit")->trigger();
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(AppWindowTest, ALineTypedIntoTheIncomingFieldAndDoubleClickedIsClassifiedAndTracked) {
    app.st.tracking.autoassigncheckbox = true;
    auto* in = control<QLineEdit>("incomingdata");
    in->setFocus();
    const char* line = "N0CALL-9>APRS,WIDE2-1:!4903.50N/07201.75W-Test\r";
    for (const char* c = line; *c; ++c) {
        if (*c == '\\') break;
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(*c)));
        QApplication::sendEvent(in, &key);
    }
    doubleClick(in);
    EXPECT_EQ(control<QLineEdit>("callsign")->text(), "N0CALL-9");
    EXPECT_EQ(control<QLineEdit>("latitude")->text(), "49.0583");
    EXPECT_EQ(control<QLineEdit>("eastwest")->text(), "W");
    EXPECT_TRUE(control<QLineEdit>("longitude")->text().startsWith("-72.029"));
    EXPECT_EQ(control<QLabel>("miclabel")->text(), "!DIGI/=Fixed Detected");
    EXPECT_FALSE(control<QLabel>("miclabel")->isHidden());
    // Auto-assignment put the new station into the first free slot, and the slot shows where it is.
    EXPECT_EQ(control<QLineEdit>("CallsignID1")->text(), "N0CALL-9");
    EXPECT_TRUE(control<QLineEdit>("callsign1location")->text().startsWith("49.0583, -72.029"));
}

TEST_F(AppWindowTest, AfterAReplayOfTheSampleFeedTheTableShowsTheStations) {
    for (const char* name : {"quorvel.cfg", "quorvel.imp"}) {
        std::filesystem::copy_file(std::filesystem::path(QUORVEL_SOURCE_DIR) / "examples" / name, dir.path() / name);
    }
    app.st.map.commandLine = "import";
    app.startup.Form_Load();
    w.redraw();
    for (int n = 1; n <= 8; ++n) {
        const std::string id = "CallsignID" + std::to_string(n);
        const std::string loc = "callsign" + std::to_string(n) + "location";
        EXPECT_EQ(control<QLineEdit>(id.c_str())->text().toStdString(), app.st.slots[n].CallsignID);
        EXPECT_EQ(control<QLineEdit>(loc.c_str())->text().toStdString(), app.st.slots[n].location);
        EXPECT_NE(app.st.slots[n].location, "(latitude/longitude)") << n;
    }
}

TEST_F(AppWindowTest, ThePathButtonOpensTheChooserAndSaveStoresTheHighlightedFile) {
    std::filesystem::create_directories(dir.path() / "Street maps");
    dir.write("Street maps/quorvelSA5now.txt", "x");
    dir.write("Street maps/notes.txt", "x");
    control<QRadioButton>("Option1ImportSA")->click();
    control<QPushButton>("changeimportSA")->click();
    auto* frame = control<QWidget>("FrameFileSelection");
    auto* dirs = control<QListWidget>("Dir1");
    auto* files = control<QListWidget>("File1");
    ASSERT_FALSE(frame->isHidden());
    const auto found = dirs->findItems("Street maps", Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    Q_EMIT dirs->itemActivated(found[0]);
    QApplication::processEvents();
    ASSERT_EQ(files->count(), 1); // the Street Atlas button filters to its own files
    EXPECT_EQ(files->item(0)->text(), "quorvelSA5now.txt");
    files->setCurrentRow(0);
    control<QPushButton>("Commandyesbrowseimportpath")->click();
    EXPECT_EQ(app.st.map.importPathStreetAtlas, (dir.path() / "Street maps" / "quorvelSA5now.txt").string());
    EXPECT_TRUE(frame->isHidden());

    // The browse menu shows every file; CANCEL leaves the stored path alone.
    w.findChild<QAction*>("autoimportbrowse")->trigger();
    EXPECT_EQ(files->count(), 2);
    files->setCurrentRow(1);
    control<QPushButton>("Commandcancelbrowseimportpath")->click();
    EXPECT_TRUE(frame->isHidden());
    EXPECT_EQ(app.st.map.importPathStreetAtlas, (dir.path() / "Street maps" / "quorvelSA5now.txt").string());
}

// A name highlighted for one map program is not saved for the next: the list
// is refilled with nothing highlighted, focus alone highlights nothing, and
// SAVE then warns and keeps the stored path.
TEST_F(AppWindowTest, AReopenedChooserSavesNothingUntilAFileIsHighlighted) {
    dir.write("quorvel.mxf", "x");
    dir.write("quorvelSA5now.txt", "x");
    w.show();
    control<QRadioButton>("Option2ImportMapTech")->click();
    control<QPushButton>("changeimport")->click();
    auto* files = control<QListWidget>("File1");
    files->setCurrentRow(0);
    control<QPushButton>("Commandyesbrowseimportpath")->click();
    ASSERT_EQ(app.st.map.importPathMapTech, (dir.path() / "quorvel.mxf").string());

    control<QRadioButton>("Option1ImportSA")->click();
    const std::string saPath = app.st.map.importPathStreetAtlas;
    control<QPushButton>("changeimportSA")->click();
    files->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(files->selectedItems().isEmpty());
    ui.messages.clear();
    control<QPushButton>("Commandyesbrowseimportpath")->click();
    EXPECT_EQ(app.st.map.importPathStreetAtlas, saPath);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.rfind("NO VALID IMPORT FILE PATH SPECIFIED!", 0), 0u);
    w.hide();
}

// The sample configuration works as it stands: after the sample replay the
// first "POST to map NOW" types the MapTech file of the working directory.
TEST_F(AppWindowTest, TheSampleConfigurationPostsToMapTechAsItStands) {
    for (const char* name : {"quorvel.cfg", "quorvel.imp"})
        std::filesystem::copy_file(std::filesystem::path(QUORVEL_SOURCE_DIR) / "examples" / name, dir.path() / name);
    FakeWindowKeys desk;
    desk.windows = {{"Terrain Navigator - [Bend]"}};
    app.ctx.windows = &desk;
    app.automation.setMapTechWait(std::chrono::milliseconds(0));
    app.st.map.commandLine = "import";
    app.startup.Form_Load();
    w.redraw();
    ASSERT_TRUE(app.st.marks.exportarchiveVisible);
    control<QPushButton>("importtomapnow")->click();
    EXPECT_EQ(app.st.marks.PGMmessage.find("No update file found"), std::string::npos) << app.st.marks.PGMmessage;
    const auto keys = desk.keys();
    ASSERT_GE(keys.size(), 2u);
    std::string typed; // the path as typed, one key at a time
    for (char ch : keys[1])
        if (ch != ' ') typed += ch;
    std::string want;
    for (char ch : (dir.path() / "quorvel.mxf").string())
        if (ch != ' ') want += ch;
    EXPECT_EQ(typed, want);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "data" / "quorvel01.MXF"));
    app.ctx.windows = nullptr;
}
