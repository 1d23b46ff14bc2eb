// Time of one complete calculation run, the work behind every keystroke in an
// angle field (a keystroke may run it up to three times).
#include <benchmark/benchmark.h>

#include <optional>

#include "calculation.h"

namespace {

using kx::Calculation;
using kx::Field;
using kx::Worksheet;

// The window's worksheet after start-up: the reset inputs' effective values
// (SCI " 45" and " 45", TCI " 6" and " 6") and the fixed articulator points.
Worksheet startUpSheet() {
    Worksheet sheet;
    const std::pair<Field, const char*> texts[] = {
        {Field::txtFrontX, "70.5"}, {Field::txtFrontZ, "48"}, {Field::SCIleft, " 45"},    {Field::SCIright, " 45"},
        {Field::TCIleft, " 6"},     {Field::TCIright, " 6"},  {Field::txtLeftX, "66"},    {Field::txtLeftY, "13.5"},
        {Field::txtLeftZ, "50"},    {Field::txtRightX, "66"}, {Field::txtRightY, "13.5"}, {Field::txtRightZ, "50"}};
    for (const auto& [field, text] : texts)
        sheet[field] = text;
    return sheet;
}

// Runs calctable on the worksheet until the benchmark has enough samples and
// checks that the run ended the way the case is meant to end.
void timeRuns(benchmark::State& state, Worksheet sheet, bool expectConverged) {
    // As the English window names the elements.
    const kx::ElementNames names{"blue", "green", "orange", "orange (yellow)"};
    Calculation calc(sheet);
    std::optional<kx::CalcFault> fault;
    for (auto _ : state) {
        fault = calc.calctable(names);
        benchmark::DoNotOptimize(fault);
    }
    if (fault)
        state.SkipWithError("the run faulted");
    else if (calc.lastConverged != expectConverged)
        state.SkipWithError(expectConverged ? "the search did not converge" : "the search converged");
    state.counters["evaluations"] = calc.lastEvaluations;
}

void BM_CalctableStartUp(benchmark::State& state) { timeRuns(state, startUpSheet(), true); }

// Canine points far above the condylar axis: no hinge angle within the
// bracket reaches the guidance plane, so both canine searches run to their
// limit of 1001 evaluations, the slowest run there is.
void BM_CalctableSearchNotConverging(benchmark::State& state) {
    Worksheet sheet = startUpSheet();
    sheet[Field::txtLeftZ] = "-1000";
    sheet[Field::txtRightZ] = "-1000";
    timeRuns(state, sheet, false);
}

}  // namespace

BENCHMARK(BM_CalctableStartUp)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);
BENCHMARK(BM_CalctableSearchNotConverging)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);
