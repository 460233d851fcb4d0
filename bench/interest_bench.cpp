// Cost of one calculation: InterestDays followed by InterestAmount, per formula, over a few
// typical periods (within a year, across a year end, over several years).

#include "engine/interest.h"

#include <benchmark/benchmark.h>

#include <array>
#include <utility>

namespace {

const std::array<std::pair<TDateTime, TDateTime>, 4> &periods() {
    static const std::array<std::pair<TDateTime, TDateTime>, 4> list = {{
        {MakeDateSerial(2005, 1, 15), MakeDateSerial(2005, 3, 15)},
        {MakeDateSerial(2003, 12, 15), MakeDateSerial(2004, 1, 15)},
        {MakeDateSerial(2003, 6, 15), MakeDateSerial(2006, 6, 15)},
        {MakeDateSerial(2005, 1, 1), MakeDateSerial(2005, 5, 2)},
    }};
    return list;
}

void calculate(benchmark::State &state, int code) {
    const auto &list = periods();
    std::size_t next = 0;
    long double principal = 1000, rate = 10;
    for (auto _ : state) {
        const auto &[start, end] = list[next++ % list.size()];
        benchmark::DoNotOptimize(principal);
        benchmark::DoNotOptimize(rate);
        const quint32 days = InterestDays(code, start, end);
        long double amount = InterestAmount(code, days, start, end, principal, rate);
        benchmark::DoNotOptimize(amount);
    }
}

} // namespace

BENCHMARK_CAPTURE(calculate, euro, fcEuro);
BENCHMARK_CAPTURE(calculate, deutsche, fcDeutsche);
BENCHMARK_CAPTURE(calculate, englische, fcEnglische);
