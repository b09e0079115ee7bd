#include "app/HeadlessCommand.h"

#include <chrono>
#include <memory>
#include <optional>

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>

#include "app/CommandLine.h"
#include "app/Deadline.h"
#include "formats/DocumentJson.h"
#include "formats/PictureExport.h"
#include "model/DocumentFileContent.h"
#include "platform/core/CArchive.h"
#include "platform/qt/ArchiveFile.h"
#include "platform/qt/AtomicSave.h"

namespace {

constexpr char kUsage[] =
    "usage: quirra [FILE...]                              open the editor with a new drawing or FILEs\n"
    "       quirra --info FILE                            print the drawing as one line of JSON\n"
    "       quirra --export FILE OUT.qrf|OUT.json         save the drawing again, or as JSON\n"
    "       quirra --export FILE OUT.png|OUT.svg|OUT.pdf [--zoom 1..1000]\n"
    "                                                     the picture of the drawing\n"
    "       quirra --thumbnail FILE OUT.png SIZE          the picture fitted in SIZE x SIZE pixels\n"
    "       quirra --version                              print the version\n"
    "       quirra --help                                 print this\n";

int Usage(std::FILE* err) {
  std::fputs(kUsage, err);
  return 2;
}

int Fail(std::FILE* err, const QString& file, const QString& reason) {
  std::fprintf(err, "quirra: %s: %s\n", qUtf8Printable(file), qUtf8Printable(reason));
  return 1;
}

// JSON by its suffix; a suffix that says nothing leaves it to the first bytes.
bool IsJson(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("json")) return true;
  if (suffix == QLatin1String("qrf")) return false;
  QFile file(path);
  return WhyNotReadable(path).isEmpty() && file.open(QIODevice::ReadOnly) && LooksLikeJson(file.read(256));
}

QString LoadJson(const QString& path, DocumentFileContent& doc, std::optional<uint64_t> memoryLimit) {
  if (const QString why = WhyNotReadable(path); !why.isEmpty()) return why;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return file.errorString();
  return ReadDocumentJson(file, doc, memoryLimit);
}

// Loads `path`, a document file or JSON, into `doc`, its shapes taking at most `memoryLimit` when
// one is given besides what the system can give; on failure prints the message and returns false.
bool Load(const QString& path, DocumentFileContent& doc, std::FILE* err, std::optional<uint64_t> memoryLimit = {}) {
  const QString reason =
      IsJson(path) ? LoadJson(path, doc, memoryLimit) : LoadFileThroughArchive(path, [&doc, memoryLimit](CArchive& ar) {
        ar.SetMemoryLimit(memoryLimit);
        doc.Serialize(ar);
      });
  if (reason.isEmpty()) return true;
  Fail(err, path, reason);
  return false;
}

int Info(const QString& path, std::FILE* out, std::FILE* err) {
  DocumentFileContent doc;
  if (!Load(path, doc, err)) return 1;
  const bool written = WriteDocumentJson(
      doc, [out](const std::string& block) { return std::fwrite(block.data(), 1, block.size(), out) == block.size(); });
  if (!written || std::fflush(out) != 0)
    return Fail(err, QStringLiteral("standard output"), QStringLiteral("could not be written"));
  return 0;
}

// Painting pictures needs a GUI application object; a script has no display, so it gets one on
// the offscreen platform.
std::unique_ptr<QGuiApplication> OffscreenApplication() {
  if (QCoreApplication::instance()) return nullptr;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt's own notes about the session (no runtime folder, no fonts) mean nothing to a script.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "quirra: %s\n", qUtf8Printable(text));
  });
  static int argc = 1;
  static char name[] = "quirra";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

int Export(const QString& path, const QString& target, int zoom, std::FILE* err) {
  const QString suffix = QFileInfo(target).suffix().toLower();
  const bool qrf = suffix == QLatin1String("qrf"), json = suffix == QLatin1String("json");
  if (!qrf && !json && suffix != QLatin1String("png") && suffix != QLatin1String("svg") &&
      suffix != QLatin1String("pdf")) {
    std::fprintf(err, "quirra: %s: cannot export to this kind of file (use .qrf, .json, .png, .svg or .pdf)\n",
                 qUtf8Printable(target));
    return 2;
  }
  DocumentFileContent doc;
  if (!Load(path, doc, err)) return 1;
  QString reason;
  if (qrf) {
    reason = SaveFileThroughArchive(target, [&doc](CArchive& ar) { doc.Serialize(ar); });
  } else if (json) {
    reason = SaveFileAtomically(target, [&doc](QIODevice& device) {
      QString error;
      WriteDocumentJson(doc, [&](const std::string& block) {
        error = WriteBytes(device, QByteArray::fromRawData(block.data(), qsizetype(block.size())));
        return error.isEmpty();
      });
      return error;
    });
  } else {
    const auto app = OffscreenApplication();
    if (suffix == QLatin1String("png"))
      reason = picture_export::ExportPng(doc.drawing, zoom, target);
    else if (suffix == QLatin1String("svg"))
      reason = picture_export::ExportSvg(doc.drawing, zoom, target);
    else
      reason = picture_export::ExportPdf(doc.drawing, zoom, target);
  }
  return reason.isEmpty() ? 0 : Fail(err, target, reason);
}

// File managers make thumbnails by themselves, of every file in a folder the user opens: whatever
// a file holds, one ends within kThumbnailSeconds and about kThumbnailBytes, or there is none.
constexpr int kThumbnailSeconds = 9;
constexpr uint64_t kThumbnailBytes = uint64_t(500) << 20;
// The shapes may take half of it; Qt, the picture and painting them take the rest.
constexpr uint64_t kThumbnailShapeBytes = kThumbnailBytes / 2;

int Thumbnail(const CommandLine& line, std::FILE* err) {
  const QString& path = line.files.front();
  auto deadline = std::make_unique<Deadline>(
      std::chrono::seconds(kThumbnailSeconds),
      QStringLiteral("quirra: %1: no thumbnail: it takes longer than %2 s to make\n").arg(path).arg(kThumbnailSeconds));
  DocumentFileContent doc;
  if (!Load(path, doc, err, kThumbnailShapeBytes)) return 1;
  const auto app = OffscreenApplication();
  QImage picture;
  QString reason = picture_export::PaintThumbnail(doc.drawing, line.size, picture);
  // Writing the picture is quick, and once it has begun, ending would leave a temporary file.
  deadline.reset();
  if (reason.isEmpty()) reason = picture_export::WritePng(picture, line.target);
  return reason.isEmpty() ? 0 : Fail(err, line.target, reason);
}

}  // namespace

int RunHeadlessCommand(const CommandLine& line, std::FILE* out, std::FILE* err) {
  switch (line.mode) {
    case CommandLine::help: std::fputs(kUsage, out); return 0;
    case CommandLine::version: std::fputs("quirra " QUIRRA_VERSION "\n", out); return 0;
    case CommandLine::info: return Info(line.files.front(), out, err);
    case CommandLine::exportFile: return Export(line.files.front(), line.target, line.zoom, err);
    case CommandLine::thumbnail: return Thumbnail(line, err);
    default: return Usage(err);
  }
}
