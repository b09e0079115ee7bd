#include "model/DocumentFileContent.h"

#include "platform/core/CArchive.h"

namespace {

bool GripIsSound(const CTavlo& drawing, int32_t hitMode, int32_t hitPart) {
  if (hitMode == HIT_NONE) return true;
  if (hitMode < HIT_NONE || hitMode > HIT_CENTER || drawing.GetSelected() < 0) return false;
  if (hitMode == HIT_VERTEX || hitMode == HIT_EDGE)
    return hitPart >= 0 && hitPart < drawing.GetShape(0).GetPointCount();
  return true;
}

}  // namespace

void DocumentFileContent::SerializeDocument(CArchive& ar, CTavlo& drawing, int32_t& hitMode, int32_t& hitPart) {
  if (ar.IsStoring()) {
    drawing.Serialize(ar);
    ar << hitMode << hitPart;
    return;
  }
  if (ar.AtEnd()) return;
  drawing.Serialize(ar);
  int32_t mode = 0;
  int32_t part = -1;
  ar >> mode >> part;
  if (GripIsSound(drawing, mode, part)) {
    hitMode = mode;
    hitPart = part;
  } else {
    hitMode = HIT_NONE;
    hitPart = -1;
  }
}
