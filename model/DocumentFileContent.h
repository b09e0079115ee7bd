#pragma once

#include <cstdint>

#include "model/CTavlo.h"

class CArchive;

// The whole content of a .qrf file: the drawing, then the document's grip state (what the last
// press on the selected shape took hold of, and which point or edge).
struct DocumentFileContent {
  CTavlo drawing;
  int32_t hitMode = HIT_NONE;
  int32_t hitPart = -1;

  void Serialize(CArchive& ar) { SerializeDocument(ar, drawing, hitMode, hitPart); }

  // Writes or reads the document file through `ar`. Loading expects a fresh drawing and:
  // - reads nothing from an empty stream, leaving the drawing empty and the grip state alone;
  // - ignores bytes after hitPart;
  // - throws CArchiveException for a stream that ends early or holds impossible counts;
  // - repairs stale grip state, keeping the shapes: a selection outside the shapes becomes none,
  //   and a grip kind outside 0..5, any grip without a selection, or a vertex or edge grip on a
  //   point the selected shape does not have, becomes no grip (hitMode 0, hitPart -1).
  static void SerializeDocument(CArchive& ar, CTavlo& drawing, int32_t& hitMode, int32_t& hitPart);
};
