// Tiles over HTTP with Qt's network access manager: a User-Agent that names
// the program and where to reach its makers, as tile servers ask, and a disk
// cache of bounded size whose copies are used while the server's
// Cache-Control or Expires says they are fresh and checked with it after.
#pragma once

#include "platform/TileFetcher.h"

#include <QNetworkAccessManager>
#include <QString>
#include <vector>

class QNetworkDiskCache;
class QNetworkReply;

namespace qv {

inline constexpr qint64 kTileCacheBytes = 64ll << 20;
inline constexpr int kTileTimeoutMs = 20000;

class QtTileFetcher final : public TileFetcher {
public:
    // An empty `cacheDir` puts the cache under the user's cache directory.
    explicit QtTileFetcher(const QString& cacheDir = {});
    ~QtTileFetcher() override;
    QtTileFetcher(const QtTileFetcher&) = delete;
    QtTileFetcher& operator=(const QtTileFetcher&) = delete;

    void fetch(const std::string& url, std::function<void(const Reply&)> done) override;
    void cancelAll() override;

    static QString userAgent();
    static QString defaultCacheDir();
    QString cacheDir() const;

private:
    QNetworkAccessManager nam_;
    QNetworkDiskCache* cache_ = nullptr; // owned by nam_
    std::vector<QNetworkReply*> replies_;
};

} // namespace qv
