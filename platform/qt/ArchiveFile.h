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
QString LoadFileThroughArchive(const QString& path, const std::function<void(CArchive&)>& serialize);
QString SaveFileThroughArchive(const QString& path, const std::function<void(CArchive&)>& serialize);
