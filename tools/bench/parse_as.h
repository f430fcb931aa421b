#pragma once
// Parses one section as the class S, the way the benchmarks time it: a
// fresh object each time, kept from being optimised away.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

template <class S>
bool ParseAs(const std::vector<std::uint8_t>& b) {
  S s;
  s.Parse(b.data(), b.size());
  benchmark::DoNotOptimize(s);
  return s.parsed;
}
