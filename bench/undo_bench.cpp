// The history at 1,000,000 shapes: undo and redo of a drag (the model's time, without painting),
// undo of a Delete, and what one step costs in memory, as its own count of bytes and as the
// growth of the process over a full history of drag steps. Prints "name value unit" lines.
#include <QCoreApplication>
#include <QFile>

#include "document/CQuirraDoc.h"

#include "bench/BenchUtil.h"
#include "bench/SampleShapes.h"

namespace {

constexpr int kShapes = 1000000;

long RssKiB() {
  QFile status("/proc/self/status");
  status.open(QIODevice::ReadOnly);
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').front().toLong();
  return 0;
}

// A drag of the shape in the middle of the stack by its outline, in 20 moves, as the view makes it.
void Drag(CQuirraDoc& doc) {
  CTavlo& drawing = doc.GetDrawing();
  doc.BeginStep();
  drawing.SetSelected(kShapes / 2);
  doc.Grip(HIT_OUTLINE, 0);
  for (int move = 0; move < 20; ++move) {
    CShape s = drawing.GetShape(0);
    for (int i = 0; i < s.GetPointCount(); ++i) s.SetPoint(i, s.GetPoint(i).x + 1, s.GetPoint(i).y + 1);
    drawing.SetShape(s, 0);
  }
  doc.EndStep();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  CQuirraDoc doc;
  sample_shapes::LoadMixed(doc.GetDrawing(), kShapes);

  std::vector<double> undo, redo;
  for (int round = 0; round < 101; ++round) {
    Drag(doc);
    undo.push_back(Millis([&] { doc.Undo(); }));
    redo.push_back(Millis([&] { doc.Redo(); }));
  }
  Report("undo_drag_1m_ms", Median(undo), "ms", 5);
  Report("redo_drag_1m_ms", Median(redo), "ms", 5);
  const auto* step = dynamic_cast<const DrawingStep*>(doc.GetHistory().command(doc.GetHistory().count() - 1));
  Report("drag_step_bytes", double(step ? step->Bytes() : 0), "bytes");

  // Undoing a Delete puts the record back into the block, moving those above it.
  std::vector<double> deleteUndo;
  for (int round = 0; round < 5; ++round) {
    doc.GetDrawing().SetSelected(kShapes / 3);
    doc.Grip(HIT_OUTLINE, 0);
    doc.BeginStep();
    doc.GetDrawing().DeleteSelected();
    doc.EndStep();
    deleteUndo.push_back(Millis([&] { doc.Undo(); }));
  }
  Report("undo_delete_1m_ms", Median(deleteUndo), "ms");

  // A full history of drag steps: the growth of the whole process, per step.
  const long before = RssKiB();
  for (int i = 0; i < CQuirraDoc::kHistorySteps; ++i) Drag(doc);
  const long after = RssKiB();
  Report("rss_per_drag_step_kb", double(after - before) / CQuirraDoc::kHistorySteps, "KB");
  return 0;
}
