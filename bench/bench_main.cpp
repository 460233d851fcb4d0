// Shared main of the benchmarks of the program's code: an offscreen application and the fake
// services of the tests (German settings, the system's clock unless pinned, folders of their
// own), so that a benchmark measures the code, not the machine's settings.

#include "platform/gui/application.h"
#include "tests/support/fixtures.h"

#include <benchmark/benchmark.h>

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    app.SetTitle(QStringLiteral("Tarvo Bench"));
    TTestServices services;
    const TServicesInUse inUse(services);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
