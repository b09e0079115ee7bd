#pragma once

#include <QDialog>

// The About box: the program's name and version, its picture and an OK button.
class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
  int DoModal() { return exec(); }
};
