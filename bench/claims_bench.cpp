// Cost of one claims statement of a large case: 20 claims, 10 costs (half of them bearing
// interest) and 100 payments over 10 years, booked in the order of § 367 BGB; and the same case
// under Austrian law, its claims split between the two half-year rules and every other one
// sued, booked by §§ 1415, 1416 ABGB.

#include "engine/claims.h"
#include "report/errortext.h"

#include <benchmark/benchmark.h>

namespace {

TClaimsCase largeCase() {
    TClaimsCase c;
    const TDateTime start = MakeDateSerial(2016, 1, 1);
    for (int i = 0; i < 20; ++i) {
        const TRateRule rule = i % 3 == 0 ? TRateRule{rkFixed, false, 400 + 10 * i}
                                          : TRateRule{rkNoConsumer, false, 0};
        c.Claims.push_back({QStringLiteral("Rechnung %1").arg(i + 1), 100000 + 12345 * i,
                            start + 45 * i, rule, i % 3 != 0});
    }
    for (int i = 0; i < 10; ++i)
        c.Costs.push_back({QStringLiteral("Kosten %1").arg(i + 1),
                           2500 + 1000 * i,
                           start + 100 + 200 * i,
                           i % 2 == 0,
                           start + 101 + 200 * i,
                           {rkConsumer, false, 0}});
    for (int i = 0; i < 100; ++i)
        c.Payments.push_back(
            {start + 30 + 36 * i, 5000 + 3000 * (i % 7), i % 10 == 0 ? i % 20 : -1});
    c.StatementDay = MakeDateSerial(2025, 12, 31);
    return c;
}

TClaimsCase austrianCase() {
    TClaimsCase c = largeCase();
    c.Law = lwAustria;
    c.Allocation = arAbgb1416;
    for (size_t i = 0; i < c.Claims.size(); ++i) {
        c.Claims[i].Rule.ContractBefore16032013 = i % 2 == 0;
        c.Claims[i].FlatFee = c.Claims[i].FlatFee && i % 2 != 0;
        c.Claims[i].Sued = i % 2 == 1;
    }
    for (TCost &cost : c.Costs)
        cost.Rule = {rkMargin, false, 500};
    return c;
}

void statement(benchmark::State &state, const TClaimsCase &input) {
    const TBaseRateTable &table = ShippedBaseRates();
    for (auto _ : state) {
        TClaimsStatement result = CalculateClaims(input, table);
        benchmark::DoNotOptimize(result);
        if (result.Error) state.SkipWithError(qPrintable(ErrorText(result.Error)));
    }
}

void claimsStatement(benchmark::State &state) {
    statement(state, largeCase());
}

void claimsStatementAustria(benchmark::State &state) {
    statement(state, austrianCase());
}

} // namespace

BENCHMARK(claimsStatement)->Unit(benchmark::kMicrosecond);
BENCHMARK(claimsStatementAustria)->Unit(benchmark::kMicrosecond);
