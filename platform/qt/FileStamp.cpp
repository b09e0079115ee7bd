#include "platform/qt/FileStamp.h"

#include <sys/stat.h>

#include <QFile>

std::optional<FileStamp> FileStamp::Of(const QString& path) {
  struct stat info {};
  if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0) return std::nullopt;
  return FileStamp{uint64_t(info.st_dev), uint64_t(info.st_ino), int64_t(info.st_size),
                   int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}
