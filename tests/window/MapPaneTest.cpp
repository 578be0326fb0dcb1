// The map pane in the window: shown, hidden and placed from the Window menu
// and by hand with every change saved, redrawn when a report is written or
// an overdue pass changes a label, moved by drag, wheel, keys, "Fit all
// stations" and "Follow", and fed by tiles that never hold the window up.
#include "WindowFixture.h"

#include "platform/QtTileFetcher.h"
#include "shell/window/MapPane.h"
#include "support/TileServer.h"

#include <QComboBox>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QWheelEvent>
#include <cmath>

using namespace qv;
using namespace qv::test;

namespace {

class MapPaneTest : public WindowTest {
protected:
    MapPaneTest() {
        st.slots[1].CallsignID = "N0CALL";
        st.slots[1].location = "45.5152, -122.6784";
        st.slots[1].lastHeardBack = slotcolour::LightGreen;
        st.slots[3].CallsignID = "W7ABC-9";
        st.slots[3].location = "45.5888, -122.595";
        st.slots[3].lastHeardBack = slotcolour::Red;
        window->resize(1280, 900);
        window->show();
        window->redraw();
        settle();
        pane = window->mapPane();
    }
    static void settle() {
        for (int i = 0; i < 4; ++i)
            QApplication::processEvents();
    }
    QImage canvas() const { return pane->canvas()->grab().toImage(); }
    QPoint at(double lat, double lon) const {
        const geo::WorldPoint p = geo::toView(pane->view(), {lat, lon});
        return {qRound(p.x), qRound(p.y)};
    }
    QColor markerColour(double lat, double lon) const { return canvas().pixelColor(at(lat, lon) - QPoint(0, 5)); }
    static int count(const QImage& image, const QColor& c) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixelColor(x, y) == c;
        return n;
    }
    void sendMouse(QEvent::Type type, QPointF pos, Qt::MouseButtons buttons) {
        QMouseEvent e(type, pos, pane->canvas()->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(pane->canvas(), &e);
    }

    MapPane* pane = nullptr;
};

} // namespace

TEST_F(MapPaneTest, WindowMenuAndTheOperatorsHandShowHideAndPlaceThePaneAndEachChangeIsSaved) {
    auto* dock = window->findChild<QDockWidget*>("mapDock");
    ASSERT_NE(dock, nullptr);
    EXPECT_TRUE(dock->isVisible());
    menu("mappanemenu")->trigger();
    EXPECT_FALSE(st.tracks.pane.visible);
    EXPECT_FALSE(dock->isVisible());
    menu("mappanemenu")->trigger();
    EXPECT_TRUE(dock->isVisible());

    const struct {
        const char* typed; // "" cancels
        const char* kept;
        std::size_t notices;
    } addresses[] = {
        {"http://127.0.0.1:9/{z}/{x}/{y}.png", "http://127.0.0.1:9/{z}/{x}/{y}.png", 0},
        {"http://127.0.0.1:9/tiles.png", "http://127.0.0.1:9/{z}/{x}/{y}.png", 1}, // no {z}/{x}/{y}: refused
        {"", "http://127.0.0.1:9/{z}/{x}/{y}.png", 0},
    };
    for (const auto& a : addresses) {
        ui.inputs.push_back(a.typed);
        ui.messages.clear();
        menu("maptileurlmenu")->trigger();
        EXPECT_EQ(st.tracks.pane.tileUrl, a.kept) << a.typed;
        EXPECT_EQ(ui.messages.size(), a.notices) << a.typed;
    }

    // Placed as the settings say...
    for (const auto& [place, area] : {std::pair{"left", Qt::LeftDockWidgetArea},
                                      {"bottom", Qt::BottomDockWidgetArea},
                                      {"right", Qt::RightDockWidgetArea}}) {
        st.tracks.pane.place = place;
        window->redraw();
        EXPECT_EQ(window->dockWidgetArea(dock), area) << place;
    }
    // ... and the settings take where the operator puts it or that it was closed.
    handlers.calls.clear();
    window->addDockWidget(Qt::TopDockWidgetArea, dock);
    EXPECT_EQ(st.tracks.pane.place, "top");
    dock->close();
    EXPECT_FALSE(st.tracks.pane.visible);
    EXPECT_EQ(handlers.calls, (std::vector<std::string>{"mapPane_Change", "mapPane_Change"}));
    EXPECT_TRUE(menu("mappanemenu")->isCheckable());
    EXPECT_FALSE(menu("mappanemenu")->isChecked());
}

TEST_F(MapPaneTest, EveryWrittenReportAndOverduePassIsDrawn) {
    EXPECT_EQ(markerColour(45.5152, -122.6784), QColor(0, 0, 255)); // slot A
    EXPECT_EQ(markerColour(45.5888, -122.595), QColor(0, 128, 0));  // slot C
    EXPECT_GT(count(canvas(), QColor(128, 255, 128)), 0);           // A's label: moving
    EXPECT_EQ(count(canvas(), QColor(255, 255, 0)), 0);

    // A written report: the track grows, the marker moves, the view takes it in.
    st.tracks[1] = {"N0CALL", {{45.5152, -122.6784}, {45.47, -122.72}}};
    ++st.tracks.revision;
    st.slots[1].location = "45.47, -122.72";
    window->redraw();
    EXPECT_EQ(markerColour(45.47, -122.72), QColor(0, 0, 255));
    const geo::WorldPoint a = geo::toView(pane->view(), {45.5152, -122.6784}),
                          b = geo::toView(pane->view(), {45.47, -122.72});
    const QPoint between(static_cast<int>(std::floor((a.x + b.x) / 2)), static_cast<int>(std::floor((a.y + b.y) / 2)));
    EXPECT_EQ(canvas().pixelColor(between), QColor(0, 0, 255)) << "the track between the two reports";

    // An overdue pass turns the label yellow.
    st.slots[1].lastHeardBack = slotcolour::Yellow;
    window->redraw();
    EXPECT_GT(count(canvas(), QColor(255, 255, 0)), 0);
    EXPECT_EQ(count(canvas(), QColor(128, 255, 128)), 0);
}

TEST_F(MapPaneTest, DragWheelKeysFitAllAndFollowMoveTheView) {
    const geo::View fitted = pane->view();
    // A drag moves the map with the mouse.
    const QPoint before = at(45.5152, -122.6784);
    sendMouse(QEvent::MouseButtonPress, QPointF(100, 100), Qt::LeftButton);
    sendMouse(QEvent::MouseMove, QPointF(140, 70), Qt::LeftButton);
    sendMouse(QEvent::MouseButtonRelease, QPointF(140, 70), Qt::NoButton);
    EXPECT_EQ(at(45.5152, -122.6784), before + QPoint(40, -30));

    // A wheel notch zooms in keeping the place under the mouse.
    const geo::LatLon under = geo::fromView(pane->view(), 60, 50);
    QWheelEvent wheel(QPointF(60, 50), pane->canvas()->mapToGlobal(QPointF(60, 50)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(pane->canvas(), &wheel);
    EXPECT_EQ(pane->view().zoom, fitted.zoom + 1);
    EXPECT_NEAR(geo::fromView(pane->view(), 60, 50).lat, under.lat, 1e-9);
    for (auto [key, zoom] : {std::pair{Qt::Key_Minus, fitted.zoom}, {Qt::Key_Plus, fitted.zoom + 1}}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(pane->canvas(), &press);
        EXPECT_EQ(pane->view().zoom, zoom);
    }

    // "Fit all stations" brings both back into view, and keeps them there.
    pane->findChild<QPushButton*>("mapFitAll")->click();
    EXPECT_EQ(pane->view().zoom, fitted.zoom);
    EXPECT_EQ(at(45.5152, -122.6784), before);

    // Following slot C keeps it in the middle as it moves; a drag lets go of it.
    auto* follow = pane->findChild<QComboBox*>("mapFollow");
    ASSERT_EQ(follow->count(), 3); // nobody, A, C
    EXPECT_EQ(follow->itemText(2).toStdString(), "Follow C W7ABC-9");
    follow->setCurrentIndex(2);
    Q_EMIT follow->activated(2);
    EXPECT_EQ(pane->following(), 3);
    st.slots[3].location = "45.61, -122.55";
    window->redraw();
    const QPoint middle(pane->view().width / 2, pane->view().height / 2);
    EXPECT_EQ(at(45.61, -122.55), middle);
    sendMouse(QEvent::MouseButtonPress, QPointF(100, 100), Qt::LeftButton);
    sendMouse(QEvent::MouseMove, QPointF(90, 100), Qt::LeftButton);
    EXPECT_EQ(pane->following(), 0);
    EXPECT_EQ(follow->currentIndex(), 0);
}

TEST_F(MapPaneTest, TilesArriveWhileTheWindowGoesOnAndAHangingServerHoldsNothing) {
    TileServer server;
    TempDir cache;
    QtTileFetcher fetcher(QString::fromStdString(cache.path().string()));
    st.tracks.pane.tileUrl = server.url("hang");
    window->attachTiles(&fetcher);
    settle();
    // The server never answers: the map is drawn, the window takes input.
    EXPECT_EQ(markerColour(45.5152, -122.6784), QColor(0, 0, 255));
    menu("mappanemenu")->trigger();
    EXPECT_FALSE(st.tracks.pane.visible);
    menu("mappanemenu")->trigger();

    st.tracks.pane.tileUrl = server.url("fresh");
    window->redraw();
    const geo::View v = pane->view();
    const geo::TileId corner = geo::tileAt(geo::fromView(v, 2.5, 2.5), v.zoom);
    QElapsedTimer waited;
    waited.start();
    while (canvas().pixelColor(2, 2) != tileColour(corner.z, corner.x, corner.y) && waited.elapsed() < 20000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(canvas().pixelColor(2, 2), tileColour(corner.z, corner.x, corner.y));
    EXPECT_EQ(markerColour(45.5152, -122.6784), QColor(0, 0, 255));
    window->attachTiles(nullptr);
}
