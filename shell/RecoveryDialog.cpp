#include "shell/RecoveryDialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/qt/ModalFrame.h"

RecoveryDialog::RecoveryDialog(const std::vector<OrphanCopy>& orphans, QWidget* parent)
    : QDialog(parent), m_list(new QTreeWidget(this)) {
  SetModalFrame(this);
  setWindowTitle(QStringLiteral("Recover Drawings"));
  auto* text = new QLabel(QStringLiteral("Quirra ended without saving these drawings. Recover them?"), this);
  m_list->setColumnCount(3);
  m_list->setHeaderLabels({QStringLiteral("Drawing"), QStringLiteral("Last changed"), QStringLiteral("Shapes")});
  m_list->setRootIsDecorated(false);
  m_list->header()->setStretchLastSection(false);
  m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  for (const OrphanCopy& o : orphans) {
    const QString name = o.about.pathName.isEmpty() ? o.about.title : QDir::toNativeSeparators(o.about.pathName);
    const QString shapes =
        o.damage.isEmpty() ? QLocale().toString(o.about.shapes) : QStringLiteral("damaged: %1").arg(o.damage);
    auto* item = new QTreeWidgetItem(
        m_list, {name, QLocale().toString(o.about.changed.toLocalTime(), QLocale::ShortFormat), shapes});
    item->setToolTip(0, QDir::toNativeSeparators(o.copy));
    item->setCheckState(0, o.damage.isEmpty() ? Qt::Checked : Qt::Unchecked);
  }
  m_list->resizeColumnToContents(1);
  m_list->resizeColumnToContents(2);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* recover = buttons->addButton(QStringLiteral("Recover"), QDialogButtonBox::AcceptRole);
  QPushButton* discard = buttons->addButton(QStringLiteral("Discard"), QDialogButtonBox::DestructiveRole);
  QPushButton* later = buttons->addButton(QStringLiteral("Later"), QDialogButtonBox::RejectRole);
  recover->setDefault(true);
  connect(recover, &QPushButton::clicked, this, [this] { m_choice = RecoveryDialog::recover, accept(); });
  connect(discard, &QPushButton::clicked, this, [this] { m_choice = RecoveryDialog::discard, accept(); });
  connect(later, &QPushButton::clicked, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addWidget(m_list);
  layout->addWidget(buttons);
  resize(560, 260);
}

RecoveryDialog::Choice RecoveryDialog::Ask() {
  m_choice = later;
  exec();
  return m_choice;
}

bool RecoveryDialog::IsChecked(size_t i) const {
  const QTreeWidgetItem* item = m_list->topLevelItem(int(i));
  return item && item->checkState(0) == Qt::Checked;
}
