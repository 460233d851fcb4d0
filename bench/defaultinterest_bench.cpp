// Cost of one default-interest statement over the whole shipped table: 25 years, 50 periods,
// each looked up, counted and rounded; once per day count.

#include "engine/defaultinterest.h"

#include <benchmark/benchmark.h>

namespace {

void statement(benchmark::State &state, TDayCount count) {
    const TBaseRateTable &table = ShippedBaseRates();
    TDefaultInterestInput input;
    input.Claim = 308900;
    input.FirstDay = MakeDateSerial(2002, 1, 1);
    input.LastDay = MakeDateSerial(2026, 12, 31);
    input.Rule = {rkNoConsumer, false, 0};
    input.DayCount = count;
    for (auto _ : state) {
        benchmark::DoNotOptimize(input);
        TDefaultInterest result = CalculateDefaultInterest(input, table);
        benchmark::DoNotOptimize(result);
        if (result.Rows.size() != 50) state.SkipWithError("not 50 periods");
    }
}

} // namespace

BENCHMARK_CAPTURE(statement, taggenau, dcActual365)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(statement, actual_actual, dcActualActual)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(statement, days_30_360, dc30360)->Unit(benchmark::kMicrosecond);
