#pragma once

#include <cstdint>

namespace qv::sim {

// A small generator with a fixed algorithm (splitmix64), so a given random start
// value gives the same run on every platform and library.
class SimRandom {
 public:
  explicit SimRandom(uint64_t start) : state_(start) {}

  uint64_t next();
  // Uniform in [0, 1).
  double uniform();
  // Uniform in [0, n); 0 when n <= 0.
  int below(int n);

 private:
  uint64_t state_;
};

}  // namespace qv::sim
