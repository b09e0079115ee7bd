// What a user waits for in a real 1920x1080 view of a large drawing, from the mouse event, scroll
// or command to the finished repaint. Prints "name value unit" lines, each a median of runs, for
// drawings of 100,000 shapes ("100k") and of 1,000,000 ("1m"):
//   select_N_ms, select_sparse_N_ms  a double-click (and its release) that picks another shape
//   delete_N_ms, paste_N_ms          Delete of the gripped shape; Paste of a copied one
//   undo_N_ms                        Undo of a drag of one shape
//   scroll_N_ms, scroll_sparse_N_ms  one 40-pixel step of a scroll bar at 500 %
//   zoom_N_ms, zoom_sparse_N_ms      one zoom command, 100 % to 200 % or back
//   paint_sparse_N_ms                a full paint of the sparse drawing into 1920x1080
// and for files of rectangles:
//   open_1m_ms                       opening a file of 1,000,000 rectangles, to its view's first paint
//   index_build_1m_ms, index_1m_mb   building the spatial index of those, and its memory
//   open_10m_ms, open_10m_mb         opening a file of 10,000,000 rectangles to its first paint, in
//                                    a process of its own, and that process's peak memory
// The plain drawings are paint_bench's mixed shapes; "sparse" ones as many small shapes, one to
// each cell of a grid, that meet only their neighbours.
// Arguments, when given, pick figures by the start of their names: "interaction_bench select".
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include <sys/resource.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "document/CQuirraDoc.h"
#include "model/CTavlo.h"
#include "platform/core/CArchive.h"
#include "platform/qt/CCommandRouter.h"
#include "render/DrawingRenderer.h"
#include "res/CommandIds.h"
#include "view/CQuirraView.h"

#include "bench/BenchUtil.h"
#include "bench/SampleShapes.h"

namespace {

constexpr int kRuns = 7;

// Shapes of 3 to 9 units, one to each cell of a grid over 1920x1080 (cells of about 4.5 units, so
// a shape meets its neighbours and nothing further): every kind, pen style and width, and fill.
void SparseFill(CTavlo& drawing, int count) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> size(3, 9), pick(0, 99);
  const int kinds[] = {kLine, kRectangle, kPolygonRect, kBezier, kEllipse};
  const int columns = int(std::ceil(std::sqrt(count * 1920.0 / 1080))), rows = (count + columns - 1) / columns;
  CShapeArray shapes;
  shapes.SetSize(count);
  for (int i = 0; i < count; ++i) {
    const int kind = kinds[pick(rng) % 5], w = size(rng), h = size(rng);
    shapes.ElementAt(i) =
        sample_shapes::Dressed(kind, i % columns * 1910 / columns, i / columns * 1070 / rows, w, h, rng, pick);
  }
  sample_shapes::Load(drawing, std::move(shapes));
}

// One document window as the frame makes it: the view first in the command chain, then the
// document.
struct Window {
  CQuirraDoc doc;
  CQuirraView view{doc};
  CCommandRouter router{[this] { return std::vector<CCmdTarget*>{&view, &doc}; }};

  Window(void (*fill)(CTavlo&, int), int shapes) {
    doc.OnNewDocument();
    fill(doc.GetDrawing(), shapes);
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
  // Left at 100 % and unscrolled, as every figure leaves the drawing: at 100 % the view still
  // scrolls over the shapes that reach beyond it, and a zoom of a part of fewer shapes costs less.
  w.Run(ID_ZOOM_100);
  for (QScrollBar* bar : bars) bar->setValue(0);
  w.vp()->repaint();
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

// `count` rectangles of 40x30 units over 1840x1030, filled solid, hollow or hatched by turns,
// written as the editor saves a document: no selection, no grip.
void WriteRectangles(const QString& path, int count) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> x(0, 1800), y(0, 1000), pick(0, 255);
  CShapeArray shapes;
  shapes.SetSize(count);
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
  std::filebuf file;
  if (!file.open(path.toStdString(), std::ios::out | std::ios::binary | std::ios::trunc)) Must("cannot write " + path);
  CArchive out(file, CArchive::store);
  out << int32_t(-1);
  shapes.Serialize(out);
  out << int32_t(HIT_NONE) << int32_t(-1);
  out.Close();
  if (!file.close()) Must("cannot write " + path);
}

// Opens `path` in a new document and view, to the view's first finished paint, and returns the
// milliseconds that took; the document and view are left to the caller, so that freeing them is
// not counted.
double TimedOpen(const QString& path, std::unique_ptr<CQuirraDoc>& doc, std::unique_ptr<CQuirraView>& view) {
  doc = std::make_unique<CQuirraDoc>();
  return Millis([&] {
    if (!doc->OnOpenDocument(path)) Must("open failed: " + doc->GetLastError());
    view = std::make_unique<CQuirraView>(*doc);
    view->resize(1920, 1080);
    view->show();
    view->OnInitialUpdate();
    if (!QTest::qWaitForWindowExposed(view.get())) std::fprintf(stderr, "the view was never shown\n");
    // The first paint comes as the window is exposed; this one finishes it if it has not.
    view->viewport()->repaint();
  });
}

// The process's peak resident memory so far.
double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_maxrss) / 1024;
}

// Every figure on drawings of `shapes` shapes, named with `tag` ("100k", "1m").
void DrawingFigures(const std::function<bool(const QString&)>& wanted, int shapes, const QString& tag) {
  auto name = [&](const char* what) { return QString("%1_%2_ms").arg(what, tag); };
  auto want = [&](const char* what) { return wanted(name(what)); };
  auto report = [&](const char* what, double ms) { Report(qPrintable(name(what)), ms, "ms"); };
  auto wantAny = [&](std::initializer_list<const char*> whats) {
    return std::any_of(whats.begin(), whats.end(), want);
  };
  // Each drawing is made once; the figures on it leave it at 100 % and unscrolled.
  std::unique_ptr<Window> mixed, sparse;
  if (wantAny({"select", "delete", "paste", "undo", "scroll", "zoom"}))
    mixed = std::make_unique<Window>(sample_shapes::Fill, shapes);
  if (wantAny({"select_sparse", "scroll_sparse", "zoom_sparse", "paint_sparse"}))
    sparse = std::make_unique<Window>(SparseFill, shapes);

  if (want("select")) report("select", SelectFigure(*mixed));
  if (want("select_sparse")) report("select_sparse", SelectFigure(*sparse));
  if (want("delete")) {
    std::vector<double> times;
    for (int k = 0; k < kRuns; ++k) {
      mixed->Select(100 + k);
      times.push_back(mixed->Timed([&] { mixed->Run(ID_EDIT_DELETE); }));
    }
    report("delete", Median(times));
  }
  if (want("paste")) {
    mixed->Select(200);
    mixed->Run(ID_EDIT_COPY);
    mixed->vp()->repaint();
    std::vector<double> times;
    for (int k = 0; k < kRuns; ++k) times.push_back(mixed->Timed([&] { mixed->Run(ID_EDIT_PASTE); }));
    report("paste", Median(times));
  }
  if (want("undo")) {
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
    report("undo", Median(times));
  }
  if (want("scroll")) report("scroll", ScrollFigure(*mixed));
  if (want("scroll_sparse")) report("scroll_sparse", ScrollFigure(*sparse));
  if (want("zoom")) report("zoom", ZoomFigure(*mixed));
  if (want("zoom_sparse")) report("zoom_sparse", ZoomFigure(*sparse));
  if (want("paint_sparse")) {
    CTavlo& drawing = sparse->drawing();
    drawing.ClearSelection();
    QImage image(1920, 1080, QImage::Format_RGB32);
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i)
      times.push_back(Millis([&] {
        image.fill(Qt::white);
        DrawingRenderer::PaintUnselected(drawing, image, QPoint(0, 0));
      }));
    report("paint_sparse", Median(times));
  }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  QStringList picks = app.arguments().mid(1);
  // "--open FILE": the process of its own that open_10m runs, which prints its time and peak.
  if (picks.size() == 2 && picks[0] == "--open") {
    std::unique_ptr<CQuirraDoc> doc;
    std::unique_ptr<CQuirraView> view;
    const double ms = TimedOpen(picks[1], doc, view);
    std::printf("%.2f %.1f\n", ms, PeakMegabytes());
    // Freeing ten million shapes is not what the figure is about.
    std::_Exit(0);
  }
  auto wanted = [&](const QString& name) { return Wanted(picks, qPrintable(name)); };
  DrawingFigures(wanted, 100000, "100k");
  DrawingFigures(wanted, 1000000, "1m");

  QTemporaryDir dir;
  if (wanted("open_1m_ms") || wanted("index_build_1m_ms") || wanted("index_1m_mb")) {
    const QString path = dir.filePath("rectangles.qrf");
    WriteRectangles(path, 1000000);
    if (wanted("open_1m_ms")) {
      std::vector<double> times;
      for (int i = 0; i < 5; ++i) {
        std::unique_ptr<CQuirraDoc> doc;
        std::unique_ptr<CQuirraView> view;
        times.push_back(TimedOpen(path, doc, view));
        if (doc->GetDrawing().GetUpperBound() != 999999) std::fprintf(stderr, "the file did not hold every shape\n");
      }
      Report("open_1m_ms", Median(times), "ms");
    }
    if (wanted("index_build_1m_ms") || wanted("index_1m_mb")) {
      // The spatial index of the same million shapes, as a view builds it for its first search.
      CQuirraDoc doc;
      Must(doc.OnOpenDocument(path) ? QString() : doc.GetLastError());
      std::vector<double> builds;
      size_t bytes = 0;
      for (int i = 0; i < 3; ++i) {
        DrawingRenderer fresh;
        builds.push_back(Millis([&] { bytes = fresh.Index(doc.GetDrawing()).Bytes(); }));
      }
      Report("index_build_1m_ms", Median(builds), "ms");
      Report("index_1m_mb", double(bytes) / (1 << 20), "MB");
    }
    QFile::remove(path);
  }
  if (wanted("open_10m_ms") || wanted("open_10m_mb")) {
    const QString path = dir.filePath("rectangles10m.qrf");
    WriteRectangles(path, 10000000);
    std::vector<double> times, peaks;
    for (int i = 0; i < 3; ++i) {
      QProcess child;
      child.start(QCoreApplication::applicationFilePath(), {"--open", path});
      if (!child.waitForFinished(-1) || child.exitCode() != 0) Must("the process that opens the file failed");
      const QStringList figures = QString::fromLatin1(child.readAllStandardOutput()).split(' ');
      if (figures.size() != 2) Must("the process that opens the file printed no figures");
      times.push_back(figures[0].toDouble());
      peaks.push_back(figures[1].toDouble());
    }
    Report("open_10m_ms", Median(times), "ms");
    Report("open_10m_mb", Median(peaks), "MB", 0);
  }
  return 0;
}
