// Loading and saving the program's eight settings through the SQLite hive: at the first
// start (no hive yet), at a start with a hive (a new store, a new connection) and while the
// program runs (the same store again).

#include "settings/regvalues.h"
#include "settings/storedsettings.h"
#include "tests/support/fixtures.h"

#include <QDir>
#include <benchmark/benchmark.h>

namespace {

// Names each value, which loads it, as the main window's layout does.
std::unique_ptr<TRegValues> makeStore() {
    auto store = std::make_unique<TRegValues>(nullptr);
    store->SetKey(SettingsKey);
    for (const TStoredSetting &s : StoredSettings) {
        TRegValue &value = store->Items().Add();
        value.SetValueType(s.Type);
        if (s.Default) value.SetDefValue(QString::fromLatin1(s.Default));
        value.SetValueName(s);
    }
    return store;
}

// Gives all eight values new contents, so that every save really writes (the store writes
// back only what changed).
void change(TRegValues &store, qint32 round) {
    store.SetValues(Setting::Pfad, QStringLiteral("/opt/tarvo%1/").arg(round));
    store.SetValues(Setting::Version, QString::number(round));
    store.SetValues(Setting::Top, round);
    store.SetValues(Setting::Left, round + 1);
    store.SetValues(Setting::Auto, round % 2 == 0);
    store.SetValues(Setting::OnTop, round % 2 == 1);
    store.SetValues(Setting::Pos, round % 2 == 0);
    store.SetValues(Setting::Formel, round % 3);
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
