#pragma once

#include <QDialog>

#include "model/CShape.h"

class CStaticText;

// The read-only Properties dialog of the selected shape: its place in the drawing, kind, pen,
// brush, centre and points. It changes nothing; its one button, Enter, Escape and the close box
// all end it.
class CPropertiesDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CPropertiesDlg(QWidget* parent = nullptr);

  // Fills the controls from `shape` and `objectNumber`, then shows the dialog modally.
  int DoModal();
  // Fills the controls without showing the dialog.
  void UpdateData();
  // The text of the static control with this id (1004 to 1013), empty for another id.
  QString ControlText(int id) const;

  CShape shape;
  int objectNumber = 0;

 private:
  std::vector<std::pair<int, CStaticText*>> m_texts;
};
