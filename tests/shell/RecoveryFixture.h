// The whole editor as ShellTest starts it, with a look into its recovery folder and a start that
// answers the offer of recovery copies.
#pragma once

#include <functional>

#include <QString>
#include <QStringList>

#include "recovery/RecoveryFolder.h"
#include "tests/shell/ShellFixture.h"

class QTreeWidget;

namespace shelltest {

class RecoveryFixture : public ShellTest {
 protected:
  QString Root() const;
  // Every file under the recovery folder, lock files included.
  QStringList Left() const;
  QStringList Copies() const { return Left().filter(".qrf"); }

  // Ends the editor as a kill would: its session folder stays as it is at this moment, copies,
  // records and half-written files, and its lock has no live owner. (The lock file itself is left
  // out: in this process its owner would still be alive.)
  void StopAsKilled();

  // A copy left by an editor that is gone (its session has no live lock).
  void Orphan(const QString& name, const QByteArray& copy, const RecoveryRecord& record);

  // Starts an editor and answers its offer with the button `answer`, after `check` looked at the
  // rows (drawing, last changed, shapes; and whether checked). Returns how many offers were shown.
  int StartAndAnswer(const QString& answer, const std::function<void(QTreeWidget&)>& check = {},
                     const QStringList& arguments = {});

  CQuirraDoc* DocTitled(const QString& title) const;
};

}  // namespace shelltest
