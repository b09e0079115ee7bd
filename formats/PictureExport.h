#pragma once

#include <QString>

class CTavlo;
class QImage;

// Pictures of a drawing as the view shows it with nothing selected: every shape with its own pen
// and brush, on white, at a zoom of 1 to 1000 per cent. The picture spans from drawing point
// (0, 0) to the right and bottom of the shapes' points at that zoom, plus room for the widest pen.
namespace picture_export {

// Write `drawing` (whatever its own zoom and selection) to `path` as PNG, SVG or PDF. Returns an
// empty string, or the reason nothing was written. None of them changes the drawing.
[[nodiscard]] QString ExportPng(const CTavlo& drawing, int zoom, const QString& path);
[[nodiscard]] QString ExportSvg(const CTavlo& drawing, int zoom, const QString& path);
// One vector page of the picture's size at 96 pixels to the inch.
[[nodiscard]] QString ExportPdf(const CTavlo& drawing, int zoom, const QString& path);
// The picture fitted in `size` by `size` pixels, for the desktop's file managers: a drawing that
// fits at 100 per cent as it is, a larger one scaled down smoothly, its pens one pixel wide and
// solid. Returns an empty string, or why there is none.
[[nodiscard]] QString PaintThumbnail(const CTavlo& drawing, int size, QImage& image);
// Writes `image` to `path` as PNG, whole or not at all.
[[nodiscard]] QString WritePng(const QImage& image, const QString& path);

}  // namespace picture_export
