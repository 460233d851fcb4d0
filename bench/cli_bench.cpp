// tarvo-zins on large batches, the whole program from start to end: 1,000,000 rows of zinsen
// and 100,000 rows of verzug over ten years each, read from a file on standard input, the
// result to /dev/null, in each output format. The rows are generated once, from a fixed seed.
// TARVO_ZINS names another build of the program to measure instead, so that an older build
// and this one can be compared in one sitting.

#include "bench/batchrows.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

constexpr int ZinsenRows = 1'000'000;
constexpr int VerzugRows = 100'000;

QByteArray ZinsenBatch() {
    return batchrows::Zinsen(ZinsenRows);
}

QByteArray VerzugBatch() {
    return batchrows::Verzug(VerzugRows);
}

QString Program() {
    const QString other = qEnvironmentVariable("TARVO_ZINS");
    return other.isEmpty() ? QStringLiteral(TARVO_ZINS_EXE) : other;
}

class TBatchFile {
public:
    explicit TBatchFile(const QByteArray &content) : FPath(FDir.filePath("batch.csv")) {
        QFile file(FPath);
        if (file.open(QIODevice::WriteOnly)) file.write(content);
    }
    const QString &Path() const { return FPath; }
    // Settings and data folders of their own: no user's settings or rates enter the figures.
    QString Home() const { return FDir.path(); }

private:
    QTemporaryDir FDir;
    QString FPath;
};

// The processor time of the children that ended so far, in seconds: unlike the wall time, it
// does not grow when other work on the machine takes the processors.
double ChildrenCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void RunBatch(benchmark::State &state, const TBatchFile &batch, const char *command,
              const char *format) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", batch.Home() + "/config");
    env.insert("XDG_DATA_HOME", batch.Home() + "/data");
    const double cpuBefore = ChildrenCpuSeconds();
    for (auto _ : state) {
        QProcess zins;
        zins.setProcessEnvironment(env);
        zins.setStandardInputFile(batch.Path());
        zins.setStandardOutputFile(QProcess::nullDevice());
        zins.start(Program(), {command, "--csv", "-", "--format", format});
        if (!zins.waitForFinished(120000) || zins.exitCode() != 0)
            state.SkipWithError("tarvo-zins failed");
    }
    state.counters["cpu_s"] =
        benchmark::Counter(ChildrenCpuSeconds() - cpuBefore, benchmark::Counter::kAvgIterations);
}

void Zinsen(benchmark::State &state, const char *format) {
    static const TBatchFile batch(ZinsenBatch());
    RunBatch(state, batch, "zinsen", format);
    state.counters["rows"] = ZinsenRows;
}

void Verzug(benchmark::State &state, const char *format) {
    static const TBatchFile batch(VerzugBatch());
    RunBatch(state, batch, "verzug", format);
    state.counters["rows"] = VerzugRows;
}

} // namespace

BENCHMARK_CAPTURE(Zinsen, text, "text")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(5);
BENCHMARK_CAPTURE(Zinsen, csv, "csv")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(5);
BENCHMARK_CAPTURE(Zinsen, json, "json")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(5);
BENCHMARK_CAPTURE(Verzug, text, "text")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(5);
BENCHMARK_CAPTURE(Verzug, csv, "csv")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(5);
BENCHMARK_CAPTURE(Verzug, json, "json")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(5);
