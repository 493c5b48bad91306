// The nearest record of a series by binary search.

#include <gtest/gtest.h>

#include "analysis/NearestRecord.h"

namespace varst {
namespace {

TEST(NearestRecord, FindsByBinarySearch) {
  SeriesPoints inOrder;
  inOrder.x = {0, 10, 10, 20, 40};
  inOrder.y = {1, 2, 3, 4, 5};
  SeriesPoints twoTests;
  twoTests.x = {0, 50, 100, 0, 50, 100};
  twoTests.y = {1, 2, 3, 4, 5, 6};
  struct Case {
    const SeriesPoints* points;
    double x;
    std::size_t expected;
  };
  for (const Case& c : std::vector<Case>{{&inOrder, -5, 0},
                                         {&inOrder, 9, 1},
                                         {&inOrder, 10, 1},
                                         {&inOrder, 15, 1},  // a tie takes the smaller X
                                         {&inOrder, 31, 4},
                                         {&inOrder, 99, 4},
                                         {&twoTests, 60, 1},
                                         {&twoTests, 100, 2}}) {
    EXPECT_EQ(NearestRecord(*c.points).Find(c.x), c.expected) << c.x;
  }
  EXPECT_FALSE(NearestRecord(SeriesPoints{}).Find(1));
}

}  // namespace
}  // namespace varst
