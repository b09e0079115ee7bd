#pragma once

#include <cstdint>
#include <optional>

#include <QString>

// What tells one file from another and one version of a file from the next: the device and
// inode it lives at, its size and its modification time. Two paths name the same file when their
// stamps have the same device and inode, whatever links lead there.
struct FileStamp {
  uint64_t device = 0;
  uint64_t inode = 0;
  int64_t size = 0;
  int64_t modifiedNs = 0;

  // Empty when there is no such file (or it cannot be looked at).
  static std::optional<FileStamp> Of(const QString& path);
  bool SameFile(const FileStamp& other) const { return device == other.device && inode == other.inode; }
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
