// The log of backdrop changes tells a kept picture what to paint again, or that it cannot tell.
#include <gtest/gtest.h>

#include <sstream>

#include "model/CTavlo.h"
#include "platform/core/CArchive.h"

namespace {

CShape Dot(int x) {
  CShape s;
  s.SetType(kLine);
  s.SetPointCount(2);
  s.SetPoint(0, x, 0);
  s.SetPoint(1, x + 1, 1);
  return s;
}

}  // namespace

TEST(BackdropChanges, NamesTheRecordsTouchedSinceAKnownRevisionAndOnlyThen) {
  CTavlo d;
  for (int i = 0; i < 4; ++i) d.InsertShape(i, Dot(10 * i));
  d.SetSelected(2);
  const uint64_t start = d.GetBackdropRevision();
  std::vector<CShape> touched;
  ASSERT_TRUE(d.GetBackdropChangesSince(start, touched));
  EXPECT_TRUE(touched.empty());

  // Inserting below the selection moves it onto another record: the one selected before comes
  // back into the backdrop and the one now selected leaves it.
  d.InsertShape(0, Dot(100));
  ASSERT_TRUE(d.GetBackdropChangesSince(start, touched));
  EXPECT_EQ(touched, (std::vector<CShape>{Dot(100), Dot(20), Dot(10)}));
  // The selected record changing is no change of the backdrop; another record is.
  const uint64_t afterInsert = d.GetBackdropRevision();
  d.ReplaceShape(d.GetSelected(), Dot(200));
  EXPECT_EQ(d.GetBackdropRevision(), afterInsert);
  d.ReplaceShape(0, Dot(300));
  ASSERT_TRUE(d.GetBackdropChangesSince(afterInsert, touched));
  EXPECT_EQ(touched, (std::vector<CShape>{Dot(100), Dot(300)}));
  // A new shape is selected as it comes: only the selection it replaces is touched.
  d.AddShape(Dot(400));
  ASSERT_TRUE(d.GetBackdropChangesSince(afterInsert, touched));
  EXPECT_EQ(touched.back(), Dot(200));

  // Another drawing's revision, one forgotten, and a drawing read afresh are not known.
  CTavlo other;
  EXPECT_FALSE(d.GetBackdropChangesSince(other.GetBackdropRevision(), touched));
  for (size_t i = 0; i <= BackdropChanges::kKept; ++i) d.ReplaceShape(0, Dot(int(i)));
  EXPECT_FALSE(d.GetBackdropChangesSince(start, touched));
  const uint64_t recent = d.GetBackdropRevision();
  std::stringbuf bytes;
  CArchive out(bytes, CArchive::store);
  d.Serialize(out);
  out.Close();
  CArchive in(bytes, CArchive::load);
  d.Serialize(in);
  EXPECT_FALSE(d.GetBackdropChangesSince(recent, touched));
  EXPECT_TRUE(d.GetBackdropChangesSince(d.GetBackdropRevision(), touched));
}
