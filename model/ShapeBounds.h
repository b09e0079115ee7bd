#pragma once

#include <cstdint>

class CShape;
class CShapeArray;

// Where a list of shapes lies: the box in drawing units that holds every point (whatever a shape
// paints lies within its points), the box of the rotation centres (each carries a handle), and the
// widest pen, which reaches beyond the points by pixels rather than drawing units.
//
// Adding a shape only ever widens the boxes. Taking one away can narrow them only when the shape
// lies on an edge of one or is the last with the widest pen (Remove), so only then need they be
// found again.
class ShapeBounds {
 public:
  struct Box {
    bool empty = true;
    int64_t left = 0, top = 0, right = 0, bottom = 0;
  };

  static ShapeBounds Of(const CShapeArray& shapes);

  void Add(const CShape& shape);
  // Takes out a shape that was added. True when the bounds of what is left could be smaller than
  // these: then they are to be found again, and these no longer count for anything.
  bool Remove(const CShape& shape);

  bool IsEmpty() const { return m_points.empty; }
  const Box& Points() const { return m_points; }
  const Box& Centres() const { return m_centres; }
  int WidestPen() const { return m_widestPen; }

 private:
  Box m_points;
  Box m_centres;
  int m_widestPen = 0;
  int64_t m_widestPens = 0;  // how many shapes have it
};
