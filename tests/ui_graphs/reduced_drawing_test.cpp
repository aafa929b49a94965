// The reduced lines against the full ones, pixel by pixel: the chart of the
// current is drawn as the window draws it, then once more from all samples
// with the same axes, and the two pictures must show the same line.
#include <gtest/gtest.h>
#include <QApplication>
#include <QImage>
#include <QLineSeries>
#include <QValueAxis>
#include <QtTest/QTest>
#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

#include "acquisition/shared_state.h"
#include "common/settings_record.h"
#include "tests/support/window_management.h"
#include "ui/graphs/graph_chart_view.h"
#include "ui/graphs/unitgra.h"
#include "ui/main/child_window.h"

using namespace qv;

namespace {

constexpr double kMinutesPerSample = 0.25;
const QRgb kCurrentColour = qRgb(255, 0, 0);

// The topmost and bottommost pixel of the line's colour in one column of
// pixels; top > bottom when the column has none.
struct ColumnSpan {
  int top = 1;
  int bottom = 0;
  bool empty() const { return top > bottom; }
};

std::vector<ColumnSpan> lineSpans(const QImage& image) {
  std::vector<ColumnSpan> spans(image.width());
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if ((row[x] & RGB_MASK) != (kCurrentColour & RGB_MASK))
        continue;
      ColumnSpan& span = spans[x];
      if (span.empty())
        span = {y, y};
      else
        span.bottom = y;
    }
  }
  return spans;
}

struct Pattern {
  const char* name;
  std::function<double(int)> value;  // of sample k
};

double slowWave(int k) {
  return 10 * std::sin(k * 0.0003);
}

const std::vector<double>& noise() {
  static const std::vector<double> values = [] {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> spread(-3, 3);
    std::vector<double> v(kSeriesCapacity);
    for (double& x : v)
      x = spread(random);
    return v;
  }();
  return values;
}

const Pattern kPatterns[] = {
    {"single-sample spikes up and down",
     [](int k) {
       if (k % 2777 == 1388)
         return (k / 2777) % 2 ? 40.0 : -40.0;
       return slowWave(k);
     }},
    {"sawtooth falling in one sample", [](int k) { return (k % 1234) * 0.01; }},
    {"sawtooth finer than a column", [](int k) { return (k % 7) * 1.0 + slowWave(k); }},
    {"noise", [](int k) { return slowWave(k) + noise()[k]; }},
    {"noise with spikes",
     [](int k) { return slowWave(k) + noise()[k] + (k % 4999 == 2500 ? 25 : 0); }},
};

class ReducedDrawing : public ::testing::Test {
 protected:
  ReducedDrawing() {
    InitSharedState();
    ResetWindowManagement();
    Settings.GraPos = QStringLiteral("0,0,720,420");
  }
  ~ReducedDrawing() override {
    delete window_;
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  static void fill(const Pattern& pattern) {
    ChannelRecord& c = ChannelData[0];
    for (int k = 0; k < kSeriesCapacity; ++k) {
      c.Time[k] = k * kMinutesPerSample;
      c.Current[k] = pattern.value(k);
    }
    c.Count = kSeriesCapacity;
  }

  // The window's chart of the current, laid out and drawn; zoomed or in the
  // grid.
  GraphChartView& currentChart(bool zoomed) {
    delete window_;
    window_ = new TFormGra(0);
    window_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window_));
    if (zoomed)
      window_->Chart1Click(0);
    QApplication::processEvents();
    return *window_->chart(0);
  }

  TFormGra* window_ = nullptr;
};

// Qt fills a 3-pixel pen segment by segment, without antialiasing in these
// charts, and a segment end within about 1/64 pixel of a pixel edge goes to
// the column on either side depending on the segment's slope. The samples a
// column keeps start and end right at its edges, but their segments run to
// other samples than in the full line, so there the pen may cover one column
// more or less, and the column beside it shows the line's end a few pixels
// off. Such a column must show an end that the other picture has within a
// pixel in that column or its neighbours; every other column must agree
// within a pixel.
struct EndCheck {
  int movedColumn = 0;  // columns that took a neighbour's end
  std::vector<int> wrong;
};

EndCheck compareEnds(const std::vector<ColumnSpan>& mine, const std::vector<ColumnSpan>& theirs,
                     int ColumnSpan::*end) {
  EndCheck check;
  const int width = static_cast<int>(mine.size());
  for (int x = 0; x < width; ++x) {
    if (mine[x].empty() || theirs[x].empty())
      continue;
    const int y = mine[x].*end;
    if (std::abs(y - theirs[x].*end) <= 1)
      continue;
    int low = theirs[x].*end;
    int high = low;
    for (const int n : {x - 1, x + 1}) {
      if (n >= 0 && n < width && !theirs[n].empty()) {
        low = std::min(low, theirs[n].*end);
        high = std::max(high, theirs[n].*end);
      }
    }
    if (y >= low - 1 && y <= high + 1)
      ++check.movedColumn;
    else
      check.wrong.push_back(x);
  }
  return check;
}

TEST_F(ReducedDrawing, ShowsTheSameLineAsAllSamples) {
  for (const Pattern& pattern : kPatterns) {
    fill(pattern);
    for (const bool zoomed : {false, true}) {
      SCOPED_TRACE(std::string(pattern.name) + (zoomed ? ", zoomed" : ", in the grid"));
      GraphChartView& view = currentChart(zoomed);
      QLineSeries* line = window_->series(0);
      ASSERT_LT(line->count(), kSeriesCapacity / 10) << "not reduced";
      // The line's pixels are told by their exact colour.
      ASSERT_FALSE(view.renderHints() & QPainter::Antialiasing);
      const QImage reduced = view.grab().toImage().convertToFormat(QImage::Format_RGB32);

      auto* time = qobject_cast<QValueAxis*>(view.chart()->axes(Qt::Horizontal).value(0));
      auto* value = qobject_cast<QValueAxis*>(view.chart()->axes(Qt::Vertical).value(0));
      const QRectF plotArea = view.chart()->plotArea();
      const QPointF timeSpan(time->min(), time->max());
      const QPointF valueSpan(value->min(), value->max());
      QList<QPointF> all;
      for (int k = 0; k < kSeriesCapacity; ++k)
        all.append(QPointF(ChannelData[0].Time[k], ChannelData[0].Current[k]));
      line->replace(all);
      QApplication::processEvents();
      // Nothing else moved: same axes, same plot area.
      ASSERT_EQ(QPointF(time->min(), time->max()), timeSpan);
      ASSERT_EQ(QPointF(value->min(), value->max()), valueSpan);
      ASSERT_EQ(view.chart()->plotArea(), plotArea);
      const QImage full = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
      ASSERT_EQ(full.size(), reduced.size());

      const std::vector<ColumnSpan> fullSpans = lineSpans(full);
      const std::vector<ColumnSpan> reducedSpans = lineSpans(reduced);
      int columns = 0;
      for (int x = 0; x < full.width(); ++x) {
        ASSERT_EQ(fullSpans[x].empty(), reducedSpans[x].empty()) << "column " << x;
        columns += !fullSpans[x].empty();
      }
      ASSERT_GT(columns, plotArea.width() * 0.9);
      for (const auto end : {&ColumnSpan::top, &ColumnSpan::bottom}) {
        const char* which = end == &ColumnSpan::top ? "top" : "bottom";
        for (const bool fromReduced : {true, false}) {
          const EndCheck check = fromReduced ? compareEnds(reducedSpans, fullSpans, end)
                                             : compareEnds(fullSpans, reducedSpans, end);
          for (const int x : check.wrong) {
            ADD_FAILURE() << which << " of column " << x << ": full line " << fullSpans[x].*end
                          << ", reduced " << reducedSpans[x].*end;
          }
          EXPECT_LE(check.movedColumn, columns / 20) << which;
        }
      }

      qsizetype linePixels = 0;
      qsizetype differing = 0;
      for (int y = 0; y < full.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(full.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(reduced.constScanLine(y));
        for (int x = 0; x < full.width(); ++x) {
          linePixels += a[x] == kCurrentColour;
          differing += a[x] != b[x];
        }
      }
      EXPECT_LE(differing, linePixels / 50) << linePixels << " pixels of the full line";
    }
  }
}

}  // namespace
