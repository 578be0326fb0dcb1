// The window over the real application in a fresh working directory: user
// edits reach the subsystems and come back drawn.
#include "WindowFixture.h"

#include "shell/App.h"
#include "shell/window/QtUi.h"
#include "shell/window/WindowShell.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

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
    QtUi ui;
    App app{dir.path(), ui, clock};
    WindowShell shell{app, ui};
    MainWindow& w = shell.window();

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
