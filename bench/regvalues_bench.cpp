// Loading and saving the program's eight settings through the SQLite hive: at the first
// start (no hive yet), at a start with a hive (a new store, a new connection) and while the
// program runs (the same store again).

#include "settings/regvalues.h"
#include "tests/support/fixtures.h"

#include <QDir>
#include <benchmark/benchmark.h>

namespace {

struct Setting {
    const char *name;
    TValueType type;
    const char *def;
};

const Setting Settings[] = {
    {"pfad", vtString, nullptr}, {"version", vtString, "2.3"}, {"top", vtInteger, "20"},
    {"left", vtString, "20"},    {"auto", vtBoolean, "FALSE"}, {"ontop", vtBoolean, "FALSE"},
    {"pos", vtBoolean, "FALSE"}, {"formel", vtInteger, "0"},
};

// Names each value, which loads it, as the main window's layout does.
std::unique_ptr<TRegValues> makeStore() {
    auto store = std::make_unique<TRegValues>(nullptr);
    store->SetKey(QStringLiteral("SOFTWARE\\Morvane Software\\Tarvo"));
    for (const Setting &s : Settings) {
        TRegValue &value = store->Items().Add();
        value.SetValueType(s.type);
        if (s.def) value.SetDefValue(QString::fromLatin1(s.def));
        value.SetValueName(QString::fromLatin1(s.name));
    }
    return store;
}

// Gives all eight values new contents, so that every save really writes (the store writes
// back only what changed).
void change(TRegValues &store, qint32 round) {
    store.SetValues(QStringLiteral("pfad"), QStringLiteral("/opt/tarvo%1/").arg(round));
    store.SetValues(QStringLiteral("version"), QString::number(round));
    store.SetValues(QStringLiteral("top"), round);
    store.SetValues(QStringLiteral("left"), round + 1);
    store.SetValues(QStringLiteral("auto"), round % 2 == 0);
    store.SetValues(QStringLiteral("ontop"), round % 2 == 1);
    store.SetValues(QStringLiteral("pos"), round % 2 == 0);
    store.SetValues(QStringLiteral("formel"), round % 3);
}

class Home {
public:
    void Clear() { QDir(FHome.configHome() + QStringLiteral("/tarvo")).removeRecursively(); }

private:
    IsolatedHome FHome;
};

// Hive created, key created, eight defaults loaded, all eight written when the store goes.
void BM_FirstStart(benchmark::State &state) {
    Home home;
    for (auto _ : state) {
        state.PauseTiming();
        home.Clear();
        state.ResumeTiming();
        makeStore();
    }
}
BENCHMARK(BM_FirstStart)->Unit(benchmark::kMillisecond);

// A later start: open the existing hive, load eight values, save eight changed values.
void BM_StartWithHive(benchmark::State &state) {
    Home home;
    makeStore();
    qint32 round = 0;
    for (auto _ : state)
        change(*makeStore(), ++round);
}
BENCHMARK(BM_StartWithHive)->Unit(benchmark::kMillisecond);

void BM_WarmLoadValues(benchmark::State &state) {
    Home home;
    auto store = makeStore();
    for (auto _ : state)
        store->LoadValues();
}
BENCHMARK(BM_WarmLoadValues)->Unit(benchmark::kMillisecond);

// The unchanged case: what the program's end usually does.
void BM_WarmSaveUnchanged(benchmark::State &state) {
    Home home;
    auto store = makeStore();
    for (auto _ : state)
        store->SaveValues();
}
BENCHMARK(BM_WarmSaveUnchanged)->Unit(benchmark::kMillisecond);

void BM_WarmSaveValues(benchmark::State &state) {
    Home home;
    auto store = makeStore();
    qint32 round = 0;
    for (auto _ : state) {
        change(*store, ++round);
        store->SaveValues();
    }
}
BENCHMARK(BM_WarmSaveValues)->Unit(benchmark::kMillisecond);

void BM_WarmLoadAndSaveValues(benchmark::State &state) {
    Home home;
    auto store = makeStore();
    qint32 round = 0;
    for (auto _ : state) {
        store->LoadValues();
        change(*store, ++round);
        store->SaveValues();
    }
}
BENCHMARK(BM_WarmLoadAndSaveValues)->Unit(benchmark::kMillisecond);

} // namespace
