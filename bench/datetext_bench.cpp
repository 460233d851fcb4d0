// Cost of reading typical date field texts under German settings. Texts without a four-digit
// year read the local clock; the "pinned" runs leave that out to show the reading alone.

#include "dates/datetext.h"
#include "tests/support/fixtures.h"

#include <benchmark/benchmark.h>
#include <optional>

namespace {

void TryParseDateBench(benchmark::State &state, const char *text, bool pinClock) {
    GermanLocale german;
    std::optional<PinnedClock> pin;
    if (pinClock) pin.emplace();
    const QString format = FieldDateFormat(true);
    const QString input = QString::fromUtf8(text);
    for (auto _ : state) {
        TDateTime date;
        benchmark::DoNotOptimize(TryParseDate(format, input, date));
        benchmark::DoNotOptimize(date);
    }
}

} // namespace

BENCHMARK_CAPTURE(TryParseDateBench, full, "02.05.2005", false);
BENCHMARK_CAPTURE(TryParseDateBench, shortYear, "2.5.05", false);
BENCHMARK_CAPTURE(TryParseDateBench, dayAndMonth, "2.5", false);
BENCHMARK_CAPTURE(TryParseDateBench, maskedEmpty, "  .  .    ", false);
BENCHMARK_CAPTURE(TryParseDateBench, maskedPartial, "2 .5 .05  ", false);
BENCHMARK_CAPTURE(TryParseDateBench, shortYearPinned, "2.5.05", true);
BENCHMARK_CAPTURE(TryParseDateBench, dayAndMonthPinned, "2.5", true);
BENCHMARK_CAPTURE(TryParseDateBench, maskedPartialPinned, "2 .5 .05  ", true);
