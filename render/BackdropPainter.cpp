#include "render/BackdropPainter.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

#include <QImage>
#include <QPainter>
#include <QThread>

#include "model/CTavlo.h"
#include "render/PaintOrder.h"
#include "render/PoolJobs.h"
#include "render/StampingDC.h"

namespace backdrop_painter {

namespace {

// Below this many shapes the threads cost more than they save.
constexpr size_t kFewShapes = 64;
// Below this many shapes one pass finds the shapes to paint sooner than passes side by side.
constexpr int kManyShapes = 16384;
// Above this many pixels the extra layer costs more memory than it is worth (a 4096 x 4096 export).
constexpr qint64 kLargestLayer = qint64(1) << 24;

}  // namespace

void Paint(const CTavlo& drawing, int zoom, int skipped, bool thinPens, QImage& image, QPoint scroll) {
  const QSizeF size = image.deviceIndependentSize();
  const PixelBox shown{scroll.x(), scroll.y(), scroll.x() + int64_t(std::ceil(size.width())) - 1,
                       scroll.y() + int64_t(std::ceil(size.height())) - 1};
  // Painting on an image without smoothing replaces the pixels it touches. The shapes each band
  // of the picture shows are found side by side: a shape shows when it shows in any band.
  const int bands = drawing.GetUpperBound() + 1 >= kManyShapes ? pool_jobs::Runners() : 1;
  std::vector<std::vector<int>> shows;
  shows.resize(size_t(bands));
  pool_jobs::Run(bands, [&](int b, int) {
    const int64_t height = shown.bottom - shown.top + 1;
    const PixelBox band{shown.left, shown.top + height * b / bands, shown.right,
                        shown.top + height * (b + 1) / bands - 1};
    shows[size_t(b)] = paint_order::ShapesToPaint(drawing, zoom, skipped, band, true);
  });
  std::vector<int> order = std::move(shows[0]);
  for (size_t b = 1; b < shows.size(); ++b) {
    std::vector<int> both;
    both.reserve(order.size() + shows[b].size());
    std::set_union(order.begin(), order.end(), shows[b].begin(), shows[b].end(), std::back_inserter(both));
    order = std::move(both);
  }
  ShapeStamps::Shared forms;
  auto paintRun = [&](QImage& target, size_t from, size_t to) {
    QPainter painter(&target);
    painter.translate(-scroll.x(), -scroll.y());
    ShapeStamps stamps(&forms);
    StampingDC dc(painter, target, -scroll, stamps);
    for (size_t k = from; k < to; ++k) drawing.DrawShape(dc, order[k], zoom, thinPens);
  };

  QImage layer;
  if (order.size() >= kFewShapes && QThread::idealThreadCount() > 1 &&
      qint64(image.width()) * image.height() <= kLargestLayer)
    layer = QImage(image.size(), QImage::Format_ARGB32_Premultiplied);
  if (layer.isNull()) {  // one run: too few shapes, one core, a huge picture or no memory for a layer
    pool_jobs::Run(1, [&](int, int) { paintRun(image, 0, order.size()); });
    return;
  }
  layer.setDevicePixelRatio(image.devicePixelRatio());
  layer.fill(Qt::transparent);
  const size_t lower = order.size() / 2;
  pool_jobs::Run(2, [&](int run, int) { run == 0 ? paintRun(image, 0, lower) : paintRun(layer, lower, order.size()); });
  QPainter painter(&image);
  painter.drawImage(QPoint(0, 0), layer);
}

}  // namespace backdrop_painter
