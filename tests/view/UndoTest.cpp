// The document's history driven as a user drives it: real mouse events and keys in a real view,
// commands through the router. A drawing is compared by the bytes of its file, which hold the
// shapes, the selection and the grip.
#include <gtest/gtest.h>

#include <QColorDialog>
#include <QTemporaryDir>
#include <QTest>
#include <random>

#include "platform/core/CDC.h"
#include "tests/support/FileBytes.h"
#include "tests/support/ModalHandler.h"
#include "tests/view/ViewFixture.h"

namespace {

using viewtest::MakeShape;

class Undo : public viewtest::ViewTest {
 protected:
  // Three shapes as an opened file would bring them, with nothing selected: the history starts here.
  void SetUp() override {
    ViewTest::SetUp();
    if (HasFatalFailure()) return;
    Add(MakeShape(kRectangle, {{40, 40}, {140, 40}, {140, 110}, {40, 110}}, {50, 50}));
    Add(MakeShape(kEllipse, {{200, 60}, {300, 60}, {300, 160}, {200, 160}}, {210, 70}));
    Add(MakeShape(kLine, {{60, 200}, {180, 260}}, {70, 210}));
    doc.GetDrawing().ClearSelection();
    doc.SetTool(kLine);
    ASSERT_FALSE(doc.CanUndo());
  }

  std::string Bytes() const { return file_bytes::Save(drawing(), doc.GetHitMode(), doc.GetHitPart()); }
  int Entries() const { return doc.GetHistory().count(); }

  // A double-click, as the test library sends it, picks and grips the shape there.
  void Pick(QPoint p) {
    QTest::mouseClick(vp(), Qt::LeftButton, {}, p);
    QTest::mouseDClick(vp(), Qt::LeftButton, {}, p);
    Release(p);
    ASSERT_NE(doc.GetHitMode(), HIT_NONE);
  }
  void Run(int id) { ASSERT_TRUE(router.Run(id)) << id; }
  void RotateMode() { Run(ID_EDIT_ROTATE); }

  static constexpr QPoint kA{90, 110};  // the rectangle's lower edge
  static constexpr QPoint kB{250, 60};  // the ellipse's top
  static constexpr QPoint kC{90, 215};  // along the line
};

enum class Kind {
  create,
  vertex,
  edge,
  shear,
  outline,
  centre,
  rotation,
  penWidth,
  penStyle,
  brushStyle,
  penColour,
  erase,
  forwards,
  backwards,
  totallyForwards,
  totallyBackwards,
  cut,
  paste,
};

class EveryStep : public Undo, public ::testing::WithParamInterface<Kind> {
 protected:
  // What comes before the step and is none itself: picking a shape, switching rotate mode, Copy.
  void Prepare() {
    switch (GetParam()) {
      case Kind::create: Run(ID_OBJECT_RECTANGLE); break;
      case Kind::centre:
      case Kind::rotation:
        RotateMode();
        Pick(kA);
        break;
      case Kind::outline:
      case Kind::backwards:
      case Kind::totallyBackwards: Pick(kC); break;
      case Kind::cut: Pick(kB); break;
      case Kind::paste:
        Pick(kB);
        Run(ID_EDIT_COPY);
        break;
      default: Pick(kA);
    }
  }

  void Step() {
    switch (GetParam()) {
      case Kind::create: Drag({320, 200}, {{350, 230}, {380, 260}}); break;
      case Kind::vertex: Drag({140, 110}, {{150, 120}, {160, 130}}); break;
      case Kind::edge: Drag({140, 75}, {{170, 75}}); break;
      case Kind::shear:
        QTest::keyPress(&view, Qt::Key_Space);
        Drag({90, 40}, {{110, 40}});
        QTest::keyRelease(&view, Qt::Key_Space);
        break;
      case Kind::outline: Drag(kC, {{100, 230}, {110, 240}}); break;
      case Kind::centre: Drag({50, 50}, {{80, 70}}); break;
      case Kind::rotation: Drag({140, 110}, {{130, 130}, {120, 140}}); break;
      case Kind::penWidth: Run(ID_PEN_WIDTH_EXTRABOLD); break;
      case Kind::penStyle: Run(ID_PEN_STYLE_DASH); break;
      case Kind::brushStyle: Run(ID_BRUSH_STYLE_CROSS); break;
      case Kind::penColour: {
        ModalHandler modal([](QWidget* w) {
          auto* dialog = qobject_cast<QColorDialog*>(w);
          ASSERT_TRUE(dialog);
          dialog->setCurrentColor(QColor(200, 30, 40));
          dialog->accept();
        });
        Run(ID_PEN_COLOR);
        break;
      }
      case Kind::erase: Run(ID_EDIT_DELETE); break;
      case Kind::forwards: Run(ID_EDIT_FORWARDS); break;
      case Kind::backwards: Run(ID_EDIT_BACKWARDS); break;
      case Kind::totallyForwards: Run(ID_EDIT_TOTALLYFORWARDS); break;
      case Kind::totallyBackwards: Run(ID_EDIT_TOTALLYBACKWARDS); break;
      case Kind::cut: Run(ID_EDIT_CUT); break;
      case Kind::paste: Run(ID_EDIT_PASTE); break;
    }
  }
};

TEST_P(EveryStep, UndoPutsBackTheStartAndRedoTheEnd) {
  CQuirraView::ClearClipboard();
  ASSERT_NO_FATAL_FAILURE(Prepare());
  ASSERT_EQ(Entries(), 0) << "picking, rotate mode and Copy are no steps";
  ASSERT_FALSE(doc.IsModified());
  const std::string before = Bytes();
  const int toolBefore = doc.GetTool();
  const bool rotating = drawing().GetRotateMode();

  ASSERT_NO_FATAL_FAILURE(Step());
  ASSERT_TRUE(router.Run(ID_ZOOM_200));  // zoom is no step, and undo leaves it alone
  ASSERT_EQ(Entries(), 1);
  const std::string after = Bytes();
  ASSERT_NE(after, before);
  EXPECT_TRUE(doc.IsModified());

  ASSERT_TRUE(router.Run(ID_EDIT_UNDO));
  EXPECT_EQ(Bytes(), before);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_FALSE(router.Query(ID_EDIT_UNDO).IsEnabled());
  EXPECT_EQ(doc.GetTool(), drawing().GetSelected() >= 0 ? drawing().GetShape(0).GetType() : toolBefore);
  EXPECT_EQ(drawing().GetZoom(), 200);
  EXPECT_EQ(drawing().GetRotateMode(), rotating);

  ASSERT_TRUE(router.Run(ID_EDIT_REDO));
  EXPECT_EQ(Bytes(), after);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_FALSE(router.Query(ID_EDIT_REDO).IsEnabled());
  EXPECT_EQ(drawing().GetRotateMode(), rotating);
}

INSTANTIATE_TEST_SUITE_P(Kinds, EveryStep,
                         ::testing::Values(Kind::create, Kind::vertex, Kind::edge, Kind::shear, Kind::outline,
                                           Kind::centre, Kind::rotation, Kind::penWidth, Kind::penStyle,
                                           Kind::brushStyle, Kind::penColour, Kind::erase, Kind::forwards,
                                           Kind::backwards, Kind::totallyForwards, Kind::totallyBackwards, Kind::cut,
                                           Kind::paste),
                         [](const auto& info) { return "Kind" + std::to_string(int(info.param)); });

TEST_F(Undo, ADeleteUndoneShowsTheShapeGrippedAgainAndNoChangeIsNoStep) {
  Pick(kA);
  Grip(kA);                                    // a press and release in place changes nothing
  Drag({140, 110}, {{150, 120}, {140, 110}});  // a drag back to where it started
  EXPECT_EQ(Entries(), 0);
  EXPECT_FALSE(doc.IsModified());
  const int part = doc.GetHitPart();

  Run(ID_EDIT_DELETE);
  ASSERT_EQ(count(), 2);
  Run(ID_EDIT_UNDO);
  EXPECT_EQ(count(), 3);
  EXPECT_EQ(drawing().GetSelected(), 0);
  EXPECT_EQ(doc.GetHitMode(), HIT_VERTEX);
  EXPECT_EQ(doc.GetHitPart(), part);
  EXPECT_EQ(doc.GetTool(), kRectangle);
  // The other gripped-shape commands work on it again.
  EXPECT_TRUE(router.Query(ID_EDIT_DELETE).IsEnabled());
}

TEST_F(Undo, UndoWaitsForTheGestureToEnd) {
  Pick(kA);
  Run(ID_PEN_WIDTH_BOLD);
  Press({140, 110});
  MoveTo({160, 130});
  EXPECT_FALSE(router.Query(ID_EDIT_UNDO).IsEnabled());
  EXPECT_FALSE(router.Run(ID_EDIT_UNDO));
  // A command given mid-gesture joins the gesture's step.
  Run(ID_PEN_STYLE_DOT);
  Release({160, 130});
  EXPECT_EQ(Entries(), 2);
  Run(ID_EDIT_UNDO);
  EXPECT_EQ(at(0).GetPenStyle(), PS_SOLID);
  EXPECT_EQ(at(0).GetPoint(2), CPoint(140, 110));
  EXPECT_EQ(at(0).GetPenWidth(), 2);
}

// Escape in the middle of a drag of any kind leaves the drawing, the selection, the grip, the tool
// and the history as they were before the press, and the rest of the drag does nothing.
TEST_F(Undo, EscapeTakesADragBackAsIfItHadNeverBegun) {
  const struct {
    const char* what;
    QPoint from;
    bool rotate;
  } drags[] = {{"a new shape", {350, 250}, false}, {"a vertex", {140, 110}, false}, {"an edge", kA, false},
               {"the outline", {120, 40}, false},  {"a turn", {140, 110}, true},    {"the centre", {50, 50}, true}};
  for (const auto& drag : drags) {
    SCOPED_TRACE(drag.what);
    if (drag.rotate != drawing().GetRotateMode()) RotateMode();
    Pick(kA);
    const std::string before = Bytes();
    const int entries = Entries(), tool = doc.GetTool();
    Press(drag.from);
    MoveTo(drag.from + QPoint(30, 20));
    MoveTo(drag.from + QPoint(50, 35));
    ASSERT_NE(Bytes(), before);
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(drawing().GetAngle(), 0.0);
    MoveTo(drag.from + QPoint(70, 50));
    Release(drag.from + QPoint(70, 50));
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(Entries(), entries);
    EXPECT_EQ(doc.GetTool(), tool);
    EXPECT_FALSE(doc.IsModified());
  }
  // The next drag is a gesture again.
  const int entries = Entries();
  Drag({140, 110}, {{140, 160}});
  EXPECT_EQ(Entries(), entries + 1);
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(Undo, TheModifiedFlagFollowsTheSavedStateAndAnOpenedDocumentStartsAfresh) {
  QTemporaryDir dir;
  const QString path = dir.filePath("saved.qrf");
  Pick(kA);
  Run(ID_PEN_WIDTH_BOLD);
  Run(ID_PEN_WIDTH_EXTRABOLD);
  ASSERT_TRUE(doc.OnSaveDocument(path));
  EXPECT_FALSE(doc.IsModified());
  const std::string saved = Bytes();

  // The history survives the save: back one is away from the file, forward again is the file.
  Run(ID_EDIT_UNDO);
  EXPECT_TRUE(doc.IsModified());
  Run(ID_EDIT_UNDO);
  EXPECT_TRUE(doc.IsModified());
  Run(ID_EDIT_REDO);
  Run(ID_EDIT_REDO);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(Bytes(), saved);

  // A new step after an undo drops the saved state from the history for good.
  Run(ID_EDIT_UNDO);
  Run(ID_PEN_STYLE_DASH);
  EXPECT_FALSE(router.Query(ID_EDIT_REDO).IsEnabled());
  Run(ID_EDIT_UNDO);
  EXPECT_TRUE(doc.IsModified());

  ASSERT_TRUE(doc.OnOpenDocument(path));
  EXPECT_FALSE(doc.CanUndo());
  EXPECT_FALSE(doc.CanRedo());
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(Bytes(), saved);
}

TEST_F(Undo, TheViewsOfADocumentShareItsHistory) {
  CQuirraView second(doc);
  second.resize(400, 300);
  second.show();
  second.OnInitialUpdate();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&second));
  CCommandRouter secondRouter([&] { return std::vector<CCmdTarget*>{&second, &doc}; });

  Pick(kA);
  Run(ID_EDIT_DELETE);
  ASSERT_TRUE(secondRouter.Query(ID_EDIT_UNDO).IsEnabled());
  viewtest::PaintCounter painted;
  second.viewport()->installEventFilter(&painted);
  ASSERT_TRUE(secondRouter.Run(ID_EDIT_UNDO));
  EXPECT_TRUE(QTest::qWaitFor([&] { return painted.paints > 0; }));
  second.viewport()->removeEventFilter(&painted);
  EXPECT_EQ(count(), 3);
  EXPECT_TRUE(router.Query(ID_EDIT_REDO).IsEnabled());
  // Each view shows the rectangle back at its next paint.
  for (CQuirraView* v : {&view, &second}) {
    const QImage image = v->viewport()->grab().toImage();
    EXPECT_NE(image.pixel(90, 40), qRgb(255, 255, 255));
  }
}

TEST_F(Undo, TheHistoryKeepsItsLastThousandSteps) {
  Pick(kA);
  const int steps = CQuirraDoc::kHistorySteps + 5;
  for (int i = 0; i < steps; ++i) Run(i % 2 ? ID_PEN_WIDTH_NORMAL : ID_PEN_WIDTH_BOLD);
  EXPECT_EQ(Entries(), CQuirraDoc::kHistorySteps);
  while (doc.CanUndo()) Run(ID_EDIT_UNDO);
  // The first steps are forgotten, and with them the state the document was opened in.
  EXPECT_EQ(at(0).GetPenWidth(), 1 + (steps - CQuirraDoc::kHistorySteps) % 2);
  EXPECT_TRUE(doc.IsModified());
}

// Random use of one window; the history is checked against a record of each step's bytes at its
// start and end, and of which state was saved. QUIRRA_RANDOM_SEED sets the seed.
TEST_F(Undo, RandomUseUndoesToTheStartAndRedoesToTheEnd) {
  CQuirraView::ClearClipboard();
  bool ok = false;
  const int seed = qEnvironmentVariableIntValue("QUIRRA_RANDOM_SEED", &ok);
  std::mt19937 rng(ok ? unsigned(seed) : 15u);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  QTemporaryDir dir;
  const QString path = dir.filePath("random.qrf");
  constexpr int kCommands[] = {
      ID_EDIT_DELETE,     ID_EDIT_FORWARDS,  ID_EDIT_BACKWARDS,   ID_EDIT_TOTALLYFORWARDS, ID_EDIT_TOTALLYBACKWARDS,
      ID_EDIT_CUT,        ID_EDIT_COPY,      ID_EDIT_PASTE,       ID_EDIT_ROTATE,          ID_ZOOM_100,
      ID_ZOOM_200,        ID_OBJECT_LINE,    ID_OBJECT_RECTANGLE, ID_OBJECT_ELLIPSE,       ID_PEN_STYLE_DASH,
      ID_PEN_STYLE_SOLID, ID_PEN_WIDTH_BOLD, ID_PEN_WIDTH_NORMAL, ID_BRUSH_STYLE_CROSS,    ID_BRUSH_STYLE_PAINT};

  // A point near a handle or the outline of some shape, or anywhere.
  auto target = [&] {
    const CTavlo& d = drawing();
    if (d.GetUpperBound() >= 0 && pick(3) != 0) {
      const CShape s = d.GetShapes()[pick(d.GetUpperBound() + 1)];
      CPoint p = pick(5) == 0 ? s.GetCenter() : s.GetPoint(pick(s.GetPointCount()));
      return Client(p) + QPoint(pick(7) - 3, pick(7) - 3);
    }
    return QPoint(pick(400), pick(300));
  };

  struct Entry {
    std::string before, after;
  };
  std::vector<Entry> entries;  // entries[0, index) are done
  size_t index = 0;
  long clean = 0;  // the entry index of the saved state; -1 once no undo or redo can reach it
  const std::string start = Bytes();

  for (int i = 0; i < 400; ++i) {
    std::string before = Bytes();
    const int indexBefore = doc.GetHistory().index();
    const int what = pick(100);
    std::string step;
    if (what < 30) {
      const bool space = pick(4) == 0;
      if (space) QTest::keyPress(&view, Qt::Key_Space);
      QPoint at = target();
      Press(at);
      for (int m = 1 + pick(3); m > 0; --m) MoveTo(at += QPoint(pick(41) - 20, pick(41) - 20));
      Release(at);
      if (space) QTest::keyRelease(&view, Qt::Key_Space);
      step = "drag";
    } else if (what < 45) {
      const QPoint at = target();
      QTest::mouseClick(vp(), Qt::LeftButton, {}, at);
      before = Bytes();  // the double-click starts a gesture of its own
      QTest::mouseDClick(vp(), Qt::LeftButton, {}, at);
      if (pick(2)) MoveTo(at + QPoint(pick(21) - 10, pick(21) - 10));
      Release(at);
      step = "double-click";
    } else if (what < 55) {
      step = "undo";
      if (router.Run(ID_EDIT_UNDO)) {
        ASSERT_GT(index, 0u);
        ASSERT_EQ(Bytes(), entries[--index].before) << i;
      }
    } else if (what < 62) {
      step = "redo";
      if (router.Run(ID_EDIT_REDO)) {
        ASSERT_LT(index, entries.size());
        ASSERT_EQ(Bytes(), entries[index++].after) << i;
      }
    } else if (what < 65) {
      step = "save";
      ASSERT_TRUE(doc.OnSaveDocument(path));
      clean = long(index);
    } else {
      const int id = kCommands[pick(int(std::size(kCommands)))];
      router.Run(id);
      step = "command " + std::to_string(id);
    }
    if (step != "undo" && step != "redo" && doc.GetHistory().index() != indexBefore) {
      ASSERT_EQ(doc.GetHistory().index(), indexBefore + 1) << i << " " << step;
      entries.resize(index);
      if (clean > long(index)) clean = -1;
      entries.push_back({before, Bytes()});
      ++index;
    }
    ASSERT_EQ(doc.IsModified(), clean != long(index)) << i << " " << step;
  }
  ASSERT_GT(entries.size(), 50u);
  ASSERT_LT(entries.size(), size_t(CQuirraDoc::kHistorySteps));

  const CShapeArray endShapes = drawing().GetShapes();
  const int done = int(index);
  ASSERT_GT(done, 0);
  while (router.Run(ID_EDIT_UNDO)) ASSERT_EQ(Bytes(), entries[--index].before);
  EXPECT_EQ(index, 0u);
  EXPECT_EQ(Bytes(), entries[0].before);
  DocumentFileContent first, original;
  file_bytes::Load(entries[0].before, first);
  file_bytes::Load(start, original);
  EXPECT_TRUE(first.drawing.GetShapes() == original.drawing.GetShapes());
  for (int i = 0; i < done; ++i) ASSERT_TRUE(router.Run(ID_EDIT_REDO));
  EXPECT_EQ(Bytes(), entries[done - 1].after);
  EXPECT_TRUE(drawing().GetShapes() == endShapes);
  RecordProperty("entries", int(entries.size()));
}

}  // namespace
