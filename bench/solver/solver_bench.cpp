// The solver's table: working it out (once per run of the game), and the
// coach's questions of it.
#include <benchmark/benchmark.h>

#include "game/solver.h"
#include "rules/tgame.h"

namespace {

void BuildTable(benchmark::State& state) {
  for (auto _ : state) {
    velnor::Solver solver;
    benchmark::DoNotOptimize(solver);
  }
}
BENCHMARK(BuildTable)->Unit(benchmark::kMicrosecond);

// Every choice for every roll on a full board, listed and sorted.
void FullBoardChoices(benchmark::State& state) {
  const velnor::Solver& solver = velnor::Solver::table();
  for (auto _ : state)
    for (int total = 2; total <= 12; ++total) benchmark::DoNotOptimize(solver.choices(velnor::kAllTiles, total));
}
BENCHMARK(FullBoardChoices)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
