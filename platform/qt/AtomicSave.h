#pragma once

#include <functional>

#include <QString>

class QIODevice;

// Writes a file whole or not at all: `write` fills a temporary file of a short name of its own
// beside `path`, which then replaces `path` only once every byte has reached the disk without an
// error. The file keeps its permissions; a symbolic link keeps leading to it. On any failure the
// old file stays as it was, no temporary file is left, and the reason comes back; an empty
// string means the file was written. `write` returns its own reason for failing, or an empty
// string; errors of the device itself are noticed here.
[[nodiscard]] QString SaveFileAtomically(const QString& path, const std::function<QString(QIODevice&)>& write);

// For a `write` that has its bytes at hand: writes them all, or returns why not.
[[nodiscard]] QString WriteBytes(QIODevice& device, const QByteArray& bytes);
