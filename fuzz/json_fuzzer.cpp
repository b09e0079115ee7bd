// Feeds arbitrary text to the JSON reader of the command line. Text that reads must write JSON that
// reads back to the same document and writes again to the same bytes, as a document file does; a
// refusal must leave the document as it was. Any crash, sanitizer report or hang is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <QByteArray>

#include "formats/DocumentJson.h"
#include "fuzz/DocumentBytes.h"

using document_bytes::Same;

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
  DocumentFileContent loaded;
  if (!document_bytes::Load(document_bytes::Save(doc), loaded) || !Same(loaded, doc)) std::abort();
  return 0;
}
