#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

#include "model/CShapeArray.h"

namespace {

// A record told apart from others by its type, centre and last point slot.
CShape Marked(int tag) {
  CShape s;
  s.SetType(tag);
  s.SetCenter(tag, -tag);
  s.SetPoint(9, tag, tag);
  return s;
}

CShapeArray OfTags(std::initializer_list<int> tags) {
  CShapeArray a;
  for (int t : tags) a.Add(Marked(t));
  return a;
}

std::vector<int> Tags(const CShapeArray& a) {
  std::vector<int> tags;
  for (const CShape& s : a) tags.push_back(s.GetType());
  return tags;
}

using Ints = std::vector<int>;

}  // namespace

TEST(CShapeArray, AddAppendsAndReturnsTheOldSize) {
  CShapeArray a;
  EXPECT_EQ(a.GetUpperBound(), -1);
  EXPECT_EQ(a.GetCapacity(), 0);
  EXPECT_EQ(a.Add(Marked(7)), 0);
  EXPECT_EQ(a.GetUpperBound(), 0);
  EXPECT_EQ(a.Add(Marked(8)), 1);
  EXPECT_EQ(a.GetSize(), 2);
  EXPECT_TRUE(a[0] == Marked(7));
  EXPECT_TRUE(a.ElementAt(1) == Marked(8));
}

TEST(CShapeArray, GrowthStepIsAnEighthOfTheSizeBetweenFourAnd1024) {
  CShapeArray a;
  Ints capacities;
  for (int i = 0; i < 72; ++i) {
    a.Add(Marked(i));
    if (capacities.empty() || capacities.back() != a.GetCapacity()) capacities.push_back(a.GetCapacity());
  }
  // Steps of 4 up to 41; from there size / 8: 41 + 5, 46 + 5, 51 + 6, 57 + 7, 64 + 8.
  EXPECT_EQ(capacities, (Ints{1, 5, 9, 13, 17, 21, 25, 29, 33, 37, 41, 46, 51, 57, 64, 72}));
  for (int i = 0; i < 72; ++i) ASSERT_EQ(a[i].GetType(), i);

  CShapeArray b;
  b.SetSize(8000);  // a first block is exactly what was asked for
  b.Add(CShape());
  EXPECT_EQ(b.GetCapacity(), 9000);
  b.SetSize(10000);
  b.Add(CShape());
  EXPECT_EQ(b.GetCapacity(), 11024);  // 10000 / 8 capped at 1024
  b.SetSize(200);
  b.SetSize(11025);
  EXPECT_EQ(b.GetCapacity(), 11049);  // the step follows the size, not the block
  b.SetSize(20000);
  EXPECT_EQ(b.GetCapacity(), 20000);  // never short of the request
}

TEST(CShapeArray, GrownCapacityIsTheGrowthRule) {
  EXPECT_EQ(GrownCapacity(0, 0, 1), 1);  // a first block is exactly the request
  EXPECT_EQ(GrownCapacity(0, 0, 8000), 8000);
  EXPECT_EQ(GrownCapacity(3, 9, 9), 9);                                      // room enough: the block stays
  EXPECT_EQ(GrownCapacity(1, 1, 2), 5);                                      // steps of at least 4
  EXPECT_EQ(GrownCapacity(41, 41, 42), 46);                                  // an eighth of the size
  EXPECT_EQ(GrownCapacity(10000, 10000, 10001), 11024);                      // at most 1024
  EXPECT_EQ(GrownCapacity(200, 11024, 11025), 11049);                        // the size sets the step, not the block
  EXPECT_EQ(GrownCapacity(9, 13, 20000), 20000);                             // never short of the request
  EXPECT_EQ(GrownCapacity(INT_MAX - 8, INT_MAX - 8, INT_MAX - 7), INT_MAX);  // no overflow past int
}

TEST(CShapeArray, SetSizeShrinksInPlaceAndZeroFreesTheBlock) {
  CShapeArray a;
  for (int i = 1; i <= 10; ++i) a.Add(Marked(i));
  const int capacity = a.GetCapacity();
  a.SetSize(3);
  EXPECT_EQ(a.GetCapacity(), capacity);
  EXPECT_EQ(Tags(a), (Ints{1, 2, 3}));
  a.SetSize(6);  // regrowing within the block brings default records, not the dropped ones
  EXPECT_EQ(a.GetCapacity(), capacity);
  EXPECT_EQ(Tags(a), (Ints{1, 2, 3, 0, 0, 0}));
  for (int i = 3; i < 6; ++i) EXPECT_TRUE(a[i] == CShape()) << i;
  a.SetSize(-1);
  EXPECT_EQ(a.GetSize(), 6);
  a.SetSize(0);
  EXPECT_EQ(a.GetSize(), 0);
  EXPECT_EQ(a.GetCapacity(), 0);
  EXPECT_EQ(a.Add(Marked(5)), 0);
  EXPECT_EQ(a.GetCapacity(), 1);
}

TEST(CShapeArray, SetAtGrowFillsTheGapWithDefaultRecords) {
  CShapeArray a;
  a.SetAtGrow(3, Marked(4));
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(a[i] == CShape()) << i;
  EXPECT_TRUE(a[3] == Marked(4));
  a.SetAtGrow(1, Marked(2));
  a.SetAtGrow(-1, Marked(9));
  a.SetAtGrow(INT_MAX, Marked(9));  // no array of int size can hold this index
  EXPECT_EQ(Tags(a), (Ints{0, 2, 0, 4}));
}

TEST(CShapeArray, RemoveAtKeepsTheOrderOfWhatFollows) {
  CShapeArray a = OfTags({1, 2, 3});
  a.RemoveAt(0);
  EXPECT_EQ(Tags(a), (Ints{2, 3}));
  EXPECT_TRUE(a[0] == Marked(2));
  a.RemoveAt(a.GetUpperBound());
  EXPECT_EQ(Tags(a), (Ints{2}));
  CShapeArray b = OfTags({1, 2, 3, 4});
  b.RemoveAt(1, 2);
  EXPECT_EQ(Tags(b), (Ints{1, 4}));
  for (auto [index, count] : {std::pair{4, 1}, {-1, 1}, {1, 4}, {0, 0}, {0, -1}, {INT_MAX, 1}, {1, INT_MAX}})
    b.RemoveAt(index, count);  // outside the array: ignored
  EXPECT_EQ(Tags(b), (Ints{1, 4}));
}

TEST(CShapeArray, CopiesAreIndependentAndMovesEmptyTheSource) {
  CShapeArray a = OfTags({1, 2, 3});
  CShapeArray copy(a);
  copy.ElementAt(0) = Marked(9);
  EXPECT_EQ(Tags(a), (Ints{1, 2, 3}));
  EXPECT_FALSE(a == copy);
  CShapeArray assigned = OfTags({5});
  assigned = a;
  EXPECT_TRUE(assigned == a);

  CShapeArray moved(std::move(copy));
  EXPECT_EQ(Tags(moved), (Ints{9, 2, 3}));
  EXPECT_EQ(copy.GetSize(), 0);  // NOLINT(bugprone-use-after-move): a moved-from array is empty
  EXPECT_EQ(copy.GetCapacity(), 0);
  moved = std::move(a);
  EXPECT_EQ(Tags(moved), (Ints{1, 2, 3}));
  EXPECT_EQ(a.GetSize(), 0);  // NOLINT(bugprone-use-after-move)
}

TEST(CShapeArray, ALargeBlockGrownAcrossItsPagesKeepsEveryRecord) {
  // From a block of the ordinary heap into a mapping of its own, then growing that past several
  // huge pages, each step both within a page and across one.
  CShapeArray a;
  a.SetSize(60000);
  for (int i = 0; i < a.GetSize(); ++i) a.ElementAt(i) = Marked(i);
  for (int i = 60000; i < 160000; ++i) a.Add(Marked(i));
  EXPECT_GE(a.GetCapacity(), 160000);
  for (int i = 0; i < a.GetSize(); ++i) ASSERT_TRUE(a[i] == Marked(i)) << i;
  a.SetSize(170000);  // the spares come out as new records
  for (int i = 160000; i < 170000; ++i) ASSERT_TRUE(a[i] == CShape()) << i;
  const CShapeArray copy = a;
  EXPECT_TRUE(copy == a);
}
