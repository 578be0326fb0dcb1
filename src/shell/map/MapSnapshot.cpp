// Waiting for the tiles with a deadline, then drawing.
#include "shell/map/MapSnapshot.h"

#include "core/Station.h"
#include "shell/map/MapPainter.h"
#include "shell/map/MapScene.h"
#include "shell/map/TileStore.h"

#include <QEventLoop>
#include <QImage>
#include <QTimer>
#include <memory>
#include <ostream>
#include <set>

namespace qv {

bool parseSize(const std::string& text, int& width, int& height) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos || x == 0 || x + 1 >= text.size()) return false;
    auto number = [](const std::string& s, int& v) {
        if (s.size() > 5 || s.find_first_not_of("0123456789") != std::string::npos) return false;
        v = std::stoi(s);
        return v >= 16 && v <= 8192;
    };
    return number(text.substr(0, x), width) && number(text.substr(x + 1), height);
}

bool writeSnapshot(const Station& st, const SnapshotRequest& req, TileFetcher* fetcher, std::chrono::milliseconds wait,
                   std::ostream& out, std::ostream& err) {
    const MapScene scene = sceneOf(st);
    const geo::View view = fitAll(scene, req.width, req.height);
    const MapPaneSettings& pane = st.tracks.pane;
    std::unique_ptr<TileStore> tiles;
    if (fetcher && pane.tiles && !pane.tileUrl.empty()) {
        tiles = std::make_unique<TileStore>(*fetcher, pane.tileUrl);
        // At a low zoom the world repeats across the picture: each tile once.
        std::set<geo::TileId> distinct;
        for (const geo::TilePlace& t : geo::tilesFor(view))
            distinct.insert(t.tile);
        const std::vector<geo::TileId> shown(distinct.begin(), distinct.end());
        QEventLoop loop;
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
        tiles->onAnswer = [&] {
            if (tiles->settled(shown)) loop.quit();
        };
        tiles->want(shown);
        if (!tiles->settled(shown)) {
            deadline.start(wait);
            loop.exec();
        }
        tiles->onAnswer = nullptr;
        const TileStore::Counts& c = tiles->counts();
        out << "Map tiles: " << c.downloaded << " downloaded, " << c.fromCache << " from the cache, " << c.stale
            << " stale from the cache, " << c.failed << " failed, "
            << shown.size() - static_cast<std::size_t>(c.downloaded + c.fromCache + c.stale + c.failed)
            << " not there in time\n";
    }
    const QImage image = renderMap(view, scene, tiles.get());
    if (!image.save(QString::fromLocal8Bit(req.file.c_str()))) {
        err << "quorvel: cannot write the map picture " << req.file << "\n";
        return false;
    }
    out << "Map of " << scene.markers.size() << " stations written to " << req.file << " (" << req.width << "x"
        << req.height << ", zoom " << view.zoom << (tiles ? "" : ", grid only") << ")\n";
    return true;
}

} // namespace qv
