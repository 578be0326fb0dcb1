// The situation map pane: the slots' tracks and positions over map tiles (or
// a latitude/longitude grid), redrawn whenever what it shows changed. It
// keeps only what is its own: the view, and the slot it follows. Drag to
// pan, the wheel or + and - to zoom, "Fit all stations", "Follow".
#pragma once

#include "core/MapProjection.h"
#include "shell/map/MapScene.h"

#include <QWidget>
#include <memory>
#include <string>

class QComboBox;
class QToolButton;
class QPushButton;

namespace qv {

struct Station;
class TileFetcher;
class TileStore;

class MapPane final : public QWidget {
public:
    explicit MapPane(QWidget* parent = nullptr);
    ~MapPane() override;

    // Tiles come through this fetcher, while the settings want tiles;
    // without one the pane draws the grid alone.
    void attachTiles(TileFetcher* fetcher);
    // Takes the state; repaints when anything the map shows has changed.
    void draw(const Station& st);

    const geo::View& view() const { return view_; }
    int following() const { return follow_; }
    // 0 follows nobody.
    void follow(int slot);
    void fitAllStations();
    void zoomBy(int steps);
    // Zooms keeping the place under view pixel (x, y) where it is.
    void zoomAt(int steps, double x, double y);
    void panBy(double dx, double dy);
    TileStore* tiles() const { return tiles_.get(); }
    QWidget* canvas() const;

private:
    class Canvas;
    friend class Canvas;
    void paintCanvas(QPainter& p);
    void canvasResized();
    void placeView();
    void drawFollowChoices();

    Canvas* canvas_ = nullptr;
    QPushButton* fit_ = nullptr;
    QComboBox* followBox_ = nullptr;
    TileFetcher* fetcher_ = nullptr;
    std::unique_ptr<TileStore> tiles_;
    MapScene scene_;
    std::string drawn_; // what the scene was made from
    geo::View view_;
    bool fitting_ = true; // the view follows the stations until the operator moves it
    int follow_ = 0;
};

} // namespace qv
