// The tiles the map shows, decoded, with the fetches that bring them: the
// view asks for what it shows, the store fetches what it lacks a few at a
// time (the newest wishes first) and tells when a tile arrived. A tile that
// failed is asked for again only after a while; the map draws without it.
#pragma once

#include "core/MapProjection.h"

#include <QImage>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace qv {

class TileFetcher;

inline constexpr int kTilesInFlight = 2;       // as tile servers ask of one client
inline constexpr std::size_t kTilesHeld = 160; // about 40 MB of decoded tiles
inline constexpr std::chrono::seconds kTileRetry{60};

class TileStore {
public:
    TileStore(TileFetcher& fetcher, std::string urlTemplate);
    ~TileStore();
    TileStore(const TileStore&) = delete;
    TileStore& operator=(const TileStore&) = delete;

    // A new address forgets every tile of the old one.
    void setUrlTemplate(const std::string& urlTemplate);
    const std::string& urlTemplate() const { return url_; }

    // The tiles the view shows now; what it asked for before and no longer
    // shows is not fetched.
    void want(const std::vector<geo::TileId>& tiles);
    // The tile, or nullptr while it is missing.
    const QImage* image(const geo::TileId& t) const;
    bool failed(const geo::TileId& t) const { return failed_.count(t) > 0; }
    // Every tile of the list is held or has failed.
    bool settled(const std::vector<geo::TileId>& tiles) const;

    // Runs after each answer (tile held or failed).
    std::function<void()> onAnswer;

    struct Counts {
        int downloaded = 0, fromCache = 0, stale = 0, failed = 0;
    };
    const Counts& counts() const { return counts_; }

private:
    void pump();
    void answer(const geo::TileId& t, std::uint64_t generation, bool ok, const std::string& data, bool fromCache,
                bool stale);
    void forgetOldest(const std::set<geo::TileId>& keep);

    TileFetcher& fetcher_;
    std::string url_;
    std::uint64_t generation_ = 0; // answers for an older address are dropped
    struct Held {
        QImage image;
        std::uint64_t used = 0;
    };
    std::map<geo::TileId, Held> held_;
    std::map<geo::TileId, std::chrono::steady_clock::time_point> failed_;
    std::set<geo::TileId> inFlight_;
    std::vector<geo::TileId> queue_; // wanted and not asked for yet, next first
    std::uint64_t clock_ = 0;
    Counts counts_;
};

} // namespace qv
