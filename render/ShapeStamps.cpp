#include "render/ShapeStamps.h"

#include <algorithm>
#include <cstring>

#include <QImage>
#include <QPainter>

#include "platform/qt/CQPainterDC.h"

namespace {

constexpr QRgb kPenMark = 0xFFFF0000, kGapMark = 0xFF0000FF, kInsideMark = 0xFF00FF00;

void Draw(CDC& dc, ShapeStamps::Primitive primitive, const POINT* points, int count) {
  switch (primitive) {
    case ShapeStamps::polyline: dc.Polyline(points, count); break;
    case ShapeStamps::polygon: dc.Polygon(points, count); break;
    case ShapeStamps::bezier: dc.PolyBezier(points, count); break;
    case ShapeStamps::ellipse: dc.Ellipse(points[0].x, points[0].y, points[1].x, points[1].y); break;
  }
}

// The picture has its ratio before the painter and the context start on it.
QImage EaselPicture(int side, int ratio) {
  QImage picture(side * ratio, side * ratio, QImage::Format_ARGB32_Premultiplied);
  picture.setDevicePixelRatio(ratio);
  return picture;
}

}  // namespace

ShapeStamps::Easel::Easel(int ratio)
    : ratio(ratio), picture(EaselPicture(kEaselSide, ratio)), painter(&picture), dc(painter) {
  painter.setBackground(QColor::fromRgb(kGapMark));
}

uint64_t ShapeStamps::Hash(const Key& key) {
  uint64_t words[sizeof(Key) / 8];
  std::memcpy(words, &key, sizeof(Key));
  uint64_t h = 0;
  for (const uint64_t w : words) h = (h ^ w) * 0x9E3779B97F4A7C15 + (h >> 29);
  return (h ^ (h >> 32)) | 1;
}

std::optional<std::span<const ShapeStamps::Run>> ShapeStamps::Table::Find(const Key& key, uint64_t hash) const {
  if (m_slots.empty()) return std::nullopt;
  const size_t mask = m_slots.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = m_slots[i];
    if (slot.hash == 0) return std::nullopt;
    if (slot.hash == hash && std::memcmp(&m_store[slot.at], &key, sizeof(Key)) == 0)
      return std::span<const Run>(m_store.data() + slot.at + kKeyRuns, slot.count);
  }
}

std::span<const ShapeStamps::Run> ShapeStamps::Table::Put(const Key& key, uint64_t hash, std::span<const Run> runs) {
  if (m_size >= kMostForms) {
    m_slots.assign(m_slots.size(), Slot{});
    m_store.clear();
    m_size = 0;
  }
  // At most half the slots are taken, so that a search ends soon at an empty one.
  if (2 * (m_size + 1) > m_slots.size()) Grow();
  const size_t mask = m_slots.size() - 1;
  size_t i = hash & mask;
  while (m_slots[i].hash != 0) i = (i + 1) & mask;
  const uint32_t at = uint32_t(m_store.size());
  m_slots[i] = Slot{hash, at, uint32_t(runs.size())};
  m_store.resize(m_store.size() + kKeyRuns);
  std::memcpy(&m_store[at], &key, sizeof(Key));
  m_store.insert(m_store.end(), runs.begin(), runs.end());
  ++m_size;
  return {m_store.data() + at + kKeyRuns, runs.size()};
}

void ShapeStamps::Table::Grow() {
  std::vector<Slot> old(std::max<size_t>(256, 2 * m_slots.size()));
  old.swap(m_slots);
  const size_t mask = m_slots.size() - 1;
  for (const Slot& slot : old) {
    if (slot.hash == 0) continue;
    size_t i = slot.hash & mask;
    while (m_slots[i].hash != 0) i = (i + 1) & mask;
    m_slots[i] = slot;
  }
}

std::span<const ShapeStamps::Run> ShapeStamps::Of(Primitive primitive, const POINT* points, int count, const CPen& pen,
                                                  int ratio) {
  Key key{primitive, uint8_t(pen.style), uint8_t(pen.width), uint8_t(count), uint8_t(ratio), {}, {}};
  for (int i = 0; i < count; ++i) key.xy[2 * i] = int16_t(points[i].x), key.xy[2 * i + 1] = int16_t(points[i].y);
  const uint64_t hash = Hash(key);
  if (const auto runs = m_forms.Find(key, hash)) return *runs;
  if (m_shared)
    if (const auto runs = m_shared->CopyInto(m_forms, key, hash)) return *runs;

  // Painted as the shape itself would be, pen and background in colours of their own, with room
  // for the pen all round.
  int right = 0, bottom = 0;
  for (int i = 0; i < count; ++i)
    right = std::max(right, int(points[i].x)), bottom = std::max(bottom, int(points[i].y));
  const int room = pen.width + 2;
  const QRect used(0, 0, right + 1 + 2 * room, bottom + 1 + 2 * room);
  if (!m_easel || m_easel->ratio != ratio) m_easel = std::make_unique<Easel>(ratio);
  QPainter& painter = m_easel->painter;
  CQPainterDC& dc = m_easel->dc;
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.fillRect(used, Qt::transparent);
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter.translate(room, room);
  // Drawn once, as the shape itself is, with its pen and a brush in colours of their own: Qt
  // fills before it strokes, so the pen and its gaps lie over the inside as on the picture.
  CPen marked;
  CBrush filled;
  dc.CreatePen(marked, pen.style, pen.width, RGB(255, 0, 0));
  dc.CreateSolidBrush(filled, RGB(0, 255, 0));
  CPen* oldPen = dc.SelectObject(&marked);
  CGdiObject* oldBrush =
      primitive == polygon || primitive == ellipse ? dc.SelectObject(&filled) : dc.SelectStockObject(NULL_BRUSH);
  Draw(dc, primitive, points, count);
  dc.SelectObject(oldPen);
  dc.SelectGdiObject(oldBrush);
  dc.DeleteObject(marked);
  dc.DeleteObject(filled);
  painter.translate(-room, -room);
  const QImage& picture = m_easel->picture;
  const QRect device(used.topLeft() * ratio, used.size() * ratio);
  std::vector<Run>& runs = m_found;
  runs.clear();
  for (int y = device.top(); y <= device.bottom(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    for (int x = device.left(); x <= device.right(); ++x) {
      const QRgb mark = row[x];
      if (mark != kPenMark && mark != kGapMark && mark != kInsideMark) continue;
      const Part part = mark == kPenMark ? ink : mark == kGapMark ? gap : inside;
      if (x > device.left() && row[x - 1] == mark && runs.back().length < 255)
        ++runs.back().length;
      else
        runs.push_back({int16_t(x - room * ratio), int16_t(y - room * ratio), 1, part});
    }
  }
  if (m_shared) m_shared->Put(key, hash, runs);
  return m_forms.Put(key, hash, runs);
}

std::optional<std::span<const ShapeStamps::Run>> ShapeStamps::Shared::CopyInto(Table& own, const Key& key,
                                                                               uint64_t hash) const {
  const std::lock_guard<std::mutex> hold(m_lock);
  if (const auto runs = m_forms.Find(key, hash)) return own.Put(key, hash, *runs);
  return std::nullopt;
}

void ShapeStamps::Shared::Put(const Key& key, uint64_t hash, std::span<const Run> runs) {
  const std::lock_guard<std::mutex> hold(m_lock);
  m_forms.Put(key, hash, runs);
}
