// A recovery copy of a 1,000,000-shape drawing: how long the window's thread is kept (the
// snapshot), and how long the copy takes to reach the disk on its own thread. Prints
// "name value unit" lines, each the median of 5 copies.
#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>

#include "document/CQuirraDoc.h"
#include "recovery/RecoveryCopy.h"

#include "bench/BenchUtil.h"
#include "bench/SampleShapes.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTemporaryDir dir;
  CQuirraDoc doc;
  sample_shapes::LoadMixed(doc.GetDrawing(), 1000000);
  // One change through the history makes the drawing differ from its (empty) file.
  doc.BeginStep();
  doc.GetDrawing().AddShape(sample_shapes::Mixed(1)[0]);
  doc.EndStep();
  auto* copy = new RecoveryCopy(doc, dir.filePath(QStringLiteral("1")));

  std::vector<double> snapshot, write;
  for (int round = 0; round < 5; ++round) {
    QEventLoop loop;
    QObject::connect(copy, &RecoveryCopy::written, &loop, &QEventLoop::quit);
    write.push_back(Millis([&] {
      copy->WriteSoon();
      loop.exec();
    }));
    snapshot.push_back(copy->LastSnapshotMs());
  }
  Report("recovery_snapshot_1m_ms", Median(snapshot), "ms");
  Report("recovery_write_1m_ms", Median(write), "ms");
  return 0;
}
