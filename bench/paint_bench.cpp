// Painting, dragging, searching and exporting large drawings. Prints "name value unit" lines:
//   paint_10k_ms, paint_100k_ms        a full paint of mixed shapes into 1920x1080 at 100 %
//   drag_step_10k_ms, drag_step_100k_ms  one mouse move dragging a selected shape in a real view,
//                                      to the finished repaint
//   find_miss_100k_ms                  FindShapeAt at a point inside the drawing that hits nothing
//   export_10k_ms, rsvg_10k_ms         our PNG export of 10,000 shapes, and rsvg-convert turning
//                                      our SVG export of the same drawing into a PNG
//   thumbnail_1m_ms                    a 256-pixel thumbnail of 1,000,000 shapes, without the load
// Arguments, when given, pick figures by the start of their names: "paint_bench paint drag".
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "document/CQuirraDoc.h"
#include "formats/PictureExport.h"
#include "model/CTavlo.h"
#include "platform/core/CDC.h"
#include "render/DrawingRenderer.h"
#include "view/CQuirraView.h"

#include "bench/BenchUtil.h"
#include "bench/SampleShapes.h"

namespace {

using sample_shapes::Fill;
using sample_shapes::kHole;

double PaintFull(int count) {
  CTavlo drawing;
  Fill(drawing, count);
  QImage image(1920, 1080, QImage::Format_RGB32);
  std::vector<double> times;
  for (int i = 0; i < 5; ++i)
    times.push_back(Millis([&] {
      // The view's whole picture when nothing is selected: white, then every shape.
      image.fill(Qt::white);
      DrawingRenderer::PaintUnselected(drawing, image, QPoint(0, 0));
    }));
  return Median(times);
}

double DragStep(int count) {
  CQuirraDoc doc;
  doc.OnNewDocument();
  Fill(doc.GetDrawing(), count);
  // The shape to drag: a rectangle in front of everything, gripped by its outline.
  CShape box;
  box.SetType(kRectangle);
  box.SetPointCount(4);
  box.SetPoint(0, 600, 300);
  box.SetPoint(1, 900, 300);
  box.SetPoint(2, 900, 500);
  box.SetPoint(3, 600, 500);
  box.SetBrushStyle(HS_CROSS);
  doc.GetDrawing().AddShape(box);
  doc.SetTool(kRectangle);
  CQuirraView view(doc);
  view.resize(1920, 1080);
  view.show();
  view.OnInitialUpdate();
  if (!QTest::qWaitForWindowExposed(&view)) std::fprintf(stderr, "the view was never shown\n");
  QWidget* vp = view.viewport();
  vp->repaint();
  QTest::mousePress(vp, Qt::LeftButton, {}, QPoint(750, 300));
  std::vector<double> times;
  for (int i = 1; i <= 30; ++i) {
    const QPoint to(750 + (i % 7) * 3, 300 + (i % 5) * 2 + i);
    times.push_back(Millis([&] {
      QTest::mouseMove(vp, to);
      vp->repaint();
    }));
  }
  QTest::mouseRelease(vp, Qt::LeftButton, {}, QPoint(750, 330));
  return Median(times);
}

double FindMiss(int count) {
  CTavlo drawing;
  Fill(drawing, count);
  std::vector<double> times;
  for (int i = 0; i < 7; ++i)
    times.push_back(Millis([&] {
      int index, kind, part;
      if (drawing.FindShapeAt(kHole.x, kHole.y, index, kind, part)) std::fprintf(stderr, "the probe hit %d\n", index);
    }));
  return Median(times);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  const QStringList picks = app.arguments().mid(1);
  auto wanted = [&](const char* name) { return Wanted(picks, name); };
  if (wanted("paint_10k_ms")) Report("paint_10k_ms", PaintFull(10000), "ms");
  if (wanted("paint_100k_ms")) Report("paint_100k_ms", PaintFull(100000), "ms");
  if (wanted("drag_step_10k_ms")) Report("drag_step_10k_ms", DragStep(10000), "ms");
  if (wanted("drag_step_100k_ms")) Report("drag_step_100k_ms", DragStep(100000), "ms");
  if (wanted("find_miss_100k_ms")) Report("find_miss_100k_ms", FindMiss(100000), "ms");
  QTemporaryDir dir;
  if (wanted("thumbnail_1m_ms")) {
    std::vector<double> times;
    for (int i = 0; i < 3; ++i) {
      CTavlo big;  // loaded for each thumbnail, as the thumbnailer loads its file
      sample_shapes::LoadMixed(big, 1000000);
      times.push_back(Millis([&] {
        QImage picture;
        Must(picture_export::PaintThumbnail(big, 256, picture));
        Must(picture_export::WritePng(picture, dir.filePath("thumbnail.png")));
      }));
    }
    Report("thumbnail_1m_ms", Median(times), "ms");
  }
  if (!wanted("export_10k_ms") && !wanted("rsvg_10k_ms")) return 0;
  CTavlo drawing;
  Fill(drawing, 10000);
  const QString png = dir.filePath("out.png"), svg = dir.filePath("out.svg");
  std::vector<double> ours;
  for (int i = 0; i < 3; ++i) ours.push_back(Millis([&] { Must(picture_export::ExportPng(drawing, 100, png)); }));
  Report("export_10k_ms", Median(ours), "ms");
  Must(picture_export::ExportSvg(drawing, 100, svg));
  const QString rsvg = QStandardPaths::findExecutable(QStringLiteral("rsvg-convert"));
  if (rsvg.isEmpty()) {
    std::printf("rsvg_10k_ms - ms (rsvg-convert not installed: apt-get install librsvg2-bin)\n");
  } else {
    std::vector<double> theirs;
    for (int i = 0; i < 3; ++i)
      theirs.push_back(Millis([&] { QProcess::execute(rsvg, {svg, QStringLiteral("-o"), dir.filePath("rsvg.png")}); }));
    Report("rsvg_10k_ms", Median(theirs), "ms");
  }
  return 0;
}
