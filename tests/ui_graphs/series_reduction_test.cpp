#include "ui/graphs/series_reduction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <utility>
#include <vector>

using namespace qv;

namespace {

using Points = std::vector<std::pair<double, double>>;

const double nan = std::numeric_limits<double>::quiet_NaN();
const double inf = std::numeric_limits<double>::infinity();

Points asPairs(const QList<QPointF>& points) {
  Points pairs;
  for (const QPointF& p : points)
    pairs.emplace_back(p.x(), p.y());
  return pairs;
}

// Samples at times 0, 1, 2, ...
Points reduce(const std::vector<double>& values, const ColumnGrid& grid, double flatSpan = 0) {
  std::vector<double> time(values.size());
  for (size_t k = 0; k < time.size(); ++k)
    time[k] = static_cast<double>(k);
  return asPairs(
      ReduceToColumns(time.data(), values.data(), static_cast<int>(values.size()), grid, flatSpan));
}

TEST(ReduceToColumns, KeepsFirstLowestHighestAndLastOfEachColumnInSampleOrder) {
  const struct Case {
    const char* what;
    std::vector<double> values;  // at times 0, 1, 2, ...
    ColumnGrid grid;
    Points kept;
  } cases[] = {
      {"no samples", {}, {0, 10, 5}, {}},
      {"one sample", {7}, {0, 10, 5}, {{0, 7}}},
      {"two samples a column are all kept",
       {3, 9, 1, 4, 4, 8},
       {0, 6, 3},
       {{0, 3}, {1, 9}, {2, 1}, {3, 4}, {4, 4}, {5, 8}}},
      {"a spike up in the middle of a column",
       {5, 5, 5, 90, 5, 5, 5, 5},
       {0, 8, 1},
       {{0, 5}, {3, 90}, {7, 5}}},
      {"a spike down in the middle of a column",
       {5, 5, 5, 5, -90, 5, 5, 5},
       {0, 8, 1},
       {{0, 5}, {4, -90}, {7, 5}}},
      {"lowest after highest keeps the order of the samples",
       {2, 9, 3, 0, 4, 1, 6, 5, 7, 8},
       {0, 10, 2},
       {{0, 2}, {1, 9}, {3, 0}, {4, 4}, {5, 1}, {9, 8}}},
      {"first lowest and last highest are kept once", {0, 3, 2, 5, 9}, {0, 5, 1}, {{0, 0}, {4, 9}}},
      {"a flat column keeps its ends", {4, 4, 4, 4}, {0, 4, 1}, {{0, 4}, {3, 4}}},
      {"samples before and after the grid go to its edge columns",
       {1, 7, 2, 3, 8, 2, 6, 1},
       {2, 6, 2},
       {{0, 1}, {1, 7}, {3, 3}, {4, 8}, {7, 1}}},
      {"non-finite values are never lowest or highest",
       {3, nan, inf, -inf, 1, 6, 2},
       {0, 7, 1},
       {{0, 3}, {4, 1}, {5, 6}, {6, 2}}},
      {"no columns is one column", {1, 5, 0, 2}, {0, 4, 0}, {{0, 1}, {1, 5}, {2, 0}, {3, 2}}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(reduce(c.values, c.grid), c.kept) << c.what;
}

TEST(ReduceToColumns, AColumnTooFlatToShowItsSpreadKeepsItsEnds) {
  const std::vector<double> values{5.0, 5.3, 4.8, 5.1, 5.0, 9.0, 5.2, 5.1};
  const ColumnGrid twoColumns{0, 8, 2};
  // The second column's spike is far more than the flat span.
  EXPECT_EQ(reduce(values, twoColumns, 0.5),
            (Points{{0, 5.0}, {3, 5.1}, {4, 5.0}, {5, 9.0}, {7, 5.1}}));
  EXPECT_EQ(reduce(values, twoColumns, 0.4),
            (Points{{0, 5.0}, {1, 5.3}, {2, 4.8}, {3, 5.1}, {4, 5.0}, {5, 9.0}, {7, 5.1}}));
}

TEST(ReduceToColumns, FewerThanTwoSamplesAColumnComeBackUnchanged) {
  std::vector<double> time;
  std::vector<double> values;
  for (int k = 0; k < 400; ++k) {
    time.push_back(k * 0.37);
    values.push_back(std::sin(k * 1.7) * 100);  // no two alike
  }
  const ColumnGrid grid{0, 400 * 0.37, 300};
  const QList<QPointF> points = ReduceToColumns(time.data(), values.data(), 400, grid);
  ASSERT_EQ(points.size(), 400);
  for (int k = 0; k < 400; ++k)
    EXPECT_EQ(points[k], QPointF(time[k], values[k])) << k;
}

// Random walks with jumps and repeated times, against their columns sorted
// out one sample at a time: every point is a sample, in order and once, and
// each column keeps its first, last, lowest and highest value.
TEST(ReduceToColumns, EachColumnKeepsItsSpanAndEndsOnRandomSeries) {
  std::mt19937 random(20240611);
  std::uniform_real_distribution<double> step(-1, 1);
  std::bernoulli_distribution sameTime(0.2);
  for (int round = 0; round < 20; ++round) {
    const int count = 3000;
    const ColumnGrid grid{0, count * 0.1, 37 + round * 11};
    std::vector<double> time(count);
    std::vector<double> values(count);
    for (int k = 0; k < count; ++k) {
      time[k] = k == 0 ? 0 : time[k - 1] + (sameTime(random) ? 0 : 0.1);
      values[k] = (k == 0 ? 0 : values[k - 1]) + step(random) * (k % 500 == 0 ? 50 : 1);
    }
    const QList<QPointF> points = ReduceToColumns(time.data(), values.data(), count, grid);

    std::vector<int> kept;  // the sample index of each point
    for (const QPointF& p : points) {
      const int from = kept.empty() ? 0 : kept.back() + 1;
      int k = from;
      while (k < count && QPointF(time[k], values[k]) != p)
        ++k;
      ASSERT_LT(k, count) << "not a later sample: " << p.x() << ", " << p.y();
      kept.push_back(k);
    }
    // Column c ends where column c + 1 begins; the last one takes the rest.
    const double width = (grid.timeEnd - grid.timeStart) / grid.columns;
    std::vector<std::vector<int>> all(grid.columns);
    std::vector<std::vector<int>> reduced(grid.columns);
    int c = 0;
    for (int k = 0; k < count; ++k) {
      while (c + 1 < grid.columns && time[k] >= grid.timeStart + (c + 1) * width)
        ++c;
      all[c].push_back(k);
      if (std::find(kept.begin(), kept.end(), k) != kept.end())
        reduced[c].push_back(k);
    }
    for (int column = 0; column < grid.columns; ++column) {
      const std::vector<int>& in = all[column];
      const std::vector<int>& out = reduced[column];
      if (in.empty()) {
        EXPECT_TRUE(out.empty()) << column;
        continue;
      }
      ASSERT_FALSE(out.empty()) << column;
      EXPECT_EQ(out.front(), in.front()) << column;
      EXPECT_EQ(out.back(), in.back()) << column;
      EXPECT_LE(out.size(), 4u) << column;
      const auto byValue = [&](int a, int b) { return values[a] < values[b]; };
      EXPECT_EQ(values[*std::min_element(out.begin(), out.end(), byValue)],
                values[*std::min_element(in.begin(), in.end(), byValue)])
          << column;
      EXPECT_EQ(values[*std::max_element(out.begin(), out.end(), byValue)],
                values[*std::max_element(in.begin(), in.end(), byValue)])
          << column;
    }
  }
}

TEST(PixelColumns, ColumnsStartOnWholePixels) {
  const struct {
    double left, width;
    ColumnGrid grid;
  } cases[] = {
      {10, 100, {0, 100, 100}},
      // Starting half a pixel in: the first pixel column starts half a
      // pixel's time earlier, and one more column covers the last half.
      {10.5, 100, {-0.5, 100.5, 101}},
      {10.25, 100, {-0.25, 100.75, 101}},
      {0, 50, {0, 100, 50}},  // two time units a pixel
      {0, 0, {0, 100, 1}},
      {3, -5, {0, 100, 1}},
  };
  for (const auto& c : cases) {
    const ColumnGrid grid = PixelColumns({0, 100}, c.left, c.width);
    EXPECT_EQ(grid.columns, c.grid.columns) << c.left << " " << c.width;
    EXPECT_DOUBLE_EQ(grid.timeStart, c.grid.timeStart) << c.left << " " << c.width;
    EXPECT_DOUBLE_EQ(grid.timeEnd, c.grid.timeEnd) << c.left << " " << c.width;
  }
}

TEST(ClosestSampleIndex, NearestInTimeThenInValue) {
  // Times 0, 1, 2, 2, 2, 3, 5 with values telling them apart.
  const double time[] = {0, 1, 2, 2, 2, 3, 5};
  const double values[] = {10, 20, 30, 35, 31, 40, 50};
  const struct {
    QPointF point;
    int index;
  } cases[] = {
      {{0, 10}, 0},   {{1, 20}, 1},    {{3, 40}, 5},    {{5, 50}, 6},
      {{2, 30}, 2},   {{2, 35}, 3},    {{2, 31}, 4},    {{2, 34}, 3},   // one time, three values
      {{1.4, 0}, 1},  {{1.6, 99}, 3},  {{3.9, 0}, 5},   {{4.1, 0}, 6},  // between samples
      {{4, 40.5}, 5}, {{4, 49.5}, 6},                                   // halfway: the value
      {{2.5, 36}, 3}, {{2.5, 39}, 5},                                   // halfway into a run
      {{-7, 50}, 0},  {{80, 10}, 6},                                    // outside the samples
      {{1, nan}, 1},  {{nan, 20}, -1}, {{inf, 50}, -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ClosestSampleIndex(time, values, 7, c.point), c.index)
        << c.point.x() << ", " << c.point.y();
  EXPECT_EQ(ClosestSampleIndex(time, values, 0, {0, 10}), -1);
  EXPECT_EQ(ClosestSampleIndex(time, values, 3, {5, 50}), 2);  // only the first three count
}

TEST(ClosestSampleIndex, EqualSamplesGiveTheFirst) {
  const double time[] = {1, 1, 1, 2};
  const double values[] = {4, 4, 4, 4};
  EXPECT_EQ(ClosestSampleIndex(time, values, 4, {1, 4}), 0);
  EXPECT_EQ(ClosestSampleIndex(time, values, 4, {1.5, 4}), 0);
}

}  // namespace
