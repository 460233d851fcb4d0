// tarvo-zins forderung as a whole process, from its start to the JSON printed: one case file of
// 20 claims, 10 costs (half of them bearing interest) and 100 payments over 10 years. Beside it
// the bare start of the program (--version), so that the share of the statement shows.
// TARVO_ZINS names another build of the program to measure instead.

#include "engine/casefile.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

TCaseFile LargeCase() {
    TCaseFile file;
    file.Name = QStringLiteral("Großer Fall");
    file.StatementDayIsToday = false;
    TClaimsCase &c = file.Case;
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
    return file;
}

QString Program() {
    const QString other = qEnvironmentVariable("TARVO_ZINS");
    return other.isEmpty() ? QStringLiteral(TARVO_ZINS_EXE) : other;
}

double ChildrenCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void Run(benchmark::State &state, const QStringList &arguments) {
    static QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", home.path() + "/config");
    env.insert("XDG_DATA_HOME", home.path() + "/data");
    const QString path = home.filePath("gross.tarvo");
    if (!QFile::exists(path)) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) return state.SkipWithError("no case file");
        file.write(WriteCaseFile(LargeCase()));
    }
    QStringList args = arguments;
    args.replaceInStrings(QStringLiteral("FILE"), path);
    const double cpuBefore = ChildrenCpuSeconds();
    for (auto _ : state) {
        QProcess zins;
        zins.setProcessEnvironment(env);
        zins.start(Program(), args);
        if (!zins.waitForFinished(30000) || zins.exitCode() != 0 ||
            zins.readAllStandardOutput().isEmpty())
            state.SkipWithError(zins.readAllStandardError().constData());
    }
    state.counters["cpu_ms"] = benchmark::Counter((ChildrenCpuSeconds() - cpuBefore) * 1000,
                                                  benchmark::Counter::kAvgIterations);
}

void ForderungJson(benchmark::State &state) {
    Run(state, {"forderung", "FILE", "--format", "json"});
}

void ForderungText(benchmark::State &state) {
    Run(state, {"forderung", "FILE"});
}

void Start(benchmark::State &state) {
    Run(state, {"--version"});
}

} // namespace

BENCHMARK(ForderungJson)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(ForderungText)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(Start)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
