#pragma once

#include <QPoint>

class CTavlo;
class QImage;

// Paints every shape of a drawing but `skipped` (the selection, or -1) over an image at `zoom`,
// scrolled to `scroll`, with the pixels drawing each of them in stacking order with
// CTavlo::DrawShape (`thinPens` passed on) through a CQPainterDC gives. Shapes that cannot change
// a pixel of the image are passed over.
//
// The work goes to Qt's thread pool. On a machine with more than one core the shapes to paint of
// a large drawing are found band by band of the picture side by side, and the shapes to paint are
// cut in as many runs of the stack as there are runners, painted side by side, each run above the
// lowest into a clear layer laid over it in order when all are done. Every colour is opaque and
// nothing is smoothed, so each pixel of a layer is either untouched or final. Returns when the
// picture is complete. The drawing must not change meanwhile.
namespace backdrop_painter {

void Paint(const CTavlo& drawing, int zoom, int skipped, bool thinPens, QImage& image, QPoint scroll);

}  // namespace backdrop_painter
