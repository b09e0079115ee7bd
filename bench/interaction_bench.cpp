// What a user waits for in a real 1920x1080 view of a large drawing, from the mouse event, scroll
// or command to the finished repaint. Prints "name value unit" lines, each a median of runs:
//   select_100k_ms, select_sparse_100k_ms  a double-click (and its release) that picks another shape
//   delete_100k_ms, paste_100k_ms          Delete of the gripped shape; Paste of a copied one
//   undo_100k_ms                           Undo of a drag of one shape
//   scroll_100k_ms, scroll_sparse_100k_ms  one 40-pixel step of a scroll bar at 500 %
//   zoom_100k_ms, zoom_sparse_100k_ms      one zoom command, 100 % to 200 % or back
//   paint_sparse_100k_ms                   a full paint of the sparse drawing into 1920x1080
//   open_1m_ms                             opening a file of 1,000,000 rectangles, to its view's first paint
//   index_build_1m_ms, index_1m_mb         building the spatial index of those, and its memory
// "100k" drawings are paint_bench's mixed shapes; "sparse" ones as many small shapes, one to each
// cell of a grid, that meet only their neighbours.
// Arguments, when given, pick figures by the start of their names: "interaction_bench select".
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "document/CQuirraDoc.h"
#include "model/CTavlo.h"
#include "platform/qt/CCommandRouter.h"
#include "render/DrawingRenderer.h"
#include "res/CommandIds.h"
#include "view/CQuirraView.h"

#include "bench/BenchUtil.h"
#include "bench/SampleShapes.h"

namespace {

constexpr int kShapes = 100000;
constexpr int kRuns = 7;

// Shapes of 3 to 9 units, one to each cell of a grid over 1920x1080 (cells of about 4.5 units, so
// a shape meets its neighbours and nothing further): every kind, pen style and width, and fill.
void SparseFill(CTavlo& drawing, int count) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> size(3, 9), pick(0, 99);
  const int kinds[] = {kLine, kRectangle, kPolygonRect, kBezier, kEllipse};
  const int columns = int(std::ceil(std::sqrt(count * 1920.0 / 1080))), rows = (count + columns - 1) / columns;
  for (int i = 0; i < count; ++i) {
    const int kind = kinds[pick(rng) % 5], w = size(rng), h = size(rng);
    drawing.AddShape(
        sample_shapes::Dressed(kind, i % columns * 1910 / columns, i / columns * 1070 / rows, w, h, rng, pick));
  }
  drawing.ClearSelection();
}

// One document window as the frame makes it: the view first in the command chain, then the
// document.
struct Window {
  CQuirraDoc doc;
  CQuirraView view{doc};
  CCommandRouter router{[this] { return std::vector<CCmdTarget*>{&view, &doc}; }};

  explicit Window(void (*fill)(CTavlo&, int)) {
    doc.OnNewDocument();
    fill(doc.GetDrawing(), kShapes);
    view.resize(1920, 1080);
    view.show();
    view.OnInitialUpdate();
    if (!QTest::qWaitForWindowExposed(&view)) std::fprintf(stderr, "the view was never shown\n");
    vp()->repaint();
  }
  QWidget* vp() const { return view.viewport(); }
  CTavlo& drawing() { return doc.GetDrawing(); }
  void Run(int id) {
    if (!router.Run(id)) std::fprintf(stderr, "command %d did not run\n", id);
  }
  double Timed(const std::function<void()>& step) {
    return Millis([&] {
      step();
      vp()->repaint();
    });
  }

  // A vertex of the k-th probed shape, as a client pixel inside the view: a point that is sure to
  // hit a shape, though not always that one, since the search starts below the selection.
  QPoint Target(int k) {
    const int z = drawing().GetZoom();
    const CPoint scroll = view.GetScrollPosition();
    for (int i = k;; ++i) {
      const CShape& s = drawing().GetShapes()[int((int64_t(i) * 7919 + 4051) % (drawing().GetUpperBound() + 1))];
      const CPoint p = s.GetPoint(i % s.GetPointCount());
      const QPoint client(int(int64_t(p.x) * z / 100 - scroll.x), int(int64_t(p.y) * z / 100 - scroll.y));
      if (vp()->rect().adjusted(8, 8, -8, -8).contains(client)) return client;
    }
  }
  // QTest's double-click is the double-click event alone; the release that follows ends the
  // gesture it starts.
  void Pick(QPoint p) {
    QTest::mouseDClick(vp(), Qt::LeftButton, {}, p);
    QTest::mouseRelease(vp(), Qt::LeftButton, {}, p);
  }
  // Picks the k-th target outside any timing, gripped and painted.
  void Select(int k) {
    Pick(Target(k));
    if (doc.GetHitMode() == HIT_NONE) std::fprintf(stderr, "target %d gripped nothing\n", k);
    vp()->repaint();
  }
};

double SelectFigure(Window& w) {
  std::vector<double> times;
  for (int k = 0; k < kRuns; ++k) {
    const int before = w.drawing().GetSelected();
    const QPoint p = w.Target(k);
    times.push_back(w.Timed([&] { w.Pick(p); }));
    if (w.drawing().GetSelected() == before) std::fprintf(stderr, "double-click %d kept the selection\n", k);
  }
  return Median(times);
}

// Scrolls by 40 pixels down, right, up and left in turn at 500 %, from the middle of the area.
double ScrollFigure(Window& w) {
  w.Run(ID_ZOOM_500);
  QScrollBar* bars[] = {w.view.verticalScrollBar(), w.view.horizontalScrollBar()};
  for (QScrollBar* bar : bars) bar->setValue(bar->maximum() / 2);
  w.vp()->repaint();
  std::vector<double> times;
  for (int i = 0; i < kRuns; ++i) {
    QScrollBar* bar = bars[i % 2];
    const int to = bar->value() + (i / 2 % 2 ? -40 : 40);
    times.push_back(w.Timed([&] { bar->setValue(to); }));
  }
  w.Run(ID_ZOOM_100);
  return Median(times);
}

double ZoomFigure(Window& w) {
  w.Run(ID_ZOOM_100);
  w.vp()->repaint();
  std::vector<double> times;
  for (int i = 0; i < kRuns; ++i) {
    times.push_back(w.Timed([&] { w.Run(ID_ZOOM_200); }));
    times.push_back(w.Timed([&] { w.Run(ID_ZOOM_100); }));
  }
  return Median(times);
}

// 1,000,000 rectangles of 40x30 units over 1840x1030, filled solid, hollow or hatched by turns,
// saved as the editor saves a document.
void WriteRectangles(const QString& path) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> x(0, 1800), y(0, 1000), pick(0, 255);
  CShapeArray shapes;
  shapes.SetSize(1000000);
  for (int i = 0; i < shapes.GetSize(); ++i) {
    CShape& s = shapes.ElementAt(i);
    const int x0 = x(rng), y0 = y(rng);
    s.SetType(kRectangle);
    s.SetPointCount(4);
    s.SetPoint(0, x0, y0);
    s.SetPoint(1, x0 + 40, y0);
    s.SetPoint(2, x0 + 40, y0 + 30);
    s.SetPoint(3, x0, y0 + 30);
    s.SetCenter(x0 + 20, y0 + 15);
    s.SetPenColor(RGB(uint8_t(pick(rng)), 0, uint8_t(pick(rng))));
    s.SetBrushStyle(i % 3 == 0 ? kBrushPaint : i % 3 == 1 ? kBrushTransparent : i / 3 % 6);
    s.SetBrushColor(RGB(uint8_t(pick(rng)), uint8_t(pick(rng)), 200));
  }
  CQuirraDoc doc;
  doc.OnNewDocument();
  sample_shapes::Load(doc.GetDrawing(), std::move(shapes));
  if (!doc.OnSaveDocument(path)) std::fprintf(stderr, "save failed: %s\n", qUtf8Printable(doc.GetLastError()));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  const QStringList picks = app.arguments().mid(1);
  auto wanted = [&](const char* name) { return Wanted(picks, name); };
  auto wantedAny = [&](std::initializer_list<const char*> names) {
    return std::any_of(names.begin(), names.end(), wanted);
  };
  // Each drawing is made once; the figures on it leave it at 100 % and unscrolled.
  std::unique_ptr<Window> mixed, sparse;
  if (wantedAny(
          {"select_100k_ms", "delete_100k_ms", "paste_100k_ms", "undo_100k_ms", "scroll_100k_ms", "zoom_100k_ms"}))
    mixed = std::make_unique<Window>(sample_shapes::Fill);
  if (wantedAny({"select_sparse_100k_ms", "scroll_sparse_100k_ms", "zoom_sparse_100k_ms", "paint_sparse_100k_ms"}))
    sparse = std::make_unique<Window>(SparseFill);

  if (wanted("select_100k_ms")) Report("select_100k_ms", SelectFigure(*mixed), "ms");
  if (wanted("select_sparse_100k_ms")) Report("select_sparse_100k_ms", SelectFigure(*sparse), "ms");
  if (wanted("delete_100k_ms")) {
    std::vector<double> times;
    for (int k = 0; k < kRuns; ++k) {
      mixed->Select(100 + k);
      times.push_back(mixed->Timed([&] { mixed->Run(ID_EDIT_DELETE); }));
    }
    Report("delete_100k_ms", Median(times), "ms");
  }
  if (wanted("paste_100k_ms")) {
    mixed->Select(200);
    mixed->Run(ID_EDIT_COPY);
    mixed->vp()->repaint();
    std::vector<double> times;
    for (int k = 0; k < kRuns; ++k) times.push_back(mixed->Timed([&] { mixed->Run(ID_EDIT_PASTE); }));
    Report("paste_100k_ms", Median(times), "ms");
  }
  if (wanted("undo_100k_ms")) {
    std::vector<double> times;
    for (int k = 0; k < kRuns; ++k) {
      mixed->Select(300 + k);
      // The press lands where the double-click did, so it grips the shape just picked.
      const QPoint from = mixed->Target(300 + k), to = from + QPoint(6, 4);
      QTest::mousePress(mixed->vp(), Qt::LeftButton, {}, from);
      QTest::mouseMove(mixed->vp(), to);
      QTest::mouseRelease(mixed->vp(), Qt::LeftButton, {}, to);
      mixed->vp()->repaint();
      if (!mixed->doc.CanUndo()) std::fprintf(stderr, "drag %d changed nothing\n", k);
      times.push_back(mixed->Timed([&] { mixed->Run(ID_EDIT_UNDO); }));
    }
    Report("undo_100k_ms", Median(times), "ms");
  }
  if (wanted("scroll_100k_ms")) Report("scroll_100k_ms", ScrollFigure(*mixed), "ms");
  if (wanted("scroll_sparse_100k_ms")) Report("scroll_sparse_100k_ms", ScrollFigure(*sparse), "ms");
  if (wanted("zoom_100k_ms")) Report("zoom_100k_ms", ZoomFigure(*mixed), "ms");
  if (wanted("zoom_sparse_100k_ms")) Report("zoom_sparse_100k_ms", ZoomFigure(*sparse), "ms");
  if (wanted("paint_sparse_100k_ms")) {
    CTavlo& drawing = sparse->drawing();
    drawing.ClearSelection();
    QImage image(1920, 1080, QImage::Format_RGB32);
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i)
      times.push_back(Millis([&] {
        image.fill(Qt::white);
        DrawingRenderer::PaintUnselected(drawing, image, QPoint(0, 0));
      }));
    Report("paint_sparse_100k_ms", Median(times), "ms");
  }
  mixed.reset();
  sparse.reset();

  if (!wanted("open_1m_ms")) return 0;
  QTemporaryDir dir;
  const QString path = dir.filePath("rectangles.qrf");
  WriteRectangles(path);
  std::vector<double> times;
  for (int i = 0; i < 5; ++i) {
    // Both outlive the timing, so that freeing a million shapes is not counted.
    auto doc = std::make_unique<CQuirraDoc>();
    std::unique_ptr<CQuirraView> view;
    times.push_back(Millis([&] {
      if (!doc->OnOpenDocument(path)) std::fprintf(stderr, "open failed: %s\n", qUtf8Printable(doc->GetLastError()));
      view = std::make_unique<CQuirraView>(*doc);
      view->resize(1920, 1080);
      view->show();
      view->OnInitialUpdate();
      if (!QTest::qWaitForWindowExposed(view.get())) std::fprintf(stderr, "the view was never shown\n");
      // The first paint comes as the window is exposed; this one finishes it if it has not.
      view->viewport()->repaint();
    }));
    if (doc->GetDrawing().GetUpperBound() != 999999) std::fprintf(stderr, "the file did not hold every shape\n");
  }
  Report("open_1m_ms", Median(times), "ms");
  // The spatial index of the same million shapes, as a view builds it for its first search.
  CQuirraDoc doc;
  doc.OnOpenDocument(path);
  std::vector<double> builds;
  size_t bytes = 0;
  for (int i = 0; i < 3; ++i) {
    DrawingRenderer fresh;
    builds.push_back(Millis([&] { bytes = fresh.Index(doc.GetDrawing()).Bytes(); }));
  }
  Report("index_build_1m_ms", Median(builds), "ms");
  Report("index_1m_mb", double(bytes) / (1 << 20), "MB");
  return 0;
}
