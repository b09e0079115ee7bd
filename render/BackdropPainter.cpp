#include "render/BackdropPainter.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

#include <QImage>
#include <QPainter>

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
// The layers together hold no more pixels than this (one for a 4096 x 4096 export).
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
    shows[size_t(b)] = paint_order::ShapesToPaint(drawing, zoom, skipped, band, image.devicePixelRatio());
  });
  std::vector<int> order = std::move(shows[0]);
  for (size_t b = 1; b < shows.size(); ++b) {
    std::vector<int> both;
    both.reserve(order.size() + shows[b].size());
    std::set_union(order.begin(), order.end(), shows[b].begin(), shows[b].end(), std::back_inserter(both));
    order = std::move(both);
  }
  // The stack is painted in runs side by side, one to each runner, the lowest on the picture and
  // each above it on a clear layer of its own, laid over it in order when all are done. (A layer
  // for every run more, to even out runs of different cost, made pictures of large shapes slower.)
  const int runners = pool_jobs::Runners();
  const qint64 pixels = std::max<qint64>(1, qint64(image.width()) * image.height());
  const int layers =
      order.size() < kFewShapes || runners == 1 ? 0 : int(std::clamp<qint64>(kLargestLayer / pixels, 0, runners - 1));
  std::vector<QImage> above;
  for (int k = 0; k < layers; ++k) {
    QImage layer(image.size(), QImage::Format_ARGB32_Premultiplied);
    if (layer.isNull()) break;  // no memory for it: fewer runs
    layer.setDevicePixelRatio(image.devicePixelRatio());
    layer.fill(Qt::transparent);
    above.push_back(std::move(layer));
  }
  ShapeStamps::Shared forms;
  std::vector<ShapeStamps> stamps;
  for (int r = 0; r < runners; ++r) stamps.emplace_back(&forms);
  const size_t runs = above.size() + 1;
  pool_jobs::Run(int(runs), [&](int k, int runner) {
    QImage& target = k == 0 ? image : above[size_t(k) - 1];
    QPainter painter(&target);
    painter.translate(-scroll.x(), -scroll.y());
    StampingDC dc(painter, target, -scroll, stamps[size_t(runner)]);
    for (size_t i = order.size() * size_t(k) / runs; i < order.size() * size_t(k + 1) / runs; ++i)
      drawing.DrawShape(dc, order[i], zoom, thinPens);
  });
  if (above.empty()) return;
  QPainter painter(&image);
  for (const QImage& layer : above) painter.drawImage(QPoint(0, 0), layer);
}

}  // namespace backdrop_painter
