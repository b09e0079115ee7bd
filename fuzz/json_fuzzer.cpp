// Feeds arbitrary text to the JSON reader of the command line. Text that reads must write JSON that
// reads back to the same document and writes again to the same bytes, as a document file does; a
// refusal must leave the document as it was. Any crash, sanitizer report or hang is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include <QByteArray>

#include "app/DocumentJson.h"
#include "model/DocumentFileContent.h"
#include "platform/core/CArchive.h"

namespace {

bool Same(const DocumentFileContent& a, const DocumentFileContent& b) {
  return a.drawing == b.drawing && a.hitMode == b.hitMode && a.hitPart == b.hitPart;
}

std::string Save(DocumentFileContent& doc) {
  std::stringbuf out;
  CArchive ar(out, CArchive::store);
  doc.Serialize(ar);
  ar.Close();
  return out.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
  LooksLikeJson(text);
  DocumentFileContent doc;
  if (!ReadDocumentJson(text, doc).isEmpty()) {
    if (!Same(doc, DocumentFileContent())) std::abort();  // a refusal leaves the document alone
    return 0;
  }

  const std::string json = DocumentJson(doc);
  DocumentFileContent again;
  if (!ReadDocumentJson(QByteArray::fromStdString(json), again).isEmpty()) std::abort();  // what we write we read
  if (!Same(again, doc)) std::abort();
  if (DocumentJson(again) != json) std::abort();  // and write again the same

  // What JSON gives is a document the file keeps as it is.
  const std::string file = Save(doc);
  std::stringbuf in(file);
  DocumentFileContent loaded;
  CArchive ar(in, CArchive::load);
  loaded.Serialize(ar);
  if (!Same(loaded, doc)) std::abort();
  return 0;
}
