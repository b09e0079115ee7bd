#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/core/CArchive.h"
#include "platform/core/Color.h"

namespace {

template <typename Fn>
std::string Store(Fn fn) {
  std::stringbuf buf;
  CArchive ar(buf, CArchive::store);
  fn(ar);
  ar.Close();
  return buf.str();
}

std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int v : b) s += char(v);
  return s;
}

// A sink that takes a limited number of bytes, like a full disk.
class FullSink : public std::streambuf {
 public:
  explicit FullSink(std::streamsize room) : m_room(room) {}

 protected:
  std::streamsize xsputn(const char*, std::streamsize n) override {
    const std::streamsize put = std::min(n, m_room);
    m_room -= put;
    return put;
  }

 private:
  std::streamsize m_room;
};

}  // namespace

TEST(Color, ComponentsSitRedLowest) {
  EXPECT_EQ(RGB(230, 230, 230), 0x00E6E6E6u);
  EXPECT_EQ(RGB(1, 2, 3), 0x00030201u);
  EXPECT_EQ(GetRValue(0x00030201u), 1);
  EXPECT_EQ(GetGValue(0x00030201u), 2);
  EXPECT_EQ(GetBValue(0x00030201u), 3);
}

TEST(CArchive, WritesLittleEndianWhateverTheHost) {
  const std::string s =
      Store([](CArchive& ar) { ar << int32_t(-2) << uint32_t(0x0040CA70) << uint16_t(0x1234) << int16_t(-1); });
  EXPECT_EQ(s, Bytes({0xFE, 0xFF, 0xFF, 0xFF, 0x70, 0xCA, 0x40, 0x00, 0x34, 0x12, 0xFF, 0xFF}));

  std::stringbuf in(s);
  CArchive ar(in, CArchive::load);
  int32_t a;
  uint32_t b;
  uint16_t c;
  int16_t d;
  ar >> a >> b >> c >> d;
  EXPECT_EQ(a, -2);
  EXPECT_EQ(b, 0x0040CA70u);
  EXPECT_EQ(c, 0x1234);
  EXPECT_EQ(d, -1);
  EXPECT_TRUE(ar.AtEnd());
}

TEST(CArchive, CountEscapeAtFFFF) {
  struct Case {
    uint32_t count;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {0, Bytes({0, 0})},
      {65534, Bytes({0xFE, 0xFF})},
      {65535, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0, 0})},
      {65536, Bytes({0xFF, 0xFF, 0, 0, 1, 0})},
      {0xFFFFFFFFu, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})},
  };
  for (const Case& c : cases) {
    const std::string s = Store([&](CArchive& ar) { ar.WriteCount(c.count); });
    EXPECT_EQ(s, c.bytes) << c.count;
    std::stringbuf in(s);
    CArchive ar(in, CArchive::load);
    EXPECT_EQ(ar.ReadCount(), c.count);
  }
}

TEST(CArchive, ShortReadThrowsEndOfFile) {
  std::stringbuf in(Bytes({1, 2, 3}));
  CArchive ar(in, CArchive::load);
  uint16_t first;
  ar >> first;
  uint32_t v;
  try {
    ar >> v;
    FAIL() << "read past the end";
  } catch (const CArchiveException& e) {
    EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    EXPECT_NE(std::string(e.what()).find("truncated"), std::string::npos);
  }
  // An escaped count cut after its marker is short too.
  std::stringbuf cut(Bytes({0xFF, 0xFF, 1}));
  CArchive ar2(cut, CArchive::load);
  EXPECT_THROW(ar2.ReadCount(), CArchiveException);
}

TEST(CArchive, ValuesAcrossBufferBoundariesSurvive) {
  // More than the internal buffer, with values that straddle its edges.
  const int n = 70000;
  const std::string s = Store([&](CArchive& ar) {
    ar << uint16_t(7);
    for (int i = 0; i < n; ++i) ar << int32_t(i * 37 - 5);
  });
  ASSERT_EQ(s.size(), 2u + 4u * n);
  std::stringbuf in(s);
  CArchive ar(in, CArchive::load);
  ASSERT_EQ(ar.GetRemaining(), std::optional<uint64_t>(s.size()));
  uint16_t head;
  ar >> head;
  for (int i = 0; i < n; ++i) {
    int32_t v;
    ar >> v;
    ASSERT_EQ(v, i * 37 - 5) << i;
  }
  EXPECT_EQ(ar.GetRemaining(), std::optional<uint64_t>(0));
  EXPECT_TRUE(ar.AtEnd());
}

TEST(CArchive, RemainingCountsFromWhereTheArchiveBegins) {
  std::stringbuf in(Bytes({9, 9, 1, 2, 3, 4}));
  in.pubseekpos(2, std::ios_base::in);
  CArchive ar(in, CArchive::load);
  EXPECT_EQ(ar.GetRemaining(), std::optional<uint64_t>(4));
  int32_t v;
  ar >> v;
  EXPECT_EQ(v, 0x04030201);
}

TEST(CArchive, RefusedBytesThrowWriteFaultOnClose) {
  FullSink sink(10);
  CArchive ar(sink, CArchive::store);
  for (int i = 0; i < 4; ++i) ar << int32_t(i);
  EXPECT_THROW(ar.Close(), CArchiveException);

  FullSink roomy(16);
  CArchive fits(roomy, CArchive::store);
  for (int i = 0; i < 4; ++i) fits << int32_t(i);
  EXPECT_NO_THROW(fits.Close());
}
