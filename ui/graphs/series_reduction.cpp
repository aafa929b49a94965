#include "ui/graphs/series_reduction.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

using namespace qv;

namespace {

// Where each column ends in time: column c holds the samples from the end
// of column c - 1 up to its own end. The first column also holds what lies
// before the grid, the last what lies after it.
class ColumnEnds {
 public:
  explicit ColumnEnds(const ColumnGrid& grid)
      : start_(grid.timeStart),
        columns_(std::max(1, grid.columns)),
        width_((grid.timeEnd - grid.timeStart) / columns_) {}

  // The column of time t.
  int columnOf(double t) const {
    const double estimate = std::floor((t - start_) / width_);
    int c = estimate >= 0 ? static_cast<int>(std::min<double>(estimate, columns_ - 1)) : 0;
    // The division may round across an end; the ends decide.
    while (c + 1 < columns_ && t >= end(c))
      ++c;
    while (c > 0 && t < end(c - 1))
      --c;
    return c;
  }

  double end(int c) const {
    return c + 1 < columns_ ? start_ + (c + 1) * width_ : std::numeric_limits<double>::infinity();
  }

 private:
  double start_;
  int columns_;
  double width_;
};

// The first sample from `from` on that is not before end, in times that do
// not decrease: a column holds few of the samples, so the search gallops
// from `from` before it halves.
int firstNotBefore(const double* time, int from, int count, double end) {
  int low = from;
  int high = from + 1;
  for (int step = 1; high < count && time[high] < end; step *= 2) {
    low = high;
    high = from + 2 * step;
  }
  high = std::min(high, count);
  return static_cast<int>(std::lower_bound(time + low, time + high, end) - time);
}

// Appends samples first .. last of one column: the first, the lowest, the
// highest and the last, in sample order and each once.
void appendColumn(const double* time, const double* values, int first, int last, double flatSpan,
                  QList<QPointF>& out) {
  const double inf = std::numeric_limits<double>::infinity();
  double low = inf;
  double high = -inf;
  int lowest = -1;
  int highest = -1;
  for (int k = first; k <= last; ++k) {
    const double v = values[k];
    if (v < low && v > -inf) {
      low = v;
      lowest = k;
    }
    if (v > high && v < inf) {
      high = v;
      highest = k;
    }
  }
  if (high - low <= flatSpan)
    lowest = highest = -1;
  std::array<int, 4> kept = {first, lowest, highest, last};
  std::sort(kept.begin(), kept.end());
  int previous = -1;
  for (const int k : kept) {
    if (k < 0 || k == previous)
      continue;
    out.append(QPointF(time[k], values[k]));
    previous = k;
  }
}

}  // namespace

ColumnGrid PixelColumns(const ValueRange& time, double left, double width) {
  if (!(width > 0) || !std::isfinite(left))
    return {time.min, time.max, 1};
  const double firstPixel = std::floor(left);
  const int columns = std::max(1, static_cast<int>(std::ceil(left + width) - firstPixel));
  const double perPixel = (time.max - time.min) / width;
  const double start = time.min - (left - firstPixel) * perPixel;
  return {start, start + columns * perPixel, columns};
}

QList<QPointF> ReduceToColumns(const double* time, const double* values, int count,
                               const ColumnGrid& grid, double flatSpan) {
  QList<QPointF> out;
  if (count <= 0)
    return out;
  out.reserve(std::min(count, 4 * std::max(1, grid.columns)));
  const ColumnEnds ends(grid);
  // Time does not decrease, so a column's samples are found by a search for
  // its end; only the values are read one by one.
  for (int first = 0; first < count;) {
    const double end = ends.end(ends.columnOf(time[first]));
    const int next = firstNotBefore(time, first, count, end);
    const int last = std::max(next, first + 1) - 1;  // a NaN time ends its column at once
    appendColumn(time, values, first, last, flatSpan, out);
    first = last + 1;
  }
  return out;
}

int ClosestSampleIndex(const double* time, const double* values, int count, QPointF point) {
  const double t = point.x();
  if (count <= 0 || !std::isfinite(t))
    return -1;
  const int after = static_cast<int>(std::lower_bound(time, time + count, t) - time);
  const double inf = std::numeric_limits<double>::infinity();
  const double gapAfter = after < count ? time[after] - t : inf;
  const double gapBefore = after > 0 ? t - time[after - 1] : inf;
  const double nearest = std::min(gapAfter, gapBefore);
  // Samples of one time are all equally near; the value decides among them.
  int best = -1;
  double bestMiss = inf;
  const auto consider = [&](int k) {
    const double miss = std::abs(values[k] - point.y());
    if (best < 0 || miss < bestMiss || (miss == bestMiss && k < best)) {
      best = k;
      bestMiss = std::isnan(miss) ? inf : miss;
    }
  };
  if (gapBefore == nearest) {
    for (int k = after - 1; k >= 0 && time[k] == time[after - 1]; --k)
      consider(k);
  }
  if (gapAfter == nearest) {
    for (int k = after; k < count && time[k] == time[after]; ++k)
      consider(k);
  }
  return best;
}
