#pragma once

#include <functional>

#include <QString>

class CArchive;

// Opening and saving a file through a CArchive, the way every document does it.
//
// Both return an empty string on success, or else a reason a user can read, to be shown beside
// the file's name. Loading streams the file; it never holds it in memory whole. Saving writes a
// temporary file beside the target and renames it over the target only once every byte is
// written, so a failed save leaves the old file as it was.
//
// `progress`, when given, is told after every block how many bytes have been moved, of how many
// (the file's length when loading, -1 when saving, whose end is not known), and once with
// done == total when the transfer ends, whatever the outcome. Returning false stops the
// transfer: nothing is loaded, the old file is kept, and the reason is CancelledReason().
using FileProgress = std::function<bool(qint64 done, qint64 total)>;

// Why `path` cannot be read as a document, found without opening it (a FIFO would block the
// opener until some program writes to it, a device would read as an empty drawing); empty when
// it is a regular file this user may read. The load asks it first.
[[nodiscard]] QString WhyNotReadable(const QString& path);
[[nodiscard]] QString LoadFileThroughArchive(const QString& path, const std::function<void(CArchive&)>& serialize,
                                             const FileProgress& progress = {});
[[nodiscard]] QString SaveFileThroughArchive(const QString& path, const std::function<void(CArchive&)>& serialize,
                                             const FileProgress& progress = {});
QString CancelledReason();
