// Drawings of shapes named by letters, for tests that follow the stacking order.
#pragma once

#include <string>

#include "model/CTavlo.h"

namespace named_shapes {

// A shape named by a letter: its type is the letter's code, and its centre and two point slots
// carry the letter too, so that whole records can be compared.
inline CShape Named(char name) {
  CShape s;
  s.SetType(name);
  s.SetCenter(name, 2 * name);
  s.SetPoint(0, name, -name);
  s.SetPoint(7, -name, name);
  s.SetPointCount(1);
  return s;
}

// A drawing of letters, back to front, with the shape at `selected` selected (-1: none).
inline CTavlo Drawing(const std::string& names, int selected) {
  CTavlo d;
  for (char c : names) d.AddShape(Named(c));
  d.SetSelected(selected);
  return d;
}

inline std::string Order(const CTavlo& d) {
  std::string names;
  for (const CShape& s : d.GetShapes()) names += char(s.GetType());
  return names;
}

}  // namespace named_shapes
