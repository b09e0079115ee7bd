#include "model/CShapeArray.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "model/ShapeMemory.h"
#include "platform/core/CArchive.h"
#include "platform/linux/LargeBlock.h"

namespace {

std::string Shapes(uint64_t count) { return std::to_string(count) + (count == 1 ? " shape" : " shapes"); }

// On disk a record is a 4-byte tag followed by the fields in declaration order.
constexpr size_t kRecordBytes = 120;
constexpr uint32_t kRecordTag = 0x0040CA70;

void Put32(unsigned char*& p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
  p += 4;
}

int32_t Get32(const unsigned char*& p) {
  const uint32_t v = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
  p += 4;
  return int32_t(v);
}

void StoreRecord(CArchive& ar, const CShape& s) {
  unsigned char rec[kRecordBytes];
  unsigned char* p = rec;
  Put32(p, kRecordTag);
  Put32(p, uint32_t(s.GetCenter().x));
  Put32(p, uint32_t(s.GetCenter().y));
  Put32(p, uint32_t(s.GetType()));
  Put32(p, s.GetPenColor());
  Put32(p, s.GetBrushColor());
  Put32(p, uint32_t(s.GetPenWidth()));
  Put32(p, uint32_t(s.GetPenStyle()));
  Put32(p, uint32_t(s.GetBrushStyle()));
  Put32(p, uint32_t(s.GetPointCount()));
  for (int i = 0; i < kMaxPoints; ++i) {
    Put32(p, uint32_t(s.GetPoint(i).x));
    Put32(p, uint32_t(s.GetPoint(i).y));
  }
  ar.Write(rec, kRecordBytes);
}

// `number` is the record's place in the file, counted from 1, for the message.
void LoadRecord(CArchive& ar, CShape& s, int64_t number) {
  unsigned char rec[kRecordBytes];
  ar.Read(rec, kRecordBytes);
  const unsigned char* p = rec + 4;  // the tag is not interpreted
  const int32_t cx = Get32(p);
  const int32_t cy = Get32(p);
  s.SetCenter(cx, cy);
  s.SetType(Get32(p));
  s.SetPenColor(COLORREF(Get32(p)));
  s.SetBrushColor(COLORREF(Get32(p)));
  s.SetPenWidth(Get32(p));
  s.SetPenStyle(Get32(p));
  s.SetBrushStyle(Get32(p));
  const int32_t count = Get32(p);
  if (count < 0 || count > kMaxPoints)
    throw CArchiveException(CArchiveException::badIndex, "the file is damaged (shape " + std::to_string(number) +
                                                             " claims " + std::to_string(count) +
                                                             " points; a shape has at most 10)");
  s.SetPointCount(count);
  for (int i = 0; i < kMaxPoints; ++i) {
    const int32_t x = Get32(p);
    const int32_t y = Get32(p);
    s.SetPoint(i, x, y);
  }
}

}  // namespace

void CShapeArray::BlockDeleter::operator()(CShape* block) const noexcept {
  std::destroy_n(block, capacity);
  FreeBlock(block, sizeof(CShape) * size_t(capacity));
}

CShapeArray::Block CShapeArray::MakeBlock(int capacity) {
  auto* block = static_cast<CShape*>(AllocateBlock(sizeof(CShape) * size_t(capacity)));
  std::uninitialized_default_construct_n(block, capacity);
  return Block(block, BlockDeleter{capacity});
}

CShapeArray::CShapeArray(const CShapeArray& other) : CObject(other) {
  if (other.m_size == 0) return;
  m_data = MakeBlock(other.m_size);
  std::copy(other.begin(), other.end(), m_data.get());
  m_size = other.m_size;
}

CShapeArray& CShapeArray::operator=(const CShapeArray& other) {
  if (this != &other) *this = CShapeArray(other);
  return *this;
}

// A moved unique_ptr keeps its deleter, capacity and all, so the source is handed an empty block.
CShapeArray::CShapeArray(CShapeArray&& other) noexcept
    : m_data(std::exchange(other.m_data, Block())), m_size(std::exchange(other.m_size, 0)) {}

CShapeArray& CShapeArray::operator=(CShapeArray&& other) noexcept {
  if (this != &other) {
    m_data = std::exchange(other.m_data, Block());
    m_size = std::exchange(other.m_size, 0);
  }
  return *this;
}

void CShapeArray::SetSize(int n) {
  if (n < 0) return;
  if (n == 0) {
    *this = CShapeArray();
    return;
  }
  const int capacity = GrownCapacity(m_size, GetCapacity(), n);
  if (capacity != GetCapacity()) Reallocate(capacity);
  // Spares may hold records dropped earlier.
  if (n > m_size) std::fill(m_data.get() + m_size, m_data.get() + n, CShape());
  m_size = n;
}

void CShapeArray::Reallocate(int capacity) {
  // A record is plain bytes, so the block grows as bytes: a large one without being copied.
  static_assert(std::is_trivially_copyable_v<CShape>);
  const int old = GetCapacity();
  auto* grown =
      static_cast<CShape*>(GrowBlock(m_data.get(), sizeof(CShape) * size_t(old), sizeof(CShape) * size_t(capacity)));
  // The old block is gone or is this one: it must not be freed again.
  (void)m_data.release();
  std::uninitialized_default_construct_n(grown + old, capacity - old);
  m_data = Block(grown, BlockDeleter{capacity});
}

void CShapeArray::SetAtGrow(int i, CShape shape) {
  // An array whose size is an int cannot hold index INT_MAX (and i + 1 would overflow).
  if (i < 0 || i == INT_MAX) return;
  if (i >= m_size) SetSize(i + 1);
  m_data[i] = shape;
}

int CShapeArray::Add(CShape shape) {
  const int index = m_size;
  SetAtGrow(index, std::move(shape));
  return index;
}

void CShapeArray::RemoveAt(int index, int count) {
  if (index < 0 || count <= 0 || count > m_size - index) return;
  std::copy(m_data.get() + index + count, m_data.get() + m_size, m_data.get() + index);
  m_size -= count;
}

void CShapeArray::InsertAt(int index, CShape shape) {
  if (index < 0 || index > m_size || m_size == INT_MAX) return;
  SetSize(m_size + 1);
  std::copy_backward(m_data.get() + index, m_data.get() + m_size - 1, m_data.get() + m_size);
  m_data[index] = std::move(shape);
}

void CShapeArray::Move(int from, int to) {
  if (from < 0 || to < 0 || from >= m_size || to >= m_size || from == to) return;
  CShape* data = m_data.get();
  if (from < to)
    std::rotate(data + from, data + from + 1, data + to + 1);
  else
    std::rotate(data + to, data + from, data + from + 1);
}

void CShapeArray::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(uint32_t(m_size));
    for (const CShape& s : *this) StoreRecord(ar, s);
    return;
  }

  const uint32_t count = ar.ReadCount();
  const auto remaining = ar.GetRemaining();
  if (remaining && uint64_t(count) * kRecordBytes > *remaining)
    throw CArchiveException(CArchiveException::badIndex, "the file is truncated or damaged (it announces " +
                                                             Shapes(count) + " but holds room for at most " +
                                                             std::to_string(*remaining / kRecordBytes) + ")");
  if (count > uint32_t(INT_MAX))
    throw CArchiveException(CArchiveException::badIndex, "the file is damaged (it announces " + Shapes(count) + ")");
  if (const std::string why = WhyShapesDoNotFit(count, ar.GetMemoryLimit()); !why.empty())
    throw CArchiveException(CArchiveException::tooLarge, why);
  // Records are built straight from the bytes into a block of the announced size when the source
  // really stores that many. Otherwise (a stream that cannot tell its length, a sparse file whose
  // holes would read as millions of records) the block grows, doubling, only as records arrive.
  *this = CShapeArray();
  const auto stored = ar.GetStoredRemaining();
  int capacity = stored ? int(std::min<uint64_t>(count, *stored / kRecordBytes + 16384)) : std::min(int(count), 16384);
  for (int done = 0; done < int(count); ++done) {
    if (done == GetCapacity()) {
      Reallocate(capacity);
      capacity = int(std::min<int64_t>(int64_t(capacity) * 2, count));
    }
    m_size = done + 1;
    LoadRecord(ar, m_data[done], int64_t(done) + 1);
  }
}

bool operator==(const CShapeArray& a, const CShapeArray& b) {
  return a.m_size == b.m_size && std::equal(a.begin(), a.end(), b.begin());
}
