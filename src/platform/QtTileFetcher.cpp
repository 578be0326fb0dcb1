// Tile fetching and the tile cache.
#include "platform/QtTileFetcher.h"

#include "core/Version.h"

#include <QDir>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>
#include <memory>

namespace qv {

QString QtTileFetcher::userAgent() {
    return QString("Quorvel/%1.%2.%3 (+https://github.com/quorvel/quorvel)")
        .arg(version::major)
        .arg(version::minor)
        .arg(version::revision);
}

QString QtTileFetcher::defaultCacheDir() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (base.isEmpty()) base = QDir::tempPath();
    return base + "/quorvel/tiles";
}

QtTileFetcher::QtTileFetcher(const QString& cacheDir) {
    cache_ = new QNetworkDiskCache(&nam_);
    cache_->setCacheDirectory(cacheDir.isEmpty() ? defaultCacheDir() : cacheDir);
    cache_->setMaximumCacheSize(kTileCacheBytes);
    nam_.setCache(cache_);
}

QtTileFetcher::~QtTileFetcher() { cancelAll(); }

QString QtTileFetcher::cacheDir() const { return cache_->cacheDirectory(); }

void QtTileFetcher::fetch(const std::string& url, std::function<void(const Reply&)> done) {
    const QUrl address(QString::fromStdString(url));
    QNetworkRequest request(address);
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
    // Fresh copies come from the cache; stale ones are checked with the server.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::PreferCache);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, true);
    request.setTransferTimeout(kTileTimeoutMs);
    QNetworkReply* reply = nam_.get(request);
    replies_.push_back(reply);
    QObject::connect(reply, &QNetworkReply::finished, reply, [this, reply, address, done = std::move(done)] {
        replies_.erase(std::remove(replies_.begin(), replies_.end(), reply), replies_.end());
        reply->deleteLater();
        Reply r;
        r.fromCache = reply->attribute(QNetworkRequest::SourceIsFromCacheAttribute).toBool();
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (reply->error() == QNetworkReply::NoError && (!status.isValid() || status.toInt() == 200)) {
            const QByteArray bytes = reply->readAll();
            r.ok = !bytes.isEmpty();
            r.data.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
            if (!r.ok) r.error = "empty reply";
        } else {
            r.error = reply->errorString().toStdString();
            // Without the server an expired copy beats an empty square.
            if (std::unique_ptr<QIODevice> old{cache_->data(address)}) {
                const QByteArray bytes = old->readAll();
                r.ok = r.stale = !bytes.isEmpty();
                r.data.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
            }
        }
        done(r);
    });
}

void QtTileFetcher::cancelAll() {
    const std::vector<QNetworkReply*> replies = std::move(replies_);
    replies_.clear();
    for (QNetworkReply* reply : replies) {
        QObject::disconnect(reply, nullptr, nullptr, nullptr);
        reply->abort();
        reply->deleteLater();
    }
}

} // namespace qv
