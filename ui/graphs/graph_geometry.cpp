#include "ui/graphs/graph_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace qv;

namespace {

constexpr int kGridSize = 3;

double distanceToSegment(QPointF p, QPointF a, QPointF b) {
  const QPointF ab = b - a;
  const double length2 = QPointF::dotProduct(ab, ab);
  double t = length2 > 0 ? QPointF::dotProduct(p - a, ab) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  const QPointF d = p - (a + t * ab);
  return std::hypot(d.x(), d.y());
}

// The span of value(0) .. value(count - 1) by the rules of SeriesRange.
template <typename Value>
ValueRange rangeOf(int count, Value value) {
  bool any = false;
  ValueRange range;
  for (int k = 0; k < count; ++k) {
    const double v = value(k);
    if (!std::isfinite(v))
      continue;
    if (!any) {
      range = {v, v};
      any = true;
    }
    range.min = std::min(range.min, v);
    range.max = std::max(range.max, v);
  }
  if (!any)
    return {};
  if (range.min == range.max)
    return {range.min - 1, range.max + 1};
  return range;
}

}  // namespace

std::array<ChartPlacement, kChartCount> ChartCells(QSize client, int zoomedChart) {
  const int w = client.width() / kGridSize;
  const int h = client.height() / kGridSize;
  std::array<ChartPlacement, kChartCount> placements;
  const bool zoomed = zoomedChart >= 0 && zoomedChart < kChartCount;
  for (int k = 0; k < kChartCount; ++k) {
    ChartPlacement& p = placements[k];
    if (zoomed) {
      p.visible = k == zoomedChart;
      if (p.visible)
        p.geometry = QRect(QPoint(0, 0), client);
    } else {
      p.geometry = QRect(k / kGridSize * w, k % kGridSize * h, w, h);
      p.visible = !p.geometry.isEmpty();
    }
  }
  return placements;
}

int RecordedCount(const ChannelRecord& channel) {
  return std::clamp(channel.Count, 0, kSeriesCapacity);
}

ValueRange SeriesRange(const double* values, int count) {
  return rangeOf(count, [values](int k) { return values[k]; });
}

ValueRange AscendingRange(const double* values, int count) {
  if (count <= 0)
    return {};
  const double first = values[0];
  const double last = values[count - 1];
  if (!std::isfinite(first) || !std::isfinite(last) || first > last)
    return SeriesRange(values, count);
  return rangeOf(2, [first, last](int k) { return k == 0 ? first : last; });
}

ValueRange Union(const ValueRange& a, const ValueRange& b) {
  return {std::min(a.min, b.min), std::max(a.max, b.max)};
}

double NiceTickInterval(double span, double resolution, int ticks) {
  if (!std::isfinite(span) || span <= 0)
    return 0;
  const double raw = span / std::max(ticks, 1);
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  const double residual = raw / magnitude;
  const double factor = residual <= 1 ? 1 : residual <= 2 ? 2 : residual <= 5 ? 5 : 10;
  const double step = std::max(factor * magnitude, resolution);
  return std::isfinite(step) && step > 0 ? step : 0;
}

namespace {

int patternDecimals(const char* pattern) {
  const QString text = QString::fromLatin1(pattern);
  const qsizetype point = text.indexOf(u'.');
  return static_cast<int>(point < 0 ? 0 : text.size() - point - 1);
}

}  // namespace

double LabelResolution(const char* pattern) {
  return std::pow(10.0, -patternDecimals(pattern));
}

QString AxisLabelFormat(const char* pattern) {
  return QStringLiteral("%.%1f").arg(patternDecimals(pattern));
}

PointHit NearestPoint(const QList<QPointF>& points, QPointF target, QSizeF pixelsPerUnit,
                      double tolerance) {
  const auto toPixels = [&](QPointF v) {
    return QPointF(v.x() * pixelsPerUnit.width(), v.y() * pixelsPerUnit.height());
  };
  const QPointF t = toPixels(target);
  PointHit best{-1, std::numeric_limits<double>::infinity()};
  for (qsizetype i = 0; i < points.size(); ++i) {
    const QPointF a = toPixels(points[i]);
    const QPointF b = i + 1 < points.size() ? toPixels(points[i + 1]) : a;
    const double d = distanceToSegment(t, a, b);
    if (!(d < best.distance))
      continue;  // also skips NaN
    const bool nearerA =
        std::hypot(t.x() - a.x(), t.y() - a.y()) <= std::hypot(t.x() - b.x(), t.y() - b.y());
    best = {static_cast<int>(nearerA ? i : i + 1), d};
  }
  if (best.distance > tolerance)
    return {};
  return best;
}
