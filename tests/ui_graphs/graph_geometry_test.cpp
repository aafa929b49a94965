#include "ui/graphs/graph_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/support/printers.h"

using namespace qv;

namespace {

TEST(ChartCells, GridOf557By311LeavesTheRemaindersUncovered) {
  const auto cells = ChartCells(QSize(557, 311), kNoZoomedChart);
  QRect covered;
  for (int k = 0; k < kChartCount; ++k) {
    EXPECT_TRUE(cells[k].visible);
    EXPECT_EQ(cells[k].geometry.size(), QSize(185, 103)) << k;
    // Column by column: charts 1..3 fill the first column.
    EXPECT_EQ(cells[k].geometry.topLeft(), QPoint(k / 3 * 185, k % 3 * 103)) << k;
    covered |= cells[k].geometry;
  }
  EXPECT_EQ(cells[8].geometry.topLeft(), QPoint(370, 206));
  EXPECT_EQ(covered, QRect(0, 0, 555, 309));  // columns 555, 556 and rows 309, 310 stay bare
}

TEST(ChartCells, ZoomedChartAloneFillsTheClientAtAnySize) {
  for (const QSize client : {QSize(557, 311), QSize(2, 1), QSize(800, 600)}) {
    const auto cells = ChartCells(client, 5);
    for (int k = 0; k < kChartCount; ++k)
      EXPECT_EQ(cells[k].visible, k == 5) << k;
    EXPECT_EQ(cells[5].geometry, QRect(QPoint(0, 0), client));
  }
}

TEST(ChartCells, WidthBelowThreeGivesEmptyCells) {
  const auto cells = ChartCells(QSize(2, 311), kNoZoomedChart);
  for (const ChartPlacement& cell : cells) {
    EXPECT_EQ(cell.geometry.width(), 0);
    EXPECT_EQ(cell.geometry.left(), 0);
    EXPECT_FALSE(cell.visible);
  }
}

TEST(ChartCells, ZoomOutsideTheNineMeansTheGrid) {
  for (const int zoomed : {kNoZoomedChart, 9, 100}) {
    const auto cells = ChartCells(QSize(300, 300), zoomed);
    for (const ChartPlacement& cell : cells)
      EXPECT_TRUE(cell.visible) << zoomed;
    EXPECT_EQ(cells[8].geometry, QRect(200, 200, 100, 100));
  }
}

TEST(SeriesRange, SpansFiniteValuesAndNeverCollapses) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    std::vector<double> values;
    double min, max;
  } cases[] = {
      {{}, 0, 1},
      {{3.5}, 2.5, 4.5},
      {{2, 2, 2}, 1, 3},
      {{-1, 4, 0.5}, -1, 4},
      {{nan, 7, inf, -inf, 9}, 7, 9},
      {{nan}, 0, 1},
  };
  for (const Case& c : cases) {
    const ValueRange r = SeriesRange(c.values.data(), static_cast<int>(c.values.size()));
    EXPECT_EQ(r.min, c.min);
    EXPECT_EQ(r.max, c.max);
  }
  // Only the first count values count.
  const double values[] = {1, 2, 100};
  EXPECT_EQ(SeriesRange(values, 2).max, 2);
}

TEST(AscendingRange, FromTheEndsUnlessTheyCannotTell) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    std::vector<double> values;
    double min, max;
  } cases[] = {
      {{}, 0, 1},          {{3.5}, 2.5, 4.5}, {{2, 2}, 1, 3}, {{0, 0.25, 0.5, 9}, 0, 9},
      {{1, 100, 5}, 1, 5},  // only the ends are read
      {{nan, 2, 4}, 2, 4},  // a non-finite end: the whole scan
      {{5, 7, 1}, 1, 7},    // out of order: the whole scan
  };
  for (const Case& c : cases) {
    const ValueRange r = AscendingRange(c.values.data(), static_cast<int>(c.values.size()));
    EXPECT_EQ(r.min, c.min) << c.values.size();
    EXPECT_EQ(r.max, c.max) << c.values.size();
  }
}

TEST(RecordedCount, StaysWithinTheSeries) {
  static ChannelRecord channel;  // far too big for the stack
  for (const auto& [count, shown] : {std::pair{0, 0},
                                     {-5, 0},
                                     {250, 250},
                                     {kSeriesCapacity, kSeriesCapacity},
                                     {kSeriesCapacity + 7, kSeriesCapacity}}) {
    channel.Count = count;
    EXPECT_EQ(RecordedCount(channel), shown) << count;
  }
}

TEST(NiceTickInterval, RoundStepsOfAboutAQuarter) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double span, step;
  } cases[] = {
      {1599.5, 500}, {4, 1}, {0.25, 0.1}, {7, 2},   {0.3, 0.1},
      {30, 10},      {0, 0}, {-3, 0},     {inf, 0}, {4e-9, 1e-9},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(NiceTickInterval(c.span), c.step) << c.span;
}

TEST(NiceTickInterval, NeverFinerThanTheLabelsCanTellApart) {
  // A run of a few seconds: whole minutes, or the labels read "0 0 1 1".
  EXPECT_DOUBLE_EQ(NiceTickInterval(0.2, LabelResolution("0")), 1);
  EXPECT_DOUBLE_EQ(NiceTickInterval(40, LabelResolution("0")), 10);
  EXPECT_DOUBLE_EQ(NiceTickInterval(0.01, LabelResolution("#0.00")), 0.01);
  EXPECT_DOUBLE_EQ(LabelResolution("0.0"), 0.1);
}

TEST(AxisLabelFormat, DecimalsOfThePattern) {
  EXPECT_EQ(AxisLabelFormat("0"), "%.0f");
  EXPECT_EQ(AxisLabelFormat("0.00"), "%.2f");
  EXPECT_EQ(AxisLabelFormat("#0.00"), "%.2f");
}

class NearestPointTest : public ::testing::Test {
 protected:
  // One unit is 10 pixels across and 100 pixels up.
  PointHit hit(QPointF target) { return NearestPoint(points, target, QSizeF(10, 100), 4); }
  QList<QPointF> points{{0, 0}, {1, 0}, {2, 1}, {10, 1}};
};

TEST_F(NearestPointTest, PicksThePointOrTheNearerEndOfTheSegmentHit) {
  EXPECT_EQ(hit({1, 0}).index, 1);
  EXPECT_EQ(hit({0.2, 0.01}).index, 0);
  EXPECT_EQ(hit({0.8, -0.02}).index, 1);
  EXPECT_EQ(hit({7, 1.03}).index, 3);  // on the long last segment, nearer its end
  EXPECT_EQ(hit({4, 0.98}).index, 2);
}

TEST_F(NearestPointTest, FartherThanTheToleranceInPixelsIsNoHit) {
  EXPECT_EQ(hit({0.5, 0.05}).index, -1);  // 5 pixels above the first segment
  EXPECT_EQ(hit({0.5, 0.035}).index, 0);  // 3.5 pixels
  EXPECT_EQ(hit({-0.5, 0}).index, -1);    // 5 pixels before the first point
  EXPECT_EQ(hit({20, 1}).index, -1);
}

TEST(NearestPoint, SinglePointsAndEmptySeries) {
  EXPECT_EQ(NearestPoint({}, {0, 0}, QSizeF(1, 1), 4).index, -1);
  EXPECT_EQ(NearestPoint({{5, 5}}, {6, 6}, QSizeF(1, 1), 4).index, 0);
  EXPECT_EQ(NearestPoint({{5, 5}}, {9, 9}, QSizeF(1, 1), 4).index, -1);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(NearestPoint({{0, nan}, {1, nan}, {2, 0}}, {2, 0}, QSizeF(1, 1), 4).index, 2);
}

}  // namespace
