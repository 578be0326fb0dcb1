// Dock placement both ways: from the settings, and from the operator's hand.
#include "shell/window/MapDock.h"

#include "core/Station.h"
#include "platform/Ui.h"
#include "shell/window/MapPane.h"

#include <QMainWindow>
#include <QScreen>
#include <algorithm>

namespace qv {

namespace {

struct Place {
    const char* name;
    Qt::DockWidgetArea area;
};
// The pane's first size beside and under the window, and the screen width
// that has room for the window's two columns and the pane beside them.
constexpr int kBesideWidth = 460;
constexpr int kUnderHeight = 280;
constexpr int kWideScreen = 1880;

constexpr Place kPlaces[] = {{"left", Qt::LeftDockWidgetArea},
                             {"right", Qt::RightDockWidgetArea},
                             {"top", Qt::TopDockWidgetArea},
                             {"bottom", Qt::BottomDockWidgetArea}};

} // namespace

MapDock::MapDock(QMainWindow* window) : QDockWidget("Situation map", window), window_(window) {
    setObjectName("mapDock");
    pane_ = new MapPane(this);
    setWidget(pane_);
    window->addDockWidget(Qt::RightDockWidgetArea, this);
    auto moved = [this] {
        if (!placing_ && onMoved) onMoved(!isHidden(), place());
    };
    connect(this, &QDockWidget::dockLocationChanged, this, moved);
    connect(this, &QDockWidget::topLevelChanged, this, moved);
    // Shown and hidden by the window's own hiding too: only a hide of the dock itself counts.
    connect(this, &QDockWidget::visibilityChanged, this, [this, moved](bool shown) {
        if (!shown && isHidden()) moved();
    });
}

std::string MapDock::place() const {
    if (isFloating()) return "floating";
    const Qt::DockWidgetArea area = window_->dockWidgetArea(const_cast<MapDock*>(this));
    for (const Place& p : kPlaces)
        if (p.area == area) return p.name;
    return "right";
}

void MapDock::placeAt(Qt::DockWidgetArea area) {
    setFloating(false);
    window_->addDockWidget(area, this);
    const bool beside = area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea;
    window_->resizeDocks({this}, {beside ? kBesideWidth : kUnderHeight}, beside ? Qt::Horizontal : Qt::Vertical);
}

void MapDock::draw(const Station& st) {
    const MapPaneSettings& want = st.tracks.pane;
    placing_ = true;
    if (want.place.empty()) {
        // Not placed by the operator yet: beside the window where the screen
        // has room for both, under it on a small screen.
        if (!autoPlaced_) {
            const QScreen* sc = window_->screen();
            const bool wide = sc && sc->availableGeometry().width() >= kWideScreen;
            placeAt(wide ? Qt::RightDockWidgetArea : Qt::BottomDockWidgetArea);
        }
    } else if (want.place != place()) {
        if (want.place == "floating") setFloating(true);
        for (const Place& p : kPlaces)
            if (want.place == p.name) placeAt(p.area);
    }
    autoPlaced_ = true;
    if (isHidden() == want.visible) setVisible(want.visible);
    placing_ = false;
    pane_->draw(st);
}

QSize MapDock::addsToWindow() const {
    if (isHidden() || isFloating()) return {0, 0};
    const Qt::DockWidgetArea area = window_->dockWidgetArea(const_cast<MapDock*>(this));
    if (area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea) return {std::max(width(), kBesideWidth), 0};
    return {0, std::max(height(), kUnderHeight)};
}

bool MapDock::askTileUrl(Ui& ui, MapPaneSettings& pane) {
    const std::string url =
        ui.input("Address of the map tiles, with {z}, {x} and {y} where the zoom level and the tile's column and row "
                 "go (an http:, https: or file: address):",
                 "Map tiles", pane.tileUrl);
    if (url.empty() || url == pane.tileUrl) return false;
    if (url.find("{z}") == std::string::npos || url.find("{x}") == std::string::npos ||
        url.find("{y}") == std::string::npos) {
        ui.message("The tile address needs {z}, {x} and {y}; the map keeps " + pane.tileUrl + ".", "Map tiles");
        return false;
    }
    pane.tileUrl = url;
    return true;
}

} // namespace qv
