#pragma once

#include <cmath>

#include "acquisition/shared_state.h"

// Sample k, a second after the one before, for every quantity: slow waves,
// one per quantity, with a little measurement noise on them so that a column
// of pixels holds a real spread of values.
inline void WriteBenchmarkSample(qv::ChannelRecord& c, int k) {
  double* const series[] = {c.Current, c.Voltage,    c.Temp, c.HeatsinkTemp, c.Capacity,
                            c.Power,   c.Resistance, c.dIdt, c.dVdt,         c.dTdt};
  c.Time[k] = k / 60.0;
  for (int q = 0; q < 10; ++q) {
    const double noise = 0.02 * std::sin(k * 7.77 + q * 1.3) * std::sin(k * 0.313);
    series[q][k] = std::sin(k * 0.001 * (q + 1)) + q + noise;
  }
}

inline void FillBenchmarkSamples(qv::ChannelRecord& c, int count) {
  for (int k = 0; k < count; ++k)
    WriteBenchmarkSample(c, k);
  c.Count = count;
}
