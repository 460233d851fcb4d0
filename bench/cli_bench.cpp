// tarvo-zins on large batches, the whole program from start to end: 1,000,000 rows of zinsen
// and 100,000 rows of verzug over ten years each, read from a file on standard input, the
// result to /dev/null, in each output format. The rows are generated once, from a fixed seed.
// TARVO_ZINS names another build of the program to measure instead, so that an older build
// and this one can be compared in one sitting.

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>
#include <sys/resource.h>

namespace {

constexpr int ZinsenRows = 1'000'000;
constexpr int VerzugRows = 100'000;

QByteArray Date(const QDate &date) {
    return date.toString(QStringLiteral("dd.MM.yyyy")).toLatin1();
}

QByteArray Amount(std::mt19937 &random) {
    const unsigned cents = random() % 10'000'000;
    return QByteArray::number(cents / 100) + ',' +
           QByteArray::number(cents % 100).rightJustified(2, '0');
}

QByteArray ZinsenBatch() {
    std::mt19937 random(19);
    const char *formulas[] = {"euro", "deutsche", "englische"};
    QByteArray csv = "betrag;von;bis;satz;formel\n";
    csv.reserve(ZinsenRows * 48);
    for (int i = 0; i < ZinsenRows; ++i) {
        const QDate from = QDate(1990, 1, 1).addDays(random() % 14600);
        csv += Amount(random) + ';' + Date(from) + ';' + Date(from.addDays(random() % 2000)) + ';' +
               QByteArray::number(random() % 20) + ',' +
               QByteArray::number(random() % 100).rightJustified(2, '0') + ';' + formulas[i % 3] +
               '\n';
    }
    return csv;
}

// Ten years from a first day between 2005 and 2016: twenty or twenty-one half-years each.
QByteArray VerzugBatch() {
    std::mt19937 random(20);
    QByteArray csv = "betrag;von;bis;verbraucher;unternehmer\n";
    for (int i = 0; i < VerzugRows; ++i) {
        const QDate from = QDate(2005, 1, 1).addDays(random() % 4000);
        csv += Amount(random) + ';' + Date(from) + ';' + Date(from.addYears(10).addDays(-1)) +
               (i % 2 ? ";ja;\n" : ";;ja\n");
    }
    return csv;
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
