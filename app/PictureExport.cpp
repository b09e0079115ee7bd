#include "app/PictureExport.h"

#include <algorithm>

#include <QImage>
#include <QImageWriter>

#include "app/SvgPicture.h"
#include "model/CTavlo.h"
#include "model/Geometry.h"
#include "platform/qt/AtomicSave.h"
#include "render/DrawingRenderer.h"

namespace picture_export {

namespace {

// A PNG is painted in memory first: keep it to a size every machine can hold (1 GiB).
constexpr int64_t kMaxSide = 32767;
constexpr int64_t kMaxPixels = int64_t(1) << 28;

void Prepare(CTavlo& drawing, int zoom) {
  drawing.ClearSelection();
  drawing.SetRotateMode(false);
  drawing.SetZoom(zoom);
}

QString TooLarge(int64_t w, int64_t h) {
  return QStringLiteral("the picture would be %1 x %2 pixels, more than can be exported").arg(w).arg(h);
}

// Width and height as 64-bit values, before any limit.
std::pair<int64_t, int64_t> Extent(const CTavlo& drawing, int zoom) {
  int64_t right = 0, bottom = 0, pen = 1;
  for (const CShape& s : drawing.GetShapes()) {
    if (s.GetType() < kLine || s.GetType() > kEllipse) continue;
    pen = std::max<int64_t>(pen, std::clamp(s.GetPenWidth(), 1, 255));
    for (int i = 0; i < s.GetPointCount(); ++i) {
      right = std::max<int64_t>(right, geometry::Zoom(s.GetPoint(i).x, zoom));
      bottom = std::max<int64_t>(bottom, geometry::Zoom(s.GetPoint(i).y, zoom));
    }
  }
  return {right + pen + 1, bottom + pen + 1};
}

}  // namespace

QString ExportPng(CTavlo& drawing, int zoom, const QString& path) {
  Prepare(drawing, zoom);
  const auto [w, h] = Extent(drawing, zoom);
  if (w > kMaxSide || h > kMaxSide || w * h > kMaxPixels) return TooLarge(w, h);
  QImage image(int(w), int(h), QImage::Format_RGB32);
  if (image.isNull()) return QStringLiteral("there is not enough memory for a %1 x %2 picture").arg(w).arg(h);
  // Painted as the view paints its picture; the selection was dropped above.
  image.fill(Qt::white);
  DrawingRenderer::PaintUnselected(drawing, image, QPoint(0, 0));
  return SaveFileAtomically(path, [&image](QIODevice& device) {
    QImageWriter writer(&device, "png");
    return writer.write(image) ? QString() : writer.errorString();
  });
}

QString ExportSvg(CTavlo& drawing, int zoom, const QString& path) {
  Prepare(drawing, zoom);
  const auto [w, h] = Extent(drawing, zoom);
  if (w > INT32_MAX || h > INT32_MAX) return TooLarge(w, h);
  const QSize size{int(w), int(h)};
  // A document keeps every shape it is given: it gets every shape that reaches the picture. It is
  // made in memory, and the file written from there, where every failure is seen.
  const QByteArray svgText =
      SvgPicture::Write(drawing, DrawingRenderer::ShapesToPaint(drawing, QRect(QPoint(0, 0), size)), size);
  return SaveFileAtomically(path, [&svgText](QIODevice& device) { return WriteBytes(device, svgText); });
}

}  // namespace picture_export
