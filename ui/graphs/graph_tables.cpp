#include "ui/graphs/graph_tables.h"

using namespace qv;

const std::array<GraphChartInfo, kChartCount> kGraphCharts = {{
    {"Chart1", "Ток (А)", "#0.00"},
    {"Chart2", "V (В)", "#0.00"},
    {"Chart3", "Темп-ра (оС)", "0.00"},
    {"Chart4", "Емкость (Ач)", "#0.00"},
    {"Chart5", "Мощность (Вт)", "#0.00"},
    {"Chart6", "R (Ом)", "#0.00"},
    {"Chart7", "dI/dt (А/сек)", "#0.00"},
    {"Chart8", "dV/dt (В/сек)", "#0.00"},
    {"Chart9", "dT/dt (град/сек)", "#0.00"},
}};

const std::array<GraphQuantityInfo, kQuantityCount> kGraphQuantities = {{
    {&ChannelRecord::Current, 0, "Series1", nullptr, qRgb(255, 0, 0), false, "I(А)  ="},
    {&ChannelRecord::Voltage, 1, "FastLineSeries1", nullptr, qRgb(0, 0, 255), false, "V(В)  ="},
    {&ChannelRecord::Temp, 2, "FastLineSeries2", "Темп-ра (oС)", qRgb(0, 128, 0), false, "T(оС) ="},
    {&ChannelRecord::HeatsinkTemp, 2, "Series3", "Радиатор (oС)", qRgb(255, 255, 0), true,
     "Tc(оС)="},
    {&ChannelRecord::Capacity, 3, "FastLineSeries3", nullptr, qRgb(255, 0, 255), false, "E(Ач) ="},
    {&ChannelRecord::Power, 4, "FastLineSeries5", nullptr, qRgb(255, 128, 0), false, "P(Вт) ="},
    {&ChannelRecord::Resistance, 5, "FastLineSeries6", nullptr, qRgb(128, 0, 255), false,
     "R(Ом) ="},
    {&ChannelRecord::dIdt, 6, "FastLineSeries7", nullptr, qRgb(255, 128, 128), false, "dI/dt ="},
    {&ChannelRecord::dVdt, 7, "FastLineSeries8", nullptr, qRgb(128, 255, 255), false, "dV/dt ="},
    {&ChannelRecord::dTdt, 8, "FastLineSeries9", nullptr, qRgb(0, 255, 0), false, "dT/dt ="},
}};

QString SeriesTitle(const GraphQuantityInfo& quantity) {
  return QString::fromUtf8(quantity.seriesTitle ? quantity.seriesTitle
                                                : kGraphCharts[quantity.chart].axisTitle);
}

int QuantityField(const GraphQuantityInfo& quantity) {
  for (int field = 0; field < kLogFields; ++field) {
    if (kLogSeries[field] == quantity.values)
      return field;
  }
  return 0;
}

// Far apart on the screen and on paper, and none of them pale.
const std::array<QRgb, 8> kRunColours = {
    qRgb(0, 0, 255),   qRgb(220, 0, 0),   qRgb(0, 140, 0),   qRgb(255, 128, 0),
    qRgb(128, 0, 200), qRgb(0, 160, 160), qRgb(140, 80, 20), qRgb(0, 0, 0),
};

const std::array<GraphWindowInfo, 2> kGraphWindows = {{
    {ChildKind::Gra, "Графики 1 канала", QSize(557, 311)},
    {ChildKind::Gra2, "Графики 2 канала", QSize(571, 317)},
}};
