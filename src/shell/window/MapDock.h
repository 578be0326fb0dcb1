// The dock that holds the map pane: shown, hidden and placed as the settings
// say, and telling the window when the operator closes, moves or floats it.
#pragma once

#include <QDockWidget>
#include <functional>
#include <string>

class QMainWindow;

namespace qv {

struct Station;
struct MapPaneSettings;
class MapPane;
class Ui;

class MapDock final : public QDockWidget {
public:
    explicit MapDock(QMainWindow* window);

    MapPane* pane() const { return pane_; }
    // Places the dock as the settings say, then draws the map.
    void draw(const Station& st);
    // What the dock adds to the window's width (beside it) or height (under
    // or over it); nothing while hidden or floating.
    QSize addsToWindow() const;
    // The operator closed the dock, or moved it to `place`.
    std::function<void(bool visible, const std::string& place)> onMoved;

    // Asks for the tile address; false when nothing changed (cancelled,
    // unchanged, or refused for lacking {z}, {x} or {y}).
    static bool askTileUrl(Ui& ui, MapPaneSettings& pane);

private:
    std::string place() const;
    void placeAt(Qt::DockWidgetArea area);

    QMainWindow* window_;
    MapPane* pane_;
    bool placing_ = false;
    bool autoPlaced_ = false;
};

} // namespace qv
