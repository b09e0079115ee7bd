#pragma once

#include <vector>

#include <QDialog>

#include "recovery/RecoveryFolder.h"

class QTreeWidget;

// The offer at start-up of the drawings that an editor which is gone left unsaved: one row each
// (title or file, when it last changed, how many shapes, or why it is damaged), with a check box.
// "Recover" (the default) opens the checked drawings that can be read, "Discard" deletes the
// checked copies, "Later" (Escape) keeps them all for the next start. Damaged copies start
// unchecked, so that only a deliberate choice discards them.
class RecoveryDialog : public QDialog {
  Q_OBJECT

 public:
  enum Choice { later, recover, discard };

  RecoveryDialog(const std::vector<OrphanCopy>& orphans, QWidget* parent);

  Choice Ask();
  // After Ask: whether the row of orphans[i] was checked.
  bool IsChecked(size_t i) const;

 private:
  QTreeWidget* m_list;
  Choice m_choice = later;
};
