// Cost of one default-interest statement over the whole shipped table: 25 years, 50 periods,
// each looked up, counted and rounded; once per day count, and once with every cell of the
// window's table made from it.

#include "engine/defaultinterest.h"
#include "report/statement.h"

#include <benchmark/benchmark.h>

namespace {

TDefaultInterestInput Input(TDayCount count) {
    TDefaultInterestInput input;
    input.Claim = 308900;
    input.FirstDay = MakeDateSerial(2002, 1, 1);
    input.LastDay = MakeDateSerial(2026, 12, 31);
    input.Rule = {rkNoConsumer, false, 0};
    input.DayCount = count;
    return input;
}

void statement(benchmark::State &state, TDayCount count) {
    const TBaseRateTable &table = ShippedBaseRates();
    TDefaultInterestInput input = Input(count);
    for (auto _ : state) {
        benchmark::DoNotOptimize(input);
        TDefaultInterest result = CalculateDefaultInterest(input, table);
        benchmark::DoNotOptimize(result);
        if (result.Rows.size() != 50) state.SkipWithError("not 50 periods");
    }
}

void rendered(benchmark::State &state) {
    const TDefaultInterestInput input = Input(dcActual365);
    for (auto _ : state) {
        const TDefaultInterestStatement statement{
            input, CalculateDefaultInterest(input, ShippedBaseRates()), EmptyDate};
        const QList<QStringList> grid = StatementGrid(statement);
        benchmark::DoNotOptimize(grid);
    }
}

} // namespace

BENCHMARK_CAPTURE(statement, taggenau, dcActual365)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(statement, actual_actual, dcActualActual)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(statement, days_30_360, dc30360)->Unit(benchmark::kMicrosecond);
BENCHMARK(rendered)->Unit(benchmark::kMicrosecond);
