// The windows at work: the context menu, the keys, dropped files, the save question on closing
// and the About box.
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTest>
#include <QUrl>

#include "platform/qt/CStaticText.h"
#include "shell/CommandActions.h"
#include "shell/FileProgressDialog.h"
#include "tests/shell/ShellFixture.h"

namespace shelltest {
namespace {

// The first item with that text; null when there is none.
QAction* Item(QMenu* menu, const QString& text) {
  QList<QAction*> items;
  CollectItems(menu, items);
  for (QAction* a : items)
    if (a->text() == text) return a;
  return nullptr;
}

class ContextMenu : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    ASSERT_TRUE(Start({"-Embedding"}));
    Activate();
  }

  QMenu* Popup() { return Frame()->GetContextMenu(); }
  void Dismiss() {
    Popup()->close();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Popup()->isVisible(); }));
  }
};

TEST_F(ContextMenu, RightClickOpensItAtTheMouseWithTheStatesOfANewDocument) {
  const QPoint local(60, 40);
  const QPoint global = Viewport()->mapToGlobal(local);
  // A right button press through the window system, which makes the context menu event.
  QWindow* window = Frame()->windowHandle();
  QTest::mousePress(window, Qt::RightButton, {}, window->mapFromGlobal(global));
  ASSERT_TRUE(QTest::qWaitFor([this] { return Popup()->isVisible(); }));
  QTest::mouseRelease(window, Qt::RightButton, {}, window->mapFromGlobal(global));
  EXPECT_EQ(Popup()->pos(), global);

  QStringList top;
  for (QAction* a : Popup()->actions())
    if (!a->isSeparator()) top << a->text();
  EXPECT_EQ(top, (QStringList{"Cu&t", "&Copy", "&Paste", "&Delete", "Totally Forwards", "&Forwards", "&Backwards",
                              "Totally Backwards", "&Pen", "&Brush", "&Object", "Zoom", "&Rotate", "&Properties"}));

  QList<QAction*> items;
  CollectItems(Popup(), items);
  QStringList checked;
  for (QAction* a : items)
    if (a->isChecked()) checked << a->text();
  checked.sort();
  EXPECT_EQ(checked, (QStringList{"&Line", "100%", "Normal", "Solid", "Transparent"}));

  for (const char* text : {"Cu&t", "&Copy", "&Paste", "&Delete", "Totally Forwards", "&Forwards", "&Backwards",
                           "Totally Backwards", "&Properties"}) {
    const QAction* item = Item(Popup(), text);
    ASSERT_NE(item, nullptr) << text;
    EXPECT_FALSE(item->isEnabled()) << text;
  }
  for (const char* text : {"&Line", "&Rectangle", "Dash", "Bold", "Cross", "200%"}) {
    const QAction* item = Item(Popup(), text);
    ASSERT_NE(item, nullptr) << text;
    EXPECT_TRUE(item->isEnabled()) << text;
  }

  // An item chosen in it runs in the active document.
  QAction* ellipse = Item(Popup(), "&Ellipse");
  ASSERT_NE(ellipse, nullptr);
  ellipse->trigger();
  EXPECT_EQ(Doc().GetTool(), kEllipse);
  Dismiss();
}

// Desktop themes may ask for key texts in context menus; the popup has its items bare anyway,
// while the menu bar keeps them.
TEST_F(ContextMenu, ShowsNoKeyTextsEvenWhereTheThemeAsksForThem) {
  QGuiApplication::styleHints()->setShowShortcutsInContextMenus(true);
  QList<QAction*> items;
  CollectItems(Popup(), items);
  int keyed = 0;
  for (QAction* a : items) {
    if (a->shortcut().isEmpty()) continue;
    ++keyed;
    EXPECT_FALSE(a->isShortcutVisibleInContextMenu()) << a->text().toStdString();
  }
  QGuiApplication::styleHints()->setShowShortcutsInContextMenus(false);
  EXPECT_GE(keyed, 5);
  EXPECT_EQ(Action(ID_EDIT_CUT)->shortcut(), QKeySequence("Ctrl+X"));
}

TEST_F(ContextMenu, FromTheKeyboardOpensBelowTheClientCorner) {
  const QPoint corner = View()->mapToGlobal(QPoint(0, 0)) + QPoint(5, 5);
  QTest::keyClick(View(), Qt::Key_F10, Qt::ShiftModifier);
  ASSERT_TRUE(QTest::qWaitFor([this] { return Popup()->isVisible(); }));
  EXPECT_EQ(Popup()->pos(), corner);
  Dismiss();

  // The menu key arrives as a context menu event from the keyboard, at whatever point.
  QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(200, 150), Viewport()->mapToGlobal(QPoint(200, 150)));
  QApplication::sendEvent(Viewport(), &key);
  ASSERT_TRUE(QTest::qWaitFor([this] { return Popup()->isVisible(); }));
  EXPECT_EQ(Popup()->pos(), corner);
  Dismiss();
}

// --- Keys --------------------------------------------------------------------------------------

class Keys : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    ASSERT_TRUE(Start({"-Embedding"}));
    Activate();
    Action(ID_OBJECT_RECTANGLE)->trigger();
    ASSERT_EQ(Doc().GetTool(), kRectangle);
    Drag(kA, {120, 80});
    Drag(kB, {300, 140});
    ASSERT_EQ(Order(), (std::vector<CPoint>{Corner(kA), Corner(kB)}));
    ran = std::make_unique<QSignalSpy>(&Frame()->GetActions(), &CommandActions::commandRun);
  }

  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Idle();
    QTest::keyClick(View(), key, modifiers);
  }
  const CTavlo& Drawing() const { return Doc().GetDrawing(); }
  // The shapes by their first corner, back to front.
  std::vector<CPoint> Order() const {
    std::vector<CPoint> order;
    for (int i = 0; i <= Drawing().GetUpperBound(); ++i) order.push_back(Drawing().GetShapes()[i].GetPoint(0));
    return order;
  }
  static CPoint Corner(QPoint p) { return CPoint(p.x(), p.y()); }
  std::vector<int> Ran() const {
    std::vector<int> ids;
    for (const QList<QVariant>& call : *ran) ids.push_back(call[0].toInt());
    return ids;
  }

  static constexpr QPoint kA{20, 20};
  static constexpr QPoint kB{200, 40};
  std::unique_ptr<QSignalSpy> ran;  // the commands that ran after the two shapes were drawn
};

TEST_F(Keys, ArrowsReorderTheGrippedShapeOnlyWhileTheyMay) {
  // The shape just drawn is gripped and in front: Up has nowhere to take it.
  ASSERT_EQ(Drawing().GetSelected(), 1);
  ASSERT_NE(Doc().GetHitMode(), HIT_NONE);
  Key(Qt::Key_Up);
  EXPECT_TRUE(Ran().empty());
  EXPECT_EQ(Order(), (std::vector<CPoint>{Corner(kA), Corner(kB)}));
  EXPECT_EQ(Drawing().GetSelected(), 1);

  Key(Qt::Key_Down);
  EXPECT_EQ(Ran(), std::vector<int>{ID_EDIT_BACKWARDS});
  EXPECT_EQ(Order(), (std::vector<CPoint>{Corner(kB), Corner(kA)}));
  EXPECT_EQ(Drawing().GetSelected(), -1);
  EXPECT_EQ(Doc().GetHitMode(), HIT_NONE);

  // Nothing gripped: neither arrow does anything.
  Key(Qt::Key_Up);
  Key(Qt::Key_Down);
  EXPECT_EQ(Ran().size(), 1u);
  EXPECT_EQ(Order(), (std::vector<CPoint>{Corner(kB), Corner(kA)}));

  Pick(kB);
  ASSERT_EQ(Drawing().GetSelected(), 0);
  ASSERT_NE(Doc().GetHitMode(), HIT_NONE);
  Key(Qt::Key_Down);  // already at the back
  EXPECT_EQ(Ran().size(), 1u);
  Key(Qt::Key_Up);
  EXPECT_EQ(Ran(), (std::vector<int>{ID_EDIT_BACKWARDS, ID_EDIT_FORWARDS}));
  EXPECT_EQ(Order(), (std::vector<CPoint>{Corner(kA), Corner(kB)}));
}

TEST_F(Keys, DeleteAndShiftDeleteTakeTheGrippedShapeAndTheUndoKeysBringItBack) {
  EXPECT_FALSE(Action(ID_EDIT_PASTE)->isEnabled());
  Key(Qt::Key_Delete);
  EXPECT_EQ(Ran(), std::vector<int>{ID_EDIT_DELETE});
  EXPECT_EQ(Order(), std::vector<CPoint>{Corner(kA)});
  Key(Qt::Key_Delete);  // no grip now
  EXPECT_EQ(Order(), std::vector<CPoint>{Corner(kA)});
  Key(Qt::Key_Delete, Qt::ShiftModifier);
  EXPECT_EQ(Ran().size(), 1u);
  EXPECT_FALSE(Action(ID_EDIT_PASTE)->isEnabled());

  Pick(kA);
  ASSERT_NE(Doc().GetHitMode(), HIT_NONE);
  Key(Qt::Key_Delete, Qt::ShiftModifier);
  EXPECT_EQ(Ran(), (std::vector<int>{ID_EDIT_DELETE, ID_EDIT_CUT}));
  EXPECT_TRUE(Order().empty());
  EXPECT_EQ(CQuirraView::GetClipShape().GetPointCount(), 4);
  EXPECT_TRUE(Action(ID_EDIT_PASTE)->isEnabled());

  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Order(), std::vector<CPoint>{CPoint(kA.x() + 7, kA.y() + 7)});
  // Both undo keys, each one step back: the paste, then the cut, whose shape returns gripped.
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(Order().empty());
  Key(Qt::Key_Backspace, Qt::AltModifier);
  EXPECT_EQ(Order(), std::vector<CPoint>{Corner(kA)});
  EXPECT_NE(Doc().GetHitMode(), HIT_NONE);
  // Both redo keys, forward again; then nothing is left to redo and a third press does nothing.
  Key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_TRUE(Order().empty());
  Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Order(), std::vector<CPoint>{CPoint(kA.x() + 7, kA.y() + 7)});
  EXPECT_FALSE(Action(ID_EDIT_REDO)->isEnabled());
  Key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Ran(), (std::vector<int>{ID_EDIT_DELETE, ID_EDIT_CUT, ID_EDIT_PASTE, ID_EDIT_UNDO, ID_EDIT_UNDO,
                                     ID_EDIT_REDO, ID_EDIT_REDO}));
}

// --- Dropped files -----------------------------------------------------------------------------

using Drop = ShellTest;

TEST_F(Drop, AFileDroppedOnTheMainWindowOpens) {
  const QString path = WriteFile("dropped.qrf", DrawingFile(TwoShapes(), 0, 0, 0));
  ASSERT_TRUE(Start({"-Embedding"}));

  QMimeData text;
  text.setText(path);
  QDragEnterEvent refused(QPoint(100, 100), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(Frame(), &refused);
  EXPECT_FALSE(refused.isAccepted());

  QMimeData files;
  files.setUrls({QUrl::fromLocalFile(path)});
  QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(Frame(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(Frame(), &drop);
  EXPECT_TRUE(drop.isAccepted());

  EXPECT_EQ(Titles(), (QStringList{"Tavlo1", "dropped.qrf"}));
  EXPECT_EQ(Doc().GetPathName(), path);
  EXPECT_EQ(Doc().GetDrawing().GetUpperBound(), 1);
}

// --- Closing -----------------------------------------------------------------------------------

class SavePrompt : public ShellTest {
 protected:
  // Answers every question with `button`, noting what was asked.
  ModalHandler Answering(QMessageBox::StandardButton button) {
    return ModalHandler([this, button](QWidget* w) {
      if (auto* box = qobject_cast<QMessageBox*>(w)) {
        asked << box->text();
        offered = box->standardButtons();
      }
      if (!Answer(w, button)) w->close();
    });
  }
  void Modify() {
    Action(ID_OBJECT_RECTANGLE)->trigger();
    Drag({400, 200}, {450, 260});
    ASSERT_TRUE(Doc().IsModified());
  }

  QStringList asked;
  QMessageBox::StandardButtons offered;
};

TEST_F(SavePrompt, CancelKeepsTheModifiedWindow) {
  ASSERT_TRUE(Start({"-Embedding"}));
  Modify();
  EXPECT_EQ(Titles(), QStringList{"Tavlo1*"});
  {
    ModalHandler closer = Answering(QMessageBox::Cancel);
    EXPECT_FALSE(Active()->close());
    Action(ID_FILE_CLOSE)->trigger();
    Action(ID_APP_EXIT)->trigger();
    EXPECT_EQ(closer.Seen(), 3);
    EXPECT_FALSE(closer.TimedOut());
  }
  EXPECT_EQ(asked, QStringList(3, "Save changes to Tavlo1?"));
  EXPECT_EQ(offered, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_EQ(Titles(), QStringList{"Tavlo1*"});
  EXPECT_TRUE(Frame()->isVisible());
  EXPECT_TRUE(Doc().IsModified());
  EXPECT_EQ(Doc().GetDrawing().GetUpperBound(), 0);
  // Unchanged documents close without a question.
  Action(ID_FILE_NEW)->trigger();
  ModalHandler none = Answering(QMessageBox::Cancel);
  Action(ID_FILE_CLOSE)->trigger();
  EXPECT_EQ(none.Seen(), 0);
  EXPECT_TRUE(QTest::qWaitFor([this] { return Titles() == QStringList{"Tavlo1*"}; }));
}

// Of a document's windows only the last one asks; Close and Exit ask once for all of them.
TEST_F(SavePrompt, OnlyTheLastWindowOfADocumentAsks) {
  ASSERT_TRUE(Start({"-Embedding"}));
  Modify();
  Action(ID_WINDOW_NEW)->trigger();
  {
    ModalHandler closer = Answering(QMessageBox::Cancel);
    QPointer<CChildFrame> first(Children().front());
    EXPECT_TRUE(first->close());
    ASSERT_TRUE(QTest::qWaitFor([&] { return first.isNull(); }));
    EXPECT_EQ(closer.Seen(), 0);
    EXPECT_FALSE(Active()->close());
    EXPECT_EQ(closer.Seen(), 1);
  }
  EXPECT_EQ(Titles(), QStringList{"Tavlo1*"});
  ModalHandler closer = Answering(QMessageBox::No);
  Action(ID_WINDOW_NEW)->trigger();
  Action(ID_FILE_CLOSE)->trigger();
  EXPECT_EQ(closer.Seen(), 1);
  EXPECT_TRUE(Children().empty());
  ASSERT_TRUE(QTest::qWaitFor([this] { return app->GetTemplate().GetDocuments().empty(); }));

  Action(ID_FILE_NEW)->trigger();
  Modify();
  Action(ID_WINDOW_NEW)->trigger();
  Action(ID_APP_EXIT)->trigger();
  EXPECT_EQ(closer.Seen(), 2);
  EXPECT_EQ(asked, (QStringList{"Save changes to Tavlo1?", "Save changes to Tavlo1?", "Save changes to Tavlo2?"}));
  EXPECT_TRUE(Children().empty());
  EXPECT_FALSE(Frame()->isVisible());
}

TEST_F(SavePrompt, NoClosesWithoutWriting) {
  const QByteArray bytes = DrawingFile(TwoShapes(), -1, 0, 0);
  const QString path = WriteFile("kept.qrf", bytes);
  ASSERT_TRUE(Start({"-Embedding", path}));
  Modify();
  ModalHandler closer = Answering(QMessageBox::No);
  Action(ID_FILE_CLOSE)->trigger();
  EXPECT_EQ(closer.Seen(), 1);
  EXPECT_EQ(asked, QStringList{"Save changes to kept.qrf?"});
  EXPECT_TRUE(Children().empty());
  EXPECT_TRUE(QTest::qWaitFor([this] { return app->GetTemplate().GetDocuments().empty(); }));
  EXPECT_EQ(MenuBarTitles(), (QStringList{"&File", "&View", "&Help"}));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), bytes);
}

// Save does not write over what another program put in the file without asking; the answer
// that loses nothing is the default.
TEST_F(SavePrompt, SaveAsksBeforeOverwritingAFileAnotherProgramChanged) {
  const QString path = WriteFile("garden.qrf", DrawingFile(TwoShapes(), -1, 0, 0));
  ASSERT_TRUE(Start({"-Embedding", path}));
  Drag({30, 150}, {90, 200});
  const QByteArray theirs = DrawingFile(TwoShapes(), 0, 0, 0) + "their note";
  WriteFile("garden.qrf", theirs);
  QStringList texts;
  QMessageBox::StandardButton answer = QMessageBox::No;
  ModalHandler closer([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    texts << box->text();
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
    Answer(w, answer);
  });
  Action(ID_FILE_SAVE)->trigger();
  ASSERT_EQ(texts.size(), 1);
  EXPECT_EQ(texts[0],
            QDir::toNativeSeparators(path) + " has been changed by another program since it was opened. Save anyway?");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), theirs);
  EXPECT_TRUE(Doc().IsModified());

  answer = QMessageBox::Yes;
  Action(ID_FILE_SAVE)->trigger();
  EXPECT_EQ(texts.size(), 2);
  EXPECT_FALSE(Doc().IsModified());
  EXPECT_EQ(QFileInfo(path).size(), 14 + 3 * 120);
}

// --- Progress of long loads and saves ------------------------------------------------------------

TEST(FileProgress, ShowsOnlyPastItsPatienceAndItsCancelStopsTheTransfer) {
  QWidget owner;
  FileProgressDialog patient(&owner, 60000);
  EXPECT_TRUE(patient.Step("/a/garden.qrf", 10, 100));
  EXPECT_EQ(patient.Dialog(), nullptr);  // quick transfers pass unseen
  EXPECT_TRUE(patient.Step("/a/garden.qrf", 100, 100));

  FileProgressDialog progress(&owner, 0);
  EXPECT_TRUE(progress.Step("/a/garden.qrf", 25, 100));
  ASSERT_NE(progress.Dialog(), nullptr);
  EXPECT_TRUE(progress.Dialog()->isVisible());
  EXPECT_EQ(progress.Dialog()->labelText(), "garden.qrf");
  EXPECT_EQ(progress.Dialog()->value(), 250);
  QPushButton* cancel = progress.Dialog()->findChild<QPushButton*>();
  ASSERT_NE(cancel, nullptr);
  QTest::mouseClick(cancel, Qt::LeftButton);
  EXPECT_FALSE(progress.Step("/a/garden.qrf", 50, 100));
  EXPECT_TRUE(progress.Step("/a/garden.qrf", 50, 50));  // the end, as the transfer reports it
  EXPECT_EQ(progress.Dialog(), nullptr);
}

// --- About -------------------------------------------------------------------------------------

using About = ShellTest;

TEST_F(About, ShowsNameVersionAndPictureWithEveryTextWholeAndEnterClosesIt) {
  ASSERT_TRUE(Start({"-Embedding"}));
  QString caption, version;
  QStringList buttons, cut;
  QSize picture;
  int texts = 0;
  int result = -1;
  ModalHandler closer([&](QWidget* w) {
    auto* dialog = qobject_cast<QDialog*>(w);
    ASSERT_NE(dialog, nullptr);
    caption = dialog->windowTitle();
    for (CStaticText* t : dialog->findChildren<CStaticText*>()) {
      if (t->text() == "Quirra Version 3.5" && t->isVisible()) version = t->text();
      ++texts;
      if (!t->Fits()) cut << t->text();
    }
    for (QPushButton* b : dialog->findChildren<QPushButton*>())
      if (b->isVisible()) buttons << b->text() + (b->isDefault() ? "(default)" : "");
    for (QLabel* l : dialog->findChildren<QLabel*>())
      if (!l->pixmap().isNull()) picture = l->pixmap().size();
    QObject::connect(dialog, &QDialog::finished, [&](int r) { result = r; });
    QTest::keyClick(dialog, Qt::Key_Return);
  });
  Action(ID_APP_ABOUT)->trigger();
  EXPECT_EQ(closer.Seen(), 1);
  EXPECT_FALSE(closer.TimedOut());
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_EQ(caption, "About Quirra");
  EXPECT_EQ(version, "Quirra Version 3.5");
  EXPECT_EQ(texts, 4);
  EXPECT_EQ(cut, QStringList{});
  EXPECT_EQ(buttons, QStringList{"OK(default)"});
  EXPECT_EQ(picture, QSize(80, 80));
  EXPECT_EQ(Titles(), QStringList{"Tavlo1"});
  EXPECT_FALSE(Doc().IsModified());
}

// Some window managers offer to minimise any window and take its owner with it; a modal box
// that went so would leave the editor out of reach.
TEST_F(About, AModalBoxMinimisedComesStraightBack) {
  ASSERT_TRUE(Start({"-Embedding"}));
  Drag({30, 30}, {90, 80});
  ASSERT_TRUE(Doc().IsModified());
  int restored = 0;
  ModalHandler closer([&](QWidget* w) {
    w->showMinimized();
    if (QTest::qWaitFor([w] { return w->isVisible() && !w->isMinimized(); })) ++restored;
    if (!Answer(w, QMessageBox::Cancel)) w->close();
  });
  Action(ID_APP_ABOUT)->trigger();
  Action(ID_FILE_CLOSE)->trigger();  // the save question
  EXPECT_EQ(closer.Seen(), 2);
  EXPECT_EQ(restored, 2);
  EXPECT_EQ(Titles(), QStringList{"Tavlo1*"});
}

}  // namespace
}  // namespace shelltest
