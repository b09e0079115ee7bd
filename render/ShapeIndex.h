#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "model/ListChanges.h"
#include "render/PixelBox.h"

class CShape;
class CShapeArray;

// Where the shapes of one list lie, to find the few that can reach a point or an area among very
// many. Each shape is held as a box in drawing units, with its pen apart since a pen is pixels wide
// at every zoom. The box holds everything the shape can paint or be picked at: its points, the
// four of a curve and the two corners of an ellipse whatever its count, its rotation centre, and
// for an ellipse as much again on both sides, where the walk of its outline is never claimed not
// to stray.
//
// The boxes lie in a grid of square cells about the size of a typical shape, those beyond the grid
// in the cells at its edge; shapes far larger than a cell are kept in one list apart. Building
// takes two passes over the list; an index is valid for the list it was built from and is read by
// any number of threads at once.
class ShapeIndex {
 public:
  void Build(const CShapeArray& shapes);
  // Brings an index of the list as it was up to the list `shapes` is now, through the changes made
  // since (ListChanges): records keep their cells, and the records inserted, replaced or moved go
  // to the list apart. Each change costs a pass over a small number per record, never the cells.
  // False when there are too many changes or that list would grow too long: then the index must
  // be built again.
  bool Follow(const std::vector<ListChanges::Change>& changes, const CShapeArray& shapes);

  // The shapes, in stacking order, whose zoomed box widened by as much as ShapeCover::Extent
  // widens it for the pen, and by `margin` pixels more, meets `area` (zoomed pixels) at `zoom`
  // (1 or more).
  std::vector<int> Find(const PixelBox& area, int zoom, int64_t margin) const;
  // The same shapes from the front of the stack backwards, each handed to `take` with a box that
  // holds its extent (ShapeCover::Extent) until `take` returns false: a painter that stops where
  // the shapes above cover everything asks about no more.
  // `covered` is asked now and then about a box of zoomed pixels, each a region of the grid
  // widened by the widest reach; where it says that nothing painted there would show, the shapes
  // that lie only there are not given. It must stay true once it is.
  void Descending(const PixelBox& area, int zoom, int64_t margin, const std::function<bool(int, const PixelBox&)>& take,
                  const std::function<bool(const PixelBox&)>& covered) const;

  // What the index holds in memory.
  size_t Bytes() const;

 private:
  struct Box {
    int32_t left, top, right, bottom;
  };
  static Box BoxOf(const CShape& shape);
  // The box of shape i zoomed, widened by its pen's reach and `margin`.
  PixelBox Zoomed(int i, int zoom, int64_t margin) const;
  bool Meets(int i, const PixelBox& area, int zoom, int64_t margin) const {
    return Zoomed(i, zoom, margin).Overlaps(area);
  }
  // The cell range of a box in drawing units, clamped to the grid.
  void Cells(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t cells[4]) const;
  // Narrow enough for the cells; a wider shape is kept in the list apart.
  bool Fits(const Box& b) const;
  // The cells a search of `area` looks in (q), and how many; every shape when `everything`.
  struct Search {
    int64_t q[4];
    int64_t cells;
    bool everything;
  };
  Search Cover(const PixelBox& area, int zoom, int64_t margin) const;
  // Whether the cell (x, y) of a search over the cells q is where a shape of the cell is taken: a
  // shape in several cells of the search is taken once, in the first of them.
  bool TakenIn(int i, int64_t x, int64_t y, const int64_t q[4]) const;

  std::vector<Box> m_boxes;
  std::vector<uint8_t> m_pens;
  int m_widestPen = 1;
  int64_t m_left = 0, m_top = 0, m_cell = 1;
  int64_t m_columns = 0, m_rows = 0;
  Box m_held{0, 0, -1, -1};        // the box of every shape the cells hold, within the grid or beyond
  std::vector<uint32_t> m_starts;  // per cell, where its shapes begin in m_members; one more at the end
  // The shapes of every cell in turn, each cell's in stacking order, by their places in the list
  // the index was built from; m_current gives each such place's place now (-1: gone).
  std::vector<int32_t> m_members;
  std::vector<int32_t> m_current;
  std::vector<int32_t> m_apart;    // shapes too large for the grid, in stacking order
  std::vector<uint8_t> m_isApart;  // per shape: in m_apart, whatever cells still name it
};
