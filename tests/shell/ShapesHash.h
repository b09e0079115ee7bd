// A short name for a drawing's shapes, to tell its states apart across processes.
#pragma once

#include <sstream>

#include <QByteArray>
#include <QCryptographicHash>

#include "model/CTavlo.h"
#include "platform/core/CArchive.h"

inline QByteArray ShapesHash(const CTavlo& drawing) {
  CShapeArray shapes = drawing.GetShapes();
  std::stringbuf bytes;
  CArchive ar(bytes, CArchive::store);
  shapes.Serialize(ar);
  ar.Close();
  const std::string s = bytes.str();
  return QCryptographicHash::hash(QByteArrayView(s.data(), qsizetype(s.size())), QCryptographicHash::Md5).toHex();
}
