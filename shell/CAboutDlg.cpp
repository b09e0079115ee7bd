#include "shell/CAboutDlg.h"

#include <QLabel>
#include <QPushButton>

#include "platform/qt/CStaticText.h"
#include "platform/qt/DialogUnits.h"
#include "platform/qt/ModalFrame.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About Quirra"));
  SetModalFrame(this);
  const DialogUnits du(font());
  setFixedSize(du.X(226), du.Y(106));

  // The picture keeps its own 80x80 pixels at the control's top left, as a bitmap static does.
  auto* picture = new QLabel(this);
  picture->setObjectName(QStringLiteral("picture"));
  picture->setPixmap(QPixmap(QStringLiteral(":/pictures/about.png")));
  picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  const QRect box = du.ToPixels(7, 7, 53, 49);
  picture->setGeometry(QRect(box.topLeft(), box.size().expandedTo(QSize(80, 80))));

  auto text = [&](const QString& s, int x, int y, int w, int h) {
    auto* t = new CStaticText(s, this);
    t->setGeometry(du.ToPixels(x, y, w, h));
  };
  text(QStringLiteral("Quirra Version " QUIRRA_VERSION), 66, 13, 98, 8);
  text(QStringLiteral("(C) 2026 Quirra developers"), 65, 25, 100, 8);
  text(QStringLiteral("An editor for drawings of lines, Bezier curves, ellipses, rectangles and polygon rectangles."),
       15, 65, 200, 20);
  text(QStringLiteral("Drawings are saved as Quirra Files (*.qrf)."), 15, 90, 202, 10);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("IDOK"));
  ok->setGeometry(du.ToPixels(169, 7, 50, 14));
  ok->setDefault(true);
  ok->setFocus();
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
