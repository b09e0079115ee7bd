#include "document/CPropertiesDlg.h"

#include <QGroupBox>
#include <QPushButton>

#include "document/PropertiesTexts.h"
#include "platform/qt/CStaticText.h"
#include "platform/qt/DialogUnits.h"
#include "platform/qt/ModalFrame.h"

namespace {

// The dialog template: controls in dialog units.
struct Control {
  int id;
  const char* text;
  int x, y, width, height;
};
constexpr int IDC_OBJECT_NUMBER = 1004;
// In the default font (DejaVu Sans) digits are a quarter wider than the average character that
// sets the tab stops, so a signed six-digit x runs past its tab column and pushes its y one stop
// further on. The point column and its group are this many units wider than the classic layout,
// enough for such a row with a few pixels to spare; the dialog grows with them and Cancel moves
// along to stay flush with the group. Longer values are cut at the column's right edge.
constexpr int kPointsWider = 28;
constexpr Control kTexts[] = {
    {IDC_OBJECT_NUMBER, "Object number:\t", 7, 7, 130, 8},
    {1005, "Object type:\t", 7, 17, 130, 8},
    {1006, "Color:\t", 15, 40, 81, 10},
    {1007, "Style:\t", 15, 50, 81, 10},
    {1008, "Width:\t", 15, 60, 80, 10},
    {1009, "Color:\t", 15, 90, 83, 10},
    {1010, "Style:\t", 15, 100, 83, 10},
    {1011, "Center:\t", 115, 40, 80 + kPointsWider, 10},
    {1013, "Other:\t", 115, 50, 80 + kPointsWider, 58},
};
constexpr Control kGroups[] = {
    {-1, "Pen", 7, 29, 93, 45}, {-1, "Brush", 7, 78, 93, 37}, {-1, "Points", 110, 29, 90 + kPointsWider, 86}};

}  // namespace

CPropertiesDlg::CPropertiesDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Properties"));
  SetModalFrame(this);
  const DialogUnits du(font());
  setFixedSize(du.X(207 + kPointsWider), du.Y(121));

  for (const Control& c : kGroups)
    (new QGroupBox(QString::fromLatin1(c.text), this))->setGeometry(du.ToPixels(c.x, c.y, c.width, c.height));
  for (const Control& c : kTexts) {
    auto* text = new CStaticText(QString::fromLatin1(c.text), this);
    text->setObjectName(QStringLiteral("IDC_%1").arg(c.id));
    text->setGeometry(du.ToPixels(c.x, c.y, c.width, c.height));
    m_texts.emplace_back(c.id, text);
  }
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("IDCANCEL"));
  cancel->setGeometry(du.ToPixels(150 + kPointsWider, 10, 50, 14));
  // Enter presses it too: the dialog has nothing to confirm.
  cancel->setDefault(true);
  cancel->setFocus();
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CPropertiesDlg::UpdateData() {
  const auto texts = PropertiesTexts(shape, objectNumber);
  for (size_t i = 0; i < m_texts.size(); ++i) m_texts[i].second->setText(QString::fromStdString(texts[i]));
}

int CPropertiesDlg::DoModal() {
  UpdateData();
  return exec();
}

QString CPropertiesDlg::ControlText(int id) const {
  for (const auto& [control, text] : m_texts)
    if (control == id) return text->text();
  return QString();
}
