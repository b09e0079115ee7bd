#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>

#include "model/DocumentFileContent.h"
#include "platform/core/CArchive.h"
#include "tests/support/FileBytes.h"

namespace {

std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int v : b) s += char(v);
  return s;
}

// `bytes` with the 32-bit value at `offset` replaced.
std::string With(std::string bytes, size_t offset, int32_t v) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = char(uint32_t(v) >> (8 * i));
  return bytes;
}

using file_bytes::Save;

// A stream that cannot tell its length, because it cannot seek (seekoff and seekpos keep the
// streambuf defaults, which fail).
class OneWayBuf : public std::streambuf {
 public:
  explicit OneWayBuf(std::string data) : m_data(std::move(data)) {
    setg(m_data.data(), m_data.data(), m_data.data() + m_data.size());
  }

 private:
  std::string m_data;
};

void LoadInto(DocumentFileContent& doc, const std::string& bytes, bool seekable = true) {
  std::stringbuf in(bytes);
  OneWayBuf oneWay(bytes);
  CArchive ar(seekable ? static_cast<std::streambuf&>(in) : oneWay, CArchive::load);
  ASSERT_EQ(ar.GetRemaining().has_value(), seekable);
  doc.Serialize(ar);
}

DocumentFileContent Load(const std::string& bytes, bool seekable = true) {
  DocumentFileContent doc;
  LoadInto(doc, bytes, seekable);
  return doc;
}

CShape Line1020to3040() {
  CShape s;
  s.SetType(kLine);
  s.SetCenter(20, 30);
  s.SetPoint(0, 10, 20);
  s.SetPoint(1, 30, 40);
  s.SetPointCount(2);
  return s;  // pen width 1, solid, brush style -1: the defaults
}

// One line, selected, with its end point gripped.
DocumentFileContent LineDocument() {
  DocumentFileContent doc;
  doc.drawing.AddShape(Line1020to3040());
  doc.hitMode = HIT_VERTEX;
  doc.hitPart = 1;
  return doc;
}

const std::string kLineFile = Bytes({0x00, 0x00, 0x00, 0x00, 0x01, 0x00,                 // selected 0, one shape
                                     0x70, 0xCA, 0x40, 0x00,                             // record tag
                                     0x14, 0x00, 0x00, 0x00, 0x1E, 0x00, 0x00, 0x00,     // centre (20, 30)
                                     0x01, 0x00, 0x00, 0x00,                             // type Line
                                     0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,     // pen and brush colour
                                     0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,     // width 1, solid
                                     0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x00, 0x00, 0x00,     // brush -1, two points
                                     0x0A, 0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00,     // (10, 20)
                                     0x1E, 0x00, 0x00, 0x00, 0x28, 0x00, 0x00, 0x00}) +  // (30, 40)
                              std::string(64, '\0') +                                    // eight unused point slots
                              Bytes({0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00});   // hitMode 1, hitPart 1

// Offsets in kLineFile.
constexpr size_t kSelected = 0, kTag = 6, kPointCount = 42, kSlot9 = 118, kHitMode = 126, kHitPart = 130;

}  // namespace

TEST(DocumentFile, EmptyDrawingIsFourteenBytes) {
  DocumentFileContent doc;  // no grip: hitMode 0, hitPart -1
  EXPECT_EQ(Save(doc), Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(DocumentFile, OneLineIsStoredByteForByteWithoutZoomOrRotation) {
  DocumentFileContent doc = LineDocument();
  ASSERT_EQ(kLineFile.size(), 134u);
  EXPECT_EQ(Save(doc), kLineFile);
  doc.drawing.SetZoom(300);
  doc.drawing.SetRotateMode(true);
  doc.drawing.TrackRotation(30, 30, 20, 40);
  ASSERT_NE(doc.drawing.GetAngle(), 0.0);
  EXPECT_EQ(Save(doc), kLineFile);
}

TEST(DocumentFile, LoadingRestoresTheDrawingAndGripAndSavesTheSameBytes) {
  for (bool seekable : {true, false}) {
    DocumentFileContent doc = Load(kLineFile, seekable);
    EXPECT_TRUE(doc.drawing == LineDocument().drawing);  // selection 0, zoom 100, no rotation
    EXPECT_EQ(doc.hitMode, 1);
    EXPECT_EQ(doc.hitPart, 1);
    EXPECT_EQ(Save(doc), kLineFile);
  }
}

TEST(DocumentFile, TagIsNotCheckedAndTrailingBytesAreIgnored) {
  DocumentFileContent doc = Load(With(kLineFile, kTag, int32_t(0xEFBEADDE)) + "trailing junk");
  EXPECT_TRUE(doc.drawing == LineDocument().drawing);
  EXPECT_EQ(doc.hitMode, 1);
  EXPECT_EQ(doc.hitPart, 1);
  EXPECT_EQ(Save(doc), kLineFile);  // written back with the usual tag
}

TEST(DocumentFile, SpareSlotsAndOddCodesSurviveARoundTrip) {
  DocumentFileContent doc;
  CShape s = Line1020to3040();
  s.SetPoint(9, -5, 77);
  s.SetPenColor(0xFF123456u);
  s.SetType(42);
  doc.drawing.AddShape(s);
  doc.drawing.AddShape(CShape());
  const std::string bytes = Save(doc);
  EXPECT_EQ(bytes.substr(kSlot9, 8), Bytes({0xFB, 0xFF, 0xFF, 0xFF, 0x4D, 0x00, 0x00, 0x00}));
  EXPECT_TRUE(Load(bytes).drawing == doc.drawing);
}

TEST(DocumentFile, EmptyStreamGivesAnEmptyDrawingAndKeepsTheGrip) {
  for (bool seekable : {true, false}) {
    DocumentFileContent doc;
    doc.hitMode = HIT_EDGE;
    doc.hitPart = 3;
    LoadInto(doc, "", seekable);
    EXPECT_TRUE(doc.drawing == CTavlo());
    EXPECT_EQ(doc.hitMode, HIT_EDGE);
    EXPECT_EQ(doc.hitPart, 3);
  }
}

TEST(DocumentFile, LongCountEscapeStartsAt65535) {
  for (int n : {65534, 65535}) {
    DocumentFileContent doc;
    for (int i = 0; i < n; ++i) {
      CShape s;
      s.SetCenter(i, -i);
      doc.drawing.AddShape(s);
    }
    const std::string bytes = Save(doc);
    const std::string count = n == 65534 ? Bytes({0xFE, 0xFF}) : Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00});
    EXPECT_EQ(bytes.substr(4, count.size()), count);
    EXPECT_EQ(bytes.size(), 12 + count.size() + 120 * size_t(n));
    for (bool seekable : {true, false})
      EXPECT_TRUE(Load(bytes, seekable).drawing == doc.drawing) << n << (seekable ? "" : " unseekable");
  }
}

TEST(DocumentFile, FileEndingEarlyIsRefused) {
  DocumentFileContent doc = LineDocument();
  CShape rect;
  rect.SetType(kRectangle);
  rect.SetPointCount(4);
  doc.drawing.AddShape(rect);
  const std::string bytes = Save(doc);
  ASSERT_EQ(bytes.size(), 254u);
  for (bool seekable : {true, false})
    for (size_t n = 1; n < bytes.size(); ++n)
      EXPECT_THROW(Load(bytes.substr(0, n), seekable), CArchiveException) << n << " bytes";
}

TEST(DocumentFile, PointCountOutsideZeroToTenIsRefused) {
  for (int32_t count : {11, -1, INT_MIN, INT_MAX})
    for (bool seekable : {true, false})
      EXPECT_THROW(Load(With(kLineFile, kPointCount, count), seekable), CArchiveException) << count;
  EXPECT_EQ(Load(With(kLineFile, kPointCount, 10)).drawing.GetShapes()[0].GetPointCount(), 10);
  EXPECT_EQ(Load(With(kLineFile, kPointCount, 0)).drawing.GetShapes()[0].GetPointCount(), 0);
}

TEST(DocumentFile, CountBeyondTheBytesIsRefused) {
  for (const std::string& count : {Bytes({0x02, 0x00}), Bytes({0xFE, 0xFF})})  // one shape present
    EXPECT_THROW(Load(kLineFile.substr(0, 4) + count + kLineFile.substr(6)), CArchiveException);
  // The message counts as one counts: a file that announces one shape and holds half of one.
  try {
    Load(kLineFile.substr(0, 66));
    ADD_FAILURE() << "half a record was read";
  } catch (const CArchiveException& e) {
    EXPECT_STREQ(e.what(), "the file is truncated or damaged (it announces 1 shape but holds room for at most 0)");
  }
  // 0xFFFFFFFF shapes in 20 bytes: refused before any storage is sized from the count.
  const std::string huge = Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}) + std::string(10, '\0');
  for (const std::string& bytes : {huge, With(huge, 6, INT_MAX)}) {
    for (bool seekable : {true, false}) {
      DocumentFileContent doc;
      EXPECT_THROW(LoadInto(doc, bytes, seekable), CArchiveException);
      if (seekable) {
        EXPECT_EQ(doc.drawing.GetShapes().GetCapacity(), 0);
      }
    }
  }
}

TEST(DocumentFile, StaleGripStateIsRepairedKeepingTheShapes) {
  const struct {
    int32_t selected, hitMode, hitPart, wantSelected, wantMode, wantPart;
  } cases[] = {
      {0, 1, 1, 0, 1, 1},         {0, 1, 0, 0, 1, 0},    {0, 2, 1, 0, 2, 1},         // sound grips
      {0, 3, 99, 0, 3, 99},       {0, 4, -7, 0, 4, -7},  {0, 5, -1, 0, 5, -1},       // parts that are no points
      {0, 0, -1, 0, 0, -1},       {1, 1, 1, -1, 0, -1},  {-2, 0, -1, -1, 0, -1},     // no grip; bad selections
      {INT_MAX, 3, 0, -1, 0, -1}, {-1, 3, 0, -1, 0, -1}, {-1, 5, -1, -1, 0, -1},     // grip without selection
      {0, 6, 1, 0, 0, -1},        {0, -1, 1, 0, 0, -1},  {0, INT_MIN, 0, 0, 0, -1},  // no such grip
      {0, 1, 2, 0, 0, -1},        {0, 1, -1, 0, 0, -1},  {0, 2, 2, 0, 0, -1},        // no such point
      {0, 2, INT_MAX, 0, 0, -1},
  };
  for (const auto& c : cases) {
    DocumentFileContent doc;  // a grip from before the load must not survive it
    doc.hitMode = HIT_EDGE;
    doc.hitPart = 3;
    LoadInto(doc, With(With(With(kLineFile, kSelected, c.selected), kHitMode, c.hitMode), kHitPart, c.hitPart));
    const std::string which =
        std::to_string(c.selected) + "/" + std::to_string(c.hitMode) + "/" + std::to_string(c.hitPart);
    EXPECT_EQ(doc.drawing.GetSelected(), c.wantSelected) << which;
    EXPECT_EQ(doc.hitMode, c.wantMode) << which;
    EXPECT_EQ(doc.hitPart, c.wantPart) << which;
    EXPECT_TRUE(doc.drawing.GetShapes() == LineDocument().drawing.GetShapes()) << which;
  }
}
