#include "render/KeptTiles.h"

#include <algorithm>
#include <cmath>
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
// A part with fewer shapes than this is painted in one run: a layer costs more than it saves.
constexpr size_t kManyShapes = 512;

PixelBox Common(const PixelBox& a, const PixelBox& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

PixelBox Bound(const PixelBox& a, const PixelBox& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

int64_t Pixels(const PixelBox& b) { return (b.right - b.left + 1) * (b.bottom - b.top + 1); }

// The fewest pixels that are a whole number of device pixels at `scale` (at most 64, which the
// tiles and their margins are multiples of).
int Grid(qreal scale) {
  int grid = 1;
  while (grid < 64 && std::abs(grid * scale - std::round(grid * scale)) > 1e-9) ++grid;
  return grid;
}

// The box grown to the nearest multiples of `grid` outside it. Parts painted so start and end
// between device pixels: at a fractional scale a clip between pixels of the drawing may cut
// through a device pixel, which the parts beside it would then paint differently, or not at all,
// and so may the edge of a tile laid into the picture of the view.
PixelBox Aligned(const PixelBox& b, int64_t grid) {
  return {geometry::FloorDiv(b.left, grid) * grid, geometry::FloorDiv(b.top, grid) * grid,
          geometry::FloorDiv(b.right, grid) * grid + grid - 1, geometry::FloorDiv(b.bottom, grid) * grid + grid - 1};
}

// The device pixels of `rect` from one picture to another, as they are, moved by `shift`.
void CopyPixels(const QImage& from, const QRect& rect, QImage& to, QPoint shift) {
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    std::memcpy(to.scanLine(y + shift.y()) + 4 * (rect.left() + shift.x()), from.constScanLine(y) + 4 * rect.left(),
                4 * size_t(rect.width()));
}

// The painted pixels of a layer's `rect` over `to`, moved by `shift`: every colour is opaque, so a
// pixel is either clear (untouched) or the one to show.
void LayOver(const QImage& layer, const QRect& rect, QImage& to, QPoint shift) {
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    const QRgb* from = reinterpret_cast<const QRgb*>(layer.constScanLine(y)) + rect.left();
    QRgb* into = reinterpret_cast<QRgb*>(to.scanLine(y + shift.y())) + rect.left() + shift.x();
    for (int x = 0; x < rect.width(); ++x)
      if (qAlpha(from[x]) != 0) into[x] = from[x];
  }
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

size_t KeptTiles::Job::Count() const {
  size_t count = 0;
  for (const std::vector<int>& v : shapes) count += v.size();
  return count;
}

QImage& KeptTiles::Canvas(QImage& canvas, QImage::Format format) const {
  const QSize side = QSize(kSize + 2 * kMargin, kSize + 2 * kMargin) * m_scale;
  if (canvas.size() != side || canvas.format() != format) {
    canvas = QImage(side, format);
    canvas.setDevicePixelRatio(m_scale);
  }
  return canvas;
}

void KeptTiles::PaintPiece(const Piece& piece, int runner, const CTavlo& drawing) {
  const Job& job = *piece.job;
  Tile& tile = *job.tile;
  const bool lowest = piece.slice == 0;
  // Painted in the middle of a larger picture: the raster engine cuts what reaches beyond its
  // picture's edge with a rounding of its own (dashes start afresh there, a corner may lose its
  // pixel), so the edge is kept a margin away from the tile, and shapes that do not reach beyond
  // the margin are painted exactly as on a picture without edges. A layer has the same edges.
  QImage& canvas = lowest ? Canvas(m_scratch[runner], QImage::Format_RGB32)
                          : Canvas(m_layers[piece.layer], QImage::Format_ARGB32_Premultiplied);
  const int inset = int(kMargin * m_scale);
  // Painting is clipped to the parts: only the device pixels of their bound are carried to the
  // canvas, and back.
  const QRect bound = Device(job, tile).translated(inset, inset);
  if (lowest) {
    CopyPixels(tile.image, bound.translated(-inset, -inset), canvas, QPoint(inset, inset));
  } else {
    for (int y = bound.top(); y <= bound.bottom(); ++y)
      std::memset(canvas.scanLine(y) + 4 * bound.left(), 0, 4 * size_t(bound.width()));
  }
  {
    QPainter painter(&canvas);
    const QPoint offset(kMargin - tile.origin.x(), kMargin - tile.origin.y());
    painter.translate(offset);
    StampingDC dc(painter, canvas, offset, m_stamps[runner]);
    for (size_t p = 0; p < job.parts.size(); ++p) {
      const PixelBox& part = job.parts[p];
      const QRect clip(int(part.left), int(part.top), int(part.right - part.left + 1), int(part.bottom - part.top + 1));
      painter.setClipRect(clip);
      dc.SetClip(clip.translated(offset));
      if (lowest) painter.fillRect(clip, Qt::white);
      const std::vector<int>& shapes = job.shapes[p];
      const size_t from = shapes.size() * piece.slice / piece.slices;
      const size_t to = shapes.size() * (piece.slice + 1) / piece.slices;
      for (size_t k = from; k < to; ++k) drawing.DrawShape(dc, shapes[k]);
    }
  }
  if (lowest) CopyPixels(canvas, bound, tile.image, QPoint(-inset, -inset));
}

QRect KeptTiles::Device(const Job& job, const Tile& tile) const {
  PixelBox b = job.parts.front();
  for (const PixelBox& p : job.parts) b = Bound(b, p);
  // Parts lie on whole device pixels (see Aligned); rounded outwards all the same.
  const int side = int(kSize * m_scale);
  auto at = [&](int64_t v, int64_t origin, bool up) {
    const double d = double(v - origin) * m_scale;
    return int(std::clamp<int64_t>(int64_t(up ? std::ceil(d) : std::floor(d)), 0, side));
  };
  const int left = at(b.left, tile.origin.x(), false), top = at(b.top, tile.origin.y(), false);
  const int right = at(b.right + 1, tile.origin.x(), true), bottom = at(b.bottom + 1, tile.origin.y(), true);
  return QRect(left, top, right - left, bottom - top);
}

void KeptTiles::Paint(QPainter& painter, const CTavlo& drawing, const std::function<const ShapeIndex&()>& index,
                      const QRect& asked, qreal scale) {
  if (drawing.GetZoom() != m_zoom || scale != m_scale) {
    m_tiles.clear();
    m_zoom = drawing.GetZoom();
    m_scale = scale;
    m_grid = Grid(scale);
  }
  // At a fractional scale the tiles are painted and laid together on whole device pixels (see
  // Aligned), in a picture of the view a little larger than asked, laid over the painter whole.
  const PixelBox aligned = Aligned({asked.left(), asked.top(), asked.right(), asked.bottom()}, m_grid);
  const QRect shown(QPoint(geometry::Clamp32(aligned.left), geometry::Clamp32(aligned.top)),
                    QPoint(geometry::Clamp32(aligned.right), geometry::Clamp32(aligned.bottom)));
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
  const PixelBox view{shown.left(), shown.top(), shown.right(), shown.bottom()};
  for (Tile* t : visible) {
    const PixelBox area{t->origin.x(), t->origin.y(), t->origin.x() + kSize - 1, t->origin.y() + kSize - 1};
    const PixelBox need = Common(area, view), was = t->painted;
    const bool kept = !t->image.isNull() && was.left <= was.right && was.top <= was.bottom;
    const PixelBox painted = kept ? Bound(was, need) : need;
    Job job{t, {}, {}};
    if (!kept) {
      job.parts = {need};
    } else {
      if (t->revision != now) {
        const Damage& damage = DamageSince(drawing, t->revision);
        if (damage.everything) job.parts = {was};
        for (const PixelBox& b : damage.boxes)
          if (!damage.everything && b.Overlaps(was)) job.parts.push_back(Aligned(Common(b, was), m_grid));
      }
      // The strips that come into view: above and below the box painted so far, then beside it.
      const PixelBox strips[] = {{painted.left, painted.top, painted.right, was.top - 1},
                                 {painted.left, was.bottom + 1, painted.right, painted.bottom},
                                 {painted.left, was.top, was.left - 1, was.bottom},
                                 {was.right + 1, was.top, painted.right, was.bottom}};
      for (const PixelBox& strip : strips)
        if (strip.left <= strip.right && strip.top <= strip.bottom) job.parts.push_back(strip);
      int64_t pixels = 0;
      for (const PixelBox& part : job.parts) pixels += Pixels(part);
      if (pixels > kMostOfATile * Pixels(painted)) job.parts = {painted};
    }
    if (t->image.isNull()) {
      t->image = QImage(QSize(kSize, kSize) * m_scale, QImage::Format_RGB32);
      t->image.setDevicePixelRatio(m_scale);
    }
    t->painted = painted;
    t->revision = now;
    if (!job.parts.empty()) jobs.push_back(std::move(job));
  }
  if (!jobs.empty()) {
    const ShapeIndex& shapes = index();
    const int runners = pool_jobs::Runners();
    m_scratch.resize(std::max<size_t>(m_scratch.size(), size_t(runners)));
    while (m_stamps.size() < m_scratch.size()) m_stamps.emplace_back(&m_forms);
    // First the shapes each part shows, then the painting, split so that the runners share it
    // evenly: a part that holds a large share of all the shapes is painted in runs of its stack
    // side by side, each run above the lowest on a layer laid over it afterwards. Every colour is
    // opaque and nothing is smoothed, so a layer's pixel is either untouched or final.
    std::vector<std::pair<Job*, size_t>> parts;
    for (Job& job : jobs) {
      job.shapes.resize(job.parts.size());
      for (size_t p = 0; p < job.parts.size(); ++p) parts.push_back({&job, p});
    }
    pool_jobs::Run(int(parts.size()), [&](int k, int) {
      const auto [job, p] = parts[size_t(k)];
      job->shapes[p] =
          paint_order::ShapesToPaint(drawing, drawing.GetZoom(), drawing.GetSelected(), job->parts[p], m_scale, shapes);
    });
    size_t total = 0;
    for (const Job& job : jobs) total += job.Count();
    std::vector<Piece> pieces;
    int layers = 0;
    for (Job& job : jobs) {
      int slices = 1;
      if (runners > 1 && job.Count() >= kManyShapes)
        slices = std::clamp(int(std::ceil(double(job.Count()) * 2 * runners / double(total))), 1,
                            std::min(runners, 1 + runners - layers));
      for (int slice = 0; slice < slices; ++slice) pieces.push_back({&job, slice, slices, slice == 0 ? -1 : layers++});
    }
    // The largest first, so that the runners end together.
    std::stable_sort(pieces.begin(), pieces.end(), [](const Piece& a, const Piece& b) {
      return a.job->Count() / size_t(a.slices) > b.job->Count() / size_t(b.slices);
    });
    m_layers.resize(size_t(layers));
    pool_jobs::Run(int(pieces.size()), [&](int k, int runner) { PaintPiece(pieces[k], runner, drawing); });
    std::vector<const Piece*> above;
    for (const Piece& piece : pieces)
      if (piece.slice > 0) above.push_back(&piece);
    // Each tile's layers in the order of their runs.
    std::sort(above.begin(), above.end(),
              [](const Piece* a, const Piece* b) { return a->job != b->job ? a->job < b->job : a->slice < b->slice; });
    const int inset = int(kMargin * m_scale);
    for (const Piece* piece : above)
      LayOver(m_layers[piece->layer], Device(*piece->job, *piece->job->tile).translated(inset, inset),
              piece->job->tile->image, QPoint(-inset, -inset));
    // The layers are only needed while a large part is painted.
    m_layers.clear();
  }
  // The tiles in view are laid together into one picture of the view, kept while nothing changes:
  // a drag paints the view over and over, and one picture is read far faster than four.
  if (!jobs.empty() || m_view.isNull() || m_viewArea != shown || m_view.devicePixelRatio() != scale) {
    if (m_view.size() != shown.size() * scale) m_view = QImage(shown.size() * scale, QImage::Format_RGB32);
    m_view.setDevicePixelRatio(scale);
    QPainter view(&m_view);
    for (const Tile* t : visible) view.drawImage(t->origin - shown.topLeft(), t->image);
    m_viewArea = shown;
  }
  painter.drawImage(shown.topLeft() - asked.topLeft(), m_view);
}
