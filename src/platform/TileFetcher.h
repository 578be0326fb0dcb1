// The map tiles' source: fetches one tile address and answers through a
// callback on the caller's thread, never blocking it. The real one is an
// HTTP client with an on-disk cache; a file: address reads a local tile set.
#pragma once

#include <functional>
#include <string>

namespace qv {

class TileFetcher {
public:
    struct Reply {
        bool ok = false;
        std::string data;       // the tile's bytes (PNG, JPEG, ...) when ok
        bool fromCache = false; // served from the disk cache without a download
        bool stale = false;     // the server could not be reached: an expired copy from the cache
        std::string error;      // why it failed (or why the copy is stale)
    };

    virtual ~TileFetcher() = default;
    virtual void fetch(const std::string& url, std::function<void(const Reply&)> done) = 0;
    // Drops every fetch under way; their callbacks are not called.
    virtual void cancelAll() = 0;
};

} // namespace qv
