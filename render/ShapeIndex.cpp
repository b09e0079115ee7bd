#include "render/ShapeIndex.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "model/CShapeArray.h"
#include "model/Geometry.h"

namespace {

// A shape spanning more cells than this a side is kept apart rather than in every cell it spans.
constexpr int64_t kWidestSpan = 8;
// Boxes looked at to choose the grid: enough for its size to be typical, few enough to be quick.
constexpr size_t kSample = 2048;
constexpr int64_t kMostCellsASide = 4096;
// Beyond the pen, as ShapeCover::Extent allows for rounding.
constexpr int64_t kPenRoom = 2;
// Following changes rather than building again keeps up to this many shapes apart (or a
// sixteenth of the list, when that is more).
constexpr size_t kMostApart = 4096;
// Following more changes than this at once costs more than building again.
constexpr size_t kMostChanges = 16;

}  // namespace

ShapeIndex::Box ShapeIndex::BoxOf(const CShape& s) {
  Box b{s.GetCenter().x, s.GetCenter().y, s.GetCenter().x, s.GetCenter().y};
  auto cover = [&](int i) {
    const CPoint p = s.GetPoint(i);
    b = {std::min(b.left, p.x), std::min(b.top, p.y), std::max(b.right, p.x), std::max(b.bottom, p.y)};
  };
  for (int i = 0; i < s.GetPointCount(); ++i) cover(i);
  if (s.GetType() == kBezier)
    for (int i = 0; i < 4; ++i) cover(i);
  if (s.GetType() == kEllipse) {
    cover(0);
    cover(2);
    const int64_t width = int64_t(b.right) - b.left;
    b.left = geometry::Clamp32(b.left - width);
    b.right = geometry::Clamp32(b.right + width);
  }
  return b;
}

void ShapeIndex::Build(const CShapeArray& shapes) {
  const int n = shapes.GetSize();
  m_boxes.resize(n);
  m_pens.resize(n);
  m_widestPen = 1;
  for (int i = 0; i < n; ++i) {
    m_boxes[i] = BoxOf(shapes[i]);
    m_pens[i] = uint8_t(std::clamp(shapes[i].GetPenWidth(), 1, 255));
    m_widestPen = std::max<int>(m_widestPen, m_pens[i]);
  }
  // The grid covers where nearly all shapes lie and has cells of a typical shape's size, no more
  // cells than shapes: a few shapes far out or very large do not spread it thin.
  std::vector<int64_t> xs, ys, sizes;
  const size_t step = std::max<size_t>(1, size_t(n) / kSample);
  for (size_t i = 0; i < size_t(n); i += step) {
    const Box& b = m_boxes[i];
    xs.push_back(b.left), xs.push_back(b.right), ys.push_back(b.top), ys.push_back(b.bottom);
    sizes.push_back(std::max(int64_t(b.right) - b.left, int64_t(b.bottom) - b.top));
  }
  m_members.clear();
  m_apart.clear();
  m_isApart.assign(size_t(n), 0);
  m_current.resize(size_t(n));
  for (int i = 0; i < n; ++i) m_current[size_t(i)] = i;
  m_starts.assign(1, 0);
  m_columns = m_rows = 0;
  if (n == 0) return;
  std::sort(xs.begin(), xs.end());
  std::sort(ys.begin(), ys.end());
  std::nth_element(sizes.begin(), sizes.begin() + sizes.size() / 2, sizes.end());
  const size_t lo = xs.size() / 200, hi = xs.size() - 1 - lo;
  m_left = xs[lo], m_top = ys[lo];
  const int64_t width = xs[hi] - m_left + 1, height = ys[hi] - m_top + 1;
  m_cell = std::max<int64_t>({1, sizes[sizes.size() / 2], std::max(width, height) / kMostCellsASide + 1,
                              int64_t(std::ceil(std::sqrt(double(width) * double(height) / double(n))))});
  m_columns = geometry::FloorDiv(width - 1, m_cell) + 1;
  m_rows = geometry::FloorDiv(height - 1, m_cell) + 1;

  // Counted first, then laid out in stacking order, so that each cell's list comes out in order.
  // A shape beyond the grid is kept in the cells at its edge nearest to it, with the few that lie
  // there: the list apart would be read by every search.
  m_starts.assign(size_t(m_columns * m_rows) + 1, 0);
  m_held = {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  int64_t c[4];
  for (int i = 0; i < n; ++i) {
    if (!Fits(m_boxes[i])) continue;
    const Box& b = m_boxes[i];
    m_held = {std::min(m_held.left, b.left), std::min(m_held.top, b.top), std::max(m_held.right, b.right),
              std::max(m_held.bottom, b.bottom)};
    Cells(b.left, b.top, b.right, b.bottom, c);
    for (int64_t y = c[1]; y <= c[3]; ++y)
      for (int64_t x = c[0]; x <= c[2]; ++x) ++m_starts[size_t(y * m_columns + x) + 1];
  }
  for (size_t k = 1; k < m_starts.size(); ++k) m_starts[k] += m_starts[k - 1];
  m_members.resize(m_starts.back());
  std::vector<uint32_t> fill(m_starts.begin(), m_starts.end() - 1);
  for (int i = 0; i < n; ++i) {
    const Box& b = m_boxes[i];
    if (!Fits(b)) {
      m_apart.push_back(i);
      m_isApart[size_t(i)] = 1;
      continue;
    }
    Cells(b.left, b.top, b.right, b.bottom, c);
    for (int64_t y = c[1]; y <= c[3]; ++y)
      for (int64_t x = c[0]; x <= c[2]; ++x) m_members[fill[size_t(y * m_columns + x)]++] = i;
  }
}

void ShapeIndex::Cells(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t c[4]) const {
  c[0] = std::clamp<int64_t>(geometry::FloorDiv(left - m_left, m_cell), 0, m_columns - 1);
  c[1] = std::clamp<int64_t>(geometry::FloorDiv(top - m_top, m_cell), 0, m_rows - 1);
  c[2] = std::clamp<int64_t>(geometry::FloorDiv(right - m_left, m_cell), 0, m_columns - 1);
  c[3] = std::clamp<int64_t>(geometry::FloorDiv(bottom - m_top, m_cell), 0, m_rows - 1);
}

bool ShapeIndex::Fits(const Box& b) const {
  return int64_t(b.right) - b.left < kWidestSpan * m_cell && int64_t(b.bottom) - b.top < kWidestSpan * m_cell;
}

PixelBox ShapeIndex::Zoomed(int i, int zoom, int64_t margin) const {
  const Box& b = m_boxes[size_t(i)];
  const int64_t reach = m_pens[size_t(i)] + kPenRoom + margin;
  return {geometry::Zoom(b.left, zoom) - reach, geometry::Zoom(b.top, zoom) - reach,
          geometry::Zoom(b.right, zoom) + reach, geometry::Zoom(b.bottom, zoom) + reach};
}

ShapeIndex::Search ShapeIndex::Cover(const PixelBox& area, int zoom, int64_t margin) const {
  // The drawing units whose zoomed value can lie within the widest reach of the area: zooming
  // truncates, so one unit more on each side; and it stops at the ends of the 32-bit range, so an
  // area that reaches an end takes every unit beyond.
  const int64_t reach = m_widestPen + kPenRoom + margin;
  auto low = [&](int64_t v) { return v <= INT32_MIN ? INT32_MIN : geometry::FloorDiv(v * 100, zoom) - 1; };
  auto high = [&](int64_t v) { return v >= INT32_MAX ? INT32_MAX : v * 100 / zoom + 1; };
  const int64_t left = low(area.left - reach), right = high(area.right + reach);
  const int64_t top = low(area.top - reach), bottom = high(area.bottom + reach);
  // Beyond the grid, the cells at its edge hold what lies there.
  Search search{};
  Cells(left, top, right, bottom, search.q);
  const int64_t* q = search.q;
  search.cells = m_columns == 0 || right < left || bottom < top ? 0 : (q[2] - q[0] + 1) * (q[3] - q[1] + 1);
  // An area over much of the grid: every shape in turn is quicker than the cells and a sort.
  search.everything = search.cells * 4 > m_columns * m_rows;
  return search;
}

bool ShapeIndex::TakenIn(int i, int64_t x, int64_t y, const int64_t q[4]) const {
  if (i < 0 || m_isApart[size_t(i)]) return false;  // gone, or looked at apart
  const Box& b = m_boxes[size_t(i)];
  int64_t c[4];
  Cells(b.left, b.top, b.right, b.bottom, c);
  return std::max(c[0], q[0]) == x && std::max(c[1], q[1]) == y;
}

std::vector<int> ShapeIndex::Find(const PixelBox& area, int zoom, int64_t margin) const {
  std::vector<int> found;
  if (m_boxes.empty()) return found;
  const Search search = Cover(area, zoom, margin);
  if (search.everything) {
    for (int i = 0; i < int(m_boxes.size()); ++i)
      if (Meets(i, area, zoom, margin)) found.push_back(i);
    return found;
  }
  for (const int i : m_apart)
    if (Meets(i, area, zoom, margin)) found.push_back(i);
  const size_t apart = found.size();
  const int64_t* q = search.q;
  for (int64_t y = q[1]; search.cells > 0 && y <= q[3]; ++y)
    for (int64_t x = q[0]; x <= q[2]; ++x) {
      const size_t cell = size_t(y * m_columns + x);
      for (uint32_t k = m_starts[cell]; k < m_starts[cell + 1]; ++k) {
        const int i = m_current[size_t(m_members[k])];
        if (TakenIn(i, x, y, q) && Meets(i, area, zoom, margin)) found.push_back(i);
      }
    }
  std::sort(found.begin() + apart, found.end());
  std::inplace_merge(found.begin(), found.begin() + apart, found.end());
  return found;
}

void ShapeIndex::Descending(const PixelBox& area, int zoom, int64_t margin,
                            const std::function<bool(int, const PixelBox&)>& take,
                            const std::function<bool(const PixelBox&)>& covered) const {
  if (m_boxes.empty()) return;
  const Search search = Cover(area, zoom, margin);
  // Each cell's list, and the list apart, is in stacking order, and is read from its end.
  struct Source {
    int64_t next;    // the place after the one to read next
    int64_t first;   // the list's first place
    PixelBox reach;  // where the shapes of the cell can paint; unused for the list apart
    int64_t x, y;    // the cell; -1 for the list apart
  };
  std::vector<Source> sources;
  const int64_t* q = search.q;
  const int64_t reach = m_widestPen + kPenRoom + margin;
  for (int64_t y = q[1]; search.cells > 0 && y <= q[3]; ++y)
    for (int64_t x = q[0]; x <= q[2]; ++x) {
      const size_t cell = size_t(y * m_columns + x);
      if (m_starts[cell] == m_starts[cell + 1]) continue;
      // A cell at the edge of the grid also holds the shapes beyond it.
      const int64_t left = x == 0 ? std::min<int64_t>(m_held.left, m_left) : m_left + x * m_cell;
      const int64_t top = y == 0 ? std::min<int64_t>(m_held.top, m_top) : m_top + y * m_cell;
      const int64_t right = x == m_columns - 1 ? std::max<int64_t>(m_held.right, m_left + m_columns * m_cell - 1)
                                               : m_left + (x + 1) * m_cell - 1;
      const int64_t bottom = y == m_rows - 1 ? std::max<int64_t>(m_held.bottom, m_top + m_rows * m_cell - 1)
                                             : m_top + (y + 1) * m_cell - 1;
      const PixelBox box{geometry::Zoom(geometry::Clamp32(left), zoom) - reach,
                         geometry::Zoom(geometry::Clamp32(top), zoom) - reach,
                         geometry::Zoom(geometry::Clamp32(right), zoom) + reach,
                         geometry::Zoom(geometry::Clamp32(bottom), zoom) + reach};
      sources.push_back({m_starts[cell + 1], m_starts[cell], box, x, y});
    }
  if (!m_apart.empty()) sources.push_back({int64_t(m_apart.size()), 0, {}, -1, -1});
  // The cells of the search no longer read, and where a shape in several of them is taken: in the
  // first of its cells, row by row, that is still read.
  const int64_t columns = q[2] - q[0] + 1;
  std::vector<uint8_t> dropped(size_t(search.cells), 0);
  auto takenIn = [&](int i, int64_t x, int64_t y) {
    const Box& b = m_boxes[size_t(i)];
    int64_t c[4];
    Cells(b.left, b.top, b.right, b.bottom, c);
    for (int64_t cy = std::max(c[1], q[1]); cy <= std::min(c[3], q[3]); ++cy)
      for (int64_t cx = std::max(c[0], q[0]); cx <= std::min(c[2], q[2]); ++cx)
        if (!dropped[size_t((cy - q[1]) * columns + cx - q[0])]) return cx == x && cy == y;
    return false;
  };
  // The place of a list read next, or -1 for one gone or given apart.
  auto placeOf = [&](const Source& s) {
    if (s.x < 0) return m_apart[size_t(s.next - 1)];
    const int i = m_current[size_t(m_members[size_t(s.next - 1)])];
    return i < 0 || m_isApart[size_t(i)] ? -1 : i;
  };
  // The shapes are taken in windows of the stack, front first, each twice as deep as the one
  // before: every list gives its shapes of the window, which are sorted and taken front to back.
  // Before each window but the first a cell is asked whether all it can paint is covered: its
  // shapes that show anywhere show in another cell too, which gives them, so it is read no
  // further.
  //
  // Over much of the grid, every shape in turn is read instead (quicker than the lists and a
  // sort), until half the cells are dropped: then the lists are read from where that reading
  // stopped. A drawing where little is buried costs no more than reading the shapes; one buried
  // all over but for a bare spot is not read to the bottom of the stack everywhere.
  const size_t cellsAtFirst = sources.size() - (m_apart.empty() ? 0 : 1);
  bool inTurn = search.everything;
  std::vector<int> window;
  int64_t depth = 1024;
  for (int64_t end = int64_t(m_boxes.size()); end > 0 && !sources.empty(); end -= depth, depth *= 2) {
    const int64_t begin = std::max<int64_t>(0, end - depth);
    if (end < int64_t(m_boxes.size()))
      std::erase_if(sources, [&](const Source& s) {
        const bool done = s.next == s.first || (s.x >= 0 && covered(s.reach));
        if (done && s.x >= 0) dropped[size_t((s.y - q[1]) * columns + s.x - q[0])] = 1;
        return done;
      });
    if (inTurn) {
      const size_t cells =
          size_t(std::count_if(sources.begin(), sources.end(), [](const Source& s) { return s.x >= 0; }));
      if (2 * cells > cellsAtFirst) {
        for (int i = int(end) - 1; i >= begin; --i)
          if (Meets(i, area, zoom, margin) && !take(i, Zoomed(i, zoom, 0))) return;
        continue;
      }
      inTurn = false;
      for (Source& s : sources)
        while (s.next > s.first && (placeOf(s) < 0 || placeOf(s) >= end)) --s.next;
    }
    window.clear();
    for (Source& s : sources)
      for (; s.next > s.first; --s.next) {
        const int i = placeOf(s);
        if (i < 0) continue;
        if (i < begin) break;
        if ((s.x < 0 || takenIn(i, s.x, s.y)) && Meets(i, area, zoom, margin)) window.push_back(i);
      }
    std::sort(window.begin(), window.end(), std::greater<int>());
    for (const int i : window)
      if (!take(i, Zoomed(i, zoom, 0))) return;
  }
}

bool ShapeIndex::Follow(const std::vector<ListChanges::Change>& changes, const CShapeArray& shapes) {
  if (m_columns == 0) return false;  // built from an empty list: there is no grid to keep
  // Each change costs a pass over the places of the list; many are quicker built again.
  if (changes.size() > kMostChanges) return false;
  // A record inserted or replaced goes to the list apart with no pen yet, and its box is read
  // once every change is followed; one moved is taken out and inserted where it goes, so that the
  // lists of the cells stay in stacking order.
  auto insert = [&](int32_t at) {
    for (int32_t& c : m_current) c += c >= at ? 1 : 0;
    for (int32_t& a : m_apart) a += a >= at ? 1 : 0;
    m_apart.insert(std::lower_bound(m_apart.begin(), m_apart.end(), at), at);
    m_boxes.insert(m_boxes.begin() + at, Box{});
    m_pens.insert(m_pens.begin() + at, 0);
    m_isApart.insert(m_isApart.begin() + at, 1);
  };
  auto remove = [&](int32_t at) {
    for (int32_t& c : m_current) c = c == at ? -1 : c - (c > at ? 1 : 0);
    if (const auto it = std::lower_bound(m_apart.begin(), m_apart.end(), at); it != m_apart.end() && *it == at)
      m_apart.erase(it);
    for (int32_t& a : m_apart) a -= a > at ? 1 : 0;
    m_boxes.erase(m_boxes.begin() + at);
    m_pens.erase(m_pens.begin() + at);
    m_isApart.erase(m_isApart.begin() + at);
  };
  for (const ListChanges::Change& c : changes) {
    const int32_t size = int32_t(m_boxes.size());
    const bool inside = c.index >= 0 && c.index < size;
    switch (c.kind) {
      case ListChanges::inserted:
        if (c.index < 0 || c.index > size) return false;
        insert(c.index);
        break;
      case ListChanges::removed:
        if (!inside) return false;
        remove(c.index);
        break;
      case ListChanges::replaced:
        if (!inside) return false;
        if (!m_isApart[size_t(c.index)]) {
          m_isApart[size_t(c.index)] = 1;
          m_apart.insert(std::lower_bound(m_apart.begin(), m_apart.end(), c.index), c.index);
        }
        m_pens[size_t(c.index)] = 0;
        break;
      case ListChanges::moved:
        if (!inside || c.to < 0 || c.to >= size) return false;
        remove(c.index);
        insert(c.to);
        break;
    }
  }
  if (m_boxes.size() != size_t(shapes.GetSize())) return false;
  for (const int32_t i : m_apart)
    if (m_pens[size_t(i)] == 0) {
      m_boxes[size_t(i)] = BoxOf(shapes[i]);
      m_pens[size_t(i)] = uint8_t(std::clamp(shapes[i].GetPenWidth(), 1, 255));
      m_widestPen = std::max<int>(m_widestPen, m_pens[size_t(i)]);
    }
  return m_apart.size() <= std::max<size_t>(kMostApart, m_boxes.size() / 16);
}

size_t ShapeIndex::Bytes() const {
  return sizeof(*this) + m_boxes.capacity() * sizeof(Box) + m_pens.capacity() + m_starts.capacity() * 4 +
         m_members.capacity() * 4 + m_apart.capacity() * 4 + m_isApart.capacity() + m_current.capacity() * 4;
}
