#include "shell/RecentFileList.h"

#include <QFileInfo>
#include <QSettings>

namespace {
const QString kGroup = QStringLiteral("Recent File List");
}

void RecentFileList::Add(const QString& path) {
  const QString full = QFileInfo(path).absoluteFilePath();
  m_files.removeAll(full);
  m_files.prepend(full);
  while (m_files.size() > m_size) m_files.removeLast();
  WriteList();
}

void RecentFileList::Remove(int index) {
  if (index < 0 || index >= m_files.size()) return;
  m_files.removeAt(index);
  WriteList();
}

void RecentFileList::ReadList() {
  QSettings settings;
  settings.beginGroup(kGroup);
  m_files.clear();
  for (int i = 1; i <= m_size; ++i) {
    const QString path = settings.value(QStringLiteral("File%1").arg(i)).toString();
    if (!path.isEmpty() && !m_files.contains(path)) m_files << path;
  }
}

void RecentFileList::WriteList() const {
  QSettings settings;
  settings.beginGroup(kGroup);
  for (int i = 1; i <= m_size; ++i) {
    const QString key = QStringLiteral("File%1").arg(i);
    if (i <= m_files.size())
      settings.setValue(key, m_files[i - 1]);
    else
      settings.remove(key);
  }
}
