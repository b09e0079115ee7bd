#include "app/HeadlessCommand.h"

#include <QFileInfo>

#include "app/DocumentJson.h"
#include "model/DocumentImage.h"
#include "platform/qt/ArchiveFile.h"

namespace {

constexpr char kUsage[] = "usage: quirra [FILE] | quirra --info FILE | quirra --export FILE OUT.qrf\n";

int Usage(std::FILE* err) {
  std::fputs(kUsage, err);
  return 2;
}

int Fail(std::FILE* err, const QString& file, const QString& reason) {
  std::fprintf(err, "quirra: %s: %s\n", qUtf8Printable(file), qUtf8Printable(reason));
  return 1;
}

// Loads `path` into `doc`; on failure prints the message and returns false.
bool Load(const QString& path, DocumentImage& doc, std::FILE* err) {
  const QString reason = LoadFileThroughArchive(path, [&doc](CArchive& ar) { doc.Serialize(ar); });
  if (reason.isEmpty()) return true;
  Fail(err, path, reason);
  return false;
}

int Info(const QString& path, std::FILE* out, std::FILE* err) {
  DocumentImage doc;
  if (!Load(path, doc, err)) return 1;
  const std::string json = DocumentJson(doc) + "\n";
  if (std::fwrite(json.data(), 1, json.size(), out) != json.size() || std::fflush(out) != 0)
    return Fail(err, QStringLiteral("standard output"), QStringLiteral("could not be written"));
  return 0;
}

int Export(const QString& path, const QString& target, std::FILE* err) {
  if (QFileInfo(target).suffix().compare(QLatin1String("qrf"), Qt::CaseInsensitive) != 0) {
    std::fprintf(err, "quirra: %s: cannot export to this kind of file (use .qrf)\n", qUtf8Printable(target));
    return 2;
  }
  DocumentImage doc;
  if (!Load(path, doc, err)) return 1;
  const QString reason = SaveFileThroughArchive(target, [&doc](CArchive& ar) { doc.Serialize(ar); });
  return reason.isEmpty() ? 0 : Fail(err, target, reason);
}

}  // namespace

std::optional<int> RunHeadlessCommand(const QStringList& args, std::FILE* out, std::FILE* err) {
  if (args.isEmpty() || !args.first().startsWith(QLatin1String("--"))) return std::nullopt;
  const QString& mode = args.first();
  if (mode == QLatin1String("--info") && args.size() == 2) return Info(args[1], out, err);
  if (mode == QLatin1String("--export") && args.size() == 3) return Export(args[1], args[2], err);
  return Usage(err);
}
