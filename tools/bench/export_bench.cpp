// The database export of a large store: 100 transport streams, 5,000
// services, 10,000 CA descriptors (two per service), written to a file in
// the system's temporary folder.  Reports the file size as a counter.
//   build/native/tools/bench/export_bench
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "lib13818/id_names.h"
#include "orb_export/database_export.h"
#include "store_builder.h"

namespace {

void BM_ExportDatabase(benchmark::State& state) {
  lib13818::InitIdNameMaps();
  const lib13818::NetworkMap store = testing_support::SyntheticStore(100, 50);
  const std::string path = (std::filesystem::temp_directory_path() / "orb_export_bench.db").string();
  std::string error;
  double size = 0;
  for (auto _ : state) {
    orb::app::ExportDatabase(&store, path, [&](const std::string& m) { error = m; });
    state.PauseTiming();
    if (!error.empty()) {
      state.SkipWithError(error.c_str());
      break;
    }
    size = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
    state.ResumeTiming();
  }
  state.counters["file_bytes"] = size;
  state.counters["services"] = 5000;
  state.counters["ca_rows"] = 10000;
}
BENCHMARK(BM_ExportDatabase)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
