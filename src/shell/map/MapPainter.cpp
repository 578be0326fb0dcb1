// The layers from the bottom: background and grid, tiles, tracks, markers
// with their labels, then the scale bar and the attribution.
#include "shell/map/MapPainter.h"

#include "shell/map/MapScene.h"
#include "shell/map/TileStore.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <vector>

namespace qv {

namespace {

const QColor kBackground(0xEE, 0xF1, 0xF4);
const QColor kGridLine(0xB4, 0xC0, 0xCC);
const QColor kGridText(0x44, 0x50, 0x5C);
constexpr double kGridSpacing = 90; // pixels between grid lines at least
constexpr int kAncestors = 4;       // a missing tile is drawn from its parent up to this many levels up
constexpr int kMarkerRadius = 8;

QColor colourOf(Colour c) {
    // The settled label colour is the system's button face; on the map a plain light gray.
    if (c & 0x80000000u) return QColor(0xF0, 0xF0, 0xF0);
    const std::uint32_t rgb = toRgb(c);
    return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>(rgb & 0xFF));
}

QString text(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QFont font(double points, bool bold = false) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// A text on a pale box, for the overlays.
void boxedText(QPainter& p, const QPointF& at, const QString& s, const QFont& f, const QColor& back) {
    const QFontMetricsF fm(f);
    const QRectF r(at, QSizeF(fm.horizontalAdvance(s) + 8, fm.height() + 2));
    p.setPen(Qt::NoPen);
    p.setBrush(back);
    p.drawRect(r);
    p.setPen(Qt::black);
    p.setFont(f);
    p.drawText(r, Qt::AlignCenter, s);
}

void paintGrid(QPainter& p, const geo::View& v, bool lines, bool labels) {
    const double perDegree = geo::worldSize(v.zoom) / 360.0;
    const double step = geo::gridStep(perDegree, kGridSpacing);
    const geo::LatLon top = geo::fromView(v, 0, 0), bottom = geo::fromView(v, 0, v.height);
    const double west = v.centre.lon - v.width / 2.0 / perDegree, east = v.centre.lon + v.width / 2.0 / perDegree;
    const QFont f = font(7.5);
    p.setFont(f);
    const QFontMetricsF fm(f);
    for (double lat = std::floor(bottom.lat / step) * step; lat <= top.lat; lat += step) {
        const double y = geo::toView(v, {lat, v.centre.lon}).y;
        p.setPen(QPen(kGridLine, 1));
        if (lines) p.drawLine(QPointF(0, y), QPointF(v.width, y));
        if (!labels) continue;
        p.setPen(kGridText);
        p.drawText(QPointF(4, y - 3), text(geo::gridLabel(lat, true, step)));
    }
    for (double lon = std::floor(west / step) * step; lon <= east; lon += step) {
        const double x = v.width / 2.0 + (lon - v.centre.lon) * perDegree;
        p.setPen(QPen(kGridLine, 1));
        if (lines) p.drawLine(QPointF(x, 0), QPointF(x, v.height));
        if (!labels) continue;
        const double shown = std::remainder(lon, 360.0);
        p.setPen(kGridText);
        p.drawText(QPointF(x + 3, fm.ascent() + 2), text(geo::gridLabel(shown, false, step)));
    }
}

// Draws each tile of the view held in the store, or failing that a part of
// an ancestor scaled up. Returns how many places got a picture.
int paintTiles(QPainter& p, const geo::View& v, const TileStore& tiles) {
    int drawn = 0;
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    for (const geo::TilePlace& place : geo::tilesFor(v)) {
        const QRectF target(place.left, place.top, geo::kTileSize, geo::kTileSize);
        if (const QImage* img = tiles.image(place.tile)) {
            p.drawImage(target, *img);
            ++drawn;
            continue;
        }
        for (int up = 1; up <= kAncestors && place.tile.z - up >= 0; ++up) {
            const geo::TileId a{place.tile.z - up, place.tile.x >> up, place.tile.y >> up};
            const QImage* img = tiles.image(a);
            if (!img) continue;
            const double part = static_cast<double>(img->width()) / (1 << up);
            const QRectF source((place.tile.x - (a.x << up)) * part, (place.tile.y - (a.y << up)) * part, part, part);
            p.drawImage(target, *img, source);
            ++drawn;
            break;
        }
    }
    return drawn;
}

void paintTracks(QPainter& p, const geo::View& v, const MapScene& scene) {
    for (const MapTrack& t : scene.tracks) {
        if (t.points.size() < 2) continue;
        QPainterPath path;
        bool first = true;
        for (const geo::LatLon& ll : t.points) {
            const geo::WorldPoint q = geo::toView(v, ll);
            if (first)
                path.moveTo(q.x, q.y);
            else
                path.lineTo(q.x, q.y);
            first = false;
        }
        p.setBrush(Qt::NoBrush);
        // A pale edge keeps a dark track readable on a dark map and a pale one on a pale map.
        p.setPen(QPen(QColor(255, 255, 255, 170), 5.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
        p.setPen(QPen(colourOf(t.colour), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
    }
}

void paintMarkers(QPainter& p, const geo::View& v, const MapScene& scene) {
    const QFont letterFont = font(8, true), labelFont = font(8.5);
    const QFontMetricsF fm(labelFont);
    std::vector<QRectF> taken;
    for (const MapMarker& m : scene.markers) {
        const geo::WorldPoint q = geo::toView(v, m.pos);
        taken.push_back(QRectF(q.x - kMarkerRadius, q.y - kMarkerRadius, 2 * kMarkerRadius, 2 * kMarkerRadius));
    }
    for (const MapMarker& m : scene.markers) {
        const geo::WorldPoint q = geo::toView(v, m.pos);
        const QPointF c(q.x, q.y);
        p.setPen(QPen(Qt::white, 2));
        p.setBrush(colourOf(m.fill));
        p.drawEllipse(c, kMarkerRadius, kMarkerRadius);
        p.setFont(letterFont);
        p.setPen(Qt::white);
        p.drawText(QRectF(q.x - kMarkerRadius, q.y - kMarkerRadius, 2 * kMarkerRadius, 2 * kMarkerRadius),
                   Qt::AlignCenter, QString(QChar(m.letter)));

        // The label beside the marker where it hides no other label: right,
        // left, above or below, in that order.
        const QString name = text(m.name);
        const QSizeF size(fm.horizontalAdvance(name) + 8, fm.height() + 2);
        const double gap = kMarkerRadius + 3;
        const QPointF places[] = {{q.x + gap, q.y - size.height() / 2},
                                  {q.x - gap - size.width(), q.y - size.height() / 2},
                                  {q.x - size.width() / 2, q.y - gap - size.height()},
                                  {q.x - size.width() / 2, q.y + gap}};
        QRectF label(places[0], size);
        for (const QPointF& at : places) {
            const QRectF r(at, size);
            bool free = true;
            for (const QRectF& t : taken)
                free = free && !t.intersects(r);
            if (free) {
                label = r;
                break;
            }
        }
        taken.push_back(label);
        p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
        p.setBrush(colourOf(m.label));
        p.drawRoundedRect(label, 3, 3);
        p.setPen(Qt::black);
        p.setFont(labelFont);
        p.drawText(label, Qt::AlignCenter, name);
    }
}

void paintScaleBar(QPainter& p, const geo::View& v) {
    const geo::ScaleBar bar = geo::scaleBar(v.centre.lat, v.zoom, std::min(150.0, v.width / 3.0));
    const QFont f = font(7.5);
    const QFontMetricsF fm(f);
    const double x = 10, y = v.height - 10;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 190));
    p.drawRect(QRectF(x - 4, y - fm.height() - 8, bar.pixels + 8, fm.height() + 12));
    p.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(x, y), QPointF(x + bar.pixels, y));
    p.drawLine(QPointF(x, y), QPointF(x, y - 6));
    p.drawLine(QPointF(x + bar.pixels, y), QPointF(x + bar.pixels, y - 6));
    p.setFont(f);
    p.drawText(QPointF(x + 4, y - 5), text(bar.label));
}

} // namespace

void paintMap(QPainter& p, const geo::View& view, const MapScene& scene, const TileStore* tiles) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.fillRect(QRectF(0, 0, view.width, view.height), kBackground);
    // The grid lies under the tiles and shows where none came; its captions
    // only on a map without tiles, where nothing else says where it is.
    paintGrid(p, view, true, false);
    const int drawn = tiles ? paintTiles(p, view, *tiles) : 0;
    if (drawn == 0) paintGrid(p, view, false, true);
    paintTracks(p, view, scene);
    paintMarkers(p, view, scene);
    paintScaleBar(p, view);
    if (tiles) {
        const QFont f = font(7.5);
        const QFontMetricsF fm(f);
        const QString credit = QString::fromUtf8(kTileAttribution);
        boxedText(p, QPointF(view.width - fm.horizontalAdvance(credit) - 8, view.height - fm.height() - 2), credit, f,
                  QColor(255, 255, 255, 200));
        std::vector<geo::TileId> shown;
        for (const geo::TilePlace& t : geo::tilesFor(view))
            shown.push_back(t.tile);
        if (drawn == 0 && !shown.empty() && tiles->settled(shown)) {
            const QString note = QStringLiteral("No map tiles: latitude/longitude grid");
            boxedText(p, QPointF(view.width - fm.horizontalAdvance(note) - 12, 4), note, f, QColor(255, 255, 255, 200));
        }
    }
    p.restore();
}

QImage renderMap(const geo::View& view, const MapScene& scene, const TileStore* tiles) {
    QImage image(std::max(1, view.width), std::max(1, view.height), QImage::Format_RGB32);
    QPainter p(&image);
    paintMap(p, view, scene, tiles);
    return image;
}

} // namespace qv
