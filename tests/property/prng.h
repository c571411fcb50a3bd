// A small random-number generator whose output is the same on every platform
// and standard library (splitmix64 with plain modulo ranges), so that a seed
// replays the same scenario everywhere.
#pragma once

#include <cstdint>
#include <vector>

namespace kestro::property {

class Prng {
 public:
  explicit Prng(uint64_t seed) : state_(seed) {}

  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // A number from lo to hi, both included.
  int Between(int lo, int hi) {
    return lo + static_cast<int>(Next() % static_cast<uint64_t>(hi - lo + 1));
  }
  bool Percent(int chance) { return Between(1, 100) <= chance; }
  template <typename T>
  const T& Pick(const std::vector<T>& from) {
    return from[Next() % from.size()];
  }

 private:
  uint64_t state_;
};

}  // namespace kestro::property
