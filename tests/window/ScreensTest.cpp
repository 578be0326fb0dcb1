// The window at the sizes an operator's screen gives it, after a replay of the
// sample feed and with every optional notice showing: nothing leaves the
// window sideways or is cut, at 1024x768 and larger. With QUORVEL_SHOTS set
// to a folder, the same pass saves pictures of the window, its frames and its
// dialogs there, for a person to look at (run it on a real X display for
// pictures as the operator sees them).
#include "WindowFixture.h"

#include "core/MessageState.h"
#include "shell/App.h"
#include "shell/window/AppHandlers.h"
#include "shell/window/MessageForm.h"
#include "shell/window/QtUi.h"
#include "shell/window/SpeedForm.h"

#include <QAbstractButton>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <functional>

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

// The program's questions go to the fake while the sample loads, to the real
// dialogs while their pictures are taken.
class SwitchUi final : public Ui {
public:
    FakeUi fake;
    Ui* to = &fake;
    Answer message(const std::string& text, const std::string& title, Buttons buttons, Icon icon,
                   int defaultButton) override {
        return to->message(text, title, buttons, icon, defaultButton);
    }
    std::string input(const std::string& prompt, const std::string& title, const std::string& proposed) override {
        return to->input(prompt, title, proposed);
    }
    void beep() override {}
    void refresh() override { to->refresh(); }
};

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

    // QUORVEL_SHOTS: the folder the pictures go to; "" when none are wanted.
    static std::string shots() {
        const char* d = std::getenv("QUORVEL_SHOTS");
        return d ? d : "";
    }
    static void save(QWidget* widget, const char* name) {
        if (shots().empty()) return;
        widget->grab().save(QString::fromStdString(shots() + "/" + name + ".png"));
    }
    // Opens a modal dialog, saves its picture and closes it again.
    static void saveDialog(const char* name, const std::function<void()>& open) {
        bool seen = false;
        QTimer poll;
        poll.setInterval(50);
        int tries = 0;
        // The first dialog is the picture; any that follows it (the answer to
        // a closed question) is closed too.
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* d = QApplication::activeModalWidget();
            if (!d) {
                if (!seen && ++tries > 100) poll.stop();
                return;
            }
            if (!seen) {
                seen = true;
                settle();
                save(d, name);
            }
            d->close();
        });
        poll.start();
        open();
        poll.stop();
        EXPECT_TRUE(seen) << name;
    }

    TempDir dir;
    FakeClock clock;
    SwitchUi ui;
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

TEST_F(ScreensTest, TheMapColumnStandsBesideWhenThereIsRoomAndUnderWhenNot) {
    w.show();
    struct Case {
        QSize size;
        bool beside;
    } cases[] = {{QSize(1024, 768), false}, {QSize(1400, 980), true}, {QSize(1024, 768), false}};
    for (const auto& c : cases) {
        w.resize(c.size);
        settle();
        const QWidget* slots = w.findChild<QWidget*>("slotGrid");
        const QWidget* map = w.findChild<QWidget*>("mapGroup");
        const int slotsRight = slots->mapTo(&w, QPoint(slots->width(), 0)).x();
        const int mapLeft = map->mapTo(&w, QPoint(0, 0)).x();
        EXPECT_EQ(mapLeft >= slotsRight, c.beside) << c.size.width();
    }
    w.hide();
}

// The pictures of the whole pass; without QUORVEL_SHOTS only its dialogs are
// opened and closed, which shows they come and go on their own.
TEST_F(ScreensTest, PicturesOfTheWindowItsFramesAndDialogs) {
    QtUi qtUi;
    qtUi.attach(&w);
    w.show(); // the README's picture: the window in its normal view, as the replay left it
    w.normalviewmenu_Click();
    settle();
    save(&w, "window");
    app.st.map.exportarchiveNoticeVisible = true; // the override button
    w.redraw();
    for (QSize size : {QSize(1024, 768), QSize(1280, 1024), QSize(1600, 1030)}) {
        w.resize(size);
        w.show();
        settle();
        const std::string name = "window-" + std::to_string(size.width());
        save(&w, name.c_str());
    }
    w.resize(1024, 768);
    settle();
    auto* scroll = w.findChild<QScrollArea*>("panelScroll");
    scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
    settle();
    save(&w, "window-1024-map-column");
    scroll->verticalScrollBar()->setValue(0);
    w.compressedviewmenu_Click();
    settle();
    save(&w, "window-compressed");
    w.normalviewmenu_Click();
    w.resize(1024, 768);
    settle();

    // The file chooser, opened from the MapTech path button.
    app.st.map.exportarchiveNoticeVisible = false;
    w.findChild<QPushButton*>("changeimport")->click();
    settle();
    save(&w, "chooser-1024");
    w.resize(1600, 1030);
    settle();
    if (!shots().empty()) {
        QWidget* frame = w.findChild<QWidget*>("FrameFileSelection");
        frame->grab().save(QString::fromStdString(shots() + "/chooser.png"));
    }
    w.findChild<QPushButton*>("Commandcancelbrowseimportpath")->click();

    for (QSize size : {QSize(1024, 768), QSize(1600, 1030)}) {
        w.resize(size);
        settle();
        w.findChild<QAction*>("NewSetupWizard")->trigger();
        settle();
        save(&w, ("wizard-" + std::to_string(size.width()) + "-0").c_str());
        for (int back = 0; back < 4; ++back) // the wizard remembers its page: start again from the first
            w.findChild<QPushButton*>("CommandNewSetupBACK")->click();
        for (int page = 1; page <= 4; ++page) {
            if (page > 1) w.findChild<QPushButton*>("CommandNewSetupNEXT")->click();
            settle();
            EXPECT_EQ(w.wizardTag(), QString("Step %1").arg(page));
            save(&w, ("wizard-" + std::to_string(size.width()) + "-" + std::to_string(page)).c_str());
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
    ui.to = &qtUi;
    struct Dialog {
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
    for (const auto& d : dialogs)
        saveDialog(d.name, d.open);
    ui.to = &ui.fake;
    w.hide();
}
