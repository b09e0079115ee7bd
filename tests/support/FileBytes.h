// Document files in memory: what saving writes, and loading from bytes, as the editor does both
// through a file.
#pragma once

#include <sstream>
#include <string>

#include "model/DocumentFileContent.h"
#include "platform/core/CArchive.h"

namespace file_bytes {

// The bytes of the file that holds `content`.
inline std::string Save(DocumentFileContent& content) {
  std::stringbuf out;
  CArchive ar(out, CArchive::store);
  content.Serialize(ar);
  ar.Close();
  return out.str();
}

inline std::string Save(const CTavlo& drawing, int32_t hitMode = HIT_NONE, int32_t hitPart = -1) {
  DocumentFileContent content{drawing, hitMode, hitPart};
  return Save(content);
}

// Reads the file `bytes` into a fresh `content`; throws CArchiveException as a load does.
inline void Load(const std::string& bytes, DocumentFileContent& content) {
  std::stringbuf in(bytes);
  CArchive ar(in, CArchive::load);
  content.Serialize(ar);
}

}  // namespace file_bytes
