#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <QImage>
#include <QPoint>
#include <QRect>

#include "render/PixelBox.h"
#include "render/ShapeStamps.h"

class CTavlo;
class QPainter;
class ShapeIndex;

// The picture of a view's unselected shapes, kept as square tiles of the zoomed drawing that lie
// at fixed places (multiples of kSize from the origin). Each tile is painted on its own, so its
// pixels follow from the drawing, the zoom, the pixel ratio and its place alone, never from where
// the view is scrolled: a scroll only brings other tiles, or other parts of them, into view, and a
// tile painted now equals one painted long ago of the same drawing.
//
// Of a tile only the box that has been in view is painted (a scroll paints the strip that comes
// in). A tile whose drawing changed is brought up to date from the drawing's log of backdrop
// changes: only where the records those changes touched lie, as they were and as they are, is
// painted again, white first and then the shapes that reach there in stacking order, clipped to
// it. Painting under a clip on the same tile gives the very pixels painting the whole tile gives.
class KeptTiles {
 public:
  static constexpr int kSize = 1024;
  // How far beyond its tile the picture a tile is painted in reaches (see PaintPiece).
  static constexpr int kMargin = 512;

  // Brings the part of every tile that `shown` (zoomed pixels) meets up to date, side by side on
  // Qt's thread pool, and draws it with `painter`, whose origin shows shown.topLeft(). `index`
  // gives the spatial index of the drawing's current list; it is asked only when something needs
  // painting. Tiles far from `shown` are let go, and no more are kept out of view than are in it.
  void Paint(QPainter& painter, const CTavlo& drawing, const std::function<const ShapeIndex&()>& index,
             const QRect& shown, qreal scale);

 private:
  struct Tile {
    QPoint origin;
    QImage image;
    uint64_t revision = 0;
    PixelBox painted{0, 0, -1, -1};  // what of the tile holds the drawing, in zoomed pixels
  };
  // What must be painted again in the tiles of `revision`: the boxes, or everything.
  struct Damage {
    uint64_t revision = 0;
    bool everything = false;
    std::vector<PixelBox> boxes;
  };
  // The parts of a tile to paint, and the shapes to paint in each.
  struct Job {
    Tile* tile;
    std::vector<PixelBox> parts;
    std::vector<std::vector<int>> shapes;
    size_t Count() const;
  };
  // A run of each part's shapes of one job: `slice` of `slices` equal runs, stacked in order.
  // The lowest is painted over the tile's pixels; each run above it on a clear layer of its own,
  // laid over the tile when all are painted.
  struct Piece {
    Job* job;
    int slice, slices, layer;
  };
  const Damage& DamageSince(const CTavlo& drawing, uint64_t revision);
  void PaintPiece(const Piece& piece, int runner, const CTavlo& drawing);
  QImage& Canvas(QImage& canvas, QImage::Format format) const;
  // The device pixels of the tile's picture that hold the job's parts.
  QRect Device(const Job& job, const Tile& tile) const;

  std::vector<Tile> m_tiles;
  std::vector<Damage> m_damage;       // of the tiles being brought up to date
  std::vector<QImage> m_scratch;      // one per runner of the pool (see PaintPiece)
  ShapeStamps::Shared m_forms;        // what the runners' stamps have found
  std::vector<ShapeStamps> m_stamps;  // one per runner of the pool
  std::vector<QImage> m_layers;       // of the pieces above the lowest, while they are painted
  QImage m_view;                      // the tiles as the view last showed them
  QRect m_viewArea;
  int m_zoom = 0;
  qreal m_scale = 0;
  int m_grid = 1;  // what the parts painted are multiples of (see Paint)
};
