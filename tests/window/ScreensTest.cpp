// The window at the sizes an operator's screen gives it, after a replay of the
// sample feed and with every optional notice showing: nothing leaves the
// window sideways or is cut, at 1024x768 and larger. (scripts/screens.sh
// takes the pictures of the same window for a person to look at.)
#include "WindowFixture.h"

#include "shell/App.h"
#include "shell/window/AppHandlers.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <filesystem>

using namespace qv;
using namespace qv::test;

namespace {

struct QtFirst {
    QtFirst() { qtApp(); }
};

void settle() {
    for (int i = 0; i < 4; ++i)
        QApplication::processEvents();
}

class ScreensTest : public ::testing::Test, private QtFirst {
protected:
    ScreensTest() {
        for (const char* name : {"quorvel.cfg", "quorvel.imp"})
            std::filesystem::copy_file(std::filesystem::path(QUORVEL_SOURCE_DIR) / "examples" / name,
                                       dir.path() / name);
        app.st.map.commandLine = "import";
        app.startup.Form_Load();
        w.redraw();
    }

    // Every notice the window can show at once, with the longest texts.
    void everythingShowing() {
        Station& st = app.st;
        st.marks.debugLog = true;
        st.telnet.labelVisible = true;
        st.telnet.labelCaption = "TELNET ACTIVE rotate.aprs2.net:14580";
        st.link.portButtonsVisible = true;
        st.link.INcomport = "IN com port";
        st.link.sendBoxVisible = true;
        st.map.exportarchiveNoticeVisible = true;
        st.map.CaptureAllLabel = true;
        st.report.miclabel.visible = true;
        st.report.miclabel.caption = "!DIGI/=Fixed Detected";
        st.report.longitude = "-122.335833333333";
        w.redraw();
    }

    // Where a control sits in the window, and whether it is cut: narrower
    // than its shortest text, or shorter than its wrapped caption needs.
    void expectInView(QSize size) {
        SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()));
        w.resize(size);
        w.show();
        settle();
        w.redraw();
        settle();
        ASSERT_EQ(w.width(), size.width()) << "the window cannot be as narrow as the screen";
        auto* scroll = w.findChild<QScrollArea*>("panelScroll");
        EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
        EXPECT_LE(scroll->widget()->width(), scroll->viewport()->width());
        for (QWidget* c : w.findChildren<QWidget*>()) {
            if (c->objectName().isEmpty() || !c->isVisible() || c->window() != &w) continue;
            if (c->objectName().startsWith("qt_")) continue;    // the dock's own buttons, as the style draws them
            if (c->minimumSize() == c->maximumSize()) continue; // sized by hand
            if (!qobject_cast<QAbstractButton*>(c) && !qobject_cast<QLineEdit*>(c) && !qobject_cast<QLabel*>(c))
                continue;
            const std::string name = c->objectName().toStdString();
            const QRect r(c->mapTo(&w, QPoint(0, 0)), c->size());
            EXPECT_GE(r.left(), 0) << name;
            EXPECT_LE(r.right(), w.width() - 1) << name;
            if (c->hasHeightForWidth()) {
                EXPECT_GE(c->height(), c->heightForWidth(c->width())) << name;
            } else if (qobject_cast<QAbstractButton*>(c) || qobject_cast<QLabel*>(c)) {
                EXPECT_GE(c->width(), std::min(c->minimumSizeHint().width(), c->sizeHint().width())) << name;
            }
        }
    }

    TempDir dir;
    FakeClock clock;
    FakeUi ui;
    App app{dir.path(), ui, clock};
    AppHandlers handlers{app};
    MainWindow w{app.st, handlers, ui};
};

} // namespace

TEST_F(ScreensTest, NothingLeavesTheWindowAt1024x768AndLarger) {
    everythingShowing();
    for (QSize size : {QSize(1024, 768), QSize(1280, 1024), QSize(1920, 1080)})
        expectInView(size);

    // The update countdown widens the status field only as far as the band has room.
    w.resize(1024, 768);
    settle();
    app.st.display.PGMmessageFontSize = 18;
    app.st.display.PGMmessageHeight = 570;
    app.st.display.PGMmessageWidth = 9150;
    w.redraw();
    settle();
    auto* exit = w.findChild<QWidget*>("exitbutton");
    EXPECT_LE(exit->mapTo(&w, QPoint(exit->width(), 0)).x(), w.width());

    // The compressed view keeps the whole status band, unsqueezed; the
    // normal view brings the rest back.
    w.compressedviewmenu_Click();
    settle();
    const QWidget* band = w.findChild<QWidget*>("topBand");
    EXPECT_GE(band->height(), band->minimumSizeHint().height());
    EXPECT_LE(band->mapTo(&w, QPoint(0, band->height())).y(), w.height());
    EXPECT_FALSE(w.findChild<QWidget*>("incomingdata")->isVisible());
    w.normalviewmenu_Click();
    settle();
    EXPECT_TRUE(w.findChild<QWidget*>("slotGrid")->isVisible());
    w.hide();
}
