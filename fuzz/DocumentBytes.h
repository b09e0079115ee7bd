// The bytes of a document file in memory, as the fuzzers read and write them.
#pragma once

#include <string>

#include "model/DocumentFileContent.h"
#include "platform/core/CArchive.h"
#include "tests/support/FileBytes.h"

namespace document_bytes {

// Reads `bytes` into a fresh `doc`; false when the reader refuses them.
inline bool Load(const std::string& bytes, DocumentFileContent& doc) {
  try {
    file_bytes::Load(bytes, doc);
    return true;
  } catch (const CArchiveException&) {
    return false;
  }
}

inline std::string Save(DocumentFileContent& doc) { return file_bytes::Save(doc); }

// Everything a file keeps of a document.
inline bool Same(const DocumentFileContent& a, const DocumentFileContent& b) {
  return a.drawing == b.drawing && a.hitMode == b.hitMode && a.hitPart == b.hitPart;
}

}  // namespace document_bytes
