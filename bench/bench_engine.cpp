// Time of one complete calculation run, the work behind every keystroke in an
// angle field (a keystroke may run it up to three times).
#include <benchmark/benchmark.h>

#include <string>

#include "calculation.h"
#include "map_fields.h"

namespace {

using kx::Calculation;
using kx::Field;
using kx::test::FaultLog;
using kx::test::MapFields;

// Runs calctable on the given fields until the benchmark has enough samples
// and checks that the run ended the way the case is meant to end.
void timeRuns(benchmark::State& state, MapFields& fields, bool expectConverged) {
    FaultLog log;
    Calculation calc(fields, log);
    for (auto _ : state)
        benchmark::DoNotOptimize(calc.calctable());
    if (!log.faults.empty())
        state.SkipWithError("the run faulted");
    else if (calc.lastConverged != expectConverged)
        state.SkipWithError(expectConverged ? "the search did not converge" : "the search converged");
    state.counters["evaluations"] = calc.lastEvaluations;
}

// The window's inputs at start-up: SCI " 45" and " 45", TCI " 6" and " 6".
void BM_CalctableStartUp(benchmark::State& state) {
    MapFields fields;
    timeRuns(state, fields, true);
}

// Canine points far above the condylar axis: no hinge angle within the
// bracket reaches the guidance plane, so both canine searches run to their
// limit of 1001 evaluations, the slowest run there is.
void BM_CalctableSearchNotConverging(benchmark::State& state) {
    MapFields fields;
    fields.texts[Field::txtLeftZ] = "-1000";
    fields.texts[Field::txtRightZ] = "-1000";
    timeRuns(state, fields, false);
}

}  // namespace

BENCHMARK(BM_CalctableStartUp)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);
BENCHMARK(BM_CalctableSearchNotConverging)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);
