// Loading and saving a drawing of 1,000,000 shapes (about 120 MB), beside reading and writing the
// same bytes raw. Prints "name value unit" lines. The peak memory of a load is measured in a
// child process that does nothing else.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "model/DocumentFileContent.h"
#include "platform/core/CArchive.h"
#include "platform/qt/ArchiveFile.h"

#include "bench/BenchUtil.h"
#include "bench/SampleShapes.h"

namespace {

constexpr int kShapes = 1000000;
constexpr int kRounds = 3;

// Writes a file of kShapes mixed shapes.
void WriteSample(const QString& path) {
  CShapeArray shapes = sample_shapes::Mixed(kShapes);
  Must(SaveFileThroughArchive(path, [&shapes](CArchive& ar) {
    ar << int32_t(kShapes - 1);
    shapes.Serialize(ar);
    ar << int32_t(HIT_VERTEX) << int32_t(2);
  }));
}

bool Load(const QString& path, DocumentFileContent& doc) {
  const QString reason = LoadFileThroughArchive(path, [&doc](CArchive& ar) { doc.Serialize(ar); });
  if (!reason.isEmpty()) std::fprintf(stderr, "load failed: %s\n", qUtf8Printable(reason));
  return reason.isEmpty();
}

// Raw figures: the same bytes through read(2) and write(2) in 64 KiB blocks; the write is
// synced to disk as the save is before its rename. Reading raw is timed two ways: into one fresh
// buffer of the file's size (having the bytes in memory, as any loader must), and streamed
// through one reused block (the bare cost of the system calls, keeping nothing).
void RawRead(const char* path, bool keep) {
  std::vector<char> block(64 * 1024);
  std::unique_ptr<char[]> whole;
  if (keep) whole.reset(new char[size_t(QFileInfo(QString::fromLocal8Bit(path)).size())]);
  const int fd = ::open(path, O_RDONLY);
  for (size_t at = 0;;) {
    const ssize_t got = ::read(fd, keep ? whole.get() + at : block.data(), block.size());
    if (got <= 0) break;
    at += size_t(got);
  }
  ::close(fd);
}

void RawWrite(const char* path, const std::vector<char>& bytes) {
  const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  for (size_t at = 0; at < bytes.size(); at += 64 * 1024)
    if (::write(fd, bytes.data() + at, std::min<size_t>(64 * 1024, bytes.size() - at)) < 0) break;
  ::fsync(fd);
  ::close(fd);
}

// The high-water mark of this process image (VmHWM); unlike ru_maxrss it does not carry over
// what the parent held before the exec.
long PeakRssKiB() {
  QFile status("/proc/self/status");
  status.open(QIODevice::ReadOnly);
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toLong();
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() == 3 && args[1] == "--load-only") {
    DocumentFileContent doc;
    if (!Load(args[2], doc)) return 1;
    std::printf("%ld\n", PeakRssKiB());
    return 0;
  }

  QTemporaryDir dir;
  const QString file = dir.filePath("big.qrf");
  const QByteArray raw = dir.filePath("raw.qrf").toLocal8Bit();

  std::vector<double> save, load, rawRead, rawStream, rawWrite;
  WriteSample(file);
  {
    DocumentFileContent doc;
    Load(file, doc);
    for (int i = 0; i < kRounds; ++i)
      save.push_back(Millis([&] { Must(SaveFileThroughArchive(file, [&doc](CArchive& ar) { doc.Serialize(ar); })); }));
  }
  QFile f(file);
  f.open(QIODevice::ReadOnly);
  const QByteArray all = f.readAll();
  const std::vector<char> bytes(all.begin(), all.end());
  f.close();
  for (int i = 0; i < kRounds; ++i) {
    rawWrite.push_back(Millis([&] { RawWrite(raw.constData(), bytes); }));
    rawRead.push_back(Millis([&] { RawRead(raw.constData(), true); }));
    rawStream.push_back(Millis([&] { RawRead(raw.constData(), false); }));
    load.push_back(Millis([&] {
      DocumentFileContent doc;
      Load(file, doc);
    }));
  }

  QProcess child;
  child.start(QCoreApplication::applicationFilePath(), {"--load-only", file});
  child.waitForFinished(-1);
  const long peakKiB = child.readAllStandardOutput().trimmed().toLong();

  Report("file_size_1m_mb", double(bytes.size()) / 1e6, "MB");
  Report("load_1m_ms", Median(load), "ms");
  Report("raw_read_1m_ms", Median(rawRead), "ms");
  Report("raw_stream_1m_ms", Median(rawStream), "ms");
  Report("save_1m_ms", Median(save), "ms");
  Report("raw_write_1m_ms", Median(rawWrite), "ms");
  Report("peak_rss_1m_mb", double(peakKiB) / 1024.0, "MB");
  return 0;
}
