// Building the SI tree of a full satellite: 60 generated transport streams
// with their EIT schedules (the store the tree pane's benchmark under Wine
// uses too), through a sink that only counts and through the text sink.
// The figures are the builders' own share of a rebuild; the tree control's
// share is measured by the Windows benchmark.
#include <benchmark/benchmark.h>

#include "lib13818/id_names.h"
#include "tree_store.h"
#include "ui_core/si_tree.h"

namespace {

class CountingSink : public orb::ui::TreeSink {
 public:
  orb::ui::TreeNode Append(orb::ui::TreeNode, std::string_view label, const orb::ui::TreeItem&) override {
    ++count;
    bytes += label.size();
    return reinterpret_cast<orb::ui::TreeNode>(count);
  }
  std::size_t count = 0;
  std::size_t bytes = 0;
};

const lib13818::NetworkMap& Satellite() {
  static const lib13818::NetworkMap store = [] {
    lib13818::InitIdNameMaps();
    return tree_test::GeneratedSatellite(60, 8, 4);
  }();
  return store;
}

void BM_BuildAllNetworks_Counting(benchmark::State& state) {
  const auto& store = Satellite();
  std::size_t nodes = 0;
  for (auto _ : state) {
    CountingSink sink;
    orb::ui::SiTreeBuilder(sink).BuildAllNetworks(store);
    nodes = sink.count;
    benchmark::DoNotOptimize(sink.bytes);
  }
  state.counters["nodes"] = static_cast<double>(nodes);
  state.counters["nodes/s"] = benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_BuildAllNetworks_Counting)->Unit(benchmark::kMillisecond);

void BM_BuildAllNetworks_Text(benchmark::State& state) {
  const auto& store = Satellite();
  for (auto _ : state) {
    orb::ui::TextTreeSink sink;
    orb::ui::SiTreeBuilder(sink).BuildAllNetworks(store);
    benchmark::DoNotOptimize(sink.nodes().size());
  }
}
BENCHMARK(BM_BuildAllNetworks_Text)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
