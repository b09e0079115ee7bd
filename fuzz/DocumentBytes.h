// The bytes of a document file in memory, as the fuzzers read and write them.
#pragma once

#include <sstream>
#include <string>

#include "model/DocumentFileContent.h"
#include "platform/core/CArchive.h"

namespace document_bytes {

// Reads `bytes` into a fresh `doc`; false when the reader refuses them.
inline bool Load(const std::string& bytes, DocumentFileContent& doc) {
  std::stringbuf in(bytes);
  try {
    CArchive ar(in, CArchive::load);
    doc.Serialize(ar);
    return true;
  } catch (const CArchiveException&) {
    return false;
  }
}

inline std::string Save(DocumentFileContent& doc) {
  std::stringbuf out;
  CArchive ar(out, CArchive::store);
  doc.Serialize(ar);
  ar.Close();
  return out.str();
}

// Everything a file keeps of a document.
inline bool Same(const DocumentFileContent& a, const DocumentFileContent& b) {
  return a.drawing == b.drawing && a.hitMode == b.hitMode && a.hitPart == b.hitPart;
}

}  // namespace document_bytes
