#include "sim/random.h"

namespace qv::sim {

uint64_t SimRandom::next() {
  state_ += 0x9E3779B97F4A7C15ULL;
  uint64_t z = state_;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

double SimRandom::uniform() {
  return static_cast<double>(next() >> 11) * 0x1.0p-53;
}

int SimRandom::below(int n) {
  if (n <= 0)
    return 0;
  return static_cast<int>(next() % static_cast<uint64_t>(n));
}

}  // namespace qv::sim
