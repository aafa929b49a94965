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
    {&ChannelRecord::Current, 0, "Series1", nullptr, kRed, false, "I(А)  ="},
    {&ChannelRecord::Voltage, 1, "FastLineSeries1", nullptr, kBlue, false, "V(В)  ="},
    {&ChannelRecord::Temp, 2, "FastLineSeries2", "Темп-ра (oС)", kGreen, false, "T(оС) ="},
    {&ChannelRecord::HeatsinkTemp, 2, "Series3", "Радиатор (oС)", kYellow, true, "Tc(оС)="},
    {&ChannelRecord::Capacity, 3, "FastLineSeries3", nullptr, kMagenta, false, "E(Ач) ="},
    {&ChannelRecord::Power, 4, "FastLineSeries5", nullptr, kOrange, false, "P(Вт) ="},
    {&ChannelRecord::Resistance, 5, "FastLineSeries6", nullptr, kViolet, false, "R(Ом) ="},
    {&ChannelRecord::dIdt, 6, "FastLineSeries7", nullptr, kPink, false, "dI/dt ="},
    {&ChannelRecord::dVdt, 7, "FastLineSeries8", nullptr, kPaleCyan, false, "dV/dt ="},
    {&ChannelRecord::dTdt, 8, "FastLineSeries9", nullptr, kLime, false, "dT/dt ="},
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

const std::array<Rgb, 8> kRunColours = {
    kBlue, kRunRed, kRunGreen, kOrange, kRunViolet, kTeal, kBrown, kBlack,
};

const std::array<GraphWindowInfo, 2> kGraphWindows = {{
    {ChildKind::Gra, "Графики 1 канала", QSize(557, 311)},
    {ChildKind::Gra2, "Графики 2 канала", QSize(571, 317)},
}};
