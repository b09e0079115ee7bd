#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include <QImage>
#include <QPainter>

#include "platform/core/CDC.h"
#include "platform/qt/CQPainterDC.h"

// What a small shape paints, by the shape's form: the pixels of its inside, of its pen's colour
// and, for a dashed pen, the white of the gaps, as runs along rows from the corner of the shape's
// box. Qt builds a path, an outline and spans for every shape it draws, which costs many times
// what the few pixels of a small shape do; the raster engine paints the same pixels for the same
// form wherever it lies a whole number of pixels away, so a form's pixels are found once and then
// set directly. Used by one painter at a time.
class ShapeStamps {
 public:
  class Shared;
  ShapeStamps() = default;
  // Stamps that also take forms from, and give those they find to, `shared`, which painters side
  // by side share, so that a form is painted once however many of them ask for it.
  explicit ShapeStamps(Shared* shared) : m_shared(shared) {}

  // The primitive a form is drawn with.
  enum Primitive : uint8_t { polyline, polygon, bezier, ellipse };
  // What a pixel of a form is: inside (the brush's, where the pen leaves it), the pen's colour, or
  // a gap of a dashed pen (white).
  enum Part : uint8_t { inside, ink, gap };
  // Pixels of one part side by side on a row, from (dx, dy) rightwards.
  struct Run {
    int16_t dx, dy;
    uint8_t length;
    Part part;
  };
  // Forms larger than this a side (points and pen) are not kept.
  static constexpr int kLargest = 48;

  // The pixels `primitive` through `points` (relative to their box's corner, count of them)
  // paints with `pen` and a brush, on a picture of `ratio` (1 or 2) device pixels to the pixel,
  // found by painting it once on a picture of its own. Runs are in device pixels. A polyline and a
  // curve have no inside. The runs stay as they are until the next call.
  std::span<const Run> Of(Primitive primitive, const POINT* points, int count, const CPen& pen, int ratio = 1);
  // How many forms are kept.
  int Forms() const { return int(m_forms.Size()); }

 private:
  // The picture forms are painted on, with its painter and context kept from one form to the
  // next: starting a painter costs more than a small form.
  // Room for the largest form under the widest pen kept.
  static constexpr int kEaselSide = 3 * kLargest + 8;
  struct Easel {
    explicit Easel(int ratio);
    int ratio;
    QImage picture;
    QPainter painter;
    CQPainterDC dc;
  };
  // Every byte is a field, none is padding, and fields a form does not use are zero: keys compare,
  // and hash, as bytes.
  struct Key {
    uint8_t primitive, style, width, count, ratio, unused[3];
    int16_t xy[2 * 10];
  };
  static_assert(sizeof(Key) == 48);
  static_assert(sizeof(Run) == 6 && sizeof(Key) % sizeof(Run) == 0);
  static uint64_t Hash(const Key& key);
  static constexpr size_t kMostForms = 1 << 15;
  // Forms by key, kept in place: a table of open addressing holds a form's hash and where its key
  // lies in one store of all keys and runs, each form's runs right after its key. A chain of
  // nodes and a vector of runs for each form cost two more reads from far apart, which showed in
  // every stamp; the slots are small enough to stay near at hand.
  class Table {
   public:
    std::optional<std::span<const Run>> Find(const Key& key, uint64_t hash) const;
    // Keeps a copy of the runs, after letting every form go when kMostForms are kept.
    std::span<const Run> Put(const Key& key, uint64_t hash, std::span<const Run> runs);
    size_t Size() const { return m_size; }

   private:
    // A key takes the room of this many runs in the store.
    static constexpr uint32_t kKeyRuns = sizeof(Key) / sizeof(Run);
    // An empty slot has no hash (a form's hash is never 0).
    struct Slot {
      uint64_t hash = 0;
      uint32_t at = 0, count = 0;  // where the key lies in the store, and how many runs follow it
    };
    void Grow();
    std::vector<Slot> m_slots;
    std::vector<Run> m_store;
    size_t m_size = 0;
  };
  Table m_forms;
  std::vector<Run> m_found;  // the runs of the form being found
  std::unique_ptr<Easel> m_easel;
  Shared* m_shared = nullptr;
};

// The forms several ShapeStamps on different threads have found. Each keeps its own as well, so
// this one is asked only about forms new to it, and its lock is seldom taken.
class ShapeStamps::Shared {
 public:
  // Copies the form into `own` if someone has found it, and returns its runs there.
  std::optional<std::span<const Run>> CopyInto(Table& own, const Key& key, uint64_t hash) const;
  void Put(const Key& key, uint64_t hash, std::span<const Run> runs);

 private:
  mutable std::mutex m_lock;
  Table m_forms;
};
