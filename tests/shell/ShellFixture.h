// The whole editor started in-process, as a user would start it, with its settings, desktop files,
// instance socket and recovery copies in fresh temporary folders; helpers to drive its windows
// with real events.
#pragma once

#include "tests/support/ModalHandler.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

#include <QAction>
#include <QElapsedTimer>
#include <QEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include "document/CQuirraDoc.h"
#include "platform/qt/CMultiDocTemplate.h"
#include "recovery/RecoveryCopy.h"
#include "res/CommandIds.h"
#include "shell/CChildFrame.h"
#include "shell/CMainFrame.h"
#include "shell/CQuirraApp.h"
#include "shell/CommandActions.h"
#include "view/CQuirraView.h"

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace shelltest {

// One shape record of a drawing file.
struct Record {
  int type = kRectangle;
  QPoint center;
  std::vector<QPoint> points;
  uint32_t penColor = 0;
  uint32_t brushColor = 0;
  int penWidth = 1;
  int penStyle = 0;
  int brushStyle = kBrushTransparent;
};

// The bytes of a drawing file: selection, count, 120-byte records, hitMode, hitPart.
QByteArray DrawingFile(const std::vector<Record>& records, int selected, int hitMode, int hitPart);

// Every item of a menu and its submenus, depth first.
void CollectItems(QMenu* menu, QList<QAction*>& items);

// Clicks the button of a message box; false when `w` is no message box or lacks that button.
bool Answer(QWidget* w, QMessageBox::StandardButton button);

// Counts the events of one type that reach an object while it lives.
class EventCount : public QObject {
 public:
  EventCount(QObject* watched, QEvent::Type type) : m_type(type) { watched->installEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == m_type) ++count;
    return false;
  }

 private:
  QEvent::Type m_type;
};

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts a new editor with the given command line (without the program name).
  bool Start(const QStringList& arguments);
  void Stop();
  // A desktop database refresh started by the editor still runs on the data folder.
  bool RefreshRunning() const;

  CMainFrame* Frame() const { return app->GetMainFrame(); }
  std::vector<CChildFrame*> Children() const;
  // The child windows' titles as shown, in creation order.
  QStringList Titles() const;
  QStringList MenuBarTitles() const;
  // The items of the menu bar's menu `title`, its submenus' included.
  QList<QAction*> MenuItems(const QString& title) const;
  CChildFrame* Active() const { return Frame()->GetActiveFrame(); }
  CQuirraView* View() const { return Active()->GetView(); }
  CQuirraDoc& Doc() const { return Active()->GetDocument(); }
  QAction* Action(int id) const { return Frame()->GetActions().Action(id); }

  // Makes the main window the active window with the active view focused, so that keys take the
  // way through the shortcuts that a user's keys take.
  void Activate();

  // Lets the program run until it has nothing left to do, as between two things a user does;
  // that is when menus and keys follow the state of their commands.
  void Idle();

  // Mouse gestures in the active view, in client pixels.
  QWidget* Viewport() const { return View()->viewport(); }
  void Drag(QPoint from, QPoint to);
  // A double-click on a shape, which picks and grips it.
  void Pick(QPoint p);

  // Writes a file in the test's own folder and returns its absolute path.
  QString WriteFile(const QString& name, const QByteArray& bytes) const;
  QString SettingsFile() const;
  // Stores the main window's size and place as an earlier session left them, for the next start.
  void StoreMainWindowGeometry(const QRect& geometry) const;
  // The desktop's MIME database under the data folder is complete.
  bool MimeDatabaseWritten() const;

  QTemporaryDir config, data, runtime, state, files;
  // What Start gives the editor: how far behind the last change a recovery copy may be.
  int recoveryDelayMs = RecoveryCopy::kDelayMs;
  std::unique_ptr<CQuirraApp> app;
};

// A rectangle and, beside it, a thick red ellipse.
std::vector<Record> TwoShapes();

}  // namespace shelltest
