#pragma once

#include <QStringList>

// The files most recently opened or saved, newest first, kept in the settings under
// "Recent File List" as File1 to File4 so that they outlive the program.
class RecentFileList {
 public:
  explicit RecentFileList(int size) : m_size(size) {}

  void Add(const QString& path);
  void Remove(int index);
  const QStringList& Files() const { return m_files; }

  void ReadList();
  void WriteList() const;

 private:
  int m_size;
  QStringList m_files;
};
