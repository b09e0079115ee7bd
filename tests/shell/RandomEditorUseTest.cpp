// The whole editor used at random for a long time, through its menus, keys and mouse: shapes of
// every kind drawn, picked, reshaped, moved, turned, restacked, deleted, cut, copied and pasted
// between drawings; pen, brush and zoom; undo and redo; Save, Save As, Open, New, New Window;
// windows closed and the editor left with every answer to "save changes?"; and the editor killed
// and started again to recover its drawings. After every step the drawings must be what the user
// made of them (UserModel):
// - a drawing is modified exactly when its shapes differ from its file's, and its titles say so;
// - a modified drawing has a recovery copy with its shapes, and only a modified one has a copy;
// - Close and Exit ask exactly for the modified drawings, and nothing is lost that the user did
//   not decline to save: the files hold what was saved, and a killed editor's modified drawings
//   come back with their shapes.
//
// QUIRRA_RANDOM_STEPS sets the length of the run, QUIRRA_RANDOM_SEED its seed (printed, so that a
// failure can be replayed).
#include <algorithm>
#include <iostream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>

#include "shell/CSplashWnd.h"
#include "shell/RecoveryDialog.h"
#include "tests/shell/RecoveryFixture.h"
#include "tests/shell/ShapesHash.h"
#include "tests/shell/UserModel.h"
#include "tests/support/EnvInt.h"

namespace shelltest {
namespace {

// The editor's recovery copies follow each change this closely here, so that every step can wait
// for them; the real delay only makes a user wait longer.
constexpr int kCopyDelayMs = 5;
// How long a copy may take to reach or leave the disk on a busy machine.
constexpr int kCopyPatienceMs = 20000;
// How many of the last steps a failure shows.
constexpr size_t kStepsShown = 80;

constexpr int kTools[] = {ID_OBJECT_LINE, ID_OBJECT_BEZIER, ID_OBJECT_ELLIPSE, ID_OBJECT_RECTANGLE,
                          ID_OBJECT_POLYGONRECT};
constexpr int kRestacking[] = {ID_EDIT_FORWARDS, ID_EDIT_BACKWARDS, ID_EDIT_TOTALLYFORWARDS, ID_EDIT_TOTALLYBACKWARDS};
constexpr int kZooms[] = {ID_ZOOM_50, ID_ZOOM_100, ID_ZOOM_200, ID_ZOOM_300, ID_ZOOM_500};

class RandomEditorUse : public RecoveryFixture {
 protected:
  void SetUp() override {
    RecoveryFixture::SetUp();
    recoveryDelayMs = kCopyDelayMs;
  }

  // Runs `steps` random steps from `seed`, checking after each; stops at the first failure and
  // tells how to get there again.
  void Run(unsigned seed, int steps);

 private:
  using Step = void (RandomEditorUse::*)();
  struct Weighted {
    int weight;
    Step step;
    const char* name;
  };

  int Roll(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
  void Say(const std::string& what) { m_said += (m_said.empty() || m_said.back() == ':' ? " " : ", ") + what; }
  static std::string Text(const QString& s) { return s.toStdString(); }
  static std::string Text(QPoint p) { return std::to_string(p.x()) + "," + std::to_string(p.y()); }

  // --- Steps ---------------------------------------------------------------------------------
  Step NextStep();
  void DrawShape();
  void PickShape();
  void DragGrip();
  void Click();
  void Rotate();
  void Restack();
  void Delete();
  void Clipboard();
  void Attribute();
  void Zoom();
  void Scroll();
  void UndoOrRedo();
  void SwitchWindow();
  void Save();
  void NewWindow();
  void NewDrawing();
  void OpenFile();
  void CloseWindow();
  void CloseFile();
  void Exit();
  void KillAndRecover();

  // --- How the user gets there ---------------------------------------------------------------
  // A menu command, once the editor has caught up with enabling its items; a disabled item does
  // nothing, as in the menu.
  void Command(int id);
  void Command(QAction* action);
  // A key, to the active view of the active main window.
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  // The step changes (at most) the active drawing.
  void ActOnActive() { m_acting = &Doc(); }
  // Anywhere in the active view.
  QPoint Anywhere();
  // On screen, a corner, the middle of an edge or the centre of a shape, give or take a pixel.
  QPoint OnShape(const CShape& s);
  QPoint ToClient(CPoint unit) const;
  // Double-clicks one of the drawing's shapes, when it has any.
  void PickAny();
  void DragBy(QPoint from);
  // Answers the dialogs of a command as this user does, and notes them in m_dialogs.
  void AnswerDialog(QWidget* w);
  QString NewFilePath() { return files.filePath(QStringLiteral("drawing%1.qrf").arg(++m_filesMade)); }
  // A fresh editor, after the last one exited or was killed: the offer of copies answered with
  // Recover (by the step's dialog handler), the splash out of the way. Returns how many offers
  // were shown.
  int Restart();
  // Takes every document of the editor the model does not know yet as `expected`.
  void Adopt(const ExpectedDocument& expected);
  void FinishReplay(const UserModel::Replay& replay);

  // --- Checks --------------------------------------------------------------------------------
  void CheckAll();
  void CheckDocument(const CQuirraDoc& doc, ExpectedDocument& expected);

  std::mt19937 m_rng;
  UserModel m_model;
  std::vector<std::string> m_steps;  // what each step did, for a failure message
  std::string m_said;                // what the current step did so far
  const CQuirraDoc* m_acting = nullptr;
  bool m_filesTouched = false;
  std::vector<DialogSeen> m_dialogs;  // the questions and file dialogs of the current step
  size_t m_dialogsHeld = 0;           // how many were held against what the user should be asked
  QString m_toOpen;
  int m_filesMade = 0;
  int m_offers = 0;
  int m_recoveryRows = -1;
  // What the run did, to tell at its end: a run that never got far proves little.
  std::map<std::string, int> m_tally;
};

void RandomEditorUse::Run(unsigned seed, int steps) {
  m_rng.seed(seed);
  std::cout << "RandomEditorUse: seed " << seed << ", " << steps << " steps (replay with QUIRRA_RANDOM_SEED=" << seed
            << " QUIRRA_RANDOM_STEPS=" << steps << ")" << std::endl;
  ASSERT_TRUE(Start({"-Embedding"}));
  Adopt({QString(), QString(), UserModel::NewDrawing(), UserModel::NewDrawing()});
  for (int i = 0; i < steps; ++i) {
    m_acting = nullptr;
    m_filesTouched = false;
    m_dialogs.clear();
    m_dialogsHeld = 0;
    m_said.clear();
    Step step = NextStep();
    // With no drawing window left, the user makes one.
    if (!Active() && !Children().empty()) Frame()->GetMdiArea()->setActiveSubWindow(Children().front());
    if (!Active()) {
      m_said = "no window left: new drawing:";
      step = &RandomEditorUse::NewDrawing;
    }
    {
      ModalHandler dialogs([this](QWidget* w) { AnswerDialog(w); });
      (this->*step)();
      EXPECT_FALSE(dialogs.TimedOut()) << "a dialog stayed open";
    }
    if (m_dialogs.size() > m_dialogsHeld)
      ADD_FAILURE() << "asked \"" << Text(m_dialogs[m_dialogsHeld].asked) << "\" where nothing was to be asked";
    m_steps.push_back(std::to_string(i) + " " + m_said);
    if (!HasFailure()) CheckAll();
    if (HasFailure()) {
      std::ostringstream shown;
      const size_t first = m_steps.size() > kStepsShown ? m_steps.size() - kStepsShown : 0;
      for (size_t k = first; k < m_steps.size(); ++k) shown << "  " << m_steps[k] << "\n";
      FAIL() << "failed at step " << i << " of the run with seed " << seed << " (QUIRRA_RANDOM_SEED=" << seed
             << " QUIRRA_RANDOM_STEPS=" << i + 1 << " replays it); the last steps:\n"
             << shown.str();
    }
  }
  std::cout << "RandomEditorUse:";
  for (const auto& [what, count] : m_tally) std::cout << " " << what << " " << count << ";";
  std::cout << std::endl;
  EXPECT_GT(m_tally["most shapes in a drawing"], 3);
  RecordProperty("seed", int(seed));
  RecordProperty("steps", steps);
}

// --- Steps -------------------------------------------------------------------------------------

RandomEditorUse::Step RandomEditorUse::NextStep() {
  // Weighted so that a drawing gathers shapes and is often modified when it is saved, closed,
  // left or killed.
  const Weighted kSteps[] = {
      {16, &RandomEditorUse::DrawShape, "draw"},
      {10, &RandomEditorUse::PickShape, "pick"},
      {12, &RandomEditorUse::DragGrip, "drag a grip"},
      {4, &RandomEditorUse::Click, "click"},
      {5, &RandomEditorUse::Rotate, "rotate"},
      {4, &RandomEditorUse::Restack, "restack"},
      {4, &RandomEditorUse::Delete, "delete"},
      {8, &RandomEditorUse::Clipboard, "clipboard"},
      {6, &RandomEditorUse::Attribute, "pen or brush"},
      {3, &RandomEditorUse::Zoom, "zoom"},
      {2, &RandomEditorUse::Scroll, "scroll"},
      {10, &RandomEditorUse::UndoOrRedo, "undo or redo"},
      {4, &RandomEditorUse::SwitchWindow, "switch window"},
      {4, &RandomEditorUse::Save, "save"},
      {2, &RandomEditorUse::NewWindow, "new window"},
      {2, &RandomEditorUse::NewDrawing, "new drawing"},
      {2, &RandomEditorUse::OpenFile, "open"},
      {2, &RandomEditorUse::CloseWindow, "close a window"},
      {2, &RandomEditorUse::CloseFile, "close the file"},
      {1, &RandomEditorUse::Exit, "exit"},
      {1, &RandomEditorUse::KillAndRecover, "kill and recover"},
  };
  int total = 0;
  for (const Weighted& w : kSteps) total += w.weight;
  int roll = Roll(total);
  for (const Weighted& w : kSteps) {
    if (roll < w.weight) {
      Say(std::string(w.name) + ":");
      return w.step;
    }
    roll -= w.weight;
  }
  return nullptr;
}

void RandomEditorUse::DrawShape() {
  ActOnActive();
  // A shape is drawn with nothing gripped: the Object menu is disabled while a shape is.
  if (Doc().GetHitMode() != HIT_NONE) {
    const QPoint away = Anywhere();
    QTest::mouseClick(Viewport(), Qt::LeftButton, {}, away);
    Say("click at " + Text(away));
  }
  const int tool = kTools[Roll(int(std::size(kTools)))];
  Command(tool);
  const QPoint from = Anywhere();
  DragBy(from);
}

void RandomEditorUse::PickShape() {
  ActOnActive();
  PickAny();
}

void RandomEditorUse::DragGrip() {
  ActOnActive();
  if (Doc().GetDrawing().GetSelected() < 0) PickAny();
  const CTavlo& drawing = Doc().GetDrawing();
  const QPoint from = drawing.GetSelected() >= 0 ? OnShape(drawing.GetShape(drawing.GetSelected())) : Anywhere();
  // The space bar held makes a rectangle's edge slide along itself.
  const bool space = Roll(4) == 0;
  if (space) QTest::keyPress(View(), Qt::Key_Space);
  if (space) Say("with space");
  DragBy(from);
  if (space) QTest::keyRelease(View(), Qt::Key_Space);
}

void RandomEditorUse::Click() {
  ActOnActive();
  const CTavlo& drawing = Doc().GetDrawing();
  const QPoint at = drawing.GetUpperBound() >= 0 && Roll(2) == 0
                        ? OnShape(drawing.GetShapes()[Roll(drawing.GetUpperBound() + 1)])
                        : Anywhere();
  QTest::mouseClick(Viewport(), Qt::LeftButton, {}, at);
  Say("click at " + Text(at));
}

void RandomEditorUse::Rotate() {
  ActOnActive();
  if (Doc().GetDrawing().GetSelected() < 0) PickAny();
  if (!Doc().GetDrawing().GetRotateMode()) Command(ID_EDIT_ROTATE);
  const CTavlo& drawing = Doc().GetDrawing();
  if (drawing.GetSelected() >= 0 && Roll(2) == 0) {
    CPoint centre = drawing.GetShape(drawing.GetSelected()).GetCenter();
    Say("place the centre");
    DragBy(ToClient(centre));
  }
  if (drawing.GetSelected() >= 0) {
    Say("turn");
    DragBy(OnShape(drawing.GetShape(drawing.GetSelected())));
  }
  if (Roll(2) == 0) Command(ID_EDIT_ROTATE);
}

void RandomEditorUse::Restack() {
  ActOnActive();
  if (Roll(2) == 0) PickAny();
  if (Roll(3) == 0) {
    Key(Roll(2) == 0 ? Qt::Key_Up : Qt::Key_Down);
    return;
  }
  Command(kRestacking[Roll(int(std::size(kRestacking)))]);
}

void RandomEditorUse::Delete() {
  ActOnActive();
  if (Roll(3) != 0) PickAny();
  if (Roll(2) == 0)
    Key(Qt::Key_Delete);
  else
    Command(ID_EDIT_DELETE);
}

void RandomEditorUse::Clipboard() {
  const int what = Roll(3);
  if (what == 2) {
    // Pasted often into another drawing than the one it came from.
    if (Roll(2) == 0) SwitchWindow();
    ActOnActive();
    if (Roll(3) == 0)
      Key(Qt::Key_V, Qt::ControlModifier);
    else
      Command(ID_EDIT_PASTE);
    return;
  }
  ActOnActive();
  if (Roll(4) != 0) PickAny();
  if (Roll(3) == 0)
    Key(what == 0 ? Qt::Key_X : Qt::Key_C, Qt::ControlModifier);
  else
    Command(what == 0 ? ID_EDIT_CUT : ID_EDIT_COPY);
}

void RandomEditorUse::Attribute() {
  ActOnActive();
  // With a shape gripped it changes that shape, otherwise what the next shapes get.
  if (Roll(2) == 0) PickAny();
  // An item of the Pen or Brush menu, as the menu bar has them.
  QList<QAction*> items = MenuItems(Roll(2) == 0 ? QStringLiteral("&Pen") : QStringLiteral("&Brush"));
  items.removeIf([](const QAction* a) { return a->menu() != nullptr; });
  Command(items[Roll(int(items.size()))]);
}

void RandomEditorUse::Zoom() { Command(kZooms[Roll(int(std::size(kZooms)))]); }

void RandomEditorUse::Scroll() {
  for (QScrollBar* bar : {View()->horizontalScrollBar(), View()->verticalScrollBar()})
    bar->setValue(bar->minimum() + Roll(bar->maximum() - bar->minimum() + 1));
  Say("scroll to " + Text(QPoint(View()->horizontalScrollBar()->value(), View()->verticalScrollBar()->value())));
}

void RandomEditorUse::UndoOrRedo() {
  ActOnActive();
  const bool redo = Roll(3) == 0;
  switch (Roll(3)) {
    case 0: Command(redo ? ID_EDIT_REDO : ID_EDIT_UNDO); break;
    case 1: Key(redo ? Qt::Key_Y : Qt::Key_Z, Qt::ControlModifier); break;
    default:
      if (redo)
        Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
      else
        Key(Qt::Key_Backspace, Qt::AltModifier);
  }
}

void RandomEditorUse::SwitchWindow() {
  const auto children = Children();
  CChildFrame* to = children[Roll(int(children.size()))];
  Frame()->GetMdiArea()->setActiveSubWindow(to);
  Say("switch to " + Text(to->windowTitle()));
}

void RandomEditorUse::Save() {
  const CQuirraDoc* doc = &Doc();
  const bool saveAs = Roll(3) == 0;
  Command(saveAs ? ID_FILE_SAVE_AS : ID_FILE_SAVE);
  m_filesTouched = true;
  UserModel::Replay replay(m_model, m_dialogs);
  replay.Save(doc, saveAs);
  FinishReplay(replay);
}

void RandomEditorUse::NewWindow() {
  const CQuirraDoc* doc = &Doc();
  Command(ID_WINDOW_NEW);
  ++m_model.documents.at(doc).windows;
}

void RandomEditorUse::NewDrawing() {
  Command(ID_FILE_NEW);
  ExpectedDocument made{QString(), QString(), UserModel::NewDrawing(), UserModel::NewDrawing()};
  if (Active()) made.title = Doc().GetTitle();
  Adopt(made);
}

void RandomEditorUse::OpenFile() {
  if (m_model.files.empty()) return NewDrawing();
  auto file = m_model.files.begin();
  std::advance(file, Roll(int(m_model.files.size())));
  m_toOpen = file->first;
  Command(ID_FILE_OPEN);
  m_filesTouched = true;
  UserModel::Replay replay(m_model, m_dialogs);
  QString chosen;
  replay.Expect(QStringLiteral("Open"), chosen);
  FinishReplay(replay);
  if (chosen.isEmpty()) return;
  // A file that is open already is only brought to the front.
  for (const auto& [doc, expected] : m_model.documents)
    if (expected.path == m_toOpen) return;
  Adopt({m_toOpen, QFileInfo(m_toOpen).fileName(), file->second, file->second});
}

void RandomEditorUse::CloseWindow() {
  const auto children = Children();
  CChildFrame* window = children[Roll(int(children.size()))];
  const CQuirraDoc* doc = &window->GetDocument();
  Say("close the window " + Text(window->windowTitle()));
  // Its close button, as the title bar has it.
  window->close();
  m_filesTouched = true;
  ExpectedDocument& expected = m_model.documents.at(doc);
  if (expected.windows > 1) {
    --expected.windows;
    FinishReplay(UserModel::Replay(m_model, m_dialogs));
    return;
  }
  UserModel::Replay replay(m_model, m_dialogs);
  if (replay.SaveModified(doc)) m_model.documents.erase(doc);
  FinishReplay(replay);
}

void RandomEditorUse::CloseFile() {
  const CQuirraDoc* doc = &Doc();
  Command(ID_FILE_CLOSE);
  m_filesTouched = true;
  UserModel::Replay replay(m_model, m_dialogs);
  if (replay.SaveModified(doc)) m_model.documents.erase(doc);
  FinishReplay(replay);
}

void RandomEditorUse::Exit() {
  std::vector<const CQuirraDoc*> order;
  for (CDocument* d : app->GetTemplate().GetDocuments()) order.push_back(static_cast<CQuirraDoc*>(d));
  Command(ID_APP_EXIT);
  m_filesTouched = true;
  UserModel::Replay replay(m_model, m_dialogs);
  bool left = true;
  for (const CQuirraDoc* doc : order)
    if (!(left = replay.SaveModified(doc))) break;
  FinishReplay(replay);
  if (HasFailure()) return;
  if (!left) {
    EXPECT_TRUE(Frame()->isVisible()) << "the editor went although the user cancelled";
    return;
  }
  EXPECT_FALSE(Frame()->isVisible()) << "the editor stayed although nobody cancelled";
  ++m_tally["exits"];
  m_model.documents.clear();
  // A clean exit leaves no copy behind, and the next start offers none.
  ASSERT_NO_FATAL_FAILURE(CheckAll());
  Stop();
  EXPECT_EQ(Left(), QStringList()) << "the recovery folder after a clean exit";
  EXPECT_EQ(Restart(), 0) << "a recovery offer after a clean exit";
  Adopt({QString(), QString(), UserModel::NewDrawing(), UserModel::NewDrawing()});
}

void RandomEditorUse::KillAndRecover() {
  // What must come back: every modified drawing, as it is now.
  std::vector<ExpectedDocument> modified;
  for (const auto& [doc, expected] : m_model.documents)
    if (expected.Modified()) modified.push_back(expected);
  Say("kill (" + std::to_string(modified.size()) + " modified)");
  ++m_tally["kills"];
  ASSERT_NO_FATAL_FAILURE(StopAsKilled());
  m_model.documents.clear();
  const int offers = Restart();
  m_filesTouched = true;
  if (modified.empty()) {
    EXPECT_EQ(offers, 0) << "an offer with nothing to recover";
    Adopt({QString(), QString(), UserModel::NewDrawing(), UserModel::NewDrawing()});
    return;
  }
  ASSERT_EQ(offers, 1) << "no offer of the killed editor's drawings";
  EXPECT_EQ(m_recoveryRows, int(modified.size())) << "the offer lists other drawings than were modified";
  // Each recovered drawing is known by its file, or, untitled, by its title.
  for (CDocument* d : app->GetTemplate().GetDocuments()) {
    auto match = std::find_if(modified.begin(), modified.end(), [d](const ExpectedDocument& e) {
      return e.path.isEmpty() ? d->GetPathName().isEmpty() && d->GetTitle() == e.title : d->GetPathName() == e.path;
    });
    ASSERT_NE(match, modified.end()) << "recovered a drawing that was not modified: " << Text(d->GetTitle());
    ExpectedDocument back = *match;
    back.file = back.path.isEmpty() ? UserModel::NewDrawing() : m_model.files.at(back.path);
    back.windows = 1;
    m_model.documents[static_cast<CQuirraDoc*>(d)] = back;
    ++m_tally["drawings recovered"];
    modified.erase(match);
  }
  for (const ExpectedDocument& lost : modified) ADD_FAILURE() << "not recovered: " << Text(lost.title);
}

// --- How the user gets there -------------------------------------------------------------------

void RandomEditorUse::Command(int id) { Command(Action(id)); }

void RandomEditorUse::Command(QAction* action) {
  Idle();
  // Undo and Redo have keys but no menu item, and so no text.
  const QString name = action->text().isEmpty() ? action->toolTip() : action->text().remove('&');
  Say(Text(name) + (action->isEnabled() ? "" : " (disabled)"));
  action->trigger();
}

void RandomEditorUse::Key(Qt::Key key, Qt::KeyboardModifiers modifiers) {
  ASSERT_NO_FATAL_FAILURE(Activate());
  Idle();
  Say("key " + Text(QKeySequence(QKeyCombination(modifiers, key)).toString()));
  QTest::keyClick(View(), key, modifiers);
}

QPoint RandomEditorUse::Anywhere() {
  const QSize size = Viewport()->size();
  return QPoint(Roll(std::max(size.width(), 1)), Roll(std::max(size.height(), 1)));
}

QPoint RandomEditorUse::ToClient(CPoint unit) const {
  Doc().GetDrawing().ZoomPoint(unit);
  const CPoint scroll = View()->GetScrollPosition();
  return QPoint(unit.x - scroll.x, unit.y - scroll.y);
}

QPoint RandomEditorUse::OnShape(const CShape& s) {
  const int n = s.GetPointCount();
  CPoint p = Roll(6) == 0 ? s.GetCenter() : s.GetPoint(Roll(n));
  if (Roll(3) == 0 && n > 1) {
    const int i = Roll(n);
    p = s.GetEdgeMidpoint(i, (i + 1) % n);
  }
  return ToClient(p) + QPoint(Roll(3) - 1, Roll(3) - 1);
}

void RandomEditorUse::PickAny() {
  const CTavlo& drawing = Doc().GetDrawing();
  if (drawing.GetUpperBound() < 0) return Say("no shape to pick");
  const QPoint at = OnShape(drawing.GetShapes()[Roll(drawing.GetUpperBound() + 1)]);
  Pick(at);
  Say("pick at " + Text(at));
}

void RandomEditorUse::DragBy(QPoint from) {
  QTest::mousePress(Viewport(), Qt::LeftButton, {}, from);
  QPoint at = from;
  const int moves = 1 + Roll(4);
  for (int i = 0; i < moves; ++i) {
    at += QPoint(Roll(81) - 40, Roll(61) - 30);
    QTest::mouseMove(Viewport(), at);
  }
  QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, at);
  Say("drag " + Text(from) + " to " + Text(at));
}

void RandomEditorUse::AnswerDialog(QWidget* w) {
  if (auto* box = qobject_cast<QMessageBox*>(w)) {
    const QMessageBox::StandardButton buttons[] = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    const char* names[] = {"Yes", "No", "Cancel"};
    const int answer = Roll(3);
    m_dialogs.push_back({box->text(), names[answer]});
    ++m_tally[std::string("answered ") + names[answer]];
    Say("asked \"" + Text(box->text()) + "\": " + names[answer]);
    if (!Answer(w, buttons[answer])) w->close();
    return;
  }
  if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
    const bool saving = dialog->acceptMode() == QFileDialog::AcceptSave;
    // Now and then the user thinks better of it.
    const QString path = Roll(8) == 0 ? QString() : saving ? NewFilePath() : m_toOpen;
    m_dialogs.push_back({saving ? QStringLiteral("Save As") : QStringLiteral("Open"), path});
    Say(std::string(saving ? "save as " : "open ") + (path.isEmpty() ? "cancelled" : Text(path)));
    if (path.isEmpty()) return dialog->reject();
    dialog->selectFile(path);
    static_cast<QDialog*>(dialog)->accept();
    return;
  }
  if (auto* colours = qobject_cast<QColorDialog*>(w)) {
    const QColor colour(Roll(256), Roll(256), Roll(256));
    Say("colour " + Text(colour.name()));
    colours->setCurrentColor(colour);
    colours->accept();
    return;
  }
  if (auto* offer = qobject_cast<RecoveryDialog*>(w)) {
    ++m_offers;
    m_recoveryRows = offer->findChild<QTreeWidget*>()->topLevelItemCount();
    for (QPushButton* b : offer->findChildren<QPushButton*>())
      if (b->text() == QLatin1String("Recover")) return b->click();
  }
  m_dialogs.push_back({QStringLiteral("a ") + w->metaObject()->className(), QString()});
  w->close();
}

int RandomEditorUse::Restart() {
  m_offers = 0;
  m_recoveryRows = -1;
  // Started as a user starts it, which is when the copies are offered.
  EXPECT_TRUE(Start({}));
  // The splash takes the first key and does nothing else.
  if (CSplashWnd::Current()) QTest::keyClick(Frame(), Qt::Key_Shift);
  EXPECT_TRUE(QTest::qWaitFor([] { return !CSplashWnd::Current(); }));
  Say("start again");
  return m_offers;
}

void RandomEditorUse::Adopt(const ExpectedDocument& expected) {
  for (CDocument* d : app->GetTemplate().GetDocuments())
    if (!m_model.documents.count(static_cast<CQuirraDoc*>(d))) {
      ExpectedDocument e = expected;
      if (e.title.isEmpty()) e.title = d->GetTitle();
      m_model.documents[static_cast<CQuirraDoc*>(d)] = e;
    }
}

void RandomEditorUse::FinishReplay(const UserModel::Replay& replay) {
  m_dialogsHeld = m_dialogs.size();
  const std::string mismatch = replay.Mismatch();
  EXPECT_TRUE(mismatch.empty()) << "the dialogs differ from what the user should be asked: " << mismatch;
}

// --- Checks ------------------------------------------------------------------------------------

void RandomEditorUse::CheckAll() {
  // A window closed goes at the next turn of the event loop, its document with it, and the
  // numbers in the titles of the document's other windows close up then.
  auto documents = [this] {
    std::set<const CQuirraDoc*> open;
    for (CDocument* d : app->GetTemplate().GetDocuments()) open.insert(static_cast<CQuirraDoc*>(d));
    return open;
  };
  auto expected = [this] {
    std::set<const CQuirraDoc*> open;
    for (const auto& [doc, e] : m_model.documents) open.insert(doc);
    return open;
  };
  int windows = 0;
  for (const auto& [doc, e] : m_model.documents) windows += e.windows;
  auto gone = [&] { return int(Frame()->findChildren<CChildFrame*>().size()) == windows; };
  if (!QTest::qWaitFor([&] { return documents() == expected() && gone(); })) {
    for (const auto& [doc, e] : m_model.documents)
      if (!documents().count(doc)) ADD_FAILURE() << "the drawing " << Text(e.title) << " was closed";
    for (const CQuirraDoc* doc : documents())
      if (!m_model.documents.count(doc)) ADD_FAILURE() << "the drawing " << Text(doc->GetTitle()) << " stayed open";
    if (!HasFailure())
      ADD_FAILURE() << Frame()->findChildren<CChildFrame*>().size() << " windows are open where the user has "
                    << windows;
    return;
  }
  for (auto& [doc, e] : m_model.documents) CheckDocument(*doc, e);
  if (HasFailure()) return;
  std::string wrong;
  auto copies = [this] {
    QStringList there;
    for (const QString& copy : Copies()) there << QDir(Root()).filePath(copy);
    return there;
  };
  if (!QTest::qWaitFor([&] { return (wrong = m_model.CopiesDiffer(copies())).empty(); }, kCopyPatienceMs))
    ADD_FAILURE() << "recovery copies: " << wrong;
  if (m_filesTouched) {
    wrong = m_model.FilesDiffer(files.path());
    EXPECT_TRUE(wrong.empty()) << wrong;
  }
}

void RandomEditorUse::CheckDocument(const CQuirraDoc& doc, ExpectedDocument& expected) {
  const std::string name = Text(expected.title);
  const QByteArray now = ShapesHash(doc.GetDrawing());
  if (m_acting != &doc) {
    EXPECT_EQ(now, expected.shapes) << name << ": changed by a step that did not act on it";
  }
  expected.shapes = now;
  int& most = m_tally["most shapes in a drawing"];
  most = std::max(most, doc.GetDrawing().GetUpperBound() + 1);
  const bool modified = expected.Modified();
  EXPECT_EQ(doc.IsModified(), modified) << name
                                        << (modified ? ": its shapes differ from its file's"
                                                     : ": its shapes are its file's");
  EXPECT_EQ(doc.GetPathName(), expected.path) << name;
  EXPECT_EQ(doc.GetTitle(), expected.title);
  const auto windows = app->FramesOf(doc);
  EXPECT_EQ(int(windows.size()), expected.windows) << name << ": windows";
  for (CChildFrame* window : windows) {
    EXPECT_EQ(window->isWindowModified(), modified) << name << ": the title's *";
    // The * goes where the title has its placeholder; several windows are numbered.
    const QString title = window->windowTitle();
    EXPECT_TRUE(title == expected.title + "[*]" || (windows.size() > 1 && title.startsWith(expected.title + ":")))
        << Text(title);
  }
}

TEST_F(RandomEditorUse, DrawingsAreWhatTheUserMadeOfThem) {
  CQuirraView::ClearClipboard();
  Run(unsigned(EnvInt("QUIRRA_RANDOM_SEED", int(std::random_device()() & 0x7FFFFFFF))),
      EnvInt("QUIRRA_RANDOM_STEPS", 300));
}

}  // namespace
}  // namespace shelltest
