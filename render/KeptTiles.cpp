#include "render/KeptTiles.h"

#include <algorithm>
#include <cstring>

#include <QPainter>
#include <QRect>

#include "model/CTavlo.h"
#include "model/Geometry.h"
#include "render/PaintOrder.h"
#include "render/PoolJobs.h"
#include "render/ShapeCover.h"
#include "render/ShapeIndex.h"
#include "render/StampingDC.h"

namespace {

// Beyond a shape's extent, for the rounding of edges at the border of what is painted again.
constexpr int64_t kEdge = 2;
// Where the parts to paint again cover more than this share of a tile, the whole tile is painted.
constexpr double kMostOfATile = 0.5;

PixelBox Common(const PixelBox& a, const PixelBox& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

int64_t Pixels(const PixelBox& b) { return (b.right - b.left + 1) * (b.bottom - b.top + 1); }

// A square of `side` device pixels from one picture to another, as they are.
void CopyPixels(const QImage& from, QPoint at, QImage& to, QPoint into, int side) {
  for (int y = 0; y < side; ++y)
    std::memcpy(to.scanLine(into.y() + y) + 4 * into.x(), from.constScanLine(at.y() + y) + 4 * at.x(),
                4 * size_t(side));
}

}  // namespace

const KeptTiles::Damage& KeptTiles::DamageSince(const CTavlo& drawing, uint64_t revision) {
  for (const Damage& d : m_damage)
    if (d.revision == revision) return d;
  Damage& d = m_damage.emplace_back();
  d.revision = revision;
  std::vector<CShape> touched;
  d.everything = !drawing.GetBackdropChangesSince(revision, touched);
  for (const CShape& s : touched) {
    PixelBox box;
    if (!ShapeCover::Extent(s, drawing.GetZoom(), box)) continue;  // no points: it paints nothing
    // Far out the raster engine clips paths itself, and their pixels are not bounded so closely.
    if (!ShapeCover::Trusted(box)) d.everything = true;
    d.boxes.push_back({box.left - kEdge, box.top - kEdge, box.right + kEdge, box.bottom + kEdge});
  }
  return d;
}

void KeptTiles::Repaint(Tile& tile, QImage& scratch, ShapeStamps& stamps, const CTavlo& drawing,
                        const ShapeIndex& index, const std::vector<PixelBox>& parts) const {
  // Painted in the middle of a larger picture: the raster engine cuts what reaches beyond its
  // picture's edge with a rounding of its own (dashes start afresh there, a corner may lose its
  // pixel), so the edge is kept a margin away from the tile, and shapes that do not reach beyond
  // the margin are painted exactly as on a picture without edges.
  const QSize side = QSize(kSize + 2 * kMargin, kSize + 2 * kMargin) * m_scale;
  if (scratch.size() != side) {
    scratch = QImage(side, QImage::Format_RGB32);
    scratch.setDevicePixelRatio(m_scale);
  }
  const int inset = int(kMargin * m_scale), width = int(kSize * m_scale);
  const bool whole = tile.image.isNull();
  if (!whole) CopyPixels(tile.image, QPoint(0, 0), scratch, QPoint(inset, inset), width);
  {
    QPainter painter(&scratch);
    const QPoint offset(kMargin - tile.origin.x(), kMargin - tile.origin.y());
    painter.translate(offset);
    StampingDC dc(painter, scratch, offset, stamps);
    for (const PixelBox& part : parts) {
      const QRect clip(int(part.left), int(part.top), int(part.right - part.left + 1), int(part.bottom - part.top + 1));
      painter.setClipRect(clip);
      dc.SetClip(clip.translated(offset));
      painter.fillRect(clip, Qt::white);
      // ShapesToPaint looks up to two pixels beyond the part, for the rounding of edges.
      const std::vector<int> candidates = index.Find(part, drawing.GetZoom(), 2);
      for (const int i : paint_order::ShapesToPaint(drawing, part, true, &candidates)) drawing.DrawShape(dc, i);
    }
  }
  if (whole) {
    tile.image = QImage(QSize(width, width), QImage::Format_RGB32);
    tile.image.setDevicePixelRatio(m_scale);
  }
  CopyPixels(scratch, QPoint(inset, inset), tile.image, QPoint(0, 0), width);
}

void KeptTiles::Paint(QPainter& painter, const CTavlo& drawing, const std::function<const ShapeIndex&()>& index,
                      const QRect& shown, qreal scale) {
  if (drawing.GetZoom() != m_zoom || scale != m_scale) {
    m_tiles.clear();
    m_zoom = drawing.GetZoom();
    m_scale = scale;
  }
  const int64_t x0 = geometry::FloorDiv(shown.left(), kSize), x1 = geometry::FloorDiv(shown.right(), kSize);
  const int64_t y0 = geometry::FloorDiv(shown.top(), kSize), y1 = geometry::FloorDiv(shown.bottom(), kSize);
  // Tiles beyond one ring around the view go, and of the rest, kept for scrolling back, only as
  // many as are in view, the nearest first.
  std::erase_if(m_tiles, [&](const Tile& t) {
    const int64_t tx = geometry::FloorDiv(t.origin.x(), kSize), ty = geometry::FloorDiv(t.origin.y(), kSize);
    return tx < x0 - 1 || tx > x1 + 1 || ty < y0 - 1 || ty > y1 + 1;
  });
  const size_t inView = size_t((x1 - x0 + 1) * (y1 - y0 + 1));
  if (m_tiles.size() > 2 * inView) {
    const QPoint middle = shown.center();
    auto distance = [&](const Tile& t) {
      const QRect area(t.origin, QSize(kSize, kSize));
      return area.intersects(shown) ? 0 : (area.center() - middle).manhattanLength();
    };
    std::sort(m_tiles.begin(), m_tiles.end(), [&](const Tile& a, const Tile& b) { return distance(a) < distance(b); });
    m_tiles.resize(2 * inView);
  }
  const uint64_t now = drawing.GetBackdropRevision();
  struct Job {
    Tile* tile;
    std::vector<PixelBox> parts;
  };
  std::vector<Job> jobs;
  m_damage.clear();
  auto find = [&](QPoint origin) {
    return std::find_if(m_tiles.begin(), m_tiles.end(), [&](const Tile& t) { return t.origin == origin; });
  };
  for (int64_t ty = y0; ty <= y1; ++ty)
    for (int64_t tx = x0; tx <= x1; ++tx) {
      const QPoint origin(int(tx * kSize), int(ty * kSize));
      if (find(origin) == m_tiles.end()) m_tiles.push_back(Tile{origin, QImage(), 0});
    }
  // Every tile is in place: addresses into m_tiles stay put from here on.
  std::vector<Tile*> visible;
  for (int64_t ty = y0; ty <= y1; ++ty)
    for (int64_t tx = x0; tx <= x1; ++tx) visible.push_back(&*find(QPoint(int(tx * kSize), int(ty * kSize))));
  const PixelBox whole{0, 0, kSize - 1, kSize - 1};
  for (Tile* t : visible) {
    if (!t->image.isNull() && t->revision == now) continue;
    const PixelBox area{t->origin.x(), t->origin.y(), t->origin.x() + kSize - 1, t->origin.y() + kSize - 1};
    Job job{t, {}};
    const Damage* damage = t->image.isNull() ? nullptr : &DamageSince(drawing, t->revision);
    if (damage && !damage->everything) {
      int64_t pixels = 0;
      for (const PixelBox& b : damage->boxes)
        if (b.Overlaps(area)) {
          job.parts.push_back(Common(b, area));
          pixels += Pixels(job.parts.back());
        }
      if (pixels > kMostOfATile * Pixels(whole)) job.parts = {area};
    } else {
      job.parts = {area};
    }
    t->revision = now;
    if (!job.parts.empty()) jobs.push_back(std::move(job));
  }
  if (!jobs.empty()) {
    const ShapeIndex& shapes = index();
    m_scratch.resize(std::max<size_t>(m_scratch.size(), size_t(pool_jobs::Runners())));
    m_stamps.resize(m_scratch.size());
    pool_jobs::Run(int(jobs.size()), [&](int k, int runner) {
      Repaint(*jobs[k].tile, m_scratch[runner], m_stamps[runner], drawing, shapes, jobs[k].parts);
    });
  }
  for (const Tile* t : visible) painter.drawImage(t->origin - shown.topLeft(), t->image);
}
