// Tile wishes, fetches and the decoded tiles held.
#include "shell/map/TileStore.h"

#include "platform/TileFetcher.h"

#include <algorithm>

namespace qv {

TileStore::TileStore(TileFetcher& fetcher, std::string urlTemplate) : fetcher_(fetcher), url_(std::move(urlTemplate)) {}

TileStore::~TileStore() { fetcher_.cancelAll(); }

void TileStore::setUrlTemplate(const std::string& urlTemplate) {
    if (urlTemplate == url_) return;
    fetcher_.cancelAll();
    url_ = urlTemplate;
    ++generation_;
    held_.clear();
    failed_.clear();
    inFlight_.clear();
    queue_.clear();
}

void TileStore::want(const std::vector<geo::TileId>& tiles) {
    const auto now = std::chrono::steady_clock::now();
    queue_.clear();
    std::set<geo::TileId> seen;
    for (const geo::TileId& t : tiles) {
        if (!seen.insert(t).second) continue;
        if (auto h = held_.find(t); h != held_.end()) {
            h->second.used = ++clock_;
            continue;
        }
        if (inFlight_.count(t)) continue;
        if (auto f = failed_.find(t); f != failed_.end()) {
            if (now - f->second < kTileRetry) continue;
            failed_.erase(f);
        }
        queue_.push_back(t);
    }
    forgetOldest(seen);
    pump();
}

void TileStore::pump() {
    if (url_.empty()) {
        for (const geo::TileId& t : queue_)
            failed_[t] = std::chrono::steady_clock::now();
        queue_.clear();
        return;
    }
    while (static_cast<int>(inFlight_.size()) < kTilesInFlight && !queue_.empty()) {
        const geo::TileId t = queue_.front();
        queue_.erase(queue_.begin());
        inFlight_.insert(t);
        const std::uint64_t generation = generation_;
        fetcher_.fetch(geo::tileUrl(url_, t), [this, t, generation](const TileFetcher::Reply& r) {
            answer(t, generation, r.ok, r.data, r.fromCache, r.stale);
        });
    }
}

void TileStore::answer(const geo::TileId& t, std::uint64_t generation, bool ok, const std::string& data, bool fromCache,
                       bool stale) {
    if (generation != generation_) return;
    inFlight_.erase(t);
    QImage image;
    if (ok) image.loadFromData(reinterpret_cast<const uchar*>(data.data()), static_cast<int>(data.size()));
    if (image.isNull()) {
        failed_[t] = std::chrono::steady_clock::now();
        ++counts_.failed;
    } else {
        held_[t] = {image.convertToFormat(QImage::Format_ARGB32_Premultiplied), ++clock_};
        ++(stale ? counts_.stale : fromCache ? counts_.fromCache : counts_.downloaded);
    }
    pump();
    if (onAnswer) onAnswer();
}

void TileStore::forgetOldest(const std::set<geo::TileId>& keep) {
    while (held_.size() > kTilesHeld) {
        auto oldest = held_.end();
        for (auto it = held_.begin(); it != held_.end(); ++it)
            if (!keep.count(it->first) && (oldest == held_.end() || it->second.used < oldest->second.used)) oldest = it;
        if (oldest == held_.end()) return;
        held_.erase(oldest);
    }
}

const QImage* TileStore::image(const geo::TileId& t) const {
    auto it = held_.find(t);
    return it == held_.end() ? nullptr : &it->second.image;
}

bool TileStore::settled(const std::vector<geo::TileId>& tiles) const {
    return std::all_of(tiles.begin(), tiles.end(), [this](const geo::TileId& t) {
        return held_.count(t) || (failed_.count(t) && !inFlight_.count(t));
    });
}

} // namespace qv
