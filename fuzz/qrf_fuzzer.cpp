// Feeds arbitrary bytes to the document reader. Bytes that load must save, load again and save to
// the same bytes; the drawing is then painted into a small picture at several zooms and selections
// and hit-tested at a few points. Any crash, sanitizer report or hang is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <QImage>
#include <QPainter>

#include "fuzz/DocumentBytes.h"
#include "fuzz/OffscreenGui.h"
#include "platform/qt/CQPainterDC.h"

namespace {

using document_bytes::Load;
using document_bytes::Save;

void Paint(const CTavlo& drawing, QImage& image) {
  image.fill(Qt::white);
  QPainter painter(&image);
  CQPainterDC dc(painter);
  drawing.Draw(dc);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  StartOffscreenGui(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  DocumentFileContent doc;
  if (!Load(bytes, doc)) return 0;

  const std::string saved = Save(doc);
  DocumentFileContent again;
  if (!Load(saved, again)) std::abort();   // what we write we must read
  if (Save(again) != saved) std::abort();  // and write again the same
  if (!document_bytes::Same(again, doc)) std::abort();

  // Paint and hit-test only modest drawings: the cost grows with the shape count, not the bytes.
  if (doc.drawing.GetUpperBound() > 64) return 0;
  QImage image(64, 48, QImage::Format_RGB32);
  CTavlo& drawing = doc.drawing;
  const int zooms[] = {100, 50, 500};
  for (int z = 0; z < 3; ++z) {
    drawing.SetZoom(zooms[z]);
    drawing.SetRotateMode(z == 2);
    Paint(drawing, image);
    for (const auto& [x, y] : {std::pair{0, 0}, {10, 10}, {-5, 40}, {1000000, -1000000}}) {
      int kind = 0, part = 0, index = 0;
      drawing.HitTest(x, y, drawing.GetSelected(), kind, part);
      if (drawing.GetUpperBound() >= 0) drawing.FindShapeAt(x, y, index, kind, part);
    }
  }
  // A rotation in progress: the preview and then applying it.
  if (drawing.GetSelected() >= 0) {
    drawing.TrackRotation(0, 0, 7, 3);
    Paint(drawing, image);
    drawing.ApplyRotation();
  }
  return 0;
}
