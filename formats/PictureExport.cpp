#include "formats/PictureExport.h"

#include <algorithm>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "formats/PdfPainterDC.h"
#include "formats/SvgPicture.h"
#include "model/CTavlo.h"
#include "model/Geometry.h"
#include "platform/core/CDC.h"
#include "platform/qt/AtomicSave.h"
#include "render/DrawingRenderer.h"

namespace picture_export {

namespace {

// A PNG is painted in memory first: keep it to a size every machine can hold (1 GiB).
constexpr int64_t kMaxSide = 32767;
constexpr int64_t kMaxPixels = int64_t(1) << 28;

// A vector document keeps every call it is given: it gets every shape that reaches the picture.
void PaintPdf(const CTavlo& drawing, int zoom, QPainter& painter, QSize size) {
  const QRect picture(QPoint(0, 0), size);
  painter.fillRect(picture, Qt::white);
  PdfPainterDC dc(painter);
  for (const int i : DrawingRenderer::ShapesToPaint(drawing, zoom, picture)) drawing.DrawShape(dc, i, zoom, false);
}

QString TooLarge(int64_t w, int64_t h) {
  return QStringLiteral("the picture would be %1 x %2 pixels, more than can be exported").arg(w).arg(h);
}

// How far the shapes' points reach right and down (at least to 0), and the widest pen (one pixel
// when every pen is drawn thin).
struct Reach {
  int32_t right = 0, bottom = 0;
  int64_t pen = 1;
};

Reach ReachOf(const CTavlo& drawing, bool thinPens = false) {
  Reach reach;
  for (const CShape& s : drawing.GetShapes()) {
    if (s.GetType() < kLine || s.GetType() > kEllipse) continue;
    if (!thinPens) reach.pen = std::max<int64_t>(reach.pen, std::clamp(s.GetPenWidth(), 1, 255));
    for (int i = 0; i < s.GetPointCount(); ++i) {
      reach.right = std::max(reach.right, s.GetPoint(i).x);
      reach.bottom = std::max(reach.bottom, s.GetPoint(i).y);
    }
  }
  return reach;
}

// Width and height as 64-bit values, before any limit. The zoom keeps the order of coordinates,
// so the furthest point stays the furthest at every zoom.
std::pair<int64_t, int64_t> Extent(const Reach& reach, int zoom) {
  return {std::max<int64_t>(0, geometry::Zoom(reach.right, zoom)) + reach.pen + 1,
          std::max<int64_t>(0, geometry::Zoom(reach.bottom, zoom)) + reach.pen + 1};
}

std::pair<int64_t, int64_t> Extent(const CTavlo& drawing, int zoom, bool thinPens = false) {
  return Extent(ReachOf(drawing, thinPens), zoom);
}

// The picture in memory, painted as the view paints its picture with nothing selected.
QString PaintPicture(const CTavlo& drawing, const DrawingRenderer::Picture& picture, QImage& image) {
  const auto [w, h] = Extent(drawing, picture.zoom, picture.thinPens);
  if (w > kMaxSide || h > kMaxSide || w * h > kMaxPixels) return TooLarge(w, h);
  image = QImage(int(w), int(h), QImage::Format_RGB32);
  if (image.isNull()) return QStringLiteral("there is not enough memory for a %1 x %2 picture").arg(w).arg(h);
  image.fill(Qt::white);
  DrawingRenderer::PaintPicture(drawing, picture, image);
  return QString();
}

// The largest zoom up to 100 per cent at which the picture fits in `side` by `side` pixels, or 0.
int FittingZoom(const CTavlo& drawing, int side) {
  const Reach reach = ReachOf(drawing);
  auto fits = [&](int zoom) {
    const auto [w, h] = Extent(reach, zoom);
    return w <= side && h <= side;
  };
  if (!fits(1)) return 0;
  // The extent grows with the zoom: the largest zoom that fits, by halving.
  int low = 1, high = 100;
  while (low < high) {
    const int mid = (low + high + 1) / 2;
    if (fits(mid))
      low = mid;
    else
      high = mid - 1;
  }
  return low;
}

}  // namespace

QString WritePng(const QImage& image, const QString& path) {
  return SaveFileAtomically(path, [&image](QIODevice& device) {
    QImageWriter writer(&device, "png");
    return writer.write(image) ? QString() : writer.errorString();
  });
}

QString ExportPng(const CTavlo& drawing, int zoom, const QString& path) {
  QImage image;
  if (const QString why = PaintPicture(drawing, {zoom}, image); !why.isEmpty()) return why;
  return WritePng(image, path);
}

QString ExportPdf(const CTavlo& drawing, int zoom, const QString& path) {
  const auto [w, h] = Extent(drawing, zoom);
  // A PDF page is at most 200 inches a side.
  if (w > 200 * 96 || h > 200 * 96) return TooLarge(w, h);
  const QSize size{int(w), int(h)};
  // Written into memory first, as the SVG is, so that every failure of the file is seen.
  QBuffer pdf;
  pdf.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&pdf);
    writer.setCreator(QStringLiteral("Quirra"));
    writer.setTitle(QStringLiteral("Quirra drawing"));
    writer.setResolution(96);
    // Qt gives a page whole points only and maps the picture's pixels onto them, while a pixel is
    // three quarters of a point: the page is rounded up to four pixels, three points, so that a
    // pixel stays exactly three quarters of a point. A viewer shows at most three more white pixels
    // right and below the picture.
    const QSize points((size.width() + 3) / 4 * 3, (size.height() + 3) / 4 * 3);
    writer.setPageSize(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    if (!painter.isActive()) return QStringLiteral("the PDF could not be started");
    PaintPdf(drawing, zoom, painter, size);
  }
  return SaveFileAtomically(path, [&pdf](QIODevice& device) { return WriteBytes(device, pdf.data()); });
}

QString PaintThumbnail(const CTavlo& drawing, int size, QImage& image) {
  if (FittingZoom(drawing, size) == 100) return PaintPicture(drawing, {100}, image);
  // Larger drawings are painted at a size of at least 512 and then scaled down smoothly: painting
  // at a few per cent costs more per shape than it saves, and the smooth scaling shows more.
  constexpr int kPaintedSide = 512;
  const int zoom = FittingZoom(drawing, std::max(size, kPaintedSide));
  if (zoom == 0) return QStringLiteral("the drawing is too large for a picture of %1 x %1 pixels").arg(size);
  // Scaled down, a picture's pens thin out with it: there every pen is one pixel wide and solid, as
  // no dash or width of a few pixels would show. That also spares the shapes of a large drawing
  // Qt's costly stroking.
  if (const QString why = PaintPicture(drawing, {zoom, zoom < 100}, image); !why.isEmpty()) return why;
  if (image.width() > size || image.height() > size)
    image = image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  return QString();
}

QString ExportSvg(const CTavlo& drawing, int zoom, const QString& path) {
  const auto [w, h] = Extent(drawing, zoom);
  if (w > INT32_MAX || h > INT32_MAX) return TooLarge(w, h);
  const QSize size{int(w), int(h)};
  // A document keeps every shape it is given: it gets every shape that reaches the picture. It is
  // made in memory, and the file written from there, where every failure is seen.
  const QByteArray svgText =
      SvgPicture::Write(drawing, zoom, DrawingRenderer::ShapesToPaint(drawing, zoom, QRect(QPoint(0, 0), size)), size);
  return SaveFileAtomically(path, [&svgText](QIODevice& device) { return WriteBytes(device, svgText); });
}

}  // namespace picture_export
