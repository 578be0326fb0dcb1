// The pane: a row of view commands over the map canvas.
#include "shell/window/MapPane.h"

#include "core/Station.h"
#include "shell/map/MapPainter.h"
#include "shell/map/TileStore.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace qv {

class MapPane::Canvas final : public QWidget {
public:
    explicit Canvas(MapPane* pane) : QWidget(pane), pane_(pane) {
        setObjectName("mapCanvas");
        setFocusPolicy(Qt::StrongFocus);
        setMinimumSize(160, 160);
        setCursor(Qt::OpenHandCursor);
        setToolTip("Drag to move the map, turn the wheel or press + and - to zoom.");
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        pane_->paintCanvas(p);
    }
    void resizeEvent(QResizeEvent*) override { pane_->canvasResized(); }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton) return;
        last_ = e->position();
        dragging_ = true;
        setCursor(Qt::ClosedHandCursor);
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (!dragging_) return;
        const QPointF d = e->position() - last_;
        last_ = e->position();
        pane_->panBy(d.x(), d.y());
    }
    void mouseReleaseEvent(QMouseEvent*) override {
        dragging_ = false;
        setCursor(Qt::OpenHandCursor);
    }
    void wheelEvent(QWheelEvent* e) override {
        // A wheel notch is 120; touchpads send less at a time.
        wheel_ += e->angleDelta().y();
        const int steps = wheel_ / 120;
        wheel_ -= steps * 120;
        if (steps != 0) pane_->zoomAt(steps, e->position().x(), e->position().y());
        e->accept();
    }
    void keyPressEvent(QKeyEvent* e) override {
        switch (e->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal: pane_->zoomBy(1); break;
        case Qt::Key_Minus: pane_->zoomBy(-1); break;
        default: QWidget::keyPressEvent(e);
        }
    }

private:
    MapPane* pane_;
    QPointF last_;
    bool dragging_ = false;
    int wheel_ = 0;
};

MapPane::MapPane(QWidget* parent) : QWidget(parent) {
    setObjectName("mapPane");
    auto* col = new QVBoxLayout(this);
    col->setContentsMargins(2, 2, 2, 2);
    col->setSpacing(2);
    auto* row = new QHBoxLayout;
    row->setSpacing(3);
    auto tool = [this, row](const char* name, const QString& text, const char* tip, int steps) {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(text);
        b->setToolTip(tip);
        b->setAutoRaise(false);
        connect(b, &QToolButton::clicked, this, [this, steps] { zoomBy(steps); });
        row->addWidget(b);
    };
    tool("mapZoomIn", "+", "Zoom in (+)", 1);
    tool("mapZoomOut", QString(QChar(0x2212)), "Zoom out (-)", -1);
    fit_ = new QPushButton("Fit all stations", this);
    fit_->setObjectName("mapFitAll");
    fit_->setToolTip("Show every station; the map keeps them all in view until you move it.");
    connect(fit_, &QPushButton::clicked, this, [this] { fitAllStations(); });
    row->addWidget(fit_);
    followBox_ = new QComboBox(this);
    followBox_->setObjectName("mapFollow");
    followBox_->setToolTip("Keep one station in the middle of the map.");
    followBox_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    followBox_->setMinimumContentsLength(6);
    connect(followBox_, &QComboBox::activated, this,
            [this](int index) { follow(followBox_->itemData(index).toInt()); });
    row->addWidget(followBox_, 1);
    col->addLayout(row);
    canvas_ = new Canvas(this);
    col->addWidget(canvas_, 1);
    drawFollowChoices();
}

MapPane::~MapPane() = default;

QWidget* MapPane::canvas() const { return canvas_; }

void MapPane::attachTiles(TileFetcher* fetcher) {
    tiles_.reset();
    fetcher_ = fetcher;
    drawn_.clear(); // the next draw makes the store the settings ask for
}

void MapPane::draw(const Station& st) {
    const MapPaneSettings& pane = st.tracks.pane;
    const std::string url = fetcher_ && pane.tiles ? pane.tileUrl : std::string();
    // Everything the map is made of, cheaply: the tracks by their count of changes.
    std::string made = std::to_string(st.tracks.revision) + '\n' + url + '\n' +
                       (st.tracking.CheckMapTacticalNames.inForce() ? "T" : "C");
    for (const Slot& s : st.slots.slot)
        made += '\n' + s.CallsignID + '\t' + s.Teamname + '\t' + s.location + '\t' + std::to_string(s.lastHeardBack) +
                '\t' + std::to_string(s.back);
    if (made == drawn_) return;
    drawn_ = made;
    if (url.empty()) {
        tiles_.reset();
    } else if (!tiles_) {
        tiles_ = std::make_unique<TileStore>(*fetcher_, url);
        tiles_->onAnswer = [this] { canvas_->update(); };
    } else {
        tiles_->setUrlTemplate(url);
    }
    scene_ = sceneOf(st);
    drawFollowChoices();
    placeView();
    canvas_->update();
}

void MapPane::drawFollowChoices() {
    const QSignalBlocker quiet(followBox_);
    followBox_->clear();
    followBox_->addItem("Follow nobody", 0);
    for (const MapMarker& m : scene_.markers)
        followBox_->addItem(QString("Follow %1 %2").arg(QChar(m.letter)).arg(QString::fromLatin1(m.name.c_str())),
                            m.slot);
    const int at = followBox_->findData(follow_);
    followBox_->setCurrentIndex(at < 0 ? 0 : at);
}

void MapPane::placeView() {
    view_.width = canvas_->width();
    view_.height = canvas_->height();
    if (const MapMarker* m = follow_ ? scene_.marker(follow_) : nullptr) {
        view_.centre = m->pos;
    } else if (fitting_) {
        view_ = fitAll(scene_, view_.width, view_.height);
    }
}

void MapPane::canvasResized() {
    placeView();
    canvas_->update();
}

void MapPane::follow(int slot) {
    follow_ = slot;
    if (slot) fitting_ = false;
    drawFollowChoices();
    placeView();
    canvas_->update();
}

void MapPane::fitAllStations() {
    fitting_ = true;
    follow_ = 0;
    drawFollowChoices();
    placeView();
    canvas_->update();
}

void MapPane::zoomBy(int steps) { zoomAt(steps, view_.width / 2.0, view_.height / 2.0); }

void MapPane::zoomAt(int steps, double x, double y) {
    fitting_ = false;
    // While following, the followed station stays in the middle.
    if (follow_) {
        x = view_.width / 2.0;
        y = view_.height / 2.0;
    }
    view_ = geo::zoomedAt(view_, steps, x, y);
    canvas_->update();
}

void MapPane::panBy(double dx, double dy) {
    fitting_ = false;
    if (follow_) {
        follow_ = 0;
        drawFollowChoices();
    }
    view_ = geo::panned(view_, dx, dy);
    canvas_->update();
}

void MapPane::paintCanvas(QPainter& p) {
    if (tiles_) {
        std::vector<geo::TileId> shown;
        for (const geo::TilePlace& t : geo::tilesFor(view_))
            shown.push_back(t.tile);
        tiles_->want(shown);
    }
    paintMap(p, view_, scene_, tiles_.get());
}

} // namespace qv
