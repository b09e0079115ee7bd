// An editor at work, for the tests that kill it: the whole editor (offscreen) with the drawing
// FILE and a new untitled one, edited through real mouse events in their views, undone now and
// then, the titled one saved now and then, until it is killed. Every state is logged to LOG
// before the event loop runs again (so before any copy of it can be written), as
//   <ms since the epoch> state <document 0|1> <modified 0|1> <hash of the shapes>
//   <ms> saving <hash>   and   <ms> saved
// around each save of document 0.
//
// recovery_driver FILE LOG SEED
#include <cstdio>
#include <random>

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QTest>
#include <QTimer>

#include "document/CQuirraDoc.h"
#include "platform/qt/CMultiDocTemplate.h"
#include "shell/CChildFrame.h"
#include "shell/CQuirraApp.h"
#include "tests/shell/ShapesHash.h"
#include "view/CQuirraView.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  if (argc != 4) return 2;
  QFile log(QString::fromLocal8Bit(argv[2]));
  if (!log.open(QIODevice::WriteOnly | QIODevice::Append)) return 2;
  std::mt19937 rng(unsigned(atoi(argv[3])));
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };

  CQuirraApp app;
  if (!app.InitInstance({QString::fromLocal8Bit(argv[1])}, true)) return 2;
  app.OnFileNew();
  auto write = [&log](const QByteArray& line) {
    log.write(QByteArray::number(QDateTime::currentMSecsSinceEpoch()) + ' ' + line + '\n');
    log.flush();
  };

  auto logState = [&](int which, const CQuirraDoc& doc) {
    write("state " + QByteArray::number(which) + ' ' + (doc.IsModified() ? "1 " : "0 ") + ShapesHash(doc.GetDrawing()));
  };
  for (int which : {0, 1}) logState(which, *static_cast<CQuirraDoc*>(app.GetTemplate().GetDocuments()[which]));

  QTimer step;
  QObject::connect(&step, &QTimer::timeout, [&] {
    const int which = pick(2);
    CChildFrame* frame = app.FramesOf(*static_cast<CQuirraDoc*>(app.GetTemplate().GetDocuments()[which])).front();
    CQuirraDoc& doc = frame->GetDocument();
    QWidget* viewport = frame->GetView()->viewport();
    const int what = pick(20);
    if (what == 0 && which == 0) {
      write("saving " + ShapesHash(doc.GetDrawing()));
      app.DoSave(doc, false);
      write("saved");
      logState(0, doc);
      return;
    }
    if (what < 4 && doc.CanUndo()) {
      doc.Undo();
    } else {
      const QPoint from(10 + pick(300), 10 + pick(200));
      const QPoint to = from + QPoint(1 + pick(60), 1 + pick(40));
      QTest::mousePress(viewport, Qt::LeftButton, {}, from);
      QTest::mouseMove(viewport, to);
      QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
    }
    logState(which, doc);
  });
  step.start(40);
  write("started");
  return application.exec();
}
